#!/usr/bin/env bash
# The public library as a user meets it: installs the build in BUILD (default build) into a
# fresh prefix, builds examples/library against the installed CMake package and runs it,
# then compiles a one-line program with pkg-config's flags and runs that too; with the window
# built, checks its menu entry and icon in the same prefix.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
prefix=$tmp/prefix

cmake --install "$build" --prefix "$prefix" >/dev/null
version=$(sed -n 's/^project(HamiltonianCycles VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)

cmake -S examples/library -B "$tmp/example" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$tmp/example" >/dev/null
expected="hamcycles $version
Generalized Petersen Graph GP(5, 2): 10 nodes, 15 edges, non-hamiltonian
Knight's Tour Graph With 64 Nodes (8 X 8): 64 nodes, 168 edges, hamiltonian, cycle checked"
actual=$("$tmp/example/library_example")
if [ "$actual" != "$expected" ]; then
  echo "test-library: the example printed" >&2
  echo "$actual" >&2
  echo "test-library: instead of" >&2
  echo "$expected" >&2
  exit 1
fi

pc=$(find "$prefix" -name hamcycles.pc)
libdir=$(dirname "$(dirname "$pc")")
printf '#include <hamcycles/hamcycles.h>\n#include <cstdio>\nint main() { std::puts(hamcycles::version()); }\n' >"$tmp/one.cpp"
# shellcheck disable=SC2046
g++ -std=c++14 "$tmp/one.cpp" -o "$tmp/one" $(PKG_CONFIG_PATH="$(dirname "$pc")" pkg-config --cflags --libs hamcycles)
if [ "$(LD_LIBRARY_PATH="$libdir" "$tmp/one")" != "$version" ]; then
  echo "test-library: the pkg-config program did not print $version" >&2
  exit 1
fi
echo "test-library: the installed package builds and runs the example (CMake and pkg-config)"

# With the window built, the same install makes it a desktop program: binary, menu entry, icon.
if grep -q '^HC_BUILD_GUI:BOOL=ON' "$build/CMakeCache.txt"; then
  for file in bin/hamcycles share/applications/hamcycles.desktop share/icons/hicolor/scalable/apps/hamcycles.svg; do
    [ -s "$prefix/$file" ] || { echo "test-library: the install has no $file" >&2; exit 1; }
  done
  if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate --no-hints "$prefix/share/applications/hamcycles.desktop"
  fi
  echo "test-library: the window installs with its menu entry and icon"
fi
