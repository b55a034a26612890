#!/usr/bin/env bash
# headless-wine.sh start|stop PREFIX
#
# A Wine prefix whose windows need no display: Wine's null graphics driver
# is chosen in the prefix's registry, so the tests of the window code create
# real windows, rich edit controls and the clipboard without an X server.
# The wineserver is started and stopped by its process id (wineserver-ctl.sh).
set -u
here=$(cd "$(dirname "$0")" && pwd)
ctl="$here/../wine/wineserver-ctl.sh"
action=$1
prefix=$2
export PRAVEL_WINEPREFIX=$prefix
. "$here/../wine/wine-env.sh"

case "$action" in
start)
  "$ctl" start "$prefix" || exit 1
  if ! grep -q '"Graphics"="null"' "$prefix/user.reg" 2>/dev/null; then
    "$WINE" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >>"$prefix.wineserver.log" 2>&1 || exit 1
    # The desktop reads the driver when it starts: start the server again.
    "$ctl" stop "$prefix"
    "$ctl" start "$prefix" || exit 1
  fi
  ;;
stop)
  "$ctl" stop "$prefix"
  ;;
*)
  echo "usage: $0 start|stop PREFIX" >&2
  exit 2
  ;;
esac
