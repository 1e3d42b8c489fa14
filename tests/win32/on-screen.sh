#!/usr/bin/env bash
# Runs a command on an X server of its own (Xvfb on the first free display,
# which Xvfb itself picks), for Windows test programs that make windows:
# Wine cannot make one without a display. Tests run side by side each get
# their own server.
set -euo pipefail
fd_file=$(mktemp)
Xvfb -displayfd 9 -screen 0 1024x768x24 -nolisten tcp 9>"$fd_file" 2>/dev/null &
server=$!
trap 'kill "$server" 2>/dev/null || true; wait "$server" 2>/dev/null || true; rm -f "$fd_file"' EXIT
for _ in $(seq 200); do
  [ -s "$fd_file" ] && break
  kill -0 "$server" 2>/dev/null || { echo "on-screen: Xvfb did not start" >&2; exit 1; }
  sleep 0.05
done
[ -s "$fd_file" ] || { echo "on-screen: Xvfb gave no display" >&2; exit 1; }
DISPLAY=":$(head -n 1 "$fd_file")" "$@"
