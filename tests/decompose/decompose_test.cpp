// The decomposition driver with a brute-force decider for its parts, against brute force on
// the whole graph: random graphs glued from pieces, cubic pieces and Petersen fragments
// joined by 3-edge cuts, blobs hung between two nodes, some with forced edges; and a table
// of known answers naming the rule that decides.
#include "decompose/decompose.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "decompose_test_graphs.h"

namespace hc::testing {
namespace {

PartAnswer bruteForceDecider(const PartGraph& part, const StopToken&) {
  PartAnswer answer;
  answer.cycle = bruteForceCycle(part);
  answer.verdict = answer.cycle.empty() ? Verdict::NonHamiltonian : Verdict::Hamiltonian;
  return answer;
}

TEST(Decompose, AgreesWithBruteForceAndUsesBothRulesBothWays) {
  std::mt19937 rng(20260302);
  std::map<std::string, int32_t> decided;
  for (int32_t round = 0; round < 2400; ++round) {
    PartGraph g = round % 3 == 0   ? gluedGraph(rng, 5 + round % 12)
                  : round % 3 == 1 ? cutFragmentsGraph(rng, 2 + round % 2)
                                   : blobsGraph(rng, 2 + round % 2);
    if (g.nodeCount > 20) continue;
    if (rng() % 3 == 0)
      for (int32_t k = static_cast<int32_t>(rng() % 3); k > 0; --k)
        g.edges[rng() % g.edges.size()].forced = true;
    const bool hamiltonian = !bruteForceCycle(g).empty();
    const DecomposeResult result = decomposeAndDecide(g, bruteForceDecider, StopToken{});
    if (!result.applied) continue;
    SCOPED_TRACE(::testing::Message()
                 << "round " << round << ", " << g.nodeCount << " nodes, " << result.method);
    ASSERT_EQ(result.verdict, hamiltonian ? Verdict::Hamiltonian : Verdict::NonHamiltonian);
    if (hamiltonian) {
      ASSERT_TRUE(isHamiltonianCycleOfPart(g, result.cycle));
    }
    ++decided[result.method + (hamiltonian ? " yes" : " no")];
  }
  for (const char* key : {"separator yes", "separator no", "edge cut yes", "edge cut no"})
    EXPECT_GT(decided[key], 50) << key;
}

struct Known {
  const char* name;
  PartGraph graph;
  const char* method;  // "": no rule applies
  Verdict verdict;
};

std::vector<std::pair<int32_t, int32_t>> completePairs(int32_t first, int32_t size) {
  std::vector<std::pair<int32_t, int32_t>> e;
  for (int32_t i = 0; i < size; ++i)
    for (int32_t j = i + 1; j < size; ++j) e.emplace_back(first + i, first + j);
  return e;
}

std::vector<std::pair<int32_t, int32_t>> joinedPairs(std::vector<std::pair<int32_t, int32_t>> a,
                                                     const std::vector<std::pair<int32_t, int32_t>>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// Nodes 0 and 1 joined, and by two K4 less an edge, one end of the missing edge joined to 0
// and the other to 1.
PartGraph blobsWithEdge() {
  std::vector<std::pair<int32_t, int32_t>> e{{0, 1}};
  for (int32_t first : {2, 6}) {
    for (auto [a, b] : completePairs(first, 4))
      if (a != first || b != first + 1) e.emplace_back(a, b);
    e.insert(e.end(), {{0, first}, {1, first + 1}});
  }
  return partFromPairs(10, e);
}

PartGraph withForced(PartGraph g, std::pair<int32_t, int32_t> edge) {
  for (PartEdge& e : g.edges)
    if (std::minmax(e.a, e.b) == std::minmax(edge.first, edge.second)) e.forced = true;
  return g;
}

// A cubic graph with a node replaced by the Petersen graph less a node: the prism C6 x K2
// less node 0 (neighbours 1, 5, 6), joined to the fragment's three loose ends.
PartGraph ladderWithPetersenFragment(std::mt19937& rng) {
  std::vector<std::pair<int32_t, int32_t>> e;
  for (int32_t i = 0; i < 6; ++i) e.insert(e.end(), {{i, (i + 1) % 6}, {6 + i, 6 + (i + 1) % 6}, {i, 6 + i}});
  std::erase_if(e, [](auto edge) { return edge.first == 0 || edge.second == 0; });
  for (auto [a, b] : petersenEdges(12))
    if (a != 12 && b != 12) e.emplace_back(a, b);
  e.insert(e.end(), {{1, 13}, {5, 16}, {6, 17}});  // Petersen node 12's neighbours
  return relabelled(rng, e);
}

PartGraph twoPetersenFragments(std::mt19937& rng) {
  std::vector<std::pair<int32_t, int32_t>> e;
  for (auto [a, b] : petersenEdges(0))
    if (a != 0 && b != 0) e.emplace_back(a, b);
  for (auto [a, b] : petersenEdges(10))
    if (a != 10 && b != 10) e.emplace_back(a, b);
  e.insert(e.end(), {{1, 11}, {4, 14}, {5, 15}});
  return relabelled(rng, e);
}

TEST(Decompose, KnownAnswers) {
  std::mt19937 rng(7);
  const std::vector<Known> table{
      {"Petersen graph", partFromPairs(10, petersenEdges(0)), "", Verdict::Undecided},
      {"K(3,3)", partFromPairs(6, {{0, 3}, {0, 4}, {0, 5}, {1, 3}, {1, 4}, {1, 5}, {2, 3}, {2, 4}, {2, 5}}),
       "", Verdict::Undecided},
      {"a 6-cycle", partFromPairs(6, {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 0}}), "",
       Verdict::Undecided},
      {"two K4 at a node", partFromPairs(7, joinedPairs(completePairs(0, 4), completePairs(3, 4))),
       "separator", Verdict::NonHamiltonian},
      {"two blobs and a forced edge between their poles", withForced(blobsWithEdge(), {0, 1}), "separator",
       Verdict::NonHamiltonian},
      {"two blobs and an edge between their poles", blobsWithEdge(), "separator", Verdict::Hamiltonian},
      // Splitting off chains or shrinking triangles leaves one part as hard as the whole: no rule.
      {"K4 with an edge made a path",
       partFromPairs(6, {{0, 1}, {0, 2}, {1, 2}, {1, 3}, {2, 3}, {0, 4}, {4, 5}, {5, 3}}), "",
       Verdict::Undecided},
      {"three blobs between two nodes", blobsGraph(rng, 3), "separator", Verdict::NonHamiltonian},
      {"two blobs between two nodes", blobsGraph(rng, 2), "separator", Verdict::Hamiltonian},
      {"prism", partFromPairs(6, {{0, 1}, {1, 2}, {2, 0}, {3, 4}, {4, 5}, {5, 3}, {0, 3}, {1, 4}, {2, 5}}),
       "", Verdict::Undecided},
      {"ladder of 12 with a Petersen fragment", ladderWithPetersenFragment(rng), "edge cut",
       Verdict::NonHamiltonian},
      {"two Petersen fragments", twoPetersenFragments(rng), "edge cut", Verdict::NonHamiltonian},
  };
  for (const Known& known : table) {
    const DecomposeResult result = decomposeAndDecide(known.graph, bruteForceDecider, StopToken{});
    EXPECT_EQ(result.method, known.method) << known.name;
    EXPECT_EQ(result.applied, *known.method != '\0') << known.name;
    EXPECT_EQ(result.verdict, known.verdict) << known.name;
    if (known.verdict == Verdict::Hamiltonian) {
      EXPECT_TRUE(isHamiltonianCycleOfPart(known.graph, result.cycle)) << known.name;
    }
  }
  // A stop before the start decides nothing.
  StopToken stopped;
  stopped.requestStop();
  EXPECT_FALSE(decomposeAndDecide(blobsGraph(rng, 3), bruteForceDecider, stopped).applied);
}

}  // namespace
}  // namespace hc::testing
