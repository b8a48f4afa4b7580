// The certificate as a proof tree in preorder: every step line closes the branch it is read
// for (a leaf), opens sub-proofs that follow it (a split's two branches, sub-proofs on
// smaller graphs), or narrows the branch, whose proof goes on with the next line. A stack of
// the sub-proofs still owed replaces recursion, so a deep tree cannot exhaust the call
// stack; each graph's branch state goes back along its trail when the next branch starts.
#include "certcheck/certificate_checker.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <new>
#include <span>
#include <string_view>
#include <utility>

#include "certcheck/branch_state.h"
#include "certcheck/certificate_text.h"
#include "certcheck/proof_parts.h"
#include "certcheck/reduction_steps.h"
#include "certcheck/witness_leaves.h"

namespace hc::certcheck {

namespace {

// The leaves whose witness is a node set, by their keyword.
using SetLeaf = std::string (*)(BranchState&, std::span<const int32_t>, uint32_t);
SetLeaf setLeafOf(std::string_view keyword) {
  static constexpr std::pair<std::string_view, SetLeaf> kLeaves[] = {
      {"cut", checkCutLeaf},
      {"parity", checkParityLeaf},
      {"separator", checkSeparatorLeaf},
      {"independent", checkIndependentLeaf},
      {"bipartite", checkBipartiteLeaf},
  };
  for (const auto& [name, leaf] : kLeaves)
    if (name == keyword) return leaf;
  return nullptr;
}

// A sub-proof still owed.
struct Task {
  enum Kind : uint8_t { kBranch, kFragmentPart, kContracted } kind = kBranch;
  EdgeStatus decision = kOpen;          // kBranch: how the split edge is decided
  int32_t part = 0;                     // kFragmentPart: 0, 1, 2 for the cut edge pairs 1-2, 1-3, 2-3
  size_t graph = 0;                     // which graph of the stack (a sub-proof's: its parent)
  int32_t edge = -1;                    // kBranch: the split edge, -1 for a whole proof
  size_t mark = 0;                      // kBranch: the trail point of the split
  int64_t line = 0;                     // the line that opened it
  std::shared_ptr<const SubGraph> sub;  // kFragmentPart, kContracted: the sub-proof's graph
};

constexpr std::array<std::array<int32_t, 2>, 3> kPairs{{{0, 1}, {0, 2}, {1, 2}}};

std::string owed(const Task& t) {
  const std::string at = " at line " + std::to_string(t.line);
  if (t.kind == Task::kFragmentPart)
    return "the sub-proof for cut edges " + std::to_string(kPairs[t.part][0] + 1) + " and " +
           std::to_string(kPairs[t.part][1] + 1) + " of the fragment" + at;
  if (t.kind == Task::kContracted) return "a sub-proof of the step" + at;
  if (t.edge < 0) return "the proof";
  return std::string("the ") + (t.decision == kForced ? "forced" : "deleted") + " branch of the split" + at;
}

class Checker {
 public:
  Checker(std::unique_ptr<BranchState> root, CertificateLines& lines) : lines_(lines) {
    graphs_.push_back(std::move(root));
    formulas_.emplace_back();
    tasks_.push_back(Task{Task::kBranch, kOpen, 0, 0, -1, graphs_[0]->mark(), 0, nullptr});
  }

  void run() {
    while (!tasks_.empty()) {
      Task t = std::move(tasks_.back());
      tasks_.pop_back();
      // The graphs above the task's own belong to sub-proofs already closed.
      graphs_.resize(t.graph + 1);
      formulas_.resize(t.graph + 1);
      size_t graph = t.graph;
      if (t.sub) {
        graphs_.push_back(std::make_unique<BranchState>(t.sub->nodes, t.sub->edges));
        formulas_.emplace_back();
        ++graph;
      } else {
        graphs_[graph]->restore(t.mark);
        if (t.edge >= 0) graphs_[graph]->decide(t.edge, t.decision);
      }
      for (int64_t from = 0;; from = lines_.number()) {  // from: a step the branch went on after
        if (!lines_.next())
          throw Rejection{"the certificate ends before " +
                              (from ? "the branch of line " + std::to_string(from) + " is closed" : owed(t)),
                          lines_.number()};
        if (!step(graph)) break;
      }
    }
    if (lines_.next()) throw Rejection{"the proof is already complete before this line"};
  }

 private:
  // True when the branch goes on with the next line.
  bool step(size_t graph) {
    BranchState& state = *graphs_[graph];
    const std::vector<std::string_view>& tokens = lines_.tokens();
    const std::string_view keyword = tokens[0];
    const auto rest = std::span(tokens).subspan(1);
    auto node = [&](size_t k) {  // after the count of tokens is checked
      return static_cast<int32_t>(parseNumber(tokens[k], 0, state.nodes() - 1, "node"));
    };
    auto expectTokens = [&](size_t count) {
      if (tokens.size() != count)
        throw Rejection{std::string(keyword) + " takes " + std::to_string(count - 1) + " values"};
    };
    std::string problem;
    uint32_t stamp = 0;
    bool goesOn = false;
    if (keyword == "split") {
      if (tokens.size() != 3 && tokens.size() != 4)
        throw Rejection{"split takes two nodes and, optionally, forced or deleted"};
      const int32_t u = node(1), v = node(2), edge = state.findEdge(u, v);
      if (edge < 0)
        throw Rejection{std::to_string(u) + "-" + std::to_string(v) + " is not an edge of the graph"};
      if (tokens.size() == 4 && tokens[3] != "forced" && tokens[3] != "deleted")
        throw Rejection{"a split's first branch is forced or deleted"};
      const EdgeStatus first = tokens.size() == 4 && tokens[3] == "deleted" ? kDeleted : kForced;
      const EdgeStatus second = first == kForced ? kDeleted : kForced;
      const int64_t line = lines_.number();
      tasks_.push_back(Task{Task::kBranch, second, 0, graph, edge, state.mark(), line, nullptr});
      tasks_.push_back(Task{Task::kBranch, first, 0, graph, edge, state.mark(), line, nullptr});
      return false;
    }
    if (keyword == "contradiction") {
      expectTokens(1);
      if (state.contradiction().empty()) problem = "propagation finds no contradiction in this branch";
    } else if (keyword == "degree" || keyword == "forced") {
      expectTokens(2);
      problem = checkNodeLeaf(state, node(1), keyword == "forced");
    } else if (const SetLeaf leaf = setLeafOf(keyword)) {
      std::vector<int32_t> set = parseNodeSet(state, rest, stamp);
      problem = leaf(state, set, stamp);
    } else if (keyword == "alternation") {
      std::vector<int32_t> set = parseNodeSet(state, rest, stamp);
      problem = applyAlternationStep(state, set, stamp);
      goesOn = true;
    } else if (keyword == "frontier") {
      std::vector<int32_t> order = parseNodeSet(state, rest, stamp);
      problem = checkFrontierLeaf(state, order, lines_.work);
    } else if (keyword == "sat") {
      expectTokens(1);
      checkSatPart(state, lines_, formulas_[graph]);
    } else if (keyword == "relaxation") {
      expectTokens(1);
      checkRelaxationPart(state, lines_);
    } else if (keyword == "colouring") {
      expectTokens(1);
      checkColouringPart(state, lines_);
    } else if (keyword == "fragment") {
      const std::vector<int32_t> nodes = parseNodeSet(state, rest, stamp);
      std::array<int32_t, 3> inner{};
      problem = checkFragmentCut(state, nodes, stamp, inner);
      for (int32_t part = 2; problem.empty() && part >= 0; --part) {
        const auto [i, j] = kPairs[static_cast<size_t>(part)];
        auto sub = std::make_shared<SubGraph>(static_cast<int32_t>(nodes.size()) + 1,
                                              fragmentGraph(state, nodes, inner[i], inner[j]));
        tasks_.push_back(
            Task{Task::kFragmentPart, kOpen, part, graph, -1, 0, lines_.number(), std::move(sub)});
      }
    } else if (keyword == "piece" || keyword == "bypass") {
      std::vector<SubGraph> parts(1);
      problem = keyword == "piece" ? checkPieceStep(state, rest, parts[0].nodes, parts[0].edges)
                                   : checkBypassStep(state, rest, parts);
      for (size_t k = parts.size(); problem.empty() && k-- > 0;) {
        auto sub = std::make_shared<SubGraph>(std::move(parts[k]));
        tasks_.push_back(Task{Task::kContracted, kOpen, 0, graph, -1, 0, lines_.number(), std::move(sub)});
      }
    } else {
      throw Rejection{"unknown step \"" + std::string(keyword.substr(0, 24)) + "\""};
    }
    if (!problem.empty()) throw Rejection{std::string(keyword) + ": " + problem};
    return goesOn;
  }

  CertificateLines& lines_;
  std::vector<std::unique_ptr<BranchState>> graphs_;
  std::vector<std::unique_ptr<DrupChecker>> formulas_;  // per graph: its SAT formula, once built
  std::vector<Task> tasks_;
};

std::string shortened(const std::string& text) {
  return text.size() <= 80 ? text : text.substr(0, 77) + "...";
}

}  // namespace

CheckResult checkCertificate(int32_t n, const std::vector<std::pair<int32_t, int32_t>>& edges,
                             std::istream& certificate) {
  CertificateLines lines(
      certificate, std::max(CertificateLines::kMaxLineBytes,
                            CertificateLines::kBytesPerNode * (static_cast<size_t>(std::max(n, 0)) + 1)));
  CheckResult result;
  try {
    if (n < 0) throw Rejection{"the graph has a negative number of nodes", 0};
    for (size_t k = 0; k < edges.size(); ++k)
      for (int32_t end : {edges[k].first, edges[k].second})
        if (end < 0 || end >= n)
          throw Rejection{"edge " + std::to_string(k + 1) + " of the graph has an end " +
                              std::to_string(end) + " out of range 0.." + std::to_string(n - 1),
                          0};
    std::vector<Edge> canonical = canonicalEdges(edges);

    if (!lines.next() || lines.tokens()[0] != "hamcycles-certificate")
      throw Rejection{"not a certificate (its first line is \"hamcycles-certificate 1\")"};
    if (lines.tokens().size() != 2 || lines.tokens()[1] != "1")
      throw Rejection{"this checker reads certificates of version 1 only"};
    if (!lines.next() || lines.tokens()[0] != "graph" || lines.tokens().size() != 3)
      throw Rejection{"the second line is \"graph NODES EDGES\""};
    const int64_t nodes = parseNumber(lines.tokens()[1], 0, INT32_MAX, "node count");
    const int64_t count = parseNumber(lines.tokens()[2], 0, INT64_MAX, "edge count");
    if (nodes != n || count != static_cast<int64_t>(canonical.size()))
      throw Rejection{"the certificate is for a graph of " + std::to_string(nodes) + " nodes and " +
                      std::to_string(count) + " edges; this graph has " + std::to_string(n) + " and " +
                      std::to_string(canonical.size())};
    Checker checker(std::make_unique<BranchState>(n, std::move(canonical)), lines);
    checker.run();
    result.accepted = true;
  } catch (const Rejection& r) {
    // An empty file fails at its first line, like any other that is not a certificate.
    result.line = r.line >= 0 ? r.line : lines.number() > 0 ? lines.number() : 1;
    if (r.line < 0 || r.line == lines.number()) result.step = shortened(lines.text());
    result.reason = r.reason;
  } catch (const std::bad_alloc&) {
    result.line = lines.number();
    result.step = shortened(lines.text());
    result.reason = "out of memory";
  }
  result.work = lines.work;
  return result;
}

CheckResult checkCertificateFile(int32_t n, const std::vector<std::pair<int32_t, int32_t>>& edges,
                                 const std::string& path) {
  std::error_code ec;
  const auto status = std::filesystem::status(path, ec);
  if (ec || !std::filesystem::exists(status)) return CheckResult{false, 0, "", path + ": no such file"};
  if (!std::filesystem::is_regular_file(status))
    return CheckResult{
        false, 0, "",
        path + ": not a regular file (a folder, device, FIFO or socket cannot be read as a certificate)"};
  std::ifstream in(path, std::ios::binary);  // opened only now: a FIFO would block
  if (!in) return CheckResult{false, 0, "", path + ": cannot open the file (permission denied?)"};
  return checkCertificate(n, edges, in);
}

}  // namespace hc::certcheck
