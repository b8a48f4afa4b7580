// Pieces every cycle passes whole and bypassed sides of 4-edge cuts, against brute force:
// small graphs with a node replaced by K(3, 4) (a piece) or two edges replaced by the
// Petersen graph less two adjacent nodes (a dot product: a side to bypass), over random and
// known non-Hamiltonian bases. Every refutation is of a graph without a Hamiltonian cycle,
// and its certificate (the steps, then the smaller graph's proof) is accepted.
#include <gtest/gtest.h>

#include "certcheck/certificate_writers.h"
#include "core/edge_snapshot.h"
#include "solve/piece_contraction.h"
#include "solve_zoo.h"
#include "support/test_graphs.h"

namespace hc::testing {
namespace {

// Node v (of degree 4) becomes one of three nodes joined to four new ones, which take its edges.
EdgeList blobbed(int32_t n, const EdgeList& edges, int32_t v) {
  EdgeList out;
  int32_t port = n + 2;
  for (auto [a, b] : edges)
    if (a == v || b == v)
      out.emplace_back(a == v ? b : a, port++);
    else
      out.emplace_back(a, b);
  for (int32_t i : {v, n, n + 1})
    for (int32_t p = n + 2; p < n + 6; ++p) out.emplace_back(i, p);
  return out;
}

// The dot product with the Petersen graph at the first two edges without a common end.
EdgeList dotted(int32_t n, const EdgeList& edges) {
  for (size_t i = 0; i < edges.size(); ++i)
    for (size_t j = i + 1; j < edges.size(); ++j) {
      const auto [a, b] = edges[i];
      const auto [c, d] = edges[j];
      if (a == c || a == d || b == c || b == d) continue;
      EdgeList out;
      for (size_t k = 0; k < edges.size(); ++k)
        if (k != i && k != j) out.push_back(edges[k]);
      auto at = [n](int32_t t) { return n + t - 2; };  // Petersen less nodes 0 and 1
      for (auto [u, w] : generalizedPetersenEdges(5, 2))
        if (u > 1 && w > 1) out.emplace_back(at(u), at(w));
      out.insert(out.end(), {{a, at(4)}, {b, at(5)}, {c, at(2)}, {d, at(6)}});
      return out;
    }
  return edges;
}

TEST(Reductions, RefuteOnlyNonHamiltonianGraphsWithCertificatesThatHold) {
  std::mt19937 rng(34);
  std::vector<std::tuple<int32_t, EdgeList, bool>> graphs;  // graph, and whether a refutation is due
  const EdgeList petersen = generalizedPetersenEdges(5, 2);
  graphs.emplace_back(18, dotted(10, petersen), true);
  graphs.emplace_back(26, dotted(18, dotted(10, petersen)), true);
  graphs.emplace_back(15, blobbed(9, completeBipartiteEdges(4, 5), 4), true);
  for (int32_t round = 0; round < 12; ++round) {
    const EdgeList cubic = randomRegularEdges(rng, 10, 3);
    graphs.emplace_back(18, dotted(10, cubic), !hasHamiltonianCycle(10, EdgeSet(cubic.begin(), cubic.end())));
    const EdgeList quartic = randomRegularEdges(rng, 9, 4);
    graphs.emplace_back(15, blobbed(9, quartic, round % 9),
                        !hasHamiltonianCycle(9, EdgeSet(quartic.begin(), quartic.end())));
  }
  int32_t refuted = 0;
  for (const auto& [n, edges, due] : graphs) {
    SolveOptions options;
    options.threads = 1;
    const StopToken open;
    const PieceOutcome r = refuteByPieces(EdgeSnapshot(makeGraph(n, edges)), options, open, true);
    SCOPED_TRACE(::testing::Message() << n << " nodes, graph " << refuted);
    if (n <= 22) {
      ASSERT_FALSE(r.refuted && hasHamiltonianCycle(n, EdgeSet(edges.begin(), edges.end())));
    }
    EXPECT_EQ(r.refuted, due);
    if (!r.refuted) continue;
    ++refuted;
    ASSERT_TRUE(r.certified);
    const certcheck::CheckResult c = check(n, edges, header(n, edges) + r.body);
    ASSERT_TRUE(c.accepted) << "line " << c.line << " (" << c.step << "): " << c.reason << "\n" << r.body;
  }
  EXPECT_GE(refuted, 3);

  // Without these rules a snark is refuted in the portfolio by the colouring race, and its
  // certificate is a colouring part.
  SolveOptions race;
  race.useDecomposition = race.useFinder = false;
  race.frontierWork = race.probeNodes = race.probeNodesPerNode = 0;
  race.threads = 1;
  std::string certificate;
  race.certificate = &certificate;
  const EdgeList snark = dotted(18, dotted(10, petersen));
  const SolveResult r = solveGraph(makeGraph(26, snark), race);
  EXPECT_EQ(std::tuple(std::string(decidedByName(r.decidedBy)), r.certified,
                       certificate.substr(certificate.find('\n', certificate.find('\n') + 1) + 1, 10)),
            std::tuple("clause learning", true, "colouring\n"));
  EXPECT_TRUE(check(26, snark, certificate).accepted);
}

}  // namespace
}  // namespace hc::testing
