// Certificates for small graphs with known answers, each leaf kind accepted on a graph it
// refutes and rejected (with its reason and line) where it does not, and the mutations a
// careless or dishonest writer could make: a dropped branch, a wrong witness, a flipped
// literal in the proof, a subtour clause whose node set is not a cut.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "certificate_writers.h"
#include "support/test_graphs.h"

namespace hc::testing {
namespace {

std::string data(const std::string& name) {
  std::ifstream in(std::string(HC_TEST_DATA_DIR) + "/certcheck/" + name, std::ios::binary);
  EXPECT_TRUE(in) << name;
  return {std::istreambuf_iterator<char>(in), {}};
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// Two copies of the Petersen graph less node 0 (nodes 0-8 and 9-17), their loose ends
// joined in pairs: a 3-edge cut around a fragment with no Hamiltonian path between any
// two of its ends.
EdgeList twoPetersenFragments() {
  return joinedWithoutNodeZero(generalizedPetersenEdges(5, 2), 10, generalizedPetersenEdges(5, 2));
}

struct TestGraph {
  int32_t n;
  EdgeList edges;
};

TEST(CertificateChecker, EachStepIsAcceptedWhereItHoldsAndRejectedWithItsReasonAndLine) {
  const TestGraph petersen{10, generalizedPetersenEdges(5, 2)};
  const TestGraph k23{5, completeBipartiteEdges(2, 3)};
  const TestGraph k34{7, completeBipartiteEdges(3, 4)};
  auto relaxation34 = [](const std::string& first) {
    return "relaxation\nnode 0 " + first +
           "\nnode 1 -1\nnode 2 -1\ncut 1 3\ncut 1 4\ncut 1 5\ncut 1 6\nend\n";
  };
  const TestGraph bowtie{5, {{0, 1}, {1, 2}, {2, 0}, {0, 3}, {3, 4}, {4, 0}}};  // cut node 0
  const TestGraph bridged{6, {{0, 1}, {1, 2}, {2, 0}, {3, 4}, {4, 5}, {5, 3}, {2, 3}}};
  // A triangle 0-1-2 whose three edges out lead through nodes of degree 2 (forced).
  const TestGraph rungs{
      9, {{0, 1}, {1, 2}, {2, 0}, {0, 3}, {1, 4}, {2, 5}, {3, 6}, {4, 7}, {5, 8}, {6, 7}, {7, 8}, {8, 6}}};
  const TestGraph gp62{12, generalizedPetersenEdges(6, 2)};  // Hamiltonian
  const TestGraph prism{6, {{0, 1}, {1, 2}, {2, 0}, {3, 4}, {4, 5}, {5, 3}, {0, 3}, {1, 4}, {2, 5}}};
  const TestGraph fragments{18, twoPetersenFragments()};
  // Two K(3, 3), 0-2 with 6-8 and 3-5 with 9-11, joined by 6-9 and 7-10: two bipartitions of
  // equal sides ({0..5} and {0, 1, 2, 9, 10, 11}), which only together split it apart.
  TestGraph twoK33{12, {{6, 9}, {7, 10}}};
  for (int32_t u = 0; u < 3; ++u)
    for (int32_t v = 0; v < 3; ++v) twoK33.edges.insert(twoK33.edges.end(), {{u, 6 + v}, {3 + u, 9 + v}});
  // Meredith's graph: the Petersen graph with its spokes doubled, each node k replaced by
  // K(3, 4) on 7k..7k+6 whose nodes 7k+3..7k+6 carry its four edges.
  TestGraph meredith{70, {}};
  std::vector<int32_t> port(10);
  for (int32_t k = 0; k < 10; ++k) {
    port[k] = 7 * k + 3;
    for (int32_t i = 0; i < 3; ++i)
      for (int32_t j = 3; j < 7; ++j) meredith.edges.emplace_back(7 * k + i, 7 * k + j);
  }
  for (auto [u, v] : joined(generalizedPetersenEdges(5, 2), {{0, 5}, {1, 6}, {2, 7}, {3, 8}, {4, 9}}))
    meredith.edges.emplace_back(port[u]++, port[v]++);
  std::string blobs = "piece";
  for (int32_t k = 0; k < 10; ++k)
    blobs += (k ? " / " : " ") + std::to_string(7 * k) + " " + std::to_string(7 * k + 1) + " " +
             std::to_string(7 * k + 2);
  // The Petersen graph with node 0 replaced by the triangle 0, 10, 11 (a 3-edge cut), and its
  // dot product with another (edges 0-1 and 2-3 out, the second one less nodes 0 and 1 as
  // t + 8, t = 2..9, joined to 0, 1, 2, 3 at 12, 13, 10, 14).
  TestGraph truncated{12, {{0, 10}, {10, 11}, {11, 0}}}, dot{18, {{0, 12}, {1, 13}, {2, 10}, {3, 14}}};
  for (auto [u, v] : generalizedPetersenEdges(5, 2)) {
    truncated.edges.emplace_back(u == 0 ? (v == 1 ? 0 : v == 4 ? 10 : 11) : u, v);
    if (u > 1 && v > 1) dot.edges.emplace_back(u + 8, v + 8);
    if (std::pair(u, v) != std::pair(0, 1) && std::pair(u, v) != std::pair(2, 3))
      dot.edges.emplace_back(u, v);
  }
  const std::string side = "bypass 12 13 10 14 11 15 16 17\n", frontier9 = "frontier 0 1 2 3 4 5 6 7 8\n";
  const std::string sideProofs =
      frontier9 + frontier9 + frontier9 + frontier9 + "frontier 0 1 2 3 4 5 6 7 8 9\n";
  // The graph, the proof after the two header lines, the line rejected (0: accepted), the reason.
  using Row = std::tuple<const TestGraph&, std::string, int64_t, std::string>;
  const std::string frontier10 = "frontier 0 1 2 3 4 5 6 7 8 9\n";
  const std::vector<Row> rows = {
      {petersen, frontier10, 0, ""},
      {petersen, "# a comment\n\nfrontier 9 8 7 6 5 4 3 2 1 0\n", 0, ""},
      {k23, "bipartite 0 1\n", 0, ""},
      {k23, "independent 2 3 4\n", 0, ""},
      {bowtie, "separator 0\n", 0, ""},
      {bridged, "cut 0 1 2\n", 0, ""},
      {rungs, "parity 0 1 2\n", 0, ""},
      {fragments, "fragment 0 1 2 3 4 5 6 7 8\n" + frontier10 + frontier10 + frontier10, 0, ""},
      {fragments, "fragment 0 1 2 3 4 5 6 7\n", 3, "fragment: 6 edges leave the node set, not 3"},
      {fragments, "fragment 0 1 2 3 4 5 6 7 8\n" + frontier10 + frontier10, 5,
       "the certificate ends before the sub-proof for cut edges 2 and 3 of the fragment at line 3"},
      {prism, "fragment 0 1 2\nfrontier 0 1 2 3\n", 4,
       "frontier: the frontier finds a Hamiltonian cycle of the branch"},
      {twoK33, "alternation 0 1 2 3 4 5\ncut 0 1 2 6 7 8\n", 0, ""},
      {twoK33, "alternation 0 1 2 3 4\n", 3, "alternation: 5 nodes are not half of 12"},
      {twoK33, "alternation 0 1 2 3 4 6\n", 3, "alternation: edge 0-6 joins two nodes of the set"},
      {twoK33, "alternation 0 1 2 3 4 5\n", 3, "the certificate ends before the branch of line 3 is closed"},
      {petersen, "split 0 1\ncontradiction\n", 4,
       "contradiction: propagation finds no contradiction in this branch"},
      {petersen, "split 0 2\n", 3, "0-2 is not an edge of the graph"},
      {petersen, "split 0 1\n" + frontier10, 4,
       "the certificate ends before the deleted branch of the split at line 3"},
      {petersen, frontier10 + frontier10, 4, "the proof is already complete before this line"},
      {petersen, "cut 0 1 2 3 4\n", 3, "cut: 5 edges leave the node set"},
      {petersen, "cut 0 1 2 3 4 5 6 7 8 9\n", 3,
       "cut: the node set must hold at least one node and not all 10"},
      {rungs, "cut 0 1 2\n", 3, "cut: 3 edges leave the node set"},
      {petersen, "parity 0\n", 3, "parity: edge 0-1 leaves the node set and is not forced"},
      {petersen, "degree 3\n", 3, "degree: node 3 has 3 edges left"},
      {petersen, "forced 0\n", 3, "forced: node 0 has 0 forced edges"},
      {k23, "bipartite 0 2\n", 3, "bipartite: edge 0-2 lies within one side"},
      {bowtie, "separator 1\n", 3, "separator: removing 1 node leaves 1 component"},
      {petersen, "independent 0 2 6 8 9\n", 3, "independent: 5 nodes are not more than half of 10"},
      {petersen, "frontier 0 1 2 3 4 5 6 7 8\n", 3, "frontier: the order lists 9 nodes, not all 10"},
      {petersen, "frontier 0 1 2 3 4 5 6 7 8 8\n", 3, "node 8 is listed twice"},
      {petersen, "frontier 0 1 2 3 4 5 6 7 8 10\n", 3, "node 10 is out of range 0..9"},
      {gp62, "frontier 0 1 2 3 4 5 6 7 8 9 10 11\n", 3,
       "frontier: the frontier finds a Hamiltonian cycle of the branch"},
      {petersen, "prove it\n", 3, "unknown step \"prove\""},
      {petersen, "sat\nsubtour 0 1 2 3 4 5 6 7 8 9\n", 4,
       "a subtour's node set must hold at least one node and not all 10"},
      {petersen, "sat\n0\nend\n", 4,
       "the clause does not follow by unit propagation (steps that need RAT are not accepted)"},
      {petersen, "sat\nend\n", 3, "the SAT part does not derive the empty clause"},
      {petersen, "sat\n16 0\nend\n", 4, "literal 16 is out of range -15..15"},
      {petersen, "sat\n", 3, "the SAT part at line 3 has no end line"},
      // The cuts around the four nodes of one side less the degree equations of the other: 0 >= 2.
      {k34, relaxation34("-1"), 0, ""},
      {k34, relaxation34("0"), 3, "the multipliers give a.x >= 4, which x can meet (up to 4)"},
      {petersen, "relaxation\nnode 0 1\nend\n", 3,
       "the multipliers give a.x >= 2, which x can meet (up to 3)"},
      {bowtie, "relaxation\ncut 1 0 1 2 3 4\nend\n", 4,
       "a cut's node set must hold at least one node and not all 5"},
      {bowtie, "relaxation\ncut 0 1 2\nend\n", 4, "multiplier 0 is out of range 1..1099511627776"},
      {bowtie, "relaxation\nnode 0\nend\n", 4, "node takes a node and its multiplier"},
      {bowtie, "relaxation\n", 3, "the relaxation at line 3 has no end line"},
      // The triangle's three forced teeth: the cycle would cross its cut three times.
      {rungs, "relaxation\nblossom 1 0 1 2 teeth 0 3 1 4 2 5\nend\n", 0, ""},
      {rungs, "relaxation\nblossom 1 0 1 2 teeth 0 3 1 4\nend\n", 4,
       "a blossom has an odd number of teeth, each named once"},
      {rungs, "relaxation\nblossom 1 0 1 2 teeth 0 3 0 3 1 4\nend\n", 4,
       "a blossom has an odd number of teeth, each named once"},
      {rungs, "relaxation\nblossom 1 0 1 2 teeth 0 1 1 4 2 5\nend\n", 4,
       "a tooth is an edge with one end in the handle"},
      {rungs, "relaxation\nblossom 1 0 1 2\nend\n", 4,
       "cut takes a multiplier and a node set, blossom those, \"teeth\" and node pairs"},
      {bowtie, "colouring\nend\n", 3, "the graph has an odd number of nodes (5)"},
      {petersen, "colouring\nend\n", 3, "the colouring part does not derive the empty clause"},
      {petersen, "colouring\n31 0\nend\n", 4, "literal 31 is out of range -30..30"},
      {petersen, "colouring\n", 3, "the colouring part at line 3 has no end line"},
      {meredith, blobs + "\n" + frontier10, 0, ""},
      {meredith, "piece 0 1 2 / 7 8 9\n" + frontier10, 4, "frontier: the order lists 10 nodes, not all 58"},
      {meredith, blobs + "\n", 3, "the certificate ends before a sub-proof of the step at line 3"},
      {meredith, "piece 0 1\n", 3, "piece: piece 1: its 2 nodes reach 4, not 3"},
      {meredith, "piece 0 3\n", 3, "piece: piece 1: edge 0-3 joins two nodes of I"},
      {meredith, "piece 7 8 9 / 8\n", 3, "piece: piece 2: node 8 is listed twice or in another piece"},
      {meredith, "piece 7 8 9 /\n", 3, "piece: piece 2 names no node"},
      {k34, "piece 0 1 2\n", 3, "piece: the contracted graph would have fewer than 3 nodes (1)"},
      {truncated, "piece 0 10 11\n" + frontier10, 0, ""},
      {prism, "piece 0 1 2\nfrontier 0 1 2 3\n", 4,
       "frontier: the frontier finds a Hamiltonian cycle of the branch"},
      {dot, side + sideProofs + frontier10, 0, ""},
      {dot, "bypass 12 10 13 14 11 15 16 17\n" + sideProofs, 4,
       "frontier: the frontier finds a Hamiltonian cycle of the branch"},
      {dot, side + sideProofs, 8, "the certificate ends before a sub-proof of the step at line 3"},
      {dot, "bypass 12 13 10\n", 3, "bypass: side 1: 9 edges leave it, not 4"},
      {dot, "bypass 12 13 10 14 11 15 16 17 / 0 5\n", 3, "bypass: side 1 is joined to side 2 by edge 12-0"},
  };
  for (const auto& [graph, proof, line, reason] : rows) {
    const certcheck::CheckResult r = check(graph.n, graph.edges, header(graph.n, graph.edges) + proof);
    EXPECT_EQ(std::tuple(r.accepted, r.line, r.reason), std::tuple(line == 0, line, reason))
        << proof.substr(0, 60);
  }
  // The header and the graph are checked before any step.
  const std::string body = frontier10;
  for (const auto& [text, reason] : std::vector<std::pair<std::string, std::string>>{
           {"hamcycles-certificate 2\ngraph 10 15\n", "this checker reads certificates of version 1 only"},
           {"a proof\n", "not a certificate (its first line is \"hamcycles-certificate 1\")"},
           {"hamcycles-certificate 1\ngraph 10 14\n",
            "the certificate is for a graph of 10 nodes and 14 edges; this graph has 10 and 15"},
       }) {
    const certcheck::CheckResult r = check(10, petersen.edges, text + body);
    EXPECT_EQ(std::pair(r.accepted, r.reason), std::pair(false, reason));
  }
  EXPECT_EQ(check(3, {{0, 3}}, "").reason, "edge 1 of the graph has an end 3 out of range 0..2");
  EXPECT_EQ(certcheck::checkCertificateFile(3, {}, "/nonexistent/proof").reason,
            "/nonexistent/proof: no such file");
}

std::string repeated(const std::string& text, int64_t times) {
  std::string out;
  out.reserve(text.size() * static_cast<size_t>(times));
  for (int64_t k = 0; k < times; ++k) out += text;
  return out;
}

EdgeList gridEdges(int32_t rows, int32_t cols) {
  EdgeList edges;
  for (int32_t r = 0; r < rows; ++r)
    for (int32_t c = 0; c < cols; ++c) {
      if (c + 1 < cols) edges.emplace_back(r * cols + c, r * cols + c + 1);
      if (r + 1 < rows) edges.emplace_back(r * cols + c, (r + 1) * cols + c);
    }
  return edges;
}

// Certificates written to exhaust the checker: each is answered with one reason, and its work
// as the checker counts it (tokens, propagation, frontier states, proof replay) stays within
// a bound linear in the text, whatever the text repeats.
TEST(CertificateChecker, HostileCertificatesCostWorkInProportionToTheirText) {
  const TestGraph k4{4, completeEdges(0, 4)};
  const TestGraph grid{240, gridEdges(12, 20)};
  TestGraph pendant{100, joined(completeEdges(0, 99), {{98, 99}})};
  // K30 with three nodes of degree 2 on nodes 0 and 1: the formula refutes itself by unit
  // propagation, a little more work than nothing to build.
  TestGraph hubs{33, completeEdges(0, 30)};
  for (int32_t v = 30; v < 33; ++v) hubs.edges.insert(hubs.edges.end(), {{0, v}, {1, v}});
  std::string wide = "frontier";  // every other node of the grid first: a frontier of 120
  for (int32_t start : {0, 1})
    for (int32_t v = start; v < 240; v += 2) wide += " " + std::to_string(v);
  const int64_t n = 50000;
  std::string chain;  // 20 SAT parts, one for each first branch of a chain of splits
  for (int32_t v = 2; v < 21; ++v) chain += "split 2 " + std::to_string(v + 1) + "\nsat\nend\n";
  chain += "sat\nend\n";
  using Row = std::tuple<const TestGraph&, std::string, int64_t, std::string, int64_t>;
  const std::string noEmpty = "the SAT part does not derive the empty clause";
  const std::vector<Row> rows = {
      {k4, "sat\n" + repeated("1 2 0\n", 2 * n) + "end\n", 3, noEmpty, 30 * 2 * n},
      {k4, "sat\n" + repeated("1 2 0\n", n) + repeated("d 1 2 0\n", n) + "end\n", 3, noEmpty, 30 * 2 * n},
      {k4, "sat\n" + repeated("1 2 0\nd 1 2 0\n", n) + "end\n", 3, noEmpty, 30 * 2 * n},
      {grid, wide + "\n", 3,
       "frontier: the order's frontier grows to 121 nodes; the checker takes at most 24", 1000},
      {k4, "sat\n" + repeated("1 ", 9 << 20) + "0\nend\n", 4,
       "the line is longer than 16777216 bytes, the checker's limit for this graph", 200},
      {pendant, "split 0 1\nsat\nend\nsat\nend\n", 0, "", 100},
      {hubs, "sat\nend\n", 0, "", 30000},
      {hubs, chain, 0, "", 30000 + 20 * 1000},  // the formula built once, not 20 times
  };
  for (const auto& [graph, proof, line, reason, bound] : rows) {
    const certcheck::CheckResult r = check(graph.n, graph.edges, header(graph.n, graph.edges) + proof);
    EXPECT_EQ(std::tuple(r.accepted, r.line, r.reason), std::tuple(line == 0, line, reason))
        << proof.substr(0, 60);
    EXPECT_LE(r.work, bound) << proof.substr(0, 60);
  }
  EXPECT_EQ(check(4, k4.edges, std::string(1 << 20, '\0')).reason,
            "not a certificate (its first line is \"hamcycles-certificate 1\")");
}

// The stored certificates (case splits written by the test writer, a SAT part from
// CaDiCaL) are accepted, and each mutation of them is rejected at the mutated line.
TEST(CertificateChecker, StoredCertificatesHoldAndTheirMutationsDoNot) {
  const EdgeList petersen = generalizedPetersenEdges(5, 2);
  const std::string splits = data("petersen_splits.cert"), sat = data("petersen_sat.cert");
  EXPECT_TRUE(check(10, petersen, splits).accepted) << check(10, petersen, splits).reason;
  const certcheck::CheckResult good = check(10, petersen, sat);
  EXPECT_TRUE(good.accepted) << good.line << ": " << good.reason;

  // A dropped branch: the last leaf removed.
  std::string dropped = splits.substr(0, splits.rfind('\n', splits.size() - 2) + 1);
  EXPECT_NE(check(10, petersen, dropped).reason.find("the certificate ends before the"), std::string::npos);
  // The same proof for another graph: Petersen with one spoke moved.
  EdgeList other = petersen;
  other[5] = {0, 7};
  EXPECT_FALSE(check(10, other, splits).accepted);
  // A subtour whose node set is all nodes or none (any other set is a cut, and its clause
  // holds).
  const size_t subtour = sat.find("subtour ");
  const std::string line = sat.substr(subtour, sat.find('\n', subtour) - subtour);
  const certcheck::CheckResult all = check(10, petersen, replaced(sat, line, "subtour 0 1 2 3 4 5 6 7 8 9"));
  EXPECT_EQ(all.reason, "a subtour's node set must hold at least one node and not all 10");
  EXPECT_EQ(check(10, petersen, replaced(sat, line, "subtour")).reason, all.reason);
  // A flipped literal: some flips leave a clause that still follows by unit propagation
  // (the formula is unsatisfiable, after all); every other one is rejected at its line.
  std::istringstream lines(sat);
  int64_t number = 0, rejected = 0;
  for (std::string step; std::getline(lines, step);) {
    ++number;
    if (step.empty() || !(std::isdigit(static_cast<unsigned char>(step[0])) || step[0] == '-') || step == "0")
      continue;
    const std::string mutated = step[0] == '-' ? step.substr(1) : "-" + step;
    const certcheck::CheckResult r =
        check(10, petersen, replaced(sat, "\n" + step + "\n", "\n" + mutated + "\n"));
    if (r.accepted) continue;
    ++rejected;
    EXPECT_EQ(r.line, number) << step;
    EXPECT_EQ(r.reason,
              "the clause does not follow by unit propagation (steps that need RAT are not accepted)");
  }
  EXPECT_GT(rejected, 0);
}

}  // namespace
}  // namespace hc::testing
