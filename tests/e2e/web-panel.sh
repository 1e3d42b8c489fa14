#!/usr/bin/env bash
# The web panel of the real launcher under Xvfb, run by the tests inside a
# private network namespace: "online" (a default route, test host on
# 127.0.0.1:80) or "offline" (loopback only).
#   online:  the news page shows; a link asking for a new window goes to the
#            default browser, or, without one, to a window of its own that
#            closes by itself; a page opens one new window per click and
#            none without one, and hands the desktop no address but web and
#            mail ones; a page that takes memory without end is ended by
#            WebKit under the limit, and the panel shows an empty page; a click gives the page the keyboard, a right
#            click the browser's context menu; the end of the web process
#            does not end the launcher; the window paints while the page is
#            still on its way; with no host the browser's error page shows.
#   offline: the current directory's default.htm shows, with the frames and
#            links to files in its folder and below, and no other local
#            file; the res scheme serves the blank page and nothing else;
#            without a default.htm, or a current directory, the browser's
#            error page.
# Usage: web-panel.sh online|offline LAUNCHER X-CLOSE-REQUEST BITMAP-DIR
set -euo pipefail
mode=$1
launcher=$2
closer=$3
bitmaps=$4
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

# The launcher's window is centred on the 1024x768 screen, at (192,144); the
# panel is at (7,86) inside it, 625x341.
panel_shows() {  # panel_shows RRGGBB|error-page
  import -window root "$work/shot.png"
  /usr/bin/python3 "$here/panel-shows.py" "$work/shot.png" $((192 + 7)) $((144 + 86)) 625 341 "$1"
}

face_shows() {  # face_shows PICTURE-ID CLIENT-X CLIENT-Y
  import -window root "$work/shot.png"
  /usr/bin/python3 "$here/region-matches.py" "$work/shot.png" "$bitmaps/$1.bmp" $((192 + $2)) $((144 + $3))
}

launcher_windows() {
  xdotool search --onlyvisible --class '^moravine-launcher$' 2>/dev/null | wc -l
}

has_windows() { [ "$(launcher_windows)" -eq "$1" ]; }

web_processes() {
  local count=0
  for child in $(pgrep -P "$launcher_pid"); do
    [ "$(cat "/proc/$child/comm")" != WebKitWebProces ] || count=$((count + 1))
  done
  echo $count
}

start_launcher() {  # start_launcher DIRECTORY
  (cd "$1" && exec "$launcher") 2>"$work/stderr" &
  launcher_pid=$!
  wait_for 20 xdotool search --onlyvisible --name '^Moravine$' || fail "no launcher window appeared"
}

click_panel() {  # on a link filling the page
  xdotool mousemove $((192 + 300)) $((144 + 250)) click 1
}

leave() {
  xdotool mousemove $((192 + 590)) $((144 + 460)) click 1
  expect_exit 0 20
}

serve() {  # serve DIRECTORY: the test host on 127.0.0.1:80
  /usr/bin/python3 -m http.server 80 --bind 127.0.0.1 --directory "$1" >"$work/host.log" 2>&1 &
  host_pid=$!
  pids+=("$host_pid")
  wait_for 10 /usr/bin/python3 -c 'import urllib.request; urllib.request.urlopen("http://127.0.0.1/")' ||
    fail "cannot serve the test host"
}

stop_host() {
  kill "$host_pid"
  wait "$host_pid" 2>/dev/null || true
}

page() {  # page FILE RRGGBB [BODY]
  mkdir -p "$(dirname "$1")"
  printf '<!DOCTYPE html><html><body style="margin:0;background:#%s">%s</body></html>\n' "$2" "${3:-}" >"$1"
}

# The desktop's applications and settings: an own, empty set, so whether a
# default browser exists is the test's choice.
mkdir -p "$work/share/applications" "$work/home/applications" "$work/config"
ln -s /usr/share/glib-2.0 "$work/share/glib-2.0"
ln -s /usr/share/mime "$work/share/mime"
export XDG_DATA_DIRS="$work/share" XDG_DATA_HOME="$work/home" XDG_CONFIG_HOME="$work/config"
export HOME="$work" XDG_CACHE_HOME="$work/cache" WINEPREFIX="$work/prefix" MORAVINE_WEB_HOST=127.0.0.1

start_xvfb "$work" || fail "Xvfb did not start"
pids+=("$xvfb_pid")
mkdir -p "$work/game"

if [ "$mode" = online ]; then
  news=1f8f4f
  other=8f1f6f
  typed=2f4f8f
  field="<input style=\"display:block;margin:0;width:200px;height:30px\"
    oninput=\"if (this.value === 'abc') document.body.style.background = '#$typed'\">"
  link='<a href="/other.htm" target="_blank" style="display:block;height:300px">new window</a>'
  page "$work/www/MRV/loader/SP/index.htm" $news "$field$link"
  page "$work/www/other.htm" $other
  serve "$work/www"

  echo "online: the news page, and not a word on the terminal"
  start_launcher "$work/game"
  wait_for 20 panel_shows $news || fail "the panel does not show the news page"

  echo "online: a new window goes to the default browser; the panel keeps its page"
  cat >"$work/fake-browser" <<SCRIPT
#!/bin/sh
echo "\$1" >"$work/opened"
SCRIPT
  chmod +x "$work/fake-browser"
  printf '[Desktop Entry]\nType=Application\nName=Browser\nExec=%s %%u\nMimeType=x-scheme-handler/http;\n' \
    "$work/fake-browser" >"$work/home/applications/fake-browser.desktop"
  printf '[Default Applications]\nx-scheme-handler/http=fake-browser.desktop\n' >"$work/config/mimeapps.list"
  click_panel
  wait_for 20 test -s "$work/opened" || fail "the default browser was not started"
  [ "$(cat "$work/opened")" = "http://127.0.0.1/other.htm" ] || fail "the browser was given $(cat "$work/opened")"
  has_windows 1 || fail "a window of the launcher's own opened as well"
  panel_shows $news || fail "the panel lost its page"

  echo "online: a click in the panel gives the page the keyboard"
  xdotool mousemove $((192 + 7 + 100)) $((144 + 86 + 15)) click 1
  xdotool type --delay 50 abc
  wait_for 20 panel_shows $typed || fail "the page did not get the keys"

  echo "online: a right click opens the browser's own context menu"
  xdotool mousemove $((192 + 7 + 400)) $((144 + 86 + 15)) click 3
  wait_for 20 has_windows 2 || fail "no context menu"
  xdotool key Escape
  wait_for 20 has_windows 1 || fail "the context menu stayed"

  echo "online: the web process ending leaves the launcher running"
  [ "$(web_processes)" -eq 1 ] || fail "$(web_processes) web processes after the blank page and the news page"
  for child in $(pgrep -P "$launcher_pid"); do
    [ "$(cat "/proc/$child/comm")" != WebKitWebProces ] || kill -9 "$child"
  done
  xdotool mousemove $((192 + 130)) $((144 + 460))
  wait_for 10 face_shows 56 95 446 || fail "the launcher stopped answering"
  leave
  [ ! -s "$work/stderr" ] || fail "the launcher wrote to the terminal"

  echo "online: without a default browser, a window of its own, which closes by itself"
  rm "$work/home/applications/fake-browser.desktop" "$work/config/mimeapps.list"
  start_launcher "$work/game"
  wait_for 20 panel_shows $news || fail "the panel does not show the news page"
  click_panel
  wait_for 20 has_windows 2 || fail "no window opened for the page"
  popup=$(xdotool search --onlyvisible --class '^moravine-launcher$' | grep -vx "$(xdotool search --onlyvisible --name '^Moravine$')")
  # Out of the panel's way: a screen without a window manager stacks it over the launcher.
  xdotool windowsize "$popup" 150 150 windowmove "$popup" 0 0
  page_in_popup() {
    import -window root "$work/shot.png"
    /usr/bin/python3 "$here/panel-shows.py" "$work/shot.png" 10 10 100 100 $other
  }
  wait_for 20 page_in_popup || fail "the new window does not show the page"
  [ "$(web_processes)" -eq 1 ] || fail "$(web_processes) web processes for the panel and the new window"
  panel_shows $news || fail "the panel lost its page"
  "$closer" "$popup"
  wait_for 20 has_windows 1 || fail "the new window did not close"
  kill -0 "$launcher_pid" || fail "closing the new window ended the launcher"
  leave

  echo "online: one new window per click, none without a click, and only web and mail addresses for the desktop"
  cat >"$work/fake-handler" <<SCRIPT
#!/bin/sh
echo "\$1" >>"$work/handed-\$2"
SCRIPT
  chmod +x "$work/fake-handler"
  for scheme in http foo; do
    printf '[Desktop Entry]\nType=Application\nName=%s\nExec=%s %%u %s\nMimeType=x-scheme-handler/%s;\n' \
      "$scheme" "$work/fake-handler" "$scheme" "$scheme" >"$work/home/applications/fake-$scheme.desktop"
  done
  printf '[Default Applications]\nx-scheme-handler/http=fake-http.desktop\nx-scheme-handler/foo=fake-foo.desktop\n' \
    >"$work/config/mimeapps.list"
  loaded=3f6f2f
  first=6f3f2f
  second=2f3f6f
  cat >"$work/www/MRV/loader/SP/index.htm" <<PAGE
<!DOCTYPE html><html><body style="margin:0"
  onload="window.open('/other.htm?unasked'); document.body.style.background = '#$loaded'">
<div style="height:100px" onclick="window.open('foo:bar'); window.open('/other.htm?after-foo');
  document.body.style.background = '#$first'">foo, then a page</div>
<div style="height:241px" onclick="for (let i = 0; i < 100; ++i) window.open('/other.htm?' + i);
  document.body.style.background = '#$second'">a hundred pages</div></body></html>
PAGE
  no_handler_running() { ! pgrep -f "$work/fake-handler" >/dev/null; }
  start_launcher "$work/game"
  wait_for 20 panel_shows $loaded || fail "the panel does not show the page that opens windows"
  xdotool mousemove $((192 + 7 + 300)) $((144 + 86 + 50)) click 1
  wait_for 20 panel_shows $first || fail "the first click was not taken"
  wait_for 20 no_handler_running || fail "the handlers keep running"
  [ ! -e "$work/handed-foo" ] || fail "a foo: address was handed to the desktop"
  [ "$(cat "$work/handed-http" 2>/dev/null)" = "http://127.0.0.1/other.htm?after-foo" ] ||
    fail "the desktop was handed: $(cat "$work/handed-http" 2>/dev/null)"
  xdotool mousemove $((192 + 7 + 300)) $((144 + 86 + 200)) click 1
  wait_for 20 panel_shows $second || fail "the second click was not taken"
  wait_for 20 no_handler_running || fail "the handlers keep running"
  [ "$(wc -l <"$work/handed-http")" -eq 2 ] || fail "$(wc -l <"$work/handed-http") pages handed to the desktop"
  [ "$(tail -n 1 "$work/handed-http")" = "http://127.0.0.1/other.htm?0" ] || fail "$(tail -n 1 "$work/handed-http")"
  has_windows 1 || fail "a window of the launcher's own opened"
  leave
  rm "$work/home/applications/fake-http.desktop" "$work/home/applications/fake-foo.desktop" "$work/config/mimeapps.list"

  echo "online: a page that takes memory without end is stopped by WebKit; the launcher runs on"
  hog=5f2f5f
  cat >"$work/www/MRV/loader/SP/index.htm" <<PAGE
<!DOCTYPE html><html><body style="margin:0;background:#$hog"><script>
const hoard = [];
function grow() {
  for (let i = 0; i < 4; ++i) hoard.push(new Float64Array(1 << 17).fill(i + 1));
  setTimeout(grow, 20);
}
grow();
</script></body></html>
PAGE
  start_launcher "$work/game"
  wait_for 20 panel_shows $hog || fail "the panel does not show the page that takes memory"
  [ "$(web_processes)" -eq 1 ] || fail "$(web_processes) web processes"
  hog_pid=$(for child in $(pgrep -P "$launcher_pid"); do
    [ "$(cat "/proc/$child/comm")" != WebKitWebProces ] || echo "$child"
  done)
  # The page takes about 200 MB a second. WebKit looks at the process's own
  # memory (not the shared libraries) every so often and ends it above half
  # the limit: the largest share of its own memory seen must stay under the
  # limit of 1024 MB.
  peak_kb=0
  hog_ended() {  # notes the most memory of its own the process held while it runs
    local seen
    seen=$(awk '/^RssAnon:/ { print $2 }' "/proc/$hog_pid/status" 2>/dev/null) || return 0
    [ -n "$seen" ] || return 0
    [ "$seen" -le "$peak_kb" ] || peak_kb=$seen
    return 1
  }
  wait_for 120 hog_ended || fail "the web process still runs, at $peak_kb kB"
  [ "$peak_kb" -le $((1024 * 1024)) ] || fail "the web process grew to $peak_kb kB"
  echo "the web process ended, having held $peak_kb kB of its own"
  xdotool mousemove $((192 + 130)) $((144 + 460))
  wait_for 10 face_shows 56 95 446 || fail "the launcher stopped answering"
  panel_settled() { panel_shows error-page || panel_shows only-ffffff; }
  wait_for 20 panel_settled || fail "the panel shows neither an error page nor an empty page"
  leave
  # WebKit says why it ended the web process, in one line of its own.
  if grep -v '^Unable to shrink memory footprint of process .* below the kill thresold .*Killed$' "$work/stderr" |
    grep -q .; then
    fail "the launcher wrote to the terminal"
  fi
  : >"$work/stderr"

  echo "online: the window paints while the news page is still on its way"
  stop_host
  /usr/bin/python3 -c '
import socket
s = socket.socket()
s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
s.bind(("127.0.0.1", 80))
s.listen()
held = []
while True:
    held.append(s.accept())
' &
  host_pid=$!
  pids+=("$host_pid")
  start_launcher "$work/game"
  wait_for 20 face_shows 52 5 446 || fail "the window was not painted"
  panel_shows $news && fail "a page came from a host that never answers"
  leave

  echo "online: no host, the browser's error page"
  stop_host
  start_launcher "$work/game"
  wait_for 20 panel_shows error-page || fail "no error page in the panel"
  leave
else
  echo "offline: the current directory's default.htm with its own files, and no other local file"
  # The page turns its colour once loaded; its frame from a folder below shows,
  # its frame from the folder above must stay empty.
  cat >"$work/game/default.htm" <<PAGE
<!DOCTYPE html><html><body style="margin:0" onload="document.body.style.background = '#c0a030'">
<a href="pages/next.htm" style="display:block;height:100px">the next page</a>
<iframe src="pages/frame.htm" style="display:block;border:0;width:200px;height:40px"></iframe>
<iframe src="../secret.htm" style="display:block;border:0;width:200px;height:40px"></iframe></body></html>
PAGE
  page "$work/game/pages/frame.htm" 30a0c0
  page "$work/game/pages/next.htm" 60c030 \
    "<a href=\"res://$launcher/101\" style=\"display:block;height:341px\">the blank page</a>"
  page "$work/secret.htm" ff00ff
  frame_shows() {  # inside the first frame, at (0,100) of the panel
    import -window root "$work/shot.png"
    /usr/bin/python3 "$here/panel-shows.py" "$work/shot.png" $((192 + 7 + 10)) $((144 + 86 + 105)) 180 30 30a0c0
  }
  start_launcher "$work/game"
  wait_for 20 panel_shows c0a030 || fail "the panel does not show default.htm"
  wait_for 20 frame_shows || fail "the frame from the game folder does not show"
  panel_shows no-ff00ff || fail "the page showed a file from outside the game folder"
  [ ! -s "$work/stderr" ] || fail "the launcher wrote to the terminal"

  echo "offline: a link to a page of the game folder"
  xdotool mousemove $((192 + 7 + 50)) $((144 + 86 + 20)) click 1
  wait_for 20 panel_shows 60c030 || fail "the link to the next page did not work"

  echo "offline: the built-in blank page, served under the res scheme"
  xdotool mousemove $((192 + 7 + 50)) $((144 + 86 + 20)) click 1
  wait_for 20 panel_shows only-ffffff || fail "the blank page did not show"
  leave

  echo "offline: the res scheme serves nothing but the program's own pages"
  mkdir "$work/other"
  page "$work/other/default.htm" c0a030 \
    '<a href="res:///etc/passwd/101" style="display:block;height:341px">another file</a>'
  start_launcher "$work/other"
  wait_for 20 panel_shows c0a030 || fail "the panel does not show default.htm"
  click_panel
  wait_for 20 panel_shows error-page || fail "no error page for another file"
  leave

  echo "offline: no default.htm, the browser's error page"
  mkdir "$work/empty"
  start_launcher "$work/empty"
  wait_for 20 panel_shows error-page || fail "no error page in the panel"
  leave

  echo "offline: no current directory, the launcher runs on"
  mkdir "$work/gone"
  (cd "$work/gone" && rmdir "$work/gone" && exec "$launcher") 2>"$work/stderr" &
  launcher_pid=$!
  wait_for 20 xdotool search --onlyvisible --name '^Moravine$' || fail "no launcher window appeared"
  wait_for 20 face_shows 52 5 446 || fail "the window was not painted"
  wait_for 20 panel_shows error-page || fail "no error page in the panel"
  leave
fi
echo "all web panel checks passed"
