# What the benchmark scripts share (sourced): the checks for the programs they time, and a
# scratch folder that goes away when the script ends.
set -euo pipefail
bench_name=$(basename "$0")
here="$(cd "$(dirname "$0")" && pwd)"

# BENCH_SMOKE=1 runs the script once on a tiny input, only to show that it still runs end to
# end (scripts/test.sh does this for every script): the settings below stand in for the
# script's own defaults, and anything set in the environment still wins. Its figures mean
# nothing.
if [[ "${BENCH_SMOKE:-0}" == 1 ]]; then
  smoke() {
    local setting
    for setting in "$@"; do
      local name="${setting%%=*}"
      [[ -n "${!name:-}" ]] || export "$setting"
    done
  }
  case "$bench_name" in
    batch.sh) smoke NODES=10 SCHC_ITERATIONS=200 ;;
    census.sh) smoke NODES=10 ;;
    check_lines.sh) smoke SIZES=1000 HOSTILE=0 ;;
    cubes.sh) smoke GRAPHS=gp GP_N=23 KS=4 CAP=20 ;;
    certificates.sh) smoke CAP=10 THREADS=2 CASES=gp23 CENSUS=10 ;;
    families.sh) smoke SEEDS=1 CAP=5 VERSIONS=5 CASES=knight8 ;;
    memory.sh) smoke NODES=1000 JOBS=2 ;;
    numbering.sh) smoke PERMS=2 CAP=10 CASES=snark251 PEERS=0 ;;
    proofs.sh) smoke CAP=10 THREADS=2 CASES=untough100 PEERS=0 ;;
    python.sh) smoke NODES=10 EDGES=20000 LIMIT=0.2 STOP_NODES=20000 ;;
    solve.sh) smoke CAP=5 THREADS=2 CASES=gp23 ;;
    stop_latency.sh) smoke NODES=20000 SIGNALS=0.2 LIMIT=0.2 ;;
    structured.sh) smoke CAP=2 THREADS=2 CASES="fragment1008 gp101" PEERS=0 ;;
  esac
fi

# need_cli PATH: ends the script with a hint unless PATH is an executable hamcycles-cli.
need_cli() {
  [[ -x "$1" ]] && return
  echo "$bench_name: no hamcycles-cli at $1 (build the target hamcycles-cli first, or pass its path)" >&2
  exit 1
}

# need_nauty: ends the script with a hint unless nauty's generator is installed.
need_nauty() {
  command -v nauty-geng >/dev/null && return
  echo "$bench_name: nauty-geng is not installed (Debian package nauty)" >&2
  exit 1
}

# scratch: sets $work to a fresh folder, removed on exit.
scratch() {
  work="$(mktemp -d)"
  trap 'rm -rf "$work"' EXIT
}

# geometric_means FILE LABEL: FILE holds lines "KIND RATIO" (ours over the peer's time);
# prints the geometric mean of the ratios per kind and over all of them.
geometric_means() {
  python3 - "$1" "$2" <<'PY'
import math, sys
groups = {}
for line in open(sys.argv[1]):
    kind, ratio = line.split()
    groups.setdefault(kind, []).append(max(float(ratio), 1e-9))
every = [r for rs in groups.values() for r in rs]
for kind, rs in sorted(groups.items()) + [("all", every)]:
    if rs:
        mean = math.exp(sum(map(math.log, rs)) / len(rs))
        print(f"geometric mean ours / {sys.argv[2]}, {kind}: {mean:.3f} over {len(rs)} graphs")
PY
}

# unsat_formula_graph CLI PATH SEED SCRATCH: writes to PATH the graph of a random formula on
# three variables whose clauses show all eight sign patterns (so it is unsatisfiable, and
# the graph has no Hamiltonian cycle); the first seed from SEED on that gives one is taken.
unsat_formula_graph() {
  local cli="$1" path="$2" seed="$3" scratch_dir="$4" s
  for s in $(seq "$seed" $((seed + 50))); do
    "$cli" generate 3sat 3 8 --seed "$s" --output "$path" --cnf "$scratch_dir/f.cnf" >/dev/null
    python3 -c 'import sys
p = {tuple(sorted((abs(int(x)), int(x) > 0) for x in l.split()[:3])) for l in open(sys.argv[1]) if l[0] not in "pc"}
sys.exit(0 if len({tuple(b for _, b in c) for c in p}) == 8 else 1)' "$scratch_dir/f.cnf" && return 0
  done
  return 1
}

# now: the wall clock in seconds; elapsed T0 T1: the seconds between, to the millisecond.
now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", b - a }'; }

# The peers two scripts share; each prints "SECONDS VERDICT" ("- -" when the peer does not
# apply) for the graph file $1 within $cap seconds.
# peer_cadical: bench/cadical_subtour.py (the cadical command line with subtour clauses per round).
peer_cadical() {
  local t0 t1 verdict
  t0=$(now)
  verdict="$(timeout $((cap + 2)) python3 "$here/cadical_subtour.py" "$1" "$cap" 2>/dev/null | tail -n 1 || true)"
  t1=$(now)
  echo "$(elapsed "$t0" "$t1") ${verdict:-undecided}"
}
# peer_cubhamg GRAPH S6: nauty's cubhamg on S6 (the same graph in sparse6), on graphs of
# maximum degree 3 within its size limit only.
peer_cubhamg() {
  local peer t0 t1 out
  peer="$(command -v nauty-cubhamg || command -v cubhamg || true)"
  if [[ -z "$peer" ]] || awk 'NF > 4 { bad = 1; exit } END { exit !bad }' "$1"; then echo "- -"; return; fi
  t0=$(now)
  out="$(timeout "$cap" "$peer" -v <"$2" 2>&1 >/dev/null || true)"
  t1=$(now)
  if grep -q "too big" <<<"$out"; then echo "- -"
  elif grep -q "not hamiltonian" <<<"$out"; then echo "$(elapsed "$t0" "$t1") non-hamiltonian"
  elif grep -q ">Z 0 nonhamiltonian" <<<"$out"; then echo "$(elapsed "$t0" "$t1") hamiltonian"
  else echo "$(elapsed "$t0" "$t1") undecided"; fi
}

# bench_graph NAME: writes the graph of a named case to $work/NAME.txt (or names a file of
# $peers, the public benchmark graphs) and prints its path: the cases solve.sh and
# certificates.sh share. Uses $cli, $seed and $work.
bench_graph() {
  local name="$1" path="$work/$1.txt"
  case "$name" in
    fhcp_*|tsplib_*|a976_*) echo "${peers:?}/$name.txt"; return ;;
    knight4x*) python3 "$here/solve_graphs.py" knight 4 "${name#knight4x}" "$path" ;;
    knight*x*) local rc="${name#knight}"; "$cli" generate knight "${rc%x*}" "${rc#*x}" --output "$path" --seed "$seed" >/dev/null ;;
    torus*) python3 "$here/solve_graphs.py" torus "${name#torus}" "${name#torus}" "$path" ;;
    iccs*) "$cli" generate iccs "${name#iccs}" --output "$path" --seed "$seed" >/dev/null ;;
    cubic*) "$cli" generate regular "${name#cubic}" 3 --output "$path" --seed "$seed" >/dev/null ;;
    gp*) python3 "$here/solve_graphs.py" petersen "${name#gp}" 2 "$path" ;;
    fragment*|blobs*|snark*) python3 "$here/structured_graphs.py" "${name%%[0-9]*}" "${name##*[a-z]}" "$path" "$seed" ;;
    sat_unsat) unsat_formula_graph "$cli" "$path" "$seed" "$work" ;;
    *) echo "$bench_name: unknown case $name" >&2; return 1 ;;
  esac
  echo "$path"
}
