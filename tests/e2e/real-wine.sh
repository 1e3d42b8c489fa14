#!/usr/bin/env bash
# The real launcher under Xvfb against the real Wine: a fresh 64-bit prefix
# (made by wineboot once per build folder, copied per run) in which
# `wine reg add ... /reg:32` installs the game's version, as its 32-bit
# installer would. The version line shows it; play starts the MinGW game
# stand-in MRVSP.dat through Wine in the game folder and the launcher ends;
# the update downloads the MinGW patch stand-in from the demo host, starts it
# through Wine and ends; once Wine has written its registry, a new start shows
# the patched version and a second update finds it current. The launcher's
# standard error stays empty throughout: Wine's diagnostics are silenced.
# Runs inside tests/netns-run.sh --online.
# Usage: real-wine.sh LAUNCHER DEMO-WWW VERSION-LINE-REFERENCE STAND-IN-FOLDER
#                     GAME-VERSION PATCH-VERSION PREFIX-CACHE SHOTS-FOLDER
set -euo pipefail
launcher=$1
demo_www=$2
reference=$3
stand_ins=$4
old_version=$5
new_version=$6
cache=$7
shots=$8
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
pids=()
launcher_pid=""

# The game's key as the launcher, a 32-bit program, sees it in a 64-bit prefix.
readonly GAME_KEY='HKLM\Software\Veltrano\Moravine Cht'
readonly GAME_SECTION='[Software\\Wow6432Node\\Veltrano\\Moravine Cht]'
# Keeps wineboot from offering to install Mono and Gecko, and Wine from
# making menu entries in HOME.
export WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d"

cleanup() {
  [ -n "$launcher_pid" ] && kill "$launcher_pid" 2>/dev/null || true
  # Ends the Wine programs of this run's prefix and its server.
  if [ -d "$work/prefix" ]; then
    WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null || true
    WINEPREFIX="$work/prefix" wineserver -w 2>/dev/null || true
  fi
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  [ -s "$work/stderr" ] && { echo "launcher said:" >&2; cat "$work/stderr" >&2; }
  if [ -f "$work/shot.png" ]; then
    mkdir -p "$shots"
    cp "$work/shot.png" "$shots/failure.png" && echo "last screenshot: $shots/failure.png" >&2
  fi
  exit 1
}

# shellcheck source=xvfb.sh
source "$here/xvfb.sh"

# The window is centred on the 1024x768 screen, at (192,144).
readonly X0=192 Y0=144
screenshot() { import -window root "$work/shot.png"; }
shows_version() {
  screenshot && /usr/bin/python3 "$here/region-matches.py" "$work/shot.png" "$work/version-$1.ppm" $((X0 + 7)) $((Y0 + 430))
}
press() {  # press BUTTON-ID, 1 to 7 from the left
  xdotool mousemove $((X0 + 5 + 90 * ($1 - 1) + 44)) $((Y0 + 461)) click 1
}
box_shown() { xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }
box_gone() { ! box_shown "$1"; }

start_launcher() {
  xdotool mousemove 0 0
  (cd "$game" && exec "$launcher") 2>>"$work/stderr" &
  launcher_pid=$!
  wait_for 20 xdotool search --onlyvisible --name '^Moravine$' || fail "no launcher window appeared"
}

# The value of GameVerSP in the game's section of the prefix's system.reg,
# quotes included; empty when there is none.
registry_version() {
  section="$GAME_SECTION" awk '
    index($0, "[") == 1 { inside = index($0, ENVIRON["section"]) == 1; next }
    inside && index($0, "\"GameVerSP\"=") == 1 { print substr($0, 13) }
  ' "$WINEPREFIX/system.reg"
}
# Waits for the running Wine server of the prefix to end, which writes the
# registry; true once the registry holds version $1. A server not started
# yet is not waited for, so this is retried.
registry_saved_with() {
  wineserver -w && [ "$(registry_version)" = "\"$1\"" ]
}

# A fresh prefix, made once per build folder; FORMED marks a finished one and
# names the Wine it was made by. Its HOME and temporary folder live in it.
make_prefix_cache() {
  local formed="$cache/formed" wine_version
  wine_version=$(WINEDEBUG=-all wine --version)
  exec {lock}>"$cache.lock"
  flock "$lock"
  if [ "$(cat "$formed" 2>/dev/null)" != "$wine_version" ]; then
    echo "prefix: making a fresh Wine prefix (wineboot -i), once per build folder"
    rm -rf "$cache"
    mkdir -p "$cache/home" "$cache/tmp"
    HOME="$cache/home" TMPDIR="$cache/tmp" WINEPREFIX="$cache/prefix" WINEDEBUG=-all \
      wineboot -i >"$cache/wineboot.log" 2>&1 || fail "wineboot -i failed: $(cat "$cache/wineboot.log")"
    HOME="$cache/home" TMPDIR="$cache/tmp" WINEPREFIX="$cache/prefix" wineserver -w
    [ -f "$cache/prefix/system.reg" ] || fail "wineboot made no system.reg: $(cat "$cache/wineboot.log")"
    echo "$wine_version" >"$formed"
  fi
  flock -u "$lock"
  exec {lock}>&-
}

start_xvfb "$work" || fail "Xvfb did not start"
pids+=("$xvfb_pid")
make_prefix_cache

# This run's prefix: the registry files copied; drive_c linked file by file,
# since Wine writes its registry files anew and renames them and the stand-ins
# write nothing under C:, so no linked file is written to.
mkdir -p "$work/prefix" "$work/home" "$work/tmp" "$work/www" "$work/game"
cp -a "$cache/prefix/system.reg" "$cache/prefix/user.reg" "$cache/prefix/userdef.reg" \
  "$cache/prefix/.update-timestamp" "$cache/prefix/dosdevices" "$work/prefix/"
cp -al "$cache/prefix/drive_c" "$work/prefix/drive_c"
export WINEPREFIX="$work/prefix" HOME="$work/home" TMPDIR="$work/tmp" MORAVINE_WEB_HOST=127.0.0.1
# The player has not set WINEDEBUG: the launcher is to silence Wine itself.
unset WINEDEBUG

echo "install: the game's version into the 32-bit view with wine reg add /reg:32"
WINEDEBUG=-all wine reg add "$GAME_KEY" /v GameVerSP /d "$old_version" /f /reg:32 >"$work/reg.log" 2>&1 ||
  fail "wine reg add failed: $(cat "$work/reg.log")"
wait_for 60 registry_saved_with "$old_version" || fail "system.reg has no GameVerSP $old_version under Wow6432Node"

# The demo host with the patch stand-in as the patch and its version as the newest.
cp -r "$demo_www/." "$work/www/"
cp "$stand_ins/MRVPatch.exe" "$work/www/patch/MRVPatch.exe"
printf 'MRVVERSION%s' "$new_version" >"$work/www/latest_version/mrv/2.0.x.x.x/version.php"
/usr/bin/python3 "$here/demo-host.py" "$work/host.log" "$work/www" 2>>"$work/host.err" &
pids+=($!)
wait_for 10 test -s "$work/host.log" || fail "cannot serve on 127.0.0.1:80"
host_was_asked() { grep -q "^GET $1 " "$work/host.log"; }

game="$work/game"
cp "$stand_ins/MRVSP.dat" "$game/MRVSP.dat"
"$reference" "$work/version-$old_version.ppm" "$old_version" || fail "no reference picture of the version line"
"$reference" "$work/version-$new_version.ppm" "$new_version" || fail "no reference picture of the version line"

echo "play: the version line shows $old_version; the game runs through Wine in the game folder"
start_launcher
wait_for 20 shows_version "$old_version" || fail "no version line 版本：$old_version"
press 1
expect_exit 0 20
wait_for 60 test -f "$game/ran-MRVSP.txt" || fail "the game stand-in did not run"
mapfile -t seen <"$game/ran-MRVSP.txt"
windows_game="Z:${game//\//\\}"
[ "${seen[0]}" = "$windows_game" ] || fail "the game ran in ${seen[0]}, not in $windows_game"
[ "${seen[1]//\"/}" = "$windows_game\\MRVSP.dat" ] || fail "the game's command line is ${seen[1]}"
[ "${seen[2]}" = "$WINEPREFIX" ] || fail "the game saw WINEPREFIX ${seen[2]}"

echo "update: the patch downloads, runs through Wine, and the launcher ends"
start_launcher
wait_for 20 shows_version "$old_version" || fail "no version line 版本：$old_version"
press 2
expect_exit 0 120
for path in /latest_version/mrv/2.0.x.x.x/version.php /latest_version/mrv/2.0.x.x.x/download_sites.php /patch/MRVPatch.exe; do
  host_was_asked "$path" || fail "the host was not asked for $path"
done
cmp -s "$game/MRVPatch.exe" "$stand_ins/MRVPatch.exe" || fail "MRVPatch.exe differs from the patch stand-in"
wait_for 60 registry_saved_with "$new_version" || fail "the patch did not raise GameVerSP to $new_version under Wow6432Node"

echo "update again: the version line shows $new_version, already the newest"
start_launcher
wait_for 20 shows_version "$new_version" || fail "no version line 版本：$new_version"
press 2
wait_for 20 box_shown '貼心小訊息 \^O\^' || fail "no up-to-date notice"
xdotool windowfocus --sync "$(xdotool search --onlyvisible --name '^貼心小訊息 \^O\^$' | head -n 1)" key Return
wait_for 20 box_gone '貼心小訊息 \^O\^' || fail "the notice stayed after Return"
press 7
expect_exit 0 20

[ ! -s "$work/stderr" ] || fail "the launcher wrote to the terminal"
echo "all checks against the real Wine passed"
