// The proof tree node: pruning levels, candidates, forcing probes and the verdict
// bookkeeping between a node and its children; see search_tree_node.h.
#include "cohc/search_tree_node.h"

#include <algorithm>
#include <utility>

#include "checks/chain_building.h"
#include "checks/cut_checks.h"
#include "checks/necessary_conditions.h"
#include "checks/odd_forced_cut.h"
#include "checks/scans.h"
#include "core/cut_list.h"
#include "core/diagnostics.h"
#include "core/random.h"
#include "lookahead/look_ahead_sequencing.h"

namespace hc {

void rootInitialPruning(Graph& graph) {
  checkLowDegreeNodes(graph, 0);
  setUncuttabilities(graph, 0);
  lightning(graph, 0);
  buildChains(graph, 0, nullptr);
  HeadHunter(graph, 0);
}

namespace {

// The 2-edge-cut check with a list of its own for the duration of the call; any list the
// graph had before is put back afterwards.
bool twoEdgeCutStep(Graph& graph, const StopToken* stop) {
  std::unique_ptr<CutList> saved = std::move(graph.twoEdgeCuts);
  graph.twoEdgeCuts = std::make_unique<CutList>();
  bool changed = checkTwoEdgeCuts(graph, 0, stop);
  graph.twoEdgeCuts->clear();
  graph.twoEdgeCuts = std::move(saved);
  return changed;
}

}  // namespace

void pruneAtLevel(Graph& graph, int32_t level, const StopToken* stop) {
  if (level < 0 || level > kHighestPruningLevel) {
    diagnostic("Error: pruning level ", level, " is outside 0..", kHighestPruningLevel, "\n");
    level = std::clamp(level, 0, kHighestPruningLevel);
  }
  // Each pass runs the levels in order; a look-ahead or cut step that changed the graph
  // starts a new pass, since the cheap checks may now see more.
  auto undecided = [&graph] { return graph.isHamiltonian == kUndecided; };
  auto goOn = [&] { return undecided() && !stopRequested(stop); };
  while (goOn()) {
    if (level >= 1) checkConnectedNotUnevenlyBipartite(graph, 0);
    if (level >= 2 && goOn()) initialPruningCheckForOddForcedCut(graph, 0, stop);
    if (level >= 3 && goOn() && !isBiconnected(graph, 0)) graph.isHamiltonian = kNotHamiltonian;
    if (level >= 4 && goOn()) {
      if (initialPruningLookAheadSequencing(graph, 0, 2, stop) && goOn()) continue;
    }
    if (level >= 5 && goOn()) {
      if (initialPruningLookAheadSequencing(graph, 0, 1, stop) && goOn()) continue;
    }
    if (level >= 6 && goOn()) {
      if (twoEdgeCutStep(graph, stop) && goOn()) continue;
    }
    break;
  }
}

CutSequence randomForcingProbe(Graph& graph) {
  CutSequence sequence;
  while (graph.isHamiltonian == kUndecided) {
    int32_t x = -1;
    if (graph.howManyChains > 0) {
      const Chain& chain = graph.chains[static_cast<size_t>(nextRandom() % graph.howManyChains)];
      x = (nextRandom() % 2 == 0) ? chain.head1 : chain.head2;
    } else if (graph.howManyNodes > 0) {
      x = nextRandom() % graph.howManyNodes;
    }
    if (x < 0 || x >= graph.howManyNodes) break;
    int32_t y = graph.node(x).findRandomCuttableNeighbor();
    // Nothing left to force at x: every edge there is forced already (only possible when
    // the graph has no unforced edge worth trying). Drawing again could go on forever.
    if (y < 0) break;
    sequence.add(x, y);
    graph.force(x, y);
  }
  sequence.percentage = graph.howManyNodes > 0 ? graph.howManyUncuttable * 100.0 / graph.howManyNodes : 0.0;
  return sequence;
}

CutSequence findMinimalForcingSequence(const Graph& graph, const StopToken* stop) {
  CutSequence best;
  bool haveBest = false;
  for (int32_t probe = 0; probe < kForcingProbes; ++probe) {
    if (stopRequested(stop)) break;
    Graph copy(graph);  // reseeds the random source, as every copy does
    CutSequence sequence = randomForcingProbe(copy);
    if (!haveBest || sequence.count < best.count) {
      best = std::move(sequence);
      haveBest = true;
    }
  }
  return best;
}

// ---------------------------------------------------------------------------------------

SearchTreeNode::SearchTreeNode(Graph& graph, int32_t maxSearchDepth, const SearchTreeRun& run)
    : graph_(&graph), remainingDepth_(maxSearchDepth), depth_(0), run_(run) {}

SearchTreeNode::SearchTreeNode(const SearchTreeNode& parent, int32_t u, int32_t v)
    : ownedGraph_(std::make_unique<Graph>(*parent.graph_)),
      remainingDepth_(parent.remainingDepth_ - 1),
      depth_(parent.depth_ + 1),
      parent_(&parent),
      run_(parent.run_),
      designatedEdge_{u, v} {
  graph_ = ownedGraph_.get();
}

void SearchTreeNode::recordStarted() {
  if (run_.statistics) run_.statistics->recordNodeStarted(depth_, graph_->howManyUncuttable);
}

void SearchTreeNode::recordSolved() {
  if (run_.statistics) run_.statistics->recordNodeSolved(depth_, graph_->howManyUncuttable);
}

void SearchTreeNode::start() {
  Graph& graph = *graph_;
  if (isRoot()) {
    rootInitialPruning(graph);
    pruneAtLevel(graph, run_.pruningLevel, run_.stop);
    recordStarted();
  } else {
    graph.cut(designatedEdge_[0], designatedEdge_[1]);
    pruneAtLevel(graph, run_.pruningLevel, run_.stop);
    recordStarted();
    if (graph.isHamiltonian == kHamiltonian) recordSolved();
  }
  if (run_.observer != nullptr) run_.observer->pruned(depth_, graph);
  scanning_ = false;
  if (stopRequested(run_.stop)) {
    // Stopped before any child: the node returns as it is, without its closing record.
    stoppedAtStart_ = true;
    return;
  }
  if (remainingDepth_ > 0 && graph.isHamiltonian == kUndecided) {
    computeCandidates();
    scanIndex_ = 0;
    scanning_ = true;
  }
}

void SearchTreeNode::computeCandidates() {
  candidateU_.clear();
  candidateV_.clear();
  if (run_.buildMinimalChildren) {
    computeMinimalCandidates();
  } else {
    computeAllCandidates();
  }
  candidateOpen_.assign(candidateU_.size(), 1);
}

void SearchTreeNode::computeAllCandidates() {
  const Graph& graph = *graph_;
  int64_t unforcedEnds = 0;
  for (const Node& node : graph.nodes) unforcedEnds += node.degree - node.howManyUncuttable;
  if (unforcedEnds > 0) {
    candidateU_.reserve(static_cast<size_t>(unforcedEnds / 2));
    candidateV_.reserve(static_cast<size_t>(unforcedEnds / 2));
  }
  for (int32_t i = 0; i < graph.howManyNodes; ++i) {
    const Node& node = graph.node(i);
    for (int32_t k = 0; k < node.degree; ++k) {
      int32_t j = node.neighborArray[k];
      if (i < j && !graph.isUncuttableEdge(i, j)) {
        candidateU_.push_back(i);
        candidateV_.push_back(j);
      }
    }
  }
}

void SearchTreeNode::computeMinimalCandidates() {
  CutSequence sequence = findMinimalForcingSequence(*graph_, run_.stop);
  candidateU_.reserve(sequence.pairs.size());
  candidateV_.reserve(sequence.pairs.size());
  for (const CutPair& pair : sequence.pairs) {
    candidateU_.push_back(pair.first);
    candidateV_.push_back(pair.second);
  }
}

void SearchTreeNode::refreshCandidates() {
  const Graph& graph = *graph_;
  for (size_t i = 0; i < candidateOpen_.size(); ++i) {
    if (candidateOpen_[i] == 0) continue;
    int32_t u = candidateU_[i];
    int32_t v = candidateV_[i];
    if (!graph.isAdjacent(u, v) || graph.isUncuttableEdge(u, v)) candidateOpen_[i] = 0;
  }
}

int32_t SearchTreeNode::nextChild() {
  while (scanning_) {
    if (scanIndex_ >= candidateCount() || stopRequested(run_.stop)) {
      scanning_ = false;
      break;
    }
    if (candidateOpen_[static_cast<size_t>(scanIndex_)] != 0) return scanIndex_;
    ++scanIndex_;
  }
  return -1;
}

void SearchTreeNode::acceptChild(int32_t index, SearchTreeNode& child) {
  if (index < 0 || index >= candidateCount()) {
    diagnostic("Error: a child reported for candidate ", index, " of ", candidateCount(), "\n");
    return;
  }
  switch (child.verdict()) {
    case kNotHamiltonian: {
      // No Hamiltonian cycle of this node avoids the designated edge, so it is forced.
      candidateOpen_[static_cast<size_t>(index)] = 0;
      graph_->force(candidateU_[static_cast<size_t>(index)], candidateV_[static_cast<size_t>(index)]);
      if (!run_.buildMinimalChildren) pruneAtLevel(*graph_, run_.pruningLevel, run_.stop);
      if (run_.observer != nullptr) run_.observer->pruned(depth_, *graph_);
      if (graph_->isHamiltonian != kUndecided) {
        scanning_ = false;
        return;
      }
      refreshCandidates();
      scanIndex_ = 0;
      return;
    }
    case kHamiltonian:
      if (isRoot()) {
        // The caller's graph object stays; it takes over the solved state.
        graph_->assignFrom(*child.graph_);
      } else {
        ownedGraph_ = std::move(child.ownedGraph_);
        graph_ = ownedGraph_.get();
        child.graph_ = nullptr;
      }
      scanning_ = false;
      return;
    default: scanIndex_ = index + 1; return;
  }
}

void SearchTreeNode::finish(bool writeCycle) {
  if (stoppedAtStart_) return;
  HamiltonicityState verdict = graph_->isHamiltonian;
  if (verdict == kNotHamiltonian) {
    recordSolved();
  } else if (verdict == kHamiltonian && isRoot()) {
    recordSolved();
    if (writeCycle && run_.writeCycle != nullptr && *run_.writeCycle && !graph_->outputFileName.empty()) {
      const std::string error = (*run_.writeCycle)(*graph_, graph_->outputFileName);
      if (!error.empty()) diagnostic("Error: the Hamiltonian cycle could not be written: ", error, "\n");
    }
  }
}

}  // namespace hc
