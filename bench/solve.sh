#!/usr/bin/env bash
# Seconds to a decision with `hamcycles-cli solve`, per instance: the public instances in
# ../shared/peers-instances (or $PEERS) and generated ones (knight 4 x C, toroidal grids,
# ICCS, random cubic, GP(n, 2)). With PEER=1, nauty's cubhamg (exact cubic backtracking)
# runs beside it on the cubic graphs of up to 20,000 nodes. The last column is the best
# external solver's figure where one is known; the run ends with the geometric means of
# ours over it, for the Hamiltonian and the non-Hamiltonian cases.
#
#   bench/solve.sh [CLI]          CLI defaults to build/cli/hamcycles-cli
#   env: CAP=30 (seconds per run)  THREADS=4  SEED=1  CASES="knight4x40 torus100 ..."  PEER=0
source "$(dirname "$0")/lib.sh"
cli="${1:-$here/../build/cli/hamcycles-cli}"
cap="${CAP:-30}"
threads="${THREADS:-4}"
seed="${SEED:-1}"
peers="${PEERS:-$here/../../shared/peers-instances}"
[[ -d "$peers" ]] || peers="/work/shared/peers-instances"
default_cases="fhcp_graph1 fhcp_graph2 fhcp_graph100 tsplib_alb1000 tsplib_alb5000 a976_uniquely_hamiltonian
  knight4x10 knight4x40 knight4x640 knight8x8 knight50x50 torus50 torus70 torus100 iccs3 iccs50
  cubic10000 cubic1000000 gp23 gp29 gp35 gp47 gp59 gp1001 sat_unsat"
cases="${CASES:-$default_cases}"

need_cli "$cli"
scratch



# Seconds nauty's cubhamg takes on a cubic adjacency-text graph (converted to graph6).
peer_seconds() {
  local peer_cli
  peer_cli="$(command -v nauty-cubhamg || command -v cubhamg || true)"
  [[ -n "$peer_cli" ]] || { echo "-"; return; }
  python3 - "$1" "$work/peer.g6" <<'PY' || { echo "-"; return; }
import sys
rows = [list(map(int, l.split())) for l in open(sys.argv[1]) if l.strip()]
n = len(rows)
if n > 20000 or any(len(r) != 4 for r in rows): sys.exit(1)  # cubic, and a graph6 file of sane size
bits = []
for j in range(1, n):
    adj = set(rows[j][1:])
    bits.extend(1 if i in adj else 0 for i in range(j))
bits += [0] * (-len(bits) % 6)
def size(n):
    return chr(n + 63) if n < 63 else "~" + "".join(chr(((n >> s) & 63) + 63) for s in (12, 6, 0)) if n < 258048 else None
s = size(n)
if s is None: sys.exit(1)
out = s + "".join(chr(int("".join(map(str, bits[i:i + 6])), 2) + 63) for i in range(0, len(bits), 6))
open(sys.argv[2], "w").write(out + "\n")
PY
  local t0 t1
  t0=$(date +%s.%N)
  timeout "$cap" "$peer_cli" "$work/peer.g6" /dev/null >/dev/null 2>&1 || true
  t1=$(date +%s.%N)
  python3 -c "print(f'{$t1 - $t0:.3f}')"
}

# The best external solver's seconds per case, as measured on this machine (30 s caps);
# cases without a figure are left out of the ratios.
external_seconds() {
  case "$1" in
    torus100) echo 0.16 ;; iccs50) echo 0.003 ;; knight4x40) echo 0.3 ;; knight4x640) echo 22 ;;
    sat_unsat) echo 0.23 ;; gp23) echo 0.13 ;; gp29) echo 0.24 ;; gp35) echo 0.10 ;; gp47) echo 0.26 ;;
    gp59) echo 1.7 ;; cubic10000) echo 0.03 ;; tsplib_alb5000) echo 0.07 ;; *) echo - ;;
  esac
}
ratios="$work/ratios"
: >"$ratios"

printf '%-28s %8s %-16s %-20s %10s %10s %10s\n' "graph" "nodes" "verdict" "method" "seconds" "cubhamg" "external"
for name in $cases; do
  graph="$(bench_graph "$name")" || { printf '%-28s (not generated)\n' "$name"; continue; }
  json="$(timeout $((cap + 120)) "$cli" solve "$graph" --time-limit "$cap" --threads "$threads" --seed "$seed" --json 2>/dev/null || true)"
  peer="-"
  [[ "${PEER:-0}" == 1 ]] && peer="$(peer_seconds "$graph")"
  printf '%s\n' "$json" | python3 -c '
import json, sys
name, peer, external, ratios = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4]
try:
    j = json.loads(sys.stdin.read())
except Exception:
    print(f"{name:<28} (no result)"); sys.exit(0)
method = j.get("method") or "-"
nodes, verdict, seconds = j["nodes"], j["verdict"], j["seconds"]
print(f"{name:<28} {nodes:>8} {verdict:<16} {method:<20} {seconds:>10.3f} {peer:>10} {external:>10}")
if external != "-" and verdict != "undecided":
    kind = "finding" if verdict == "hamiltonian" else "proving"
    open(ratios, "a").write(f"{kind} {seconds / float(external)}\n")
' "$name" "$peer" "$(external_seconds "$name")" "$ratios"
done
# Geometric means of ours over the external figure, for finding and for proving (an
# undecided case has no ratio and is named in the table instead).
geometric_means "$ratios" external
