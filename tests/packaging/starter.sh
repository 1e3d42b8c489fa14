#!/usr/bin/env bash
# The starter: it finds the game folder through the Wine prefix's registry and
# dosdevices links, enters it and becomes the launcher that lies beside it;
# when the game is not installed, its folder is missing or the launcher is
# absent, it says so in one line and exits with 1 without starting anything.
# Usage: starter.sh STARTER DEMO-DIR
set -euo pipefail
starter=$1
demo=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# The starter beside a stand-in launcher that records where it ran, with how
# many arguments and which prefix, and ends with status 7.
mkdir "$work/bin" "$work/disk"
cp "$starter" "$work/bin/moravine"
printf '#!/bin/sh\n{ pwd -P; echo "$#"; echo "${WINEPREFIX:-unset}"; } >"%s"\nexit 7\n' "$work/record" \
  >"$work/bin/moravine-launcher"
chmod +x "$work/bin/moravine-launcher"
game_folder='drive_c/Program Files (x86)/Veltrano/Moravine'
cp -r "$demo/game" "$work/disk/Moravine"

# A 64-bit prefix named NAME with the demo registry whose InstallPath line is
# replaced by LINE (none when empty), the game in C:\Program Files
# (x86)\Veltrano\Moravine and D: linked to $work/disk.
make_prefix() {  # make_prefix NAME LINE
  local prefix="$work/$1"
  mkdir -p "$prefix/dosdevices" "$prefix/$game_folder"
  ln -s ../drive_c "$prefix/dosdevices/c:"
  ln -s "$work/disk" "$prefix/dosdevices/d:"
  cp "$demo/game/"* "$prefix/$game_folder/"
  LINE="$2" awk '/^"InstallPath"=/ { if (ENVIRON["LINE"] != "") print ENVIRON["LINE"]; next } { print }' \
    "$demo/prefix/system.reg" >"$prefix/system.reg"
}
demo_path=$(grep '^"InstallPath"=' "$demo/prefix/system.reg")

# NAME | InstallPath line (-: as in the demo, empty: none) | launcher's folder, or "refused: " and the message.
cases=(
  "prefix|-|$work/prefix/$game_folder"
  'cased|"InstallPath"="c:\\PROGRAM FILES (X86)/veltrano\\MORAVINE\\"|'"$work/cased/$game_folder"
  'other-drive|"InstallPath"="D:\\Moravine"|'"$work/disk/Moravine"
  "no-value||refused: Moravine is not installed in the Wine prefix $work/no-value"
  'unc|"InstallPath"="\\\\server\\games"|refused: is not on one of its drives'
  "deleted|-|refused: the game folder $work/deleted/dosdevices/c:/Program Files (x86)/Veltrano/Moravine"
  "nowhere|-|refused: there is no Wine prefix at $work/nowhere"
  "no-launcher|-|refused: cannot start the launcher $work/bin/moravine-launcher"
)
for entry in "${cases[@]}"; do
  IFS='|' read -r name line expected <<<"$entry"
  [ "$line" != - ] || line=$demo_path
  [ "$name" = nowhere ] || make_prefix "$name" "$line"
  [ "$name" != deleted ] || rm -r "$work/deleted/$game_folder"
  [ "$name" != no-launcher ] || mv "$work/bin/moravine-launcher" "$work/launcher"
  rm -f "$work/record"
  status=0
  err=$(WINEPREFIX="$work/$name" "$work/bin/moravine" 2>&1) || status=$?
  [ "$name" != no-launcher ] || mv "$work/launcher" "$work/bin/moravine-launcher"
  case $expected in
    "refused: "*)
      [ "$status" -eq 1 ] && [ ! -e "$work/record" ] || fail "$name: status $status, not refused ($err)"
      [[ "$err" == "moravine: "*"${expected#refused: }"* && "$err" != *$'\n'* ]] || fail "$name: message $err"
      ;;
    *)
      [ "$status" -eq 7 ] && [ -z "$err" ] || fail "$name: status $status ($err)"
      [ "$(cat "$work/record")" = "$(printf '%s\n0\n%s' "$(cd "$expected" && pwd -P)" "$work/$name")" ] ||
        fail "$name: the launcher ran as $(cat "$work/record")"
      ;;
  esac
done

# Without WINEPREFIX, the prefix ~/.wine.
make_prefix home/.wine "$demo_path"
HOME="$work/home" env -u WINEPREFIX "$work/bin/moravine" || [ $? -eq 7 ] || fail "~/.wine: the launcher did not run"
[ "$(cat "$work/record")" = "$(printf '%s\n0\nunset' "$(cd "$work/home/.wine/$game_folder" && pwd -P)")" ] ||
  fail "~/.wine: the launcher ran as $(cat "$work/record")"
echo "starter: all cases pass"
