#!/usr/bin/env bash
# Every button of the real launcher on the demo, with the demo host on
# 127.0.0.1:80 and the desktop's applications replaced by stand-ins; message
# boxes are found by their title and answered with Return or their close
# button. Inside tests/netns-run.sh --online. Offline, the start page is the
# web-panel test's, and the update's notice the command tests'.
#   online:  the 640x480 window in the middle of the screen; the blank page,
#            then the news page; the faces and the version line, also under
#            the Big5 locale; hover and press on every button; sign-up,
#            recruitment and read-me through the stand-ins; without a
#            browser a page goes to explorer.exe in the game folder, else to
#            the file manager, else to the panel; joystick set-up and play start
#            the demo's programs, play ends the launcher; missing programs
#            give their message boxes, so does a patch file that cannot be
#            made, all without a stop icon; leave during a download; the
#            update (as below); leave during a silent server's query.
#   update:  the demo patch downloads with the progress line showing, starts
#            and ends the launcher; the patch raises the installed version;
#            a second update says it is up to date.
#   download-ends: the failure box of a patch server that is not there,
#            with its stop icon, closed by its close button; the patch comes
#            from a server that trickles two bytes a second, or that never
#            answers: hover and leave still answer at once; SIGTERM, SIGINT,
#            SIGHUP and a close request end the launcher mid-download; each
#            leaves the game folder as it was.
# The launcher writes nothing on the terminal throughout.
# Usage: every-button.sh LAUNCHER TOOLS-FOLDER SHOTS-FOLDER MODE
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
mode=$4
# The longest the launcher may take to answer a hover or leave: it answers
# within a few ms; the rest is the screenshots and the process's end.
readonly ANSWER_MS=1500
# The page the sign-up button opens.
readonly SIGN_UP=http://127.0.0.1/modules/gamelinks/reggame.php

update_again() {
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
}

case $mode in
  online)
    echo "start: the window, the blank page while the news page is on its way, the faces, the version line"
    desktop web text
    serve 80 "$demo/www" --hold /MRV/loader/SP/index.htm "$work/news-gate"
    start_launcher
    eval "$(xdotool getwindowgeometry --shell "$(main_window)")"
    [ "$X,$Y,$WIDTH,$HEIGHT" = "$X0,$Y0,640,480" ] || fail "window at $X,$Y size ${WIDTH}x$HEIGHT"
    wait_for 20 host_was_asked 80 /MRV/loader/SP/index.htm || fail "the news page was not asked for"
    wait_for 20 panel_shows only-ffffff || fail "the panel does not show the blank page"
    wait_for 10 shows_faces "${FACES[@]}" || fail "not every button shows its face"
    wait_for 10 shows_version 2.0.1.0.3 || fail "no version line 版本：2.0.1.0.3"
    keep_shot start-blank
    touch "$work/news-gate"
    wait_for 30 shows_news || fail "the news page did not replace the blank page"

    echo "hover: each face turns, the others stay"
    for id in 1 2 3 4 5 6 7; do
      point_at $id
      faces=("${FACES[@]}")
      faces[id - 1]=$((faces[id - 1] + 1))
      wait_for 10 shows_faces "${faces[@]}" || fail "hover on button $id"
    done
    keep_shot hover-leave

    echo "sign-up, recruitment, read-me: through the desktop's default applications"
    press 3
    wait_for 20 started "web|$SIGN_UP" || fail "sign-up: $(cat "$work/starts.log")"
    press 6
    wait_for 20 started "web|http://127.0.0.1/modules/job/" || fail "recruitment: $(cat "$work/starts.log")"
    press 4
    wait_for 20 started "text|$game/readmeSP.txt" || fail "read-me: $(cat "$work/starts.log")"
    [ "$(starts)" -eq 3 ] || fail "more starts than presses: $(cat "$work/starts.log")"
    shows_news || fail "the panel left the news page"

    echo "joystick set-up: starts the demo program, the launcher stays"
    press 5
    wait_for 20 test -s "$game/ran-MRVJoyStickSetup.txt" || fail "the joystick set-up program did not run"
    wait_for 10 shows_faces 52 55 58 61 65 67 70 || fail "the pressed face of joystick set-up"

    echo "play: starts the demo game, the launcher ends with status 0"
    press 1
    wait_for 20 test -s "$game/ran-MRVSP.txt" || fail "the game did not run"
    expect_exit 0 20

    echo "Big5 locale: the same version line"
    start_launcher "$game" LC_ALL=zh_TW.BIG5
    wait_for 10 shows_version 2.0.1.0.3 || fail "the Big5 version line differs"
    leave

    echo "no browser: a page goes to explorer.exe in the game folder, else to the file manager"
    desktop folder
    printf '#!/bin/sh\nexec "%s" program "$1"\n' "$work/record-start" >"$game/explorer.exe"
    chmod +x "$game/explorer.exe"
    start_launcher
    press 3
    wait_for 20 started "program|$SIGN_UP" || fail "explorer.exe: $(cat "$work/starts.log")"
    rm "$game/explorer.exe"
    press 3
    wait_for 20 started "folder|$SIGN_UP" || fail "file manager: $(cat "$work/starts.log")"
    leave

    echo "no browser nor file manager: the page shows in the panel; missing programs say so"
    desktop
    mkdir "$work/away"
    mv "$game/MRVSP.dat" "$game/MRVJoyStickSetup.dat" "$work/away/"
    start_launcher
    wait_for 30 shows_news || fail "no news page"
    press 6
    # The page is narrower than the panel: its own colour on the left. It has
    # no field whose look follows the focus, which the boxes below take.
    wait_for 30 panel_shows only-eef3f7 2 0 20 341 || fail "the recruitment page is not in the panel"
    keep_shot recruitment-in-panel
    [ "$(starts)" -eq 5 ] || fail "a stand-in was started"
    keep_panel || fail "the screen does not settle"
    press 5
    answer_box Error joystick-missing
    wait_for 10 panel_as_before || fail "the panel was not drawn again where the message was"
    press 1
    wait_for 20 box_shown Error || fail "no CreateProcess message"
    box_shown '貼心小訊息 =_=a' && fail "the play notice came before the CreateProcess message"
    close_box Error no-red
    answer_box '貼心小訊息 =_=a' play-failed
    shot_shows_faces 54 || fail "play was not disabled under the notice"
    wait_for 10 shows_faces 53 55 58 61 64 67 70 || fail "play is not enabled again"
    [ "$(wc -l <"$game/ran-MRVSP.txt")" -eq 1 ] || fail "a game ran"
    mv "$work/away/MRVSP.dat" "$work/away/MRVJoyStickSetup.dat" "$game/"

    echo "update: a patch file that cannot be made says so under the program's name"
    mkdir "$game/MRVPatch.exe.part"
    press 2
    close_box moravine-launcher no-red
    wait_for 10 shows_faces 52 56 58 61 64 67 70 || fail "play and update are not enabled again"
    rmdir "$game/MRVPatch.exe.part"

    echo "leave during a download: the launcher ends at once, the earlier patch stays"
    keep_game_folder
    press 2
    wait_for 30 test -s "$game/MRVPatch.exe.part" || fail "no part of the patch written"
    leave
    game_folder_as_kept || fail "the game folder changed"
    version_installed 2.0.1.0.3 || fail "the patch ran"
    rm "$game/MRVPatch.exe"

    update_downloads
    update_again

    echo "leave during a silent server's query: the launcher ends at once"
    stop_host
    serve 80 --silent
    start_launcher
    wait_for 20 shows_faces "${FACES[@]}" || fail "the window was not painted"
    press 2
    wait_for 20 host_was_asked 80 $VERSION_PATH || fail "no version query"
    # The query itself would give up only after about a minute.
    leave
    ;;
  update)
    serve 80 "$demo/www"
    update_downloads
    update_again
    leave
    ;;
  download-ends)
    # The download site names the unhelpful patch server on port 8080.
    cp -r "$demo/www" "$work/www"
    echo -n "MRVDOWNLOADSITEKEY=http://127.0.0.1:8080/patch/MRVPatch.exe" >"$work/www$SITE_PATH"
    serve 80 "$work/www"
    echo "no patch server: the failure box shows a stop icon and goes by its close button"
    start_launcher
    press 2
    close_box moravine-launcher stop-icon
    wait_for 10 shows_faces 52 56 || fail "play and update are not enabled again"
    leave
    start_download() {
      keep_game_folder
      start_launcher
      wait_for 20 shows_faces "${FACES[@]}" || fail "the window was not painted"
      press 2
      wait_for 20 host_was_asked 8080 /patch/MRVPatch.exe || fail "the patch was not asked for"
      [ "$1" = silent ] || wait_for 20 test -s "$game/MRVPatch.exe.part" || fail "no part of the patch written"
    }
    for kind in trickle silent; do
      echo "$kind patch server: hover and leave answer at once"
      serve 8080 --$kind
      start_download $kind
      wait_for 10 shows_faces 54 57 || fail "play and update are not disabled during the download"
      start=$(date +%s%N)
      point_at 3
      wait_for 10 shows_faces 54 57 59 || fail "no hover face during the download"
      hover_ms=$((($(date +%s%N) - start) / 1000000))
      start=$(date +%s%N)
      leave
      leave_ms=$((($(date +%s%N) - start) / 1000000))
      echo "  hover answered in $hover_ms ms, leave in $leave_ms ms"
      [ "$hover_ms" -lt $ANSWER_MS ] && [ "$leave_ms" -lt $ANSWER_MS ] || fail "too slow"
      game_folder_as_kept || fail "the game folder changed"
      stop_host
    done

    serve 8080 --trickle
    for signal in TERM INT HUP; do
      echo "SIG$signal mid-download: the launcher ends, the game folder is as it was"
      start_download trickle
      kill -s $signal "$launcher_pid"
      expect_exit $((128 + $(kill -l $signal))) 20
      game_folder_as_kept || fail "the game folder changed"
    done

    echo "closing the window mid-download: the launcher ends, the game folder is as it was"
    start_download trickle
    "$tools/x-close-request" "$(main_window)"
    expect_exit 0 20
    game_folder_as_kept || fail "the game folder changed"
    ;;
  *)
    fail "unknown mode $mode"
    ;;
esac
quiet
echo "all checks of the $mode run passed; screenshots in $shots"
