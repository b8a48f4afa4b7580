// The branch-following writer (see certificate_writer.h).
#include "solve/certificate_writer.h"

#include <utility>
#include <vector>

#include "solve/certificate_witness.h"

namespace hc {

using certcheck::BranchState;
using certcheck::EdgeStatus;
using certcheck::kDeleted;
using certcheck::kForced;
using certcheck::kOpen;

namespace {

// Splits below a branch the writer closes itself stay this shallow, so the recursion that
// writes them needs little stack.
constexpr int32_t kMaxSplitDepth = 200;

std::vector<certcheck::Edge> currentEdges(const Graph& graph) {
  std::vector<certcheck::Edge> edges;
  edges.reserve(static_cast<size_t>(graph.howManyEdges));
  for (const Node& node : graph.nodes)
    for (int32_t i = 0; i < node.degree; ++i)
      if (node.id < node.neighborArray[i]) edges.emplace_back(node.id, node.neighborArray[i]);
  return edges;
}

}  // namespace

std::string certificateNodeLine(std::string_view keyword, std::span<const int32_t> nodes) {
  std::string line(keyword);
  for (int32_t v : nodes) {
    line += ' ';
    line += std::to_string(v);
  }
  return line;
}

CertificateWriter::CertificateWriter(int32_t n, std::span<const certcheck::Edge> edges)
    : branch_(std::make_unique<BranchState>(n, certcheck::canonicalEdges(edges))) {}

CertificateWriter::CertificateWriter(const Graph& graph)
    : CertificateWriter(graph.howManyNodes, currentEdges(graph)) {}

std::string CertificateWriter::header() const {
  return "hamcycles-certificate 1\ngraph " + std::to_string(branch_->nodes()) + " " +
         std::to_string(branch_->edges().size()) + "\n";
}

void CertificateWriter::write(std::string_view line) {
  body_ += line;
  body_ += '\n';
}

void CertificateWriter::writeSplit(int32_t a, int32_t b, EdgeStatus first) {
  body_ += "split ";
  body_ += std::to_string(a);
  body_ += ' ';
  body_ += std::to_string(b);
  body_ += first == kDeleted ? " deleted\n" : "\n";
}

bool CertificateWriter::closeBranch(int64_t budget) {
  const size_t at = body_.size();
  if (refute(budget, 0)) return true;
  body_.resize(at);
  return false;
}

// The unforced edge to split on: at a path end (one forced edge) with the fewest open
// edges, else at any node with the fewest; -1 when every edge is decided.
int32_t CertificateWriter::branchingEdge() const {
  const BranchState& b = *branch_;
  int32_t best = -1, bestOpen = 0;
  bool bestAtEnd = false;
  for (int32_t v = 0; v < b.nodes(); ++v) {
    const int32_t open = b.remainingDegree(v) - b.forcedDegree(v);
    if (open <= 0) continue;
    const bool atEnd = b.forcedDegree(v) == 1;
    if (best < 0 || (atEnd && !bestAtEnd) || (atEnd == bestAtEnd && open < bestOpen)) {
      best = v;
      bestOpen = open;
      bestAtEnd = atEnd;
    }
  }
  if (best < 0) return -1;
  for (const BranchState::Incidence& i : b.incident(best))
    if (b.status(i.edge) == kOpen) return i.edge;
  return -1;
}

bool CertificateWriter::refute(int64_t& budget, int32_t depth) {
  BranchState& b = *branch_;
  if (!b.contradiction().empty()) {
    write("contradiction");
    return true;
  }
  if (std::string witness = findWitnessLeaf(b); !witness.empty()) {
    write(witness);
    return true;
  }
  if (--budget < 0 || depth >= kMaxSplitDepth) return false;
  const int32_t edge = branchingEdge();
  if (edge < 0) return false;
  const auto [u, v] = b.edges()[static_cast<size_t>(edge)];
  writeSplit(u, v, kForced);
  const size_t mark = b.mark();
  bool closed = true;
  for (EdgeStatus status : {kForced, kDeleted}) {
    b.decide(edge, status);
    closed = refute(budget, depth + 1);
    b.restore(mark);
    if (!closed) break;
  }
  return closed;
}

CertificateWriter::Adopted CertificateWriter::adopt(int32_t a, int32_t b, EdgeStatus status, int64_t budget) {
  BranchState& branch = *branch_;
  const int32_t edge = branch.findEdge(a, b);
  if (edge < 0) return Adopted::kNoEdge;
  if (!branch.contradiction().empty()) return Adopted::kDead;
  const EdgeStatus now = branch.status(edge);
  if (now == status) return Adopted::kAlready;
  if (now != kOpen) return Adopted::kDead;
  const EdgeStatus other = status == kForced ? kDeleted : kForced;
  const size_t at = body_.size();
  writeSplit(a, b, other);
  const size_t mark = branch.mark();
  branch.decide(edge, other);
  const bool closed = refute(budget, 0);
  branch.restore(mark);
  if (!closed) {
    body_.resize(at);
    return Adopted::kFailed;
  }
  branch.decide(edge, status);
  return Adopted::kSplit;
}

bool CertificateWriter::adoptGraph(const Graph& graph, int64_t budget) {
  BranchState& b = *branch_;
  if (graph.howManyNodes != b.nodes()) return b.contradiction().empty();
  struct Fact {
    int32_t a, b;
    EdgeStatus status;
  };
  std::vector<Fact> facts;
  std::vector<int32_t> stamp(static_cast<size_t>(b.nodes()), -1);
  for (int32_t v = 0; v < b.nodes(); ++v) {
    const Node& node = graph.node(v);
    for (int32_t i = 0; i < node.degree; ++i) stamp[static_cast<size_t>(node.neighborArray[i])] = v;
    for (const BranchState::Incidence& i : b.incident(v)) {
      if (i.node < v) continue;
      EdgeStatus known = kOpen;
      if (stamp[static_cast<size_t>(i.node)] != v)
        known = kDeleted;
      else if (graph.isUncuttableEdge(v, i.node))
        known = kForced;
      if (known != kOpen && known != b.status(i.edge)) facts.push_back({v, i.node, known});
    }
  }
  for (bool progress = true; progress && !facts.empty();) {
    progress = false;
    size_t kept = 0;
    for (const Fact& fact : facts) {
      const Adopted adopted = adopt(fact.a, fact.b, fact.status, budget);
      if (adopted == Adopted::kDead) return false;
      if (adopted == Adopted::kFailed) {
        facts[kept++] = fact;
        continue;
      }
      progress = true;
    }
    facts.resize(kept);
  }
  return b.contradiction().empty();
}

}  // namespace hc
