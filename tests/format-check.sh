#!/usr/bin/env bash
# The C and C++ sources follow the project's .clang-format.
set -euo pipefail
cd "$1"
find src tests tools bench -name '*.cpp' -o -name '*.h' -o -name '*.c' | sort |
  xargs clang-format --dry-run -Werror
