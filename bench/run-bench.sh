#!/usr/bin/env bash
# The launcher's speed targets, measured (not tests: the numbers depend on
# the machine). Run as root from the repository's top folder after a build:
#
#   bash bench/run-bench.sh [BUILD-DIR]      (default build/)
#
# 1. Status timer during a query: the longest gap between two ticks of a
#    100-ms timer while a query waits on a silent server (aim: under 120 ms).
# 2. Query latency: a fetch from a loopback server with the launcher's
#    engine (tools/http-fetch) against curl on the same reply, each a fresh
#    process, averaged (aim: within 5 ms of curl).
# 3. Idle cost: the launcher's CPU use over 30 s with a 3 MB system.reg
#    (15,000 keys), then with that file replaced every 100 ms (aims: under
#    1% and under 3% of one core).
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$repo/build}" && pwd)
netns="$repo/tests/netns-run.sh"
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

cmake --build "$build" --target bench-timer-gap http-fetch moravine-launcher >/dev/null

echo "== 1. status timer while a query waits on a silent server (10 s)"
bash "$netns" "$build/bench-timer-gap" 10

echo "== 2. loopback query latency, 20 runs each"
mkdir -p "$work/www"
printf 'MRVVERSION2.0.1.0.4\n' >"$work/www/version.php"
bash "$netns" bash -c '
  www=$1 fetch=$2
  /usr/bin/python3 -m http.server 80 --bind 127.0.0.1 --directory "$www" >/dev/null 2>&1 &
  server=$!
  trap "kill $server" EXIT
  until curl -s -o /dev/null http://127.0.0.1/version.php; do sleep 0.05; done
  average() {  # average NAME COMMAND...: mean wall time of 20 runs in ms
    local name=$1; shift
    local start end
    start=$(date +%s%N)
    for _ in $(seq 20); do "$@" >/dev/null 2>&1; done
    end=$(date +%s%N)
    awk -v name="$name" -v ns=$((end - start)) "BEGIN { printf \"%-10s %6.1f ms per query\\n\", name, ns / 20 / 1000000 }"
  }
  average http-fetch "$fetch" http://127.0.0.1/version.php
  average curl curl -s -H "Cache-Control: no-cache" http://127.0.0.1/version.php
' bench "$work/www" "$build/http-fetch"

echo "== 3. idle CPU with a 3 MB system.reg, 30 s each"
mkdir -p "$work/prefix" "$work/game"
/usr/bin/python3 "$repo/bench/make-system-reg.py" "$work/prefix/system.reg" 2.0.1.0.3
/usr/bin/python3 "$repo/bench/make-system-reg.py" "$work/a.reg" 2.0.1.0.3
/usr/bin/python3 "$repo/bench/make-system-reg.py" "$work/b.reg" 2.0.1.0.4
echo "system.reg: $(stat -c %s "$work/prefix/system.reg") bytes"
Xvfb -displayfd 9 -screen 0 1024x768x24 -nolisten tcp -noreset 9>"$work/display" 2>/dev/null &
pids+=($!)
until [ -s "$work/display" ]; do sleep 0.05; done
export DISPLAY=":$(cat "$work/display")"
(cd "$work/game" && WINEPREFIX="$work/prefix" exec bash "$netns" "$build/moravine-launcher") &
pids+=($!)
until launcher=$(pgrep -n -x moravine-launch); do sleep 0.1; done
sleep 3  # past start-up

cpu_ticks() { awk '{print $14 + $15}' "/proc/$launcher/stat"; }
measure() {  # measure LABEL: CPU share of one core over 30 s
  local before after
  before=$(cpu_ticks)
  sleep 30
  after=$(cpu_ticks)
  awk -v label="$1" -v ticks=$((after - before)) -v hz="$(getconf CLK_TCK)" \
    'BEGIN { printf "%-28s %5.2f%% of one core\n", label, ticks * 100 / hz / 30 }'
}
measure "file unchanged"
(
  while :; do
    cp "$work/a.reg" "$work/prefix/new.reg" && mv "$work/prefix/new.reg" "$work/prefix/system.reg"
    sleep 0.1
    cp "$work/b.reg" "$work/prefix/new.reg" && mv "$work/prefix/new.reg" "$work/prefix/system.reg"
    sleep 0.1
  done
) &
pids+=($!)
measure "file replaced every 100 ms"
