#!/usr/bin/env bash
# The certificate checker's cost per certificate line, and on the hostile certificates it
# must answer quickly. Each row runs `hamcycles-cli check` as a whole process under
# /usr/bin/time and shows the lines, the answer (accepted, or the first words of the
# rejection), the seconds (elapsed and user), the peak memory, and microseconds per line.
#
#  - SAT parts on K4 whose proof repeats the lemma "1 2 0" N times; adds it N/2 times then
#    deletes it N/2 times; alternates adding and deleting it (N = 10^5 .. 10^6): the time
#    per line must stay flat (linear growth), at well under a second for 10^6 lines.
#  - The hostile cases: a frontier order that makes a 12 x 20 grid's frontier wide; one of
#    width 24 on a 24-column grid (the checker's width limit, where its state and work
#    budgets end it); a 400-node cubic graph's frontier in random order; an 80 MB line; a
#    300 MB file of NUL bytes; K999 with a pendant node and a SAT part per branch; a graph
#    file of two graphs without --index. Each must be answered within 5 s and 600 MB.
#
#   bench/check_lines.sh [CLI]     CLI defaults to build/cli/hamcycles-cli
#   env: SIZES="100000 300000 1000000"  HOSTILE=1 (0: only the line table)
source "$(dirname "$0")/lib.sh"
cli="${1:-$here/../build/cli/hamcycles-cli}"
sizes="${SIZES:-100000 300000 1000000}"
need_cli "$cli"
scratch

# row LABEL LINES GRAPH PROOF [ARGS...]: one timed check.
row() {
  local label="$1" lines="$2" graph="$3" proof="$4"
  shift 4
  local answer
  /usr/bin/time -f "%e %U %M" -o "$work/time" "$cli" check "$graph" "$proof" "$@" >"$work/out" 2>"$work/err" || true
  answer=$(cat "$work/out" "$work/err" | head -c 400 | tr '\n' ' ' | sed 's/hamcycles-cli: //')
  read -r seconds user kb < <(tail -n 1 "$work/time")
  python3 - "$label" "$lines" "$seconds" "$user" "$kb" "$answer" <<'PY'
import sys
label, lines, seconds, user, kb, answer = sys.argv[1:]
per = float(seconds) * 1e6 / int(lines) if int(lines) else 0.0
answer = answer.rsplit("): ", 1)[-1] if "): " in answer else answer.split(": ", 1)[-1] if answer.startswith("/") else answer
print(f"{label:<24} {int(lines):>9} {float(seconds):>7.2f} {float(user):>6.2f} {int(kb) / 1024:>8.1f} {per:>9.3f}  {answer[:60]}")
PY
}

python3 - "$work" "$sizes" <<'PY'
import itertools, random, sys
work, sizes = sys.argv[1], [int(s) for s in sys.argv[2].split()]
def edges_file(name, n, edges):
    with open(f"{work}/{name}.edges", "w") as f:
        f.write("".join(f"{u} {v}\n" for u, v in edges))
def cert(name, n, m, body):
    with open(f"{work}/{name}.proof", "w") as f:
        f.write(f"hamcycles-certificate 1\ngraph {n} {m}\n")
        f.write(body)
edges_file("k4", 4, list(itertools.combinations(range(4), 2)))
for n in sizes:
    cert(f"lemma{n}", 4, 6, "sat\n" + "1 2 0\n" * n + "end\n")
    cert(f"delete{n}", 4, 6, "sat\n" + "1 2 0\n" * (n // 2) + "d 1 2 0\n" * (n // 2) + "end\n")
    cert(f"alternate{n}", 4, 6, "sat\n" + "1 2 0\nd 1 2 0\n" * (n // 2) + "end\n")

def grid(rows, cols):
    return [(r * cols + c, r * cols + c + 1) for r in range(rows) for c in range(cols - 1)] + \
           [(r * cols + c, (r + 1) * cols + c) for r in range(rows - 1) for c in range(cols)]
g = grid(12, 20)
edges_file("grid12x20", 240, g)
# Row pairs taken column by column from both ends: a frontier of many nodes.
order = [r * 20 + c for c in range(20) for r in range(12)][::2] + [r * 20 + c for c in range(20) for r in range(12)][1::2]
cert("gridwide", 240, len(g), "frontier " + " ".join(map(str, order)) + "\n")
g = grid(40, 23)  # row by row: a frontier of 24 nodes
edges_file("grid40x23", 920, g)
cert("grid24", 920, len(g), "frontier " + " ".join(map(str, range(920))) + "\n")
rng = random.Random(7)
while True:  # a random cubic graph on 400 nodes (pairing model, retried until simple)
    points = [v for v in range(400) for _ in range(3)]
    rng.shuffle(points)
    pairs = {tuple(sorted(points[i:i + 2])) for i in range(0, 1200, 2)}
    if len(pairs) == 600 and all(u != v for u, v in pairs):
        break
edges_file("cubic400", 400, sorted(pairs))
order = list(range(400)); rng.shuffle(order)
cert("cubicwide", 400, 600, "frontier " + " ".join(map(str, order)) + "\n")
cert("longline", 4, 6, "sat\n" + "1 " * 40_000_000 + "0\nend\n")
with open(f"{work}/nul.proof", "wb") as f:
    for _ in range(300):
        f.write(bytes(1 << 20))
k = list(itertools.combinations(range(999), 2)) + [(998, 999)]
edges_file("k999p", 1000, k)
cert("k999p", 1000, len(k), "split 0 1\nsat\nend\nsat\nend\n")
with open(f"{work}/two.g6", "w") as f:
    f.write("IheA@GUAo\nC~\n")  # Petersen, then K4 (Hamiltonian)
cert("two", 10, 15, "frontier 0 1 2 3 4 5 6 7 8 9\n")
PY

echo "case                         lines seconds   user   peakMB   us/line  answer"
for n in $sizes; do
  for kind in lemma delete alternate; do
    row "$kind $n" "$n" "$work/k4.edges" "$work/$kind$n.proof"
  done
done
if [[ "${HOSTILE:-1}" != 0 ]]; then
  row "grid 12x20 wide order" 1 "$work/grid12x20.edges" "$work/gridwide.proof"
  row "grid 40x23 width 24" 1 "$work/grid40x23.edges" "$work/grid24.proof"
  row "cubic 400 random order" 1 "$work/cubic400.edges" "$work/cubicwide.proof"
  row "80 MB line" 2 "$work/k4.edges" "$work/longline.proof"
  row "300 MB of NUL bytes" 1 "$work/k4.edges" "$work/nul.proof"
  row "K999 + pendant, 2 sat" 4 "$work/k999p.edges" "$work/k999p.proof"
  row "two graphs, no --index" 1 "$work/two.g6" "$work/two.proof"
  row "two graphs, --index 0" 1 "$work/two.g6" "$work/two.proof" --index 0
fi
