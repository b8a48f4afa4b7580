#!/usr/bin/env bash
# Batch throughput: every connected cubic graph on N nodes (default 16: 4,060 graphs), made
# by nauty's geng, decided by info, schc and cohc in one batch each. Prints graphs per
# second and the Hamiltonian / non-Hamiltonian counts, and checks that cohc and schc agree
# (schc counts only the cycles it finds and the proofs of its initial pruning, so its
# undecided graphs must be exactly cohc's non-Hamiltonian ones it could not prove) and,
# with nauty-cubhamg, that cohc's count of non-Hamiltonian graphs is nauty's.
#
#   bench/batch.sh [CLI]        CLI defaults to build/cli/hamcycles-cli
#   env: NODES=16  JOBS=1  SCHC_ITERATIONS=2000  SEED=1
source "$(dirname "$0")/lib.sh"
cli="${1:-$here/../build/cli/hamcycles-cli}"
nodes="${NODES:-16}"
jobs="${JOBS:-1}"
iterations="${SCHC_ITERATIONS:-2000}"
seed="${SEED:-1}"

need_cli "$cli"
need_nauty
scratch
graphs="$work/cubic$nodes.g6"
nauty-geng -q -c -d3 -D3 "$nodes" >"$graphs"
echo "connected cubic graphs on $nodes nodes: $(wc -l <"$graphs"), jobs $jobs"

# The final count line of a batch, as "graphs hamiltonian non-hamiltonian undecided unreadable rate".
count_of() {
  tail -n 1 "$1" | sed -E 's/.*"graphs":([0-9]+),"hamiltonian":([0-9]+),"non-hamiltonian":([0-9]+),"undecided":([0-9]+),"unreadable":([0-9]+),"seconds":[^,]*,"graphsPerSecond":([0-9.e+]+).*/\1 \2 \3 \4 \5 \6/'
}

declare -A hamiltonian non undecided
for method in info schc cohc; do
  args=("$method" "$graphs" --json --jobs "$jobs")
  [[ $method == schc ]] && args+=(--max-iterations "$iterations" --seed "$seed")
  [[ $method == cohc ]] && args+=(--seed "$seed")
  start=$(date +%s.%N)
  "$cli" "${args[@]}" >"$work/$method.jsonl"
  end=$(date +%s.%N)
  read -r total h n u bad rate <<<"$(count_of "$work/$method.jsonl")"
  hamiltonian[$method]=$h non[$method]=$n undecided[$method]=$u
  printf '%-5s %6d graphs  %5.2f s wall  %8.0f graphs/s (in the loop)  Hamiltonian %5d  non-Hamiltonian %5d  undecided %5d  unreadable %d\n' \
    "$method" "$total" "$(echo "$end - $start" | bc)" "$rate" "$h" "$n" "$u" "$bad"
done

status=0
if [[ ${hamiltonian[schc]} -ne ${hamiltonian[cohc]} ]] || \
   [[ $(( ${non[schc]} + ${undecided[schc]} )) -ne ${non[cohc]} ]] || [[ ${undecided[cohc]} -ne 0 ]]; then
  echo "MISMATCH: schc and cohc disagree"
  status=1
else
  echo "schc and cohc agree: ${hamiltonian[cohc]} Hamiltonian, ${non[cohc]} non-Hamiltonian"
fi
if [[ ${non[info]} -gt ${non[cohc]} ]]; then
  echo "MISMATCH: info calls more graphs non-Hamiltonian than cohc proves"
  status=1
fi
if command -v nauty-cubhamg >/dev/null; then
  nauty_non=$( (nauty-cubhamg "$graphs" 2>/dev/null || true) | wc -l)
  if [[ $nauty_non -ne ${non[cohc]} ]]; then
    echo "MISMATCH: nauty-cubhamg finds $nauty_non non-Hamiltonian graphs, cohc ${non[cohc]}"
    status=1
  else
    echo "nauty-cubhamg agrees: $nauty_non non-Hamiltonian"
  fi
fi
exit $status
