#!/usr/bin/env bash
# Certificates of non-Hamiltonian verdicts, end to end through the command line, on the
# non-Hamiltonian graphs of bench/solve.sh (knight 4 x C, GP(n, 2) for n = 5 mod 6, an
# unsatisfiable 3-SAT reduction) and bench/structured.sh (3-edge-cut fragments, blobs,
# the flower snark). Per graph: `solve` without a certificate, `solve --proof`, then
# `check` on the file written; the row shows the nodes, the method that decided, the
# certificate's bytes, the seconds of each (whole processes, reading included), solve with
# the proof over solve without (aim: at most 1.5), and whether the checker accepted it (or,
# when no certificate was written, the note that says why). Then the connected cubic graphs
# on 16 nodes through the batch (`--proof-dir`), every file checked against its graph.
#
#   bench/certificates.sh [CLI]     CLI defaults to build/cli/hamcycles-cli
#   env: CAP=60 (seconds per run)  THREADS=4  SEED=1  CASES="gp1001 knight4x640 ..."
#        CENSUS=16 (nodes of the cubic census; 0: none)
source "$(dirname "$0")/lib.sh"
cli="${1:-$here/../build/cli/hamcycles-cli}"
cap="${CAP:-60}"
threads="${THREADS:-4}"
seed="${SEED:-1}"
census="${CENSUS:-16}"
default_cases="knight4x10 knight4x40 knight4x640 gp23 gp29 gp35 gp47 gp59 gp1001 sat_unsat
  fragment1008 fragment10008 fragment100008 blobs100 blobs1000 blobs10000 blobs30000 snark2501"
cases="${CASES:-$default_cases}"

need_cli "$cli"
scratch



# timed OUT CMD...: runs CMD with stdout to OUT (stderr dropped); sets $seconds and $status.
timed() {
  local out="$1" t0
  shift
  t0=$EPOCHREALTIME
  status=0
  "$@" >"$out" 2>/dev/null || status=$?
  seconds=$(awk -v a="$t0" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.3f", b - a }')
}

# field JSONFILE NAME: one field of a JSON object ("-" when missing).
field() {
  python3 -c 'import json, sys
try:
    v = json.load(open(sys.argv[1])).get(sys.argv[2])
except Exception:
    v = None
print("-" if v is None else str(v).lower() if isinstance(v, bool) else v)' "$1" "$2"
}

solve_args=(--time-limit "$cap" --threads "$threads" --seed "$seed" --json --no-progress)
printf '%-16s %8s  %-18s %12s %9s %9s %6s %9s  %s\n' graph nodes method bytes solve_s proof_s ratio check_s accepted
for name in $cases; do
  graph="$(bench_graph "$name")" || { printf '%-16s (not generated)\n' "$name"; continue; }
  nodes=$(wc -l <"$graph")
  timed "$work/plain.json" timeout $((cap + 30)) "$cli" solve "$graph" "${solve_args[@]}"
  plain=$seconds
  verdict="$(field "$work/plain.json" verdict)"
  if [[ "$verdict" != non-hamiltonian ]]; then
    printf '%-16s %8s  %-18s %12s %9s %9s %6s %9s  %s\n' "$name" "$nodes" - - "$plain" - - - "($verdict without proof)"
    continue
  fi
  rm -f "$work/g.proof"
  timed "$work/proof.json" timeout $((cap + 30)) "$cli" solve "$graph" "${solve_args[@]}" --proof "$work/g.proof"
  proved=$seconds
  method="$(field "$work/proof.json" method)"
  ratio=$(awk -v a="$proved" -v b="$plain" 'BEGIN { printf "%.2f", a / (b > 0.001 ? b : 0.001) }')
  if [[ "$(field "$work/proof.json" certified)" != true ]]; then
    printf '%-16s %8s  %-18s %12s %9s %9s %6s %9s  %s\n' "$name" "$nodes" "$method" - "$plain" "$proved" "$ratio" - \
      "not certified: $(field "$work/proof.json" certificateNote) ($(field "$work/proof.json" verdict))"
    continue
  fi
  bytes=$(stat -c %s "$work/g.proof")
  timed "$work/check.out" timeout $((cap + 30)) "$cli" check "$graph" "$work/g.proof"
  accepted=$([[ $status == 0 ]] && echo yes || echo "NO (exit $status)")
  printf '%-16s %8s  %-18s %12s %9s %9s %6s %9s  %s\n' "$name" "$nodes" "$method" "$bytes" "$plain" "$proved" "$ratio" \
    "$seconds" "$accepted"
done

[[ "$census" == 0 ]] && exit 0
if ! command -v nauty-geng >/dev/null; then
  echo "certificates.sh: nauty-geng is not installed (Debian package nauty): no census" >&2
  exit 0
fi
# The census through standard input, as a pipeline would run it; the certificates are then
# checked one by one, each against its own line of the census (file stdin-INDEX.proof).
nauty-geng -c -d3 -D3 "$census" "$work/census.g6" 2>/dev/null
mkdir "$work/proofs"
timed "$work/census-plain.jsonl" "$cli" solve - --format g6 --json <"$work/census.g6"
plain=$seconds
timed "$work/census.jsonl" "$cli" solve - --format g6 --proof-dir "$work/proofs" --json <"$work/census.g6"
proved=$seconds
count="$(tail -n 1 "$work/census.jsonl")"
accepted=0
rejected=0
t0=$EPOCHREALTIME
for proof in "$work"/proofs/stdin-*.proof; do
  [[ -e "$proof" ]] || break
  index="${proof##*-}"
  sed -n "$((${index%.proof} + 1))p" "$work/census.g6" >"$work/one.g6"
  if "$cli" check "$work/one.g6" "$proof" >/dev/null 2>&1; then
    accepted=$((accepted + 1))
  else
    rejected=$((rejected + 1))
  fi
done
checked=$(awk -v a="$t0" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.3f", b - a }')
python3 - "$count" "$census" "$plain" "$proved" "$checked" "$accepted" "$rejected" <<'PY'
import json, sys
count = json.loads(sys.argv[1])
n, plain, proved, checked, accepted, rejected = sys.argv[2], *map(float, sys.argv[3:6]), *map(int, sys.argv[6:])
print(f"cubic census on {n} nodes: {count['graphs']} graphs, certified {count['certified']} / "
      f"non-Hamiltonian {count['non-hamiltonian']}; solve {plain:.3f} s, with --proof-dir {proved:.3f} s; "
      f"{accepted} accepted, {rejected} rejected by check in {checked:.3f} s (one process per file)")
PY
