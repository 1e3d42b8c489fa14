#!/usr/bin/env bash
# Installs every Debian package that building, testing and running the demo need.
# Idempotent: packages already present are left alone. Must run as root.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libgtest-dev googletest
  libgtk-3-dev libwebkit2gtk-4.1-dev libcurl4-openssl-dev libglib2.0-dev libglib2.0-dev-bin
  xvfb xauth xdotool x11-utils imagemagick
  fonts-noto-cjk
  python3 python3-pil
  iproute2 util-linux
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "setup: these packages are missing and installing them needs root: ${missing[*]}" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y --no-install-recommends "${missing[@]}"
