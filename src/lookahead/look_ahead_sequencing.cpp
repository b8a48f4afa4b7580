#include "lookahead/look_ahead_sequencing.h"

#include <vector>

#include "core/diagnostics.h"
#include "lookahead/simulate_cut.h"

namespace hc {

namespace {

// The pass edge list. A mill iteration may run Full LAS after many of its deletions, so the
// arrays are kept per thread and reused rather than allocated per call; a call nested in
// another (another graph's LAS run from inside a trial) falls back to arrays of its own.
struct EdgeListBuffers {
  std::vector<int32_t> first;
  std::vector<int32_t> second;
  bool inUse = false;
};

thread_local EdgeListBuffers sharedBuffers;

class EdgeList {
 public:
  explicit EdgeList(int32_t capacity) {
    if (!sharedBuffers.inUse) {
      sharedBuffers.inUse = true;
      buffers_ = &sharedBuffers;
    } else {
      buffers_ = &own_;
    }
    buffers_->first.resize(static_cast<size_t>(capacity > 0 ? capacity : 0));
    buffers_->second.resize(static_cast<size_t>(capacity > 0 ? capacity : 0));
  }
  ~EdgeList() {
    if (buffers_ == &sharedBuffers) sharedBuffers.inUse = false;
  }
  EdgeList(const EdgeList&) = delete;
  EdgeList& operator=(const EdgeList&) = delete;

  // The current edges (i, j), i < j, node order then neighbour order; at most capacity.
  int32_t build(const Graph& graph) {
    const int32_t capacity = static_cast<int32_t>(buffers_->first.size());
    int32_t count = 0;
    for (int32_t i = 0; i + 1 < graph.howManyNodes; ++i) {
      const Node& n = graph.node(i);
      for (int32_t k = 0; k < n.degree; ++k) {
        const int32_t j = n.neighborArray[k];
        if (j <= i) continue;
        if (count == capacity) return count;  // only if howManyEdges disagrees with the arrays
        buffers_->first[static_cast<size_t>(count)] = i;
        buffers_->second[static_cast<size_t>(count)] = j;
        ++count;
      }
    }
    return count;
  }
  int32_t first(int32_t k) const { return buffers_->first[static_cast<size_t>(k)]; }
  int32_t second(int32_t k) const { return buffers_->second[static_cast<size_t>(k)]; }

 private:
  EdgeListBuffers* buffers_ = nullptr;
  EdgeListBuffers own_;
};

}  // namespace

bool lookAheadSequencing(Graph& graph, int16_t withDC, const StopToken* stop) {
  if (graph.isHamiltonian != kUndecided) return false;
  const int16_t trialDC = withDC != 0 ? 1 : 0;
  int32_t forcedCount = 0;
  bool result = false;
  EdgeList edges(graph.howManyEdges);
  bool changed = true;
  while (changed) {
    changed = false;
    const int32_t count = edges.build(graph);
    for (int32_t k = 0; k < count; ++k) {
      const int32_t i = edges.first(k);
      const int32_t j = edges.second(k);
      if (!graph.isAdjacent(i, j) || graph.isUncuttableEdge(i, j)) continue;
      // Every trial is expensive: the exact question costs nothing beside it.
      if (stopRequested(stop)) return result;
      const HamiltonicityState r = simulateCut(graph, i, j, trialDC, 0);
      if (r == kUndecided) continue;
      if (r == kNotHamiltonian) {
        ++forcedCount;
        result = true;
        graph.force(i, j);
        if (graph.printLevel == 2) {
          diagnostic(withDC != 0 ? "Disjunction Lookahead Sequencing forced edge "
                                 : "Lookahead Sequencing forced edge ",
                     i, ",", j, " howManyUncuttable = ", graph.howManyUncuttable, "\n");
        }
      } else {
        graph.cut(i, j);
        if (graph.printLevel >= 2) {
          graph.printIndent();
          diagnostic(withDC != 0 ? "Disjunction Lookahead Sequencing cut an edge. howManyUncuttable = "
                                 : "Lookahead Sequencing cut an edge. howManyUncuttable = ",
                     graph.howManyUncuttable, "\n");
        }
      }
      if (graph.isHamiltonian != kUndecided) return result;
      changed = true;
    }
  }
  if (graph.printLevel >= 2 && forcedCount >= 1) {
    graph.printIndent();
    if (forcedCount == 1) {
      diagnostic("Lookahead Sequencing forced 1 edge. howManyUncuttable = ", graph.howManyUncuttable, "\n");
    } else {
      diagnostic("Lookahead Sequencing forced ", forcedCount,
                 " edges. howManyUncuttable = ", graph.howManyUncuttable, "\n");
    }
  }
  return result;
}

bool initialPruningLookAheadSequencing(Graph& graph, int16_t verbose, int16_t mode, const StopToken* stop) {
  const bool withDC = mode != 2;
  if (verbose == 1) {
    diagnostic(withDC ? "About to run Look Ahead Sequencing with Disjunction Check.\n"
                      : "About to run Look Ahead Sequencing without Disjunction Check.\n");
  }
  bool result = false;
  if (graph.isHamiltonian == kUndecided) {
    result = lookAheadSequencing(graph, withDC ? 1 : 0, stop);
    if (graph.isHamiltonian == kNotHamiltonian) {
      if (verbose == 1) {
        diagnostic("Initial Pruning Look Ahead Sequencing solved the graph. isHamiltonian = ", 0, "\n");
      }
      return true;
    }
  }
  if (verbose == 1) {
    diagnostic("IsHamiltonian = ", graph.isHamiltonian, " after initialPruningLookAheadSequencing.\n");
  }
  return result;
}

}  // namespace hc
