#!/usr/bin/env bash
# The Python module: its pytest suite against the module in BUILD (default build), then the
# package installed from BUILD into a fresh prefix and imported from another folder with only
# that prefix on the path. pytest exits 5 when it collects no test, which fails here too.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
python=$(sed -n 's/^Python3_EXECUTABLE:[A-Z]*=//p' "$build/CMakeCache.txt")
if [ ! -d "$build/python/hamcycles" ]; then
  echo "test-python: $build has no Python module (configure with -DHC_BUILD_PYTHON=ON and build it)" >&2
  exit 1
fi
PYTHONPATH="$PWD/$build/python" "$python" -m pytest -q -p no:cacheprovider tests/python
# The package's annotations hold (Debian's mypy, python3-mypy).
(cd "$build/python" && "$python" -m mypy --no-error-summary --cache-dir=/dev/null -p hamcycles)

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cmake --install "$build" --component python --prefix "$tmp" >/dev/null
site="$tmp/$("$python" python/site_location.py | sed -n 2p)"
(cd "$tmp" && PYTHONPATH="$site" PYTHONNOUSERSITE=1 "$python" -c 'import sys, hamcycles
assert hamcycles.__path__[0].startswith(sys.argv[1]), hamcycles.__path__
assert hamcycles.solve(hamcycles.petersen()).verdict == "non-hamiltonian"' "$site")
echo "test-python: the installed package imports and decides from $site"
