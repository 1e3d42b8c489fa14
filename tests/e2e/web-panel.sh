#!/usr/bin/env bash
# The web panel of the real launcher, with a test host on 127.0.0.1:80.
#   online:  a click gives the page the keyboard, a right click the
#            browser's context menu; a page opens one new window per click
#            and none without one, each for the default browser, and hands
#            the desktop no address but web and mail ones; without a browser
#            the new window is one of the launcher's own, which closes by
#            itself; the end of the web process does not end the launcher; a
#            page that takes memory without end is ended by WebKit under the
#            limit; with no host the browser's error page shows.
#   offline: the current directory's default.htm shows, with the frames and
#            links to files in its folder and below, and no other local
#            file; the res scheme serves the blank page and nothing else;
#            without a default.htm, or a current directory, the browser's
#            error page.
# Usage: web-panel.sh LAUNCHER TOOLS-FOLDER SHOTS-FOLDER online|offline
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
mode=$4

has_windows() { [ "$(xdotool search --onlyvisible --class '^moravine-launcher$' 2>/dev/null | wc -l)" -eq "$1" ]; }
web_processes() {
  for child in $(pgrep -P "$launcher_pid"); do
    [ "$(cat "/proc/$child/comm")" != WebKitWebProces ] || echo "$child"
  done
}
one_web_process() { [ "$(web_processes | wc -l)" -eq 1 ] || fail "$(web_processes | wc -l) web processes"; }
# The launcher answers: the update button turns blue under the pointer.
answers() {
  point_at 2
  wait_for 10 shows_faces 52 56
}
page() {  # page FILE RRGGBB [BODY]
  mkdir -p "$(dirname "$1")"
  printf '<!DOCTYPE html><html><body style="margin:0;background:#%s">%s</body></html>\n' "$2" "${3:-}" >"$1"
}

if [ "$mode" = online ]; then
  loaded=3f6f2f first=6f3f2f second=2f3f6f typed=2f4f8f other=8f1f6f
  # A field at the top, then a strip that opens a foo: address and a page,
  # then one that opens a hundred pages; the page also opens one when loaded.
  page "$work/www/MRV/loader/SP/index.htm" $loaded "
<input style=\"display:block;margin:0;width:200px;height:30px\"
  oninput=\"if (this.value === 'abc') document.body.style.background = '#$typed'\">
<div style=\"height:100px\" onclick=\"window.open('foo:bar'); window.open('/other.htm?after-foo');
  document.body.style.background = '#$first'\">foo, then a page</div>
<div style=\"height:211px\" onclick=\"for (let i = 0; i < 100; ++i) window.open('/other.htm?' + i);
  document.body.style.background = '#$second'\">a hundred pages</div>
<script>window.open('/other.htm?unasked')</script>"
  page "$work/www/other.htm" $other
  serve 80 "$work/www"

  echo "online: one new window per click, none without, for the default browser; only web addresses"
  desktop web foo
  start_launcher
  wait_for 20 panel_shows $loaded || fail "the panel does not show the page"
  no_start_running() { ! pgrep -f "$work/record-start" >/dev/null; }
  click_panel 300 80
  wait_for 20 panel_shows $first || fail "the first click was not taken"
  wait_for 20 no_start_running || fail "the stand-ins keep running"
  [ "$(cat "$work/starts.log")" = "web|http://127.0.0.1/other.htm?after-foo" ] ||
    fail "the desktop was handed: $(cat "$work/starts.log")"
  click_panel 300 200
  wait_for 20 panel_shows $second || fail "the second click was not taken"
  wait_for 20 no_start_running || fail "the stand-ins keep running"
  [ "$(starts)" -eq 2 ] && started "web|http://127.0.0.1/other.htm?0" || fail "handed: $(cat "$work/starts.log")"
  has_windows 1 || fail "a window of the launcher's own opened"

  echo "online: a click gives the page the keyboard; a right click opens the browser's context menu"
  click_panel 100 15
  xdotool type --delay 50 abc
  wait_for 20 panel_shows $typed || fail "the page did not get the keys"
  click_panel 400 15 3
  wait_for 20 has_windows 2 || fail "no context menu"
  xdotool key Escape
  wait_for 20 has_windows 1 || fail "the context menu stayed"

  echo "online: the web process ending leaves the launcher running"
  one_web_process
  kill -9 "$(web_processes)"
  answers || fail "the launcher stopped answering"
  leave

  echo "online: without a default browser, a window of its own, which closes by itself"
  desktop
  start_launcher
  wait_for 20 panel_shows $loaded || fail "the panel does not show the page"
  click_panel 300 80
  wait_for 20 has_windows 2 || fail "no window opened for the page"
  popup=$(xdotool search --onlyvisible --class '^moravine-launcher$' | grep -vx "$(main_window)")
  # Out of the panel's way: a screen without a window manager stacks it over the launcher.
  xdotool windowsize "$popup" 150 150 windowmove "$popup" 0 0
  popup_shows() { screenshot && picture colour 10 10 100 100 $other; }
  wait_for 20 popup_shows || fail "the new window does not show the page"
  one_web_process
  panel_shows $first || fail "the panel lost its page"
  "$tools/x-close-request" "$popup"
  wait_for 20 has_windows 1 || fail "the new window did not close"
  answers || fail "closing the new window ended the launcher"
  leave
  quiet

  echo "online: a page that takes memory without end is stopped by WebKit; the launcher runs on"
  hog=5f2f5f
  page "$work/www/MRV/loader/SP/index.htm" $hog "<script>
const hoard = [];
function grow() {
  for (let i = 0; i < 4; ++i) hoard.push(new Float64Array(1 << 17).fill(i + 1));
  setTimeout(grow, 20);
}
grow();
</script>"
  start_launcher
  wait_for 20 panel_shows $hog || fail "the panel does not show the page that takes memory"
  one_web_process
  hog_pid=$(web_processes)
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
  answers || fail "the launcher stopped answering"
  panel_settled() { panel_shows error-page || panel_shows only-ffffff; }
  wait_for 20 panel_settled || fail "the panel shows neither an error page nor an empty page"
  leave
  # WebKit says why it ended the web process, in one line of its own.
  if grep -v '^Unable to shrink memory footprint of process .* below the kill thresold .*Killed$' "$work/stderr" |
    grep -q .; then
    fail "the launcher wrote to the terminal"
  fi
  : >"$work/stderr"

  echo "online: no host, the browser's error page"
  stop_host
  start_launcher
  wait_for 20 panel_shows error-page || fail "no error page in the panel"
  leave
else
  echo "offline: the current directory's default.htm with its own files, and no other local file"
  # The page turns its colour once loaded; its frame from a folder below shows,
  # its frame from the folder above must stay empty.
  cat >"$game/default.htm" <<PAGE
<!DOCTYPE html><html><body style="margin:0" onload="document.body.style.background = '#c0a030'">
<a href="pages/next.htm" style="display:block;height:100px">the next page</a>
<iframe src="pages/frame.htm" style="display:block;border:0;width:200px;height:40px"></iframe>
<iframe src="../secret.htm" style="display:block;border:0;width:200px;height:40px"></iframe></body></html>
PAGE
  page "$game/pages/frame.htm" 30a0c0
  page "$game/pages/next.htm" 60c030 "<a href=\"res://$launcher/101\" style=\"display:block;height:341px\">blank</a>"
  page "$work/secret.htm" ff00ff
  start_launcher
  wait_for 20 panel_shows c0a030 || fail "the panel does not show default.htm"
  wait_for 20 panel_shows 30a0c0 10 105 180 30 || fail "the frame from the game folder does not show"
  panel_shows no-ff00ff || fail "the page showed a file from outside the game folder"

  echo "offline: a link to a page of the game folder, and from there the built-in blank page"
  click_panel 50 20
  wait_for 20 panel_shows 60c030 || fail "the link to the next page did not work"
  click_panel 50 20
  wait_for 20 panel_shows only-ffffff || fail "the blank page did not show"
  leave

  echo "offline: the res scheme serves nothing but the program's own pages"
  page "$work/other/default.htm" c0a030 '<a href="res:///etc/passwd/101" style="display:block;height:341px">x</a>'
  start_launcher "$work/other"
  wait_for 20 panel_shows c0a030 || fail "the panel does not show default.htm"
  click_panel 300 250
  wait_for 20 panel_shows error-page || fail "no error page for another file"
  leave

  echo "offline: no default.htm, the browser's error page"
  mkdir "$work/empty"
  start_launcher "$work/empty"
  wait_for 20 panel_shows error-page || fail "no error page in the panel"
  leave

  echo "offline: no current directory, the launcher runs on"
  mkdir "$work/gone"
  xdotool mousemove 0 0
  (cd "$work/gone" && rmdir "$work/gone" && exec "$launcher") 2>>"$work/stderr" &
  launcher_pid=$!
  wait_for 20 shows_faces "${FACES[@]}" || fail "the window was not painted"
  wait_for 20 panel_shows error-page || fail "no error page in the panel"
  leave
fi
quiet
echo "all web panel checks passed"
