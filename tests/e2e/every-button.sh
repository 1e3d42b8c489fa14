#!/usr/bin/env bash
# Every button of the real launcher under Xvfb, on the demo: the demo host
# (demo/www) on 127.0.0.1:80, scratch copies of the demo prefix and game
# folder, the desktop's applications replaced by stand-ins that record what
# they were given. Driven with xdotool as a player would: message boxes are
# found by their title and dismissed with Return. Runs inside a private
# network namespace (tests/netns-run.sh), with a network ("online") or
# without ("offline"); "update" is the online update alone, which the demo and
# the README's pictures use.
#   online:  the blank page, then the news page, and the version line; hover
#            and press on every button; sign-up, recruitment and read-me
#            through the stand-ins, or without a browser the pages in the
#            panel; joystick set-up and play start the demo's programs, play
#            ends the launcher; missing programs give their message boxes,
#            so does a patch file that cannot be made; leave during a
#            download; the update (as below); leave during a silent server's
#            query.
#   update:  the update downloads the demo patch with the progress line
#            showing, starts it and ends the launcher; the patch raises the
#            installed version; a second update says it is up to date.
#   offline: the local start page; the update says there is no network and
#            contacts no server.
#   download-ends: the patch comes from a server that trickles two bytes a
#            second, or that never answers: hover and leave still answer at
#            once; SIGTERM, SIGINT, SIGHUP and a close request end the
#            launcher mid-download; each leaves the game folder as it was.
# Screenshots of each stage go to SHOTS-FOLDER.
# Usage: every-button.sh online|offline|update|download-ends LAUNCHER BITMAP-DIR DEMO-DIR VERSION-LINE-REFERENCE
#        SHOTS-FOLDER [X-CLOSE-REQUEST]
set -euo pipefail
mode=$1
launcher=$2
bitmaps=$3
demo=$4
reference=$5
shots=$6
closer=${7:-}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
pids=()
launcher_pid=""
host_pid=""

cleanup() {
  [ -n "$launcher_pid" ] && kill "$launcher_pid" 2>/dev/null || true
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  [ -s "$work/stderr" ] && { echo "launcher said:" >&2; cat "$work/stderr" >&2; }
  [ -f "$work/shot.png" ] && cp "$work/shot.png" "$shots/failure.png" && echo "last screenshot: $shots/failure.png" >&2
  exit 1
}

# shellcheck source=xvfb.sh
source "$here/xvfb.sh"

# The window is centred on the 1024x768 screen, at (192,144).
readonly X0=192 Y0=144
screenshot() { import -window root "$work/shot.png"; }
keep_shot() { cp "$work/shot.png" "$shots/$1.png"; }

# Checks on the last screenshot.
shot_shows_picture() {  # shot_shows_picture PICTURE-FILE CLIENT-X CLIENT-Y
  /usr/bin/python3 "$here/region-matches.py" "$work/shot.png" "$1" $((X0 + $2)) $((Y0 + $3))
}
shot_shows_faces() {  # shot_shows_faces PICTURE-ID... for the buttons from the left
  local x=5
  for id in "$@"; do
    shot_shows_picture "$bitmaps/$id.bmp" $x 446 || return 1
    x=$((x + 90))
  done
}
shot_panel_shows() {  # shot_panel_shows RRGGBB|only-RRGGBB [X Y WIDTH HEIGHT], panel coordinates
  local x=${2:-0} y=${3:-0} width=${4:-625} height=${5:-341}
  /usr/bin/python3 "$here/panel-shows.py" "$work/shot.png" $((X0 + 7 + x)) $((Y0 + 86 + y)) "$width" "$height" "$1"
}

# The same checks on a fresh screenshot, for wait_for.
shows_faces() { screenshot && shot_shows_faces "$@"; }
shows_version() { screenshot && shot_shows_picture "$work/version-$1.ppm" 7 430; }
# The news page's header band, right of its title, is one plain colour.
shows_news() { screenshot && shot_panel_shows only-2c1d10 400 4 200 30; }
panel_shows() { screenshot && shot_panel_shows "$@"; }
shows_progress() {
  screenshot && /usr/bin/python3 "$here/progress-line-shows.py" "$work/shot.png" "$work/progress" $((X0 + 480)) $((Y0 + 430))
}

box_shown() {  # box_shown TITLE
  xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1
}
box_gone() { ! box_shown "$1"; }
# Takes screenshots until two in a row show the same, so that a picture kept
# shows a box drawn in full and the window repainted around it.
screen_settled() {
  [ -f "$work/shot.png" ] && cp "$work/shot.png" "$work/previous.png"
  screenshot && /usr/bin/python3 "$here/same-pixels.py" "$work/shot.png" "$work/previous.png"
}
# The panel as it is now, and whether it is so again: what a message box
# covered must be drawn again when it goes.
keep_panel() { wait_for 10 screen_settled && cp "$work/shot.png" "$work/panel-before.png"; }
panel_as_before() {
  screenshot && /usr/bin/python3 "$here/same-pixels.py" "$work/shot.png" "$work/panel-before.png" $((X0 + 7)) $((Y0 + 86)) 625 341
}
# Waits for the message box titled TITLE, keeps a settled screenshot of it as
# NAME when asked, then presses Return in it and waits for it to go.
answer_box() {  # answer_box TITLE [NAME]
  wait_for 20 box_shown "$1" || fail "no message box titled $1"
  if [ -n "${2:-}" ]; then
    wait_for 10 screen_settled || fail "the screen keeps changing under the box $1"
    keep_shot "$2"
  fi
  local box
  box=$(xdotool search --onlyvisible --name "^$1\$" | head -n 1)
  xdotool windowfocus --sync "$box" key Return
  wait_for 20 box_gone "$1" || fail "the message box $1 stayed after Return"
}

point_at() {  # point_at BUTTON-ID: the mouse over the button's middle
  xdotool mousemove $((X0 + 5 + 90 * ($1 - 1) + 44)) $((Y0 + 461))
}
press() {  # press BUTTON-ID
  point_at "$1"
  xdotool click 1
}

start_launcher() {
  xdotool mousemove 0 0
  (cd "$game" && exec "$launcher") 2>>"$work/stderr" &
  launcher_pid=$!
  wait_for 20 xdotool search --onlyvisible --name '^Moravine$' || fail "no launcher window appeared"
}

leave() {
  press 7
  expect_exit 0 20
}

serve() {  # serve ARGUMENTS...: the host on 127.0.0.1:80, see demo-host.py
  rm -f "$work/host.log"
  /usr/bin/python3 "$here/demo-host.py" "$work/host.log" "$@" 2>>"$work/host.err" &
  host_pid=$!
  pids+=("$host_pid")
  wait_for 10 test -s "$work/host.log" || fail "cannot serve on 127.0.0.1:80"
}
stop_host() {
  kill "$host_pid"
  wait "$host_pid" 2>/dev/null || true
}
host_was_asked() { grep -q "^GET $1 " "$work/host.log"; }

# The desktop's applications: only the stand-ins asked for ("web" for http
# addresses, "text" for text files), each recording its kind and argument in
# starts.log. GIO finds them through the folder's MIME cache; the launching
# finds no session bus.
desktop() {  # desktop [KIND...]
  local apps="$work/desktop/data/applications"
  rm -rf "$apps"
  mkdir -p "$apps"
  local cache="[MIME Cache]"
  for kind in "$@"; do
    local type field
    case $kind in
      web) type=x-scheme-handler/http field=%u ;;
      text) type=text/plain field=%f ;;
    esac
    printf '[Desktop Entry]\nType=Application\nName=Stand-in %s\nExec=%s %s %s\nMimeType=%s;\nNoDisplay=true\n' \
      "$kind" "$work/desktop/record-start" "$kind" "$field" "$type" >"$apps/stand-in-$kind.desktop"
    cache+=$'\n'"$type=stand-in-$kind.desktop;"
  done
  printf '%s\n' "$cache" >"$apps/mimeinfo.cache"
}
mkdir -p "$work/desktop/system" "$work/desktop/config" "$work/desktop/system-config" "$work/home"
ln -s /usr/share/mime "$work/desktop/system/mime"
ln -s /usr/share/glib-2.0 "$work/desktop/system/glib-2.0"
cat >"$work/desktop/record-start" <<SCRIPT
#!/bin/sh
echo "\$1|\$2" >>"$work/starts.log"
SCRIPT
chmod +x "$work/desktop/record-start"
touch "$work/starts.log"
started() { grep -qxF "$1" "$work/starts.log"; }
export XDG_DATA_HOME="$work/desktop/data" XDG_DATA_DIRS="$work/desktop/system"
export XDG_CONFIG_HOME="$work/desktop/config" XDG_CONFIG_DIRS="$work/desktop/system-config"
export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/desktop/no-bus"
export HOME="$work/home" XDG_CACHE_HOME="$work/home/cache"

mkdir -p "$shots"
rm -f "$shots"/*.png
cp -r "$demo/prefix" "$work/prefix"
cp -r "$demo/game" "$work/game"
game="$work/game"
export WINEPREFIX="$work/prefix" MORAVINE_WEB_HOST=127.0.0.1

start_xvfb "$work" || fail "Xvfb did not start"
pids+=("$xvfb_pid")

"$reference" "$work/version-2.0.1.0.3.ppm" 2.0.1.0.3 || fail "no reference picture of the version line"
"$reference" "$work/version-2.0.1.0.4.ppm" 2.0.1.0.4 || fail "no reference picture of the version line"
mkdir "$work/progress"
"$reference" --progress "$work/progress" || fail "no reference pictures of the progress line"

# The game folder with an earlier patch in it, and whether it is so again:
# every file byte for byte, and nothing more.
keep_game_folder() {
  echo "an earlier patch" >"$game/MRVPatch.exe"
  rm -rf "$work/game-before"
  cp -a "$game" "$work/game-before"
}
game_folder_as_kept() { diff -r "$work/game-before" "$game"; }

# Milliseconds from now until the command succeeds, at most $1 seconds.
answer_time() {  # answer_time SECONDS COMMAND...
  local start
  start=$(date +%s%N)
  wait_for "$@" || return 1
  echo $((($(date +%s%N) - start) / 1000000))
}
# The longest the launcher may take to answer a hover or leave: it answers
# within a few ms; the rest is the screenshots and the process's end.
readonly ANSWER_MS=1500

# Update, download, patch, and a second update that finds nothing newer.
walk_through_update() {
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
  local percent deadline=$((SECONDS + 120))
  while [ $SECONDS -lt $deadline ] && percent=$(shows_progress); do
    if [ "$percent" -ge 30 ] && shot_shows_faces 54 57; then
      keep_shot download
      break
    fi
  done
  echo "update: the patch starts and the launcher ends"
  expect_exit 0 120
  wait_for 20 grep -q '"GameVerSP"="2.0.1.0.4"' "$WINEPREFIX/system.reg" || fail "the patch did not raise the version"
  cmp -s "$game/MRVPatch.exe" "$demo/www/patch/MRVPatch.exe" || fail "MRVPatch.exe differs from the demo patch"

  echo "update again: already the newest version"
  start_launcher
  wait_for 30 shows_news || fail "no news page"
  wait_for 10 shows_version 2.0.1.0.4 || fail "no version line 版本：2.0.1.0.4"
  keep_panel || fail "the screen does not settle"
  press 2
  answer_box '貼心小訊息 \^O\^' up-to-date
  shot_shows_faces 54 57 || fail "play and update were not disabled under the notice"
  wait_for 10 panel_as_before || fail "the panel was not drawn again where the notice was"
  wait_for 10 shows_faces 52 56 || fail "play and update are not enabled again"
  leave
}

case $mode in
  online)
    echo "start: the blank page while the news page is on its way, the faces, the version line"
    desktop web text
    serve "$demo/www" --hold /MRV/loader/SP/index.htm "$work/news-gate"
    start_launcher
    wait_for 20 host_was_asked /MRV/loader/SP/index.htm || fail "the news page was not asked for"
    wait_for 20 panel_shows only-ffffff || fail "the panel does not show the blank page"
    wait_for 10 shows_faces 52 55 58 61 64 67 70 || fail "not every button shows its face"
    wait_for 10 shows_version 2.0.1.0.3 || fail "no version line 版本：2.0.1.0.3"
    keep_shot start-blank
    touch "$work/news-gate"
    wait_for 30 shows_news || fail "the news page did not replace the blank page"
    keep_shot start-news

    echo "hover: each face turns, the others stay"
    for id in 1 2 3 4 5 6 7; do
      point_at $id
      faces=(52 55 58 61 64 67 70)
      faces[id - 1]=$((faces[id - 1] + 1))
      wait_for 10 shows_faces "${faces[@]}" || fail "hover on button $id"
    done
    keep_shot hover-leave

    echo "sign-up, recruitment, read-me: through the desktop's default applications"
    press 3
    wait_for 20 started "web|http://127.0.0.1/modules/gamelinks/reggame.php" || fail "sign-up: $(cat "$work/starts.log")"
    press 6
    wait_for 20 started "web|http://127.0.0.1/modules/job/" || fail "recruitment: $(cat "$work/starts.log")"
    press 4
    wait_for 20 started "text|$game/readmeSP.txt" || fail "read-me: $(cat "$work/starts.log")"
    [ "$(wc -l <"$work/starts.log")" -eq 3 ] || fail "more starts than presses: $(cat "$work/starts.log")"
    shows_news || fail "the panel left the news page"

    echo "joystick set-up: starts the demo program, the launcher stays"
    press 5
    wait_for 20 test -s "$game/ran-MRVJoyStickSetup.txt" || fail "the joystick set-up program did not run"
    wait_for 10 shows_faces 52 55 58 61 65 67 70 || fail "the pressed face of joystick set-up"
    kill -0 "$launcher_pid" || fail "the launcher ended"

    echo "play: starts the demo game, the launcher ends with status 0"
    press 1
    wait_for 20 test -s "$game/ran-MRVSP.txt" || fail "the game did not run"
    expect_exit 0 20

    echo "no browser: the pages show in the panel; missing programs say so"
    desktop
    mkdir "$work/away"
    mv "$game/MRVSP.dat" "$game/MRVJoyStickSetup.dat" "$work/away/"
    start_launcher
    wait_for 30 shows_news || fail "no news page"
    press 3
    # Both pages are narrower than the panel: their own colour on the left.
    wait_for 30 panel_shows only-f6f1e4 2 0 20 341 || fail "the sign-up page is not in the panel"
    keep_shot sign-up-in-panel
    press 6
    wait_for 30 panel_shows only-eef3f7 2 0 20 341 || fail "the recruitment page is not in the panel"
    [ "$(wc -l <"$work/starts.log")" -eq 3 ] || fail "a stand-in was started"
    keep_panel || fail "the screen does not settle"
    press 5
    answer_box Error joystick-missing
    wait_for 10 panel_as_before || fail "the panel was not drawn again where the message was"
    press 1
    wait_for 20 box_shown Error || fail "no CreateProcess message"
    box_shown '貼心小訊息 =_=a' && fail "the play notice came before the CreateProcess message"
    answer_box Error
    answer_box '貼心小訊息 =_=a' play-failed
    shot_shows_faces 54 || fail "play was not disabled under the notice"
    wait_for 10 shows_faces 53 55 58 61 64 67 70 || fail "play is not enabled again"
    [ "$(wc -l <"$game/ran-MRVSP.txt")" -eq 1 ] || fail "a game ran"
    kill -0 "$launcher_pid" || fail "the launcher ended"
    mv "$work/away/MRVSP.dat" "$work/away/MRVJoyStickSetup.dat" "$game/"

    echo "update: a patch file that cannot be made says so under the program's name"
    mkdir "$game/MRVPatch.exe.part"
    press 2
    answer_box moravine-launcher
    wait_for 10 shows_faces 52 56 58 61 64 67 70 || fail "play and update are not enabled again"
    rmdir "$game/MRVPatch.exe.part"

    echo "leave during a download: the launcher ends at once, the earlier patch stays"
    keep_game_folder
    press 2
    wait_for 30 test -s "$game/MRVPatch.exe.part" || fail "no part of the patch written"
    leave
    game_folder_as_kept || fail "the game folder changed"
    grep -q '"GameVerSP"="2.0.1.0.3"' "$WINEPREFIX/system.reg" || fail "the patch ran"
    rm "$game/MRVPatch.exe"

    walk_through_update

    echo "leave during a silent server's query: the launcher ends at once"
    stop_host
    serve --silent
    start_launcher
    wait_for 20 shows_faces 52 55 58 61 64 67 70 || fail "the window was not painted"
    press 2
    wait_for 20 host_was_asked /latest_version/mrv/2.0.x.x.x/version.php || fail "no version query"
    # The query itself would give up only after about a minute.
    leave
    ;;
  update)
    desktop
    serve "$demo/www"
    walk_through_update
    ;;
  offline)
    echo "offline: the local start page, the version line"
    desktop
    serve "$demo/www"
    start_launcher
    wait_for 30 panel_shows 1b1f24 || fail "the panel does not show default.htm"
    wait_for 10 shows_version 2.0.1.0.3 || fail "no version line 版本：2.0.1.0.3"
    echo "offline: the update says there is no network and asks no server"
    keep_panel || fail "the screen does not settle"
    press 2
    answer_box '貼心小訊息 =_=a' offline
    shot_shows_faces 54 57 || fail "play and update were not disabled under the notice"
    wait_for 10 panel_as_before || fail "the panel was not drawn again where the notice was"
    wait_for 10 shows_faces 52 56 || fail "play and update are not enabled again"
    [ "$(cat "$work/host.log")" = listening ] || fail "the host was asked: $(cat "$work/host.log")"
    leave
    ;;
  download-ends)
    desktop
    # The download site names the unhelpful patch server on port 8080.
    cp -r "$demo/www" "$work/www"
    echo -n "MRVDOWNLOADSITEKEY=http://127.0.0.1:8080/patch/MRVPatch.exe" \
      >"$work/www/latest_version/mrv/2.0.x.x.x/download_sites.php"
    serve "$work/www"
    patch_host() {  # patch_host trickle|silent
      rm -f "$work/patch.log"
      /usr/bin/python3 "$here/patch-host.py" "$work/patch.log" 8080 "$1" 2>>"$work/host.err" &
      patch_pid=$!
      pids+=("$patch_pid")
      wait_for 10 test -s "$work/patch.log" || fail "cannot serve on 127.0.0.1:8080"
    }
    stop_patch_host() {
      kill "$patch_pid"
      wait "$patch_pid" 2>/dev/null || true
    }
    patch_asked() { grep -q '^GET /patch/MRVPatch.exe ' "$work/patch.log"; }
    start_download() {
      keep_game_folder
      start_launcher
      wait_for 20 shows_faces 52 55 58 61 64 67 70 || fail "the window was not painted"
      press 2
      wait_for 20 patch_asked || fail "the patch was not asked for"
    }

    for kind in trickle silent; do
      echo "$kind patch server: hover and leave answer at once"
      patch_host $kind
      start_download
      [ $kind = silent ] || wait_for 20 test -s "$game/MRVPatch.exe.part" || fail "no part of the patch written"
      wait_for 10 shows_faces 54 57 || fail "play and update are not disabled during the download"
      point_at 3
      ms=$(answer_time 10 shows_faces 54 57 59) || fail "no hover face during the download"
      echo "  hover answered in $ms ms"
      [ "$ms" -lt $ANSWER_MS ] || fail "the hover took $ms ms"
      start=$(date +%s%N)
      leave
      ms=$((($(date +%s%N) - start) / 1000000))
      echo "  leave answered in $ms ms"
      [ "$ms" -lt $ANSWER_MS ] || fail "leave took $ms ms"
      game_folder_as_kept || fail "the game folder changed"
      stop_patch_host
    done

    patch_host trickle
    for signal in TERM INT HUP; do
      echo "SIG$signal mid-download: the launcher ends, the game folder is as it was"
      start_download
      wait_for 20 test -s "$game/MRVPatch.exe.part" || fail "no part of the patch written"
      kill -s $signal "$launcher_pid"
      expect_exit $((128 + $(kill -l $signal))) 20
      game_folder_as_kept || fail "the game folder changed"
    done

    echo "closing the window mid-download: the launcher ends, the game folder is as it was"
    start_download
    wait_for 20 test -s "$game/MRVPatch.exe.part" || fail "no part of the patch written"
    "$closer" "$(xdotool search --onlyvisible --name '^Moravine$' | head -n 1)"
    expect_exit 0 20
    game_folder_as_kept || fail "the game folder changed"
    ;;
  *)
    fail "unknown mode $mode"
    ;;
esac
[ ! -s "$work/stderr" ] || fail "the launcher wrote to the terminal"
echo "all checks of the $mode run passed; screenshots in $shots"
