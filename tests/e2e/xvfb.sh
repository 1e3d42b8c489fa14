# Sourced by the end-to-end scripts: waiting on a condition, a private Xvfb
# server, and the launcher's end.

# Retries a command every 50 ms until it succeeds; fails after $1 seconds.
wait_for() {
  local limit=$1
  shift
  local deadline=$((SECONDS + limit))
  until "$@" >/dev/null 2>&1; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.05
  done
}

# Starts Xvfb (1024x768) on a free display with its files in folder $1,
# sets xvfb_pid and exports DISPLAY; fails when the server does not start.
start_xvfb() {
  Xvfb -displayfd 9 -screen 0 1024x768x24 -nolisten tcp -noreset 9>"$1/display" 2>"$1/xvfb.log" &
  xvfb_pid=$!
  wait_for 20 test -s "$1/display" || return 1
  export DISPLAY=":$(cat "$1/display")"
}

# Waits up to $2 seconds for the launcher ($launcher_pid) to end and checks
# that its exit status is $1; calls the script's fail otherwise.
expect_exit() {  # expect_exit STATUS SECONDS
  local deadline=$((SECONDS + $2))
  while kill -0 "$launcher_pid" 2>/dev/null; do
    [ $SECONDS -lt $deadline ] || fail "the launcher did not end within $2 seconds"
    sleep 0.05
  done
  local status=0
  wait "$launcher_pid" || status=$?
  launcher_pid=""
  [ "$status" -eq "$1" ] || fail "exit status $status, expected $1"
}
