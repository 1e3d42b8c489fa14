#!/usr/bin/env bash
# Runs a command in a private network namespace: loopback up and, with
# --online, a default route over loopback so the machine reports a network.
# The route names a gateway (127.0.0.1): Wine counts an adapter as connected
# only when it has one.
# Nothing can leave the machine from inside. Without root, the namespace
# belongs to a user namespace of its own, whose root may serve port 80; where
# the system allows no such namespace, it says why and exits with 77, which
# CTest counts as a skipped test (tests/CMakeLists.txt: NETNS_SKIP).
set -euo pipefail
online=0
if [ "${1:-}" = "--online" ]; then
  online=1
  shift
fi
namespaces=(--net)
if [ "$(id -u)" -ne 0 ]; then
  namespaces=(--map-root-user --net)
  if ! refusal=$(unshare "${namespaces[@]}" true 2>&1); then
    echo "skipped: not root, and this system gives no user namespace to a user ($refusal)" >&2
    exit 77
  fi
fi
exec unshare "${namespaces[@]}" -- bash -c '
  ip link set lo up
  if [ "$0" = 1 ]; then ip route add default via 127.0.0.1 dev lo; fi
  exec "$@"
' "$online" "$@"
