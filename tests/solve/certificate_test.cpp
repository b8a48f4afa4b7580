// Certificates of non-Hamiltonian verdicts, read back by the independent checker: one
// property (every certificate solve or the proof system writes is accepted, and every
// refutation is certified) over the solve zoo, the non-Hamiltonian connected cubic graphs on
// 16 nodes (when nauty-geng is installed) and a few structured graphs, with the portfolio
// steered to each method in turn; and one table of how each method's verdict is certified.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "certcheck/certificate_writers.h"
#include "cohc/search_tree.h"
#include "solve/cohc_certificate.h"
#include "solve/exact_search.h"
#include "solve/linear_relaxation.h"
#include "solve/relaxation_certificate.h"
#include "solve/root_pruning.h"
#include "solve/sat_certificate.h"
#include "solve/sat_worker.h"
#include "solve/search_certificate.h"
#include "solve/solve_certificate.h"
#include "solve/solve_graph.h"
#include "solve_zoo.h"
#include "support/test_graphs.h"

namespace hc::testing {
namespace {

using Graphs = std::vector<std::pair<int32_t, EdgeList>>;

// The first step of a certificate (its third line), up to the first blank.
std::string firstStep(const std::string& certificate) {
  std::istringstream in(certificate);
  std::string line;
  for (int k = 0; k < 3; ++k) std::getline(in, line);
  return line.substr(0, line.find(' '));
}

// The prism GP(6, 1) with node 0 replaced by the Petersen graph less a node: a 3-edge cut
// whose side has no Hamiltonian path between any two of the cut edges' inner ends.
EdgeList petersenFragment() {
  return joinedWithoutNodeZero(generalizedPetersenEdges(6, 1), 12, generalizedPetersenEdges(5, 2));
}

// K(3, 6) with one edge inside the larger side: not bipartite, and five of its nodes are
// independent.
EdgeList crowdedSide() {
  return joined(completeBipartiteEdges(3, 6), {{3, 4}});
}

// Three nodes on a triangle and four copies of K4, each joined to them by four edges: no two
// nodes and no three edges separate it, and removing the three leaves four pieces.
EdgeList fourPiecesOnThreeNodes() {
  EdgeList edges = cycleEdges(0, 3);
  for (int32_t k = 0; k < 4; ++k) {
    const int32_t first = 3 + 4 * k;
    edges = joined(edges, completeEdges(first, 4));
    edges = joined(edges, {{0, first}, {1, first + 1}, {2, first + 2}, {k % 3, first + 3}});
  }
  return edges;
}

using Steering = std::pair<const char*, SolveOptions>;

// The portfolio as it runs, and steered to the search, the frontier search and the clause
// learner alone.
std::vector<Steering> steerings() {
  std::vector<Steering> out;
  SolveOptions o;
  out.push_back({"portfolio", o});
  o.useDecomposition = false;
  o.frontierWork = 0;
  o.useSat = o.useProofSystem = false;
  o.probeNodesPerNode = o.probeNodes = 0;
  out.push_back({"linear relaxation", o});
  o.useRelaxation = false;
  o.probeNodesPerNode = 2;
  o.probeNodes = 10000;
  o.threads = 2;
  out.push_back({"probe", o});
  o.probeNodesPerNode = o.probeNodes = 0;
  out.push_back({"search with look-ahead", o});
  o.useRelaxation = true;
  o.searchRelaxationTreeNodes = 1;
  out.push_back({"search with the relaxation", o});
  o.useRelaxation = false;
  o.frontierWork = 5000000;
  out.push_back({"frontier", o});
  o.frontierWork = 0;
  o.threads = 1;
  o.useFinder = false;
  o.useSat = true;
  out.push_back({"clause learning", o});
  return out;
}

TEST(Certificates, EveryRefutationIsCertifiedAndAccepted) {
  Graphs graphs = zoo();
  for (auto& g : cubicCensus()) graphs.push_back(std::move(g));
  graphs.emplace_back(70, generalizedPetersenEdges(35, 2));
  graphs.emplace_back(48, knightEdges(4, 12));
  graphs.emplace_back(14, blobsBetweenTwoNodes(3));
  graphs.emplace_back(20, petersenFragment());
  graphs.emplace_back(9, crowdedSide());
  graphs.emplace_back(19, fourPiecesOnThreeNodes());
  int32_t refuted = 0;
  uint32_t seed = 1;
  for (const auto& [n, edges] : graphs) {
    if (solveGraph(makeGraph(n, edges), SolveOptions{}).verdict != kNotHamiltonian) continue;
    ++refuted;
    for (const auto& [name, steered] : steerings()) {
      std::string certificate;
      SolveOptions options = steered;
      options.seed = seed++;
      options.certificate = &certificate;
      const SolveResult r = solveGraph(makeGraph(n, edges), options);
      SCOPED_TRACE(::testing::Message()
                   << name << ", " << std::string(decidedByName(r.decidedBy)) << ", " << n << " nodes");
      ASSERT_EQ(r.verdict, kNotHamiltonian);
      ASSERT_TRUE(r.certified) << r.certificateNote;
      const certcheck::CheckResult c = check(n, edges, certificate);
      ASSERT_TRUE(c.accepted) << "line " << c.line << " (" << c.step << "): " << c.reason;
    }
    // The proof system on its own, its tree written alongside.
    Graph graph = makeGraph(n, edges);
    CohcCertificate recorder(graph);
    CohcOptions options;
    options.writeCycleFile = false;
    options.observer = &recorder;
    const CohcResult r = runCoHC(graph, options);
    std::string certificate;
    ASSERT_EQ(r.verdict, kNotHamiltonian);
    ASSERT_TRUE(recorder.finish(r.verdict, certificate)) << n << " nodes";
    const certcheck::CheckResult c = check(n, edges, certificate);
    ASSERT_TRUE(c.accepted) << "proof system: line " << c.line << " (" << c.step << "): " << c.reason;
  }
  EXPECT_GT(refuted, 100);
}

// A dead end of the search that the relaxation closed (some branches of the cubic census)
// becomes a relaxation part, or the separator it names, that the checker accepts.
TEST(Certificates, TheSearchsRelaxationLeavesAreCertified) {
  int64_t leaves = 0;
  for (const auto& [n, edges] : cubicCensus()) {
    Graph root = makeGraph(n, edges);
    root.actionList.reset();
    CertificateWriter writer(root);
    if (pruneRootIncrementally(root) != kUndecided) continue;
    std::vector<int32_t> log;
    ExactSearchOptions options;
    options.proofLog = &log;
    options.relaxationLevels = 1000;
    options.relaxationTreeNodes = 1;
    options.rootLookAheadEdgeLimit = options.levelLookAheadEdgeLimit = -1;  // it settles most before
    const ExactSearchResult found = exactSearch(root, StopToken(), options);
    if (found.verdict != kNotHamiltonian) continue;
    leaves += found.relaxationLeaves;
    ASSERT_TRUE(writeSearchProof(writer, log, StopToken()));
    const certcheck::CheckResult c = check(n, edges, writer.header() + writer.body());
    ASSERT_TRUE(c.accepted) << "line " << c.line << " (" << c.step << "): " << c.reason;
  }
  EXPECT_TRUE(leaves > 0 || cubicCensus().empty());
}

// A triangle whose nodes each have one forced edge out (through a node of degree 2): every
// cycle would cross its cut three times. No subtour inequality shows it; a blossom does, and
// its certificate holds.
TEST(Certificates, ABlossomRefutesWhatNoSubtourInequalityDoes) {
  const EdgeList edges{{0, 4}, {0, 5}, {0, 7}, {1, 4}, {1, 6}, {1, 8},
                       {2, 5}, {2, 8}, {3, 6}, {3, 7}, {5, 7}, {6, 8}};
  const Graph graph = makeGraph(9, edges);
  LinearRelaxationOptions subtoursOnly;
  subtoursOnly.blossoms = false;
  EXPECT_EQ(solveLinearRelaxation(graph, StopToken(), subtoursOnly).outcome, RelaxationOutcome::kFeasible);
  const LinearRelaxationResult found = solveLinearRelaxation(graph, StopToken());
  ASSERT_EQ(found.outcome, RelaxationOutcome::kNoCycle);
  EXPECT_FALSE(found.proof.blossoms.empty());
  CertificateWriter writer(graph);
  ASSERT_TRUE(writeRelaxationProof(writer, found.proof, StopToken()));
  EXPECT_NE(writer.body().find("\nblossom "), std::string::npos) << writer.body();
  const certcheck::CheckResult c = check(9, edges, writer.header() + writer.body());
  EXPECT_TRUE(c.accepted) << "line " << c.line << " (" << c.step << "): " << c.reason;
}

// The clause learner's own proof of the checker's formula is the SAT part as it stands, also
// below a split that deletes an edge at a node of degree 6 (where the checker's counters count
// it and the worker's own encoding would not); past its bound it is dropped, the verdict kept.
TEST(Certificates, TheClauseLearnersTracedProofIsTheSatPart) {
  auto traced = [](const CertificateWriter& writer, int64_t limit) {
    SatWorkerOptions options;
    options.keepFormula = options.traceProof = true;
    options.proofLimitBytes = limit;
    return decideBySat(checkerProblemOf(writer.branch()), StopToken(), options);
  };
  const std::vector<std::tuple<int32_t, EdgeList, certcheck::Edge>> rows = {
      {34, generalizedPetersenEdges(17, 2), {-1, -1}},
      {58, generalizedPetersenEdges(29, 2), {-1, -1}},
      {11, completeBipartiteEdges(5, 6), {0, 5}},
  };
  for (const auto& [n, edges, split] : rows) {
    CertificateWriter writer(makeGraph(n, edges));
    const size_t root = writer.branch().mark();
    if (split.first >= 0) writer.writeSplit(split.first, split.second, kDeleted);
    for (const certcheck::EdgeStatus status : {kDeleted, kForced}) {
      writer.branch().restore(root);
      if (split.first >= 0)
        writer.branch().decide(writer.branch().findEdge(split.first, split.second), status);
      const SatWorkerResult r = traced(writer, kDefaultCertificateLimitBytes);
      ASSERT_EQ(r.verdict, Verdict::kNonHamiltonian) << n;
      std::vector<std::vector<int32_t>> subtours;
      for (const SubtourClause& clause : r.formula.subtours) subtours.push_back(clause.nodes);
      ASSERT_TRUE(writeSatPart(writer, subtours, r.proof));
      if (split.first < 0) break;
    }
    const certcheck::CheckResult c = check(n, edges, writer.header() + writer.body());
    EXPECT_TRUE(c.accepted) << n << ": line " << c.line << " (" << c.step << "): " << c.reason;
    const SatWorkerResult past = traced(CertificateWriter(makeGraph(n, edges)), 1);
    EXPECT_EQ(std::tuple(past.verdict, past.proofDropped, past.proof.empty()),
              std::tuple(Verdict::kNonHamiltonian, true, true))
        << n;
  }
}

TEST(Certificates, HowEachMethodsVerdictIsCertified) {
  SolveOptions onlySearch = steerings()[2].second, onlyFrontier = steerings()[5].second,
               onlySat = steerings()[6].second;
  onlyFrontier.frontierWork = 1 << 24;
  SolveOptions rulesFirst;  // no probe ahead of the decomposition rules
  rulesFirst.probeNodes = rulesFirst.probeNodesPerNode = 0;
  SolveOptions relaxationFirst = rulesFirst;  // one thread: the relaxation's slice before the portfolio
  relaxationFirst.frontierWork = 0;
  relaxationFirst.threads = 1;
  SolveOptions tinyLog = onlySearch;  // its proof log past the bound at once
  tinyLog.certificateLimitBytes = 64;
  SolveOptions tinySatProof = onlySat;
  tinySatProof.certificateLimitBytes = 64;
  const Graph prism = makeGraph(12, generalizedPetersenEdges(6, 1));
  // A cut node, the bipartite K(3, 4).
  EdgeList cutNode = joined(completeEdges(0, 4), completeEdges(3, 4));
  // What, the graph, the options, the method that decides, the certificate's first step (or why none).
  const std::vector<std::tuple<const char*, int32_t, EdgeList, SolveOptions, const char*, const char*>> rows =
      {
          {"a cut node", 7, cutNode, {}, "root pruning", "separator"},
          {"uneven sides", 7, completeBipartiteEdges(3, 4), {}, "root pruning", "bipartite"},
          {"an independent set of more than half", 9, crowdedSide(), {}, "alternation rule", "independent"},
          // Its deletions as a step, then the pieces they leave.
          {"two bipartitions (knight 4 x 40)",
           160,
           knightEdges(4, 40),
           {},
           "alternation rule",
           "alternation"},
          {"the search's tree", 22, generalizedPetersenEdges(11, 2), onlySearch, "exact search", "split"},
          {"a log past its bound", 22, generalizedPetersenEdges(11, 2), tinyLog, "exact search",
           "the exact search's proof log passed 64 bytes"},
          {"the frontier states", 70, generalizedPetersenEdges(35, 2), onlyFrontier, "frontier search",
           "frontier"},
          {"the clause learner", 34, generalizedPetersenEdges(17, 2), onlySat, "clause learning", "sat"},
          {"a clause learner's proof past its bound", 34, generalizedPetersenEdges(17, 2), tinySatProof,
           "clause learning", "the clause learner's proof passed 64 bytes"},
          {"three pieces between two nodes", 14, blobsBetweenTwoNodes(3), rulesFirst, "separator",
           "separator"},
          {"a fragment without paths", 20, petersenFragment(), rulesFirst, "edge cut", "fragment"},
          {"more pieces than separating nodes", 19, fourPiecesOnThreeNodes(), relaxationFirst,
           "linear relaxation", "separator"},
      };
  for (const auto& [what, n, edges, given, method, step] : rows) {
    std::string certificate;
    SolveOptions options = given;
    options.certificate = &certificate;
    const SolveResult r = solveGraph(makeGraph(n, edges), options);
    EXPECT_EQ(std::tuple(std::string(decidedByName(r.decidedBy)),
                         r.certified ? firstStep(certificate) : r.certificateNote,
                         check(n, edges, certificate).accepted == r.certified),
              std::tuple(method, step, true))
        << what;
  }
  // A refutation the format cannot state, with no time left for another proof: no text, and
  // the reason. (The prism is Hamiltonian: its certificate can only fail.)
  StopToken stopped;
  stopped.requestStop();
  std::string certificate = "stale";
  const CertificateOutcome none = writeSolveCertificate(prism, DecidedBy::kSeparator, ProofPiece{},
                                                        SolveOptions{}, stopped, 1.0, certificate);
  EXPECT_EQ(std::pair(none.certified, certificate), std::pair(false, std::string()));
  EXPECT_EQ(none.note,
            "the separator's refutation has no certificate, and the run was stopped before another proof "
            "was found");
}

}  // namespace
}  // namespace hc::testing
