"""The package's Graph, and the conversion of anything graph-like into one.

Nodes keep the caller's labels (any hashable objects); the engine numbers them 0 .. n-1 in
the order the caller's object lists them (G.nodes for a NetworkX graph, the keys for an
adjacency dict, first appearance for an edge list), and every answer is turned back into
labels. A graph whose labels are already 0 .. n-1 in that order carries no label list at
all, so a large NetworkX graph with integer nodes costs nothing extra to map back.
"""
from __future__ import annotations

import gc
import re
from collections.abc import Mapping
from typing import Any, Dict, Hashable, Iterable, Iterator, List, Optional, Tuple, cast

from . import _hamcycles
from ._hamcycles import InputError, InputTypeError

_WHAT = "a graph (a NetworkX graph, an edge list or an adjacency dict)"


class Graph:
    """A simple undirected graph whose nodes are any hashable labels. Immutable.

    Graph(data) takes anything graph-like: a NetworkX graph (or any object with ``.nodes``
    and ``.edges``; directed graphs are refused), an adjacency mapping ``{node: neighbours}``
    (an edge may be listed from one end or both), or an iterable of node pairs. With an edge
    list, ``nodes=`` lists the nodes, isolated ones included, in the order wanted. Self loops
    raise InputError (a ValueError), unhashable labels InputTypeError (a TypeError); an edge
    listed twice counts once. Ctrl-C stops a long conversion.

    Every function of the package that takes a graph accepts the same objects and converts
    them each time; convert once with Graph(data) to solve the same graph again and again.
    The generators and read() return Graphs whose nodes are 0 .. n-1. NetworkX takes a Graph
    as it takes its own graphs: ``networkx.Graph(graph)``, or faster ``graph.to_networkx()``.
    """

    __slots__ = ("_core", "_labels", "_index")

    def __init__(self, data: Any, nodes: Optional[Iterable[Hashable]] = None) -> None:
        core, labels = _convert(data, nodes)
        self._core = core
        self._labels: Optional[List[Hashable]] = labels
        self._index: Optional[dict] = None

    @classmethod
    def _wrap(cls, core: Any, labels: Optional[List[Hashable]] = None) -> "Graph":
        graph = cls.__new__(cls)
        graph._core = core
        graph._labels = labels
        graph._index = None
        return graph

    # -- size and name ------------------------------------------------------------------

    @property
    def node_count(self) -> int:
        return self._core.node_count

    @property
    def edge_count(self) -> int:
        return self._core.edge_count

    def __len__(self) -> int:
        return self._core.node_count

    @property
    def name(self) -> str:
        """The family and parameters of a generated graph, the file's name of one read from a
        file, else empty."""
        return self._core.name

    def __repr__(self) -> str:
        name = f" {self.name!r}" if self.name else ""
        return f"<hamcycles.Graph{name} with {self.node_count} nodes and {self.edge_count} edges>"

    # -- nodes and edges, in labels -----------------------------------------------------

    @property
    def nodes(self) -> "NodeList":
        """The labels, in the engine's order (a list; ``.items()`` pairs each with an empty
        attribute dict, as NetworkX's node view does)."""
        return NodeList(range(self.node_count) if self._labels is None else self._labels)

    def __iter__(self) -> Iterator[Hashable]:
        return iter(range(self.node_count) if self._labels is None else self._labels)

    def __contains__(self, node: object) -> bool:
        try:
            return self._find(node) >= 0
        except TypeError:
            return False

    @property
    def edges(self) -> List[Tuple[Hashable, Hashable]]:
        """Every edge once, in the engine's order (by the position of its ends)."""
        return self._labelled_pairs(self._core.edges())

    @property
    def forced_edges(self) -> List[Tuple[Hashable, Hashable]]:
        """Edges every reported cycle must use (only files that mark them have any)."""
        return self._labelled_pairs(self._core.forced_edges())

    def neighbors(self, node: Hashable) -> List[Hashable]:
        return self._labelled(self._core.neighbours(self._id(node)))

    def degree(self, node: Hashable) -> int:
        return self._core.degree(self._id(node))

    def has_edge(self, u: Hashable, v: Hashable) -> bool:
        try:
            a, b = self._find(u), self._find(v)
        except TypeError:
            return False
        return a >= 0 and b >= 0 and self._core.has_edge(a, b)

    def to_networkx(self) -> Any:
        """The same graph as a networkx.Graph (needs NetworkX), with the same node and edge order."""
        import networkx  # type: ignore[import]

        graph = networkx.Graph(name=self.name) if self.name else networkx.Graph()
        nodes, adjacency = self._networkx_dicts()
        graph._node.update(nodes)
        graph._adj.update(adjacency)
        return graph

    def _networkx_dicts(self) -> Tuple[Dict[Hashable, Dict[str, Any]], Dict[Hashable, Dict[Hashable, Dict[str, Any]]]]:
        # A dict per node and per edge: Python's cycle collector would walk all of them again
        # and again while they are made (most of the time of a large graph), and none of them
        # can be part of a cycle meanwhile. Made, they join the oldest generation at once, as
        # a long-lived graph's dicts would after a few collections, rather than costing a
        # walk of them all at the next allocation; not where the caller freezes objects, whose
        # permanent generation this must leave alone.
        collecting = gc.isenabled()
        gc.disable()
        try:
            dicts = _hamcycles.networkx_dicts(self._core, self._labels)
            if gc.get_freeze_count() == 0:
                gc.freeze()
                gc.unfreeze()
            return dicts
        finally:
            if collecting:
                gc.enable()

    # -- what networkx.Graph(graph) reads ------------------------------------------------

    @property
    def adj(self) -> Dict[Hashable, Dict[Hashable, Dict[str, Any]]]:
        """The adjacency as a dict of dicts, {node: {neighbour: {}}}, as NetworkX's ``G.adj``."""
        return self._networkx_dicts()[1]

    @property
    def graph(self) -> Dict[str, Any]:
        """The graph's attributes as NetworkX keeps them: its name, when it has one."""
        return {"name": self.name} if self.name else {}

    def is_directed(self) -> bool:
        return False

    def is_multigraph(self) -> bool:
        return False

    # -- labels <-> ids -----------------------------------------------------------------

    def _find(self, node: object) -> int:
        """The id of `node`, -1 when it is not a node; TypeError when it is unhashable."""
        labels = self._labels
        if labels is None and type(node) is int:
            return node if 0 <= node < self._core.node_count else -1
        index = self._index
        if index is None:
            source = range(self._core.node_count) if labels is None else labels
            index = self._index = {label: i for i, label in enumerate(source)}
        try:
            return index.get(node, -1)
        except TypeError:
            raise InputTypeError(f"node labels must be hashable; {node!r} is a {type(node).__name__}") from None

    def _id(self, node: Hashable) -> int:
        found = self._find(node)
        if found < 0:
            raise InputError(f"{node!r} is not a node of the graph")
        return found

    def _labelled(self, ids: List[int]) -> List[Hashable]:
        labels = self._labels
        return cast(List[Hashable], ids) if labels is None else [labels[i] for i in ids]

    def _labelled_pairs(self, pairs: List[Tuple[int, int]]) -> List[Tuple[Hashable, Hashable]]:
        labels = self._labels
        if labels is None:
            return cast(List[Tuple[Hashable, Hashable]], pairs)
        return [(labels[a], labels[b]) for a, b in pairs]

    def _relabel_message(self, message: str) -> str:
        """A message of the engine's verifier, which names nodes by id, in labels."""
        if self._labels is None:
            return message
        labels: List[Hashable] = self._labels
        show = lambda match: repr(labels[int(match.group(0))])  # noqa: E731
        message = re.sub(r"(?<=node )\d+", show, message)
        return re.sub(r"^\d+-\d+(?= is not an edge)", lambda m: "-".join(
            repr(labels[int(part)]) for part in m.group(0).split("-")), message)


class NodeList(List[Hashable]):
    """A graph's labels: a list, with NetworkX's ``nodes.items()`` (each label and an empty
    attribute dict), so that networkx.Graph() can read a Graph."""

    def items(self) -> Iterator[Tuple[Hashable, Dict[str, Any]]]:
        return ((node, {}) for node in self)


def as_graph(data: Any) -> Graph:
    """`data` as a Graph (itself when it is one)."""
    if type(data) is Graph:
        return data
    return Graph(data)


def _convert(data: Any, nodes: Optional[Iterable[Hashable]]) -> Tuple[Any, Optional[List[Hashable]]]:
    if isinstance(data, Graph):
        if nodes is not None:
            raise InputTypeError("nodes= goes with an edge list or an adjacency mapping, not a Graph")
        return data._core, data._labels
    if isinstance(data, (str, bytes, bytearray)):
        hint = " (to read a file, use hamcycles.read(path))" if isinstance(data, str) else ""
        raise InputTypeError(f"expected {_WHAT}, not a {type(data).__name__}{hint}")
    if nodes is not None and (isinstance(nodes, (str, bytes)) or not hasattr(nodes, "__iter__")):
        raise InputTypeError(f"nodes must be an iterable of node labels, not {nodes!r}")
    if isinstance(data, Mapping):
        return _hamcycles.graph_from_adjacency(data, nodes, False)
    if hasattr(data, "nodes") and hasattr(data, "edges"):
        if nodes is not None:
            raise InputTypeError("nodes= goes with an edge list or an adjacency mapping, not a graph object")
        directed = getattr(data, "is_directed", None)
        if callable(directed) and directed():
            raise InputError("the graph is directed; hamcycles decides undirected graphs: pass G.to_undirected()")
        # NetworkX keeps each node's neighbours in a dict of its own: reading those dicts
        # directly is several times faster than its edge view, and gives the same edges in
        # the same order.
        adjacency = getattr(data, "_adj", None)
        if type(adjacency) is dict:
            return _hamcycles.graph_from_adjacency(adjacency, data.nodes, True)
        return _hamcycles.graph_from_edges(data.edges, data.nodes)
    if not hasattr(data, "__iter__"):
        raise InputTypeError(f"expected {_WHAT}, not {data!r}")
    return _hamcycles.graph_from_edges(data, nodes)
