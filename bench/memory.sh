#!/usr/bin/env bash
# Peak memory (maximum resident set, from /usr/bin/time -v) and seconds of `info` and
# `solve` on graphs whose size is in their isolated nodes: a 23-byte DIMACS file declaring
# 5,000,000 nodes and one edge, and a sparse6 file of eight such graphs decided with
# --jobs 4. Nodes without edges should cost a few bytes each, and a batch's memory should
# not multiply by its jobs for such graphs.
#
#   bench/memory.sh [CLI]        CLI defaults to build/cli/hamcycles-cli
#   env: NODES=5000000  JOBS=4
source "$(dirname "$0")/lib.sh"
cli="${1:-$here/../build/cli/hamcycles-cli}"
nodes="${NODES:-5000000}"
jobs="${JOBS:-4}"

need_cli "$cli"
if [[ ! -x /usr/bin/time ]]; then
  echo "memory.sh: /usr/bin/time is not installed (Debian package time)" >&2
  exit 1
fi
scratch
printf 'p edge %d 1\ne 1 2\n' "$nodes" >"$work/sparse.col"
"$cli" convert "$work/sparse.col" "$work/one.s6" >/dev/null
for _ in 1 2 3 4 5 6 7 8; do cat "$work/one.s6"; done >"$work/eight.s6"

# Prints one line: the command, the file, peak RSS in MB, seconds, exit status.
measure() {
  local label="$1"
  shift
  local status=0
  /usr/bin/time -v -o "$work/time.txt" "$cli" "$@" >/dev/null 2>"$work/err.txt" || status=$?
  local kb seconds
  kb=$(sed -n 's/^\s*Maximum resident set size (kbytes): //p' "$work/time.txt")
  seconds=$(sed -n 's/^\s*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$work/time.txt")
  printf '%-28s %10.1f MB %10s s   exit %d\n' "$label" "$(echo "$kb / 1024" | bc -l)" "$seconds" "$status"
}

echo "graph: $nodes nodes, 1 edge ($(wc -c <"$work/sparse.col") bytes as .col, $(wc -c <"$work/eight.s6") bytes for eight as .s6)"
measure "info sparse.col" info "$work/sparse.col"
measure "solve sparse.col" solve "$work/sparse.col"
measure "info eight.s6 --jobs $jobs" info "$work/eight.s6" --jobs "$jobs"
measure "solve eight.s6 --jobs $jobs" solve "$work/eight.s6" --jobs "$jobs"
