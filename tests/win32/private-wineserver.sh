#!/usr/bin/env bash
# Runs a command (tools/wine-run.sh and a program) with a wineserver of its
# own. Wine's sockets are made by the wineserver, in the network namespace
# the wineserver runs in: inside tests/netns-run.sh, a server already running
# for the same prefix outside the namespace would open the program's sockets
# outside. A private, empty server folder hides every other server, so Wine
# starts one here, in this namespace: upstream Wine keeps its servers in
# /tmp/.wine-UID, Debian's in a folder under TMPDIR.
# Without root the mount namespace comes in a user namespace of its own.
set -euo pipefail
namespaces=(--mount)
[ "$(id -u)" -eq 0 ] || namespaces=(--map-root-user --mount)
exec unshare "${namespaces[@]}" -- bash -c '
  servers=/tmp/.wine-$(id -u)
  mkdir -p "$servers"
  mount -t tmpfs -o mode=0700 tmpfs "$servers"
  export TMPDIR=$servers
  exec "$@"
' bash "$@"
