#!/usr/bin/env bash
# Runs a command on a private Xvfb server of its own (no window manager).
# Usage: run-under-xvfb.sh COMMAND [ARGUMENT...]
set -euo pipefail
display=$(mktemp)
Xvfb -displayfd 9 -screen 0 1280x1024x24 -nolisten tcp -noreset 9>"$display" 2>/dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -f "$display"' EXIT
for _ in $(seq 200); do
  [ -s "$display" ] && break
  sleep 0.05
done
[ -s "$display" ] || { echo "Xvfb did not start" >&2; exit 1; }
DISPLAY=":$(cat "$display")" "$@"
