#!/usr/bin/env bash
# Fails when a C++ file git tracks differs from what clang-format makes of
# it with the project's .clang-format; prints the files and the first lines
# that differ. clang-format -i FILE mends one.
set -uo pipefail
cd "$1"
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror 2>&1 | head -40
exit "${PIPESTATUS[1]}"
