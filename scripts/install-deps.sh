#!/usr/bin/env bash
# Installs what the build and the tests need, once: a package already present is skipped.
set -euo pipefail
packages=(build-essential cmake ccache libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev nlohmann-json3-dev)
# pkg-config: the test of the installed library builds a consumer with its flags.
packages+=(pkg-config)
# The format check of the test command (scripts/check-format.sh).
packages+=(clang-format)
# The clause-learning worker of solve (CaDiCaL as a library; the command line for bench scripts).
packages+=(libcadical-dev cadical)
# The linear-relaxation prover of solve (COIN-OR CLP); the Fortran runtime's archive, which
# the CLI links with LAPACK's to start faster (without it the CLI links the shared objects).
packages+=(coinor-libclp-dev gfortran)
# The workbench window (Qt 6 Widgets), its screenshots without a screen (Xvfb) and fonts;
# nauty for the graph6/sparse6 cross-checks in the tests and the cubic census of bench/batch.sh.
packages+=(qt6-base-dev qt6-svg-dev libgraphviz-dev xvfb xauth nauty fonts-dejavu-core)
# The window's menu entry is checked with desktop-file-validate.
packages+=(desktop-file-utils)
# The Python module (pybind11 for Debian's python3) and its tests (pytest; NetworkX graphs).
packages+=(pybind11-dev python3-pybind11 python3-dev python3-pytest python3-networkx)
# The type check of the Python package (mypy -p hamcycles).
packages+=(python3-mypy)
# The Debian package: cpack's DEB generator with dpkg-shlibdeps (dpkg-dev) and file.
packages+=(dpkg-dev file)
# The benchmark scripts, which the test command runs once each on a tiny input: bc for
# arithmetic, GNU time for peak memory.
packages+=(bc time)
# The cluster examples and their test: a single-node Slurm (with munge) and GNU parallel.
packages+=(slurm-wlm munge parallel)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y "${missing[@]}"
fi
