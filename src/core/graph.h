// The solver graph: node records, forced-edge chains, counters, the verdict, the pruning
// queue and the undo log. Every Hamiltonicity procedure works on it.
//
// Two ways of keeping chains up to date:
//  - the incremental model (cut, setUncut, force): chains are kept in O(1) per forced
//    edge, pruning work is queued and run at once, and every change is logged in the
//    installed ActionList so a trial can be undone exactly;
//  - the scan model (cutAndForce): an edge is removed and degree-2 endpoints are forced on
//    the node level only; the whole-graph scans rebuild the chains afterwards.
//
// A graph is built (construction phase: join / addEdge, then finishConstruction()), then
// only shrinks. Hubs (a third forced edge at a node) and rings (a forced cycle through
// fewer than all nodes) are detected the moment the forcing edge is set.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "core/action_list.h"
#include "core/chain.h"
#include "core/cut_list.h"
#include "core/node.h"
#include "core/pruning_queue.h"
#include "core/stop_token.h"

namespace hc {

// The verdict isHamiltonian.
using HamiltonicityState = int16_t;
constexpr HamiltonicityState kNotHamiltonian = 0;
constexpr HamiltonicityState kHamiltonian = 1;
constexpr HamiltonicityState kUndecided = 2;

using Point3 = std::array<double, 3>;

class Graph {
 public:
  // --- fields, in the order the solvers think of them ---
  HamiltonicityState isHamiltonian = kUndecided;
  std::vector<Node> nodes;
  std::vector<Chain> chains;  // maxChains slots; 0..howManyChains-1 in use
  int32_t howManyNodes = 0;
  int32_t howManyUncuttable = 0;  // graph-level forcing operations performed
  int32_t howManyEdges = 0;
  std::string outputFileName;
  int32_t howManyChains = 0;
  std::vector<Point3> coordinates;  // empty when the graph has none
  int32_t maxChains = 0;
  int32_t edgesToRemove = 0;
  int32_t iterationCount = 0;
  int32_t cutCount = 0;
  int32_t howManyRings = 0;
  int32_t howManyHubs = 0;
  int32_t simulationForceCount = 0;
  int32_t regularDegree = -1;
  PruningQueue pruningQueue;
  std::unique_ptr<ActionList> actionList;  // the list recording changes now, or none
  int16_t graphType = 0;
  int32_t version = 5;
  int16_t printLevel = 0;
  int32_t indentDepth = 0;
  std::string inputFileName;
  std::unique_ptr<CutList> twoEdgeCuts;
  std::unique_ptr<CutList> twoVertexCuts;
  std::unique_ptr<CutList> threeEdgeCuts;
  std::unique_ptr<CutList> threeVertexCuts;
  // The graph as generated.
  int32_t initialNodes = 0;
  int32_t initialEdges = 0;
  int16_t initialGraphType = 0;
  int32_t initialVersion = 5;
  int32_t initialRegularDegree = -1;
  // (The Stone Carver driver's timing and statistics belong to its run: SchcOutcome.)

  // --- construction ---

  // An empty graph with no nodes.
  Graph();
  // `howManyNodes` nodes in the construction phase (maxChains howManyNodes / 2). The chain
  // slots, the queue and the Lightning stack are sized by finishConstruction, for the nodes
  // that have an edge: a node without one can never be forced, queued or on a chain, so a
  // graph of many isolated nodes pays only their records.
  // Does not reseed the random source (the caller's constructor decides when to).
  Graph(int32_t howManyNodes, int16_t graphType);
  // Graph(howManyNodes, graphType), addEdge for each pair in order, then finishConstruction,
  // in one pass with no list per node (the loaders' road for large graphs). The ends must
  // be node ids; does not reseed.
  Graph(int32_t howManyNodes, int16_t graphType, std::span<const std::pair<int32_t, int32_t>> edges);
  // From editor rows: rows[i * maxDegree + k] is the k-th neighbour of node i, padded with
  // -1; each edge is joined once (on the row of its smaller end). Reseeds the generator.
  Graph(std::vector<int32_t> rows, int32_t n, int32_t maxDegree, int32_t version, std::string outputFileName);
  // The same from rows of any length, in O(n + entries) memory: row i is
  // neighbours[rowStart[i] .. rowStart[i + 1] - 1] (rowStart holds n + 1 ascending offsets).
  Graph(const std::vector<int64_t>& rowStart, const std::vector<int32_t>& neighbours, int32_t n,
        int32_t version, std::string outputFileName);
  // An independent copy equal to `source` in everything the solvers read; reseeds the
  // generator (so taking a copy changes the random sequence that follows).
  Graph(const Graph& source);
  // The same copy, or none when `stop` (may be null) asks to end before it is complete: the
  // nodes are copied in blocks with a poll between blocks, and an unfinished copy is
  // dropped, so no half-built graph is ever handed out. Reseeds like the copy constructor.
  static std::optional<Graph> copyUnlessStopped(const Graph& source, const StopToken* stop);
  Graph(Graph&&) noexcept = default;
  Graph& operator=(const Graph&) = delete;
  Graph& operator=(Graph&&) noexcept = default;
  ~Graph();

  // Construction phase: makes a and b adjacent (appends each to the other's list), without
  // counting. Unlike Node::join it does not search the lists, so building stays linear in
  // the edges; joining nodes that are already adjacent is reported by finishConstruction.
  void join(int32_t a, int32_t b) {
    Node::append(nodes[static_cast<size_t>(a)], nodes[static_cast<size_t>(b)]);
  }
  // join + one more edge in howManyEdges.
  void addEdge(int32_t a, int32_t b) {
    join(a, b);
    ++howManyEdges;
  }
  bool isAdjacentByList(int32_t a, int32_t b) const {
    return Node::isAdjacentByList(nodes[static_cast<size_t>(a)], nodes[static_cast<size_t>(b)]);
  }
  // Ends the construction phase: finalizeNeighbors on every node (insertion order kept),
  // then initialNodes, initialEdges and edgesToRemove. Each parallel entry left by join
  // prints the "Error. Attempt to join nodes a and b, which are already adjacent." message
  // (smaller id first) and is kept, as Node::join keeps it.
  void finishConstruction();

  // Takes over the decided state of `source`, a graph with the same nodes (in practice a
  // solved copy of this one). Keeps this graph's queue, action list, coordinates, file
  // names and version.
  void assignFrom(const Graph& source);

  // --- solving phase: the incremental model ---

  // Deletes a-b (logged), forces the edges of an endpoint left with degree 2, runs the
  // pruning queue. A non-edge prints a message and changes nothing.
  void cut(int32_t a, int32_t b);
  // Forces a-b (logged) with chain upkeep; a hub or ring sets isHamiltonian 0, a chain
  // through all nodes sets it 1.
  void setUncut(int32_t a, int32_t b);
  void newChain(int32_t a, int32_t b);
  void extendChain(int32_t oldHead, int32_t newHead);
  void mergeChains(int32_t a, int32_t b);
  // setUncut then processPruningQueue.
  void force(int32_t a, int32_t b);
  // Forces both edges of v when v has degree 2.
  void forceDegreeTwo(int32_t v);
  // Scan model: deletes a-b and forces degree-2 endpoints on the node level only; nothing
  // is logged and chains are not touched.
  void cutAndForce(int32_t a, int32_t b);
  // Runs queued Lightning and HeadHunter items until the queue is empty or the graph is
  // non-Hamiltonian; always leaves the queue empty with every flag 0. Iterative (an
  // explicit stack stands in for the nesting of cuts inside items), so long cascades on
  // large graphs cannot exhaust the thread's stack.
  void processPruningQueue();
  // Takes back the records of the installed list from the newest down to the first
  // `keep` (0: every record), newest first.
  void undoActions(int32_t keep = 0);
  // The verdict forcing a-b would reach; the graph is left unchanged (isHamiltonian 2).
  HamiltonicityState simulateForce(int32_t a, int32_t b);
  // Writes indentDepth blanks to the diagnostic stream.
  void printIndent() const;

  // --- nested recording ---

  // A fresh, empty list (from a pool of spare lists, so nested trials do not allocate).
  std::unique_ptr<ActionList> acquireActionList();
  // Gives a list back to the pool (a list with records left in it says so and is cleared).
  void releaseActionList(std::unique_ptr<ActionList> list);

  // --- small helpers ---
  Node& node(int32_t id) { return nodes[static_cast<size_t>(id)]; }
  const Node& node(int32_t id) const { return nodes[static_cast<size_t>(id)]; }
  bool isAdjacent(int32_t a, int32_t b) const { return Node::isAdjacent(node(a), node(b)); }
  bool isUncuttableEdge(int32_t a, int32_t b) const { return Node::isUncuttableEdge(node(a), node(b)); }
  bool hasCoordinates() const { return !coordinates.empty(); }

 private:
  void record(int32_t kind, int32_t a1 = -1, int32_t a2 = -1, int32_t a3 = -1, int32_t a4 = -1,
              int32_t a5 = -1, int32_t a6 = -1, int32_t a7 = -1, int32_t a8 = -1) {
    if (actionList) actionList->append(kind, a1, a2, a3, a4, a5, a6, a7, a8);
  }
  // cut without the trailing processPruningQueue (the queue loop calls it).
  void cutWithoutProcessing(int32_t a, int32_t b);
  void queueLightning(int32_t v);
  void queueHeadHunter(int32_t v);
  void undoOne(const Action& action);
  // Points every node's neighborArray into neighborStorage_ at the offsets of `source`.
  void adoptNeighborStorage(const Graph& source);
  // The copy constructor's work; a stop leaves `nodes` short of howManyNodes.
  Graph(const Graph& source, const StopToken* stop);
  // finishConstruction's report of parallel entries, over each node's neighbours as
  // `neighboursOf(node)` gives them.
  template <typename NeighboursOf>
  void reportParallelEntries(NeighboursOf neighboursOf) const;
  // Counts the nodes that have an edge and sizes the chain slots, the queue and the
  // Lightning stack for them.
  void sizeWorkAreas();

  int32_t nodesWithEdges_ = 0;            // set by finishConstruction
  std::vector<int32_t> neighborStorage_;  // every node's neighbour array, one block
  std::vector<int32_t> lightningStack_;   // nodes whose Lightning loop is in progress
  std::vector<std::unique_ptr<ActionList>> spareActionLists_;
};

// Installs a fresh action list for the lifetime of the scope and puts the previous one
// (or none) back afterwards. The caller undoes or keeps the recorded changes before the
// scope ends; records left behind are reported and dropped.
class ScopedActionList {
 public:
  explicit ScopedActionList(Graph& graph) : graph_(graph), saved_(std::move(graph.actionList)) {
    graph_.actionList = graph_.acquireActionList();
  }
  ~ScopedActionList() {
    graph_.releaseActionList(std::move(graph_.actionList));
    graph_.actionList = std::move(saved_);
  }
  ScopedActionList(const ScopedActionList&) = delete;
  ScopedActionList& operator=(const ScopedActionList&) = delete;

  ActionList& list() { return *graph_.actionList; }

 private:
  Graph& graph_;
  std::unique_ptr<ActionList> saved_;
};

}  // namespace hc
