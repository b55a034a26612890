#!/usr/bin/env bash
# Runs a Windows program under Wine: the emulator of the cross build's tests.
# Its exit status is the program's.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
if [ -z "${WINEPREFIX:-}" ]; then
  echo "wine-run.sh: PRAVEL_WINEPREFIX is not set" >&2
  exit 125
fi
exec "$WINE" "$@"
