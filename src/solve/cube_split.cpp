#include "solve/cube_split.h"

#include <algorithm>
#include <optional>
#include <tuple>

#include "schc/hamiltonian_cycle.h"
#include "solve/root_pruning.h"

namespace hc {

namespace {

// Edges a split tries by look-ahead (each is forced and deleted once on the leaf's graph).
constexpr size_t kCandidates = 32;
// A leaf with fewer open edges than this is not split: its search is over in a moment.
constexpr int64_t kLeastOpenEdges = 6;

int64_t openEdges(const Graph& g) {
  return g.howManyEdges - g.howManyUncuttable;
}

bool isForcedEdge(const Graph& g, int32_t a, int32_t b) {
  return g.node(a).isForcedNeighbor(b) || g.node(b).isForcedNeighbor(a);
}

// The edge decided and the graph pruned, then taken back: the open edges left, -1 when
// refuted. A cycle the pruning completes goes to `cycle`.
int64_t trial(Graph& g, const BranchEdge& e, bool cheapChecks, std::vector<int32_t>& cycle,
              const StopToken* stop) {
  int64_t left = 0;
  {
    ScopedActionList scope(g);
    const BranchEdge one[] = {e};
    applyBranch(g, one);
    if (cheapChecks && g.isHamiltonian == kUndecided) runCheapChecks(g, stop);
    if (g.isHamiltonian == kHamiltonian) cycle = hamiltonianCycleOrder(g);
    left = g.isHamiltonian == kNotHamiltonian ? -1 : openEdges(g);
    g.undoActions();
    g.isHamiltonian = kUndecided;
  }
  return left;
}

// The open edges at the most constrained places first: an end of a forced path, then small
// degrees (where a decision propagates furthest), then by ids.
std::vector<BranchEdge> candidateEdges(const Graph& g) {
  using Key = std::tuple<int32_t, int32_t, int32_t, int32_t>;
  std::vector<Key> keys;
  for (int32_t a = 0; a < g.howManyNodes; ++a) {
    const Node& na = g.node(a);
    for (int32_t i = 0; i < na.degree; ++i) {
      const int32_t b = na.neighborArray[i];
      if (b < a || isForcedEdge(g, a, b)) continue;
      const Node& nb = g.node(b);
      const bool pathEnd = na.howManyUncuttable == 1 || nb.howManyUncuttable == 1;
      keys.emplace_back(pathEnd ? 0 : 1, na.degree + nb.degree, a, b);
    }
  }
  const size_t take = std::min(keys.size(), kCandidates);
  std::partial_sort(keys.begin(), keys.begin() + static_cast<std::ptrdiff_t>(take), keys.end());
  std::vector<BranchEdge> edges;
  for (size_t k = 0; k < take; ++k) edges.push_back({std::get<2>(keys[k]), std::get<3>(keys[k]), true});
  return edges;
}

// The edge whose two branches prune most; none when the leaf has no open edge. A branch
// the trial refutes wins at once.
std::optional<BranchEdge> lookAhead(Graph& g, CubeSplit& split, const StopToken* stop) {
  const int64_t before = openEdges(g);
  std::optional<BranchEdge> best;
  int64_t bestScore = -1;
  for (BranchEdge e : candidateEdges(g)) {
    if (stop != nullptr && stop->stopRequested()) return std::nullopt;
    e.forced = true;
    const int64_t forced = trial(g, e, false, split.cycle, stop);
    e.forced = false;
    const int64_t deleted = trial(g, e, false, split.cycle, stop);
    split.trials += 2;
    if (!split.cycle.empty()) return std::nullopt;
    if (forced < 0 || deleted < 0) return e;
    const int64_t score = (before - forced) * (before - deleted);
    if (score > bestScore) {
      bestScore = score;
      best = e;
    }
  }
  return best;
}

}  // namespace

namespace {

// A branch's search doubles with about this many more open edges: how the parts are shared.
constexpr int64_t kOpenEdgesPerDoubling = 8;
// The larger branch's weight counts at most this many doublings (4 to 1: four fifths of the
// parts). The estimate is rough: without a bound a branch whose pruning went much further
// got one part at every level, however large K, and a part's own fixed work (the clause
// learner's first rounds, alike in every part) made that part the largest at every K.
constexpr int64_t kMostDoublings = 2;
// 2^(1/8) in 16.16 fixed point: the share is computed in integers, the same on every machine.
constexpr int64_t kFixedOne = 65536;
constexpr int64_t kFixedEighthRoot = 71468;

// The larger branch's share of `count` parts, when it has `more` open edges more than the other.
int32_t largerShare(int32_t count, int64_t more) {
  int64_t weight = kFixedOne;
  for (int64_t k = 0; k < std::min<int64_t>(more, kMostDoublings * kOpenEdgesPerDoubling); ++k)
    weight = weight * kFixedEighthRoot / kFixedOne;
  const int64_t share = (2 * count * weight + weight + kFixedOne) / (2 * (weight + kFixedOne));
  return static_cast<int32_t>(std::clamp<int64_t>(share, 1, count - 1));
}

class Splitter {
 public:
  Splitter(Graph& graph, CubeSplit& split, const StopToken* stop, int32_t onlyPart)
      : g_(graph), split_(split), stop_(stop), only_(onlyPart) {}

  // Expands node `at` (the graph holds its branch); false when a cycle or a stop ended it.
  bool expand(int32_t at) {
    if (stop_ != nullptr && stop_->stopRequested()) return false;
    CubeNode& node = split_.nodes[static_cast<size_t>(at)];
    node.openEdges = openEdges(g_);
    const int32_t first = node.first, count = node.count;
    auto leaf = [&] {
      split_.nodes[static_cast<size_t>(at)].part = first;
      split_.partLeaf[static_cast<size_t>(first)] = at;
      return true;
    };
    if (count <= 1 || node.openEdges < kLeastOpenEdges) return leaf();
    const std::optional<BranchEdge> edge = lookAhead(g_, split_, stop_);
    if (!split_.cycle.empty() || (stop_ != nullptr && stop_->stopRequested())) return false;
    if (!edge) return leaf();
    const BranchEdge decisions[2] = {{edge->u, edge->v, true}, {edge->u, edge->v, false}};
    int64_t left[2];
    for (int k = 0; k < 2; ++k) left[k] = trial(g_, decisions[k], true, split_.cycle, stop_);
    split_.trials += 2;
    if (!split_.cycle.empty()) return false;
    int32_t shares[2] = {0, 0};
    if (left[0] >= 0 && left[1] >= 0) {
      const int k = left[0] >= left[1] ? 0 : 1;
      shares[k] = largerShare(count, left[k] - left[1 - k]);
      shares[1 - k] = count - shares[k];
    } else if (left[0] >= 0 || left[1] >= 0) {
      shares[left[0] >= 0 ? 0 : 1] = count;
    }
    int32_t children[2];
    int32_t from = first;
    for (int k = 0; k < 2; ++k) {
      CubeNode child;
      child.parent = at;
      child.forced = decisions[k].forced;
      child.first = from;
      child.count = shares[k];
      child.refuted = left[k] < 0;
      child.openEdges = std::max<int64_t>(left[k], 0);
      from += shares[k];
      children[k] = static_cast<int32_t>(split_.nodes.size());
      split_.nodes.push_back(child);
    }
    CubeNode& parent = split_.nodes[static_cast<size_t>(at)];
    parent.u = edge->u;
    parent.v = edge->v;
    parent.forcedChild = children[0];
    parent.deletedChild = children[1];
    for (int k = 0; k < 2; ++k) {
      const CubeNode& child = split_.nodes[static_cast<size_t>(children[k])];
      if (child.refuted) continue;
      const bool holdsOnly = only_ >= child.first && only_ < child.first + child.count;
      if (only_ >= 0 && !holdsOnly) continue;
      const BranchEdge one[] = {decisions[k]};
      if (only_ >= 0) {
        // A worker goes down its own path and never comes back: no undo log.
        applyBranch(g_, one);
        if (g_.isHamiltonian == kUndecided) runCheapChecks(g_, stop_);
        return expand(children[k]);
      }
      bool going = false;
      {
        ScopedActionList scope(g_);
        applyBranch(g_, one);
        if (g_.isHamiltonian == kUndecided) runCheapChecks(g_, stop_);
        going = expand(children[k]);
        g_.undoActions();
        g_.isHamiltonian = kUndecided;
      }
      if (!going) return false;
    }
    return true;
  }

 private:
  Graph& g_;
  CubeSplit& split_;
  const StopToken* stop_;
  int32_t only_;
};

}  // namespace

CubeSplit splitIntoCubes(const Graph& graph, int32_t parts, const StopToken* stop, int32_t onlyPart,
                         std::span<const BranchEdge> base) {
  CubeSplit split;
  split.parts = parts;
  split.base.assign(base.begin(), base.end());
  auto stopped = [&] {
    split = CubeSplit{};
    split.parts = parts;
    split.base.assign(base.begin(), base.end());
    split.stopped = true;
    return split;
  };
  std::optional<Graph> copied = Graph::copyUnlessStopped(graph, stop);
  if (!copied) return stopped();
  Graph& root = *copied;
  root.actionList.reset();
  pruneRootIncrementally(root, stop);
  if (root.isHamiltonian == kUndecided && !base.empty()) applyBranch(root, base);
  if (root.isHamiltonian == kUndecided) runCheapChecks(root, stop);
  if (stop != nullptr && stop->stopRequested()) return stopped();
  split.partLeaf.assign(static_cast<size_t>(parts), -1);
  CubeNode top;
  top.count = parts;
  top.openEdges = openEdges(root);
  split.nodes.push_back(top);
  if (root.isHamiltonian == kHamiltonian) {
    split.cycle = hamiltonianCycleOrder(root);
    if (!split.cycle.empty()) return split;
    root.isHamiltonian = kNotHamiltonian;  // not one cycle after all: the forced edges cannot close
  }
  if (root.isHamiltonian == kNotHamiltonian) {
    split.nodes[0].refuted = true;
    return split;
  }
  Splitter splitter(root, split, stop, onlyPart);
  if (!splitter.expand(0) && split.cycle.empty()) return stopped();
  return split;
}

int32_t openParts(const CubeSplit& split) {
  return static_cast<int32_t>(
      std::count_if(split.partLeaf.begin(), split.partLeaf.end(), [](int32_t leaf) { return leaf >= 0; }));
}

std::vector<BranchEdge> branchOf(const CubeSplit& split, int32_t node) {
  std::vector<BranchEdge> branch;
  for (int32_t at = node; split.nodes[static_cast<size_t>(at)].parent >= 0;) {
    const CubeNode& child = split.nodes[static_cast<size_t>(at)];
    const CubeNode& parent = split.nodes[static_cast<size_t>(child.parent)];
    branch.push_back({parent.u, parent.v, child.forced});
    at = child.parent;
  }
  branch.insert(branch.end(), split.base.rbegin(), split.base.rend());
  std::reverse(branch.begin(), branch.end());
  return branch;
}

std::string branchText(const std::vector<BranchEdge>& branch) {
  if (branch.empty()) return "the whole graph";
  std::string text;
  for (const BranchEdge& e : branch)
    text += (text.empty() ? "" : ", ") + std::string(e.forced ? "forced " : "deleted ") +
            std::to_string(e.u) + "-" + std::to_string(e.v);
  return text;
}

}  // namespace hc
