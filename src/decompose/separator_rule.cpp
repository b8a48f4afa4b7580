#include "decompose/separator_rule.h"

#include <algorithm>
#include <tuple>

#include "core/diagnostics.h"

namespace hc {

DecidedBy decidedByOf(DecomposeRule rule) {
  switch (rule) {
    case DecomposeRule::kSeparator: return DecidedBy::kSeparator;
    case DecomposeRule::kEdgeCut: return DecidedBy::kEdgeCut;
    case DecomposeRule::kNone: break;
  }
  return DecidedBy::kNone;
}

namespace {

// One step of a walk along a skeleton: from, to, and the virtual edge taken (-1: real edge).
struct Step {
  int32_t from;
  int32_t to;
  int32_t edge;
};

class Assembler {
 public:
  Assembler(const SpqrTree& tree, std::vector<std::vector<int32_t>> cycles)
      : tree_(tree), cycles_(std::move(cycles)) {
    virtualsOf_.resize(tree.nodes.size());
    for (size_t t = 0; t < tree.nodes.size(); ++t) {
      for (int32_t e : tree.nodes[t].edges)
        if (tree.isVirtual(e))
          virtualsOf_[t].emplace_back(std::min(end(e, 0), end(e, 1)), std::max(end(e, 0), end(e, 1)), e);
      std::sort(virtualsOf_[t].begin(), virtualsOf_[t].end());
    }
  }

  // The cycle of the whole: the root's cycle with every virtual edge replaced, depth first,
  // by the path its twin's side makes between the two poles.
  std::vector<int32_t> assemble() {
    size_t root = 0;
    while (tree_.nodes[root].kind == SkeletonKind::kBond) ++root;
    const std::vector<int32_t>& cycle = cycles_[root];
    std::vector<Step> steps;
    for (size_t i = 0; i < cycle.size(); ++i) {
      const int32_t x = cycle[i];
      const int32_t y = cycle[(i + 1) % cycle.size()];
      steps.push_back({x, y, virtualBetween(static_cast<int32_t>(root), x, y)});
    }
    std::vector<int32_t> out{cycle.front()};
    struct Frame {
      std::vector<Step> steps;
      size_t next;
      int32_t node;
    };
    std::vector<Frame> stack;
    stack.push_back({std::move(steps), 0, static_cast<int32_t>(root)});
    while (!stack.empty()) {
      Frame& frame = stack.back();
      if (frame.next == frame.steps.size()) {
        stack.pop_back();
        continue;
      }
      const Step step = frame.steps[frame.next++];
      if (step.edge < 0) {
        out.push_back(step.to);
        continue;
      }
      const auto& twin = tree_.twins[static_cast<size_t>(step.edge - tree_.realEdgeCount)];
      const int32_t other = twin[0] == frame.node ? twin[1] : twin[0];
      std::vector<Step> inner = pathThrough(other, step);
      stack.push_back({std::move(inner), 0, other});
    }
    out.pop_back();  // the walk ends where it started
    return out;
  }

 private:
  int32_t end(int32_t e, int32_t which) const {
    return which == 0 ? tree_.edgeA[static_cast<size_t>(e)] : tree_.edgeB[static_cast<size_t>(e)];
  }
  int32_t virtualBetween(int32_t node, int32_t x, int32_t y) const {
    const auto& list = virtualsOf_[static_cast<size_t>(node)];
    const auto key = std::make_tuple(std::min(x, y), std::max(x, y), -1);
    const auto it = std::lower_bound(list.begin(), list.end(), key);
    if (it == list.end() || std::get<0>(*it) != std::min(x, y) || std::get<1>(*it) != std::max(x, y))
      return -1;
    return std::get<2>(*it);
  }
  // The walk from step.from to step.to through `node`'s side, not over the virtual edge
  // step.edge that leads back.
  std::vector<Step> pathThrough(int32_t node, const Step& step) const {
    const SpqrNode& skeleton = tree_.nodes[static_cast<size_t>(node)];
    if (skeleton.kind == SkeletonKind::kBond) {
      for (int32_t e : skeleton.edges)
        if (tree_.isVirtual(e) && e != step.edge) return {{step.from, step.to, e}};
      return {};
    }
    const std::vector<int32_t>& cycle = cycles_[static_cast<size_t>(node)];
    const size_t k = cycle.size();
    const size_t p = static_cast<size_t>(std::find(cycle.begin(), cycle.end(), step.from) - cycle.begin());
    // The excluded edge joins p to one neighbour; walk the other way round.
    const bool backwards = cycle[(p + 1) % k] == step.to;
    std::vector<Step> steps;
    size_t at = p;
    for (size_t i = 0; i + 1 < k; ++i) {
      const size_t next = backwards ? (at + k - 1) % k : (at + 1) % k;
      steps.push_back({cycle[at], cycle[next], virtualBetween(node, cycle[at], cycle[next])});
      at = next;
    }
    return steps;
  }

  const SpqrTree& tree_;
  std::vector<std::vector<int32_t>> cycles_;  // per node in graph ids (empty for bonds)
  std::vector<std::vector<std::tuple<int32_t, int32_t, int32_t>>> virtualsOf_;
};

// A polygon's nodes in cycle order.
std::vector<int32_t> polygonCycle(const SpqrTree& tree, const SpqrNode& node) {
  std::vector<std::pair<int32_t, int32_t>> ends;
  for (int32_t e : node.edges) {
    ends.emplace_back(tree.edgeA[static_cast<size_t>(e)], tree.edgeB[static_cast<size_t>(e)]);
    ends.emplace_back(tree.edgeB[static_cast<size_t>(e)], tree.edgeA[static_cast<size_t>(e)]);
  }
  std::sort(ends.begin(), ends.end());  // each node's two neighbours side by side
  auto neighbours = [&](int32_t x) {
    const auto it = std::lower_bound(ends.begin(), ends.end(), std::make_pair(x, -1));
    return std::make_pair(it->second, (it + 1)->second);
  };
  std::vector<int32_t> cycle{ends.front().first};
  int32_t previous = -1;
  while (cycle.size() < node.edges.size()) {
    const auto [p, q] = neighbours(cycle.back());
    const int32_t next = p != previous ? p : q;
    previous = cycle.back();
    cycle.push_back(next);
  }
  return cycle;
}

}  // namespace

PartOutcome decideBySeparators(const PartGraph& graph, const SpqrTree& tree, const SolvePart& solve,
                               const StopToken& stop, bool onlyIfARuleApplies) {
  PartOutcome result;
  result.rule = DecomposeRule::kSeparator;
  // Bonds: three pieces or more between their poles, or a forced edge between two pieces.
  for (const SpqrNode& node : tree.nodes) {
    if (node.kind != SkeletonKind::kBond) continue;
    int32_t virtuals = 0;
    bool forcedReal = false;
    for (int32_t e : node.edges) {
      if (tree.isVirtual(e))
        ++virtuals;
      else
        forcedReal = forcedReal || graph.edges[static_cast<size_t>(e)].forced;
    }
    if (virtuals >= 3 || (virtuals == 2 && forcedReal)) {
      result.verdict = Verdict::kNonHamiltonian;
      return result;
    }
  }
  // The rigid nodes, each with its virtual edges forced, smallest first.
  struct Rigid {
    size_t node;
    std::vector<int32_t> graphNode;  // part node -> graph node
    PartGraph part;
  };
  std::vector<Rigid> rigids;
  std::vector<int32_t> local(static_cast<size_t>(graph.nodeCount), -1);
  for (size_t t = 0; t < tree.nodes.size(); ++t) {
    const SpqrNode& node = tree.nodes[t];
    if (node.kind != SkeletonKind::kRigid) continue;
    Rigid rigid{t, {}, {}};
    for (int32_t e : node.edges) {
      int32_t ends[2] = {tree.edgeA[static_cast<size_t>(e)], tree.edgeB[static_cast<size_t>(e)]};
      for (int32_t& x : ends) {
        if (local[static_cast<size_t>(x)] < 0) {
          local[static_cast<size_t>(x)] = static_cast<int32_t>(rigid.graphNode.size());
          rigid.graphNode.push_back(x);
        }
        x = local[static_cast<size_t>(x)];
      }
      const bool forced = tree.isVirtual(e) || graph.edges[static_cast<size_t>(e)].forced;
      rigid.part.edges.push_back({ends[0], ends[1], forced});
    }
    rigid.part.nodeCount = static_cast<int32_t>(rigid.graphNode.size());
    for (int32_t x : rigid.graphNode) local[static_cast<size_t>(x)] = -1;
    rigids.push_back(std::move(rigid));
  }
  std::sort(rigids.begin(), rigids.end(),
            [](const Rigid& x, const Rigid& y) { return x.part.nodeCount < y.part.nodeCount; });
  const bool lone = onlyIfARuleApplies && rigids.size() == 1;
  std::vector<std::vector<int32_t>> cycles(tree.nodes.size());
  bool undecided = false;
  for (const Rigid& rigid : rigids) {
    if (stop.stopRequested()) return result;
    PartOutcome inner = solve(rigid.part, lone, true);
    if (!inner.applied) {
      result.applied = false;
      return result;
    }
    if (lone) result.rule = inner.rule;
    if (inner.verdict == Verdict::kNonHamiltonian) {
      result.verdict = Verdict::kNonHamiltonian;
      result.rule = creditedRule(inner, DecomposeRule::kSeparator);
      return result;
    }
    if (inner.verdict != Verdict::kHamiltonian) {
      undecided = true;  // a later part may still refute the whole
      continue;
    }
    auto& cycle = cycles[rigid.node];
    for (int32_t x : inner.cycle) cycle.push_back(rigid.graphNode[static_cast<size_t>(x)]);
  }
  if (undecided) return result;
  for (size_t t = 0; t < tree.nodes.size(); ++t)
    if (tree.nodes[t].kind == SkeletonKind::kPolygon) cycles[t] = polygonCycle(tree, tree.nodes[t]);
  std::vector<int32_t> cycle = Assembler(tree, std::move(cycles)).assemble();
  if (!isHamiltonianCycleOfPart(graph, cycle)) {
    diagnostic("decompose: the cycle joined across separators fails its check; the rule gives no verdict.\n");
    return result;
  }
  result.verdict = Verdict::kHamiltonian;
  result.cycle = std::move(cycle);
  return result;
}

}  // namespace hc
