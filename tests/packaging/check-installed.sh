#!/usr/bin/env bash
# Checks an installed launcher under PREFIX: the launcher and its starter in
# bin/, the desktop entry that starts the starter, the icon in the hicolor
# theme at each size it is drawn at, and the AppStream metainfo naming the
# desktop entry; the desktop entry and the metainfo pass their validators.
# Usage: check-installed.sh PREFIX
set -euo pipefail
prefix=$1
id=example.moravine.Launcher

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

for program in moravine moravine-launcher; do
  [ -x "$prefix/bin/$program" ] || fail "no program $prefix/bin/$program"
done

desktop="$prefix/share/applications/$id.desktop"
metainfo="$prefix/share/metainfo/$id.metainfo.xml"
[ -f "$desktop" ] || fail "no desktop entry $desktop"
[ -f "$metainfo" ] || fail "no metainfo $metainfo"
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $desktop"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects $metainfo"

entry() {  # KEY: the value of KEY in the desktop entry
  sed -n "s/^$1=//p" "$desktop"
}
[ "$(entry Exec)" = moravine ] || fail "the desktop entry does not start the starter: $(entry Exec)"
[ "$(entry 'Name\[zh_TW\]')" = 莫拉維恩 ] || fail "no Chinese name"
[ "$(entry Categories)" = "Game;" ] || fail "categories: $(entry Categories)"
[ "$(entry Icon)" = "$id" ] || fail "icon: $(entry Icon)"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
  fail "the metainfo does not name the desktop entry"

for pixels in 48 64 128 256; do
  icon="$prefix/share/icons/hicolor/${pixels}x${pixels}/apps/$id.png"
  [ -f "$icon" ] || fail "no icon $icon"
  [ "$(identify -format '%wx%h' "$icon")" = "${pixels}x${pixels}" ] ||
    fail "$icon is not ${pixels}x${pixels}"
done
