#!/usr/bin/env bash
# The Windows program, moravine-launcher.exe, under the real Wine and Xvfb,
# in a fresh 64-bit prefix holding the game's version in the 32-bit view, with
# the demo host on 127.0.0.1:80. Wine has no HTML engine here, so the
# program runs without its panel. Under the Traditional Chinese locale Wine
# takes code page 950, so the Big5 string table shows as it does for the
# game's players.
#   The window is 640x480 and centred; the seven faces equal their bitmaps,
#   hover faces and the disabled faces during the download too; play with
#   a game that is no Windows program gives the system's message and the
#   notice, and play comes back; a patch
#   server that trickles leaves hover and leave answering, and the game
#   folder as it was; the version line shows the installed version;
#   the update asks the host, downloads the patch (a MinGW program that
#   raises the version in the registry) with the progress line showing,
#   starts it and ends; a second start shows the new version and says it is
#   up to date; leave ends the program with 0.
# Usage: windows-exe.sh LAUNCHER.exe TOOLS-FOLDER SHOTS-FOLDER GAME-VERSION PATCH-VERSION
# TOOLS-FOLDER holds version-line-reference.exe and the patch stand-in MRVPatch.exe.
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
old_version=$4
new_version=$5
exe=$launcher
export LC_ALL=zh_TW.UTF-8
trap 'wineserver -k 2>/dev/null || true; wineserver -w 2>/dev/null || true; cleanup' EXIT
fresh_wine_prefix
export WINEDEBUG=-all
install_game_version "$old_version"

# The program as a command the helpers start in the game folder.
launcher=$work/moravine-launcher
printf '#!/bin/sh\nexec wine "%s"\n' "$exe" >"$launcher"
chmod +x "$launcher"

# The status lines as Windows draws them over the background.
shows_version() {  # shows_version VERSION
  local reference="$work/version-$1.ppm"
  [ -f "$reference" ] || wine "$tools/version-line-reference.exe" "$bitmaps/51.bmp" "$reference" "$1" ||
    fail "no version line picture"
  screenshot && shot_shows "$reference" 7 430
}
shows_progress() {  # prints the percentage shown
  if [ ! -d "$work/progress" ]; then
    mkdir "$work/progress"
    wine "$tools/version-line-reference.exe" "$bitmaps/51.bmp" --progress "$work/progress" ||
      fail "no progress line pictures"
  fi
  screenshot && picture progress "$work/progress" $((X0 + 480)) $((Y0 + 430))
}

cp -r "$demo/www" "$work/www"
cp "$tools/MRVPatch.exe" "$work/www/patch/MRVPatch.exe"
printf 'MRVVERSION%s' "$new_version" >"$work/www$VERSION_PATH"
serve 80 "$work/www"

echo "window: 640x480, centred; the faces and the version line $old_version"
start_launcher
eval "$(xdotool getwindowgeometry --shell "$(main_window)")"
[ "$X,$Y,$WIDTH,$HEIGHT" = "$X0,$Y0,640,480" ] || fail "the window is at $X,$Y, ${WIDTH}x$HEIGHT"
wait_for 20 shows_faces "${FACES[@]}" || fail "not every button shows its face"
wait_for 20 shows_version "$old_version" || fail "no version line 版本：$old_version"
keep_shot start

echo "hover: the faces follow the mouse"
for id in 1 2 3 4 5 6 7; do
  faces=("${FACES[@]}")
  faces[id - 1]=$((FACES[id - 1] + 1))
  point_at "$id"
  wait_for 10 shows_faces "${faces[@]}" || fail "hover on button $id"
done
# A move over the window's own client area away from the buttons: a button
# keeps its hover face while the pointer is outside the window.
xdotool mousemove $((X0 + 320)) $((Y0 + 20))
wait_for 10 shows_faces "${FACES[@]}" || fail "the faces did not return to rest"

echo "play: the demo's game is no Windows program: the system's message, then the notice; play comes back"
press 1
# A box without a caption has the system's "Error", here in Chinese.
answer_box '錯誤'
answer_box '貼心小訊息 =_=a' play-failed
wait_for 10 shows_faces "${FACES[@]}" || fail "play is not enabled again"
[ ! -e "$game/ran-MRVSP.txt" ] || fail "the demo's game ran"

echo "a patch server that trickles: hover answers mid-download, leave ends the program, the game folder stays"
printf 'MRVDOWNLOADSITEKEY=http://127.0.0.1:8080/patch/MRVPatch.exe' >"$work/www$SITE_PATH"
serve 8080 --trickle
keep_game_folder
press 2
wait_for 20 test -s "$game/MRVPatch.exe.part" || fail "no part of the patch written"
wait_for 10 shows_faces 54 57 || fail "play and update are not disabled during the download"
point_at 3
wait_for 10 shows_faces 54 57 59 || fail "no hover face during the download"
leave
game_folder_as_kept || fail "the game folder changed"
stop_host
cp "$demo/www$SITE_PATH" "$work/www$SITE_PATH"
rm "$game/MRVPatch.exe"

echo "update: the patch downloads with the progress line showing, starts and ends the program"
start_launcher
wait_for 20 shows_faces "${FACES[@]}" || fail "the window was not painted"
press 2
wait_for 30 shows_progress || fail "no progress line during the download"
shot_shows_faces 54 57 || fail "play and update are not disabled during the download"
keep_shot download
expect_exit 0 120
host_was_asked 80 "$VERSION_PATH" && host_was_asked 80 "$SITE_PATH" && host_was_asked 80 /patch/MRVPatch.exe ||
  fail "the host was not asked for the version, the site and the patch: $(cat "$work/host-80.log")"
cmp -s "$game/MRVPatch.exe" "$tools/MRVPatch.exe" || fail "MRVPatch.exe differs from the patch stand-in"
wait_for 60 registry_saved_with "$new_version" || fail "the patch did not raise GameVerSP to $new_version"

echo "second start: the new version, and the update says it is up to date"
start_launcher
wait_for 20 shows_version "$new_version" || fail "no version line 版本：$new_version"
press 2
answer_box '貼心小訊息 \^O\^' up-to-date
# Enabled again, each button at rest until the pointer next moves.
wait_for 10 shows_faces "${FACES[@]}" || fail "play and update are not enabled again"
leave
echo "all checks of the Windows program under Wine passed"
