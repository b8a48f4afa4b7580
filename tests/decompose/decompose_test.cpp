// The decomposition driver with a brute-force decider for its parts, against brute force on
// the whole graph: random graphs glued from pieces, cubic pieces and Petersen fragments
// joined by 3-edge cuts, blobs hung between two nodes, some with forced edges; and a table
// of known answers naming the rule that decides.
#include "decompose/decompose.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>

#include "decompose_test_graphs.h"

namespace hc::testing {
namespace {

PartAnswer bruteForceDecider(const PartGraph& part, const StopToken&) {
  PartAnswer answer;
  answer.cycle = bruteForceCycle(part);
  answer.verdict = answer.cycle.empty() ? Verdict::kNonHamiltonian : Verdict::kHamiltonian;
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
    SCOPED_TRACE(::testing::Message() << "round " << round << ", " << g.nodeCount << " nodes, "
                                      << decidedByName(result.decidedBy));
    ASSERT_EQ(result.verdict, hamiltonian ? Verdict::kHamiltonian : Verdict::kNonHamiltonian);
    ASSERT_TRUE(!hamiltonian || isHamiltonianCycleOfPart(g, result.cycle));
    ++decided[std::string(decidedByName(result.decidedBy)) + (hamiltonian ? " yes" : " no")];
  }
  for (const char* key : {"separator yes", "separator no", "edge cut yes", "edge cut no"})
    EXPECT_GT(decided[key], 50) << key;
}

PartGraph withForced(PartGraph g, std::pair<int32_t, int32_t> edge) {
  for (PartEdge& e : g.edges)
    if (std::minmax(e.a, e.b) == std::minmax(edge.first, edge.second)) e.forced = true;
  return g;
}

TEST(Decompose, KnownAnswers) {
  std::mt19937 rng(7);
  const EdgeList petersen = generalizedPetersenEdges(5, 2);
  const PartGraph twoBlobsAndEdge = partFromPairs(10, joined({{0, 1}}, blobsBetweenTwoNodes(2)));
  // Name, graph, the rule that decides ("": none applies), verdict.
  const std::vector<std::tuple<const char*, PartGraph, const char*, Verdict>> table{
      {"Petersen graph", partFromPairs(10, petersen), "", Verdict::kUndecided},
      {"K(3,3)", partFromPairs(6, completeBipartiteEdges(3, 3)), "", Verdict::kUndecided},
      {"a 6-cycle", partFromPairs(6, cycleEdges(0, 6)), "", Verdict::kUndecided},
      {"prism", partFromPairs(6, generalizedPetersenEdges(3, 1)), "", Verdict::kUndecided},
      {"two K4 at a node", partFromPairs(7, joined(completeEdges(0, 4), completeEdges(3, 4))), "separator",
       Verdict::kNonHamiltonian},
      {"two blobs and a forced edge between their poles", withForced(twoBlobsAndEdge, {0, 1}), "separator",
       Verdict::kNonHamiltonian},
      {"two blobs and an edge between their poles", twoBlobsAndEdge, "separator", Verdict::kHamiltonian},
      // Splitting off chains or shrinking triangles leaves one part as hard as the whole: no rule.
      {"K4 with an edge made a path",
       partFromPairs(6, {{0, 1}, {0, 2}, {1, 2}, {1, 3}, {2, 3}, {0, 4}, {4, 5}, {5, 3}}), "",
       Verdict::kUndecided},
      {"three blobs between two nodes", blobsGraph(rng, 3), "separator", Verdict::kNonHamiltonian},
      {"two blobs between two nodes", blobsGraph(rng, 2), "separator", Verdict::kHamiltonian},
      {"ladder of 12 with a Petersen fragment",
       relabelled(rng, joinedWithoutNodeZero(generalizedPetersenEdges(6, 1), 12, petersen)), "edge cut",
       Verdict::kNonHamiltonian},
      {"two Petersen fragments", relabelled(rng, joinedWithoutNodeZero(petersen, 10, petersen)), "edge cut",
       Verdict::kNonHamiltonian},
  };
  for (const auto& [name, graph, method, verdict] : table) {
    const DecomposeResult result = decomposeAndDecide(graph, bruteForceDecider, StopToken{});
    EXPECT_EQ(std::tuple(decidedByName(result.decidedBy), result.applied, result.verdict),
              std::tuple(method, *method != '\0', verdict))
        << name;
    EXPECT_TRUE(verdict != Verdict::kHamiltonian || isHamiltonianCycleOfPart(graph, result.cycle)) << name;
  }
  // A stop before the start decides nothing.
  StopToken stopped;
  stopped.requestStop();
  EXPECT_FALSE(decomposeAndDecide(blobsGraph(rng, 3), bruteForceDecider, stopped).applied);
}

}  // namespace
}  // namespace hc::testing
