// One vertex of the solver graph. Every decision procedure works by deleting ("cut") and
// forcing ("set uncut") edges on these records, so the record is built for constant-time
// access to its forced edges, cheap removal from its adjacency array (swap with last), and
// exact undo of a removal.
//
// Two phases: while a builder adds edges they are collected in `adjacencyList`, in the
// order added; finalizeNeighbors() moves them into `neighborArray`, after which edges are
// only removed (and restored by undo), never added. The neighbour array lives in storage
// owned by the Graph (one block for all nodes), so copying a graph is a few block copies.
//
// A graph may hold millions of nodes, many of them without an edge, so the record is kept
// small: the construction list is one pointer (nothing is allocated for a node that never
// gets an edge), and a finished node carries no list at all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace hc {

// The construction-phase neighbour list: the few operations of a vector the builders use,
// in one pointer. The block holds the size, the capacity, then the entries.
class ConstructionList {
 public:
  ConstructionList() = default;
  ConstructionList(const ConstructionList& other) { *this = other; }
  ConstructionList(ConstructionList&&) noexcept = default;
  ConstructionList& operator=(const ConstructionList& other);
  ConstructionList& operator=(ConstructionList&&) noexcept = default;

  size_t size() const { return block_ ? static_cast<size_t>(block_[0]) : 0; }
  bool empty() const { return size() == 0; }
  const int32_t* begin() const { return block_ ? block_.get() + kHeader : nullptr; }
  const int32_t* end() const { return begin() + size(); }
  int32_t operator[](size_t i) const { return block_[kHeader + i]; }
  void push_back(int32_t value);
  // Forgets every entry and frees the block.
  void clear() { block_.reset(); }

 private:
  static constexpr size_t kHeader = 2;
  std::unique_ptr<int32_t[]> block_;
};

struct Node {
  int32_t id = -1;
  int32_t degree = 0;
  int32_t* neighborArray = nullptr;  // entries 0..degree-1 valid; capacity fixed at finalisation
  int32_t howManyUncuttable = 0;     // forced edges here; above 2 the node is a hub
  int32_t uncuttable1 = -1;
  int32_t uncuttable2 = -1;
  int16_t inLightningQueue = 0;
  int16_t inHeadHunterQueue = 0;
  int16_t isHead = 0;
  int16_t isHub = 0;
  int32_t whichChain = -1;
  int32_t mark = 0;
  int32_t capacity = 0;            // room in neighborArray (degree at finalisation + 1)
  ConstructionList adjacencyList;  // construction phase only; emptied by finalizeNeighbors

  Node() = default;
  // `useList` is kept for the record: the construction list is always available here.
  explicit Node(int32_t nodeId, int16_t useList = 1);

  // --- construction phase ---

  // Makes a and b adjacent (appends each to the other's list). Joining nodes that are
  // already adjacent prints a message and adds the parallel entry all the same.
  static void join(Node& a, Node& b);
  // The same without looking for an existing entry (the graph checks all lists at once
  // when construction ends).
  static void append(Node& a, Node& b);
  // True only when each list holds the other; a one-sided entry prints a message.
  static bool isAdjacentByList(const Node& a, const Node& b);
  // The n-th entry of adjacencyList (n < 0 prints a message and gives the first entry;
  // an empty list or n past the end gives -1).
  int32_t findNthNeighbor(int32_t n) const;
  // Moves adjacencyList, in order, into `storage`, which must have room for degree + 1.
  void finalizeNeighbors(int32_t* storage);

  // --- solving phase ---

  // b among a's first degree entries and a among b's.
  static bool isAdjacent(const Node& a, const Node& b);
  // Removes a-b from both arrays by swap-with-last. Prints a message when the edge does not
  // exist (and then changes nothing) or is forced while allowForced is 0 (and removes it).
  static void cut(Node& a, Node& b, int16_t allowForced);
  // Records a-b as forced at both ends; a third distinct forced neighbour makes a hub.
  static void setUncut(Node& a, Node& b);
  // Exact inverse of one setUncut.
  static void unsetUncut(Node& a, Node& b);
  // Both ends store the edge among their two recorded forced neighbours.
  static bool isUncuttableEdge(const Node& a, const Node& b);
  // Undo of a cut whose indices were taken before it: b back at ia, a back at ib.
  static void restoreNeighbor(Node& a, Node& b, int32_t ia, int32_t ib);

  // Index of b in neighborArray, or degree (after a message) when b is not a neighbour.
  int32_t findNeighborIndex(int32_t b) const;
  // A random neighbour that is neither uncuttable1 nor uncuttable2 (linear probe from a
  // random start). Degree below 3 prints a message; when no such neighbour exists the
  // result is -1 instead of an endless probe.
  int32_t findRandomCuttableNeighbor() const;

  bool isForcedNeighbor(int32_t b) const { return b == uncuttable1 || b == uncuttable2; }
};

// Both sit in the innermost loops of every solver, so they are inline.
inline bool Node::isAdjacent(const Node& a, const Node& b) {
  bool found = false;
  for (int32_t i = 0; i < a.degree && !found; ++i) found = a.neighborArray[i] == b.id;
  if (!found) return false;
  for (int32_t i = 0; i < b.degree; ++i) {
    if (b.neighborArray[i] == a.id) return true;
  }
  return false;
}

inline bool Node::isUncuttableEdge(const Node& a, const Node& b) {
  return a.isForcedNeighbor(b.id) && b.isForcedNeighbor(a.id);
}

}  // namespace hc
