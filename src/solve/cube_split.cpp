#include "solve/cube_split.h"

#include <algorithm>
#include <optional>
#include <set>
#include <tuple>

#include "schc/hamiltonian_cycle.h"
#include "solve/root_pruning.h"

namespace hc {

namespace {

// Edges a split tries by look-ahead (each is forced and deleted once on the leaf's graph).
constexpr size_t kCandidates = 32;
// A leaf with fewer open edges than this is not split: its search is over in a moment.
constexpr int64_t kLeastOpenEdges = 6;
// Splits made per part asked, at most (a split whose one branch is refuted adds no part).
constexpr int64_t kSplitsPerPart = 16;

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

CubeSplit splitIntoCubes(const Graph& graph, int32_t parts, const StopToken* stop) {
  CubeSplit split;
  split.parts = parts;
  auto stopped = [&] {
    if (stop == nullptr || !stop->stopRequested()) return false;
    split = CubeSplit{};
    split.parts = parts;
    split.stopped = true;
    return true;
  };
  std::optional<Graph> copied = Graph::copyUnlessStopped(graph, stop);
  if (!copied) {
    split.stopped = true;
    return split;
  }
  Graph& root = *copied;
  root.actionList.reset();
  pruneRootIncrementally(root, stop);
  if (root.isHamiltonian == kUndecided) runCheapChecks(root, stop);
  if (stopped()) return split;
  split.nodes.push_back(CubeNode{});
  split.nodes[0].openEdges = openEdges(root);
  if (root.isHamiltonian == kHamiltonian) {
    split.cycle = hamiltonianCycleOrder(root);
    if (!split.cycle.empty()) return split;
    root.isHamiltonian = kNotHamiltonian;  // not one cycle after all: the forced edges cannot close
  }
  split.nodes[0].refuted = root.isHamiltonian == kNotHamiltonian;

  // The open leaves by their estimate, largest first (then by index, so ties go alike).
  std::set<std::pair<int64_t, int32_t>> queue;
  if (!split.nodes[0].refuted) queue.emplace(-split.nodes[0].openEdges, 0);
  int64_t openLeaves = queue.size();
  int64_t splitsLeft = kSplitsPerPart * parts + 1024;
  while (openLeaves < parts && !queue.empty() && splitsLeft-- > 0) {
    const int32_t leaf = queue.begin()->second;
    queue.erase(queue.begin());
    if (split.nodes[static_cast<size_t>(leaf)].openEdges < kLeastOpenEdges) continue;
    Graph g(root);
    applyBranch(g, branchOf(split, leaf));
    const std::optional<BranchEdge> edge = lookAhead(g, split, stop);
    if (stopped()) return split;
    if (!split.cycle.empty()) return split;
    if (!edge) continue;
    for (const bool forced : {true, false}) {
      CubeNode child;
      child.parent = leaf;
      child.forced = forced;
      const int64_t left = trial(g, {edge->u, edge->v, forced}, true, split.cycle, stop);
      if (stopped()) return split;
      if (!split.cycle.empty()) return split;
      child.refuted = left < 0;
      child.openEdges = std::max<int64_t>(left, 0);
      const auto index = static_cast<int32_t>(split.nodes.size());
      CubeNode& parent = split.nodes[static_cast<size_t>(leaf)];
      parent.u = edge->u;
      parent.v = edge->v;
      (forced ? parent.forcedChild : parent.deletedChild) = index;
      split.nodes.push_back(child);
      if (!child.refuted) {
        queue.emplace(-child.openEdges, index);
        ++openLeaves;
      }
    }
    --openLeaves;  // the leaf split is a leaf no more
  }

  // The open leaves in preorder, forced branch first, are the parts.
  std::vector<int32_t> pending{0};
  while (!pending.empty()) {
    const int32_t at = pending.back();
    pending.pop_back();
    CubeNode& node = split.nodes[static_cast<size_t>(at)];
    if (!node.isLeaf()) {
      pending.push_back(node.deletedChild);
      pending.push_back(node.forcedChild);
    } else if (!node.refuted) {
      node.part = static_cast<int32_t>(split.partLeaf.size());
      split.partLeaf.push_back(at);
    }
  }
  return split;
}

std::vector<BranchEdge> branchOf(const CubeSplit& split, int32_t node) {
  std::vector<BranchEdge> branch;
  for (int32_t at = node; split.nodes[static_cast<size_t>(at)].parent >= 0;) {
    const CubeNode& child = split.nodes[static_cast<size_t>(at)];
    const CubeNode& parent = split.nodes[static_cast<size_t>(child.parent)];
    branch.push_back({parent.u, parent.v, child.forced});
    at = child.parent;
  }
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
