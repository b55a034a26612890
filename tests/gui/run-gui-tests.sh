#!/usr/bin/env bash
# Runs the GUI test driver against the real Pravel.exe under Wine, on a
# virtual display of its own, in a Wine prefix of its own.
#
# Starts Xvfb and a wineserver, runs the driver, and stops both by their
# process ids on every way out, so nothing outlives the run. The driver's
# report is printed at the end; the exit status is the driver's.
set -u

usage() { echo "usage: $0 --prefix DIR --driver EXE --program EXE --recorder EXE [--cli EXE] --data DIR --output DIR --screenshots DIR [-- gtest options]" >&2; exit 2; }

prefix='' driver='' program='' recorder='' cli='' data='' output='' screenshots=''
while [ $# -gt 0 ]; do
  case "$1" in
    --prefix) prefix=$2; shift 2 ;;
    --driver) driver=$2; shift 2 ;;
    --program) program=$2; shift 2 ;;
    --recorder) recorder=$2; shift 2 ;;
    --cli) cli=$2; shift 2 ;;
    --data) data=$2; shift 2 ;;
    --output) output=$2; shift 2 ;;
    --screenshots) screenshots=$2; shift 2 ;;
    --) shift; break ;;
    *) usage ;;
  esac
done
[ -n "$prefix" ] && [ -n "$driver" ] && [ -n "$program" ] && [ -n "$recorder" ] && [ -n "$data" ] \
  && [ -n "$output" ] && [ -n "$screenshots" ] || usage

here=$(cd "$(dirname "$0")" && pwd)
ctl="$here/../wine/wineserver-ctl.sh"
for tool in Xvfb wine; do
  command -v "$tool" >/dev/null || { echo "run-gui-tests.sh: $tool is not installed" >&2; exit 1; }
done

mkdir -p "$output"
xvfb_pid=''
server_started=''

cleanup() {
  trap - EXIT INT TERM
  if [ -n "$server_started" ]; then "$ctl" stop "$prefix" >/dev/null 2>&1; fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null
    for _ in $(seq 20); do kill -0 "$xvfb_pid" 2>/dev/null || break; sleep 0.25; done
    kill -9 "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Xvfb picks a free display itself and writes its number to descriptor 3.
display_file="$output/xvfb.display"
: >"$display_file"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" >"$output/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$display_file" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || break
  sleep 0.1
done
[ -s "$display_file" ] || { echo "run-gui-tests.sh: Xvfb did not start, see $output/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$display_file" | tr -d '[:space:]')"

export PRAVEL_WINEPREFIX="$prefix"
. "$here/../wine/wine-env.sh"
server_started=yes
"$ctl" start "$prefix" || { echo "run-gui-tests.sh: the wineserver did not start" >&2; exit 1; }

export PRAVEL_GUI_PROGRAM="$program" PRAVEL_GUI_RECORDER="$recorder" PRAVEL_GUI_CLI="$cli"
export PRAVEL_GUI_DATA="$data" PRAVEL_GUI_OUTPUT="$output" PRAVEL_GUI_SCREENSHOTS="$screenshots"

# The driver's output goes to a file: Wine processes it starts inherit its
# descriptors, and a pipe they held would keep CTest waiting.
report="$output/driver.log"
timeout --kill-after=10 780 "$WINE" "$driver" --gtest_color=no "$@" >"$report" 2>&1
status=$?
# Wine's own notes about the file dialogs are no part of the report.
grep -v '^wine: Read access denied for device' "$report"
[ $status -eq 124 ] && echo "run-gui-tests.sh: the driver did not finish within 13 minutes" >&2
echo "screenshots: $screenshots"
exit $status
