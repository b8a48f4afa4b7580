// The certificate of a solve verdict (see solve_certificate.h). Every attempt starts from a
// fresh writer on the graph as given, so a failed one leaves nothing behind.
#include "solve/solve_certificate.h"

#include <algorithm>
#include <functional>

#include "certcheck/witness_leaves.h"
#include "core/edge_snapshot.h"
#include "solve/certificate_writer.h"
#include "solve/colouring_worker.h"
#include "solve/decomposition_certificate.h"
#include "solve/exact_search.h"
#include "solve/frontier_search.h"
#include "solve/relaxation_certificate.h"
#include "solve/root_pruning.h"
#include "solve/sat_certificate.h"
#include "solve/search_certificate.h"

namespace hc {

namespace {

using certcheck::BranchState;

// A second proof by the search or the SAT part gets a quarter of a second at least; the
// SAT part of the clause learner's own refutation a second.
constexpr double kLeastFallbackSeconds = 0.25;
constexpr double kLeastSatSeconds = 1.0;

Graph graphOf(int32_t n, const std::vector<certcheck::Edge>& edges) {
  Graph graph(n, 0);
  for (auto [u, v] : edges) graph.addEdge(u, v);
  graph.finishConstruction();
  return graph;
}

// The edges the branch has left, as the frontier search reads a graph.
EdgeSnapshot snapshotOf(const BranchState& b) {
  std::vector<certcheck::Edge> left;
  for (size_t e = 0; e < b.edges().size(); ++e)
    if (b.status(static_cast<int32_t>(e)) != certcheck::kDeleted) left.push_back(b.edges()[e]);
  return EdgeSnapshot(graphOf(b.nodes(), left));
}

int64_t edgesLeft(const BranchState& b) {
  int64_t left = 0;
  for (size_t e = 0; e < b.edges().size(); ++e)
    left += b.status(static_cast<int32_t>(e)) != certcheck::kDeleted;
  return left;
}

// A frontier leaf over `order` once the engine's frontier search has seen it hold on the
// branch's edges within the checker's limits (the checker keeps the forced edges too, so it
// meets no more states than the search did).
bool writeCheckedFrontierLeaf(CertificateWriter& writer, const EdgeSnapshot& left,
                              const std::vector<int32_t>& order, const StopToken& stop, int64_t work) {
  if (static_cast<int32_t>(order.size()) != writer.branch().nodes()) return false;
  const FrontierSearchResult found = frontierSearch(left, stop, work, order);
  if (found.verdict != kNotHamiltonian || found.width > static_cast<int32_t>(certcheck::kMaxFrontierWidth) ||
      found.peak > static_cast<int64_t>(certcheck::kMaxFrontierStates))
    return false;
  writer.write(certificateNodeLine("frontier", order));
  return true;
}

// The frontier search's own leaf over its order. On the very edges it searched (the root's,
// when the branch has as many left) it is written as it is; otherwise it is searched again
// on the branch's.
bool writeFrontierLeaf(CertificateWriter& writer, const ProofPiece& piece, const StopToken& stop) {
  const std::vector<int32_t>& order = piece.frontierOrder;
  if (static_cast<int32_t>(order.size()) != writer.branch().nodes()) return false;
  if (edgesLeft(writer.branch()) != piece.searchedEdges)
    return writeCheckedFrontierLeaf(writer, snapshotOf(writer.branch()), order, stop, kFrontierWorkLimit);
  writer.write(certificateNodeLine("frontier", order));
  return true;
}

// A frontier leaf over a narrow order, for long, thin graphs another method decided.
bool writeNarrowFrontierLeaf(CertificateWriter& writer, const StopToken& stop) {
  const EdgeSnapshot left = snapshotOf(writer.branch());
  const std::vector<int32_t> order = narrowFrontierOrder(left);
  return !order.empty() && writeCheckedFrontierLeaf(writer, left, order, stop, kFrontierWorkLimit);
}

// Marks `set` in the branch's scratch marks (as the checker's parser does) for a witness check.
uint32_t markSet(BranchState& b, const std::vector<int32_t>& set) {
  const uint32_t stamp = b.stamp();
  for (int32_t v : set) b.marks()[static_cast<size_t>(v)] = stamp;
  return stamp;
}

bool writeIndependentLeaf(CertificateWriter& writer, const std::vector<int32_t>& set) {
  BranchState& b = writer.branch();
  const uint32_t stamp = markSet(b, set);
  if (set.empty() || !certcheck::checkIndependentLeaf(b, set, stamp).empty()) return false;
  writer.write(certificateNodeLine("independent", set));
  return true;
}

// The alternation rule's proof: its sets of half the nodes as `alternation` steps, in the
// order they acted (one the branch does not take, where the engine's pruning had deleted
// more than the checker's propagation, is left out: the later ones may still hold), then
// its refuting set or whatever closes the branch then. Two bipartitions usually leave the
// graph in pieces, a `cut` leaf.
bool writeAlternationProof(CertificateWriter& writer, const ProofPiece& piece) {
  BranchState& b = writer.branch();
  for (const std::vector<int32_t>& set : piece.alternationSets) {
    if (!b.contradiction().empty()) break;
    if (certcheck::applyAlternationStep(b, set, markSet(b, set)).empty())
      writer.write(certificateNodeLine("alternation", set));
  }
  return writeIndependentLeaf(writer, piece.independentSet) || writer.closeBranch();
}

// A fragment's question, solved by solve itself with a certificate, given as a body.
bool proveNested(int32_t n, const std::vector<certcheck::Edge>& edges, const SolveOptions& options,
                 const StopToken& stop, std::string& body) {
  std::string certificate;
  SolveOptions nested = options;
  nested.timeLimitSeconds = 0.0;  // the caller's token carries the deadline
  nested.useDecomposition = false;
  nested.branch.clear();  // a fragment's graph has nodes of its own
  nested.certificate = &certificate;
  const SolveResult result = solveGraph(graphOf(n, edges), nested, &stop);
  if (result.verdict != kNotHamiltonian || !result.certified) return false;
  size_t start = 0;
  for (int line = 0; line < 2 && start != std::string::npos; ++line)
    start = certificate.find('\n', start) + 1;
  body = certificate.substr(start);
  return true;
}

// The exact search from the root the checker itself propagates (no alternation deletions),
// its log within the run's bound.
bool writeBySearch(const Graph& graph, std::span<const BranchEdge> branch, CertificateWriter& writer,
                   const StopToken& stop, int64_t limitBytes) {
  Graph root(graph);
  root.actionList.reset();
  if (pruneRootIncrementally(root) == kNotHamiltonian || applyBranch(root, branch) == kNotHamiltonian)
    return writer.closeBranch();
  if (root.isHamiltonian != kUndecided) return false;
  std::vector<int32_t> log;
  ExactSearchOptions options;
  options.proofLog = &log;
  options.proofLogLimitBytes = limitBytes;
  if (exactSearch(root, stop, options).verdict != kNotHamiltonian) return false;
  return writeSearchProof(writer, log, stop);
}

}  // namespace

std::string passedLimitNote(const std::string& what, int64_t limitBytes) {
  constexpr int64_t kKiB = 1024, kMiB = kKiB * kKiB;
  const std::string size =
      limitBytes >= kMiB && limitBytes % kMiB == 0   ? std::to_string(limitBytes / kMiB) + " MiB"
      : limitBytes >= kKiB && limitBytes % kKiB == 0 ? std::to_string(limitBytes / kKiB) + " KiB"
                                                     : std::to_string(limitBytes) + " bytes";
  return "the " + what + " passed " + size;
}

CertificateOutcome writeSolveCertificate(const Graph& graph, DecidedBy method, const ProofPiece& piece,
                                         const SolveOptions& options, const StopToken& stop,
                                         double decisionSeconds, std::string& text) {
  CertificateOutcome outcome;
  auto attempt = [&](const std::function<bool(CertificateWriter&)>& write) {
    if (outcome.certified) return;
    CertificateWriter writer(graph);
    applyBranch(writer.branch(), options.branch);
    if (!write(writer)) return;
    // The header goes in front of the body in place: a long proof is not held twice.
    std::string& body = writer.body();
    body.insert(0, writer.header());
    text = std::move(body);
    outcome.certified = true;
  };
  // Whatever decided, a root the checker refutes at once needs no more.
  attempt([](CertificateWriter& w) { return w.closeBranch(0); });
  // The method's proof was dropped at the bound: another proof would be as large, or would
  // take a good part of the long decision's time again.
  if (!outcome.certified && !piece.passedLimit.empty()) {
    text.clear();
    outcome.note = passedLimitNote(piece.passedLimit, options.certificateLimitBytes);
    return outcome;
  }
  if (method == DecidedBy::kRootPruning) {
    attempt([](CertificateWriter& w) { return w.closeBranch(); });
  } else if (method == DecidedBy::kAlternationRule) {
    attempt([&](CertificateWriter& w) { return writeAlternationProof(w, piece); });
  } else if (method == DecidedBy::kExactSearch) {
    attempt([&](CertificateWriter& w) { return writeSearchProof(w, piece.searchLog, stop); });
  } else if (method == DecidedBy::kFrontierSearch) {
    attempt([&](CertificateWriter& w) { return writeFrontierLeaf(w, piece, stop); });
  } else if (method == DecidedBy::kClauseLearning && !piece.colouringProof.empty()) {
    attempt([&](CertificateWriter& w) {
      writeColouringPart(w, piece.colouringProof);
      return true;
    });
  } else if (method == DecidedBy::kClauseLearning) {
    // The worker's own proof when it solved the checker's formula; else solved again on it:
    // about as long as the worker took, and not without end where this run goes astray.
    if (!piece.satProof.empty())
      attempt([&](CertificateWriter& w) { return writeSatPart(w, piece.subtours, piece.satProof); });
    StopToken again(&stop);
    again.setTimeLimit(std::max(kLeastSatSeconds, 3 * decisionSeconds));
    attempt([&](CertificateWriter& w) {
      return writeSatProof(w, piece.subtours, again, options.certificateLimitBytes);
    });
  } else if (method == DecidedBy::kProofSystem && piece.bodyComplete) {
    attempt([&](CertificateWriter& w) {
      w.body() = piece.body;
      return true;
    });
  } else if (method == DecidedBy::kLinearRelaxation) {
    attempt([&](CertificateWriter& w) { return writeRelaxationProof(w, piece.relaxation, stop); });
  } else if (method == DecidedBy::kEdgeCut && piece.bodyComplete) {
    attempt([&](CertificateWriter& w) {  // pieces contracted, and the smaller graph's proof
      w.body() = piece.body;
      return true;
    });
  } else if (method == DecidedBy::kSeparator || method == DecidedBy::kEdgeCut) {
    const NestedProver prove = [&](int32_t n, const std::vector<certcheck::Edge>& edges, std::string& body) {
      return proveNested(n, edges, options, stop, body);
    };
    attempt([&](CertificateWriter& w) { return writeDecompositionProof(w, prove, stop); });
  }
  // The second proof: the frontier over a narrow order (within its work budget), then the
  // search and the SAT part, each with a quarter of the decision's time.
  if (!stop.stopRequested()) attempt([&](CertificateWriter& w) { return writeNarrowFrontierLeaf(w, stop); });
  auto second = [&](const std::function<bool(CertificateWriter&, const StopToken&)>& write) {
    if (outcome.certified || stop.stopRequested()) return;
    StopToken within(&stop);
    within.setTimeLimit(std::max(kLeastFallbackSeconds, decisionSeconds / 4));
    attempt([&](CertificateWriter& w) { return write(w, within); });
  };
  second([&](CertificateWriter& w, const StopToken& s) {
    return writeBySearch(graph, options.branch, w, s, options.certificateLimitBytes);
  });
  second([&](CertificateWriter& w, const StopToken& s) {
    return writeSatProof(w, {}, s, options.certificateLimitBytes);
  });
  if (!outcome.certified) {
    text.clear();
    outcome.note = "the " + std::string(decidedByName(method)) + "'s refutation has no certificate" +
                   (stop.stopRequested() ? ", and the run was stopped before another proof was found"
                                         : ", and no other proof was found in time");
  }
  return outcome;
}

}  // namespace hc
