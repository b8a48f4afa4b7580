#include "core/node.h"

#include <algorithm>

#include "core/diagnostics.h"
#include "core/random.h"

namespace hc {

ConstructionList& ConstructionList::operator=(const ConstructionList& other) {
  if (this == &other) return *this;
  if (other.empty()) {
    block_.reset();
    return *this;
  }
  const size_t n = other.size();
  block_ = std::make_unique_for_overwrite<int32_t[]>(kHeader + n);
  block_[0] = block_[1] = static_cast<int32_t>(n);
  std::copy(other.begin(), other.end(), block_.get() + kHeader);
  return *this;
}

void ConstructionList::push_back(int32_t value) {
  const size_t n = size();
  if (!block_ || n == static_cast<size_t>(block_[1])) {
    const size_t room = n < 2 ? 4 : 2 * n;
    auto bigger = std::make_unique_for_overwrite<int32_t[]>(kHeader + room);
    bigger[0] = static_cast<int32_t>(n);
    bigger[1] = static_cast<int32_t>(room);
    if (n > 0) std::copy(begin(), end(), bigger.get() + kHeader);
    block_ = std::move(bigger);
  }
  block_[kHeader + n] = value;
  block_[0] = static_cast<int32_t>(n + 1);
}

Node::Node(int32_t nodeId, int16_t /*useList*/) {
  if (nodeId != -1) id = nodeId;
}

void Node::join(Node& a, Node& b) {
  bool already = std::find(a.adjacencyList.begin(), a.adjacencyList.end(), b.id) != a.adjacencyList.end() ||
                 std::find(b.adjacencyList.begin(), b.adjacencyList.end(), a.id) != b.adjacencyList.end();
  if (already) {
    diagnostic("Error. Attempt to join nodes ", a.id, " and ", b.id, ", which are already adjacent.\n");
  }
  append(a, b);
}

void Node::append(Node& a, Node& b) {
  a.adjacencyList.push_back(b.id);
  b.adjacencyList.push_back(a.id);
  ++a.degree;
  ++b.degree;
}

bool Node::isAdjacentByList(const Node& a, const Node& b) {
  bool bInA = std::find(a.adjacencyList.begin(), a.adjacencyList.end(), b.id) != a.adjacencyList.end();
  bool aInB = std::find(b.adjacencyList.begin(), b.adjacencyList.end(), a.id) != b.adjacencyList.end();
  if (bInA != aInB) diagnostic("The nodes are only joined in one direction!\n");
  return bInA && aInB;
}

int32_t Node::findNthNeighbor(int32_t n) const {
  if (n < 0) {
    diagnostic("Error. Attempt to call findNthNeighbor to find the ", n, "th neighbor.\n");
    n = 0;
  }
  if (n >= static_cast<int32_t>(adjacencyList.size())) return -1;
  return adjacencyList[static_cast<size_t>(n)];
}

void Node::finalizeNeighbors(int32_t* storage) {
  neighborArray = storage;
  capacity = static_cast<int32_t>(adjacencyList.size()) + 1;
  degree = 0;
  for (int32_t neighbor : adjacencyList) neighborArray[degree++] = neighbor;
  adjacencyList.clear();
}

namespace {

// Swap-with-last removal of `value` from one side; false when it is not there.
bool removeEntry(Node& node, int32_t value) {
  for (int32_t i = 0; i < node.degree; ++i) {
    if (node.neighborArray[i] == value) {
      node.neighborArray[i] = node.neighborArray[node.degree - 1];
      --node.degree;
      return true;
    }
  }
  return false;
}

void setUncutOneSide(Node& node, int32_t partner) {
  if (node.howManyUncuttable == 0) {
    node.uncuttable1 = partner;
    node.howManyUncuttable = 1;
  } else if (node.howManyUncuttable == 1) {
    if (node.uncuttable1 != partner) {
      node.uncuttable2 = partner;
      node.howManyUncuttable = 2;
    }
  } else if (partner != node.uncuttable1 && partner != node.uncuttable2) {
    ++node.howManyUncuttable;
    node.isHub = 1;
  }
}

void unsetUncutOneSide(Node& node, int32_t partner) {
  if (node.uncuttable1 == partner) {
    node.uncuttable1 = node.uncuttable2;
    node.uncuttable2 = -1;
  } else if (node.uncuttable2 == partner) {
    node.uncuttable2 = -1;
  }
  --node.howManyUncuttable;
}

}  // namespace

void Node::cut(Node& a, Node& b, int16_t allowForced) {
  if (!isAdjacent(a, b)) {
    diagnostic("Error: Attempt to cut an edge between non-adjacent nodes ", a.id, " and ", b.id, ".\n");
    return;  // nothing to remove; touching the arrays could only corrupt them
  }
  if (allowForced == 0 && (a.isForcedNeighbor(b.id) || b.isForcedNeighbor(a.id))) {
    diagnostic("Error: Attempt to cut an uncuttable edge between nodes ", a.id, " and ", b.id, ".\n");
  }
  removeEntry(a, b.id);
  removeEntry(b, a.id);
}

void Node::setUncut(Node& a, Node& b) {
  setUncutOneSide(a, b.id);
  setUncutOneSide(b, a.id);
}

void Node::unsetUncut(Node& a, Node& b) {
  unsetUncutOneSide(a, b.id);
  unsetUncutOneSide(b, a.id);
}

void Node::restoreNeighbor(Node& a, Node& b, int32_t ia, int32_t ib) {
  a.neighborArray[a.degree] = a.neighborArray[ia];
  a.neighborArray[ia] = b.id;
  ++a.degree;
  b.neighborArray[b.degree] = b.neighborArray[ib];
  b.neighborArray[ib] = a.id;
  ++b.degree;
}

int32_t Node::findNeighborIndex(int32_t b) const {
  for (int32_t i = 0; i < degree; ++i) {
    if (neighborArray[i] == b) return i;
  }
  diagnostic("Error: attempt to findNeighborIndex for ", b, " in ", id, ". They are not adjacent.\n");
  return degree;
}

int32_t Node::findRandomCuttableNeighbor() const {
  if (degree < 3) {
    diagnostic("Error: Attempt to findRandomCuttableNeighbor on degree ", degree, " node ", id, "\n");
    if (degree <= 0) return -1;
  }
  int32_t r = nextRandom() % degree;
  // Probe at most `degree` entries: a node whose every neighbour is forced has nothing
  // cuttable, and probing on would never end.
  for (int32_t probes = 0; probes < degree; ++probes) {
    if (!isForcedNeighbor(neighborArray[r])) return neighborArray[r];
    if (++r == degree) r = 0;
  }
  return -1;
}

}  // namespace hc
