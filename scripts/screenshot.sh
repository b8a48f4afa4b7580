#!/usr/bin/env bash
# Saves a PNG of every tab of the workbench window (and of every registered scene) to the
# folder given, without a screen: the window runs under Xvfb with the bundled example
# loaded. The window must write nothing to standard output meanwhile: the script fails if
# it does.
#   bash scripts/screenshot.sh DIR [--size WxH] [--scene NAME]...
# --size opens the window at that size (default 1100x760); QT_SCALE_FACTOR=2 in the
# environment doubles everything. Scenes: see `hamcycles --screenshot` (src/ui/*_scenes.cpp hold
# each page's; for instance generation-knight-parameters, generation-busy, stone-carver-solved, solver-running,
# cohc-solved-nodes, editor-toroidal-grid, help-contextual).
set -euo pipefail
if [ $# -lt 1 ]; then
  echo "usage: bash scripts/screenshot.sh DIR [--size WxH] [--scene NAME]..." >&2
  exit 2
fi
folder=$1
shift
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target hamcycles
mkdir -p "$folder"
out=$(mktemp)
trap 'rm -f "$out"' EXIT
# A screen large enough for the biggest window asked for, at twice the scale.
xvfb-run -a -s "-screen 0 4000x3000x24" ./build/hamcycles --no-splash --screenshot "$folder" "$@" examples/knight8x8.g \
  >"$out"
if [ -s "$out" ]; then
  echo "the window wrote to standard output:" >&2
  head -n 20 "$out" >&2
  exit 1
fi
