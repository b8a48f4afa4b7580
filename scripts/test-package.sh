#!/usr/bin/env bash
# The Debian package as a user gets it: `cpack -G DEB` in BUILD (default build, which must
# have built everything), then the package's file list, and its files unpacked into a fresh
# folder (dpkg-deb -x, nothing installed on this machine): hamcycles-cli --version, the
# window's menu entry (desktop-file-validate), `import hamcycles` with Debian's python3, and
# a program built against the package's CMake package and pkg-config file.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
version=$(sed -n 's/^project(HamiltonianCycles VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
fail() {
  echo "test-package: $*" >&2
  exit 1
}

rm -f "$build"/hamcycles_*.deb
(cd "$build" && cpack -G DEB >"$tmp/cpack.log" 2>&1) || { cat "$tmp/cpack.log" >&2; fail "cpack failed"; }
deb=$(ls "$build"/hamcycles_"$version"_*.deb)
dpkg-deb --contents "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$tmp/files"

# Every part of the project is in it, each where Debian's tools look for it.
python=$(sed -n 's/^Python3_EXECUTABLE:[A-Z]*=//p' "$build/CMakeCache.txt")
expected=(/usr/bin/hamcycles-cli /usr/include/hamcycles/hamcycles.h /usr/lib/cmake/hamcycles/hamcyclesConfig.cmake
  /usr/lib/pkgconfig/hamcycles.pc "/usr/lib/libhamcycles.so.$version" /usr/lib/libhamcycles.so)
if grep -q '^HC_BUILD_GUI:BOOL=ON' "$build/CMakeCache.txt"; then
  expected+=(/usr/bin/hamcycles /usr/share/applications/hamcycles.desktop
    /usr/share/icons/hicolor/scalable/apps/hamcycles.svg /usr/share/mime/packages/hamcycles.xml)
fi
python_folder=""
if grep -q '^HC_BUILD_PYTHON:BOOL=ON' "$build/CMakeCache.txt"; then
  python_folder=/usr/$("$python" python/site_location.py | sed -n 3p)
  expected+=("$python_folder/hamcycles/__init__.py" "$python_folder/hamcycles/py.typed")
  grep -q "^$python_folder/hamcycles/_hamcycles\..*\.so$" "$tmp/files" || fail "no compiled module in $python_folder"
fi
for file in "${expected[@]}"; do
  grep -qx -- "$file" "$tmp/files" || fail "the package has no $file"
done
# Nothing outside /usr, nothing of the build folder.
if grep -v '^/usr\(/\|$\)' "$tmp/files" | grep -qv '^/$'; then
  fail "files outside /usr: $(grep -v '^/usr\(/\|$\)' "$tmp/files" | grep -v '^/$' | head -n 3 | tr '\n' ' ')"
fi
depends=$(dpkg-deb --field "$deb" Depends)
echo "test-package: $(basename "$deb"), $(grep -vc '/$' "$tmp/files") files; Depends: $depends"

root=$tmp/root
dpkg-deb -x "$deb" "$root"
export LD_LIBRARY_PATH="$root/usr/lib"
[ "$("$root/usr/bin/hamcycles-cli" --version)" = "hamcycles-cli $version" ] || fail "hamcycles-cli --version printed $("$root/usr/bin/hamcycles-cli" --version)"
"$root/usr/bin/hamcycles-cli" solve examples/petersen.txt --json >/dev/null && status=0 || status=$?
[ "$status" = 20 ] || fail "the packaged hamcycles-cli decided the Petersen graph with exit status $status"
if [ -f "$root/usr/share/applications/hamcycles.desktop" ]; then
  desktop-file-validate "$root/usr/share/applications/hamcycles.desktop"
fi
if [ -n "$python_folder" ]; then
  (cd "$tmp" && PYTHONPATH="$root$python_folder" PYTHONNOUSERSITE=1 "$python" -c 'import sys, hamcycles
assert hamcycles.__path__[0].startswith(sys.argv[1]), hamcycles.__path__
assert hamcycles.solve(hamcycles.petersen()).verdict == "non-hamiltonian"' "$root")
fi
# A consumer of the library through the package's CMake package, then through pkg-config.
cmake -S examples/library -B "$tmp/example" -DCMAKE_PREFIX_PATH="$root/usr" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$tmp/example" >/dev/null
"$tmp/example/library_example" | grep -qx "hamcycles $version" || fail "the CMake consumer did not run"
printf '#include <hamcycles/hamcycles.h>\n#include <cstdio>\nint main() { std::puts(hamcycles::version()); }\n' >"$tmp/one.cpp"
# shellcheck disable=SC2046
g++ -std=c++14 "$tmp/one.cpp" -o "$tmp/one" $(PKG_CONFIG_PATH="$root/usr/lib/pkgconfig" pkg-config --cflags --libs hamcycles)
[ "$("$tmp/one")" = "$version" ] || fail "the pkg-config consumer did not print $version"
echo "test-package: the unpacked package runs hamcycles-cli, imports hamcycles and builds against the library"
