#!/usr/bin/env bash
# How fast `solve` and `schc` end when asked to on a large graph (by default a random cubic
# graph of 1,000,000 nodes): with --time-limit 1, and with Ctrl-C (SIGINT) sent 0.5, 1.5
# and 3 s after the start. For each run it prints when the graph was loaded (the run's
# start), when the stop was asked for, and how long after that the process was gone. A
# deadline's request time is the run's start plus the limit; the run's start is read off
# the report (the moment its JSON line arrived less the run's own "seconds"). A Ctrl-C that
# arrives while the file is still being read stops the reading: the report then has null
# "nodes" and "edges" and no run time, so its "loaded" column is when the process reported
# (SIGNALS="0.1 0.25" asks for such early stops).
#
#   bench/stop_latency.sh [CLI [GRAPH]]   CLI defaults to build/cli/hamcycles-cli; GRAPH to
#                                         a generated regular 1000000 3 --seed 1 (.txt)
#   env: COMMANDS="solve schc"  SIGNALS="0.5 1.5 3"  LIMIT=1  NODES=1000000 (of the generated graph)
source "$(dirname "$0")/lib.sh"
cli="${1:-$here/../build/cli/hamcycles-cli}"
graph="${2:-}"
commands="${COMMANDS:-solve schc}"
signals="${SIGNALS:-0.5 1.5 3}"
limit="${LIMIT:-1}"

need_cli "$cli"
scratch
if [[ -z "$graph" ]]; then
  graph="$work/cubic${NODES:-1000000}.txt"
  "$cli" generate regular "${NODES:-1000000}" 3 --seed 1 --output "$graph" >/dev/null
fi

python3 - "$cli" "$graph" "$limit" "$commands" "$signals" <<'PY'
import json, signal, subprocess, sys, time

cli, graph, limit, commands, signals = sys.argv[1], sys.argv[2], float(sys.argv[3]), sys.argv[4].split(), sys.argv[5].split()

def run(command, extra, interrupt_at):
    start = time.monotonic()
    proc = subprocess.Popen([cli, command, graph, "--json", "--seed", "1"] + extra,
                            stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    sent = None
    if interrupt_at is not None:
        time.sleep(max(0.0, interrupt_at - (time.monotonic() - start)))
        if proc.poll() is None:
            proc.send_signal(signal.SIGINT)
            sent = time.monotonic() - start
    line = proc.stdout.readline()
    reported = time.monotonic() - start
    proc.wait()
    ended = time.monotonic() - start
    stderr = proc.stderr.read()
    try:
        report = json.loads(line)
    except ValueError:
        report = {}
    loaded = reported - float(report.get("seconds", 0.0))
    requested = sent if interrupt_at is not None else loaded + limit
    late = "  (the run ignored the stop: ended by the monitor)" if "did not stop within" in stderr else ""
    return loaded, requested, ended, report.get("stopped", "?"), late

print(f"{'command':8} {'request':16} {'loaded s':>9} {'asked at s':>11} {'exit s':>7} {'exit after ask s':>17}  stopped")
for command in commands:
    cases = [(f"--time-limit {limit:g}", ["--time-limit", f"{limit:g}"], None)]
    cases += [(f"SIGINT at {s}", [], float(s)) for s in signals]
    for label, extra, at in cases:
        loaded, requested, ended, stopped, late = run(command, extra, at)
        if requested is None:  # the run ended before the signal was due
            print(f"{command:8} {label:16} {loaded:9.3f} {'-':>11} {ended:7.3f} {'-':>17}  {stopped}")
            continue
        print(f"{command:8} {label:16} {loaded:9.3f} {requested:11.3f} {ended:7.3f} {ended - requested:17.3f}  {stopped}{late}")
PY
