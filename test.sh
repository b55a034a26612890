#!/usr/bin/env bash
# Installs what is missing, builds every preset and runs every test:
# natively, under AddressSanitizer + UndefinedBehaviorSanitizer, the Windows
# build under Wine, and each fuzz target for a bounded time (about a minute in
# all). Ends with CTest's summary; non-zero on any failure.
set -uo pipefail
cd "$(dirname "$0")"

scripts/setup-deps.sh || exit 1

jobs=$(nproc 2>/dev/null || echo 2)
presets=(native native-asan windows fuzz)
failed=()

for preset in "${presets[@]}"; do
  echo "=== build: $preset"
  started=$SECONDS
  if ! cmake --preset "$preset" >/dev/null || ! cmake --build --preset "$preset" -j "$jobs"; then
    failed+=("$preset (build)")
  fi
  echo "=== built $preset in $((SECONDS - started)) s"
done

for preset in "${presets[@]}"; do
  [[ " ${failed[*]} " == *" $preset (build) "* ]] && continue
  echo "=== test: $preset"
  started=$SECONDS
  ctest --preset "$preset" -j "$jobs" || failed+=("$preset (tests)")
  echo "=== tested $preset in $((SECONDS - started)) s"
done

echo
if [ ${#failed[@]} -gt 0 ]; then
  echo "FAILED: ${failed[*]}"
  exit 1
fi
echo "All presets built and all tests passed in $SECONDS s."
