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
mkdir "$work/bin"
cp "$starter" "$work/bin/moravine"
cat >"$work/bin/moravine-launcher" <<'STANDIN'
#!/bin/sh
{ pwd -P; echo "$#"; echo "${WINEPREFIX:-unset}"; } >"$RECORD"
exit 7
STANDIN
chmod +x "$work/bin/moravine-launcher"
export RECORD="$work/record"

# make_prefix DIR [SED-SCRIPT]: a 64-bit prefix with the demo registry
# (edited by the sed script), drive C: linked to its drive_c, and the game
# installed in C:\Program Files (x86)\Veltrano\Moravine.
make_prefix() {
  mkdir -p "$1/dosdevices" "$1/drive_c/Program Files (x86)/Veltrano/Moravine"
  ln -s ../drive_c "$1/dosdevices/c:"
  cp "$demo/game/"* "$1/drive_c/Program Files (x86)/Veltrano/Moravine/"
  sed -e "${2:-}" "$demo/prefix/system.reg" >"$1/system.reg"
}

# start: runs the starter with the given environment settings; sets status,
# and err to what it wrote on the standard error.
start() {
  rm -f "$RECORD"
  status=0
  env "$@" "$work/bin/moravine" 2>"$work/err" || status=$?
  err=$(cat "$work/err")
}

expect_launcher_in() {  # FOLDER PREFIX
  [ "$status" -eq 7 ] || fail "the launcher's status 7 did not come back: $status ($err)"
  [ -z "$err" ] || fail "unexpected message: $err"
  [ "$(cat "$RECORD")" = "$(printf '%s\n0\n%s' "$(cd "$1" && pwd -P)" "$2")" ] ||
    fail "the launcher ran as $(cat "$RECORD"), wanted in $1 with no arguments and prefix $2"
}

expect_refusal() {  # TEXT
  [ "$status" -eq 1 ] || fail "status $status instead of 1 (message: $err)"
  [ ! -e "$RECORD" ] || fail "the launcher was started although: $err"
  [ "$(printf '%s\n' "$err" | wc -l)" -eq 1 ] || fail "not one line: $err"
  case "$err" in
    "moravine: "*"$1"*) ;;
    *) fail "message without \"$1\": $err" ;;
  esac
}

game_folder='drive_c/Program Files (x86)/Veltrano/Moravine'

# Installed: found through WINEPREFIX, and through ~/.wine without it.
make_prefix "$work/prefix"
start WINEPREFIX="$work/prefix"
expect_launcher_in "$work/prefix/$game_folder" "$work/prefix"
make_prefix "$work/home/.wine"
start -u WINEPREFIX HOME="$work/home"
expect_launcher_in "$work/home/.wine/$game_folder" unset

# The path as Windows reads it: drive letter and names in any case, either
# slash, a closing separator, and another drive.
cased='c:\\\\PROGRAM FILES (X86)\/veltrano\\\\MORAVINE\\\\'
make_prefix "$work/cased" "s/^\"InstallPath\"=.*/\"InstallPath\"=\"$cased\"/"
start WINEPREFIX="$work/cased"
expect_launcher_in "$work/cased/$game_folder" "$work/cased"
make_prefix "$work/other" 's/^"InstallPath"=.*/"InstallPath"="D:\\\\Games\\\\Moravine"/'
mkdir -p "$work/disk/Games"
cp -r "$demo/game" "$work/disk/Games/Moravine"
ln -s "$work/disk" "$work/other/dosdevices/d:"
start WINEPREFIX="$work/other"
expect_launcher_in "$work/disk/Games/Moravine" "$work/other"

# Not installed: no game key, or a key without the install path.
game_key='Software\\\\Wow6432Node\\\\Veltrano\\\\Moravine Cht'
make_prefix "$work/nokey" "s/^\[$game_key\].*/[Software\\\\Other]/"
start WINEPREFIX="$work/nokey"
expect_refusal "Moravine is not installed in the Wine prefix $work/nokey"
make_prefix "$work/novalue" '/^"InstallPath"=/d'
start WINEPREFIX="$work/novalue"
expect_refusal "Moravine is not installed in the Wine prefix $work/novalue"

# A prefix that does not exist, a path on no drive, a deleted game folder.
start WINEPREFIX="$work/nowhere"
expect_refusal "there is no Wine prefix at $work/nowhere"
make_prefix "$work/unc" 's/^"InstallPath"=.*/"InstallPath"="\\\\\\\\server\\\\games"/'
start WINEPREFIX="$work/unc"
expect_refusal "is not on one of its drives"
make_prefix "$work/deleted"
rm -r "$work/deleted/$game_folder"
start WINEPREFIX="$work/deleted"
expect_refusal "the game folder $work/deleted/dosdevices/c:/Program Files (x86)/Veltrano/Moravine"

# No launcher beside the starter.
rm "$work/bin/moravine-launcher"
start WINEPREFIX="$work/prefix"
expect_refusal "cannot start the launcher $work/bin/moravine-launcher"
echo "starter: all cases pass"
