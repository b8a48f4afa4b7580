#!/usr/bin/env bash
# Whole-process seconds to a decision on graphs that `solve` was not tuned for, beside the
# external peers, each under the same cap:
#  - proving: a random cubic graph with one node replaced by the Petersen graph less a node
#    (3-edge cut), three cubic blobs hung between two nodes (not 1-tough), the flower snark
#    J_2501 (labels shuffled: bench/structured_graphs.py);
#  - finding: knight's graphs, dense G(n, p), random cubic and 4-regular graphs.
# Peers: bench/cadical_subtour.py (the `cadical` command line re-run with subtour clauses per
# round) on every graph, and nauty's cubhamg on the cubic ones within its size limit (sparse6
# on stdin). No Debian package offers a heuristic Hamiltonian cycle finder to add. Each row
# shows our time, each peer's, the best peer's, and ours over it; the run ends with the
# geometric means of that ratio, for proving and for finding. Times under 0.05 s count as
# 0.05 s on both sides (process start); a run that did not decide counts as the cap, so a
# ratio against a peer that never decides is an upper bound.
#
#   bench/structured.sh [CLI]     CLI defaults to build/cli/hamcycles-cli
#   env: CAP=30  THREADS=4  SEED=1  CASES="fragment1008 knight120 ..."  WORK=DIR (keeps the
#        generated graphs there, reused by later runs)  PEERS=1 (0: ours only)
source "$(dirname "$0")/lib.sh"
cli="${1:-$here/../build/cli/hamcycles-cli}"
cap="${CAP:-30}"
threads="${THREADS:-4}"
seed="${SEED:-1}"
run_peers="${PEERS:-1}"
default_cases="fragment1008 fragment10008 fragment100008 blobs100 blobs1000 blobs10000 blobs30000 snark2501
  knight100 knight120 knight200 gnp2000 gnp3000 cubic10000 quartic100000
  cubic200000 cubic300000 cubic500000 cubic1000000"
cases="${CASES:-$default_cases}"

need_cli "$cli"
if [[ -n "${WORK:-}" ]]; then
  work="$WORK"
  mkdir -p "$work"
else
  work="$(mktemp -d)"
  trap 'rm -rf "$work"' EXIT
fi
gen="$here/structured_graphs.py"

# Writes the graph of a case to $work/NAME.txt unless it is there; prints its path.
graph_of() {
  local name="$1" path="$work/$1.txt"
  if [[ ! -s "$path" ]]; then
    case "$name" in
      fragment*) python3 "$gen" fragment "${name#fragment}" "$path" "$seed" ;;
      blobs*) python3 "$gen" blobs "${name#blobs}" "$path" "$seed" ;;
      snark*) python3 "$gen" snark "${name#snark}" "$path" "$seed" ;;
      knight*) python3 "$gen" knight "${name#knight}" "$path" "$seed" ;;
      gnp2000) python3 "$gen" gnp 2000 "$path" "$seed" 0.3 ;;
      gnp3000) python3 "$gen" gnp 3000 "$path" "$seed" 0.2 ;;
      cubic*) python3 "$gen" cubic "${name#cubic}" "$path" "$seed" ;;
      quartic*) python3 "$gen" quartic "${name#quartic}" "$path" "$seed" ;;
      *) echo "structured.sh: unknown case $name" >&2; return 1 ;;
    esac
  fi
  echo "$path"
}

now() { date +%s.%N; }
elapsed() { python3 -c "print(f'{$2 - $1:.3f}')"; }

# Each runner prints "SECONDS VERDICT" (VERDICT: hamiltonian, non-hamiltonian, undecided).
run_ours() {
  local t0 t1 verdict
  t0=$(now)
  timeout $((cap + 5)) "$cli" solve "$1" --time-limit "$cap" --threads "$threads" --seed "$seed" \
    --json --no-progress >"$work/ours.json" 2>/dev/null || true
  t1=$(now)
  verdict="$(python3 -c 'import json, sys
try:
    print(json.load(open(sys.argv[1]))["verdict"])
except Exception:
    print("undecided")' "$work/ours.json")"
  echo "$(elapsed "$t0" "$t1") $verdict"
}
run_cadical() {
  local t0 t1 verdict
  t0=$(now)
  verdict="$(timeout $((cap + 2)) python3 "$here/cadical_subtour.py" "$1" "$cap" 2>/dev/null || echo undecided)"
  t1=$(now)
  echo "$(elapsed "$t0" "$t1") ${verdict:-undecided}"
}
# cubhamg on a cubic graph only ("- -" otherwise); the sparse6 conversion is not timed.
run_cubhamg() {
  local peer s6="$work/peer.s6" t0 t1 out
  peer="$(command -v nauty-cubhamg || command -v cubhamg || true)"
  if [[ -z "$peer" ]] || awk 'NF != 4 { bad = 1; exit } END { exit !bad }' "$1"; then
    echo "- -"
    return
  fi
  "$cli" convert "$1" "$s6" >/dev/null 2>&1 || { echo "- -"; return; }
  t0=$(now)
  out="$(timeout "$cap" "$peer" -v <"$s6" 2>&1 >/dev/null || true)"
  t1=$(now)
  if grep -q "too big" <<<"$out"; then
    echo "- -"  # beyond its size limit
  elif grep -q "not hamiltonian" <<<"$out"; then
    echo "$(elapsed "$t0" "$t1") non-hamiltonian"
  elif grep -q ">Z 0 nonhamiltonian" <<<"$out"; then
    echo "$(elapsed "$t0" "$t1") hamiltonian"
  else
    echo "$(elapsed "$t0" "$t1") undecided"
  fi
}

rows="$work/rows"
: >"$rows"
printf '%-16s %9s  %-18s %-18s %-18s %-8s %7s\n' graph nodes ours cadical+subtour cubhamg best ratio
for name in $cases; do
  graph="$(graph_of "$name")" || { printf '%-16s (not generated)\n' "$name"; continue; }
  nodes=$(wc -l <"$graph")
  ours="$(run_ours "$graph")"
  cad="- -"
  cub="- -"
  if [[ "$run_peers" == 1 ]]; then
    cad="$(run_cadical "$graph")"
    cub="$(run_cubhamg "$graph")"
  fi
  python3 - "$name" "$nodes" "$cap" "$rows" "$ours" "$cad" "$cub" <<'PY'
import sys
name, nodes, cap, rows = sys.argv[1], int(sys.argv[2]), float(sys.argv[3]), sys.argv[4]
ours, peers = sys.argv[5].split(), {"cadical": sys.argv[6].split(), "cubhamg": sys.argv[7].split()}
short = {"hamiltonian": "H", "non-hamiltonian": "N", "undecided": "?"}

def shown(run):
    return "-" if run[0] == "-" else f"{float(run[0]):.2f} {short.get(run[1], '?')}"

def cost(run):  # seconds for the ratio: at least 0.05, the cap when undecided
    return max(0.05, float(run[0])) if run[1] in ("hamiltonian", "non-hamiltonian") else cap

ran = {k: v for k, v in peers.items() if v[0] != "-"}
best = min(ran, key=lambda k: cost(ran[k])) if ran else None
ratio = ""
if best is not None:
    decided = ran[best][1] != "undecided" or ours[1] != "undecided"
    if decided:
        r = cost(ours) / cost(ran[best])
        ratio = f"{r:.3f}"
        kind = "proving" if "non-hamiltonian" in (ours[1], ran[best][1]) else "finding"
        open(rows, "a").write(f"{kind} {r}\n")
best_text = f"{best} {cost(ran[best]):.2f}" if best is not None and ran[best][1] != "undecided" else (f"none >{cap:g}" if best else "-")
print(f"{name:<16} {nodes:>9}  {shown(ours):<18} {shown(peers['cadical']):<18} {shown(peers['cubhamg']):<18} {best_text:<14} {ratio:>7}")
PY
done
geometric_means "$rows" "best peer"
