#!/usr/bin/env bash
# The format check: every C++ file git tracks, as clang-format lays it out with the
# repository's .clang-format. Prints each file that differs and exits 1; `--fix` rewrites
# them instead.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || { echo "check-format: clang-format is not installed (Debian package clang-format)" >&2; exit 1; }
mapfile -t files < <(git ls-files '*.cpp' '*.h' '*.hpp' '*.cc')
if [[ "${1:-}" == --fix ]]; then
  clang-format -i "${files[@]}"
  exit 0
fi
# One clang-format for all the files; it names each file that differs on its warnings' lines.
if ! out=$(clang-format --dry-run -Werror "${files[@]}" 2>&1); then
  grep -o '^[^:]*\.\(cpp\|h\|hpp\|cc\):[0-9]*:[0-9]*: error' <<<"$out" | cut -d: -f1 | sort -u |
    sed 's/^/check-format: not formatted: /' >&2
  echo "check-format: scripts/check-format.sh --fix formats them" >&2
  exit 1
fi
