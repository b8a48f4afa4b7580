// The necessary-condition checks. The flood fills colour one component at a time with a
// depth-first traversal from an explicit stack (Node::mark is the colour); every path that
// has marked nodes clears the marks before it returns.
//
// A node takes the colour opposite to the node that reached it first, so a bipartite
// component gets its one proper colouring whatever the visiting order, and a component
// that is not bipartite always keeps an edge of one colour: the counts a caller reads,
// the same-colour flag and the final marks' verdict are those of repeated index-order
// sweeps, in time linear in the component's nodes and edges instead of one whole-graph
// sweep per step of its depth.
#include "checks/necessary_conditions.h"

#include <vector>

#include "checks/depth_first_scan.h"
#include "core/diagnostics.h"

namespace hc {

namespace {

void say(int16_t verbose, const char* line) {
  if (verbose == 1) diagnostic(line);
}

void clearMarks(Graph& graph) {
  for (Node& n : graph.nodes) n.mark = 0;
}

struct FillCounts {
  int32_t colour1 = 0;
  int32_t colour2 = 0;
  bool sameColourEdge = false;  // an edge joining two nodes of one colour was seen
};

// Colours the component of `start` (already coloured by the caller) and adds the colours
// it gives to `counts`. The stack is reused between calls so that a graph of a million
// components costs no million allocations. False when `stop` (may be null) ended it.
bool colourComponent(Graph& graph, int32_t start, FillCounts& counts, const StopToken* stop = nullptr) {
  thread_local std::vector<int32_t> stack;
  stack.clear();
  stack.push_back(start);
  int32_t taken = 0;
  while (!stack.empty()) {
    if ((++taken & 1023) == 0 && pollStop(stop)) return false;
    const Node& n = graph.node(stack.back());
    stack.pop_back();
    const int32_t other = n.mark == 1 ? 2 : 1;
    for (int32_t k = 0; k < n.degree; ++k) {
      const int32_t w = n.neighborArray[k];
      Node& nw = graph.node(w);
      if (nw.mark == 0) {
        nw.mark = other;
        if (other == 1) {
          ++counts.colour1;
        } else {
          ++counts.colour2;
        }
        stack.push_back(w);
      } else if (nw.mark == n.mark) {
        counts.sameColourEdge = true;
      }
    }
  }
  return true;
}

// The part the connectivity checks share, for the check of "connected" or "connected and
// not unevenly bipartite" (`what`): writes "About to check if the graph is <what>."; then,
// only when isHamiltonian is 2 and there are nodes, colours the component of node 0 into
// `counts` (marks cleared again). When it misses a node, sets isHamiltonian 0, writes "The
// graph is not connected." and returns false. Otherwise (also when nothing was tested,
// `counts` then empty) true. A fill that `stop` ended tests nothing.
bool connectedFromNodeZero(Graph& graph, int16_t verbose, const char* what, FillCounts& counts,
                           const StopToken* stop = nullptr) {
  if (verbose == 1) diagnostic("About to check if the graph is ", what, ".\n");
  if (graph.isHamiltonian != kUndecided || graph.nodes.empty()) return true;
  graph.nodes[0].mark = 1;
  counts.colour1 = 1;
  const bool finished = colourComponent(graph, 0, counts, stop);
  clearMarks(graph);
  if (!finished) {
    counts = FillCounts{};
    return true;
  }
  if (counts.colour1 + counts.colour2 == graph.howManyNodes) return true;
  graph.isHamiltonian = kNotHamiltonian;
  say(verbose, "The graph is not connected.\n");
  return false;
}

// The line a connectivity check ends with when it found nothing: "The graph is <what>.".
void sayPassed(int16_t verbose, const char* what) {
  if (verbose == 1) diagnostic("The graph is ", what, ".\n");
}

}  // namespace

void checkEnoughEdges(Graph& graph, int16_t verbose) {
  say(verbose, "About to check if the graph has enough edges.\n");
  if (graph.isHamiltonian == kUndecided && graph.howManyEdges < graph.howManyNodes) {
    say(verbose, "Checking for enough edges found the graph to be non-Hamiltonian.\n");
    graph.isHamiltonian = kNotHamiltonian;
    return;
  }
  say(verbose, "The graph has enough edges.\n");
}

void checkLowDegreeNodes(Graph& graph, int16_t verbose) {
  say(verbose, "About to check for low-degree nodes.\n");
  if (graph.isHamiltonian == kUndecided) {
    for (const Node& n : graph.nodes) {
      if (n.degree < 2) {
        graph.isHamiltonian = kNotHamiltonian;
        say(verbose, "Checking for low-degree nodes rejected the graph.\n");
        return;
      }
    }
  }
  say(verbose, "IsHamiltonian still = 2 after checking for low-degree nodes.\n");
}

void checkConnectedNotUnevenlyBipartite(Graph& graph, int16_t verbose, const StopToken* stop) {
  constexpr const char* kWhat = "connected and not unevenly bipartite";
  FillCounts counts;
  if (!connectedFromNodeZero(graph, verbose, kWhat, counts, stop)) return;
  // Nothing tested leaves both counts 0: never uneven.
  if (!counts.sameColourEdge && counts.colour1 != counts.colour2) {
    graph.isHamiltonian = kNotHamiltonian;
    say(verbose, "The graph is unevenly bipartite.\n");
    return;
  }
  sayPassed(verbose, kWhat);
}

bool isConnected(Graph& graph, int16_t verbose) {
  FillCounts counts;
  if (!connectedFromNodeZero(graph, verbose, "connected", counts)) return false;
  sayPassed(verbose, "connected");
  return true;
}

bool isBipartite(Graph& graph, int16_t verbose) {
  say(verbose, "About to check if the graph is bipartite.\n");
  FillCounts counts;
  const int32_t n = static_cast<int32_t>(graph.nodes.size());
  int32_t nextStart = 0;  // every node below it is coloured
  while (counts.colour1 + counts.colour2 < n) {
    while (nextStart < n && graph.nodes[static_cast<size_t>(nextStart)].mark != 0) ++nextStart;
    if (nextStart == n) break;
    graph.nodes[static_cast<size_t>(nextStart)].mark = 1;
    ++counts.colour1;
    colourComponent(graph, nextStart, counts);
  }
  bool bipartite = true;
  for (const Node& v : graph.nodes) {
    for (int32_t k = 0; k < v.degree && bipartite; ++k) {
      if (graph.node(v.neighborArray[k]).mark == v.mark) bipartite = false;
    }
    if (!bipartite) break;
  }
  clearMarks(graph);
  return bipartite;
}

bool isBiconnected(Graph& graph, int16_t /*verbose*/, const StopToken* stop) {
  const int32_t n = static_cast<int32_t>(graph.nodes.size());
  if (n == 0) return false;
  // Rooted at node 4 where it exists; below five nodes at node 0, which gives the same
  // answer for a graph that has no node 4.
  const int32_t root = n >= 5 ? 4 : 0;
  const DepthFirstScan scan = depthFirstScan(
      n, root, [&graph](int32_t v) { return neighboursOf(graph.node(v)); }, true, stop);
  // A stopped pass proves nothing: the graph is taken as biconnected.
  if (scan.stopped) return true;
  return !scan.cutVertex && scan.reached == n;
}

}  // namespace hc
