#!/usr/bin/env bash
# Whether `solve` decides a graph whatever its numbering, and how fast: each graph under
# PERMS random numberings (whole-process seconds: median and worst, and the methods that
# decided), beside nauty's cubhamg on the cubic ones (it proves cubic graphs
# non-Hamiltonian; nauty's hamheuristic only finds cycles, so it has nothing to say here).
#  - K(1000, 1001) and K(50, 51): dense, unevenly bipartite (the linear rules);
#  - the flower snarks J_251 and J_2501: long, thin, cubic (the frontier search).
#
#   bench/numbering.sh [CLI]     CLI defaults to build/cli/hamcycles-cli
#   env: PERMS=10  CAP=30  CASES="kbip1000 kbip50 snark251 snark2501"  PEERS=1 (0: ours only)
source "$(dirname "$0")/lib.sh"
cli="${1:-$here/../build/cli/hamcycles-cli}"
perms="${PERMS:-10}"
cap="${CAP:-30}"
cases="${CASES:-kbip1000 kbip50 snark251 snark2501}"
need_cli "$cli"
scratch

# K(a, a + 1) as adjacency text under the numbering drawn by SEED.
complete_bipartite() {
  python3 - "$@" <<'PY'
import random, sys
a, path, seed = int(sys.argv[1]), sys.argv[2], int(sys.argv[3])
n = 2 * a + 1
rng = random.Random(seed)
label = list(range(n))
rng.shuffle(label)
adjacency = [[] for _ in range(n)]
for i in range(a):
    for j in range(a, n):
        adjacency[label[i]].append(label[j])
        adjacency[label[j]].append(label[i])
with open(path, "w") as out:
    for v in range(n):
        out.write(" ".join(map(str, [v] + adjacency[v])) + "\n")
PY
}

seconds() {  # seconds COMMAND...: the wall time of COMMAND (capped), its output to $work/out
  local start end
  start=$(date +%s.%N)
  timeout "$cap" "$@" >"$work/out" 2>/dev/null || true
  end=$(date +%s.%N)
  python3 -c "print(f'{$end - $start:.3f}')"
}

summary() {  # summary FILE: median and worst of the times in FILE, one per line
  python3 -c "import statistics,sys; t=[float(x) for x in open(sys.argv[1])]; print(f'median {statistics.median(t):6.2f} s  worst {max(t):6.2f} s')" "$1"
}

printf '%-10s %-38s %-36s %s\n' graph "ours (under $perms numberings)" "cubhamg" methods
for name in $cases; do
  : >"$work/ours"
  : >"$work/peer"
  : >"$work/methods"
  for seed in $(seq 1 "$perms"); do
    graph="$work/$name-$seed.txt"
    case "$name" in
      kbip*) complete_bipartite "${name#kbip}" "$graph" "$seed" ;;
      snark*) python3 "$here/structured_graphs.py" snark "${name#snark}" "$graph" "$seed" ;;
    esac
    seconds "$cli" solve "$graph" --json --time-limit "$cap" >>"$work/ours"
    python3 -c "import json,sys; r=json.load(open(sys.argv[1])); print(r['verdict'], r['method'])" "$work/out" \
      >>"$work/methods" 2>/dev/null || echo "no answer" >>"$work/methods"
    if [[ "${PEERS:-1}" == 1 && "$name" == snark* ]] && command -v nauty-cubhamg >/dev/null; then
      "$cli" convert "$graph" "$work/g.s6" >/dev/null
      seconds nauty-cubhamg -v "$work/g.s6" >>"$work/peer"
    fi
  done
  peer="-"
  [[ -s "$work/peer" ]] && peer="$(summary "$work/peer")"
  printf '%-10s %-38s %-36s %s\n' "$name" "$(summary "$work/ours")" "$peer" \
    "$(sort "$work/methods" | uniq -c | tr -s ' ' | paste -sd ';')"
done
