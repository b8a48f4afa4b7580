"""Deciding a graph: solve (the portfolio), schc (the Stone Carver) and cohc (the Co-HC proof
system), their common Result, the short forms hamiltonian_cycle and is_hamiltonian, and the
checks of what they return: verify for a cycle, check for a certificate (proof=) that a graph
has none.

A run holds no lock of Python's while the engine works, so other Python threads go on. Ctrl-C
stops every run of the process within a fraction of a second: the main thread's run raises
KeyboardInterrupt, a run on another thread returns undecided ("interrupted"). A Cancel handle
passed as cancel= stops the runs that hold it, from any thread.
"""
from __future__ import annotations

from typing import Any, Callable, Dict, Hashable, List, NamedTuple, Optional

from . import _args, _hamcycles
from ._graph import as_graph
from ._hamcycles import Cancel, Error, InputError, InputTypeError

ProgressCallback = Callable[["_hamcycles.Progress"], Any]

# The figures of a result under the command line's JSON keys, and the methods that list them.
_FIELDS = _hamcycles.result_fields()


class DepthFigures(NamedTuple):
    """One row of the Co-HC per-depth table."""

    depth: int
    started: int
    solved: int
    forced_edges: int  # at the last tree node reported at this depth
    longest_time: float  # seconds
    average_time: float  # seconds


class Result:
    """What a run found, with the figures of the command line's JSON report.

    verdict: "hamiltonian", "non-hamiltonian" or "undecided".
    cycle: with "hamiltonian", the nodes in cycle order in the caller's labels, starting at
        the first node (the edge back to it is implied), checked against the graph by an
        independent verifier; None otherwise.
    method: the part that decided ("exact search", "probability mill", "proof system", ...),
        None when undecided.
    seconds, seed (pass it back to replay a one-thread run), stopped ("decided", "time
    limit", "interrupted", "iteration limit", "search depth too shallow"), nodes, edges,
    iterations and best_percent_complete (schc), tree_nodes and deepest_depth (solve, cohc),
    depths (cohc: DepthFigures for depth 0 .. deepest started). With proof= (solve, cohc):
    certified (the certificate was written), proof (its file, else None) and
    certificate_note (with "non-hamiltonian" and no certificate: why not, else None).
    as_dict() gives the fields under the names of the command line's JSON.
    """

    __slots__ = ("command", "verdict", "cycle", "method", "seconds", "seed", "stopped", "nodes", "edges",
                 "iterations", "best_percent_complete", "tree_nodes", "deepest_depth", "depths", "certified",
                 "proof", "certificate_note", "_proof_asked")

    command: str  # "solve", "schc" or "cohc"
    verdict: str
    cycle: Optional[List[Hashable]]
    method: Optional[str]
    seconds: float
    seed: int
    stopped: str
    nodes: int
    edges: int
    iterations: int
    best_percent_complete: float
    tree_nodes: int
    deepest_depth: int
    depths: List[DepthFigures]
    certified: bool
    proof: Optional[str]
    certificate_note: Optional[str]
    _proof_asked: bool

    def __init__(self, command: str, nodes: int, edges: int, raw: _hamcycles.RawResult, proof: str = "") -> None:
        self.command = command
        self.nodes = nodes
        self.edges = edges
        (self.verdict, self.cycle, self.method, self.seconds, self.seed, self.stopped, self.iterations,
         self.best_percent_complete, self.tree_nodes, self.deepest_depth, depths, self.certified,
         self.certificate_note) = raw
        self.depths = [DepthFigures(*row) for row in depths]
        self.proof = proof if self.certified else None
        self._proof_asked = bool(proof)

    def as_dict(self) -> Dict[str, Any]:
        out: Dict[str, Any] = {"command": self.command, "verdict": self.verdict, "nodes": self.nodes,
                               "edges": self.edges, "seconds": self.seconds, "seed": self.seed}
        if self.cycle is not None:
            out["cycle"] = list(self.cycle)
        for key, name, methods in _FIELDS:
            if self.command in methods and getattr(self, name) is not None:
                out[key] = getattr(self, name)
        if self.command == "cohc":
            out["depths"] = [{"depth": d.depth, "started": d.started, "solved": d.solved,
                              "forcedEdges": d.forced_edges, "longestTime": d.longest_time,
                              "averageTime": d.average_time} for d in self.depths]
        if self._proof_asked:
            out.update(certified=self.certified, proof=self.proof)
        if self.certificate_note is not None:
            out["certificateNote"] = self.certificate_note
        return out

    def __repr__(self) -> str:
        cycle = "None" if self.cycle is None else f"[... {len(self.cycle)} nodes]"
        return (f"Result(verdict={self.verdict!r}, method={self.method!r}, seconds={self.seconds:.6g}, "
                f"seed={self.seed}, stopped={self.stopped!r}, cycle={cycle})")


class UndecidedError(Error, TimeoutError):
    """A run that had to decide (hamiltonian_cycle, is_hamiltonian) ended undecided: its time
    limit ran out or it was stopped. The run's Result is in ``.result``."""

    def __init__(self, result: Result) -> None:
        super().__init__(f"undecided after {result.seconds:.3g} s ({result.stopped})")
        self.result = result


def _run(method: str, G: Any, time_limit: Optional[float], seed: Optional[int],
         progress: Optional[ProgressCallback], proof: Any, cancel: Optional[Cancel], options: Dict[str, Any]) -> Result:
    """One run of `method` with its arguments checked; the options by their rows."""
    graph = as_graph(G)
    file = _args.proof(proof)
    raw = _hamcycles.run(method, graph._core, graph._labels, _args.time_limit(time_limit), _args.seed(seed),
                         _args.callback(progress), _args.options(method, options), file, _args.cancel(cancel))
    return Result(method, graph._core.node_count, graph._core.edge_count, raw, file)


@_args.takes_options("solve")
def solve(G: Any, *, time_limit: Optional[float] = None, seed: Optional[int] = None,
          progress: Optional[ProgressCallback] = None, proof: Any = None, cancel: Optional[Cancel] = None,
          **options: Optional[int]) -> Result:
    """Decides G with the portfolio (sound root rules, exact and frontier search, a rotation-
    extension finder, clause learning, the Probability Mill and, on small graphs, the Co-HC
    proof system) until one part decides or `time_limit` seconds pass (None: no limit).

    threads: in all (default: the machine's cores). seed: 0 .. 2**32 - 1; with one
    thread the same seed replays the same run (that of ``hamcycles-cli solve --seed``).
    progress: called about four times a second, on this thread, with a Progress (seconds,
    tree_nodes, depth); an exception it raises stops the run and is raised here. proof: a file
    (str or os.PathLike) for the certificate of a "non-hamiltonian" verdict, written only when
    it is complete (the Result's certified) and checked by check(G, proof); nodes are numbered
    in G's node order, as write() numbers them. Any other outcome leaves the file as it was. A
    path whose folder cannot take a new file (missing, not writable, /proc) raises FileError
    before the run. cancel: a Cancel handle; its cancel() ends the run undecided
    ("interrupted").
    """
    return _run("solve", G, time_limit, seed, progress, proof, cancel, options)


@_args.takes_options("schc")
def schc(G: Any, *, time_limit: Optional[float] = None, seed: Optional[int] = None,
         progress: Optional[ProgressCallback] = None, cancel: Optional[Cancel] = None,
         **options: Optional[int]) -> Result:
    """Runs the Stone Carver's randomised algorithm: initial pruning, then Probability Mill
    iterations until a verified cycle, `max_iterations` (None: the engine's own limit) or
    `time_limit`. It proves a graph non-Hamiltonian only through its initial
    pruning, so give it a limit on graphs that may have no cycle.

    threads: workers of the parallel mill (replay with a seed is exact with one). progress: as in solve, with
    iterations and best_percent_complete. cancel: as in solve.
    """
    return _run("schc", G, time_limit, seed, progress, None, cancel, options)


@_args.takes_options("cohc")
def cohc(G: Any, *, time_limit: Optional[float] = None, seed: Optional[int] = None,
         progress: Optional[ProgressCallback] = None, proof: Any = None, cancel: Optional[Cancel] = None,
         **options: Optional[int]) -> Result:
    """Runs the Co-HC proof system, a depth-first proof tree that decides either way, on one
    thread. max_depth: levels below the root (None or the highest: unlimited); a proof cut short
    by it ends undecided. A run stopped from outside never reports "non-hamiltonian". progress: as in
    solve, with tree_nodes and depth (the deepest so far). proof, cancel: as in solve.
    """
    return _run("cohc", G, time_limit, seed, progress, proof, cancel, options)


def hamiltonian_cycle(G: Any, *, time_limit: Optional[float] = None, threads: Optional[int] = None,
                      seed: Optional[int] = None, cancel: Optional[Cancel] = None) -> Optional[List[Hashable]]:
    """A Hamiltonian cycle of G in its labels (verified), or None when G has none (proved).
    Raises UndecidedError (a TimeoutError) when `time_limit` runs out first or the run is
    cancelled."""
    result = solve(G, time_limit=time_limit, threads=threads, seed=seed, cancel=cancel)
    if result.verdict == "undecided":
        raise UndecidedError(result)
    return result.cycle


def is_hamiltonian(G: Any, *, time_limit: Optional[float] = None, threads: Optional[int] = None,
                   seed: Optional[int] = None, cancel: Optional[Cancel] = None) -> bool:
    """Whether G has a Hamiltonian cycle, decided by solve. Raises UndecidedError (a
    TimeoutError) when `time_limit` runs out first or the run is cancelled."""
    result = solve(G, time_limit=time_limit, threads=threads, seed=seed, cancel=cancel)
    if result.verdict == "undecided":
        raise UndecidedError(result)
    return result.verdict == "hamiltonian"


def cycle_fault(G: Any, cycle: Any) -> Optional[str]:
    """None when `cycle` (node labels in cycle order, the edge back to the first implied; the
    first node may also be repeated at the end, as NetworkX's traveling-salesman functions
    return a cycle) is a Hamiltonian cycle of G, else the first thing wrong with it ("node
    'c' is visited twice")."""
    graph = as_graph(G)
    if isinstance(cycle, (str, bytes)) or not hasattr(cycle, "__iter__"):
        raise InputTypeError(f"a cycle must be an iterable of nodes, not {cycle!r}")
    ids = []
    for node in cycle:
        try:
            found = graph._find(node)
        except TypeError:
            found = -1
        if found < 0:
            return f"{node!r} is not a node of the graph"
        ids.append(found)
    if len(ids) == graph._core.node_count + 1 and len(ids) > 1 and ids[0] == ids[-1]:
        ids.pop()  # closed: the first node again at the end
    ok, fault = _hamcycles.verify(graph._core, ids)
    return None if ok or fault is None else graph._relabel_message(fault)


def verify(G: Any, cycle: Any) -> bool:
    """Whether `cycle` is a Hamiltonian cycle of G (see cycle_fault for the form and the reason)."""
    return cycle_fault(G, cycle) is None


def certificate_fault(G: Any, path: Any) -> Optional[str]:
    """None when the certificate in the file at `path` proves that G has no Hamiltonian cycle
    (nodes numbered in G's node order, as solve(G, proof=...) and write() number them), else
    the first failing line and why ("line 4 (contradiction): ..."). An independent checker
    reads the file; one that cannot be read raises FileError."""
    graph = as_graph(G)
    accepted, line, step, reason = _hamcycles.check(graph._core, _args.path(path))
    if accepted:
        return None
    return f"line {line}" + (f" ({step})" if step else "") + f": {reason}"


def check(G: Any, path: Any) -> bool:
    """Whether the certificate in the file at `path` proves that G has no Hamiltonian cycle
    (see certificate_fault for the numbering and the reason)."""
    return certificate_fault(G, path) is None
