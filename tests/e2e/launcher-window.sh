#!/usr/bin/env bash
# The real launcher under Xvfb: its window is 640x480 and centred, its faces
# show, the demo's installed version shows as the version line, drawn as the
# headless display draws it (so without missing-glyph boxes), in a UTF-8 and
# in the Big5 locale, a hover turns a face blue, leave ends it with status 0,
# a close request ends it too, and without a display it says so and exits with 1.
# Usage: launcher-window.sh LAUNCHER X-CLOSE-REQUEST BITMAP-DIR DEMO-PREFIX VERSION-LINE-REFERENCE
set -euo pipefail
launcher=$1
closer=$2
bitmaps=$3
demo_prefix=$4
reference=$5
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
xvfb_pid=""
launcher_pid=""

cleanup() {
  [ -n "$launcher_pid" ] && kill "$launcher_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# shellcheck source=xvfb.sh
source "$here/xvfb.sh"

shows_picture() {  # shows_picture PICTURE-FILE CLIENT-X CLIENT-Y
  import -window root "$work/shot.png"
  /usr/bin/python3 "$here/region-matches.py" "$work/shot.png" "$1" $((192 + $2)) $((144 + $3))
}

shows() {  # shows PICTURE-ID CLIENT-X CLIENT-Y
  shows_picture "$bitmaps/$1.bmp" "$2" "$3"
}

find_window() {
  xdotool search --onlyvisible --name '^Moravine$' | head -n 1
}

start_launcher() {  # start_launcher [LOCALE]
  (cd "$work" && WINEPREFIX="$work/prefix" exec env ${1:+LC_ALL=$1} "$launcher") &
  launcher_pid=$!
  wait_for 20 find_window || fail "no launcher window appeared"
  window=$(find_window)
}

start_xvfb "$work" || fail "Xvfb did not start"

cp -r "$demo_prefix" "$work/prefix"
"$reference" "$work/version-line.ppm" || fail "no reference picture of the version line"

echo "window: size, place and faces"
start_launcher
eval "$(xdotool getwindowgeometry --shell "$window")"
[ "$X,$Y,$WIDTH,$HEIGHT" = "192,144,640,480" ] || fail "window at $X,$Y size ${WIDTH}x$HEIGHT"
for i in 0 1 2 3 4 5 6; do
  wait_for 10 shows $((52 + 3 * i)) $((5 + 90 * i)) 446 || fail "face $((52 + 3 * i)) not shown"
done

echo "version line: 版本：2.0.1.0.3 below the panel"
wait_for 10 shows_picture "$work/version-line.ppm" 7 430 || fail "the version line is not shown as drawn headless"

echo "hover: the update button turns blue"
xdotool mousemove $((192 + 130)) $((144 + 460))
wait_for 10 shows 56 95 446 || fail "no hover face on the update button"
shows 52 5 446 || fail "the play button changed"

echo "leave: ends with status 0"
xdotool mousemove $((192 + 590)) $((144 + 460)) click 1
expect_exit 0 20

echo "Big5 locale: the same version line"
start_launcher zh_TW.BIG5
wait_for 10 shows_picture "$work/version-line.ppm" 7 430 || fail "the Big5 version line differs"
xdotool mousemove $((192 + 590)) $((144 + 460)) click 1
expect_exit 0 20

echo "close request: ends with status 0"
start_launcher
"$closer" "$window"
expect_exit 0 20

echo "no display: a clear message and status 1"
status=0
env -u DISPLAY "$launcher" 2>"$work/stderr" || status=$?
[ "$status" -eq 1 ] || fail "status $status without a display"
grep -q "cannot create the launcher window" "$work/stderr" || fail "no message: $(cat "$work/stderr")"

echo "all end-to-end checks passed"
