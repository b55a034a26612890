#!/usr/bin/env bash
# Sets up a fresh Debian machine (run as root), builds Pravel and runs it on
# the example in examples/: the definition and the four template files are
# copied into a work folder under build/, and the page is made there.
set -euo pipefail
cd "$(dirname "$0")"
root=$(pwd)
# Another build folder for the native preset can be given, as developers who
# share a tree each keep their own.
build="$root/${PRAVEL_BUILD_DIR:-build/native}"
work="$build/example-run"
example_files=(Pravel_Input.txt Pravel.ini HdrOnly.txt TableHdr_template.txt TrlOnly.txt)

build_native() {
  echo "=== build: native"
  cmake --preset native -B "$build" >/dev/null
  cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)"
}

# A fresh copy each run: the build rewrites the definition it is given.
prepare_work_folder() {
  rm -rf "$work"
  mkdir -p "$work"
  for f in "${example_files[@]}"; do cp "examples/$f" "$work/"; done
}

# The four steps without a window: prints the reports, the list of created
# files and the absolute path of the page.
run_cli() {
  echo "=== pravel-cli build Pravel_Input.txt, in $work"
  local status=0
  "$build/cli/pravel-cli" -C "$work" build Pravel_Input.txt || status=$?
  if [ "$status" -ne 0 ]; then
    echo "run.sh: pravel-cli ended with exit status $status" >&2
    return "$status"
  fi
  echo
  echo "Files in $work:"
  (cd "$work" && ls -l | tail -n +2)
  echo
  echo "The page: $work/Pravel.html"
}

# ---------------------------------------------------------------------------
# The Windows program on a display: Pravel.exe from the windows preset, under
# Wine in a prefix of its own, started in the work folder with the button-bar
# picture and the help link beside the example, so the four steps can be
# taken at once (the open dialog offers Pravel_Input.txt). The wineserver is
# stopped by its process id when the window is closed.
run_gui() {
  local wbuild="$root/${PRAVEL_WINDOWS_BUILD_DIR:-build/windows}"
  local exe_dir="$wbuild/app/win32"
  local prefix="$wbuild/run-wineprefix"
  local ctl="$root/scripts/wine/wineserver-ctl.sh"
  echo "=== build: windows (Pravel.exe)"
  cmake --preset windows -B "$wbuild" >/dev/null
  cmake --build "$wbuild" --target Pravel -j "$(nproc 2>/dev/null || echo 2)"
  for f in Pravel_600x154.png Pravel_Help.url Pravel_Help.html; do cp "$exe_dir/$f" "$work/"; done

  "$ctl" start "$prefix"
  # shellcheck disable=SC2064  # the prefix is fixed now
  trap "'$ctl' stop '$prefix'" EXIT
  # A new prefix knows how to open an .html file (winebrowser, which hands it
  # to the desktop's browser) but not that the extension means one; step 4
  # opens the page it made through that association.
  PRAVEL_WINEPREFIX="$prefix" "$root/scripts/wine/wine-run.sh" reg add 'HKCR\.html' /ve /d htmlfile /f >/dev/null 2>&1 || true
  echo "=== Pravel.exe under Wine, in $work"
  echo "    Step 1: click [1 Open Input] and open Pravel_Input.txt; then steps 2, 3 and 4."
  local status=0
  (cd "$work" && PRAVEL_WINEPREFIX="$prefix" "$root/scripts/wine/wine-run.sh" "$exe_dir/Pravel.exe") || status=$?
  echo "Pravel.exe ended with exit status $status; the files are in $work"
  return "$status"
}
# ---------------------------------------------------------------------------

main() {
  scripts/setup-deps.sh
  # The Windows program on a display (under Wine) is the main job; without
  # a display, the command line.
  if [ -n "${DISPLAY:-}" ]; then
    prepare_work_folder
    run_gui
  else
    build_native
    prepare_work_folder
    run_cli
  fi
}

main "$@"
