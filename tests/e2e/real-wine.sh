#!/usr/bin/env bash
# The real launcher against the real Wine: a fresh 64-bit prefix (made by
# wineboot once per build folder, copied per run) in which
# `wine reg add ... /reg:32` installs the game's version, as its 32-bit
# installer would. The version line shows it; play starts the MinGW game
# stand-in MRVSP.dat through Wine in the game folder and the launcher ends;
# the update downloads the MinGW patch stand-in from the demo host, starts it
# through Wine and ends; once Wine has written its registry, a new start shows
# the patched version. Wine's diagnostics stay off the terminal.
# Usage: real-wine.sh LAUNCHER TOOLS-FOLDER SHOTS-FOLDER GAME-VERSION PATCH-VERSION
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
old_version=$4
new_version=$5
# Ends the Wine programs of this run's prefix and its server before the rest.
trap 'wineserver -k 2>/dev/null || true; wineserver -w 2>/dev/null || true; cleanup' EXIT
fresh_wine_prefix
# The player has not set WINEDEBUG: the launcher is to silence Wine itself.
unset WINEDEBUG

install_game_version "$old_version"

# The demo host with the patch stand-in as the patch and its version as the newest.
cp -r "$demo/www" "$work/www"
cp "$tools/wine/MRVPatch.exe" "$work/www/patch/MRVPatch.exe"
printf 'MRVVERSION%s' "$new_version" >"$work/www$VERSION_PATH"
serve 80 "$work/www"
rm "$game"/*
cp "$tools/wine/MRVSP.dat" "$game/MRVSP.dat"

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
press 2
expect_exit 0 120
cmp -s "$game/MRVPatch.exe" "$tools/wine/MRVPatch.exe" || fail "MRVPatch.exe differs from the patch stand-in"
wait_for 60 registry_saved_with "$new_version" || fail "the patch did not raise GameVerSP to $new_version"
start_launcher
wait_for 20 shows_version "$new_version" || fail "no version line 版本：$new_version"
leave
quiet
echo "all checks against the real Wine passed"
