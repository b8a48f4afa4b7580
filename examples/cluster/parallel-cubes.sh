#!/bin/bash
# Solves GRAPH in K parts with GNU parallel, on this machine's cores or over ssh, then joins
# them. The verdict is the join's (exit 10 Hamiltonian, 20 non-Hamiltonian, 0 undecided); the
# parts' records are OUT/part-I.json, the cycle OUT/cycle.txt, the certificate OUT/graph.proof.
#
#   parallel-cubes.sh GRAPH K OUT [parallel options...]
#   parallel-cubes.sh g.txt 64 parts -j 8                              # 8 at once, here
#   parallel-cubes.sh g.txt 64 parts --sshlogin 8/host1,8/host2 --transfer
#
# --transfer (for hosts without this file system): the graph is sent to each host with
# --basefile and each part's files come back with --return. HAMCYCLES_CLI names the program
# (the same path on every host); SOLVE_OPTIONS go to every part.
#
# ABOVE splits a part of an earlier run again: ABOVE=5/64 solves the K parts of part 5's
# split (--cube 5/64 --cube I/K) into OUT/part-5-I.json beside the earlier records, and the
# join settles part 5 by them (ABOVE="5/64 2/8" goes one level deeper: part-5-2-I.json).
#   ABOVE=5/64 parallel-cubes.sh g.txt 8 parts -j 8
set -eu
if [ $# -lt 3 ]; then
  echo "usage: $0 GRAPH K OUT [parallel options...] [--transfer]" >&2
  exit 1
fi
cli=${HAMCYCLES_CLI:-hamcycles-cli}
graph=$1 parts=$2 out=$3
shift 3
options=()
transfer=false
for a in "$@"; do
  if [ "$a" = --transfer ]; then transfer=true; else options+=("$a"); fi
done
above=() prefix=part
for level in ${ABOVE:-}; do
  above+=(--cube "$level")
  prefix+=-${level%%/*}
done
mkdir -p "$out"
name=graph.${graph##*.}
[ "$graph" -ef "$out/$name" ] || cp "$graph" "$out/$name"
cd "$out"
if $transfer; then
  options+=(--basefile "$name" --return "$prefix-{}.json" --return "$prefix-{}.proof" --cleanup)
fi
# Exit 10, 20 and 0 are verdicts; only 1 (bad input) counts as a failed job.
seq 0 $((parts - 1)) | parallel "${options[@]}" \
  "$cli solve $name ${above[*]} --cube {}/$parts ${SOLVE_OPTIONS:-} --result $prefix-{}.json --proof $prefix-{}.proof > /dev/null 2>&1; test \$? -ne 1"
set +e
"$cli" join "$name" part-*.json --output cycle.txt --proof graph.proof
