#!/usr/bin/env bash
# Installs what is missing, builds the launcher and starts it on the bundled
# demo: the demo web host served on 127.0.0.1:80, a scratch copy of the demo
# Wine prefix (installed version 2.0.1.0.3) and of the demo game folder.
# With a display the launcher opens on it. Without one the end-to-end test's
# update walk-through runs under Xvfb in a private network namespace: the
# news page, the download of the demo patch, the patch raising the installed
# version and a second update finding it current; the paths of its
# screenshots are printed. Run as root on Debian 12.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)

bash "$repo/tools/setup-debian.sh"
cmake -S "$repo" -B "$repo/build"
cmake --build "$repo/build" -j"$(nproc)"

if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  shots="$repo/build/demo-screenshots"
  rm -rf "$shots"
  bash "$repo/tests/netns-run.sh" --online bash "$repo/tests/e2e/every-button.sh" \
    "$repo/build/moravine-launcher" "$repo/build/tests/e2e" "$shots" update
  echo "run-demo: no display here, so the launcher ran under Xvfb; screenshots:"
  for name in start-news download up-to-date; do echo "  $shots/$name.png"; done
  exit 0
fi

scratch=$(mktemp -d /tmp/moravine-demo.XXXXXX)
cp -r "$repo/demo/game" "$scratch/game"
cp -r "$repo/demo/prefix" "$scratch/prefix"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
}
trap cleanup EXIT

# Retries a command every 100 ms until it succeeds; fails after $1 seconds.
wait_for() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@" >/dev/null 2>&1; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.1
  done
}

/usr/bin/python3 -m http.server 80 --bind 127.0.0.1 --directory "$repo/demo/www" >"$scratch/web-host.log" 2>&1 &
pids+=($!)
wait_for 10 /usr/bin/python3 -c 'import urllib.request; urllib.request.urlopen("http://127.0.0.1/")' ||
  { echo "run-demo: cannot serve the demo web host on 127.0.0.1:80 (is the port taken?)" >&2; exit 1; }

export MORAVINE_WEB_HOST=127.0.0.1
export WINEPREFIX="$scratch/prefix"
cd "$scratch/game"

echo "run-demo: starting the launcher in $scratch/game"
"$repo/build/moravine-launcher"
