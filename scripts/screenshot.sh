#!/usr/bin/env bash
# Saves a PNG of every tab of the workbench window (and of every registered scene) to the
# folder given, without a screen: the window runs under Xvfb with a bundled graph loaded.
#   bash scripts/screenshot.sh DIR [--scene NAME]...
set -euo pipefail
if [ $# -lt 1 ]; then
  echo "usage: bash scripts/screenshot.sh DIR [--scene NAME]..." >&2
  exit 2
fi
folder=$1
shift
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target hamcycles
mkdir -p "$folder"
xvfb-run -a -s "-screen 0 1280x1024x24" ./build/hamcycles --no-splash --screenshot "$folder" "$@" examples/knight8x8.txt
