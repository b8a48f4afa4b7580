#!/usr/bin/env bash
# The cluster examples (examples/cluster) against the real engines: a graph split into 64
# parts through the GNU parallel script and through the Slurm scripts on a single-node Slurm
# started here for the purpose (munged, slurmctld and slurmd on ports and a socket of their
# own, stopped at the end), each joined to the verdict one process gives, with a certificate
# the checker accepts or a verified cycle; and a missing part makes the join undecided,
# naming it, until it is split again and its parts are joined in its place. Where the
# daemons cannot start, it says why and the rest still runs.
#   scripts/test-cluster.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
examples=$PWD/examples/cluster
cli=$(realpath "${1:-build}/cli/hamcycles-cli")
export HAMCYCLES_CLI=$cli
work=$(mktemp -d /tmp/hc-cluster.XXXXXX)
chmod 755 "$work"
# Stops a daemon this script started, by the id in its pid file, if it still runs as that
# program, and waits (up to 10 s) until it is gone: munged writes its seed file on the way out,
# which would otherwise land in the folder being removed.
stop_daemon() {
  local file=$work/slurm/$1.pid pid
  [ -f "$file" ] || return 0
  pid=$(cat "$file")
  [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = "$1" ] || return 0
  kill "$pid" 2>/dev/null || return 0
  for _ in $(seq 100); do
    # Gone, or a zombie (it has finished; only its parent has not reaped it).
    [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = "$1" ] || return 0
    [ "$(awk '{ print $3 }' "/proc/$pid/stat" 2>/dev/null)" = Z ] && return 0
    sleep 0.1
  done
}
cleanup() {
  if [ -n "${SLURM_CONF:-}" ] && [ -f "$SLURM_CONF" ]; then
    timeout 10 scontrol shutdown >/dev/null 2>&1 || true
    sleep 1
  fi
  for daemon in slurmctld slurmd munged; do stop_daemon "$daemon"; done
  rm -rf "$work"
}
trap cleanup EXIT
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }
# Runs a command whose exit status is a verdict (10, 20 or 0) and prints that status.
status_of() { set +e; "$@" >"$work/last.out" 2>"$work/last.err"; echo $?; set -e; }

# GP(29, 2) has no Hamiltonian cycle (29 = 5 mod 6); the 6 x 6 knight's graph has one.
"$cli" generate petersen 29 2 --output "$work/gp.txt" >/dev/null
"$cli" generate knight 6 6 --output "$work/knight.txt" >/dev/null
one=$(status_of "$cli" solve "$work/gp.txt" --threads 1)
[ "$one" = 20 ] || fail "one process: GP(29, 2) gave exit $one, not 20"

# GNU parallel, on this machine.
got=$(status_of "$examples/parallel-cubes.sh" "$work/gp.txt" 64 "$work/par" -j 2)
[ "$got" = "$one" ] || fail "parallel: the join of GP(29, 2) gave exit $got, not $one ($(cat "$work/last.err"))"
"$cli" check "$work/gp.txt" "$work/par/graph.proof" >/dev/null || fail "parallel: the joined certificate is rejected"
got=$(status_of "$examples/parallel-cubes.sh" "$work/knight.txt" 16 "$work/parknight" -j 2)
[ "$got" = 10 ] || fail "parallel: the join of the knight's graph gave exit $got, not 10"
"$cli" verify "$work/knight.txt" "$work/parknight/cycle.txt" >/dev/null || fail "parallel: the joined cycle fails verify"
# A missing part: undecided, and named.
rm "$work/par/part-5.json"
got=$(status_of "$cli" join "$work/gp.txt" "$work/par")
[ "$got" = 0 ] || fail "a missing part: join gave exit $got, not 0"
grep -q "missing parts: 5$" "$work/last.err" || fail "a missing part: join did not name part 5 ($(cat "$work/last.err"))"
# The missing part split again into 4 parts, joined in its place.
got=$(status_of env ABOVE=5/64 "$examples/parallel-cubes.sh" "$work/gp.txt" 4 "$work/par" -j 2)
[ "$got" = "$one" ] || fail "parallel: part 5 split again gave exit $got, not $one ($(cat "$work/last.err"))"
grep -q "^# part 5 of 64 split again into 4 parts" "$work/par/graph.proof" ||
  fail "parallel: the certificate does not hold part 5's split again"
"$cli" check "$work/gp.txt" "$work/par/graph.proof" >/dev/null || fail "parallel: the certificate with part 5 split again is rejected"
echo "parallel: GP(29, 2) in 64 parts joined (exit $one, certificate accepted); knight 6x6 in 16 parts (exit 10, cycle verified); a missing part named, then split again into 4 and joined"

# Slurm on this machine: why it cannot run is said, not failed.
start_slurm() {
  local dir=$work/slurm host port
  mkdir -p "$dir/state" "$dir/spool" "$dir/munge"
  for tool in munged mungekey slurmctld slurmd sbatch scontrol sinfo; do
    command -v "$tool" >/dev/null || { echo "$tool is not installed"; return 1; }
  done
  [ "$(id -u)" = 0 ] || { echo "the daemons need root"; return 1; }
  chmod 700 "$dir/munge"
  mungekey --create --keyfile="$dir/munge/munge.key" >/dev/null 2>&1 || { echo "mungekey failed"; return 1; }
  munged --force --socket="$dir/munge/socket" --key-file="$dir/munge/munge.key" \
    --pid-file="$dir/munged.pid" --log-file="$dir/munged.log" --seed-file="$dir/munge/seed" \
    >/dev/null 2>&1 || { echo "munged did not start: $(tail -n 1 "$dir/munged.log" 2>/dev/null)"; return 1; }
  host=$(hostname -s)
  port=$((20000 + RANDOM % 20000))
  export SLURM_CONF=$dir/slurm.conf
  cat >"$SLURM_CONF" <<CONF
ClusterName=hctest
SlurmctldHost=$host
SlurmctldPort=$port
SlurmdPort=$((port + 1))
SlurmUser=root
SlurmdUser=root
AuthType=auth/munge
AuthInfo=socket=$dir/munge/socket
CredType=cred/munge
StateSaveLocation=$dir/state
SlurmdSpoolDir=$dir/spool
SlurmctldPidFile=$dir/slurmctld.pid
SlurmdPidFile=$dir/slurmd.pid
SlurmctldLogFile=$dir/slurmctld.log
SlurmdLogFile=$dir/slurmd.log
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
JobAcctGatherType=jobacct_gather/none
SchedulerType=sched/builtin
SelectType=select/cons_tres
SelectTypeParameters=CR_Core
ReturnToService=2
MaxArraySize=1025
# More CPUs than the machine has (config_overrides): the parts are short, and 64 tasks two
# at a time would spend most of the test waiting for the scheduler's rounds.
SlurmdParameters=config_overrides
NodeName=$host CPUs=16 State=UNKNOWN
PartitionName=hctest Nodes=ALL Default=YES MaxTime=INFINITE State=UP
CONF
  slurmctld -c >/dev/null 2>&1 || { echo "slurmctld did not start: $(tail -n 1 "$dir/slurmctld.log" 2>/dev/null)"; return 1; }
  slurmd -c >/dev/null 2>&1 || { echo "slurmd did not start: $(tail -n 1 "$dir/slurmd.log" 2>/dev/null)"; return 1; }
  for _ in $(seq 1 30); do
    sinfo -h -o %t 2>/dev/null | grep -q idle && return 0
    sleep 1
  done
  echo "the node did not come up within 30 s: $(tail -n 1 "$dir/slurmd.log" 2>/dev/null)"
  return 1
}
if start_slurm >"$work/why"; then
  got=$(status_of timeout 100 "$examples/slurm-cubes.sh" "$work/gp.txt" 64 "$work/sl" --wait)
  if [ "$got" != 0 ]; then
    fail "slurm: the scripts ended with exit $got ($(cat "$work/last.err"))"
  else
    grep -q '"verdict":"non-hamiltonian"' "$work/sl/join.json" || fail "slurm: the join says $(cat "$work/sl/join.json")"
    "$cli" check "$work/gp.txt" "$work/sl/graph.proof" >/dev/null || fail "slurm: the joined certificate is rejected"
    echo "slurm: GP(29, 2) in 64 array tasks and a dependent join: non-Hamiltonian, certificate accepted"
    # Part 5 split again into 4 array tasks (ABOVE), its own record gone: joined in its place.
    rm "$work/sl/part-5.json"
    got=$(status_of env ABOVE=5/64 timeout 100 "$examples/slurm-cubes.sh" "$work/gp.txt" 4 "$work/sl" --wait)
    [ "$got" = 0 ] || fail "slurm: part 5 split again: the scripts ended with exit $got ($(cat "$work/last.err"))"
    grep -q '"verdict":"non-hamiltonian"' "$work/sl/join.json" ||
      fail "slurm: part 5 split again: the join says $(cat "$work/sl/join.json")"
    grep -q "^# part 5 of 64 split again into 4 parts" "$work/sl/graph.proof" ||
      fail "slurm: the certificate does not hold part 5's split again"
    "$cli" check "$work/gp.txt" "$work/sl/graph.proof" >/dev/null || fail "slurm: the certificate with part 5 split again is rejected"
    echo "slurm: part 5 split again into 4 array tasks (ABOVE=5/64) and joined in its place, certificate accepted"
  fi
else
  echo "slurm: skipped, the single-node Slurm could not start here: $(cat "$work/why")"
fi
exit $failed
