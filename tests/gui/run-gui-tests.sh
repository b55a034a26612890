#!/usr/bin/env bash
# run-gui-tests.sh PREFIX OUTPUT DRIVER [gtest options]
#
# Runs the GUI test driver under Wine on a virtual display of its own (Xvfb)
# and a Wine prefix of its own, and stops both by their process ids on
# every way out, so nothing outlives the run. The PRAVEL_GUI_* variables
# tell the driver where the program, its data and its output go.
set -u
prefix=$1 output=$2 driver=$3
shift 3
here=$(cd "$(dirname "$0")" && pwd)
ctl="$here/../../scripts/wine/wineserver-ctl.sh"
mkdir -p "$output"
xvfb_pid=''
cleanup() {
  "$ctl" stop "$prefix" >/dev/null 2>&1
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Xvfb picks a free display itself and writes its number to descriptor 3.
: >"$output/xvfb.display"
Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp 3>"$output/xvfb.display" >"$output/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$output/xvfb.display" ] && break; sleep 0.1; done
[ -s "$output/xvfb.display" ] || { echo "Xvfb did not start, see $output/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$output/xvfb.display" | tr -d '[:space:]')"

# The release as a user gets it: unpacked into a folder of its own.
if [ -n "${PRAVEL_GUI_ZIP:-}" ]; then
  rm -rf "$output/unzipped" && python3 -m zipfile -e "$PRAVEL_GUI_ZIP" "$output/unzipped" || exit 1
  export PRAVEL_GUI_UNZIPPED="$output/unzipped/$(basename "$PRAVEL_GUI_ZIP" .zip)"
fi

export PRAVEL_WINEPREFIX="$prefix"
. "$here/../../scripts/wine/wine-env.sh"
"$ctl" start "$prefix" || exit 1
# The driver's output goes to a file: Wine processes it starts inherit its
# descriptors, and a pipe they held would keep CTest waiting.
timeout --kill-after=10 780 "$WINE" "$driver" --gtest_color=no "$@" >"$output/driver.log" 2>&1
status=$?
grep -v '^wine: Read access denied for device' "$output/driver.log"
exit $status
