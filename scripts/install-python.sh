#!/usr/bin/env bash
# Builds the Python module and installs it so that `python3 -c "import hamcycles"` works from
# any folder: the package folder hamcycles/ goes into the interpreter's folder for packages
# installed by hand, for Debian's python3 /usr/local/lib/python3.X/dist-packages (on its path,
# never written by apt; the README's Python section says why there). PYTHON=/path/to/python3
# installs for another interpreter (a virtual environment: into its site-packages). Remove it
# with `rm -r` of the folder this script prints.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
python=${PYTHON:-$(command -v /usr/bin/python3 || command -v python3)}
launcher=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHC_BUILD_PYTHON=ON -DPython3_EXECUTABLE="$python" \
  "${launcher[@]}" >/dev/null
cmake --build build -j"$(nproc)" --target hamcycles_python
prefix=$("$python" python/site_location.py | head -n 1)
cmake --install build --component python --prefix "$prefix"
# From the root folder, so that nothing but the installed package can answer.
(cd / && "$python" -c 'import hamcycles; print("hamcycles", hamcycles.__version__, "is installed in", hamcycles.__path__[0])')
# A python3 of its own ahead on the PATH (pyenv, conda) is another interpreter with another path.
if other=$(cd / && python3 -c 'import os, sys; print(os.path.realpath(sys.executable))' 2>/dev/null) &&
   [ "$other" != "$(cd / && "$python" -c 'import os, sys; print(os.path.realpath(sys.executable))')" ]; then
  echo "install-python: note: python3 on this PATH is $other, not $python;" \
    "PYTHON=$other bash scripts/install-python.sh installs the module for it" >&2
fi
