// The colouring race against brute force: over the solve zoo and the connected cubic graphs
// on 16 nodes, its formula is refuted exactly when the graph (of an even number of nodes)
// has no two disjoint perfect matchings, every refuted graph has no Hamiltonian cycle, and
// the refutation's proof is a colouring part the checker accepts.
#include <gtest/gtest.h>

#include <functional>

#include "certcheck/certificate_writers.h"
#include "solve/colouring_worker.h"
#include "solve_zoo.h"
#include "support/test_graphs.h"

namespace hc::testing {
namespace {

// Whether some edges form two disjoint perfect matchings, by trying every edge in order as
// matching 1, matching 2 or neither, and each node's count once its last edge is decided.
bool hasTwoMatchings(int32_t n, const std::vector<certcheck::Edge>& edges) {
  std::vector<size_t> last(static_cast<size_t>(n), 0);
  std::vector<int32_t> count[3] = {
      {}, std::vector<int32_t>(static_cast<size_t>(n)), std::vector<int32_t>(static_cast<size_t>(n))};
  for (size_t e = 0; e < edges.size(); ++e) last[edges[e].first] = last[edges[e].second] = e;
  std::function<bool(size_t)> extend = [&](size_t e) {
    if (e == edges.size()) {
      for (int32_t v = 0; v < n; ++v)
        if (count[1][v] != 1 || count[2][v] != 1) return false;
      return true;
    }
    const auto [u, v] = edges[e];
    for (int32_t m = 0; m < 3; ++m) {
      if (m > 0 && (count[m][u] > 0 || count[m][v] > 0)) continue;
      if (m > 0) ++count[m][u], ++count[m][v];
      bool fine = true;
      for (int32_t end : {u, v})
        if (last[end] == e && (count[1][end] != 1 || count[2][end] != 1)) fine = false;
      if (fine && extend(e + 1)) return true;
      if (m > 0) --count[m][u], --count[m][v];
    }
    return false;
  };
  return n > 0 && extend(0);
}

TEST(Colouring, RefutesExactlyTheGraphsWithoutTwoMatchingsAndItsProofIsAccepted) {
  auto graphs = zoo();
  for (auto& g : cubicCensus()) graphs.push_back(std::move(g));
  int32_t refuted = 0;
  for (const auto& [n, edges] : graphs) {
    const std::vector<certcheck::Edge> canonical = certcheck::canonicalEdges(edges);
    const certcheck::BranchState branch(n, canonical);
    const StopToken open;
    const ColouringRefutation r = refuteColouring(branch, open, 1, int64_t{1} << 30);
    SCOPED_TRACE(::testing::Message() << n << " nodes, " << canonical.size() << " edges");
    ASSERT_EQ(r.refuted, n % 2 == 0 && !hasTwoMatchings(n, canonical));
    if (!r.refuted) continue;
    ++refuted;
    ASSERT_FALSE(hasHamiltonianCycle(n, EdgeSet(canonical.begin(), canonical.end())));
    const certcheck::CheckResult c = check(n, edges, header(n, edges) + "colouring\n" + r.proof + "end\n");
    ASSERT_TRUE(c.accepted) << "line " << c.line << ": " << c.reason;
  }
  EXPECT_GT(refuted, 20);
  // The Petersen graph's proof does not hold for another graph's formula (one spoke moved),
  // nor with a literal flipped where that breaks a step.
  const EdgeList petersen = generalizedPetersenEdges(5, 2);
  const StopToken open;
  const ColouringRefutation r = refuteColouring(
      certcheck::BranchState(10, certcheck::canonicalEdges(petersen)), open, 1, int64_t{1} << 20);
  ASSERT_TRUE(r.refuted);
  const std::string part = "colouring\n" + r.proof + "end\n";
  EXPECT_TRUE(check(10, petersen, header(10, petersen) + part).accepted);
  EdgeList other = petersen;
  other[5] = {0, 7};
  EXPECT_FALSE(check(10, other, header(10, other) + part).accepted);
}

}  // namespace
}  // namespace hc::testing
