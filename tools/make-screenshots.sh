#!/usr/bin/env bash
# Makes the README's pictures in docs/pictures/ from the end-to-end test's
# update walk-through on the demo (under Xvfb, in a private network
# namespace): the start page with the news, a download under way with its
# progress line, and the up-to-date notice; each cut to the launcher's window.
# Needs a build (default build/) and root, as the tests do.
# Usage: make-screenshots.sh [BUILD-DIR]
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$repo/build}" && pwd)
shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT

bash "$repo/tests/netns-run.sh" --online bash "$repo/tests/e2e/every-button.sh" \
  "$build/moravine-launcher" "$build/tests/e2e" "$shots" update

mkdir -p "$repo/docs/pictures"
# The window lies centred on the test's 1024x768 screen; the notice is centred over it.
/usr/bin/python3 - "$shots" "$repo/docs/pictures" <<'PY'
import sys
from PIL import Image

shots, pictures = sys.argv[1:3]
for shot, picture in (("start-news", "start-page"), ("download", "download"), ("up-to-date", "message-box")):
    Image.open(f"{shots}/{shot}.png").crop((192, 144, 192 + 640, 144 + 480)).save(f"{pictures}/{picture}.png", optimize=True)
    print(f"{pictures}/{picture}.png")
PY
