#include "core/graph.h"

#include <algorithm>
#include <functional>
#include <tuple>
#include <utility>

#include "core/diagnostics.h"
#include "core/random.h"

#ifdef HC_HEAVY_CHECKS
#include "core/graph_invariants.h"
#endif

namespace hc {

namespace {

#ifdef HC_HEAVY_CHECKS
void heavyCheck(const Graph& graph, const char* where) {
  InvariantOptions options;
  options.incrementalChains = !hasScanModelChains(graph);
  std::string problem = checkInvariants(graph, options);
  if (!problem.empty()) diagnostic("Invariant broken after ", where, ": ", problem, "\n");
}
#else
inline void heavyCheck(const Graph&, const char*) {}
#endif

// After an action: the pruning queue worked off, then the heavy check.
void settle(Graph& graph, const char* action) {
  graph.processPruningQueue();
  heavyCheck(graph, action);
}

}  // namespace

Graph::Graph() = default;

Graph::Graph(int32_t n, int16_t type) : howManyNodes(n > 0 ? n : 0), graphType(type) {
  nodes.reserve(static_cast<size_t>(howManyNodes));
  for (int32_t i = 0; i < howManyNodes; ++i) nodes.emplace_back(i, 1);
  maxChains = howManyNodes / 2;
  initialGraphType = type;
}

Graph::Graph(int32_t n, int16_t type, std::span<const std::pair<int32_t, int32_t>> edges) : Graph(n, type) {
  // Degrees first, then every neighbour array filled in edge order: the order the joins
  // and finalizeNeighbors would give. The counts and write positions live in arrays of
  // their own while the edges are dealt out: a node record is a cache line apart from the
  // next, and two of those per edge made this pass slower than decoding the file.
  std::vector<int32_t> degree(static_cast<size_t>(howManyNodes), 0);
  for (const auto& [a, b] : edges) {
    ++degree[static_cast<size_t>(a)];
    ++degree[static_cast<size_t>(b)];
  }
  size_t total = 0;
  for (int32_t d : degree) total += static_cast<size_t>(d) + 1;
  neighborStorage_.assign(total, -1);
  std::vector<int32_t*> next(static_cast<size_t>(howManyNodes));
  size_t offset = 0;
  for (Node& node : nodes) {
    node.neighborArray = neighborStorage_.data() + offset;
    node.degree = degree[static_cast<size_t>(node.id)];
    node.capacity = node.degree + 1;
    next[static_cast<size_t>(node.id)] = node.neighborArray;
    offset += static_cast<size_t>(node.capacity);
  }
  for (const auto& [a, b] : edges) {
    *next[static_cast<size_t>(a)]++ = b;
    *next[static_cast<size_t>(b)]++ = a;
  }
  howManyEdges = static_cast<int32_t>(edges.size());
  reportParallelEntries(
      [](const Node& node) { return std::span<const int32_t>(node.neighborArray, node.degree); });
  initialNodes = howManyNodes;
  initialEdges = howManyEdges;
  edgesToRemove = howManyEdges - howManyNodes;
  sizeWorkAreas();
}

Graph::Graph(std::vector<int32_t> rows, int32_t n, int32_t maxDegree, int32_t versionCode,
             std::string outputName) {
  reseedFromClock(graphClockSeed());
  *this = Graph(n, 0);
  version = versionCode;
  initialVersion = versionCode;
  outputFileName = std::move(outputName);
  for (int32_t i = 0; i < howManyNodes; ++i) {
    for (int32_t k = 0; k < maxDegree; ++k) {
      size_t at = static_cast<size_t>(i) * static_cast<size_t>(maxDegree) + static_cast<size_t>(k);
      if (at >= rows.size()) break;
      int32_t v = rows[at];
      if (v > i && v < howManyNodes) addEdge(i, v);
    }
  }
  finishConstruction();
}

Graph::Graph(const std::vector<int64_t>& rowStart, const std::vector<int32_t>& neighbours, int32_t n,
             int32_t versionCode, std::string outputName) {
  reseedFromClock(graphClockSeed());
  *this = Graph(n, 0);
  version = versionCode;
  initialVersion = versionCode;
  outputFileName = std::move(outputName);
  const int64_t rows = static_cast<int64_t>(rowStart.size()) - 1;
  for (int32_t i = 0; i < howManyNodes && i < rows; ++i) {
    const int64_t end =
        std::min<int64_t>(rowStart[static_cast<size_t>(i) + 1], static_cast<int64_t>(neighbours.size()));
    for (int64_t at = rowStart[static_cast<size_t>(i)]; at < end; ++at) {
      int32_t v = neighbours[static_cast<size_t>(at)];
      if (v > i && v < howManyNodes) addEdge(i, v);
    }
  }
  finishConstruction();
}

Graph::Graph(const Graph& source) : Graph(source, nullptr) {}

std::optional<Graph> Graph::copyUnlessStopped(const Graph& source, const StopToken* stop) {
  Graph copy(source, stop);
  if (copy.nodes.size() != source.nodes.size()) return std::nullopt;
  return copy;
}

Graph::Graph(const Graph& source, const StopToken* stop)
    : isHamiltonian(source.isHamiltonian),
      chains(source.chains.size(), Chain{}),
      howManyNodes(source.howManyNodes),
      howManyUncuttable(source.howManyUncuttable),
      howManyEdges(source.howManyEdges),
      outputFileName(source.outputFileName),
      howManyChains(source.howManyChains),
      coordinates(source.coordinates),
      maxChains(source.maxChains),
      // The generation description is kept too: the driver's ratios divide by it.
      edgesToRemove(source.edgesToRemove),
      iterationCount(source.iterationCount),
      regularDegree(source.regularDegree),
      pruningQueue(source.nodesWithEdges_),
      graphType(source.graphType),
      version(source.version),
      printLevel(source.printLevel),
      indentDepth(source.indentDepth),
      inputFileName(source.inputFileName),
      initialNodes(source.initialNodes),
      initialEdges(source.initialEdges),
      initialGraphType(source.initialGraphType),
      initialVersion(source.initialVersion),
      initialRegularDegree(source.initialRegularDegree),
      nodesWithEdges_(source.nodesWithEdges_) {
  reseedFromClock(graphClockSeed());
  // In blocks, so a stop request is heard while a graph of millions of nodes is copied.
  constexpr size_t kBlock = size_t{1} << 16;
  nodes.reserve(source.nodes.size());
  for (size_t at = 0; at < source.nodes.size(); at += kBlock) {
    if (pollStop(stop)) return;
    const size_t end = std::min(source.nodes.size(), at + kBlock);
    nodes.insert(nodes.end(), source.nodes.begin() + static_cast<std::ptrdiff_t>(at),
                 source.nodes.begin() + static_cast<std::ptrdiff_t>(end));
  }
  lightningStack_.reserve(static_cast<size_t>(nodesWithEdges_) + 1);
  adoptNeighborStorage(source);
  std::copy_n(source.chains.begin(),
              std::min<size_t>(static_cast<size_t>(howManyChains), source.chains.size()), chains.begin());
}

Graph::~Graph() = default;

void Graph::adoptNeighborStorage(const Graph& source) {
  neighborStorage_ = source.neighborStorage_;
  const int32_t* sourceBase = source.neighborStorage_.data();
  int32_t* base = neighborStorage_.data();
  for (size_t i = 0; i < nodes.size(); ++i) {
    const Node& from = source.nodes[i];
    Node& to = nodes[i];
    to.capacity = from.capacity;
    to.neighborArray = from.neighborArray ? base + (from.neighborArray - sourceBase) : nullptr;
  }
}

template <typename NeighboursOf>
void Graph::reportParallelEntries(NeighboursOf neighboursOf) const {
  // One pass over all lists: seenFrom[w] == v while v's list is read and w was in it. A
  // list in increasing order (as a sparse6 file gives them all) holds no entry twice and
  // is only compared entry with entry.
  std::vector<int32_t> seenFrom(nodes.size(), -1);
  for (const Node& n : nodes) {
    const auto& list = neighboursOf(n);
    if (std::adjacent_find(list.begin(), list.end(), std::greater_equal<>()) == list.end() &&
        (list.begin() == list.end() ||
         (*list.begin() >= 0 && static_cast<size_t>(*std::prev(list.end())) < nodes.size())))
      continue;
    for (int32_t w : list) {
      if (w < 0 || static_cast<size_t>(w) >= nodes.size()) continue;
      if (seenFrom[static_cast<size_t>(w)] != n.id) {
        seenFrom[static_cast<size_t>(w)] = n.id;
      } else if (n.id < w) {
        diagnostic("Error. Attempt to join nodes ", n.id, " and ", w, ", which are already adjacent.\n");
      }
    }
  }
}

void Graph::sizeWorkAreas() {
  nodesWithEdges_ = 0;
  for (const Node& n : nodes) nodesWithEdges_ += n.degree > 0 ? 1 : 0;
  // Chains are disjoint paths of two nodes or more, each node with an edge (the scan
  // model's chain builder grows the slots should it ever need more).
  chains.assign(static_cast<size_t>(std::min(maxChains, nodesWithEdges_ / 2)), Chain{});
  pruningQueue.resize(nodesWithEdges_);
  lightningStack_.reserve(static_cast<size_t>(nodesWithEdges_) + 1);
}

void Graph::finishConstruction() {
  reportParallelEntries([](const Node& n) -> const ConstructionList& { return n.adjacencyList; });
  size_t total = 0;
  for (const Node& n : nodes) total += n.adjacencyList.size() + 1;
  neighborStorage_.assign(total, -1);
  size_t offset = 0;
  for (Node& n : nodes) {
    size_t room = n.adjacencyList.size() + 1;
    n.finalizeNeighbors(neighborStorage_.data() + offset);
    offset += room;
  }
  initialNodes = howManyNodes;
  initialEdges = howManyEdges;
  edgesToRemove = howManyEdges - howManyNodes;
  sizeWorkAreas();
}

void Graph::assignFrom(const Graph& source) {
  if (&source == this) return;
  // The counters, field by field (the node records and chains follow, reusing storage).
  auto counters = [](auto& g) {
    return std::tie(g.cutCount, g.howManyNodes, g.howManyChains, g.howManyUncuttable, g.maxChains,
                    g.isHamiltonian, g.howManyHubs, g.howManyRings, g.howManyEdges, g.graphType, g.printLevel,
                    g.simulationForceCount);
  };
  counters(*this) = counters(source);
  twoEdgeCuts.reset();
  twoVertexCuts.reset();
  threeEdgeCuts.reset();
  threeVertexCuts.reset();

  nodes.resize(source.nodes.size());
  for (size_t i = 0; i < nodes.size(); ++i) {
    const Node& from = source.nodes[i];
    Node& to = nodes[i];
    to.id = from.id;
    to.degree = from.degree;
    to.howManyUncuttable = from.howManyUncuttable;
    to.uncuttable1 = from.uncuttable1;
    to.uncuttable2 = from.uncuttable2;
    to.isHead = from.isHead;
    to.isHub = from.isHub;
    to.whichChain = from.whichChain;
  }
  adoptNeighborStorage(source);
  chains.resize(source.chains.size());
  std::copy_n(source.chains.begin(),
              std::min<size_t>(static_cast<size_t>(howManyChains), source.chains.size()), chains.begin());
}

// ---------------------------------------------------------------------------------------
// The incremental model

void Graph::cut(int32_t a, int32_t b) {
  cutWithoutProcessing(a, b);
  settle(*this, "cut");
}

void Graph::force(int32_t a, int32_t b) {
  setUncut(a, b);
  settle(*this, "force");
}

void Graph::cutWithoutProcessing(int32_t a, int32_t b) {
  Node& na = node(a);
  Node& nb = node(b);
  if (!Node::isAdjacent(na, nb)) {
    Node::cut(na, nb, 0);  // says so, changes nothing
    return;
  }
  if (actionList) {
    int32_t ia = na.findNeighborIndex(b);
    int32_t ib = nb.findNeighborIndex(a);
    actionList->append(kActionCut, a, b, ia, ib);
  }
  Node::cut(na, nb, 0);
  --howManyEdges;
  forceDegreeTwo(a);
  forceDegreeTwo(b);
}

void Graph::forceDegreeTwo(int32_t v) {
  Node& nv = node(v);
  if (nv.degree != 2) return;
  int32_t x = nv.neighborArray[0];
  if (!isUncuttableEdge(v, x)) setUncut(v, x);
  int32_t y = nv.neighborArray[1];
  if (!isUncuttableEdge(v, y)) setUncut(v, y);
}

void Graph::setUncut(int32_t a, int32_t b) {
  Node& na = node(a);
  Node& nb = node(b);
  // Forcing a non-edge would leave a forced record that no cut can remove.
  if (!Node::isAdjacent(na, nb)) {
    diagnostic("Error: Attempt to set uncut an edge between non-adjacent nodes ", a, " and ", b, ".\n");
    return;
  }
  // Forcing a forced edge again changes nothing on the nodes, yet its record would be
  // undone as if it had: the edge's only forced record would go, and the chain would
  // "close" on itself into a ring of two. One end alone can record the edge only next to
  // a hub, when the verdict is 0 already; that case is passed over without a message.
  if (na.isForcedNeighbor(b) && nb.isForcedNeighbor(a)) {
    diagnostic("Error: Attempt to set uncut an edge that is already uncuttable between nodes ", a, " and ", b,
               ".\n");
    return;
  }
  if (na.isForcedNeighbor(b) || nb.isForcedNeighbor(a)) return;
  Node::setUncut(na, nb);
  ++howManyUncuttable;
  record(kActionSetUncut, a, b);
  if (na.isHub == 1) {
    ++howManyHubs;
    record(kActionHub, a);
  }
  if (nb.isHub == 1) {
    ++howManyHubs;
    record(kActionHub, b);
  }
  if (howManyHubs >= 1) {
    isHamiltonian = kNotHamiltonian;
    return;
  }
  bool aOnChain = na.whichChain != -1;
  bool bOnChain = nb.whichChain != -1;
  if (!aOnChain && !bOnChain) {
    newChain(a, b);
  } else if (aOnChain && !bOnChain) {
    extendChain(a, b);
  } else if (!aOnChain && bOnChain) {
    extendChain(b, a);
  } else {
    mergeChains(a, b);
  }
}

void Graph::queueLightning(int32_t v) {
  Node& nv = node(v);
  if (nv.inLightningQueue != 0) return;
  pruningQueue.push(v, PruningQueue::kLightning);
  nv.inLightningQueue = 1;
}

void Graph::queueHeadHunter(int32_t v) {
  Node& nv = node(v);
  if (nv.inHeadHunterQueue != 0) return;
  pruningQueue.push(v, PruningQueue::kHeadHunter);
  nv.inHeadHunterQueue = 1;
}

void Graph::newChain(int32_t a, int32_t b) {
  int32_t c = howManyChains;
  if (c >= static_cast<int32_t>(chains.size()))
    chains.resize(static_cast<size_t>(c) + 1);  // cannot happen: chains are disjoint
  chains[static_cast<size_t>(c)] = Chain{a, b, 2, 0};
  node(a).isHead = 1;
  node(a).whichChain = c;
  node(b).isHead = 1;
  node(b).whichChain = c;
  howManyChains = c + 1;
  record(kActionNewChain);
}

void Graph::extendChain(int32_t oldHead, int32_t newHead) {
  Node& nOld = node(oldHead);
  Node& nNew = node(newHead);
  int32_t c = nOld.whichChain;
  if (nOld.degree >= 3) queueLightning(oldHead);
  nOld.isHead = 0;
  nOld.whichChain = -1;
  nNew.isHead = 1;
  nNew.whichChain = c;
  Chain& chain = chains[static_cast<size_t>(c)];
  if (chain.head1 == oldHead) {
    chain.head1 = newHead;
  } else if (chain.head2 == oldHead) {
    chain.head2 = newHead;
  } else {
    diagnostic("In extendChain. This should never happen.\n");
  }
  ++chain.members;
  record(kActionExtendChain, c, newHead, oldHead);
  if (chain.members > 2 && isAdjacent(chain.head1, chain.head2) && node(chain.head1).degree > 2 &&
      node(chain.head2).degree > 2) {
    queueHeadHunter(chain.head1);
    queueHeadHunter(chain.head2);
  }
}

void Graph::mergeChains(int32_t a, int32_t b) {
  Node& na = node(a);
  Node& nb = node(b);
  int32_t ca = na.whichChain;
  int32_t cb = nb.whichChain;
  if (nb.degree >= 3) queueLightning(b);
  if (na.degree >= 3) queueLightning(a);

  if (ca != cb) {
    Chain& chainA = chains[static_cast<size_t>(ca)];
    Chain& chainB = chains[static_cast<size_t>(cb)];
    record(kActionMergeChains, ca, chainA.head1, chainA.head2, chainA.members, cb, chainB.head1, chainB.head2,
           chainB.members);
    na.isHead = 0;
    na.whichChain = -1;
    nb.isHead = 0;
    nb.whichChain = -1;
    bool bIsEnd = chainB.head1 == b || chainB.head2 == b;
    bool aIsEnd = chainA.head1 == a || chainA.head2 == a;
    if (aIsEnd && bIsEnd) {
      int32_t e = chainB.head1 == b ? chainB.head2 : chainB.head1;
      if (chainA.head1 == a) {
        chainA.head1 = e;
      } else {
        chainA.head2 = e;
      }
      node(e).whichChain = ca;
      chainA.members += chainB.members;
    }
    int32_t last = howManyChains - 1;
    int32_t merged = ca;
    if (cb != last) {
      const Chain& moved = chains[static_cast<size_t>(last)];
      chainB.head1 = moved.head1;
      chainB.head2 = moved.head2;
      chainB.members = moved.members;
      node(moved.head1).whichChain = cb;
      node(moved.head2).whichChain = cb;
      if (ca == last) merged = cb;
    }
    --howManyChains;
    const Chain& result = chains[static_cast<size_t>(merged)];
    if (result.members > 2 && isAdjacent(result.head1, result.head2)) {
      int32_t h1 = result.head1;
      int32_t h2 = result.head2;
      queueHeadHunter(h1);
      queueHeadHunter(h2);
    }
    return;
  }

  Chain& chain = chains[static_cast<size_t>(ca)];
  record(kActionCloseChain, ca, chain.head1, chain.head2);
  chain.head1 = a;
  chain.head2 = a;
  nb.whichChain = -1;
  nb.isHead = 0;
  if (chain.members == howManyNodes) {
    isHamiltonian = kHamiltonian;
    return;
  }
  ++howManyRings;
  chain.isRing = 1;
  record(kActionRing, ca);
  isHamiltonian = kNotHamiltonian;
}

void Graph::processPruningQueue() {
  // The rules are naturally re-entrant: a Lightning item loops over random picks, and every
  // cut it makes runs the whole queue (items it created included, and items already
  // waiting) before the loop takes its next pick; a Lightning item taken from the queue
  // starts its loop at once, ahead of the items behind it. The same order is kept here with
  // an explicit stack of running Lightning loops, so long cascades cannot exhaust the
  // thread's stack:
  //  - `draining`: the innermost running frame is taking items from the queue;
  //  - otherwise the loop on top of the stack takes its next step.
  const size_t base = lightningStack_.size();
  bool draining = true;
  for (;;) {
    if (draining) {
      if (!pruningQueue.empty()) {
        PruningItem item = pruningQueue.pop();
        Node& nv = node(item.id);
        if (item.Type == PruningQueue::kLightning) {
          nv.inLightningQueue = 0;
        } else {
          nv.inHeadHunterQueue = 0;
        }
        if (isHamiltonian == kNotHamiltonian) continue;  // drop what is left
        if (item.Type == PruningQueue::kLightning) {
          if (nv.howManyUncuttable == 2) {
            lightningStack_.push_back(item.id);
            draining = false;  // its loop runs before the items behind it
          }
        } else {
          int32_t c = nv.whichChain;
          if (c != -1) {
            const Chain& chain = chains[static_cast<size_t>(c)];
            if (chain.members >= 3 && chain.members < howManyNodes && isAdjacent(chain.head1, chain.head2)) {
              // The nested run of the queue this cut starts drains the same queue, in the
              // same order, as this frame goes on to do.
              cutWithoutProcessing(chain.head1, chain.head2);
            }
          }
        }
        continue;
      }
      // Queue empty: this frame is done and control returns to the loop that started it.
      if (lightningStack_.size() == base) break;
      draining = false;
    }

    int32_t v = lightningStack_.back();
    Node& nv = node(v);
    if (nv.howManyUncuttable != 2 || nv.degree < 3 || isHamiltonian == kNotHamiltonian) {
      lightningStack_.pop_back();
      draining = true;  // the frame that took this item goes on with the queue
      continue;
    }
    int32_t r = nv.findRandomCuttableNeighbor();
    if (r != -1 && nv.degree > 2 && node(r).degree > 2 && isAdjacent(v, r)) {
      cutWithoutProcessing(v, r);
      draining = true;  // the cut's own run of the queue comes before the next pick
      continue;
    }
    // A failed pick is repeated, but only while some unforced neighbour could still be
    // cut; otherwise the loop would never end.
    bool candidateLeft = false;
    for (int32_t i = 0; i < nv.degree && !candidateLeft; ++i) {
      int32_t u = nv.neighborArray[i];
      candidateLeft = !nv.isForcedNeighbor(u) && node(u).degree > 2;
    }
    if (!candidateLeft) {
      lightningStack_.pop_back();
      draining = true;
    }
  }
}

void Graph::cutAndForce(int32_t a, int32_t b) {
  Node& na = node(a);
  Node& nb = node(b);
  if (!Node::isAdjacent(na, nb)) {
    diagnostic("Error.  Attempt to do a graph level cut on two nodes which are not adjacent.\n");
    return;
  }
  Node::cut(na, nb, 0);
  --howManyEdges;
  // Forces both edges of a degree-2 node on the node level; true when a neighbour became a hub.
  auto forceBoth = [this](Node& n) {
    int32_t x = n.neighborArray[0];
    int32_t y = n.neighborArray[1];
    for (int32_t partner : {x, y}) {
      if (!Node::isUncuttableEdge(n, node(partner))) {
        Node::setUncut(n, node(partner));
        ++howManyUncuttable;
      }
    }
    return node(x).isHub == 1 || node(y).isHub == 1;
  };
  if (na.degree == 2 && forceBoth(na)) {
    ++howManyHubs;
    isHamiltonian = kNotHamiltonian;
    return;
  }
  if (nb.degree != 2) return;
  if (!forceBoth(nb)) return;
  ++howManyHubs;
  isHamiltonian = kNotHamiltonian;
}

void Graph::undoActions(int32_t keep) {
  if (!actionList) return;
  while (actionList->count() > keep) undoOne(actionList->popLast());
}

void Graph::undoOne(const Action& action) {
  const int32_t* arg = action.args;
  switch (action.kind) {
    case kActionCut:
      Node::restoreNeighbor(node(arg[0]), node(arg[1]), arg[2], arg[3]);
      ++howManyEdges;
      break;
    case kActionSetUncut:
      Node::unsetUncut(node(arg[0]), node(arg[1]));
      --howManyUncuttable;
      break;
    case kActionHub:
      node(arg[0]).isHub = 0;
      --howManyHubs;
      break;
    case kActionRing:
      chains[static_cast<size_t>(arg[0])].isRing = 0;
      --howManyRings;
      break;
    case kActionNewChain: {
      Chain& last = chains[static_cast<size_t>(howManyChains - 1)];
      for (int32_t head : {last.head1, last.head2}) {
        node(head).isHead = 0;
        node(head).whichChain = -1;
      }
      --howManyChains;
      break;
    }
    case kActionExtendChain: {
      int32_t c = arg[0];
      int32_t newHead = arg[1];
      int32_t oldHead = arg[2];
      Chain& chain = chains[static_cast<size_t>(c)];
      --chain.members;
      if (chain.head1 == newHead) {
        chain.head1 = oldHead;
      } else if (chain.head2 == newHead) {
        chain.head2 = oldHead;
      }
      node(oldHead).whichChain = c;
      node(oldHead).isHead = 1;
      node(newHead).whichChain = -1;
      node(newHead).isHead = 0;
      break;
    }
    case kActionCloseChain: {
      int32_t c = arg[0];
      Chain& chain = chains[static_cast<size_t>(c)];
      chain.head1 = arg[1];
      chain.head2 = arg[2];
      for (int32_t head : {arg[1], arg[2]}) {
        node(head).whichChain = c;
        node(head).isHead = 1;
      }
      break;
    }
    case kActionMergeChains: {
      int32_t ca = arg[0];
      int32_t cb = arg[4];
      ++howManyChains;
      int32_t last = howManyChains - 1;
      if (cb != last) {
        Chain& from = chains[static_cast<size_t>(cb)];
        Chain& to = chains[static_cast<size_t>(last)];
        to.head1 = from.head1;
        to.head2 = from.head2;
        to.members = from.members;
        node(to.head1).whichChain = last;
        node(to.head2).whichChain = last;
      }
      Chain& chainA = chains[static_cast<size_t>(ca)];
      chainA.head1 = arg[1];
      chainA.head2 = arg[2];
      chainA.members = arg[3];
      Chain& chainB = chains[static_cast<size_t>(cb)];
      chainB.head1 = arg[5];
      chainB.head2 = arg[6];
      chainB.members = arg[7];
      for (int32_t head : {arg[1], arg[2]}) {
        node(head).isHead = 1;
        node(head).whichChain = ca;
      }
      for (int32_t head : {arg[5], arg[6]}) {
        node(head).isHead = 1;
        node(head).whichChain = cb;
      }
      break;
    }
    default: diagnostic("Error: unknown action kind ", action.kind, " in undoActions.\n"); break;
  }
}

HamiltonicityState Graph::simulateForce(int32_t a, int32_t b) {
  if (isHamiltonian != kUndecided) {
    diagnostic("Error: At top of simulate force but isHamiltonian = ", isHamiltonian, "\n");
  }
  HamiltonicityState result;
  {
    ScopedActionList trial(*this);
    setUncut(a, b);
    processPruningQueue();
    result = isHamiltonian;
    undoActions();
    isHamiltonian = kUndecided;
  }
  heavyCheck(*this, "simulateForce");
  return result;
}

void Graph::printIndent() const {
  std::ostream& out = diag();
  for (int32_t i = 0; i < indentDepth; ++i) out << ' ';
  out.flush();
}

std::unique_ptr<ActionList> Graph::acquireActionList() {
  if (spareActionLists_.empty()) return std::make_unique<ActionList>();
  std::unique_ptr<ActionList> list = std::move(spareActionLists_.back());
  spareActionLists_.pop_back();
  return list;
}

void Graph::releaseActionList(std::unique_ptr<ActionList> list) {
  if (!list) return;
  if (!list->empty()) {
    diagnostic("ActionListSize = ", list->count(), "\n");
    list->clear();
  }
  spareActionLists_.push_back(std::move(list));
}

}  // namespace hc
