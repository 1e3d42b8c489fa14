#!/usr/bin/env bash
# cmake --install of the build tree into a scratch prefix lays out the
# launcher as check-installed.sh expects.
# Usage: install.sh BUILD-DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake --install "$1" --prefix "$work/opt/moravine" >"$work/install.log" ||
  { cat "$work/install.log" >&2; echo "FAIL: cmake --install failed" >&2; exit 1; }
bash "$here/check-installed.sh" "$work/opt/moravine"
echo "install: the installed files pass"
