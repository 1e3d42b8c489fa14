#!/usr/bin/env bash
# Installs what is missing, builds from scratch in build-tests/ (a developer's
# own build/ is left alone) and runs every test, with warnings as errors.
# Run as root on Debian 12 (installing packages and private network
# namespaces for the network tests need it).
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
build="$repo/build-tests"

bash "$repo/tools/setup-debian.sh"
rm -rf "$build"
cmake -S "$repo" -B "$build" -DMORAVINE_WERROR=ON
cmake --build "$build" -j"$(nproc)"
cd "$build"
ctest --output-on-failure -j2
