#!/usr/bin/env bash
# Installs every Debian package that building, testing and running the demo need,
# clang with its libFuzzer runtime for the fuzz targets, nginx with php-fpm as
# a real maker's host, and Wine with MinGW-w64 for the real-Wine tests.
# Idempotent: packages already present are left alone. Must run as root.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libgtest-dev googletest
  libgtk-3-dev libx11-dev libwebkit2gtk-4.1-dev libcurl4-openssl-dev ca-certificates libglib2.0-dev libglib2.0-dev-bin
  xvfb xauth xdotool x11-utils imagemagick curl
  fonts-noto-cjk
  python3 python3-pil
  dpkg-dev desktop-file-utils appstream
  iproute2 util-linux procps locales
  shared-mime-info
  clang clang-format libclang-rt-14-dev
  nginx-light php-fpm
  wine wine64 gcc-mingw-w64-x86-64 g++-mingw-w64-x86-64-posix
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

# The tests also read the string table in the Big5 locale of the game's
# players; under the Traditional Chinese UTF-8 locale Wine takes code page 950
# and a font with the game's characters.
need_locale=0
locale -a 2>/dev/null | grep -qix 'zh_TW.big5' || need_locale=1
locale -a 2>/dev/null | grep -qix 'zh_TW.utf8' || need_locale=1

if [ ${#missing[@]} -eq 0 ] && [ $need_locale -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "setup: installing needs root; missing packages: ${missing[*]:-none}; Chinese locales missing: $need_locale" >&2
  exit 1
fi

if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y --no-install-recommends "${missing[@]}"
fi
if [ $need_locale -eq 1 ]; then
  localedef -i zh_TW -c -f BIG5 zh_TW.BIG5
  localedef -i zh_TW -c -f UTF-8 zh_TW.UTF-8
fi
