#!/usr/bin/env bash
# Installs what is missing, then builds and tests every preset through its
# CMake workflow (configure, build, test): natively, under AddressSanitizer +
# UndefinedBehaviorSanitizer, the Windows build under Wine, and each fuzz
# target for a bounded time. Non-zero on any failure.
set -uo pipefail
cd "$(dirname "$0")"

scripts/setup-deps.sh || exit 1

failed=()
for preset in native native-asan windows fuzz; do
  echo "=== $preset"
  started=$SECONDS
  cmake --workflow --preset "$preset" || failed+=("$preset")
  echo "=== $preset took $((SECONDS - started)) s"
done

echo
if [ ${#failed[@]} -gt 0 ]; then
  echo "FAILED: ${failed[*]}"
  exit 1
fi
echo "All presets built and all tests passed in $SECONDS s."
