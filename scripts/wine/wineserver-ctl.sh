#!/usr/bin/env bash
# wineserver-ctl.sh start|stop|create PREFIX [headless]
#
# start: creates the Wine prefix if needed and starts a persistent wineserver
#        for it, remembering its process id in PREFIX.wineserver.pid. With
#        "headless", the prefix's windows use Wine's null graphics driver and
#        need no display.
# stop:  stops that wineserver (and with it every Wine process of the prefix)
#        by its process id, so nothing outlives the test run.
# create: creates the prefix if needed, with no display, and stops again: a
#        test that needs a display can then start at once.
set -u
here=$(cd "$(dirname "$0")" && pwd)
action=$1
export PRAVEL_WINEPREFIX=$2
. "$here/wine-env.sh"
pidfile="$WINEPREFIX.wineserver.pid"
log="$WINEPREFIX.wineserver.log"

# The server writes the name of its socket folder (under the temporary
# folder) into the prefix's "wineserver" file, then makes the socket there.
server_dir() {
  local name
  name=$(cat "$WINEPREFIX/wineserver" 2>/dev/null) || return 1
  [ -n "$name" ] || return 1
  case "$name" in /*) echo "$name" ;; *) echo "${TMPDIR:-/tmp}/$name" ;; esac
}

# A socket older than this start is a stale one of an earlier server.
server_socket_ready() {
  local dir socket
  dir=$(server_dir) || return 1
  for socket in "$dir"/server-*/socket; do
    [ -S "$socket" ] && [ "$socket" -nt "$pidfile" ] && return 0
  done
  return 1
}

wait_for_server() {
  local pid
  pid=$(cat "$pidfile")
  for _ in $(seq 1 100); do
    server_socket_ready && return 0
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

# Says why a Wine step failed: the command, how long it ran, its status and
# the end of the log, on standard error where CTest shows it.
failed() {
  local what=$1 status=$2 started=$3
  {
    echo "$what failed with status $status after $(( $(date +%s%N) / 1000000 - started )) ms (prefix $WINEPREFIX)"
    echo "--- last lines of $log:"
    tail -n 40 "$log"
  } >&2
  exit 1
}

case "$action" in
start)
  mkdir -p "$(dirname "$WINEPREFIX")"
  if [ -f "$pidfile" ] && kill -0 "$(cat "$pidfile")" 2>/dev/null; then
    exit 0
  fi
  # One start at a time on this machine, whichever prefix: two prefixes
  # made side by side (the shared one of the unit tests and the GUI test's
  # own, or two checkouts' test runs) have been seen to fail, and making one
  # is the only long part. The lock is the descriptor's and goes with the
  # process, however it ends.
  if [ -z "${PRAVEL_WINE_START_LOCKED:-}" ]; then
    exec 9>"${TMPDIR:-/tmp}/pravel-wine-start.lock"
    flock 9
    export PRAVEL_WINE_START_LOCKED=1
  fi
  # Without -p the server would leave three seconds after its last client
  # and every test would pay for a new one. Its output goes to a file: a
  # caller waiting on a pipe would otherwise wait for it forever.
  mkdir -p "$WINEPREFIX"
  "$WINESERVER" -f -p >"$log" 2>&1 9>&- &
  echo $! >"$pidfile"
  touch -d '-1 second' "$pidfile"
  # A Wine program started before the server has made its socket would
  # start a second server of its own, and the two race for the prefix.
  started=$(( $(date +%s%N) / 1000000 ))
  wait_for_server || failed "wineserver -f -p" "$(kill -0 "$(cat "$pidfile")" 2>/dev/null && echo 'running, no socket' || echo 'ended')" "$started"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "creating Wine prefix $WINEPREFIX (about a minute the first time)"
    # Wine's errors (not its chatter) go to the log, so a failure says why.
    started=$(( $(date +%s%N) / 1000000 ))
    WINEDEBUG=err+all "$WINE" wineboot -i >>"$log" 2>&1 9>&- || failed "wineboot -i" $? "$started"
  fi
  if [ "${3:-}" = headless ] && ! grep -q '"Graphics"="null"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    started=$(( $(date +%s%N) / 1000000 ))
    "$WINE" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >>"$log" 2>&1 9>&- || failed "reg add" $? "$started"
    # The desktop reads the driver when it starts: start the server again.
    "$0" stop "$WINEPREFIX" && exec "$0" start "$WINEPREFIX"
  fi
  started=$(( $(date +%s%N) / 1000000 ))
  WINEDEBUG=err+all "$WINE" cmd /c exit 0 >>"$log" 2>&1 9>&- || failed "wine cmd /c exit 0" $? "$started"
  ;;
create)
  "$0" start "$WINEPREFIX" && exec "$0" stop "$WINEPREFIX"
  ;;
stop)
  if [ -f "$pidfile" ]; then
    pid=$(cat "$pidfile")
    "$WINESERVER" -k >/dev/null 2>&1 || true
    for _ in 1 2 3 4 5 6 7 8 9 10; do kill -0 "$pid" 2>/dev/null || break; sleep 0.5; done
    kill -9 "$pid" 2>/dev/null || true
    rm -f "$pidfile"
    # The server is gone: its socket folder under /tmp goes too.
    if dir=$(server_dir); then
      rm -f "$dir"/server-*/lock "$dir"/server-*/socket
      rmdir "$dir"/server-* "$dir" 2>/dev/null || true
    fi
  fi
  ;;
*)
  echo "usage: $0 start|stop|create PREFIX" >&2
  exit 2
  ;;
esac
