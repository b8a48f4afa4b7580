#!/usr/bin/env bash
# Installs what the build and the tests need, once: a package already present is skipped.
set -euo pipefail
packages=(build-essential cmake libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev nlohmann-json3-dev)
packages+=(libgraphviz-dev)  # the Graph Editor lays out generated graphs with it
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y "${missing[@]}"
fi
