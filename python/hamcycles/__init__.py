"""hamcycles: does an undirected graph have a Hamiltonian cycle (a cycle through every node
exactly once)? The engine of the Hamiltonian Cycles workbench, from Python.

    >>> import hamcycles, networkx as nx
    >>> hamcycles.solve(nx.petersen_graph()).verdict
    'non-hamiltonian'
    >>> G = nx.relabel_nodes(nx.cycle_graph(5), dict(enumerate("abcde")))
    >>> hamcycles.hamiltonian_cycle(G)
    ['a', 'b', 'c', 'd', 'e']

Graphs: anything graph-like (a NetworkX graph, an edge list, an adjacency dict, a Graph),
with any hashable node labels, which every answer keeps. Deciding: solve, schc, cohc (a
Result), hamiltonian_cycle, is_hamiltonian; checking: verify, cycle_fault (cycles), check,
certificate_fault (certificates that a graph has no Hamiltonian cycle). Files: read,
read_all, write. Generators: knight, torus, petersen, generalized_petersen, complete, ncube,
iccs, regular, random_edges, edge_probability, sat_reduction.

Errors: every error of the package's own is a hamcycles.Error, and also the built-in kind
it always was: InputError (a ValueError) for a bad graph or parameter, InputTypeError (a
TypeError) for an object of the wrong kind, FileError (an OSError) for files, UndecidedError
(a TimeoutError) when a function that must decide runs out of time.

A run releases the GIL. Ctrl-C stops every run of the process (the main thread's raises
KeyboardInterrupt); a Cancel handle, passed as cancel= to any number of runs, stops them
from any thread.
"""
from ._hamcycles import Cancel, Error, FileError, InputError, InputTypeError, Progress
from ._hamcycles import version as _version
from ._files import GraphReader, read, read_all, write
from ._generators import (complete, edge_probability, generalized_petersen, iccs, knight, ncube, petersen,
                          random_edges, regular, sat_reduction, torus)
from ._graph import Graph
from ._runs import (DepthFigures, Result, UndecidedError, certificate_fault, check, cohc, cycle_fault,
                    hamiltonian_cycle, is_hamiltonian, schc, solve, verify)

__version__: str = _version()
for _type in (Cancel, Progress):
    _type.__module__ = __name__
del _type

__all__ = [
    "Graph", "Result", "DepthFigures", "Progress", "Cancel", "GraphReader",
    "Error", "InputError", "InputTypeError", "FileError", "UndecidedError",
    "solve", "schc", "cohc", "hamiltonian_cycle", "is_hamiltonian", "verify", "cycle_fault", "check",
    "certificate_fault",
    "read", "read_all", "write",
    "knight", "torus", "petersen", "generalized_petersen", "complete", "ncube", "iccs", "regular",
    "random_edges", "edge_probability", "sat_reduction",
]
