#!/bin/bash
# Solves GRAPH on a Slurm cluster in K parts: a job array of K tasks (one part each), then a
# join job that depends on the array. The verdict is in OUT/join.json (with the cycle in
# OUT/cycle.txt, or the certificate in OUT/graph.proof: hamcycles-cli check GRAPH OUT/graph.proof).
#
#   slurm-cubes.sh GRAPH K OUT [sbatch options...]      e.g.  slurm-cubes.sh g.txt 64 parts --wait
#
# GRAPH and OUT must be on a file system every node sees. SOLVE_OPTIONS (e.g. "--time-limit
# 600") go to every part, HAMCYCLES_CLI names the program (default: hamcycles-cli on PATH).
# Extra arguments go to the join's sbatch (--wait: return when the join has ended).
#
# ABOVE splits a part of an earlier run again: ABOVE=5/64 solves the K parts of part 5's
# split (--cube 5/64 --cube I/K) into OUT/part-5-I.json beside the earlier records, and the
# join settles part 5 by them (ABOVE="5/64 2/8" goes one level deeper: part-5-2-I.json).
#   ABOVE=5/64 slurm-cubes.sh g.txt 8 parts --wait
set -eu
if [ $# -lt 3 ]; then
  echo "usage: $0 GRAPH K OUT [sbatch options of the join job...]" >&2
  exit 1
fi
graph=$(realpath "$1") parts=$2 out=$3
shift 3
mkdir -p "$out"
out=$(realpath "$out")
here=$(dirname "$(realpath "$0")")
export GRAPH="$graph" PARTS="$parts" OUT="$out" ABOVE="${ABOVE:-}"
array=$(sbatch --parsable --array=0-$((parts - 1)) --export=ALL --chdir="$out" "$here/cube-part.sbatch")
array=${array%%;*}
echo "parts: job array $array (${parts} tasks)"
sbatch --parsable --dependency=afterany:"$array" --export=ALL --chdir="$out" "$@" "$here/cube-join.sbatch" |
  sed 's/^/join: job /'
