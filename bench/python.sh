#!/usr/bin/env bash
# The Python module's throughput and overhead. (1) Every connected cubic graph on N nodes
# (default 16: 4,060 graphs, by nauty's geng) decided with hamcycles.solve through Python,
# against `hamcycles-cli solve FILE.g6 --json` on the same file; the module's overhead per
# graph is the Python loop's time per graph less the engine's own seconds (Result.seconds),
# and the Python layer's share of it is that loop less the bare compiled call. Both must
# find the same counts. (2) Converting a NetworkX graph of EDGES edges (default 1,000,000)
# into the engine: integer labels, string labels, and the same edges as a plain list; back
# with Graph.to_networkx(); and how soon Ctrl-C ends such a conversion. (3) Time limits:
# solve on a random cubic graph of STOP_NODES nodes and schc on the Petersen graph (which it
# never decides) with time_limit=LIMIT, three runs each: the wall time of the call and the
# Result's seconds, each over the limit (aim: within 0.1 s on an idle machine).
#
#   bench/python.sh [BUILD]        BUILD defaults to build (the module in BUILD/python)
#   env: NODES=16  EDGES=1000000  SEED=1  LIMIT=1  STOP_NODES=1000000
source "$(dirname "$0")/lib.sh"
build="${1:-$here/../build}"
cli="$build/cli/hamcycles-cli"
nodes="${NODES:-16}"
edges="${EDGES:-1000000}"
seed="${SEED:-1}"
limit="${LIMIT:-1}"
stop_nodes="${STOP_NODES:-1000000}"
python=$(sed -n 's/^Python3_EXECUTABLE:[A-Z]*=//p' "$build/CMakeCache.txt" 2>/dev/null || true)
if [[ ! -x "$cli" || ! -d "$build/python/hamcycles" || -z "$python" ]]; then
  echo "python.sh: build the targets hamcycles-cli and hamcycles_python in $build first" >&2
  exit 1
fi
need_nauty
scratch
graphs="$work/cubic$nodes.g6"
nauty-geng -q -c -d3 -D3 "$nodes" >"$graphs"

start=$(date +%s.%N)
"$cli" solve "$graphs" --json --seed "$seed" >"$work/cli.jsonl"
end=$(date +%s.%N)
cli_count=$(tail -n 1 "$work/cli.jsonl" | sed -E 's/.*"hamiltonian":([0-9]+),"non-hamiltonian":([0-9]+),"undecided":([0-9]+).*/\1 \2 \3/')
cli_rate=$(tail -n 1 "$work/cli.jsonl" | sed -E 's/.*"graphsPerSecond":([0-9.e+]+).*/\1/')
printf 'cli     %6d graphs  %6.3f s wall  %8.0f graphs/s (in the loop)  counts %s\n' \
  "$(wc -l <"$graphs")" "$(echo "$end - $start" | bc)" "$cli_rate" "$cli_count"

PYTHONPATH="$build/python" "$python" - "$graphs" "$edges" "$seed" "$cli_count" "$limit" "$stop_nodes" <<'PY'
import gc, os, random, signal, statistics, sys, threading, time
import hamcycles
from hamcycles import _hamcycles

path, edge_total, seed, cli_count = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4]
limit, stop_nodes = float(sys.argv[5]), int(sys.argv[6])
start = time.perf_counter()
graphs = list(hamcycles.read_all(path))
read = time.perf_counter() - start

def loop(call):
    start = time.perf_counter()
    out = [call(g) for g in graphs]
    return time.perf_counter() - start, out

# The best of five of each, interleaved: the machine is shared.
python = bare = float("inf")
for _ in range(5):
    seconds, results = loop(lambda g: hamcycles.solve(g, seed=seed))
    python = min(python, seconds)
    bare = min(bare, loop(lambda g: _hamcycles.run("solve", g._core, None, 0.0, seed, None, {"threads": 4}, "", None))[0])
engine = sum(r.seconds for r in results)
n = len(graphs)
counts = " ".join(str(sum(r.verdict == v for r in results)) for v in ("hamiltonian", "non-hamiltonian", "undecided"))
print(f"python  {n:6d} graphs  {python:6.3f} s solve   {n / python:8.0f} graphs/s "
      f"({n / (python + read):.0f} with reading)  counts {counts}")
print(f"per graph: {python / n * 1e6:.1f} us through Python, engine {engine / n * 1e6:.1f} us, "
      f"overhead {(python - engine) / n * 1e6:.1f} us, of which the Python layer {(python - bare) / n * 1e6:.1f} us")
if counts != cli_count:
    sys.exit(f"MISMATCH: the module counts {counts}, the command line {cli_count}")

try:
    import networkx as nx
except ImportError:
    sys.exit("python.sh: NetworkX is not installed (Debian package python3-networkx)")
rng = random.Random(seed)
order = max(10, edge_total // 5)
pairs = set()
while len(pairs) < edge_total:
    a, b = rng.randrange(order), rng.randrange(order)
    if a != b:
        pairs.add((min(a, b), max(a, b)))
G = nx.Graph()
G.add_nodes_from(range(order))
G.add_edges_from(pairs)
named = nx.relabel_nodes(G, {i: f"v{i}" for i in range(order)})
edge_list = list(G.edges)
del pairs
for label, data in (("NetworkX, integer labels", G), ("NetworkX, string labels", named), ("edge list", edge_list)):
    seconds = float("inf")
    for _ in range(3):  # the best of three
        gc.collect()
        start = time.perf_counter()
        graph = hamcycles.Graph(data)
        seconds = min(seconds, time.perf_counter() - start)
        assert graph.edge_count == edge_total
        del graph
    print(f"convert {edge_total} edges on {order} nodes, {label}: {seconds:.3f} s")

graph = hamcycles.Graph(named)
times = []
for _ in range(5):
    gc.collect()
    start = time.perf_counter()
    back = graph.to_networkx()
    # the first allocation after it, where a collection it left behind would fall
    first = [[] for _ in range(10)]
    times.append(time.perf_counter() - start)
    assert back.number_of_edges() == edge_total
    del back, first
times.sort()
print(f"to_networkx {edge_total} edges, string labels: median {times[2]:.3f} s, worst {times[-1]:.3f} s (of 5)")

# Ctrl-C 50 ms into a conversion: how long until KeyboardInterrupt comes out of it. The signal
# comes from the kernel's timer (SIGALRM, handled as Ctrl-C is), as a key press would: a
# Python thread could not send it while the conversion holds the GIL.
def interrupt(*_):
    raise KeyboardInterrupt
signal.signal(signal.SIGALRM, interrupt)
late = []
for data in (G, named):
    start = time.perf_counter()
    try:
        signal.setitimer(signal.ITIMER_REAL, 0.05)
        hamcycles.Graph(data)
        late.append("converted first")
        time.sleep(1)  # the signal lands here
    except KeyboardInterrupt:
        if late and late[-1] == "converted first":
            continue
        late.append(f"{time.perf_counter() - start - 0.05:.3f} s")
print("Ctrl-C 50 ms into a conversion (integer, string labels): KeyboardInterrupt after", ", ".join(late))
del G, named, graph, edge_list
gc.collect()

# Time limits: how far past the limit a run returns.
hard = hamcycles.regular(stop_nodes, 3, seed=seed)
for name, call in (("solve", lambda: hamcycles.solve(hard, time_limit=limit, seed=seed)),
                   ("schc", lambda: hamcycles.schc(hamcycles.petersen(), time_limit=limit, seed=seed))):
    walls, reported, stops = [], [], set()
    for _ in range(3):
        start = time.perf_counter()
        result = call()
        walls.append(time.perf_counter() - start - limit)
        reported.append(result.seconds - limit)
        stops.add(result.stopped)
    print(f"time_limit={limit:g} {name}: past the limit by median {statistics.median(walls):+.3f} s, worst "
          f"{max(walls):+.3f} s (call); Result.seconds {statistics.median(reported):+.3f} s; stopped {sorted(stops)}")
PY
