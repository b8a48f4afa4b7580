// Python objects to a library graph. Node labels may be any hashable objects: they are
// numbered 0 .. n-1 in the order the caller's object lists them, and the list of labels
// goes back with the graph so that every answer can speak the caller's labels again. The
// work is done here rather than in Python because a graph of a million edges must convert
// in well under a second: the loops below touch each edge once with the C API, and a graph
// whose labels are already 0 .. n-1 in order needs no lookups at all.
#pragma once

#include <hamcycles/hamcycles.h>
#include <pybind11/pybind11.h>

namespace hcpy {

struct BuiltGraph {
  hamcycles::Graph graph;
  // The label of each node, or None when the labels are the integers 0 .. n-1 in order.
  pybind11::object labels;
};

// From an iterable of node pairs. `nodes`: None (the nodes are the ends of the edges, in the
// order they first appear) or an iterable of labels (then every end must be one of them).
BuiltGraph graphFromEdges(pybind11::handle edges, pybind11::handle nodes);

// From a mapping of each node to an iterable of its neighbours. `nodes`: None (the keys,
// then any neighbour that is not a key, in the order they appear) or an iterable of labels.
// `symmetric`: every edge is listed from both ends (a NetworkX adjacency), so each is taken
// once, from the end that comes first, in the order NetworkX lists its edges.
BuiltGraph graphFromAdjacency(pybind11::handle adjacency, pybind11::handle nodes, bool symmetric);

}  // namespace hcpy
