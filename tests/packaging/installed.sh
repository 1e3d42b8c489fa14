#!/usr/bin/env bash
# The installed launcher, from `cmake --install` of the build tree or from
# the .deb that CPack builds (unpacked with dpkg -x): the launcher and its
# starter in bin/, the desktop entry that starts the starter, the icon in the
# hicolor theme at each size it is drawn at, and the AppStream metainfo
# naming the desktop entry, both passing their validators. The .deb depends
# on the libraries the programs link, holds nothing outside /usr, and its
# starter finds a scratch prefix's game folder and starts its launcher there,
# which without a display says so and exits with 1.
# Usage: installed.sh install BUILD-DIR | deb CPACK-CONFIG DEMO-DIR
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
id=example.moravine.Launcher
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

if [ "$1" = install ]; then
  prefix="$work/opt/moravine"
  cmake --install "$2" --prefix "$prefix" >"$work/log" || { cat "$work/log" >&2; fail "cmake --install failed"; }
else
  cpack --config "$2" -B "$work/out" >"$work/log" 2>&1 || { cat "$work/log" >&2; fail "cpack failed"; }
  debs=("$work/out"/*.deb)
  [ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "not one .deb: ${debs[*]}"
  [ "$(dpkg-deb -f "${debs[0]}" Package)" = moravine-launcher ] || fail "package name"
  depends=$(dpkg-deb -f "${debs[0]}" Depends)
  for library in libc6 libstdc++6 libglib2.0-0 libgtk-3-0; do
    [[ ", $depends," == *", $library "* ]] || fail "Depends lacks $library: $depends"
  done
  dpkg -x "${debs[0]}" "$work/root"
  [ "$(ls -A "$work/root")" = usr ] || fail "files outside /usr: $(ls -A "$work/root")"
  prefix="$work/root/usr"
fi

for program in moravine moravine-launcher; do
  [ -x "$prefix/bin/$program" ] || fail "no program $prefix/bin/$program"
done
desktop="$prefix/share/applications/$id.desktop"
metainfo="$prefix/share/metainfo/$id.metainfo.xml"
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $desktop"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects $metainfo"
grep -qx 'Exec=moravine' "$desktop" || fail "the desktop entry does not start the starter"
grep -qx "Icon=$id" "$desktop" || fail "the desktop entry names another icon"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
  fail "the metainfo does not name the desktop entry"
for pixels in 48 64 128 256; do
  icon="$prefix/share/icons/hicolor/${pixels}x${pixels}/apps/$id.png"
  [ "$(identify -format '%wx%h' "$icon")" = "${pixels}x${pixels}" ] || fail "$icon is not ${pixels}x${pixels}"
done

if [ "$1" = deb ]; then
  game="$work/prefix/drive_c/Program Files (x86)/Veltrano/Moravine"
  mkdir -p "$work/prefix/dosdevices" "$game"
  ln -s ../drive_c "$work/prefix/dosdevices/c:"
  cp "$3/prefix/system.reg" "$work/prefix/"
  cp "$3/game/"* "$game/"
  status=0
  env -u DISPLAY -u WAYLAND_DISPLAY WINEPREFIX="$work/prefix" "$prefix/bin/moravine" 2>"$work/err" || status=$?
  [ "$status" -eq 1 ] || fail "status $status from the unpacked launcher: $(cat "$work/err")"
  grep -q '^moravine-launcher: cannot create the launcher window' "$work/err" ||
    fail "the launcher did not run: $(cat "$work/err")"
fi
echo "$1: the installed files pass"
