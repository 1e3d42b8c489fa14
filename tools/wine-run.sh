#!/usr/bin/env bash
# Runs a Windows program built here under Wine, in a prefix of the build's
# own (WINEPREFIX when set, else wine-prefix/ beside the program), made on
# first use. Wine's own chatter is off unless WINEDEBUG is set.
set -euo pipefail
program=$1
shift
if [ -z "${WINEPREFIX:-}" ]; then
  dir=$(cd "$(dirname "$program")" && pwd)
  while [ "$dir" != / ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
  [ "$dir" = / ] && dir=$(cd "$(dirname "$program")" && pwd)
  export WINEPREFIX="$dir/wine-prefix"
fi
export WINEDEBUG=${WINEDEBUG:--all}
# No Gecko or Mono installer prompts while a prefix is made, and no menu
# entries written into HOME.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  # Two tests starting at once make the prefix once: the second waits.
  exec 9>"$WINEPREFIX.lock"
  flock 9
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >/dev/null 2>&1
    wineserver -w
  fi
  flock -u 9
fi
exec wine "$program" "$@"
