#!/usr/bin/env bash
# make-pictures.sh: makes the pictures of the guide, the README and the help
# page again, from the running program, into docs/pictures/:
#
#   window-1-open.png .. window-4-save-show.png
#       Pravel.exe under Wine (the GUI test's driver, tests/gui/pictures.cpp)
#       taking the example through the four steps by keys: the window after
#       each, with the box it shows
#   page.png
#       the page those steps wrote, in headless Chromium
#
# Each is reduced to 256 colours; one above 100 KB stops the run. Run it,
# as root on Debian, whenever the window or the example's page changes.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build="$root/${PRAVEL_WINDOWS_BUILD_DIR:-build/windows}"
work="$build/pictures"
prefix="$build/pictures-wineprefix"
out="$root/docs/pictures"
limit=$((100 * 1024))

scripts/setup-deps.sh
# The program's build copies the pictures beside it: the folder must be there.
mkdir -p "$out"
cmake --preset windows -B "$build" >/dev/null
cmake --build "$build" --target Pravel pravel-gui-recorder pravel-gui-pictures -j "$(nproc 2>/dev/null || echo 2)"

rm -rf "$work"
mkdir -p "$work/raw"
# Wine maps Documents to HOME: a home of its own, kept with the prefix.
export HOME="$build/pictures-home"
mkdir -p "$HOME"
scripts/wine/wineserver-ctl.sh create "$prefix"

echo "=== the window, under Wine"
PRAVEL_GUI_PROGRAM="$build/app/win32/Pravel.exe" \
PRAVEL_GUI_RECORDER="$build/tests/gui/pravel-gui-recorder.exe" \
PRAVEL_GUI_DATA="$root/examples" \
PRAVEL_GUI_OUTPUT="$work/run" \
PRAVEL_GUI_SCREENSHOTS="$work/screenshots" \
PRAVEL_GUI_PICTURES="$work/raw" \
  tests/gui/run-gui-tests.sh "$prefix" "$work/run" "$build/tests/gui/pravel-gui-pictures.exe"

echo "=== the page, in headless Chromium"
page="$prefix/drive_c/Menus/Pravel.html"
[ -s "$page" ] || { echo "make-pictures.sh: the window wrote no page ($page)" >&2; exit 1; }
chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --no-first-run \
  --disable-background-networking --disable-component-update --disable-sync \
  --host-resolver-rules='MAP * ~NOTFOUND' --window-size=1000,410 \
  --screenshot="$work/raw/page.png" "file://$page" >"$work/chromium.log" 2>&1

echo "=== optimised into docs/pictures"
status=0
for raw in "$work"/raw/*.png; do
  picture="$out/$(basename "$raw")"
  convert "$raw" -strip -colors 256 "PNG8:$picture"
  size=$(stat -c %s "$picture")
  printf '%-24s %4d KB\n' "$(basename "$picture")" $((size / 1024))
  if [ "$size" -gt "$limit" ]; then
    echo "make-pictures.sh: $(basename "$picture") is above 100 KB" >&2
    status=1
  fi
done
exit $status
