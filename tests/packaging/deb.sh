#!/usr/bin/env bash
# CPack builds the .deb: its dependencies come from the shared libraries the
# programs link, and its contents, unpacked into a scratch root with dpkg -x,
# are the installed launcher under /usr. The unpacked starter finds a scratch
# prefix's game folder and starts the unpacked launcher there, which without
# a display says so and exits with 1.
# Usage: deb.sh CPACK-CONFIG DEMO-DIR
set -euo pipefail
config=$1
demo=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

cpack --config "$config" -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; fail "cpack failed"; }
debs=("$work/out"/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "not one .deb: ${debs[*]}"
deb=${debs[0]}

[ "$(dpkg-deb -f "$deb" Package)" = moravine-launcher ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "section"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libstdc++6 libglib2.0-0 libgtk-3-0; do
  [[ ", $depends," == *", $library "* ]] || fail "Depends lacks $library: $depends"
done

dpkg -x "$deb" "$work/root"
bash "$here/check-installed.sh" "$work/root/usr"
unexpected=$(cd "$work/root" && find . -mindepth 1 -maxdepth 1 ! -name usr)
[ -z "$unexpected" ] || fail "files outside /usr: $unexpected"

# The unpacked starter and launcher work together.
game="$work/prefix/drive_c/Program Files (x86)/Veltrano/Moravine"
mkdir -p "$work/prefix/dosdevices" "$game"
ln -s ../drive_c "$work/prefix/dosdevices/c:"
cp "$demo/prefix/system.reg" "$work/prefix/"
cp "$demo/game/"* "$game/"
status=0
env -u DISPLAY -u WAYLAND_DISPLAY WINEPREFIX="$work/prefix" "$work/root/usr/bin/moravine" \
  2>"$work/err" || status=$?
[ "$status" -eq 1 ] || fail "status $status from the unpacked launcher: $(cat "$work/err")"
grep -q '^moravine-launcher: ' "$work/err" || fail "the launcher did not run: $(cat "$work/err")"
echo "deb: $(basename "$deb") passes"
