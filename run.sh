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

main() {
  scripts/setup-deps.sh
  build_native
  prepare_work_folder
  # The Windows program on a display (under Wine) is the main job once it
  # exists; until then, and always without a display, the command line.
  run_cli
}

main "$@"
