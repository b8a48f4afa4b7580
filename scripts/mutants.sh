#!/usr/bin/env bash
# Mutation pass: measures how many deliberately planted faults the test suite catches.
#
# Forty fixed single-token mutations of the engine (a flipped comparison, an off-by-one, a
# dropped statement) are listed in the table at the end of this file as
#   ID|FILE|OLD >>> NEW
# where "\n" in OLD or NEW stands for a line break. Each OLD must occur exactly once in its
# file, or the pass stops before building anything.
#
# The tree is copied once to a scratch folder (later edits to the worktree do not disturb
# a running pass), built there (Release, ccache, -j2, at low priority), and every mutant is
# applied, built incrementally, run against the whole suite and reverted. The suite's test
# programs run one after another, engine suites first, each under a time limit, and the
# first failure ends the run: a failing or timed-out test kills the mutant. A mutant that
# does not compile is "stillborn".
#
# Usage: scripts/mutants.sh [TAG]      (scratch copy: $MUTANTS_DIR/mutants-scratch-TAG)
#   MUTANTS_DIR   parent folder of the scratch copy (default /tmp); a copy of the same tag
#                 is refreshed and its build reused
#   MUTANTS_ONLY  space-separated ids to run (default: all)
#   TEST_TIMEOUT  seconds per test program (default 300)
#   MUTANTS_COMPARE  a revision whose tests/ run against the same mutants as well (for
#                 comparing two versions of the suite): they keep their folders, this
#                 tree's tests move to tests/new-*, and one build serves both
# Prints one line per mutant and "killed K of N" (with MUTANTS_COMPARE also the count of
# the other suite); build and test logs stay in the scratch folder under mutant-logs/.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
tag=${1:-default}
scratch=${MUTANTS_DIR:-/tmp}/mutants-scratch-$tag
build=$scratch/build-mutants
logs=$scratch/mutant-logs
test_timeout=${TEST_TIMEOUT:-300}
table=$(sed -n "/^: <<'__MUTANTS__'\$/,/^__MUTANTS__\$/p" "$0" | sed '1d;$d')

mkdir -p "$scratch"
# A fresh copy of the sources (modification times kept, so a reused build stays incremental).
find "$scratch" -mindepth 1 -maxdepth 1 ! -name build-mutants ! -name mutant-logs -exec rm -rf {} +
tar -C "$repo" --exclude='./build*' --exclude='./.git' -cf - . | tar -C "$scratch" -xf -
mkdir -p "$logs"
compare=${MUTANTS_COMPARE:-}
if [ -n "$compare" ]; then
  for folder in "$scratch"/tests/*/; do
    name=$(basename "$folder")
    [ "$name" = data ] || mv "$folder" "$scratch/tests/new-$name"
  done
  sed -i -e 's#"support/#"new-support/#' -e 's#"\.\./\([a-z]*\)/#"../new-\1/#' "$scratch"/tests/new-*/*
  git -C "$repo" archive "$compare" tests | tar -C "$scratch" -xf -
fi

# mutate.py apply|revert|check ID: edits the scratch tree; fails loudly on a snippet that
# is not found exactly once.
cat >"$logs/mutate.py" <<'PY'
import sys, shutil, os
mode, scratch, ident = sys.argv[1], sys.argv[2], sys.argv[3] if len(sys.argv) > 3 else None
rows = []
for line in sys.stdin.read().splitlines():
    if not line.strip() or line.startswith('#'):
        continue
    mid, path, change = line.split('|', 2)
    parts = change.split(' >>> ')
    if len(parts) != 2:
        sys.exit(f"{mid}: expected one ' >>> ' in the change")
    rows.append((mid, path, parts[0].replace('\\n', '\n'), parts[1].replace('\\n', '\n')))
if mode == 'check':
    ids = set()
    for mid, path, old, new in rows:
        text = open(os.path.join(scratch, path)).read()
        if text.count(old) != 1:
            sys.exit(f"{mid}: snippet found {text.count(old)} times in {path}: {old!r}")
        if mid in ids:
            sys.exit(f"{mid}: duplicate id")
        ids.add(mid)
    print(len(rows))
    sys.exit(0)
if mode == 'files':
    print('\n'.join(sorted({r[1] for r in rows})))
    sys.exit(0)
row = next((r for r in rows if r[0] == ident), None)
if row is None:
    sys.exit(f"unknown mutant {ident}")
mid, path, old, new = row
target = os.path.join(scratch, path)
backup = target + '.mutant-orig'
if mode == 'apply':
    text = open(target).read()
    if text.count(old) != 1:
        sys.exit(f"{mid}: snippet found {text.count(old)} times in {path}")
    shutil.copy2(target, backup)
    open(target, 'w').write(text.replace(old, new))
    print(path)
elif mode == 'revert':
    shutil.move(backup, target)
    os.utime(target)  # newer than the mutant's object, so the next build recompiles it
PY
mutate() { python3 "$logs/mutate.py" "$@" <<<"$table"; }

total=$(mutate check "$scratch")
# A pass that was stopped may have left a mutant's object behind: rebuild every mutated file.
for file in $(mutate files "$scratch"); do touch "$scratch/$file"; done
ids=${MUTANTS_ONLY:-$(awk -F'|' '/^M[0-9]/ {print $1}' <<<"$table")}

started=$(date +%s)
revision=$(git -C "$repo" rev-parse --short HEAD 2>/dev/null || echo "an exported tree")
echo "mutation pass '$tag' on $revision ($total mutants), $(date -u +%H:%M:%S) UTC"
# Every mutant relinks every test program: a fast linker, when there is one, pays off.
linker=()
command -v ld.lld >/dev/null && linker=(-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld)
cmake -S "$scratch" -B "$build" -DCMAKE_BUILD_TYPE=Release -DHC_BUILD_BENCH=OFF -DHC_BUILD_GUI=OFF \
  -DCMAKE_CXX_COMPILER_LAUNCHER=ccache "${linker[@]}" >"$logs/configure.log" 2>&1
# Runs every test program, engine suites first; the first failure ends the run. Prints
# nothing when all pass, else "<program>: <first failing test or timeout>".
run_suite() {
  local log=$1 prefix=${2:-} order=(core checks lookahead schc cohc generators cli editor) programs=() t exe
  for t in "${order[@]}"; do [ -x "$build/tests/tests_$prefix$t" ] && programs+=("$build/tests/tests_$prefix$t"); done
  for exe in "$build"/tests/tests_"$prefix"*; do
    [[ -z "$prefix" && "$exe" == */tests_new-* ]] && continue
    [ -x "$exe" ] && [ -f "$exe" ] && [[ " ${programs[*]} " != *" $exe "* ]] && programs+=("$exe")
  done
  : >"$log"
  for exe in "${programs[@]}"; do
    local status=0
    (cd "$build/tests" && timeout --kill-after=10 "$test_timeout" nice -n 19 "$exe" --gtest_brief=1) >>"$log" 2>&1 ||
      status=$?
    if [ "$status" -ne 0 ]; then
      local first
      first=$({ grep -m1 -oE '\[  FAILED  \] [A-Za-z0-9_/.]+' "$log" || true; } | sed 's/.*\] //')
      [ "$status" -ge 124 ] && first="timeout or crash ($status) ${first}"
      echo "$(basename "$exe"): ${first:-exit $status}"
      return 0
    fi
  done
}
if ! nice -n 19 cmake --build "$build" -j2 >"$logs/clean-build.log" 2>&1; then
  echo "the unmutated tree does not build; see $logs/clean-build.log"
  exit 1
fi
clean_start=$(date +%s)
clean=$(run_suite "$logs/clean-tests.log")
[ -n "$compare" ] && clean+=$(run_suite "$logs/clean-new-tests.log" new-)
if [ -n "$clean" ]; then
  echo "the unmutated tree fails its tests ($clean); see $logs/clean-tests.log"
  exit 1
fi
echo "unmutated suite passes in $(($(date +%s) - clean_start)) s (build and check took $((clean_start - started)) s)"

killed=0
killedNew=0
stillborn=0
count=0
for id in $ids; do
  count=$((count + 1))
  t0=$(date +%s)
  file=$(mutate apply "$scratch" "$id")
  what=$(grep "^$id|" <<<"$table" | cut -d'|' -f3-)
  if ! nice -n 19 cmake --build "$build" -j2 >"$logs/$id-build.log" 2>&1; then
    result="stillborn"
    stillborn=$((stillborn + 1))
  else
    failed=$(run_suite "$logs/$id-tests.log")
    if [ -z "$failed" ]; then
      result="SURVIVED"
    else
      result="killed ($failed)"
      killed=$((killed + 1))
    fi
    if [ -n "$compare" ]; then
      failed=$(run_suite "$logs/$id-new-tests.log" new-)
      if [ -z "$failed" ]; then
        result="$compare: $result | this tree: SURVIVED"
      else
        result="$compare: $result | this tree: killed ($failed)"
        killedNew=$((killedNew + 1))
      fi
    fi
  fi
  mutate revert "$scratch" "$id"
  echo "$id $result [$(($(date +%s) - t0)) s] $file: $what"
done
# Leave the build matching the unmutated tree.
nice -n 19 cmake --build "$build" -j2 >"$logs/final-build.log" 2>&1 || true
echo "stillborn $stillborn; pass took $(($(date +%s) - started)) s"
if [ -n "$compare" ]; then
  echo "$compare: killed $killed of $count"
  echo "killed $killedNew of $count"
else
  echo "killed $killed of $count"
fi
exit 0

: <<'__MUTANTS__'
# The incremental model: cut, setUncut, force, undo, chains and the pruning queue.
M01|src/core/graph.cpp|  --howManyEdges;\n  forceDegreeTwo(a); >>>   forceDegreeTwo(a);
M02|src/core/graph.cpp|  ++howManyUncuttable;\n  record(kActionSetUncut, a, b); >>>   record(kActionSetUncut, a, b);
M03|src/core/graph.cpp|  if (howManyHubs >= 1) { >>>   if (howManyHubs > 1) {
M04|src/core/graph.cpp|  ++chain.members;\n  record(kActionExtendChain >>>   record(kActionExtendChain
M05|src/core/graph.cpp|  if (chain.members > 2 && isAdjacent(chain.head1, chain.head2) && node(chain.head1).degree > 2 && >>>   if (chain.members > 3 && isAdjacent(chain.head1, chain.head2) && node(chain.head1).degree > 2 &&
M06|src/core/graph.cpp|      chainA.members += chainB.members; >>>       chainA.members += chainB.members - 1;
M07|src/core/graph.cpp|  ++howManyRings;\n  chain.isRing = 1; >>>   chain.isRing = 1;
M08|src/core/graph.cpp|          if (nv.howManyUncuttable == 2) { >>>           if (nv.howManyUncuttable != 2) {
M09|src/core/graph.cpp|      ++howManyEdges;\n      break;\n    case kActionSetUncut: >>>       break;\n    case kActionSetUncut:
M10|src/core/graph.cpp|      --chain.members;\n >>> \n
M11|src/core/graph.cpp|    undoActions();\n    isHamiltonian = kUndecided;\n  }\n  heavyCheck(*this, "simulateForce"); >>>     undoActions();\n  }\n  heavyCheck(*this, "simulateForce");
M12|src/core/node.cpp|    node.uncuttable1 = node.uncuttable2;\n    node.uncuttable2 = -1; >>>     node.uncuttable2 = -1;
M13|src/core/node.cpp|    if (++r == degree) r = 0; >>>     if (++r >= degree - 1) r = 0;
M14|src/core/graph_invariants.cpp|    if (count != chain.members) return >>>     if (count != chain.members && false) return
# Checks: forcing at degree two, chain building, scans, the legacy chains, the odd forced cut.
M15|src/checks/chain_building.cpp|      if (a.isHub == 1 || b.isHub == 1) { >>>       if (a.isHub == 1) {
M16|src/checks/chain_building.cpp|      if (graph.chains[0].head1 != graph.chains[0].head2) { >>>       if (graph.chains[0].head1 == graph.chains[0].head2) {
M17|src/checks/chain_walks.cpp|    if (c.degree != 2 || cur == v) break; >>>     if (c.degree != 2) break;
M18|src/checks/chain_walks.cpp|  if (!graph.isAdjacent(v.id, w) || v.isForcedNeighbor(w)) return -1; >>>   if (!graph.isAdjacent(v.id, w)) return -1;
M19|src/checks/scans.cpp|      if (graph.node(v).degree != 2 && graph.node(w).degree != 2) continue; >>>       if (graph.node(v).degree != 2 || graph.node(w).degree != 2) continue;
M20|src/checks/legacy_chains.cpp|    graph.howManyUncuttable += n.isHead == 1 ? 1 : 2; >>>     graph.howManyUncuttable += n.isHead == 1 ? 2 : 2;
M21|src/checks/necessary_conditions.cpp|graph.howManyEdges < graph.howManyNodes) { >>> graph.howManyEdges <= graph.howManyNodes) {
M22|src/checks/necessary_conditions.cpp|      if (n.degree < 2) { >>>       if (n.degree < 1) {
M23|src/checks/odd_forced_cut.cpp|      if (s <= r || count % 2 == 0) continue; >>>       if (s <= r || count % 2 == 1) continue;
# Look-ahead.
M24|src/lookahead/look_ahead_sequencing.cpp|      if (graph.isHamiltonian != kUndecided) return result;\n      changed = true; >>>       if (graph.isHamiltonian != kUndecided) return result;
M25|src/lookahead/look_ahead_sequencing.cpp|  const int16_t trialDC = withDC != 0 ? 1 : 0; >>>   const int16_t trialDC = withDC != 0 ? 0 : 0;
M26|src/lookahead/look_ahead_sequencing.cpp|    for (int32_t i = 0; i + 1 < graph.howManyNodes; ++i) { >>>     for (int32_t i = 0; i + 2 < graph.howManyNodes; ++i) {
M27|src/lookahead/disjunction_check.cpp|      if (graph.simulateForce(v, w) != kNotHamiltonian) continue;\n >>> \n
M28|src/lookahead/simulate_cut.cpp|graph.isHamiltonian == kUndecided && !isBiconnected(graph, 0)) { >>> graph.isHamiltonian == kUndecided && isBiconnected(graph, 0)) {
# Mill versions and the driver.
M29|src/schc/probability_mill.cpp|    v = nextRandom() % 2 == 0 ? chain.head1 : chain.head2; >>>     v = nextRandom() % 2 == 0 ? chain.head1 : chain.head1;
M30|src/schc/probability_mill.cpp|    ++graph.simulationForceCount;\n    graph.force(v, w);\n    if (sequenceAfterForce >>>     graph.force(v, w);\n    if (sequenceAfterForce
M31|src/schc/probability_mill.cpp|    if (sequenceAfterForce && graph.isHamiltonian == kUndecided) >>>     if (!sequenceAfterForce && graph.isHamiltonian == kUndecided)
M32|src/schc/probability_mill.cpp|    } else if (graph.howManyRings > 0) {\n      verdict = kUndecided; >>>     } else if (graph.howManyRings > 0) {\n      verdict = kNotHamiltonian;
M33|src/schc/stone_carver.cpp|    statistics.leastCutsToHub = std::min(statistics.leastCutsToHub, copy.cutCount); >>>     statistics.leastCutsToHub = std::max(statistics.leastCutsToHub, copy.cutCount);
M34|src/schc/stone_carver.cpp|allowed = std::min(allowed, options.maxIterations); >>> allowed = std::max(allowed, options.maxIterations);
M35|src/core/hamiltonian_cycle_check.cpp|  for (size_t k = 0; k < cycle.size(); ++k) { >>>   for (size_t k = 0; k + 1 < cycle.size(); ++k) {
# Co-HC: the search tree and its statistics.
M36|src/cohc/search_tree_node.cpp|    if (level >= 3 && goOn() && !isBiconnected(graph, 0)) >>>     if (level >= 4 && goOn() && !isBiconnected(graph, 0))
M37|src/cohc/search_tree_node.cpp|    if (!haveBest || sequence.count < best.count) { >>>     if (!haveBest || sequence.count > best.count) {
M38|src/cohc/search_tree_node.cpp|      refreshCandidates();\n      scanIndex_ = 0; >>>       refreshCandidates();
M39|src/cohc/search_tree_statistics.cpp|(averageTime[d] * solved[d] + t) / (solved[d] + 1.0); >>> (averageTime[d] * solved[d] + t) / (solved[d] + 2.0);
M40|src/cohc/search_tree.cpp|      ++outcome.treeNodes;\n >>> \n
__MUTANTS__
