#include "decompose/decompose.h"

#include <algorithm>

#include "core/diagnostics.h"
#include "decompose/edge_cut_rule.h"
#include "decompose/part_outcome.h"
#include "decompose/separator_rule.h"
#include "decompose/three_edge_cuts.h"
#include "decompose/triconnected_components.h"

namespace hc {

namespace {

enum class Settled { kUnchanged, kChanged, kRefuted };

// Step 1 of the driver: what forced edges and degrees settle, until nothing changes.
Settled settleForcedEdges(PartGraph& graph) {
  const int32_t n = graph.nodeCount;
  const Incidence inc = buildIncidence(n, graph.edges);
  std::vector<uint8_t> alive(graph.edges.size(), 1);
  std::vector<int32_t> degree(static_cast<size_t>(n), 0);
  std::vector<int32_t> forced(static_cast<size_t>(n), 0);
  for (const PartEdge& e : graph.edges) {
    ++degree[static_cast<size_t>(e.a)];
    ++degree[static_cast<size_t>(e.b)];
    if (e.forced) {
      ++forced[static_cast<size_t>(e.a)];
      ++forced[static_cast<size_t>(e.b)];
    }
  }
  bool changed = false;
  std::vector<int32_t> queue(static_cast<size_t>(n));
  for (int32_t v = 0; v < n; ++v) queue[static_cast<size_t>(v)] = v;
  while (!queue.empty()) {
    const int32_t v = queue.back();
    queue.pop_back();
    const size_t sv = static_cast<size_t>(v);
    if (degree[sv] < 2 || forced[sv] > 2) return Settled::kRefuted;
    const bool forceAll = degree[sv] == 2 && forced[sv] < 2;
    const bool dropRest = forced[sv] == 2 && degree[sv] > 2;
    if (!forceAll && !dropRest) continue;
    for (int32_t k = inc.start[sv]; k < inc.start[sv + 1]; ++k) {
      const size_t e = static_cast<size_t>(inc.edge[static_cast<size_t>(k)]);
      PartEdge& edge = graph.edges[e];
      if (!alive[e] || edge.forced) continue;
      const size_t w = static_cast<size_t>(edge.a == v ? edge.b : edge.a);
      if (forceAll) {
        edge.forced = true;
        ++forced[sv];
        ++forced[w];
      } else {
        alive[e] = 0;
        --degree[sv];
        --degree[w];
      }
      queue.push_back(static_cast<int32_t>(w));
      changed = true;
    }
    if (forced[sv] > 2) return Settled::kRefuted;
  }
  if (!changed) return Settled::kUnchanged;
  std::vector<PartEdge> kept;
  kept.reserve(graph.edges.size());
  for (size_t e = 0; e < graph.edges.size(); ++e)
    if (alive[e]) kept.push_back(graph.edges[e]);
  graph.edges.swap(kept);
  return Settled::kChanged;
}

// The cycle of a part whose every node has degree 2 and which is connected.
std::vector<int32_t> walkCycle(const PartGraph& graph) {
  const Incidence inc = buildIncidence(graph.nodeCount, graph.edges);
  std::vector<int32_t> cycle{0};
  int32_t previousEdge = -1;
  for (int32_t v = 0;;) {
    int32_t e = inc.edge[static_cast<size_t>(inc.start[static_cast<size_t>(v)])];
    if (e == previousEdge) e = inc.edge[static_cast<size_t>(inc.start[static_cast<size_t>(v)]) + 1];
    const PartEdge& edge = graph.edges[static_cast<size_t>(e)];
    v = edge.a == v ? edge.b : edge.a;
    previousEdge = e;
    if (v == 0) break;
    cycle.push_back(v);
  }
  return cycle;
}

class Driver {
 public:
  Driver(const PartDecider& decide, const StopToken& stop, const DecomposeOptions& options)
      : decide_(decide), stop_(stop), options_(options) {}

  // With onlyIfARuleApplies a part that no rule simplifies comes back with applied false
  // instead of going to the decider. At the root (depth 0) what the forced edges settle is
  // the caller's own pruning, so a refutation found there is left to it as well.
  PartOutcome solve(const PartGraph& input, int32_t depth, bool onlyIfARuleApplies, bool triconnected) {
    PartOutcome nothing;
    nothing.applied = false;
    if (stop_.stopRequested()) return onlyIfARuleApplies ? nothing : PartOutcome{};
    PartGraph graph = input;
    const Settled settled = settleForcedEdges(graph);
    if (settled == Settled::kRefuted || graph.nodeCount < 3)
      return depth == 0 ? nothing : PartOutcome{Verdict::kNonHamiltonian, {}, DecomposeRule::kNone, true};
    if (static_cast<int64_t>(graph.edges.size()) > options_.maxEdges || depth > options_.maxDepth)
      return leaf(graph, onlyIfARuleApplies);
    const SolvePart inner = [this, depth](const PartGraph& part, bool onlyIfRule, bool rigid) {
      return solve(part, depth + 1, onlyIfRule, rigid);
    };
    if (!triconnected || settled == Settled::kChanged) {
      SpqrTree tree;
      switch (buildSpqrTree(graph, stop_, tree)) {
        case SpqrStatus::kNotBiconnected:
          return PartOutcome{Verdict::kNonHamiltonian, {}, DecomposeRule::kSeparator, true};
        case SpqrStatus::kStopped:
        case SpqrStatus::kFailed: return leaf(graph, onlyIfARuleApplies);
        case SpqrStatus::kBuilt: break;
      }
      if (tree.nodes.size() > 1) return decideBySeparators(graph, tree, inner, stop_, onlyIfARuleApplies);
      if (tree.nodes.front().kind == SkeletonKind::kPolygon)
        return onlyIfARuleApplies
                   ? nothing
                   : PartOutcome{Verdict::kHamiltonian, walkCycle(graph), DecomposeRule::kNone, true};
    }
    std::vector<ThreeEdgeCut> cuts = findThreeEdgeCuts(graph, options_.maxFragmentNodes, stop_);
    if (!cuts.empty()) {
      std::vector<ThreeEdgeCut> chosen = disjointSmallestFirst(std::move(cuts), graph.nodeCount);
      PartOutcome reduced = decideByEdgeCuts(graph, chosen, inner, stop_, onlyIfARuleApplies);
      if (reduced.applied) return reduced;
    }
    return leaf(graph, onlyIfARuleApplies);
  }

 private:
  PartOutcome leaf(const PartGraph& graph, bool onlyIfARuleApplies) {
    PartOutcome outcome;
    if (onlyIfARuleApplies) {
      outcome.applied = false;
      return outcome;
    }
    PartAnswer answer = decide_(graph, stop_);
    if (answer.verdict == Verdict::kHamiltonian && !isHamiltonianCycleOfPart(graph, answer.cycle)) {
      diagnostic("decompose: the decider's cycle of a part fails its check; it is ignored.\n");
      return outcome;
    }
    outcome.verdict = answer.verdict;
    outcome.cycle = std::move(answer.cycle);
    return outcome;
  }

  static std::vector<ThreeEdgeCut> disjointSmallestFirst(std::vector<ThreeEdgeCut> cuts, int32_t nodeCount) {
    std::stable_sort(cuts.begin(), cuts.end(), [](const ThreeEdgeCut& x, const ThreeEdgeCut& y) {
      return x.side.size() < y.side.size();
    });
    std::vector<uint8_t> taken(static_cast<size_t>(nodeCount), 0);
    std::vector<ThreeEdgeCut> chosen;
    for (ThreeEdgeCut& cut : cuts) {
      if (std::any_of(cut.side.begin(), cut.side.end(),
                      [&](int32_t x) { return taken[static_cast<size_t>(x)] != 0; }))
        continue;
      for (int32_t x : cut.side) taken[static_cast<size_t>(x)] = 1;
      chosen.push_back(std::move(cut));
    }
    return chosen;
  }

  const PartDecider& decide_;
  const StopToken& stop_;
  const DecomposeOptions& options_;
};

}  // namespace

DecomposeResult decomposeAndDecide(const PartGraph& graph, const PartDecider& decide, const StopToken& stop,
                                   const DecomposeOptions& options) {
  DecomposeResult result;
  Driver driver(decide, stop, options);
  PartOutcome outcome = driver.solve(graph, 0, true, false);
  if (!outcome.applied) return result;
  result.applied = true;
  result.decidedBy = decidedByOf(outcome.rule);
  if (outcome.verdict == Verdict::kHamiltonian && !isHamiltonianCycleOfPart(graph, outcome.cycle)) {
    diagnostic("decompose: the cycle of the whole fails its check; no verdict.\n");
    return result;
  }
  result.verdict = outcome.verdict;
  result.cycle = std::move(outcome.cycle);
  return result;
}

}  // namespace hc
