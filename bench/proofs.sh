#!/usr/bin/env bash
# Seconds to a proved verdict on graphs whose reason for having no Hamiltonian cycle is
# short but named by no rule, each under three label permutations (the median and the worst),
# beside the external peers under the same cap; our certificates are checked by
# `hamcycles-cli check` (its seconds apart).
#
# The linear relaxation, edge colourings and pieces every cycle passes whole
# (bench/structured_graphs.py):
#  - untoughN: not 1-tough with a large separating set and no 2-node separator;
#  - dotsnarkN: Petersen graphs chained by dot products; cubic, no 3-edge-colouring, no
#    nontrivial edge cut of fewer than four edges;
#  - blobsnarkN: a dot product snark with a perfect matching doubled and each node replaced by
#    K(4, 3); 4-regular, 4-connected, every Hamiltonian cycle passes each blob in one piece.
# Peers: bench/cadical_subtour.py (the cadical command line with subtour clauses per round),
# nauty's cubhamg (cubic graphs, within its size limit) and hamheuristic (a cycle finder: it
# cannot prove a graph non-Hamiltonian, so on these it only ever gives up). A run that did not
# decide counts as the cap; times under 0.05 s count as 0.05 s.
#
#   bench/proofs.sh [CLI]     CLI defaults to build/cli/hamcycles-cli
#   env: CAP=30  THREADS=4  PERMS="1 2 3"  CASES="untough100 ... dotsnark98 ..."  PEERS=1 (0: ours only)
source "$(dirname "$0")/lib.sh"
cli="${1:-$here/../build/cli/hamcycles-cli}"
cap="${CAP:-30}"
threads="${THREADS:-4}"
perms="${PERMS:-1 2 3}"
run_peers="${PEERS:-1}"
cases="${CASES:-untough100 untough1000 untough10000 dotsnark98 dotsnark1002 dotsnark10002 blobsnark70 blobsnark1022 blobsnark10038}"
need_cli "$cli"
scratch
gen="$here/structured_graphs.py"


# Each runner prints "SECONDS VERDICT" (hamiltonian, non-hamiltonian, undecided) or "- -".
run_ours() {
  local t0 t1 verdict
  rm -f "$work/g.proof"
  t0=$(now)
  timeout $((cap + 5)) "$cli" solve "$1" --time-limit "$cap" --threads "$threads" --seed 1 \
    --proof "$work/g.proof" --json --no-progress >"$work/ours.json" 2>/dev/null || true
  t1=$(now)
  verdict="$(python3 -c 'import json, sys
try:
    print(json.load(open(sys.argv[1]))["verdict"])
except Exception:
    print("undecided")' "$work/ours.json")"
  echo "$(elapsed "$t0" "$t1") $verdict"
}
# "SECONDS accepted|rejected|none": the check of our certificate.
run_check() {
  local t0 t1
  [[ -s "$work/g.proof" ]] || { echo "0 none"; return; }
  t0=$(now)
  if timeout 600 "$cli" check "$1" "$work/g.proof" >/dev/null 2>&1; then t1=$(now); echo "$(elapsed "$t0" "$t1") accepted"
  else t1=$(now); echo "$(elapsed "$t0" "$t1") rejected"; fi
}
run_cadical() { peer_cadical "$1"; }
run_cubhamg() { peer_cubhamg "$1" "$work/g.s6"; }
# hamheuristic writes the graphs it found no cycle in: an empty output is a cycle found.
run_hamheuristic() {
  local peer t0 t1
  peer="$(command -v nauty-hamheuristic || true)"
  [[ -n "$peer" ]] || { echo "- -"; return; }
  t0=$(now)
  if timeout "$cap" "$peer" -q "$work/g.s6" "$work/hh.out" >/dev/null 2>&1; then
    t1=$(now)
    if [[ -s "$work/hh.out" ]]; then echo "$(elapsed "$t0" "$t1") undecided"; else echo "$(elapsed "$t0" "$t1") hamiltonian"; fi
  else
    echo "$cap undecided"
  fi
}

rows="$work/rows"
: >"$rows"
printf '%-15s %6s  %-13s %-13s %-15s %-13s %-13s %-13s %-13s %7s\n' graph nodes "ours(med)" "ours(worst)" \
  "certificates" "check(med)" cadical+sub cubhamg hamheur ratio
for name in $cases; do
  kind="${name%%[0-9]*}"
  size="${name#"$kind"}"
  results="$work/results"
  : >"$results"
  nodes=0
  for perm in $perms; do
    graph="$work/$name-$perm.txt"
    python3 "$gen" "$kind" "$size" "$graph" "$perm" || { echo "$name: not generated" >&2; continue; }
    nodes=$(wc -l <"$graph")
    "$cli" convert "$graph" "$work/g.s6" >/dev/null 2>&1 || true
    ours="$(run_ours "$graph")"
    checked="$(run_check "$graph")"
    cad="- -" cub="- -" hh="- -"
    if [[ "$run_peers" == 1 ]]; then
      cad="$(run_cadical "$graph")"
      cub="$(run_cubhamg "$graph")"
      hh="$(run_hamheuristic)"
    fi
    echo "$ours $checked $cad $cub $hh" >>"$results"
    rm -f "$graph"
  done
  python3 - "$name" "$nodes" "$cap" "$rows" "$results" <<'PY'
import statistics, sys
name, nodes, cap, rows, results = sys.argv[1], int(sys.argv[2]), float(sys.argv[3]), sys.argv[4], sys.argv[5]
runs = [line.split() for line in open(results) if len(line.split()) == 10]
short = {"hamiltonian": "H", "non-hamiltonian": "N", "undecided": "?"}
def cost(t, v):
    return max(0.05, float(t)) if v in ("hamiltonian", "non-hamiltonian") else cap
def med(col):
    if not runs or runs[0][col] == "-":
        return None
    c = sorted((cost(r[col], r[col + 1]), short.get(r[col + 1], "?")) for r in runs)
    return c[len(c) // 2]
def shown(m):
    return "-" if m is None else f"{m[0]:.2f} {m[1]}"
ours = med(0)
worst = max((cost(r[0], r[1]), short.get(r[1], "?")) for r in runs) if runs else None
accepted = sum(r[3] == "accepted" for r in runs)
check = sorted(float(r[2]) for r in runs)[len(runs) // 2] if runs else 0.0
peers = [med(4), med(6), med(8)]
best = min((p for p in peers if p is not None), default=None)
ratio = ""
if best is not None and ours is not None and (ours[1] != "?" or best[1] != "?"):
    ratio = f"{ours[0] / best[0]:.3f}"
    open(rows, "a").write(f"proving {ours[0] / best[0]}\n")
print(f"{name:<15} {nodes:>6}  {shown(ours):<13} {shown(worst):<13} {f'{accepted}/{len(runs)} accepted':<15} "
      f"{check:<13.2f} {shown(peers[0]):<13} {shown(peers[1]):<13} {shown(peers[2]):<13} {ratio:>7}")
PY
done
geometric_means "$rows" "best peer"
