# Sourced by the end-to-end scripts, which drive the real launcher under a
# private Xvfb as a player would, inside tests/netns-run.sh. Every script
# takes LAUNCHER TOOLS-FOLDER SHOTS-FOLDER [MORE...]: TOOLS-FOLDER is the
# build folder of tests/e2e (version-line-reference, x-close-request, the
# Wine stand-ins), kept screenshots go to SHOTS-FOLDER.
# It gives a scratch folder $work, removed at the end; Xvfb; copies of the
# demo's prefix ($WINEPREFIX) and game folder ($game); a desktop of the
# test's own; the demo host as MORAVINE_WEB_HOST; and the helpers below.
set -euo pipefail
launcher=$1
tools=$2
shots=$3
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
bitmaps=$here/../../res/bitmaps
demo=$here/../../demo
work=$(mktemp -d)
game=$work/game
mkdir -p "$shots"
rm -f "$shots"/*.png
pids=()
launcher_pid=""
# The window is centred on the 1024x768 screen; its panel lies at (7,86), 625x341.
readonly X0=192 Y0=144 PANEL_X=7 PANEL_Y=86
readonly VERSION_PATH=/latest_version/mrv/2.0.x.x.x/version.php
readonly SITE_PATH=/latest_version/mrv/2.0.x.x.x/download_sites.php
# The buttons' faces from the left, as they show at rest.
readonly FACES=(52 55 58 61 64 67 70)

cleanup() {
  [ -n "$launcher_pid" ] && kill "$launcher_pid" 2>/dev/null || true
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

fail() {  # a script may define on_failure to say more
  echo "FAIL: $*" >&2
  ! declare -F on_failure >/dev/null || on_failure
  [ -s "$work/stderr" ] && { echo "launcher said:" >&2; cat "$work/stderr" >&2; }
  [ -f "$work/shot.png" ] && cp "$work/shot.png" "$shots/failure.png" && echo "last screenshot: $shots/failure.png" >&2
  exit 1
}

# Retries a command every 50 ms until it succeeds; fails after $1 seconds.
wait_for() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@" >/dev/null 2>&1; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.05
  done
}

# Waits up to $2 seconds for the launcher to end and checks its exit status is $1.
expect_exit() {  # expect_exit STATUS SECONDS
  wait_for "$2" eval '! kill -0 "$launcher_pid"' || fail "the launcher did not end within $2 seconds"
  local status=0
  wait "$launcher_pid" || status=$?
  launcher_pid=""
  [ "$status" -eq "$1" ] || fail "exit status $status, expected $1"
}

start_launcher() {  # start_launcher [FOLDER [SETTING=VALUE...]], the game folder by default
  xdotool mousemove 0 0
  (cd "${1:-$game}" && exec env "${@:2}" "$launcher") 2>>"$work/stderr" &
  launcher_pid=$!
  wait_for 20 xdotool search --onlyvisible --name '^Moravine$' || fail "no launcher window appeared"
}
main_window() { xdotool search --onlyvisible --name '^Moravine$' | head -n 1; }
point_at() { xdotool mousemove $((X0 + 49 + 90 * ($1 - 1))) $((Y0 + 461)); }  # BUTTON, 1 to 7
press() {
  point_at "$1"
  xdotool click 1
}
leave() {
  press 7
  expect_exit 0 20
}
click_panel() { xdotool mousemove $((X0 + PANEL_X + $1)) $((Y0 + PANEL_Y + $2)) click "${3:-1}"; }  # X Y [BUTTON]
quiet() { [ ! -s "$work/stderr" ] || fail "the launcher wrote to the terminal"; }

# Screenshots and the checks on them (see picture.py), in client coordinates.
screenshot() { import -window root "$work/shot.png"; }
keep_shot() { cp "$work/shot.png" "$shots/$1.png"; }
picture() { /usr/bin/python3 "$here/picture.py" "$1" "$work/shot.png" "${@:2}"; }
shot_shows() {  # shot_shows PICTURE X Y [PICTURE X Y...]
  local args=()
  while [ $# -gt 0 ]; do
    args+=("$1" $((X0 + $2)) $((Y0 + $3)))
    shift 3
  done
  picture matches "${args[@]}"
}
shot_shows_faces() {  # shot_shows_faces FACE... for the buttons from the left
  local args=() x=5
  for id in "$@"; do
    args+=("$bitmaps/$id.bmp" $x 446)
    x=$((x + 90))
  done
  shot_shows "${args[@]}"
}
shot_panel_shows() {  # shot_panel_shows WHAT [X Y WIDTH HEIGHT], inside the panel
  picture colour $((X0 + PANEL_X + ${2:-0})) $((Y0 + PANEL_Y + ${3:-0})) "${4:-625}" "${5:-341}" "$1"
}
shows_faces() { screenshot && shot_shows_faces "$@"; }
panel_shows() { screenshot && shot_panel_shows "$@"; }
# The demo's news page: its header band, right of the title, is one colour.
shows_news() { panel_shows only-2c1d10 400 4 200 30; }
shows_version() {  # shows_version VERSION: "版本：VERSION" as the headless display draws it
  local reference="$work/version-$1.ppm"
  [ -f "$reference" ] || "$tools/version-line-reference" "$reference" "$1" || fail "no version line picture"
  screenshot && shot_shows "$reference" 7 430
}
shows_progress() {  # prints the percentage shown
  if [ ! -d "$work/progress" ]; then
    mkdir "$work/progress"
    "$tools/version-line-reference" --progress "$work/progress" || fail "no progress line pictures"
  fi
  screenshot && picture progress "$work/progress" $((X0 + 480)) $((Y0 + 430))
}
# Two screenshots in a row the same: a box drawn in full, the window repainted around it.
screen_settled() {
  [ -f "$work/shot.png" ] && cp "$work/shot.png" "$work/previous.png"
  screenshot && picture same "$work/previous.png"
}
# The panel as it is now, and whether it is so again.
keep_panel() { wait_for 10 screen_settled && cp "$work/shot.png" "$work/panel-before.png"; }
panel_as_before() {
  screenshot && picture same "$work/panel-before.png" $((X0 + PANEL_X)) $((Y0 + PANEL_Y)) 625 341
}

# Message boxes, found by their title (a pattern).
box() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1; }
box_shown() { [ -n "$(box "$1")" ]; }
box_gone() { ! box_shown "$1"; }
answer_box() {  # answer_box TITLE [NAME]: a settled picture kept as NAME when named, then Return
  wait_for 20 box_shown "$1" || fail "no message box titled $1"
  if [ -n "${2:-}" ]; then
    wait_for 10 screen_settled || fail "the screen keeps changing under the box $1"
    keep_shot "$2"
  fi
  xdotool windowfocus --sync "$(box "$1")" key Return
  wait_for 20 box_gone "$1" || fail "the box $1 stayed after Return"
}
box_icon() {
  eval "$(xdotool getwindowgeometry --shell "$(box "$1")")"
  screenshot && picture colour "$X" "$Y" "$WIDTH" "$HEIGHT" "$2"
}
close_box() {  # close_box TITLE stop-icon|no-red: the icon checked, closed as by the desktop's close button
  wait_for 20 box_shown "$1" || fail "no message box titled $1"
  wait_for 10 box_icon "$@" || fail "the box $1 should show $2"
  "$tools/x-close-request" "$(box "$1")"
  wait_for 20 box_gone "$1" || fail "the box $1 stayed after its close button"
}

version_installed() { grep -q "\"GameVerSP\"=\"$1\"" "$WINEPREFIX/system.reg"; }

# The update downloads the patch with the progress line showing while play
# and update are disabled; the patch starts, the launcher ends, and the patch
# raised the installed version.
update_downloads() {
  echo "update: the demo patch downloads with the progress line showing"
  start_launcher
  wait_for 30 shows_news || fail "no news page"
  keep_shot start-news
  wait_for 10 shows_version 2.0.1.0.3 || fail "no version line 版本：2.0.1.0.3"
  press 2
  wait_for 30 shows_progress || fail "no progress line during the download"
  shot_shows_faces 54 57 || fail "play and update are not disabled during the download"
  keep_shot download
  # For the picture, a later moment of the same download when one is caught.
  local percent
  while percent=$(shows_progress 2>/dev/null) && [ "$percent" -lt 30 ]; do :; done
  if [ -n "$percent" ] && shot_shows_faces 54 57; then keep_shot download; fi
  expect_exit 0 120
  wait_for 20 version_installed 2.0.1.0.4 || fail "the patch did not raise the version"
  cmp -s "$game/MRVPatch.exe" "$demo/www/patch/MRVPatch.exe" || fail "MRVPatch.exe differs from the demo patch"
}

# The game folder with an earlier patch in it, and whether it is so again:
# every file byte for byte, and nothing more.
keep_game_folder() {
  echo "an earlier patch" >"$game/MRVPatch.exe"
  rm -rf "$work/game-before"
  cp -a "$game" "$work/game-before"
}
game_folder_as_kept() { diff -r "$work/game-before" "$game"; }

# The test host on 127.0.0.1 (see host.py); its log names the requests.
serve() {  # serve PORT ROOT|--silent|--trickle [--hold PATH GATE]
  rm -f "$work/host-$1.log"
  /usr/bin/python3 "$here/host.py" "$work/host-$1.log" "$@" 2>>"$work/host.err" &
  host_pid=$!
  pids+=("$host_pid")
  wait_for 10 test -s "$work/host-$1.log" || fail "cannot serve on 127.0.0.1:$1"
}
stop_host() {
  kill "$host_pid"
  wait "$host_pid" 2>/dev/null || true
}
host_was_asked() { grep -q "^GET $2 " "$work/host-$1.log"; }  # PORT PATH

# The desktop's applications: only the stand-ins asked for ("web" for http
# addresses, "text" for text files, "foo" for foo: addresses, "folder" the
# file manager), each adding a line KIND|ARGUMENT to starts.log. GIO finds
# them through the folder's MIME cache; no session bus is found.
desktop() {  # desktop [KIND...]
  local apps="$XDG_DATA_HOME/applications" cache="[MIME Cache]" type field
  rm -rf "$apps"
  mkdir -p "$apps"
  for kind in "$@"; do
    case $kind in
      web) type=x-scheme-handler/http field=%u ;;
      text) type=text/plain field=%f ;;
      foo) type=x-scheme-handler/foo field=%u ;;
      folder) type=inode/directory field=%u ;;
    esac
    printf '[Desktop Entry]\nType=Application\nName=Stand-in %s\nExec=%s %s %s\nMimeType=%s;\nNoDisplay=true\n' \
      "$kind" "$work/record-start" "$kind" "$field" "$type" >"$apps/stand-in-$kind.desktop"
    cache+=$'\n'"$type=stand-in-$kind.desktop;"
  done
  printf '%s\n' "$cache" >"$apps/mimeinfo.cache"
}
started() { grep -qxF "$1" "$work/starts.log"; }
starts() { wc -l <"$work/starts.log"; }

printf '#!/bin/sh\necho "$1|$2" >>"%s"\n' "$work/starts.log" >"$work/record-start"
chmod +x "$work/record-start"
touch "$work/starts.log"
mkdir -p "$work/system" "$work/home"
for shared in mime glib-2.0 icons; do ln -s "/usr/share/$shared" "$work/system/$shared"; done
export XDG_DATA_HOME="$work/home/data" XDG_DATA_DIRS="$work/system" XDG_CONFIG_HOME="$work/home/config"
export XDG_CONFIG_DIRS="$work/system" XDG_CACHE_HOME="$work/home/cache" HOME="$work/home"
export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-bus" MORAVINE_WEB_HOST=127.0.0.1
desktop

cp -r "$demo/prefix" "$work/prefix"
cp -r "$demo/game" "$game"
export WINEPREFIX="$work/prefix"

Xvfb -displayfd 9 -screen 0 1024x768x24 -nolisten tcp -noreset 9>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
wait_for 20 test -s "$work/display" || fail "Xvfb did not start"
export DISPLAY=":$(cat "$work/display")"

# The real Wine. The game's key as its 32-bit installer wrote it, in a
# 64-bit prefix: written with `wine reg add ... /reg:32`, it lands under
# Wow6432Node.
readonly GAME_KEY='HKLM\Software\Veltrano\Moravine Cht'
readonly GAME_SECTION='[Software\\Wow6432Node\\Veltrano\\Moravine Cht]'

# Waits for the prefix's Wine server to end, which writes the registry; true
# once GameVerSP in the game's section is $1. A server not started yet is not
# waited for, so this is retried.
registry_saved_with() {
  wineserver -w && [ "$(section="$GAME_SECTION" awk '
    index($0, "[") == 1 { inside = index($0, ENVIRON["section"]) == 1; next }
    inside && index($0, "\"GameVerSP\"=") == 1 { print substr($0, 13) }
  ' "$WINEPREFIX/system.reg")" = "\"$1\"" ]
}

# Makes $WINEPREFIX a fresh Wine prefix: one made by wineboot once per tools
# folder (FORMED marks a finished one and names the Wine it was made by; its
# HOME and temporary folder live in it), copied per run. Wineboot offers no
# Mono or Gecko, and Wine makes no menu entries in HOME.
fresh_wine_prefix() {
  local cache=$tools/wine-prefix-cache wine_version lock
  export WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d"
  wine_version=$(WINEDEBUG=-all wine --version)
  exec {lock}>"$cache.lock"
  flock "$lock"
  if [ "$(cat "$cache/formed" 2>/dev/null)" != "$wine_version" ]; then
    echo "prefix: making a fresh Wine prefix (wineboot -i), once per build folder"
    rm -rf "$cache"
    mkdir -p "$cache/home" "$cache/tmp"
    HOME="$cache/home" TMPDIR="$cache/tmp" WINEPREFIX="$cache/prefix" WINEDEBUG=-all \
      wineboot -i >"$cache/wineboot.log" 2>&1 || fail "wineboot -i failed: $(cat "$cache/wineboot.log")"
    HOME="$cache/home" TMPDIR="$cache/tmp" WINEPREFIX="$cache/prefix" wineserver -w
    echo "$wine_version" >"$cache/formed"
  fi
  flock -u "$lock"
  # This run's prefix: the registry files copied; drive_c linked file by
  # file, since Wine writes its registry files anew and renames them and the
  # programs run here write nothing under C:, so no linked file is written to.
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX" "$work/tmp"
  cp -a "$cache/prefix/"{system.reg,user.reg,userdef.reg,.update-timestamp,dosdevices} "$WINEPREFIX/"
  cp -al "$cache/prefix/drive_c" "$WINEPREFIX/drive_c"
  export TMPDIR="$work/tmp"
}

# Installs the game's version $1 into the 32-bit view, as its installer would.
install_game_version() {
  echo "install: the game's version $1 into the 32-bit view with wine reg add /reg:32"
  WINEDEBUG=-all wine reg add "$GAME_KEY" /v GameVerSP /d "$1" /f /reg:32 >"$work/reg.log" 2>&1 ||
    fail "wine reg add failed: $(cat "$work/reg.log")"
  wait_for 60 registry_saved_with "$1" || fail "system.reg has no GameVerSP $1 under Wow6432Node"
}
