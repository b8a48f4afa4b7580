// One node of the Co-HC proof tree, and the pruning and candidate rules it applies.
//
// The tree proves a graph non-Hamiltonian by deleting edges: a node's children each delete
// one more edge (the child's designated edge) from a copy of the node's graph. A child
// shown non-Hamiltonian tells its parent that every Hamiltonian cycle of the parent uses
// the designated edge, so the parent forces it; once the root is non-Hamiltonian the proof
// is complete. A cycle found anywhere is handed up to the root.
//
// A node here only holds its state and knows how to start, how to pick its next child and
// how to take a child's verdict; the depth-first walk itself (search_tree.h) keeps the
// resident nodes on an explicit stack, one per depth, so the depth of a proof is bounded by
// memory and never by the thread's stack.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "cohc/search_tree_observer.h"
#include "cohc/search_tree_statistics.h"
#include "core/graph.h"
#include "core/graph_file_writer.h"
#include "core/stop_token.h"
#include "schc/cut_sequence.h"

namespace hc {

inline constexpr int32_t kHighestPruningLevel = 6;

// The level names the user chooses from; the level is the number before the first blank.
inline constexpr std::array<std::string_view, 7> kPruningLevelNames = {
    "0 - No Pruning", "1 - Connected & Not UB", "2 - Odd Forced Cuts", "3 - Biconnected",
    "4 - LAS No DC",  "5 - LAS With DC",        "6 - 2-Edge Cuts"};

// How many random forcing probes a minimal-children node makes.
inline constexpr int32_t kForcingProbes = 100;

// The pruning of the root graph before anything else: low degrees, forcing at degree-2
// nodes, Lightning, chains, HeadHunter (each a no-op once the graph is decided).
void rootInitialPruning(Graph& graph);

// Applies the checks of `level` (0..6; each level includes the lower ones) while the
// verdict is 2, starting over after any look-ahead or 2-edge-cut step that changed the
// graph. `stop` (may be null) ends it early with the verdict it has reached (undecided is
// always a sound answer); the odd forced cut, look-ahead and 2-edge-cut checks ask it
// inside their loops. Levels outside 0..6 print a message and are clamped.
void pruneAtLevel(Graph& graph, int32_t level, const StopToken* stop = nullptr);

// Forces random edges at chain ends (or at random nodes while there are no chains) on
// `graph`, a throw-away copy, until its verdict is decided; returns the forced pairs in
// order and the percentage of forced edges reached. A pick without a cuttable neighbour
// ends the probe (forcing it could never make progress).
CutSequence randomForcingProbe(Graph& graph);

// kForcingProbes probes, each on a fresh copy of `graph` (each copy reseeds the random
// source); returns the first shortest sequence. `stop` (may be null) ends the probing with
// the best sequence so far. `graph` is unchanged.
CutSequence findMinimalForcingSequence(const Graph& graph, const StopToken* stop = nullptr);

// The parameters every node of a run shares.
struct SearchTreeRun {
  int32_t pruningLevel = 5;
  bool buildMinimalChildren = false;
  SearchTreeStatistics* statistics = nullptr;   // may be null: nothing recorded
  const StopToken* stop = nullptr;              // null: never stopped
  const GraphFileWriter* writeCycle = nullptr;  // the root's writer of a found cycle; null: none
  SearchTreeObserver* observer = nullptr;       // hears the walk (a certificate's writer); null: none
};

class SearchTreeNode {
 public:
  // The root works on `graph` itself (not a copy); `graph` must outlive the node.
  SearchTreeNode(Graph& graph, int32_t maxSearchDepth, const SearchTreeRun& run);
  // A child of `parent` that deletes u-v from a copy of the parent's graph.
  SearchTreeNode(const SearchTreeNode& parent, int32_t u, int32_t v);

  SearchTreeNode(const SearchTreeNode&) = delete;
  SearchTreeNode& operator=(const SearchTreeNode&) = delete;

  // The node's own part of the search before its children: the root prunes initially and
  // at its level; a child deletes its edge and prunes. Records the start (and, for a child
  // that found a cycle, the solution) in the statistics. Then, unless the run is stopped,
  // the depth is used up or the verdict is decided, computes the candidates and opens the
  // scan over them.
  void start();

  // The next open candidate to build a child for, or -1 when the scan is over (no open
  // candidate left after the scan position, the run stopped, or the node decided).
  int32_t nextChild();

  // Takes the verdict of the child built for candidate `index`: 0 forces the candidate's
  // edge here (and restarts the scan), 1 takes the child's graph over, 2 moves on.
  void acceptChild(int32_t index, SearchTreeNode& child);

  // The node's own part after its children: records the solution in the statistics (the
  // root also for a cycle, which it then writes to the graph's outputFileName with the run's
  // writer when the graph has such a name, the run a writer, and `writeCycle` is set). A
  // node that saw the abort in start() skips all of it.
  void finish(bool writeCycle = true);

  // Closes every open candidate whose edge is gone or now forced.
  void refreshCandidates();

  // Replaces the candidates: every unforced edge (i < j, by node, then neighbour order), or
  // for minimal children the pairs of the shortest of the forcing probes. All start open.
  // start() calls it; it is public so that the candidate rules can be checked alone.
  void computeCandidates();

  Graph& graph() { return *graph_; }
  const Graph& graph() const { return *graph_; }
  HamiltonicityState verdict() const { return graph_->isHamiltonian; }
  bool isRoot() const { return parent_ == nullptr; }

  int32_t remainingDepth() const { return remainingDepth_; }
  int32_t depth() const { return depth_; }
  const SearchTreeNode* parent() const { return parent_; }
  const SearchTreeRun& run() const { return run_; }
  int32_t designatedU() const { return designatedEdge_[0]; }
  int32_t designatedV() const { return designatedEdge_[1]; }

  int32_t candidateCount() const { return static_cast<int32_t>(candidateU_.size()); }
  int32_t candidateU(int32_t i) const { return candidateU_[static_cast<size_t>(i)]; }
  int32_t candidateV(int32_t i) const { return candidateV_[static_cast<size_t>(i)]; }
  bool candidateOpen(int32_t i) const { return candidateOpen_[static_cast<size_t>(i)] != 0; }

 private:
  void computeAllCandidates();
  void computeMinimalCandidates();
  void recordStarted();
  void recordSolved();

  std::unique_ptr<Graph> ownedGraph_;  // none at the root, which works on the caller's graph
  Graph* graph_ = nullptr;
  int32_t remainingDepth_ = 0;
  int32_t depth_ = 0;
  const SearchTreeNode* parent_ = nullptr;
  SearchTreeRun run_;
  std::array<int32_t, 2> designatedEdge_ = {-1, -1};
  std::vector<int32_t> candidateU_;
  std::vector<int32_t> candidateV_;
  std::vector<uint8_t> candidateOpen_;  // 1: a child must still be tried
  int32_t scanIndex_ = 0;
  bool scanning_ = false;
  bool stoppedAtStart_ = false;
};

}  // namespace hc
