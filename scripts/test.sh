#!/usr/bin/env bash
# Installs dependencies, builds, and runs every test twice: once optimised, once under
# AddressSanitizer + UndefinedBehaviorSanitizer so memory faults fail the run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc)

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHC_BUILD_BENCH=ON
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DHC_SANITIZE=ON -DCMAKE_CXX_FLAGS="-O1"
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 HC_SANITIZED=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs"
