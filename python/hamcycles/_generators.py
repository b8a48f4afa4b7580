"""The graph families of the workbench, with nodes 0 .. n-1. Each checks its parameters as
the Graph Generation page does (ValueError with the same message) and refuses graphs beyond
10,000,000 nodes or 50,000,000 edges before building anything. The random families take a
seed: the same seed gives the same graph as ``hamcycles-cli generate ... --seed S``; without
one a seed is drawn."""
from __future__ import annotations

from typing import Optional

from . import _args, _hamcycles
from ._graph import Graph


def knight(rows: int, columns: int) -> Graph:
    """The knight's moves on a rows x columns board (rows >= 1, columns >= 4)."""
    return Graph._wrap(_hamcycles.knight(_args.integer("rows", rows), _args.integer("columns", columns)))


def torus(rows: int, columns: int) -> Graph:
    """The rows x columns toroidal grid (rows, columns >= 3)."""
    return Graph._wrap(_hamcycles.torus(_args.integer("rows", rows), _args.integer("columns", columns)))


def petersen() -> Graph:
    """The Petersen graph GP(5, 2): cubic, 10 nodes, no Hamiltonian cycle."""
    return Graph._wrap(_hamcycles.petersen())


def generalized_petersen(n: int, k: int) -> Graph:
    """GP(n, k): an outer n-cycle, spokes, inner edges i - (i + k) mod n (n >= 3,
    1 <= k < n / 2). GP(n, 2) is non-Hamiltonian exactly when n = 5 (mod 6)."""
    return Graph._wrap(_hamcycles.generalized_petersen(_args.integer("n", n), _args.integer("k", k)))


def complete(nodes: int) -> Graph:
    """K_n (nodes >= 3)."""
    return Graph._wrap(_hamcycles.complete(_args.integer("nodes", nodes)))


def ncube(dimension: int) -> Graph:
    """The hypercube of the dimension (>= 2), 2**dimension nodes."""
    return Graph._wrap(_hamcycles.ncube(_args.integer("dimension", dimension)))


def iccs(components: int) -> Graph:
    """A ring of interconnected cut-set components of 14 nodes each (components >= 1);
    Hamiltonian, and hard for randomised methods."""
    return Graph._wrap(_hamcycles.iccs(_args.integer("components", components)))


def regular(nodes: int, degree: int, *, seed: Optional[int] = None) -> Graph:
    """A random degree-regular graph (nodes >= 3, 3 <= degree < nodes, nodes * degree even)."""
    return Graph._wrap(_hamcycles.regular(_args.integer("nodes", nodes), _args.integer("degree", degree),
                                          _args.seed(seed)))


def random_edges(nodes: int, edges: int, *, seed: Optional[int] = None) -> Graph:
    """`edges` distinct random edges on `nodes` nodes (nodes >= 3)."""
    return Graph._wrap(_hamcycles.random_edges(_args.integer("nodes", nodes), _args.integer("edges", edges),
                                               _args.seed(seed)))


def edge_probability(nodes: int, probability: float, *, seed: Optional[int] = None) -> Graph:
    """Each pair of nodes joined with the probability (3 <= nodes <= 65536, 0 <= p <= 1)."""
    return Graph._wrap(_hamcycles.edge_probability(_args.integer("nodes", nodes),
                                                   _args.number("probability", probability), _args.seed(seed)))


def sat_reduction(variables: int, clause_multiplier: float, *, seed: Optional[int] = None) -> Graph:
    """The reduction graph of a random 3-SAT formula with `variables` variables and
    variables x clause_multiplier clauses: Hamiltonian exactly when it is satisfiable."""
    return Graph._wrap(_hamcycles.sat_reduction(_args.integer("variables", variables),
                                                _args.number("clause_multiplier", clause_multiplier),
                                                _args.seed(seed)))
