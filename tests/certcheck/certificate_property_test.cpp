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

// A formula frozen once serves branch after branch: after restore() the checker answers every
// step as a checker built afresh from the same formula does, however many lemmas, deletions
// and units the branches before it held.
TEST(CertificateProperty, ARestoredFormulaAnswersAsAFreshOne) {
  for (uint32_t seed = 1; seed <= 40; ++seed) {
    std::mt19937 rng(seed);
    const int32_t variables = 4 + static_cast<int32_t>(rng() % 6);
    auto clause = [&](size_t size) {
      std::vector<int32_t> c;
      for (size_t k = 0; k < size; ++k)
        c.push_back((1 + static_cast<int32_t>(rng() % variables)) * (rng() % 2 ? 1 : -1));
      return c;
    };
    std::vector<std::vector<int32_t>> formula;
    for (int32_t k = 0; k < 2 * variables; ++k) formula.push_back(clause(2 + rng() % 2));
    certcheck::DrupChecker reused(variables);
    for (const auto& c : formula) reused.addInput(c);
    reused.freeze();
    for (int branch = 0; branch < 30; ++branch) {
      reused.restore();
      certcheck::DrupChecker fresh(variables);
      for (const auto& c : formula) fresh.addInput(c);
      for (int step = 0; step < 25; ++step) {
        const uint32_t kind = rng() % 8;
        const std::vector<int32_t> c = clause(kind == 0 ? 1 : 1 + rng() % 3);
        if (kind == 0) {  // a branch's unit
          reused.addInput(c);
          fresh.addInput(c);
        } else if (kind == 1) {
          reused.erase(c);
          fresh.erase(c);
        } else {
          ASSERT_EQ(reused.addLemma(c), fresh.addLemma(c)) << "seed " << seed << ", branch " << branch;
        }
        ASSERT_EQ(reused.refuted(), fresh.refuted()) << "seed " << seed << ", branch " << branch;
      }
    }
  }
}

}  // namespace
}  // namespace hc::testing
