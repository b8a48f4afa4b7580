"""Graph-like objects into the engine and back: labels of every kind kept, NetworkX graphs
duck-typed, and every bad object refused with one clear error."""
import gc
import weakref

import networkx as nx
import pytest

import hamcycles

@pytest.mark.parametrize("data, given, nodes, edges", [
    # An edge list: nodes in order of first appearance, an edge listed twice counts once.
    ([("x", "y"), ("y", "z"), ("z", "y")], None, ["x", "y", "z"], [("x", "y"), ("y", "z")]),
    # nodes= adds isolated nodes and fixes the order.
    ([(2, 1)], [0, 1, 2], [0, 1, 2], [(1, 2)]),
    # An adjacency mapping, one-sided or both, neighbours that are no key appended.
    ({"a": ["b", "c"], "b": {"c": {}}, "c": ["d"]}, None, ["a", "b", "c", "d"],
     [("a", "b"), ("a", "c"), ("b", "c"), ("c", "d")]),
    # NetworkX, with tuple labels and integer labels out of order.
    (nx.path_graph([(0, 1), (5, 5), "s"]), None, [(0, 1), (5, 5), "s"], [((0, 1), (5, 5)), ((5, 5), "s")]),
    (nx.Graph([(3, 1), (1, 0)]), None, [3, 1, 0], [(3, 1), (1, 0)]),
    # Python's equality: 1, 1.0 and True are one node; labels 0, 1, 2 in order, then others.
    ([(0, 1), (1.0, 2), (True, 0)], None, [0, 1, 2], [(0, 1), (1, 2)]),
    ([(0, 1), (True, 2), (2, "x"), ("x", 0)], None, [0, 1, 2, "x"], [(0, 1), (0, "x"), (1, 2), (2, "x")]),
])
def test_labels_are_kept(data, given, nodes, edges):
    graph = hamcycles.Graph(data, nodes=given)
    assert graph.nodes == nodes
    assert graph.edges == edges
    assert all(graph.has_edge(u, v) and graph.has_edge(v, u) for u, v in edges)


def test_networkx_graph_matches_its_own_view():
    G = nx.relabel_nodes(nx.dodecahedral_graph(), lambda v: f"n{v}")
    graph = hamcycles.Graph(G)
    assert graph.nodes == list(G.nodes)
    assert sorted(map(sorted, graph.edges)) == sorted(map(sorted, G.edges))
    assert [graph.degree(v) for v in G] == [G.degree(v) for v in G]
    assert sorted(graph.neighbors("n0")) == sorted(G["n0"])
    # Back into NetworkX, fast or through its own constructor: the same nodes and edges in order.
    fast, constructed = graph.to_networkx(), nx.Graph(graph)
    assert list(fast.nodes) == list(G.nodes) and nx.utils.edges_equal(fast.edges, G.edges)
    assert (list(constructed.nodes), list(constructed.edges)) == (list(fast.nodes), list(fast.edges))
    # Its dicts start in the oldest generation: a cycle through them is still collected, and a
    # caller's frozen objects stay frozen.
    owner = type("Owner", (), {})()
    fast.edges["n0", "n1"]["owner"], owner.graph = owner, fast
    gone = weakref.ref(owner)
    del fast, owner
    gc.collect()
    assert gone() is None
    gc.freeze()
    frozen = gc.get_freeze_count()
    try:
        assert graph.to_networkx().number_of_edges() == 30 and gc.get_freeze_count() == frozen
    finally:
        gc.unfreeze()
    # Read through NetworkX's adjacency, the engine gets the edges in the order of G.edges, as
    # from the same edges in a list: the same seed makes the same run.
    plain = hamcycles.Graph(list(G.edges), nodes=list(G.nodes))
    assert hamcycles.schc(graph, seed=5).cycle == hamcycles.schc(plain, seed=5).cycle
    # A graph-like object without NetworkX's insides goes through .nodes and .edges.
    view = type("View", (), {"nodes": list(G.nodes), "edges": list(G.edges)})()
    assert hamcycles.schc(view, seed=5).cycle == hamcycles.schc(plain, seed=5).cycle


@pytest.mark.parametrize("make, error, message", [
    (lambda: hamcycles.Graph("petersen.txt"), TypeError,
     "expected a graph (a NetworkX graph, an edge list or an adjacency dict), not a str "
     "(to read a file, use hamcycles.read(path))"),
    (lambda: hamcycles.Graph(5), TypeError,
     "expected a graph (a NetworkX graph, an edge list or an adjacency dict), not 5"),
    (lambda: hamcycles.Graph([]), ValueError, "the graph has no nodes"),
    (lambda: hamcycles.Graph([(1, 2), (2, 2)]), ValueError, "edge 1 joins node 2 to itself (self loops are not allowed)"),
    (lambda: hamcycles.Graph(nx.Graph([(0, 1), (1, 1)])), ValueError,
     "node 1 is joined to itself (self loops are not allowed)"),
    (lambda: hamcycles.Graph([([1], 2)]), TypeError, "node labels must be hashable; [1] is a list"),
    (lambda: hamcycles.Graph({"a": 5}), TypeError, "the neighbours of node 'a' must be an iterable of nodes, not 5"),
    (lambda: hamcycles.Graph([(1, 2, 3)]), TypeError, "edge 0 must be a pair of nodes, not (1, 2, 3)"),
    (lambda: hamcycles.Graph([7]), TypeError, "edge 0 must be a pair of nodes, not 7"),
    (lambda: hamcycles.Graph([(1, 2)], nodes=[1]), ValueError, "edge 0 (1, 2): 2 is not a node of the graph"),
    (lambda: hamcycles.Graph([(1, 2)], nodes=[1, 2, 1]), ValueError, "node 1 is listed twice"),
    (lambda: hamcycles.Graph(nx.DiGraph([(0, 1)])), ValueError,
     "the graph is directed; hamcycles decides undirected graphs: pass G.to_undirected()"),
    (lambda: hamcycles.Graph(nx.path_graph(3)).degree(7), ValueError, "7 is not a node of the graph"),
    (lambda: hamcycles.knight(8.5, 8), TypeError, "rows must be an integer, not 8.5"),
    (lambda: hamcycles.knight(8, 2), ValueError, "The board must have at least 4 columns."),
    (lambda: hamcycles.regular(9, 3), ValueError,
     "No 3-regular graph on 9 nodes exists: the number of nodes times the degree must be even."),
    (lambda: hamcycles.generalized_petersen(5, 3), ValueError, "GP(N, K) needs 1 <= K < N/2 (here K must be 1..2)"),
    (lambda: hamcycles.regular(10, 3, seed=-1), ValueError, "seed must be in 0..4294967295, not -1"),
])
def test_bad_objects_get_one_clear_error(make, error, message):
    with pytest.raises(error) as caught:
        make()
    assert str(caught.value) == message and isinstance(caught.value, hamcycles.Error)


def test_generators_build_the_families():
    for graph, nodes, edges in [(hamcycles.knight(8, 8), 64, 168), (hamcycles.petersen(), 10, 15),
                                (hamcycles.torus(3, 4), 12, 24), (hamcycles.complete(5), 5, 10),
                                (hamcycles.ncube(3), 8, 12), (hamcycles.iccs(2), 28, None),
                                (hamcycles.generalized_petersen(7, 2), 14, 21)]:
        assert (len(graph), graph.edge_count if edges else None) == (nodes, edges)
    # The same seed gives the same random graph.
    assert hamcycles.regular(30, 3, seed=4).edges == hamcycles.regular(30, 3, seed=4).edges
    assert hamcycles.random_edges(20, 30, seed=1).edge_count == 30
