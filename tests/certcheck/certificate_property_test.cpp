// Properties over random small graphs. A case-split certificate from the test's own writer
// (its own naive propagation, and every other step kind now and then) is accepted exactly when
// brute force finds no Hamiltonian cycle: so the checker's propagation, its contradictions
// and its frontier are sound and agree with the rules as written. And the documented CNF
// accepts every Hamiltonian cycle and nothing that gives a node other than two edges.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "certcheck/drup_checker.h"
#include "certificate_writers.h"
#include "support/test_graphs.h"

namespace hc::testing {
namespace {

TEST(CertificateProperty, CaseSplitCertificatesAreAcceptedExactlyForNonHamiltonianGraphs) {
  int refuted = 0;
  std::map<std::string, int> kinds;  // steps written, by keyword
  for (uint32_t seed = 1; seed <= 300; ++seed) {
    std::mt19937 rng(seed);
    const int32_t n = 3 + static_cast<int32_t>(rng() % 7);
    EdgeList edges = randomEdges(rng, n, 0.3 + 0.1 * static_cast<double>(rng() % 6));
    if (seed % 4 == 0)  // bipartite between even and odd nodes: alternation steps hold there
      std::erase_if(edges, [](const auto& e) { return (e.first + e.second) % 2 == 0; });
    int32_t across = 0;
    if (seed % 4 == 2)  // the halves joined by at most one edge: cut leaves hold there
      std::erase_if(edges, [n, &across](const auto& e) {
        return (2 * e.first < n) != (2 * e.second < n) && across++ > 0;
      });
    const std::string certificate = caseSplitCertificate(n, edges, rng);
    std::istringstream lines(certificate);
    for (std::string keyword; lines >> keyword;) {
      ++kinds[keyword];
      lines.ignore(INT32_MAX, '\n');
    }
    const certcheck::CheckResult r = check(n, edges, certificate);
    const bool hamiltonian = hasHamiltonianCycle(n, EdgeSet(edges.begin(), edges.end()));
    ASSERT_EQ(r.accepted, !hamiltonian) << "seed " << seed << ", line " << r.line << ": " << r.reason << "\n"
                                        << certificate;
    refuted += !hamiltonian;
  }
  EXPECT_GT(refuted, 50);  // both answers are well represented
  EXPECT_LT(refuted, 250);
  for (const char* kind :
       {"split", "contradiction", "frontier", "cut", "alternation", "fragment", "sat", "subtour"})
    EXPECT_GT(kinds[kind], 0) << kind;
}

TEST(CertificateProperty, TheEncodingHoldsForHamiltonianCyclesAndForNothingElse) {
  for (uint32_t seed = 1; seed <= 200; ++seed) {
    std::mt19937 rng(seed);
    const int32_t n = 3 + static_cast<int32_t>(rng() % 12);
    std::vector<int32_t> tour(n);
    std::iota(tour.begin(), tour.end(), 0);
    std::shuffle(tour.begin(), tour.end(), rng);
    EdgeList cycle;
    for (int32_t i = 0; i < n; ++i) cycle.emplace_back(tour[i], tour[(i + 1) % n]);
    const std::vector<Edge> edges = certcheck::canonicalEdges(joined(cycle, randomEdges(rng, n, 0.6)));
    std::vector<char> cycleEdge(edges.size(), 0);
    for (const Edge& e : certcheck::canonicalEdges(cycle))
      cycleEdge[static_cast<size_t>(std::lower_bound(edges.begin(), edges.end(), e) - edges.begin())] = 1;
    // The edges as the cycle chooses them; with one of its edges dropped; with one more edge.
    for (int variant = 0; variant < 3; ++variant) {
      std::vector<char> in = cycleEdge;
      std::vector<size_t> candidates;
      for (size_t e = 0; e < edges.size(); ++e)
        if (in[e] == (variant == 1)) candidates.push_back(e);
      if (variant > 0 && candidates.empty()) continue;
      if (variant > 0) in[candidates[rng() % candidates.size()]] ^= 1;
      certcheck::DrupChecker cnf(static_cast<int32_t>(certcheck::twoFactorVariables(n, edges)));
      certcheck::twoFactorCnf(n, edges, [&cnf](std::span<const int32_t> c) { cnf.addInput(c); });
      for (size_t e = 0; e < edges.size(); ++e) {
        const int32_t unit = in[e] ? static_cast<int32_t>(e + 1) : -static_cast<int32_t>(e + 1);
        cnf.addInput(std::span<const int32_t>(&unit, 1));
      }
      EXPECT_EQ(cnf.refuted(), variant > 0) << "seed " << seed << ", variant " << variant;
      EXPECT_TRUE(variant > 0 || cnf.allFixed()) << "seed " << seed;  // the counters follow from the edges
    }
  }
}

}  // namespace
}  // namespace hc::testing
