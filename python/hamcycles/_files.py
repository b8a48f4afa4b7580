"""Graph files, in every format of the command line, chosen by the path's extension:
read and write .txt (adjacency text), .hcp (TSPLIB), .g6 (graph6), .s6 (sparse6),
.col/.dimacs (DIMACS), .edges/.el (edge lists); read only .obj (mesh) and .g (the
workbench's drawings). .g6 and .s6 files hold one graph per line. Files of more than
1 GiB, folders, devices and pipes are refused. Errors are hamcycles.FileError, an OSError,
with the reader's one-line message ("petersen.txt: line 3: ...").
"""
from __future__ import annotations

from typing import Any, Iterator, Optional

from . import _args, _hamcycles
from ._graph import Graph, as_graph


def read(path: Any, *, base: int = 0) -> Graph:
    """The graph in the file (of a .g6/.s6 file, its first graph), nodes 0 .. n-1.
    base: the first node number of .edges/.el files (0 or 1)."""
    return Graph._wrap(_hamcycles.read(_args.path(path), _args.base(base)))


class GraphReader(Iterator[Graph]):
    """The graphs of a file one at a time, so a .g6 file of millions of graphs is never held
    in memory at once. A faulty graph raises FileError naming its line; calling next() again
    goes on with the graph after it."""

    def __init__(self, path: Any, *, base: int = 0) -> None:
        self._reader = _hamcycles.CoreReader(_args.path(path), _args.base(base))

    def __iter__(self) -> "GraphReader":
        return self

    def __next__(self) -> Graph:
        core = self._reader.next()
        if core is None:
            raise StopIteration
        return Graph._wrap(core)


def read_all(path: Any, *, base: int = 0) -> GraphReader:
    """An iterator over the graphs of the file (see GraphReader)."""
    return GraphReader(path, base=base)


def write(G: Any, path: Any, *, name: Optional[str] = None, base: int = 0) -> None:
    """Writes G in the format of the path's extension, through a temporary file renamed into
    place (a failed write leaves an earlier file as it was).

    The file keeps no labels: node i of the file is G's i-th node (Graph(G).nodes[i]), and
    read() gives the nodes back as 0 .. n-1. To keep labels, save Graph(G).nodes beside the
    file and map them back: dict(enumerate(labels)) with networkx.relabel_nodes. name: where
    the format keeps one (default: the graph's name, else the file's stem). base: the first
    node number of .edges/.el files."""
    graph = as_graph(G)
    _hamcycles.write(graph._core, _args.path(path), _args.name_of(name), _args.base(base))
