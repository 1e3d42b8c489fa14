#!/usr/bin/env bash
# The real launcher under Xvfb against what the world may send it, run by the
# tests in a private network namespace with a default route (the test host on
# 127.0.0.1:80):
#   message boxes closed by their close button: the up-to-date notice, the
#            "CreateProcess failed." box and its notice, and the stop-icon box
#            of a download that cannot connect each go as if OK was pressed,
#            the launcher carries on, and only the stop-icon box has an icon;
#   the registry file: a FIFO, a sparse 100 GB file, a directory, a link loop
#            and a link to /dev/zero as system.reg, at start and while
#            running: the window works and the version line keeps its last
#            value (empty at start).
# The launcher writes nothing on standard error throughout.
# Usage: hostile-input.sh LAUNCHER X-CLOSE-REQUEST BITMAP-DIR DEMO-DIR VERSION-LINE-REFERENCE
set -euo pipefail
launcher=$1
closer=$2
bitmaps=$3
demo=$4
reference=$5
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
pids=()
launcher_pid=""

cleanup() {
  [ -n "$launcher_pid" ] && kill "$launcher_pid" 2>/dev/null || true
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  [ -s "$work/stderr" ] && { echo "launcher said:" >&2; cat "$work/stderr" >&2; }
  exit 1
}

# shellcheck source=xvfb.sh
source "$here/xvfb.sh"

# The launcher's window is centred on the 1024x768 screen, at (192,144).
shows_picture() {  # shows_picture PICTURE-FILE CLIENT-X CLIENT-Y
  import -window root "$work/shot.png"
  /usr/bin/python3 "$here/region-matches.py" "$work/shot.png" "$1" $((192 + $2)) $((144 + $3))
}
shows_version() { shows_picture "$work/version-$1.ppm" 7 430; }

# The launcher answers: the update button turns blue under the pointer, and
# back when it leaves.
answers() {
  xdotool mousemove $((192 + 130)) $((144 + 460))
  wait_for 10 shows_picture "$bitmaps/56.bmp" 95 446 || return 1
  xdotool mousemove $((192 + 320)) $((144 + 40))
  wait_for 10 shows_picture "$bitmaps/55.bmp" 95 446
}

press() {  # press BUTTON-NUMBER, from 1 at the left
  xdotool mousemove $((192 + 5 + 90 * ($1 - 1) + 44)) $((144 + 461)) click 1
}

start_launcher() {  # start_launcher PREFIX
  (cd "$work/game" && WINEPREFIX="$1" exec "$launcher") 2>>"$work/stderr" &
  launcher_pid=$!
  wait_for 20 xdotool search --onlyvisible --name '^Moravine$' || fail "no launcher window appeared"
}

leave() {
  xdotool mousemove $((192 + 590)) $((144 + 460)) click 1
  expect_exit 0 20
}

box_window() {  # box_window TITLE-PATTERN: the shown box's window
  xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1
}
box_shown() { [ -n "$(box_window "$1")" ]; }
box_gone() { ! box_shown "$1"; }

# Waits for the box, checks whether it shows a stop icon (yes|no), asks it to
# close as the desktop's close button does, and waits for it to go.
close_box() {  # close_box TITLE-PATTERN yes|no
  wait_for 20 box_shown "$1" || fail "no message box titled $1"
  local box
  box=$(box_window "$1")
  eval "$(xdotool getwindowgeometry --shell "$box")"
  icon_as_expected() {
    import -window root "$work/shot.png"
    /usr/bin/python3 "$here/stop-icon-shows.py" "$work/shot.png" "$X" "$Y" "$WIDTH" "$HEIGHT" "$2"
  }
  wait_for 10 icon_as_expected "$@" || fail "the box $1 should show a stop icon: $2"
  "$closer" "$box"
  wait_for 20 box_gone "$1" || fail "the box $1 stayed after its close button"
}

serve_versions() {  # serve_versions LATEST-VERSION SITE
  printf 'MRVVERSION%s' "$1" >"$work/www/latest_version/mrv/2.0.x.x.x/version.php"
  printf 'MRVDOWNLOADSITEKEY=%s' "$2" >"$work/www/latest_version/mrv/2.0.x.x.x/download_sites.php"
}

# Nothing of the desktop's but its settings' schemas, content types and
# icons: no browser or other application to start.
mkdir -p "$work/share/applications" "$work/home/applications" "$work/config"
for shared in glib-2.0 mime icons; do ln -s "/usr/share/$shared" "$work/share/$shared"; done
export XDG_DATA_DIRS="$work/share" XDG_DATA_HOME="$work/home" XDG_CONFIG_HOME="$work/config"
export HOME="$work" XDG_CACHE_HOME="$work/cache" MORAVINE_WEB_HOST=127.0.0.1

start_xvfb "$work" || fail "Xvfb did not start"
pids+=("$xvfb_pid")
cp -r "$demo/game" "$work/game"
cp -r "$demo/www" "$work/www"
cp -r "$demo/prefix" "$work/prefix"
"$reference" "$work/version-2.0.1.0.3.ppm" || fail "no reference picture of the version line"
"$reference" "$work/version-empty.ppm" "" || fail "no reference picture of the empty version line"
/usr/bin/python3 "$here/demo-host.py" "$work/host.log" "$work/www" &
pids+=("$!")
wait_for 20 test -s "$work/host.log" || fail "the test host did not start"

echo "boxes: the up-to-date notice goes by its close button"
serve_versions 2.0.1.0.3 http://127.0.0.1:1/x
start_launcher "$work/prefix"
wait_for 20 shows_version 2.0.1.0.3 || fail "no version line"
press 2
close_box '貼心小訊息 \^O\^' no
answers || fail "the launcher does not answer after the notice"

echo "boxes: \"CreateProcess failed.\" and its notice go by their close buttons"
mv "$work/game/MRVSP.dat" "$work/MRVSP.dat"
press 1
close_box Error no
close_box '貼心小訊息 =_=a' no
answers || fail "the launcher does not answer after the play failed"
mv "$work/MRVSP.dat" "$work/game/MRVSP.dat"

echo "boxes: the stop-icon box of a download that cannot connect goes by its close button"
serve_versions 2.0.1.0.4 http://127.0.0.1:1/x
press 2
close_box moravine-launcher yes
answers || fail "the launcher does not answer after the failed download"
leave
[ ! -s "$work/stderr" ] || fail "the launcher wrote to the terminal"

hostile_registry() {  # hostile_registry KIND PATH
  rm -rf "$2"
  case $1 in
    fifo) mkfifo "$2" ;;
    sparse) truncate -s 100G "$2" ;;
    directory) mkdir "$2" ;;
    loop) ln -s system.reg "$2" ;;
    zero) ln -s /dev/zero "$2" ;;
  esac
}
kinds="fifo sparse directory loop zero"

for kind in $kinds; do
  echo "registry at start: $kind"
  mkdir -p "$work/hostile"
  hostile_registry "$kind" "$work/hostile/system.reg"
  start_launcher "$work/hostile"
  wait_for 20 shows_version empty || fail "the version line is not empty with a $kind"
  answers || fail "the launcher does not answer with a $kind"
  shows_version empty || fail "the version line changed with a $kind"
  leave
done

echo "registry while running: the version line keeps its value"
start_launcher "$work/prefix"
wait_for 20 shows_version 2.0.1.0.3 || fail "no version line"
for kind in $kinds; do
  echo "registry while running: $kind"
  hostile_registry "$kind" "$work/prefix/system.reg"
  answers || fail "the launcher does not answer with a $kind"
  shows_version 2.0.1.0.3 || fail "the version line changed with a $kind"
  box_shown moravine-launcher && fail "a failure was shown for a $kind"
done
leave
[ ! -s "$work/stderr" ] || fail "the launcher wrote to the terminal"
echo "all hostile-input checks passed"
