# What the benchmark scripts share (sourced): the checks for the programs they time, and a
# scratch folder that goes away when the script ends.
set -euo pipefail
bench_name=$(basename "$0")
here="$(cd "$(dirname "$0")" && pwd)"

# need_cli PATH: ends the script with a hint unless PATH is an executable hamcycles-cli.
need_cli() {
  [[ -x "$1" ]] && return
  echo "$bench_name: no hamcycles-cli at $1 (build the target hamcycles-cli first, or pass its path)" >&2
  exit 1
}

# need_nauty: ends the script with a hint unless nauty's generator is installed.
need_nauty() {
  command -v nauty-geng >/dev/null && return
  echo "$bench_name: nauty-geng is not installed (Debian package nauty)" >&2
  exit 1
}

# scratch: sets $work to a fresh folder, removed on exit.
scratch() {
  work="$(mktemp -d)"
  trap 'rm -rf "$work"' EXIT
}
