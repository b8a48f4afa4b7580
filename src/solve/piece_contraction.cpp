// Finding and contracting pieces (see piece_contraction.h). Each step is checked by the
// checker's own code on the engine's side, which also builds the contracted graph: what is
// written is what the checker will accept.
#include "solve/piece_contraction.h"

#include <algorithm>
#include <numeric>

#include "certcheck/reduction_steps.h"
#include "certcheck/witness_leaves.h"
#include "solve/cut_bypass.h"

namespace hc {

namespace {

// A piece grows to at most this many nodes (I and N), in at most this many additions.
constexpr size_t kMaxPieceNodes = 48;
constexpr int32_t kMaxGrowth = 12;

class PieceFinder {
 public:
  explicit PieceFinder(const BranchState& b)
      : b_(b), used_(static_cast<size_t>(b.nodes()), 0), in_(static_cast<size_t>(b.nodes()), 0) {}

  // The pieces' I sets as a step line ("" when none).
  std::string step(const StopToken& stop) {
    std::string line;
    for (int32_t v = 0; v < b_.nodes() && !stop.stopRequested(); ++v) {
      if (used_[static_cast<size_t>(v)] != 0 || b_.remainingDegree(v) < 3) continue;
      if (grow(v)) {
        line += line.empty() ? "piece" : " /";
        for (int32_t i : inI_) line += " " + std::to_string(i);
        for (int32_t x : inI_) used_[static_cast<size_t>(x)] = 1;
        for (int32_t x : inN_) used_[static_cast<size_t>(x)] = 1;
      }
      for (int32_t x : inI_) in_[static_cast<size_t>(x)] = 0;
      for (int32_t x : inN_) in_[static_cast<size_t>(x)] = 0;
    }
    return line;
  }

 private:
  static constexpr uint8_t kI = 1, kN = 2;

  template <class Visit>
  void eachNeighbour(int32_t v, Visit&& visit) const {
    for (const BranchState::Incidence& i : b_.incident(v))
      if (b_.status(i.edge) != certcheck::kDeleted) visit(i.node);
  }
  // Neighbours of w not yet in N (-1 when one is taken by another piece or is in I).
  int32_t outsideN(int32_t w) const {
    int32_t count = 0;
    eachNeighbour(w, [&](int32_t x) {
      if (count < 0) return;
      if (used_[static_cast<size_t>(x)] != 0 || in_[static_cast<size_t>(x)] == kI)
        count = -1;
      else if (in_[static_cast<size_t>(x)] != kN)
        ++count;
    });
    return count;
  }
  void addToI(int32_t w) {
    in_[static_cast<size_t>(w)] = kI;
    inI_.push_back(w);
    eachNeighbour(w, [&](int32_t x) {
      if (in_[static_cast<size_t>(x)] == 0) {
        in_[static_cast<size_t>(x)] = kN;
        inN_.push_back(x);
      }
    });
  }
  // Grows a piece from v; true when inI_ and inN_ hold one.
  bool grow(int32_t v) {
    inI_.clear();
    inN_.clear();
    if (outsideN(v) < 0) return false;
    addToI(v);
    // A growth that leaves N further ahead of I than it started rarely comes back.
    const size_t lead = inN_.size() - inI_.size();
    for (int32_t round = 0; round < kMaxGrowth; ++round) {
      // The nodes next to N, not in the piece: those all of whose edges reach N join I at
      // once; of the others, the one that adds fewest new nodes to N is the next candidate.
      int32_t best = -1, bestNew = 0;
      for (size_t k = 0; k < inN_.size(); ++k)
        eachNeighbour(inN_[k], [&](int32_t w) {
          if (in_[static_cast<size_t>(w)] != 0 || used_[static_cast<size_t>(w)] != 0) return;
          const int32_t fresh = outsideN(w);
          if (fresh == 0)
            addToI(w);
          else if (fresh > 0 && (best < 0 || fresh < bestNew))
            best = w, bestNew = fresh;
        });
      if (inN_.size() == inI_.size() + 1)
        return inI_.size() >= 2 && static_cast<int64_t>(inI_.size() + inN_.size()) + 2 <= b_.nodes();
      if (inN_.size() <= inI_.size() || inN_.size() - inI_.size() > lead || best < 0 ||
          inI_.size() + inN_.size() + bestNew + 1 > kMaxPieceNodes)
        return false;
      if (in_[static_cast<size_t>(best)] == 0) addToI(best);  // else joined N meanwhile: look again
    }
    return false;
  }

  const BranchState& b_;
  std::vector<uint8_t> used_;  // in a piece found before
  std::vector<uint8_t> in_;    // kI, kN: in the piece being grown
  std::vector<int32_t> inI_, inN_;
};

std::vector<std::string_view> tokensOf(const std::string& line) {
  std::vector<std::string_view> tokens;
  for (size_t at = 0; at < line.size();) {
    const size_t end = std::min(line.find(' ', at), line.size());
    if (end > at) tokens.emplace_back(line.data() + at, end - at);
    at = end + 1;
  }
  return tokens;
}

Graph graphOf(int32_t n, const std::vector<certcheck::Edge>& edges) {
  Graph graph(n, 0);
  for (auto [u, v] : edges) graph.addEdge(u, v);
  graph.finishConstruction();
  return graph;
}

// The bypass step of `text` (its first line) as the checker reads it, with every sub-proof's
// frontier leaf (the lines after it) checked here too: true with the replaced graph.
bool checkBypass(const BranchState& b, const std::string& text, int32_t& nodes,
                 std::vector<certcheck::Edge>& edges) {
  const size_t end = text.find('\n');
  const std::string first = text.substr(0, end);
  const std::vector<std::string_view> tokens = tokensOf(first);
  std::vector<certcheck::SubGraph> graphs;
  if (!certcheck::checkBypassStep(b, std::span(tokens).subspan(1), graphs).empty()) return false;
  for (size_t k = 0; k + 1 < graphs.size(); ++k) {
    std::vector<int32_t> order(static_cast<size_t>(graphs[k].nodes));
    std::iota(order.begin(), order.end(), 0);
    const BranchState part(graphs[k].nodes, graphs[k].edges);
    int64_t work = 0;
    if (!certcheck::checkFrontierLeaf(part, order, work).empty()) return false;
  }
  nodes = graphs.back().nodes;
  edges = std::move(graphs.back().edges);
  return true;
}

}  // namespace

// Rounds of finding and contracting or bypassing (a chain of dot products peels off a few
// layers per round).
constexpr int32_t kMaxRounds = 200;

PieceContraction contractPieces(const BranchState& branch, const StopToken& stop) {
  PieceContraction out;
  std::unique_ptr<BranchState> owned;
  const BranchState* current = &branch;
  for (int32_t round = 0; round < kMaxRounds && !stop.stopRequested(); ++round) {
    int32_t nodes = 0;
    std::vector<certcheck::Edge> edges;
    std::string line = PieceFinder(*current).step(stop);
    if (!line.empty()) {
      const std::vector<std::string_view> tokens = tokensOf(line);
      if (!certcheck::checkPieceStep(*current, std::span(tokens).subspan(1), nodes, edges).empty()) break;
    } else {
      std::string cutPieces;
      line = findBypassStep(*current, stop, cutPieces);
      if (line.empty()) {
        // No side to bypass: the sides of 3-edge cuts that keep the graph's answer (a
        // triangle left by bypassing, say) are contracted, and the next round looks again.
        line = std::move(cutPieces);
        const std::vector<std::string_view> tokens = tokensOf(line);
        if (line.empty() ||
            !certcheck::checkPieceStep(*current, std::span(tokens).subspan(1), nodes, edges).empty())
          break;
      } else if (!checkBypass(*current, line, nodes, edges)) {
        break;
      }
    }
    out.steps.push_back(line);
    out.nodes = nodes;
    out.edges = edges;
    owned = std::make_unique<BranchState>(nodes, std::move(edges));
    current = owned.get();
  }
  return out;
}

// Graphs with a node of higher degree are not searched (the growth would scan the square of
// the degree at every node; the pieces this looks for are small and sparse).
constexpr int32_t kMaxDegree = 8;
// Nor are graphs of more nodes (a round costs a pass over a ball around every node).
constexpr int32_t kMaxNodes = 100000;

PieceOutcome refuteByPieces(const EdgeSnapshot& snapshot, const SolveOptions& options, const StopToken& stop,
                            bool certify) {
  PieceOutcome out;
  if (snapshot.nodes() > kMaxNodes) return out;
  for (int32_t v = 0; v < snapshot.nodes(); ++v)
    if (snapshot.degree(v) > kMaxDegree) return out;
  const BranchState root(snapshot.nodes(), snapshot.edgeList());
  const PieceContraction pieces = contractPieces(root, stop);
  if (pieces.steps.empty()) return out;
  std::string certificate;
  SolveOptions nested = options;
  nested.timeLimitSeconds = 0.0;  // the caller's token carries the deadline
  nested.certificate = certify ? &certificate : nullptr;
  const SolveResult result = solveGraph(graphOf(pieces.nodes, pieces.edges), nested, &stop);
  out.refuted = result.verdict == kNotHamiltonian;
  if (!out.refuted || !certify || !result.certified) return out;
  out.certified = true;
  for (const std::string& step : pieces.steps) out.body += step.back() == '\n' ? step : step + "\n";
  // The contracted graph's proof without its two header lines.
  size_t start = 0;
  for (int line = 0; line < 2 && start != std::string::npos; ++line)
    start = certificate.find('\n', start) + 1;
  out.body += certificate.substr(start);
  return out;
}

}  // namespace hc
