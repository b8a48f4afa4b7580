#!/usr/bin/env bash
# One hard graph in K parts (solve --cube I/K, then join): what splitting costs and what it
# buys. Per graph, the seconds of one process (solve --threads $THREADS), then for each K:
#  - sum/one: the parts' seconds added up (each part's whole process: reading, the split,
#    the solve) over the one process's (the target is at most 1.3);
#  - largest: the largest part's share of that sum (the target is at most 5 % at K = 256);
#  - the makespan this predicts on W workers (the parts in decreasing order, each to the
#    worker free first), for W = 1, 4, 16, 64, 256, 1024;
#  - the join's verdict, and its certificate checked by `check` (or its cycle by `verify`).
# Then --threads 1 against --threads 2 in one process (wall seconds). Each graph runs under
# RELABELS random relabelings of its nodes; the tables show the median and the worst.
# With NESTED=J, each split's largest part is split again into J (--cube I/K --cube j/J), its
# own record left out, and the same figures are given for that mixed join (K "64+8").
#
#   bench/cubes.sh [CLI]       CLI defaults to build/cli/hamcycles-cli
#   env: GRAPHS="sat gp cubic" (also untough, or graph files)
#        KS="16 64 256 1024" JOBS=2 (parts run at once) RELABELS=1
#        CAP=900 (seconds per process; a part or run that hits it counts as undecided)
#        SEED=1 (every run's --seed)  THREADS=2 (the one process's and each part's)
#        NESTED= (J: the largest part of each split split again into J)
#        CERTIFY=1 (0: no --proof anywhere, for splits whose joined certificate would take
#        hours to check; the one process then runs without it too)
source "$(dirname "$0")/lib.sh"
cli="${1:-$here/../build/cli/hamcycles-cli}"
graphs="${GRAPHS:-sat gp cubic}"
ks="${KS:-16 64 256 1024}"
jobs="${JOBS:-2}"
relabels="${RELABELS:-1}"
cap="${CAP:-900}"
seed="${SEED:-1}"  # every run's --seed: the portfolio's time varies with it
# The one process's and each part's --threads. With one thread the portfolio gives the
# finder and the clause learner slices of wall time, which a loaded machine shortens; with
# two they run side by side without slices, and CPU seconds compare fairly.
threads="${THREADS:-2}"
nested="${NESTED:-}"
certify="${CERTIFY:-1}"
# proof_option FILE: --proof FILE, or nothing with CERTIFY=0.
proof_option() { [ "$certify" = 0 ] || echo "--proof $1"; }
need_cli "$cli"
command -v parallel >/dev/null || { echo "$bench_name: GNU parallel is not installed (Debian package parallel)" >&2; exit 1; }
scratch

# The graph of a case at $work/NAME.txt: a 3-SAT reduction near the threshold (unsatisfiable
# formulas make the hard non-Hamiltonian graphs), a large generalised Petersen graph near the
# frontier search's limit, a random cubic graph of the structured kind, a graph that is not
# 1-tough (the linear relaxation's kind: about 12,000 nodes take a CPU minute).
make_graph() {
  local name="$1" path="$work/$1.txt"
  case "$name" in
    sat) "$cli" generate 3sat "${SAT_VARS:-30}" 4.26 --seed "${SAT_SEED:-3}" --output "$path" >/dev/null ;;
    gp) python3 "$here/solve_graphs.py" petersen "${GP_N:-41}" "${GP_K:-2}" "$path" ;;
    cubic) "$cli" generate regular "${CUBIC_N:-120}" 3 --seed "${CUBIC_SEED:-5}" --output "$path" >/dev/null ;;
    untough) python3 "$here/structured_graphs.py" untough "${UNTOUGH_N:-1000}" "$path" "${UNTOUGH_SEED:-1}" ;;
    *) "$cli" convert "$name" "$path" >/dev/null ;;
  esac
  echo "$path"
}

# The graph with its nodes renamed by a random permutation (seed $2), as adjacency text.
relabel() {
  python3 - "$1" "$2" "$3" <<'PY'
import random, sys
rows = [list(map(int, l.split())) for l in open(sys.argv[1]) if l.strip()]
n = len(rows)
perm = list(range(n))
random.Random(int(sys.argv[2])).shuffle(perm)
out = [None] * n
for r in rows:
    out[perm[r[0]]] = [perm[r[0]]] + sorted(perm[w] for w in r[1:])
open(sys.argv[3], "w").write("".join(" ".join(map(str, r)) + "\n" for r in out))
PY
}

# CPU seconds (user + system) of a command: on a shared, loaded machine the wall clock
# measures the neighbours as much as the program. (Its exit status is a verdict.)
seconds_of() {
  /usr/bin/time -f "%U %S %e" -o "$work/time" timeout "$cap" "$@" >/dev/null 2>&1 || true
  tail -n 1 "$work/time" | awk '{ printf "%.3f\n", $1 + $2 }'
}
# The wall seconds of the command seconds_of timed last.
last_wall() { tail -n 1 "$work/time" | awk '{ print $3 }'; }

# joined G DIR NAME K ONE TIMES: the join of the records in DIR, its certificate checked (or
# its cycle verified), and the split's figures from the parts' CPU seconds in TIMES (lines
# "PART USER SYSTEM"), as one "parts" line of the summary.
joined() {
  local g="$1" d="$2" checked="-"
  set +e
  # The join and the check, each with its wall seconds and peak resident memory (MB).
  /usr/bin/time -f "%e %M" -o "$d/join.time" \
    "$cli" join "$g" "$d"/part-*.json --json $(proof_option "$d/joined.proof") --output "$d/cycle.txt" >"$d/join.json" 2>/dev/null
  echo "0 0" >"$d/check.time"
  if [ -f "$d/joined.proof" ]; then
    /usr/bin/time -f "%e %M" -o "$d/check.time" "$cli" check "$g" "$d/joined.proof" >/dev/null 2>&1 \
      && checked="certificate accepted" || checked="certificate REJECTED"
  elif [ -f "$d/cycle.txt" ]; then
    "$cli" verify "$g" "$d/cycle.txt" >/dev/null 2>&1 && checked="cycle verified" || checked="cycle REJECTED"
  fi
  set -e
  local resources
  resources=$(awk 'NF == 2 { printf "%s%.1fs/%.0fMB", (NR > 1 ? "," : ""), $1, $2 / 1024 }' \
    <(tail -n 1 "$d/join.time") <(tail -n 1 "$d/check.time") | tr -d '\n')
  python3 - "$d" "$3" "$4" "$5" "$checked" "$6" "$resources" >>"$summary" <<'PY'
import json, sys, heapq
d, name, k, one, checked, timesFile, resources = sys.argv[1], sys.argv[2], sys.argv[3], float(sys.argv[4]), sys.argv[5], sys.argv[6], sys.argv[7]
times = sorted(float(u) + float(s) for _, u, s in (l.split() for l in open(timesFile) if len(l.split()) == 3))
# /usr/bin/time counts in hundredths: a run too short to register counts as one hundredth.
one = max(one, 0.01)
total = max(sum(times), 0.01)
join = json.load(open(f"{d}/join.json"))
spans = []
for w in (1, 4, 16, 64, 256, 1024):
    load = [0.0] * min(w, len(times))
    for t in sorted(times, reverse=True):
        heapq.heapreplace(load, load[0] + t)
    spans.append(f"{max(load):.1f}")
print(f"parts {name} {k} {total/one:.3f} {100*max(times, default=0.0)/total:.2f} {join['openParts']} {join['verdict']} {'/'.join(spans)} {checked.replace(' ', '_')} {resources}")
PY
  tail -n 1 "$summary" >&2
}

summary="$work/summary.txt"
: >"$summary"
for name in $graphs; do
  base=$(make_graph "$name")
  for r in $(seq 1 "$relabels"); do
    g="$work/$name-$r.txt"
    relabel "$base" "$r" "$g"
    set +e
    # One process with one thread and with two (each run once: the one with $threads is the
    # split's reference, its verdict from its JSON).
    declare -A cpu=()
    for t in 1 2 "$threads"; do
      [ -n "${cpu[$t]:-}" ] && continue
      # With --proof, as every part has: a non-Hamiltonian verdict's certificate is part of the
      # job, and on a clause learner's refutation it costs a second solve.
      cpu[$t]=$(seconds_of sh -c "exec \"\$0\" solve \"\$1\" --threads $t --seed $seed --json $(proof_option "$work/one-$t.proof") >$work/one-$t.json" "$cli" "$g")
      declare "wall$t=$(last_wall)"
    done
    one=${cpu[$threads]}
    verdict=$(python3 -c 'import json,sys; print(json.load(open(sys.argv[1]))["verdict"])' "$work/one-$threads.json" 2>/dev/null || echo undecided)
    unset cpu
    set -e
    echo "$name relabel $r: one process $one CPU s ($verdict); --threads 1: $wall1 s wall, --threads 2: $wall2 s wall" >&2
    echo "threads $name $wall1 $wall2 $one" >>"$summary"
    for k in $ks; do
      d="$work/$name-$r-$k"
      mkdir -p "$d"
      # Each part as its own process (reading, the split, the solve), its CPU seconds beside
      # its record.
      seq 0 $((k - 1)) | parallel -j "$jobs" \
        "/usr/bin/time -f '{} %U %S' -a -o $d/times timeout $cap $cli solve $g --cube {}/$k --threads $threads --seed $seed --result $d/part-{}.json $(proof_option "$d/part-{}.proof") >/dev/null 2>&1" || true
      joined "$g" "$d" "$name" "$k" "$one" "$d/times"
      if [ -n "$nested" ]; then
        # The largest part split again: its own record left out, the others kept.
        big=$(sort -k2,2gr -k1,1n <(awk 'NF == 3 { print $1, $2 + $3 }' "$d/times") | head -n 1 | cut -d' ' -f1)
        n="$d-nested"
        mkdir -p "$n"
        for f in "$d"/part-*.json; do [ "$f" = "$d/part-$big.json" ] || cp "$f" "$n/"; done
        awk -v big="$big" 'NF == 3 && $1 != big' "$d/times" >"$n/times"
        seq 0 $((nested - 1)) | parallel -j "$jobs" \
          "/usr/bin/time -f 'n{} %U %S' -a -o $n/times timeout $cap $cli solve $g --cube $big/$k --cube {}/$nested --threads $threads --seed $seed --result $n/part-$big-{}.json $(proof_option "$n/part-$big-{}.proof") >/dev/null 2>&1" || true
        joined "$g" "$n" "$name" "$k+$nested" "$one" "$n/times"
      fi
    done
  done
done

python3 - "$summary" <<'PY'
import statistics, sys
rows = [l.split() for l in open(sys.argv[1])]
print("\n| graph | K | open parts | sum/one (median, worst) | largest % of sum (median, worst) | makespan s on 1/4/16/64/256/1024 workers (median) | join | join, check: wall s / peak MB |")
print("|---|---|---|---|---|---|---|---|")
groups = {}
for r in rows:
    if r[0] == "parts":
        groups.setdefault((r[1], r[2]), []).append(r)
for (name, k), rs in groups.items():
    ratio = [float(r[3]) for r in rs]
    share = [float(r[4]) for r in rs]
    mid = sorted(rs, key=lambda r: float(r[3]))[len(rs) // 2]
    print(f"| {name} | {k} | {mid[5]} | {statistics.median(ratio):.2f}, {max(ratio):.2f} | "
          f"{statistics.median(share):.1f}, {max(share):.1f} | {mid[7]} | {mid[6]}, {mid[8].replace('_', ' ')} | {mid[9].replace(',', ', ')} |")
print("\n| graph | one process, CPU s | --threads 1, wall s (median, worst) | --threads 2, wall s (median, worst) |")
print("|---|---|---|---|")
threads = {}
for r in rows:
    if r[0] == "threads":
        threads.setdefault(r[1], []).append((float(r[2]), float(r[3]), float(r[4])))
for name, ts in threads.items():
    a = [t[0] for t in ts]; b = [t[1] for t in ts]; c = [t[2] for t in ts]
    print(f"| {name} | {statistics.median(c):.1f} | {statistics.median(a):.1f}, {max(a):.1f} | {statistics.median(b):.1f}, {max(b):.1f} |")
PY
