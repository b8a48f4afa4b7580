// The independent cycle check: one table of faults, each caught on its own with its message,
// and every rotation and reflection of a valid cycle accepted against the snapshot taken
// before a later cut; whether a snapshot still stands for a graph.
#include "core/hamiltonian_cycle_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "support/test_graphs.h"

namespace hc {
namespace {

TEST(HamiltonianCycleCheck, EachFaultIsNamedAndEveryFormOfAValidCyclePasses) {
  // The 3-prism: triangles 0-1-2 and 3-4-5 with spokes i - (i + 3).
  Graph prism = testing::makeGraph(6, testing::generalizedPetersenEdges(3, 1));
  const EdgeSnapshot edges(prism);
  EXPECT_EQ(std::pair(edges.nodes(), edges.edges()), std::pair(6, int64_t{9}));
  const std::pair<std::vector<int32_t>, const char*> cases[] = {
      {{0, 1, 2, 5, 4}, "the cycle has 5 nodes, the graph 6"},
      {{0, 1, 2, 5, 4, 4}, "node 4 is visited twice"},
      {{0, 1, 2, 5, 4, 9}, "node 9 is out of range 0..5"},
      {{0, 1, 2, 5, 4, -1}, "node -1 is out of range 0..5"},
      {{0, 1, 4, 5, 2, 3}, "2-3 is not an edge of the graph"},
      {{0, 1, 2, 3, 4, 5}, "2-3 is not an edge of the graph"},
      {{0, 1, 2, 5, 3, 4}, "4-0 is not an edge of the graph"},  // the closing step counts too
  };
  for (const auto& [cycle, fault] : cases) {
    const CycleCheck check = isHamiltonianCycle(edges, cycle);
    EXPECT_EQ(std::pair(check.ok, check.fault), std::pair(false, std::string(fault)));
  }
  const Graph pair = testing::makeGraph(2, {{0, 1}});
  EXPECT_EQ(isHamiltonianCycle(EdgeSnapshot(pair), std::vector<int32_t>{0, 1}).fault,
            "a Hamiltonian cycle needs at least 3 nodes; the graph has 2");

  // The reference is the graph as it was: a later cut in the solver graph changes nothing.
  prism.cut(0, 1);
  EXPECT_TRUE(edges.contains(0, 1) && edges.contains(1, 0) && !edges.contains(0, 4) && !edges.contains(0, 6));
  std::vector<int32_t> cycle = {0, 1, 2, 5, 4, 3};
  for (int r = 0; r < 6; ++r) {
    std::rotate(cycle.begin(), cycle.begin() + 1, cycle.end());
    EXPECT_TRUE(isHamiltonianCycle(edges, cycle));
    EXPECT_TRUE(isHamiltonianCycle(edges, std::vector<int32_t>(cycle.rbegin(), cycle.rend())));
  }

  // A snapshot stands for a graph (and a run may check against it instead of its own) only
  // while it holds exactly that graph's edges: not after a cut, not for another graph of the
  // same degrees, never for lists out of order.
  const testing::EdgeList c4 = {{0, 1}, {0, 3}, {1, 2}, {2, 3}};
  Graph square = testing::makeGraph(4, c4);
  const EdgeSnapshot taken(square);
  EXPECT_TRUE(taken.holdsEdgesOf(square));
  EXPECT_FALSE(taken.holdsEdgesOf(testing::makeGraph(4, {{0, 1}, {0, 2}, {1, 3}, {2, 3}})));
  EXPECT_FALSE(taken.holdsEdgesOf(testing::makeGraph(4, testing::EdgeList(c4.rbegin(), c4.rend()))));
  square.cut(0, 1);
  EXPECT_FALSE(taken.holdsEdgesOf(square));
}

}  // namespace
}  // namespace hc
