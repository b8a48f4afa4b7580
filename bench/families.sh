#!/usr/bin/env bash
# Median seconds and iterations to a verified Hamiltonian cycle with the Stone Carver's
# algorithm, per graph family, over a few seeds and with a time cap per run.
#
#   bench/families.sh [CLI]          CLI defaults to build/cli/hamcycles-cli
#   env: SEEDS="1 2 3"  CAP=30  VERSIONS="5 3"  THREADS=1  CASES="knight8 iccs1 ..."
#
# Each run: generate the graph with --seed S, then `schc --version V --seed S --time-limit
# CAP --json`. A run that did not reach a cycle within the cap counts as CAP seconds in the
# median, which is then shown with ">" (and "solved" tells how many runs succeeded).
source "$(dirname "$0")/lib.sh"
cli="${1:-$here/../build/cli/hamcycles-cli}"
seeds="${SEEDS:-1 2 3}"
cap="${CAP:-30}"
versions="${VERSIONS:-5 3}"
threads="${THREADS:-1}"
cases="${CASES:-knight8 knight16 knight30 torus50 regular1000 regular10000 regular100000 iccs1 iccs2 iccs3}"

need_cli "$cli"
scratch

family_args() {
  case "$1" in
    knight8) echo "knight 8 8" ;;
    knight16) echo "knight 16 16" ;;
    knight30) echo "knight 30 30" ;;
    torus50) echo "torus 50 50" ;;
    regular1000) echo "regular 1000 3" ;;
    regular10000) echo "regular 10000 3" ;;
    regular100000) echo "regular 100000 3" ;;
    iccs1) echo "iccs 1" ;;
    iccs2) echo "iccs 2" ;;
    iccs3) echo "iccs 3" ;;
    *) echo "families.sh: unknown case $1" >&2; exit 1 ;;
  esac
}

printf '%-15s %3s %7s %12s %12s %s\n' "graph" "v" "solved" "median s" "median it" "per seed (s/it)"
for version in $versions; do
  for name in $cases; do
    results=()
    for seed in $seeds; do
      graph="$work/$name-$seed.txt"
      # shellcheck disable=SC2046
      "$cli" generate $(family_args "$name") --output "$graph" --seed "$seed" >/dev/null 2>"$work/gen.err" || {
        echo "families.sh: generating $name failed: $(cat "$work/gen.err")" >&2
        continue
      }
      json="$("$cli" schc "$graph" --version "$version" --seed "$seed" --time-limit "$cap" --threads "$threads" \
        --json 2>/dev/null || true)"
      results+=("$json")
    done
    printf '%s\n' "${results[@]}" | python3 -c '
import json, sys
name, version, cap = sys.argv[1], sys.argv[2], float(sys.argv[3])
runs = []
for line in sys.stdin:
    line = line.strip()
    if not line:
        continue
    try:
        j = json.loads(line)
    except ValueError:
        continue
    solved = j.get("verdict") == "hamiltonian"
    runs.append((j.get("seconds", cap) if solved else cap, j.get("iterations", 0), solved))
def median(values):
    values = sorted(values)
    n = len(values)
    if n == 0:
        return float("nan")
    return values[n // 2] if n % 2 else 0.5 * (values[n // 2 - 1] + values[n // 2])
solved = sum(1 for r in runs if r[2])
ms = median([r[0] for r in runs])
mi = median([r[1] for r in runs])
capped = solved * 2 <= len(runs) and len(runs) > 0
detail = " ".join(("%.3g/%d" % (r[0], r[1])) + ("" if r[2] else "(cap)") for r in runs)
print("%-15s %3s %4d/%-2d %12s %12s %s" % (name, version, solved, len(runs),
      (">" if capped else "") + "%.3g" % ms, (">" if capped else "") + "%d" % mi, detail))
' "$name" "$version" "$cap"
  done
done
