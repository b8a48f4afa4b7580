#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <sstream>

#include "certcheck/certificate_checker.h"
#include "solve/solve_graph.h"
#include "solve_zoo.h"

namespace hc::testing {
namespace {

certcheck::CheckResult checkText(int32_t n, const EdgeList& edges, const std::string& text) {
  std::istringstream in(text);
  return certcheck::checkCertificate(n, edges, in);
}

// graph6 of fewer than 63 nodes
EdgeList fromGraph6(const std::string& line, int32_t& n) {
  n = line[0] - 63;
  EdgeList edges;
  int bit = 0;
  for (int32_t v = 1; v < n; ++v)
    for (int32_t u = 0; u < v; ++u, ++bit) {
      const int byte = line[1 + bit / 6] - 63;
      if (byte >> (5 - bit % 6) & 1) edges.emplace_back(u, v);
    }
  return edges;
}

std::vector<std::pair<int32_t, EdgeList>> census() {
  std::vector<std::pair<int32_t, EdgeList>> graphs;
  FILE* in = popen("nauty-geng -q -c -d3 -D3 16 2>/dev/null", "r");
  if (!in) return graphs;
  char buffer[256];
  while (fgets(buffer, sizeof buffer, in)) {
    std::string line(buffer);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    int32_t n = 0;
    EdgeList e = fromGraph6(line, n);
    graphs.emplace_back(n, std::move(e));
  }
  pclose(in);
  return graphs;
}

void run(const std::vector<std::pair<int32_t, EdgeList>>& graphs, SolveOptions base) {
  std::map<std::string, std::pair<int, int>> table;
  std::map<std::string, int> kinds;
  int accepted = 0;
  uint32_t seed = 1;
  for (const auto& [n, edges] : graphs) {
    std::string certificate;
    SolveOptions options = base;
    options.seed = seed++;
    options.certificate = &certificate;
    const SolveResult r = solveGraph(makeGraph(n, edges), options);
    if (r.verdict != kNotHamiltonian) continue;
    auto& row = table[r.method];
    ++row.second;
    if (!r.certified) {
      std::printf("uncertified %s: %s\n", r.method.c_str(), r.certificateNote.c_str());
      continue;
    }
    ++row.first;
    {
      std::istringstream in(certificate);
      std::string l1, l2, l3;
      std::getline(in, l1);
      std::getline(in, l2);
      std::getline(in, l3);
      kinds[r.method + ": " + l3.substr(0, l3.find(' '))]++;
    }
    const certcheck::CheckResult c = checkText(n, edges, certificate);
    EXPECT_TRUE(c.accepted) << r.method << " line " << c.line << ": " << c.reason << "\n" << certificate;
    accepted += c.accepted;
  }
  for (auto& [m, row] : table) std::printf("%-20s %d / %d\n", m.c_str(), row.first, row.second);
  for (auto& [m, k] : kinds) std::printf("   %-30s %d\n", m.c_str(), k);
}

std::vector<std::pair<std::string, SolveOptions>> configs() {
  std::vector<std::pair<std::string, SolveOptions>> out;
  SolveOptions o;
  out.emplace_back("default", o);
  o.useDecomposition = false;
  o.frontierWork = 0;
  o.useSat = false;
  o.useProofSystem = false;
  o.threads = 2;
  out.emplace_back("search", o);
  o.probeNodesPerNode = o.probeNodes = 0;
  o.frontierWork = 5000000;
  out.emplace_back("frontier", o);
  o.frontierWork = 0;
  o.threads = 1;
  o.useFinder = false;
  o.useSat = true;
  out.emplace_back("sat", o);
  return out;
}

TEST(CertificateExperiment, Census) {
  auto graphs = census();
  std::printf("%zu graphs\n", graphs.size());
  for (auto& [name, o] : configs()) {
    std::printf("-- %s\n", name.c_str());
    run(graphs, o);
  }
}

}  // namespace
}  // namespace hc::testing
#include "decompose/three_edge_cuts.h"
#include "solve/decomposition_certificate.h"
namespace hc::testing {
namespace {
TEST(CertificateExperiment, EdgeCutDebug) {
  for (auto& [n, edges] : census()) {
    SolveOptions o;
    const SolveResult r = solveGraph(makeGraph(n, edges), o);
    if (r.verdict != kNotHamiltonian || (r.method != "edge cut" && r.method != "separator")) continue;
    CertificateWriter w(makeGraph(n, edges));
    PartGraph part;
    part.nodeCount = n;
    for (auto [a, b] : edges) part.edges.push_back({a, b, false});
    StopToken never;
    auto cuts = findThreeEdgeCuts(part, 5000, never);
    std::printf("%s: %zu cuts:", r.method.c_str(), cuts.size());
    for (auto& c : cuts) std::printf(" %zu", c.side.size());
    int calls = 0;
    NestedProver prove = [&](int32_t m, const std::vector<certcheck::Edge>& e, std::string& body) {
      ++calls;
      std::string cert;
      SolveOptions no;
      no.useDecomposition = false;
      no.certificate = &cert;
      SolveResult s = solveGraph(
          [&] {
            Graph g(m, 0);
            for (auto [a, b] : e) g.addEdge(a, b);
            g.finishConstruction();
            return g;
          }(),
          no);
      std::printf(" [%d:%d %s %d]", m, s.verdict, s.method.c_str(), s.certified);
      body = cert;
      return s.verdict == 0 && s.certified;
    };
    bool ok = writeDecompositionProof(w, prove, never);
    std::printf(" -> %d calls %d\n", ok, calls);
  }
}
}  // namespace
}  // namespace hc::testing
#include <chrono>
namespace hc::testing {
namespace {
void measure(const char* name, int32_t n, const EdgeList& edges, SolveOptions o = {}) {
  using C = std::chrono::steady_clock;
  auto t0 = C::now();
  SolveResult plain = solveGraph(makeGraph(n, edges), o);
  auto t1 = C::now();
  std::string cert;
  o.certificate = &cert;
  SolveResult r = solveGraph(makeGraph(n, edges), o);
  auto t2 = C::now();
  certcheck::CheckResult c = checkText(n, edges, cert);
  auto t3 = C::now();
  auto s = [](auto a, auto b) { return std::chrono::duration<double>(b - a).count(); };
  std::printf(
      "%s: %s/%s plain %.3fs, with cert %.3fs (write %.3fs) certified %d (%s) size %zu, check %.3fs accepted "
      "%d %s\n",
      name, plain.method.c_str(), r.method.c_str(), s(t0, t1), s(t1, t2), r.certificateSeconds, r.certified,
      r.certificateNote.c_str(), cert.size(), s(t2, t3), c.accepted, c.reason.c_str());
  std::fflush(stdout);
}
TEST(CertificateExperiment, Big) {
  measure("GP(1001,2)", 2002, generalizedPetersenEdges(1001, 2));
  measure("GP(59,2)", 118, generalizedPetersenEdges(59, 2));
  measure("knight 4x640", 2560, knightEdges(4, 640));
  measure("knight 4x40", 160, knightEdges(4, 40));
}
}  // namespace
}  // namespace hc::testing
#include "certcheck/frontier_check.h"
namespace hc::testing {
namespace {
TEST(CertificateExperiment, KnightFrontier) {
  for (int cols : {8, 40, 160, 640}) {
    EdgeList e = knightEdges(4, cols);
    certcheck::BranchState b(4 * cols, certcheck::canonicalEdges(e));
    std::vector<int32_t> order;
    for (int c = 0; c < cols; ++c)
      for (int r = 0; r < 4; ++r) order.push_back(r * cols + c);
    auto t0 = std::chrono::steady_clock::now();
    std::string why = certcheck::checkFrontierLeaf(b, order);
    auto t1 = std::chrono::steady_clock::now();
    std::printf("4x%d: '%s' %.3fs\n", cols, why.c_str(), std::chrono::duration<double>(t1 - t0).count());
  }
}
}  // namespace
}  // namespace hc::testing
#include "solve/frontier_search.h"
namespace hc::testing {
namespace {
TEST(CertificateExperiment, KnightEngineFrontier) {
  for (int cols : {8, 40, 160, 640}) {
    Graph g = makeGraph(4 * cols, knightEdges(4, cols));
    StopToken never;
    auto t0 = std::chrono::steady_clock::now();
    EdgeSnapshot snap(g);
    auto order = narrowFrontierOrder(snap);
    FrontierSearchResult f = frontierSearch(snap, never, 500000000, order);
    auto t1 = std::chrono::steady_clock::now();
    std::printf("4x%d: order %zu verdict %d width %d work %lld peak %lld %.3fs\n", cols, order.size(),
                f.verdict, f.width, (long long)f.work, (long long)f.peak,
                std::chrono::duration<double>(t1 - t0).count());
  }
}
}  // namespace
}  // namespace hc::testing
#include "cohc/search_tree.h"
#include "solve/cohc_certificate.h"
namespace hc::testing {
namespace {
TEST(CertificateExperiment, Cohc) {
  int non = 0, cert = 0, acc = 0;
  std::map<std::string, int> kinds;
  auto all = census();
  auto z = zoo();
  all.insert(all.end(), z.begin(), z.end());
  all.emplace_back(10, generalizedPetersenEdges(5, 2));
  all.emplace_back(22, generalizedPetersenEdges(11, 2));
  all.emplace_back(34, generalizedPetersenEdges(17, 2));
  all.emplace_back(4 * 8, knightEdges(4, 8));
  double t = 0;
  for (auto& [n, edges] : all) {
    Graph g = makeGraph(n, edges);
    CohcCertificate rec(g);
    CohcOptions o;
    o.writeCycleFile = false;
    o.observer = &rec;
    auto t0 = std::chrono::steady_clock::now();
    CohcResult r = runCoHC(g, o);
    t += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    if (r.verdict != kNotHamiltonian) continue;
    ++non;
    std::string text;
    if (!rec.finish(r.verdict, text)) {
      std::printf("uncertified n=%d\n", n);
      continue;
    }
    ++cert;
    auto c = checkText(n, edges, text);
    EXPECT_TRUE(c.accepted) << c.line << ": " << c.reason << "\n" << text;
    acc += c.accepted;
    std::istringstream in(text);
    std::string l;
    std::getline(in, l);
    std::getline(in, l);
    while (std::getline(in, l)) kinds[l.substr(0, l.find(' '))]++;
  }
  std::printf("cohc: %d non-Ham, %d certified, %d accepted, %.2fs\n", non, cert, acc, t);
  for (auto& [k, c] : kinds) std::printf("  %s %d\n", k.c_str(), c);
}
}  // namespace
}  // namespace hc::testing
namespace hc::testing {
namespace {
TEST(CertificateExperiment, Methods) {
  SolveOptions search;
  search.useDecomposition = false;
  search.frontierWork = 0;
  search.useSat = false;
  search.useProofSystem = false;
  search.threads = 2;
  SolveOptions sat = search;
  sat.useSat = true;
  sat.threads = 1;
  sat.useFinder = false;
  sat.probeNodes = sat.probeNodesPerNode = 0;
  for (int n : {35, 47, 59}) {
    std::string name = "GP(" + std::to_string(n) + ",2)";

    measure((name + " sat").c_str(), 2 * n, generalizedPetersenEdges(n, 2), sat);
  }
}
TEST(CertificateExperiment, CohcTiming) {
  for (int n : {17, 23, 29}) {
    auto edges = generalizedPetersenEdges(n, 2);
    using C = std::chrono::steady_clock;
    Graph g = makeGraph(2 * n, edges);
    CohcOptions o;
    o.writeCycleFile = false;
    auto t0 = C::now();
    CohcResult r0 = runCoHC(g, o);
    auto t1 = C::now();
    Graph h = makeGraph(2 * n, edges);
    CohcCertificate rec(h);
    o.observer = &rec;
    CohcResult r = runCoHC(h, o);
    auto t2 = C::now();
    std::string text;
    bool ok = rec.finish(r.verdict, text);
    auto c = checkText(2 * n, edges, text);
    auto t3 = C::now();
    auto s = [](auto a, auto b) { return std::chrono::duration<double>(b - a).count(); };
    std::printf(
        "cohc GP(%d,2): %lld nodes plain %.3fs with %.3fs certified %d size %zu check %.3fs accepted %d\n", n,
        (long long)r.treeNodes, s(t0, t1), s(t1, t2), ok, text.size(), s(t2, t3), c.accepted);
  }
}
}  // namespace
}  // namespace hc::testing
