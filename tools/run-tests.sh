#!/usr/bin/env bash
# Installs what is missing, builds from scratch and runs every test.
# Run as root on Debian 12 (installing packages and private network
# namespaces for the network tests need it).
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)

bash "$repo/tools/setup-debian.sh"
rm -rf "$repo/build"
cmake -S "$repo" -B "$repo/build"
cmake --build "$repo/build" -j"$(nproc)"
cd "$repo/build"
ctest --output-on-failure -j2
