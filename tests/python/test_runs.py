"""Deciding graphs through the module: known answers with verified cycles in the caller's
labels, the results' figures, replay by seed, the errors of bad parameters, undecided runs,
progress callbacks and Ctrl-C."""
import inspect
import os
import re
import signal
import subprocess
import sys
import threading
import time
from concurrent.futures import ThreadPoolExecutor
from pathlib import Path

import networkx as nx
import pytest

import hamcycles
from hamcycles import _hamcycles

CYCLE5 = nx.relabel_nodes(nx.cycle_graph(5), dict(enumerate("abcde")))
K23 = [(0, 2), (0, 3), (0, 4), (1, 2), (1, 3), (1, 4)]


@pytest.mark.parametrize("name, graph, hamiltonian", [
    ("Petersen", hamcycles.petersen(), False),
    ("Petersen in NetworkX", nx.petersen_graph(), False),
    ("knight 8x8", hamcycles.knight(8, 8), True),
    ("knight 8x8 labelled by squares", nx.relabel_nodes(hamcycles.knight(8, 8).to_networkx(),
                                                        {i: "abcdefgh"[i % 8] + str(i // 8 + 1) for i in range(64)}),
     True),
    ("5-cycle with letters", CYCLE5, True),
    ("K(2,3) as an edge list", K23, False),
    ("4x4 grid, tuple labels", nx.grid_2d_graph(4, 4), True),
    ("3x3 grid (odd bipartite)", nx.grid_2d_graph(3, 3), False),
    ("adjacency dict of a square", {"n": ["e", "w"], "s": ["e", "w"]}, True),
    ("an isolated node", hamcycles.Graph([(0, 1), (1, 2), (2, 0)], nodes=[0, 1, 2, 3]), False),
    ("a single edge", [(0, 1)], False),
])
def test_known_answers_in_the_callers_labels(name, graph, hamiltonian):
    nodes = hamcycles.Graph(graph).nodes
    small = len(nodes) <= 20
    results = [hamcycles.solve(graph, seed=1)] + ([hamcycles.cohc(graph, seed=1)] if small else [])
    if hamiltonian:
        results.append(hamcycles.schc(graph, seed=1, time_limit=30))
    for result in results:
        assert result.verdict == ("hamiltonian" if hamiltonian else "non-hamiltonian"), result.command
        assert result.stopped == "decided" and result.method
        assert (result.nodes, result.seed) == (len(nodes), 1)
        if hamiltonian:
            assert sorted(map(repr, result.cycle)) == sorted(map(repr, nodes))
            assert result.cycle[0] == nodes[0]
            assert hamcycles.verify(graph, result.cycle)
        else:
            assert result.cycle is None
    assert hamcycles.is_hamiltonian(graph) == hamiltonian
    assert (hamcycles.hamiltonian_cycle(graph) is not None) == hamiltonian


def test_method_options_come_from_the_table_and_reach_the_run():
    assert "frontier_width: " in hamcycles.solve.__doc__ and "(1..14; None: 14)" in hamcycles.solve.__doc__
    assert list(inspect.signature(hamcycles.cohc).parameters)[:4] == ["G", "level", "max_depth", "minimal"]
    for width in (1, 3):
        assert hamcycles.solve(hamcycles.petersen(), frontier_width=width, threads=1).verdict == "non-hamiltonian"


def test_results_carry_the_figures_of_the_json_report():
    mill = hamcycles.schc(hamcycles.knight(8, 8), seed=3)
    assert mill.iterations >= 1 and mill.best_percent_complete == 100.0 and mill.method == "probability mill"
    assert set(mill.as_dict()) == {"command", "verdict", "nodes", "edges", "seconds", "seed", "cycle", "method",
                                   "iterations", "bestPercentComplete", "stopped"}
    proof = hamcycles.cohc(hamcycles.petersen(), level=5, minimal=True).as_dict()
    assert (proof["verdict"], proof["method"], proof["depths"][0]["depth"]) == ("non-hamiltonian", "proof system", 0)
    assert {"treeNodes", "deepestDepth", "depths"} <= set(proof) and "cycle" not in proof
    # A drawn seed is reported, and passing it back replays the run; an edge listed twice
    # changes nothing.
    drawn = hamcycles.schc(hamcycles.knight(8, 8))
    assert hamcycles.schc(hamcycles.knight(8, 8), seed=drawn.seed).cycle == drawn.cycle
    edges = hamcycles.knight(6, 6).edges
    assert (hamcycles.schc(edges + [(b, a) for a, b in edges], seed=9).cycle ==
            hamcycles.schc(edges, seed=9).cycle)


@pytest.mark.parametrize("cycle, fault", [
    (list("abcde"), None),
    (list("edcba"), None),
    (list("abcdd"), "node 'd' is visited twice"),
    (list("abdce"), "'b'-'d' is not an edge of the graph"),
    (list("abcd"), "the cycle has 4 nodes, the graph 5"),
    (list("abcdz"), "'z' is not a node of the graph"),
    (list("abcdea"), None),  # closed, as NetworkX's traveling-salesman functions return cycles
    (list("abcdeb"), "the cycle has 6 nodes, the graph 5"),
    ([*"abcd", ["e"]], "['e'] is not a node of the graph"),
])
def test_verify_names_the_first_fault_in_labels(cycle, fault):
    assert hamcycles.cycle_fault(CYCLE5, cycle) == fault
    assert hamcycles.verify(CYCLE5, cycle) == (fault is None)


@pytest.mark.parametrize("call, error, message", [
    (lambda: hamcycles.solve(CYCLE5, threads=-1), ValueError, "threads must be in 1..256, not -1"),
    (lambda: hamcycles.solve(CYCLE5, threads="4"), TypeError, "threads must be an integer, not '4'"),
    (lambda: hamcycles.solve(CYCLE5, time_limit=0), ValueError,
     "time_limit must be a number of seconds in (0, 1e9] or None (no limit), not 0"),
    (lambda: hamcycles.solve(CYCLE5, time_limit="1"), TypeError, "time_limit must be a number of seconds or None, not '1'"),
    (lambda: hamcycles.solve(CYCLE5, seed=2**32), ValueError, "seed must be in 0..4294967295, not 4294967296"),
    (lambda: hamcycles.solve(CYCLE5, progress=3), TypeError, "progress must be a function of one argument or None, not 3"),
    (lambda: hamcycles.solve(CYCLE5, 10), TypeError, None),
    (lambda: hamcycles.schc(CYCLE5, version=8), ValueError, "version must be 3, 4, 5, 6, 7, 12 or 13, not 8"),
    (lambda: hamcycles.schc(CYCLE5, max_iterations=0), ValueError, "max_iterations must be in 1..100000000, not 0"),
    (lambda: hamcycles.cohc(CYCLE5, level=7), ValueError, "level must be in 0..6, not 7"),
    (lambda: hamcycles.solve(CYCLE5, frontier_width=15), ValueError, "frontier_width must be in 1..14, not 15"),
    (lambda: hamcycles.solve(CYCLE5, frontierWidth=3), TypeError, "solve() got an unexpected keyword argument 'frontierWidth'"),
    # The library checks the options it is given by name once more, in its own words.
    (lambda: _hamcycles.run("solve", hamcycles.petersen()._core, None, 0.0, 1, None, {"frontierWidth": 15}, "", None),
     ValueError, "frontierWidth must be in 1..14, not 15"),
    (lambda: hamcycles.cohc(CYCLE5, minimal=1), TypeError, "minimal must be True or False, not 1"),
    (lambda: hamcycles.verify(CYCLE5, 5), TypeError, "a cycle must be an iterable of nodes, not 5"),
    (lambda: hamcycles.solve(CYCLE5, proof=""), ValueError, "proof must name a file, not ''"),
    (lambda: hamcycles.cohc(CYCLE5, proof="/no/such/folder/p.proof"), hamcycles.FileError,
     "/no/such/folder/p.proof: folder /no/such/folder does not exist"),
    (lambda: hamcycles.check(CYCLE5, "/no/such.proof"), hamcycles.FileError, "/no/such.proof: no such file"),
    # A folder that cannot take a new file is refused before the run, whatever the permissions say.
    (lambda: hamcycles.solve(CYCLE5, proof="/proc/version"), hamcycles.FileError,
     "/proc/version: folder /proc is not writable"),
    (lambda: hamcycles.solve(CYCLE5, cancel=True), TypeError, "cancel must be a hamcycles.Cancel or None, not True"),
])
def test_bad_parameters_get_one_clear_error(call, error, message):
    with pytest.raises(error) as caught:
        call()
    # The module's own errors share one base, beside the built-in kind.
    assert message is None or (str(caught.value) == message and isinstance(caught.value, hamcycles.Error))


def test_undecided_runs():
    # A limit far shorter than the run: undecided, and the functions that must decide raise.
    graph = hamcycles.iccs(300)
    assert hamcycles.solve(graph, time_limit=1e-6).stopped == "time limit"
    for must_decide in (hamcycles.hamiltonian_cycle, hamcycles.is_hamiltonian):
        with pytest.raises(hamcycles.UndecidedError) as caught:
            must_decide(graph, time_limit=1e-6)
        assert isinstance(caught.value, TimeoutError) and caught.value.result.verdict == "undecided"
        assert re.fullmatch(r"undecided after \S+ s \(time limit\)", str(caught.value))
    assert hamcycles.schc(hamcycles.petersen(), max_iterations=50).stopped == "iteration limit"
    assert hamcycles.cohc(hamcycles.generalized_petersen(11, 2), level=0, max_depth=0).verdict == "undecided"


def test_progress_is_reported_and_its_exceptions_stop_the_run():
    seen = []
    result = hamcycles.schc(hamcycles.petersen(), time_limit=0.8, progress=seen.append)
    assert result.stopped == "time limit" and seen and seen[-1].iterations > 0
    assert 0 < seen[-1].seconds <= result.seconds

    def stop(progress):
        raise RuntimeError(f"enough after {progress.iterations > 0}")

    with pytest.raises(RuntimeError, match="enough after True"):
        hamcycles.schc(hamcycles.petersen(), progress=stop)


@pytest.mark.parametrize("limits", [{}, {"time_limit": 600}, {"threads": 2}])
def test_ctrl_c_stops_a_run_and_raises_keyboard_interrupt(limits):
    # Petersen is non-Hamiltonian and the mill never proves it: without Ctrl-C this runs for
    # minutes. The timer thread only runs if the run has released the GIL. A shell's
    # background job starts with Ctrl-C ignored, so the test sets Python's own handler.
    previous = signal.signal(signal.SIGINT, signal.default_int_handler)
    try:
        ctrl_c_during_a_run(limits)
    finally:
        signal.signal(signal.SIGINT, previous)


def ctrl_c_during_a_run(limits):
    timer = threading.Timer(0.3, os.kill, (os.getpid(), signal.SIGINT))
    start = time.monotonic()
    timer.start()
    with pytest.raises(KeyboardInterrupt):
        hamcycles.schc(hamcycles.petersen(), **limits)
    assert time.monotonic() - start < 2.0
    timer.join()
    assert signal.getsignal(signal.SIGINT) is signal.default_int_handler
    # Off the main thread a run works as well (Python delivers Ctrl-C to the main thread only).
    answers = []
    worker = threading.Thread(target=lambda: answers.append(hamcycles.solve(hamcycles.petersen()).verdict))
    worker.start()
    worker.join()
    assert answers == ["non-hamiltonian"]


def test_ctrl_c_and_cancel_stop_runs_on_every_thread():
    # Two runs in worker threads: Ctrl-C stops both (the main thread gets KeyboardInterrupt);
    # a Cancel handle stops the runs that hold it, and every later one at once.
    previous = signal.signal(signal.SIGINT, signal.default_int_handler)
    try:
        with ThreadPoolExecutor(2) as pool:
            runs = [pool.submit(hamcycles.schc, hamcycles.petersen()) for _ in range(2)]
            threading.Timer(0.3, os.kill, (os.getpid(), signal.SIGINT)).start()
            with pytest.raises(KeyboardInterrupt):
                for run in runs:
                    run.result(timeout=5)
            assert [run.result(timeout=5).stopped for run in runs] == ["interrupted"] * 2
    finally:
        signal.signal(signal.SIGINT, previous)
    cancel = hamcycles.Cancel()
    with ThreadPoolExecutor(2) as pool:
        runs = [pool.submit(call, hamcycles.petersen(), cancel=cancel) for call in (hamcycles.schc, hamcycles.solve)]
        time.sleep(0.1)
        cancel.cancel()
        results = [run.result(timeout=5) for run in runs]
    assert [r.stopped for r in results[:1]] == ["interrupted"] and cancel.cancelled
    assert hamcycles.schc(hamcycles.petersen(), cancel=cancel).stopped == "interrupted"
    with pytest.raises(hamcycles.UndecidedError):
        hamcycles.hamiltonian_cycle(hamcycles.knight(8, 8), cancel=cancel)


def test_version_is_the_projects():
    cmake = (Path(__file__).parents[2] / "CMakeLists.txt").read_text()
    version = re.search(r"project\(HamiltonianCycles VERSION ([0-9.]+)", cmake).group(1)
    assert hamcycles.__version__ == version
    shown = subprocess.run([sys.executable, "-m", "hamcycles", "--version"], capture_output=True, text=True, check=True)
    assert shown.stdout == f"hamcycles {version}\n"
    helped = subprocess.run([sys.executable, "-m", "hamcycles", "--help"], capture_output=True, text=True, check=True)
    assert "(a cycle through every node exactly once)?" in " ".join(helped.stdout.split())


@pytest.mark.parametrize("run, graph, certified", [
    (hamcycles.solve, nx.relabel_nodes(nx.petersen_graph(), lambda v: f"v{v}"), True),
    (hamcycles.cohc, hamcycles.petersen(), True),
    (hamcycles.solve, CYCLE5, False),
])
def test_proof_files_hold_certificates_that_check_accepts(tmp_path, run, graph, certified):
    path = tmp_path / "g.proof"
    path.write_text("earlier\n")
    result = run(graph, proof=path)
    assert (result.certified, result.proof) == (certified, str(path) if certified else None)
    assert result.as_dict()["certified"] == certified
    assert hamcycles.check(graph, path) == certified
    if certified:  # against another graph the certificate fails at its graph line
        assert hamcycles.certificate_fault(nx.cycle_graph(10), path).startswith("line 2 (graph 10 15): ")
    else:  # any other verdict leaves the file as it was
        assert path.read_text() == "earlier\n"
        assert hamcycles.certificate_fault(graph, path) == \
            'line 1 (earlier): not a certificate (its first line is "hamcycles-certificate 1")'


@pytest.mark.parametrize("content, fault", [
    (b"", 'line 1: not a certificate (its first line is "hamcycles-certificate 1")'),
    # A byte that is not UTF-8 is quoted as the command line quotes it.
    (b"hamcycles-certificate 1\ngraph 5 5\nsplit 0 \xff\n", 'line 3 (split 0 \\xFF): "\\xFF" is not a number (node)'),
])
def test_malformed_certificates_are_rejected_at_their_line(tmp_path, content, fault):
    path = tmp_path / "bad.proof"
    path.write_bytes(content)
    assert hamcycles.check(CYCLE5, path) is False
    assert hamcycles.certificate_fault(CYCLE5, path) == fault
