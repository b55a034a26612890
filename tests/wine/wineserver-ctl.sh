#!/usr/bin/env bash
# wineserver-ctl.sh start|stop PREFIX
#
# start: creates the Wine prefix if needed and starts a persistent wineserver
#        for it, remembering its process id in PREFIX.wineserver.pid.
# stop:  stops that wineserver (and with it every Wine process of the prefix)
#        by its process id, so nothing outlives the test run.
set -u
here=$(cd "$(dirname "$0")" && pwd)
action=$1
export PRAVEL_WINEPREFIX=$2
. "$here/wine-env.sh"
pidfile="$WINEPREFIX.wineserver.pid"
log="$WINEPREFIX.wineserver.log"

case "$action" in
start)
  mkdir -p "$(dirname "$WINEPREFIX")"
  if [ -f "$pidfile" ] && kill -0 "$(cat "$pidfile")" 2>/dev/null; then
    exit 0
  fi
  # Without -p the server would leave three seconds after its last client
  # and every test would pay for a new one. Its output goes to a file: a
  # caller waiting on a pipe would otherwise wait for it forever.
  mkdir -p "$WINEPREFIX"
  "$WINESERVER" -f -p >"$log" 2>&1 &
  echo $! >"$pidfile"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "creating Wine prefix $WINEPREFIX (about a minute the first time)"
    "$WINE" wineboot -i >>"$log" 2>&1 || { echo "wineboot failed, see $log" >&2; exit 1; }
  fi
  "$WINE" cmd /c exit 0 >>"$log" 2>&1 || { echo "wine does not start, see $log" >&2; exit 1; }
  ;;
stop)
  if [ -f "$pidfile" ]; then
    pid=$(cat "$pidfile")
    "$WINESERVER" -k >/dev/null 2>&1 || true
    for _ in 1 2 3 4 5 6 7 8 9 10; do kill -0 "$pid" 2>/dev/null || break; sleep 0.5; done
    kill -9 "$pid" 2>/dev/null || true
    rm -f "$pidfile"
  fi
  ;;
*)
  echo "usage: $0 start|stop PREFIX" >&2
  exit 2
  ;;
esac
