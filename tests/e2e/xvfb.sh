# Sourced by the end-to-end scripts: waiting on a condition, and a private
# Xvfb server.

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
