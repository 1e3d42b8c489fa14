#!/usr/bin/env bash
# The launcher's benchmark: builds what it needs (Release, in build-bench/),
# then, in a private network namespace with a network route over loopback
# only, measures the real launcher and the update code against references
# run in the same session, and prints a table (figures in bench/README.md).
#
#   bash bench/run.sh           short run: 3 repetitions, 5-s idle and download spans
#   bash bench/run.sh --full    5 repetitions (idle CPU: 3), 30-s idle and download spans,
#                               10-s tick spans
#
# Run as root on Debian 12 (the network namespace; tools/setup-debian.sh installs what is
# missing).
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
mode=quick
case "${1:-}" in
  --full) mode=full ;;
  --quick | "") ;;
  *) echo "usage: bench/run.sh [--quick | --full]" >&2; exit 2 ;;
esac

if [ -z "${MORAVINE_BENCH_BUILD:-}" ]; then
  bash "$repo/tools/setup-debian.sh"
  build="$repo/build-bench"
  log=$(mktemp)
  echo "bench: building in $build" >&2
  if ! { cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Release -DMORAVINE_BENCH=ON -DBUILD_TESTING=OFF &&
         cmake --build "$build" -j2 --target moravine-launcher reference-window paint-probe bench-update; } >"$log" 2>&1; then
    cat "$log" >&2
    exit 1
  fi
  rm -f "$log"
  exec env MORAVINE_BENCH_BUILD="$build" bash "$repo/tests/netns-run.sh" --online bash "$0" "$@"
fi

build=$MORAVINE_BENCH_BUILD
if [ "$mode" = full ]; then
  reps=5 idle=30 ticks=10 download=30 queries=20 cpu_reps=3
else
  reps=3 idle=5 ticks=3 download=5 queries=10 cpu_reps=3
fi
download_reps=3
python=/usr/bin/python3
here="$repo/bench"
work=$(mktemp -d /tmp/moravine-bench.XXXXXX)
results="$work/results"
mkdir -p "$results" "$work/home" "$work/ticks"
pids=()
watched=""

cleanup() {
  [ -z "$watched" ] || stop "$watched"
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

say() { echo "bench: $*" >&2; }

# Retries a command every 50 ms until it succeeds; fails after $1 seconds.
wait_for() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@" >/dev/null 2>&1; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.05
  done
}

record() { echo "$2" >>"$results/$1"; }  # record FIGURE VALUE

descendants() {
  local child
  for child in $(pgrep -P "$1" || true); do
    echo "$child"
    descendants "$child"
  done
}

kilobytes() { awk -v name="$2:" '$1 == name { print $2 }' "/proc/$1/smaps_rollup"; }  # kilobytes PID Rss|Pss

tree_pss() {
  local total=0 pid
  for pid in "$1" $(descendants "$1"); do
    total=$((total + $(kilobytes "$pid" Pss 2>/dev/null || echo 0)))
  done
  echo "$total"
}

# On-CPU nanoseconds of all of a process's threads.
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ sum += $1 } END { printf "%.0f\n", sum }'; }

# Times the process's main thread was switched out (each sleep is one wake-up after it).
switches() { awk '/^(non)?voluntary_ctxt_switches:/ { sum += $2 } END { print sum }' "/proc/$1/task/$1/status"; }

# Percent of one core a process used over $2 seconds; with $3, also records
# the main thread's wake-ups per second as figure $3.
cpu_percent() {
  local before start after end woken
  before=$(cpu_ns "$1")
  woken=$(switches "$1")
  start=$(date +%s%N)
  sleep "$2"
  after=$(cpu_ns "$1")
  woken=$(($(switches "$1") - woken))
  end=$(date +%s%N)
  if [ "$(awk '{ print $3 }' "/proc/$1/stat" 2>/dev/null || echo gone)" = Z ] || ! kill -0 "$1" 2>/dev/null; then
    say "process $1 ended during the CPU span"
    exit 1
  fi
  [ -z "${3:-}" ] || record "$3" "$($python -c "print($woken * 1e9 / ($end - $start))")"
  $python -c "print(f'{($after - $before) * 100 / ($end - $start):.3f}')"
}

# start WHICH: starts the launcher or the reference in the game folder and
# waits for its first complete paint; sets $watched and $painted (ms). The
# pointer goes to the screen's corner first: a window that appears under it
# (the update button, after the download's click) shows a lit face, never the
# picture the probe waits for.
start() {
  local out
  xdotool mousemove 0 0
  if [ "$1" = launcher ]; then
    out=$(cd "$work/game" && "$build/bench/paint-probe" 192 144 "$work/launcher.ppm" "$work/launcher-mask.pgm" \
      "$build/moravine-launcher")
  else
    out=$(cd "$work/game" && "$build/bench/paint-probe" 192 144 "$work/reference.ppm" "$work/reference-mask.pgm" \
      "$build/bench/reference-window" "$repo/res/bitmaps/51.bmp" "http://127.0.0.1/MRV/loader/SP/index.htm")
  fi
  painted=${out% *}
  watched=${out#* }
}

# Ends a program started by start and its web processes.
stop() {
  local pid
  for pid in $(descendants "$1") "$1"; do kill "$pid" 2>/dev/null || true; done
  wait_for 10 bash -c "! kill -0 $1" || kill -9 "$1" 2>/dev/null || true
  watched=""
}

# Replaces the big prefix's system.reg with a fresh copy every $1 seconds, as Wine does.
start_replacing() {
  $python -c '
import os, sys, time
text = open(sys.argv[1], "rb").read()
while True:
    with open(sys.argv[2] + ".new", "wb") as f:
        f.write(text)
    os.replace(sys.argv[2] + ".new", sys.argv[2])
    time.sleep(float(sys.argv[3]))' "$work/system.reg" "$work/big-prefix/system.reg" "$1" &
  replacer=$!
  pids+=("$replacer")
}

median() { $python -c 'import statistics, sys; print(statistics.median(float(l) for l in sys.stdin if l.strip()))'; }

# The scene: a screen, the web host on 127.0.0.1:80 with a 20 MB patch, the demo game folder and prefixes.
export HOME="$work/home" XDG_CACHE_HOME="$work/home/cache" XDG_CONFIG_HOME="$work/home/config"
export XDG_DATA_HOME="$work/home/data" MORAVINE_WEB_HOST=127.0.0.1 WINEPREFIX="$work/prefix"
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY no_proxy NO_PROXY
cp -r "$repo/demo/game" "$work/game"
cp -r "$repo/demo/prefix" "$work/prefix"
cp -r "$repo/demo/www" "$work/www"
head -c $((20 * 1024 * 1024)) /dev/urandom >"$work/www/patch/MRVPatch.exe"
mkdir -p "$work/big-prefix"
$python "$here/make-system-reg.py" "$repo/demo/prefix/system.reg" "$work/system.reg"
cp "$work/system.reg" "$work/big-prefix/system.reg"
$python "$here/pictures.py" "$repo/res/bitmaps" "$work"

Xvfb -displayfd 9 -screen 0 1024x768x24 -nolisten tcp -noreset 9>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
wait_for 20 test -s "$work/display" || { say "Xvfb did not start"; exit 1; }
export DISPLAY=":$(cat "$work/display")"
$python -m http.server 80 --bind 127.0.0.1 --directory "$work/www" >"$work/web-host.log" 2>&1 &
pids+=($!)
wait_for 10 curl -sf -o /dev/null http://127.0.0.1/ || { say "cannot serve the web host"; exit 1; }
version_url=http://127.0.0.1/latest_version/mrv/2.0.x.x.x/version.php
load=$(cut -d' ' -f1-3 /proc/loadavg)

say "start-up and memory, $reps repetitions"
for rep in $(seq "$reps"); do
  order="launcher reference"
  [ $((rep % 2)) -eq 1 ] || order="reference launcher"
  for which in $order; do
    start "$which"
    record "startup-$which" "$painted"
    sleep 3  # the page in, the web process settled
    record "rss-$which" "$(kilobytes "$watched" Rss)"
    record "pss-$which" "$(kilobytes "$watched" Pss)"
    record "pss-tree-$which" "$(tree_pss "$watched")"
    stop "$watched"
  done
done

say "idle CPU, ${idle}-s spans, $cpu_reps repetitions"
for rep in $(seq "$cpu_reps"); do
  WINEPREFIX="$work/big-prefix" start launcher
  sleep 2
  record cpu-static "$(cpu_percent "$watched" "$idle" wakes-launcher)"
  for period in 1 0.1; do
    start_replacing "$period"
    record "cpu-$([ "$period" = 1 ] && echo 1s || echo 100ms)" "$(cpu_percent "$watched" "$idle")"
    kill "$replacer"
    wait "$replacer" 2>/dev/null || true
  done
  stop "$watched"
  start reference
  sleep 2
  record cpu-reference "$(cpu_percent "$watched" "$idle" wakes-reference)"
  stop "$watched"
done

say "version query against curl, $reps rounds of $queries each"
for rep in $(seq "$reps"); do
  "$build/bench/bench-update" query "$queries" "$version_url" >>"$results/query-launcher"
  for _ in $(seq "$queries"); do
    curl -q -s --noproxy '*' -o /dev/null -w '%{time_total}\n' "$version_url" |
      $python -c 'import sys; print(float(sys.stdin.read()) * 1000)' >>"$results/query-curl"
  done
done

say "patch download of the real launcher, ${download}-s spans, $download_reps repetitions"
patch="$work/game/MRVPatch.exe.part"  # the download writes here and renames only the whole patch
for rep in $(seq "$download_reps"); do
  rm -f "$patch"
  start launcher
  sleep 2
  record download-idle-rss "$(kilobytes "$watched" Rss)"
  xdotool mousemove $((192 + 139)) $((144 + 461)) click 1  # the update button
  wait_for 30 test -s "$patch" || { say "the download did not start"; exit 1; }
  record download-start-rss "$(kilobytes "$watched" Rss)"  # libcurl is loaded with the download
  before=$(stat -c %s "$patch")
  start_ns=$(date +%s%N)
  highest=0
  while [ $(($(date +%s%N) - start_ns)) -lt $((download * 1000000000)) ]; do
    rss=$(kilobytes "$watched" Rss)
    [ "$rss" -le "$highest" ] || highest=$rss
    sleep 0.25
  done
  after=$(stat -c %s "$patch")
  end_ns=$(date +%s%N)
  record download-rss "$highest"
  record download-rate "$($python -c "print(($after - $before) * 1e9 / ($end_ns - $start_ns))")"
  stop "$watched"
done

say "status ticks: idle, a silent query, a download; ${ticks}-s spans, $reps repetitions"
for rep in $(seq "$reps"); do
  out=$(cd "$work/ticks" && MORAVINE_WEB_HOST=127.0.0.2 "$build/bench/bench-update" ticks "$ticks" \
    http://127.0.0.1/patch/MRVPatch.exe)
  record gap-idle "$(awk '$1 == "idle" { print $2 }' <<<"$out")"
  record gap-query "$(awk '$1 == "query" { print $2 }' <<<"$out")"
  record gap-download "$(awk '$1 == "download" { print $2 }' <<<"$out")"
  record gap10-idle "$(awk '$1 == "idle" { print $3 }' <<<"$out")"
  record gap10-query "$(awk '$1 == "query" { print $3 }' <<<"$out")"
  record gap10-download "$(awk '$1 == "download" { print $3 }' <<<"$out")"
  record headless-download-rate "$(awk '$1 == "download" { print $4 }' <<<"$out")"
done

$python "$here/table.py" "$results" \
  "Moravine launcher benchmark, $mode run, $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, load before: $load"
