#include "solve/exact_search.h"

#include <algorithm>
#include <initializer_list>
#include <memory>

#include "lookahead/look_ahead_sequencing.h"
#include "schc/hamiltonian_cycle.h"
#include "solve/linear_relaxation.h"
#include "solve/root_pruning.h"

namespace hc {

namespace {

// Unforced edges left at v: how many choices the cycle still has there.
int32_t choicesAt(const Graph& graph, int32_t v) {
  const Node& n = graph.node(v);
  return n.degree - n.howManyUncuttable;
}

// A node's rank among equals: a hash of its number and the seed, so that which of two
// equal nodes comes first is the seed's choice and not the numbering's.
uint32_t tieRank(int32_t v, uint32_t seed) {
  uint64_t x = (uint64_t{static_cast<uint32_t>(v)} << 32 | seed) * 0x9E3779B97F4A7C15ull;
  x ^= x >> 29;
  x *= 0xBF58476D1CE4E5B9ull;
  return static_cast<uint32_t>(x >> 32);
}

// Whether (d, v) comes before (bestD, best): the smaller degree, then the smaller rank.
bool comesFirst(int32_t d, int32_t v, int32_t bestD, int32_t best, uint32_t seed) {
  return best == -1 || d < bestD || (d == bestD && tieRank(v, seed) < tieRank(best, seed));
}

// The smallest-degree unforced neighbour of v, or -1.
int32_t tightestNeighbor(const Graph& graph, int32_t v, uint32_t seed) {
  const Node& n = graph.node(v);
  int32_t best = -1;
  int32_t bestDegree = 0;
  for (int32_t i = 0; i < n.degree; ++i) {
    int32_t w = n.neighborArray[i];
    if (n.isForcedNeighbor(w)) continue;
    int32_t d = graph.node(w).degree;
    if (comesFirst(d, w, bestDegree, best, seed)) {
      best = w;
      bestDegree = d;
    }
  }
  return best;
}

// The edge to branch on; false when no unforced edge is left (cannot happen while the
// verdict is 2, but the walk must not rely on it).
bool chooseBranch(const Graph& graph, int32_t hint, uint32_t seed, int32_t& a, int32_t& b) {
  // A head has one forced edge and degree 3 or more, so 2 choices is the least possible.
  constexpr int32_t kLeast = 2;
  int32_t bestHead = -1;
  int32_t bestChoices = 0;
  auto consider = [&](int32_t h) {
    int32_t c = choicesAt(graph, h);
    if (c > 0 && (bestHead == -1 || c < bestChoices)) {
      bestHead = h;
      bestChoices = c;
    }
  };
  if (hint >= 0 && graph.node(hint).isHead == 1 && graph.node(hint).whichChain >= 0) {
    const Chain& chain = graph.chains[static_cast<size_t>(graph.node(hint).whichChain)];
    consider(chain.head1);
    consider(chain.head2);
  }
  for (int32_t c = 0; c < graph.howManyChains && !(bestHead != -1 && bestChoices <= kLeast); ++c) {
    consider(graph.chains[static_cast<size_t>(c)].head1);
    consider(graph.chains[static_cast<size_t>(c)].head2);
  }
  if (bestHead == -1) {
    int32_t bestDegree = 0;
    for (int32_t v = 0; v < graph.howManyNodes; ++v) {
      const Node& n = graph.node(v);
      if (n.howManyUncuttable == 2 || n.degree <= n.howManyUncuttable) continue;
      if (comesFirst(n.degree, v, bestDegree, bestHead, seed)) {
        bestHead = v;
        bestDegree = n.degree;
      }
    }
  }
  if (bestHead == -1) return false;
  a = bestHead;
  b = tightestNeighbor(graph, bestHead, seed);
  return b != -1;
}

// The proof log within its bound. Its capacity never grows past the bound, growing by
// doubling as the vector itself would; a record that would pass it drops the whole log
// (its memory freed) and recording ends. On the way the check is the one comparison
// with the capacity the vector makes anyway.
class BoundedLog {
 public:
  BoundedLog(std::vector<int32_t>* log, int64_t limitBytes)
      : log_(log), maxValues_(static_cast<size_t>(std::max<int64_t>(0, limitBytes)) / sizeof(int32_t)) {
    if (log_ != nullptr) log_->clear();
  }
  bool recording() const { return log_ != nullptr; }
  bool dropped() const { return dropped_; }
  // Only while recording.
  void add(std::initializer_list<int32_t> record) {
    const size_t need = log_->size() + record.size();
    if (need > log_->capacity() && !makeRoom(need)) return;
    log_->insert(log_->end(), record);
  }

 private:
  bool makeRoom(size_t need) {
    if (need > maxValues_) {
      std::vector<int32_t>().swap(*log_);
      log_ = nullptr;
      dropped_ = true;
      return false;
    }
    log_->reserve(std::min(maxValues_, std::max(need, 2 * log_->capacity())));
    return true;
  }

  std::vector<int32_t>* log_;
  size_t maxValues_;
  bool dropped_ = false;
};

// The look-ahead's changes from record `from` of `list` on, as proof log facts.
void logFacts(BoundedLog& log, const ActionList& list, int32_t from) {
  for (int32_t k = from; k < list.count() && log.recording(); ++k) {
    const Action& action = list.at(k);
    if (action.kind == kActionCut || action.kind == kActionSetUncut)
      log.add({action.kind == kActionCut ? kLogDeleted : kLogForced, action.args[0], action.args[1]});
  }
}

// One open level of the walk: its edge, whether the cut alternative is running, and where
// its changes start in the walk's undo log.
struct Level {
  int32_t a = -1;
  int32_t b = -1;
  bool cutting = false;
  int32_t mark = 0;
};

}  // namespace

ExactSearchResult exactSearch(Graph& graph, const StopToken& stop, const ExactSearchOptions& options,
                              ExactSearchProgress* progress) {
  ExactSearchResult result;
  BoundedLog log(options.proofLog, options.proofLogLimitBytes);
  if (graph.isHamiltonian == kUndecided && graph.howManyEdges <= options.rootLookAheadEdgeLimit &&
      !stop.poll()) {
    if (log.recording()) {
      // The root has no undo log of its own; one is installed for the look-ahead's changes,
      // which are read and kept.
      ScopedActionList facts(graph);
      lookAheadSequencing(graph, 0, &stop);
      logFacts(log, facts.list(), 0);
      facts.list().clear();
    } else {
      lookAheadSequencing(graph, 0, &stop);
    }
    runCheapChecks(graph, &stop);
  }
  // Checks are paced: a failed one means the walk is in a dead part of the tree, which is
  // left fastest when every node is checked; passing ones stretch the interval again.
  const int64_t longestInterval =
      std::max<int64_t>(1, graph.howManyEdges / std::max(1, options.checkEdgesPerNode));
  int64_t interval = longestInterval;
  int64_t sinceCheck = 0;

  // One undo log for the whole walk, each level marking where its changes start: a list
  // per level grew afresh whenever a level's propagation ran long, and on a 2,000-node
  // cubic graph those growths took most of a walk's time. The list the caller had (none at
  // the root) is put back when the last level closes.
  std::vector<Level> levels;
  levels.reserve(static_cast<size_t>(graph.howManyEdges) + 1);  // one level per edge at most
  std::unique_ptr<ActionList> above;
  auto open = [&](int32_t a, int32_t b) {
    if (levels.empty()) {
      above = std::move(graph.actionList);
      graph.actionList = graph.acquireActionList();
    }
    levels.push_back(Level{a, b, false, graph.actionList->count()});
  };
  auto close = [&] {
    graph.undoActions(levels.back().mark);
    levels.pop_back();
    if (levels.empty()) {
      graph.releaseActionList(std::move(graph.actionList));
      graph.actionList = std::move(above);
    }
    graph.isHamiltonian = kUndecided;
  };
  auto unwindAll = [&] {
    while (!levels.empty()) close();
  };

  // Relaxation calls the walk has earned: one every relaxationTreeNodes tree nodes, so that
  // short walks (most of a census) never pay for one.
  int64_t relaxationCredit = 0;
  int32_t hint = -1;
  for (;;) {
    // While every tree node runs the checks (a linear pass), the clock is read at each: the
    // cheap poll reads it only every few hundred calls, seconds apart there.
    if ((interval == 1 ? stop.stopRequested() : stop.poll()) ||
        (options.treeNodeLimit > 0 && result.treeNodes >= options.treeNodeLimit)) {
      unwindAll();
      result.verdict = kUndecided;
      result.proofLogDropped = log.dropped();
      return result;
    }
    ++result.treeNodes;
    const int32_t depth = static_cast<int32_t>(levels.size());
    if (depth > result.deepestDepth) result.deepestDepth = depth;
    if (progress != nullptr && (result.treeNodes & 1023) == 0) {
      progress->treeNodes.store(result.treeNodes, std::memory_order_relaxed);
      progress->depth.store(depth, std::memory_order_relaxed);
    }
    if (graph.isHamiltonian == kUndecided && ++sinceCheck >= interval) {
      sinceCheck = 0;
      runCheapChecks(graph, &stop);
      interval = graph.isHamiltonian == kUndecided ? std::min(longestInterval, 2 * interval) : 1;
    }
    if (graph.isHamiltonian == kUndecided && depth > 0 &&
        (graph.howManyEdges <= options.nodeLookAheadEdgeLimit ||
         (depth <= options.lookAheadLevels && graph.howManyEdges <= options.levelLookAheadEdgeLimit))) {
      const int32_t before = graph.actionList->count();
      if (lookAheadSequencing(graph, 0, &stop)) runCheapChecks(graph, &stop);
      if (log.recording()) logFacts(log, *graph.actionList, before);
    }
    if (options.relaxationTreeNodes > 0 && result.treeNodes % options.relaxationTreeNodes == 0)
      ++relaxationCredit;
    bool relaxed = false;
    if (graph.isHamiltonian == kUndecided && depth > 0 && depth <= options.relaxationLevels &&
        relaxationCredit > 0 && graph.howManyEdges <= options.relaxationEdgeLimit) {
      --relaxationCredit;
      ++result.relaxationCalls;
      LinearRelaxationOptions within;
      within.maxRounds = 20;
      if (solveLinearRelaxation(graph, stop, within).outcome == RelaxationOutcome::kNoCycle) {
        graph.isHamiltonian = kNotHamiltonian;
        relaxed = true;
        ++result.relaxationLeaves;
      }
    }

    if (graph.isHamiltonian == kHamiltonian) {
      result.cycle = hamiltonianCycleOrder(graph);
      result.verdict = result.cycle.empty() ? kUndecided : kHamiltonian;
      unwindAll();
      result.proofLogDropped = log.dropped();
      return result;
    }
    int32_t a = -1;
    int32_t b = -1;
    if (graph.isHamiltonian == kUndecided && chooseBranch(graph, hint, options.seed, a, b)) {
      open(a, b);
      graph.force(a, b);
      hint = b;
      if (log.recording()) log.add({a, b});
      continue;
    }
    if (log.recording()) log.add({relaxed ? kLogRelaxed : kLogLeaf});
    // A contradiction (or nothing left to branch on): the nearest level whose cut
    // alternative has not run takes it; the levels below it are closed.
    while (!levels.empty() && levels.back().cutting) close();
    if (levels.empty()) {
      result.verdict = kNotHamiltonian;
      graph.isHamiltonian = kNotHamiltonian;
      result.proofLogDropped = log.dropped();
      return result;
    }
    Level& level = levels.back();
    graph.undoActions(level.mark);
    graph.isHamiltonian = kUndecided;
    level.cutting = true;
    graph.cut(level.a, level.b);
    hint = level.a;
  }
}

}  // namespace hc
