#!/usr/bin/env python3
"""The external anchor of bench/structured.sh: the `cadical` command line with lazy subtour
clauses. One Boolean per edge, every node with exactly two chosen edges; each round runs
cadical on the formula, reads the model's 2-factor, and when it has several cycles adds
for each cycle C the clause "some edge leaving C is chosen", until one cycle through every
node (Hamiltonian) or UNSAT (not Hamiltonian). Each round starts cadical afresh.

  cadical_subtour.py GRAPH.txt [SECONDS]
      GRAPH.txt is adjacency text (one line per node: its id, then its neighbours).
      Prints "hamiltonian", "non-hamiltonian" or "undecided" (SECONDS, default 30, passed).
"""
import os
import signal
import subprocess
import sys
import tempfile
import time

from structured_graphs import adjacency  # beside this script


def read_graph(path):
    edges = {}
    n = 0
    with open(path) as f:
        for line in f:
            words = line.split()
            if not words:
                n += 1
                continue
            v = int(words[0])
            n = max(n, v + 1)
            for w in map(int, words[1:]):
                n = max(n, w + 1)
                key = (v, w) if v < w else (w, v)
                if key not in edges:
                    edges[key] = len(edges) + 1
    return n, edges


def exactly_two(lits, next_var, out):
    """Clauses saying exactly two of `lits` hold: direct for small degree, a sequential
    counter (counts 1..3) otherwise. Returns the next free variable."""
    d = len(lits)
    if d < 2:
        out.append("0\n")  # the empty clause: a node of degree below 2
        return next_var
    if d <= 5:
        from itertools import combinations
        for t in combinations(lits, 3):
            out.append(f"-{t[0]} -{t[1]} -{t[2]} 0\n")
        for skip in range(d):
            out.append(" ".join(str(x) for i, x in enumerate(lits) if i != skip) + " 0\n")
        return next_var
    # s[i][j]: at least j of the first i + 1 literals hold (j = 1, 2, 3).
    prev = None
    for i, x in enumerate(lits):
        cur = [next_var, next_var + 1, next_var + 2]
        next_var += 3
        for j in range(3):
            s = cur[j]
            below = prev[j - 1] if (prev is not None and j > 0) else None  # at least j-1 before
            same = prev[j] if prev is not None else None
            # upward: s <- same; s <- below & x (below is "true" for j == 0)
            if same is not None:
                out.append(f"-{same} {s} 0\n")
            if j == 0:
                out.append(f"-{x} {s} 0\n")
            elif below is not None:
                out.append(f"-{below} -{x} {s} 0\n")
            # downward: s -> same | (below & x)
            if j == 0:
                out.append(f"-{s} {same} {x} 0\n" if same is not None else f"-{s} {x} 0\n")
            elif below is None:
                out.append(f"-{s} 0\n")
            else:
                out.append(f"-{s} {same} {below} 0\n" if same is not None else f"-{s} {below} 0\n")
                out.append(f"-{s} {same} {x} 0\n" if same is not None else f"-{s} {x} 0\n")
        prev = cur
    out += [f"{prev[1]} 0\n", f"-{prev[2]} 0\n"]
    return next_var


def cycles_of(n, chosen):
    adjacent = adjacency(n, chosen)
    seen = [False] * n
    cycles = []
    for start in range(n):
        if seen[start]:
            continue
        cycle = [start]
        seen[start] = True
        prev, v = -1, start
        while True:
            nxt = next((w for w in adjacent[v] if w != prev and not seen[w]), None)
            if nxt is None:
                break
            seen[nxt] = True
            cycle.append(nxt)
            prev, v = v, nxt
        cycles.append(cycle)
    return cycles


def main():
    if len(sys.argv) not in (2, 3):
        raise SystemExit(__doc__)
    # The bench's `timeout` ends a run with SIGTERM: leave through the `finally` below, so
    # that the formula (hundreds of MB on large graphs) is removed and the solver it runs
    # does not go on beside the next program timed.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit("undecided"))
    deadline = time.monotonic() + (float(sys.argv[2]) if len(sys.argv) == 3 else 30.0)
    n, edges = read_graph(sys.argv[1])
    incident = [[] for _ in range(n)]
    for (a, b), var in edges.items():
        incident[a].append(var)
        incident[b].append(var)
    clauses = []
    next_var = len(edges) + 1
    for v in range(n):
        next_var = exactly_two(incident[v], next_var, clauses)
    by_var = {var: key for key, var in edges.items()}
    fd, cnf = tempfile.mkstemp(suffix=".cnf")
    os.close(fd)
    try:
        count = len(clauses)
        with open(cnf, "w") as f:
            f.write(f"p cnf {next_var - 1} {count}".ljust(48) + "\n")
            f.writelines(clauses)
        del clauses
        while True:
            left = deadline - time.monotonic()
            if left <= 0.05:
                print("undecided")
                return
            with subprocess.Popen(["cadical", "-q", "-t", str(max(1, int(left))), cnf], stdout=subprocess.PIPE,
                                  stderr=subprocess.DEVNULL, text=True) as solver:
                try:
                    stdout, _ = solver.communicate()
                finally:
                    if solver.poll() is None:
                        solver.kill()
            run = subprocess.CompletedProcess(solver.args, solver.returncode, stdout)
            if time.monotonic() > deadline:
                print("undecided")
                return
            if run.returncode == 20:
                print("non-hamiltonian")
                return
            if run.returncode != 10:
                print("undecided")
                return
            chosen = []
            for line in run.stdout.splitlines():
                if line.startswith("v "):
                    chosen += [by_var[x] for x in map(int, line[2:].split()) if 0 < x < len(edges) + 1]
            cycles = cycles_of(n, chosen)
            if len(cycles) == 1:
                print("hamiltonian")
                return
            where = [0] * n
            for k, cycle in enumerate(cycles):
                for v in cycle:
                    where[v] = k
            cuts = [[] for _ in cycles]
            for (a, b), var in edges.items():
                if where[a] != where[b]:
                    cuts[where[a]].append(var)
                    cuts[where[b]].append(var)
            with open(cnf, "r+") as f:
                count += len(cuts)
                f.write(f"p cnf {next_var - 1} {count}".ljust(48))
                f.seek(0, 2)
                f.writelines(" ".join(map(str, cut)) + " 0\n" for cut in cuts)
    finally:
        os.unlink(cnf)


if __name__ == "__main__":
    main()
