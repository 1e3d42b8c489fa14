#!/usr/bin/env bash
# Runs a command in a private network namespace: loopback up and, with
# --online, a default route over loopback so the machine reports a network.
# Nothing can leave the machine from inside.
set -euo pipefail
online=0
if [ "${1:-}" = "--online" ]; then
  online=1
  shift
fi
exec unshare -n -- bash -c '
  ip link set lo up
  if [ "$0" = 1 ]; then ip route add default dev lo; fi
  exec "$@"
' "$online" "$@"
