#!/usr/bin/env bash
# Installs dependencies, builds, and runs every test twice: once optimised, once under
# AddressSanitizer + UndefinedBehaviorSanitizer so memory faults fail the run; the Python
# module's tests run once, against the optimised build.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc)
# The include arrows between folders and the layout of every C++ file, before anything is
# built.
bash scripts/check-layers.sh
bash scripts/check-format.sh
# A compiler cache makes a second run cheap; the cache is keyed on paths relative to the
# checkout, so any clone of the same sources shares it.
launcher=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

# The Python module for Debian's python3, whose packages pybind11, pytest and NetworkX are.
python=$(command -v /usr/bin/python3 || command -v python3)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHC_BUILD_BENCH=ON -DHC_WERROR=ON -DHC_BUILD_PYTHON=ON \
  -DPython3_EXECUTABLE="$python" "${launcher[@]}"
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"
# The public library from a clean install prefix: CMake package and pkg-config consumers.
bash scripts/test-library.sh build
# The Python module: pytest and mypy on the built module, then installed into a fresh prefix.
bash scripts/test-python.sh build
# The Debian package (cpack -G DEB): its file list, and its unpacked files at work.
bash scripts/test-package.sh build
# Every benchmark script once on a tiny input (BENCH_SMOKE=1, see bench/lib.sh), so that none
# of them rots unnoticed; the figures of such a run mean nothing.
for script in bench/*.sh; do
  [ "$script" = bench/lib.sh ] && continue
  start=$SECONDS
  if ! BENCH_SMOKE=1 bash "$script" >"build/bench-smoke.log" 2>&1; then
    cat build/bench-smoke.log >&2
    echo "test: $script failed on its tiny input (BENCH_SMOKE=1)" >&2
    exit 1
  fi
  echo "bench smoke: $script ran in $((SECONDS - start)) s"
done
# The cluster examples: GNU parallel, and a single-node Slurm started for the purpose.
bash scripts/test-cluster.sh build

# (Without the Python module: an interpreter without the sanitizers' runtime cannot load it.)
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DHC_SANITIZE=ON -DHC_WERROR=ON -DHC_BUILD_PYTHON=OFF -DCMAKE_CXX_FLAGS="-O1" "${launcher[@]}"
cmake --build build-asan -j"$jobs"
# Every test again, the readers' fuzz pass among them (tests_io: damaged files of every format
# and non-UTF-8 names, a fixed seed and a bounded number of copies: a few seconds here).
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 HC_SANITIZED=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs"

# The runners' worker, ticker and hand-over under ThreadSanitizer: only their tests, the
# rest of the system has no threads of its own.
cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=Debug -DHC_BUILD_GUI=OFF -DHC_BUILD_PYTHON=OFF -DCMAKE_CXX_FLAGS="-O1 -fsanitize=thread" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=thread" "${launcher[@]}"
cmake --build build-tsan -j"$jobs" --target tests_app tests_run
for suite in tests_app tests_run; do
  TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" "./build-tsan/tests/$suite" --gtest_filter='Runners*'
done
