# Sourced by lib/common.sh: the X server Wine draws on. No window manager runs on it.
source "$(dirname "${BASH_SOURCE[0]}")/free_display.sh"

# start_xvfb FIRST [NS]: an Xvfb on the first free display number from FIRST, inside namespace
# NS if given (X's abstract socket belongs to a namespace, so Wine there reaches only a server
# there). Sets display (":N"); the server is stopped at exit. Another script may claim the same
# number at the same moment: the lock file then names its server, and the next number is tried.
start_xvfb() {
  local first=$1 ns=${2:-} n pid server
  for _ in 1 2 3 4 5; do
    n=$(free_display "$first")
    server=(Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp)
    [ -z "$ns" ] || server=(ip netns exec "$ns" "${server[@]}")
    # Started directly, so that $! is the server itself (ip exec's it).
    "${server[@]}" >"$work/xvfb-$n.log" 2>&1 &
    pid=$!
    for _ in $(seq 100); do
      if [ "$(tr -d ' \n' 2>/dev/null <"/tmp/.X$n-lock")" = "$pid" ] && [ -e "/tmp/.X11-unix/X$n" ]; then
        stop_at_exit "$pid"
        display=:$n
        return 0
      fi
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    first=$((n + 1))
  done
  fail "Xvfb did not start (last tried :$n: $(tail -n 3 "$work/xvfb-$n.log"))"
}
