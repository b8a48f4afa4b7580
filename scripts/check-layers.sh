#!/usr/bin/env bash
# The layer check: every #include "folder/..." line of src/, cli/, gui/, include/, python/ and tests/
# must name a folder that the including file's folder may include (cmake/layers.txt, the
# same lines the build's modules are made from). Prints each offending line and exits 1.
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A direct
while IFS= read -r line; do
  [[ "$line" =~ ^([a-z/_]+):(.*)$ ]] || continue
  direct[${BASH_REMATCH[1]}]="${BASH_REMATCH[2]}"
done < cmake/layers.txt

# closure NAME: NAME and everything it may include, directly or not.
closure() {
  local -a queue=("$1") seen=()
  local next dep
  while [ ${#queue[@]} -gt 0 ]; do
    next=${queue[0]}; queue=("${queue[@]:1}")
    [[ " ${seen[*]} " == *" $next "* ]] && continue
    seen+=("$next")
    for dep in ${direct[$next]:-}; do queue+=("$dep"); done
  done
  echo "${seen[*]}"
}

# The layer of a file: its folder under src/ or tests/, or the front end's name.
layer_of() {
  case "$1" in
    src/*) local rest=${1#src/}; echo "${rest%%/*}" ;;
    tests/*) local rest=${1#tests/}; local t=${rest%%/*}
             if [ -n "${direct[tests/$t]+x}" ]; then echo "tests/$t"; else echo "$t"; fi ;;
    cli/*) echo cli ;;
    gui/*) echo gui ;;
    python/*) echo python ;;
    include/*) echo library ;;
    bench/ui/*) echo gui ;;
    bench/*) echo bench ;;
  esac
}

status=0
declare -A allowed_cache
while IFS= read -r -d '' file; do
  layer=$(layer_of "$file")
  [ -n "$layer" ] || continue
  if [ -z "${direct[$layer]+x}" ]; then
    echo "$file: folder '$layer' has no line in cmake/layers.txt"; status=1; continue
  fi
  key=$layer; case "$file" in tests/*) key="tests:$layer" ;; esac
  if [ -z "${allowed_cache[$key]+x}" ]; then
    allowed_cache[$key]=" $(closure "$layer") "
    # A test folder may use the shared test helpers.
    case "$file" in tests/*) allowed_cache[$key]+=" support tests/support " ;; esac
  fi
  allowed=${allowed_cache[$key]}
  while IFS= read -r hit; do
    target=${hit#*\"}; target=${target%%/*}
    [ -d "src/$target" ] || [ "$target" = support ] || continue
    if [[ "$allowed" != *" $target "* && "$allowed" != *" tests/$target "* ]]; then
      echo "$file: includes \"$target/...\", which '$layer' may not (cmake/layers.txt)"
      status=1
    fi
  done < <(grep -E '^\s*#\s*include\s+"[a-z_]+/' "$file" || true)
done < <(find src cli gui include python tests bench -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.hpp' \) -print0 2>/dev/null)

if [ "$status" -eq 0 ]; then echo "layer check: every include follows cmake/layers.txt"; fi
exit "$status"
