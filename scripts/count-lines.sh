#!/usr/bin/env bash
# count-lines.sh: the size of the tests against the size of the product.
#
# Lines are counted without blank lines and without comment lines (C++ //,
# Python and shell #), over the files git tracks. The product is the C++ of
# text/ definition/ html/ tools/ bookmarks/ linkcheck/ app/ (app/win32/
# with it) and cli/ (the generated table of named references is data, not
# counted); the tests are the C++, Python and shell of tests/ and fuzz/,
# with the smoke check of the benchmark runner (its check_same_files). Test
# data (golden cases, corpora, GUI data) is not code and is not counted.
set -eu
cd "$(dirname "$0")/.."
count() {
  for f in "$@"; do
    case "$f" in
      *.py | *.sh) grep -v '^\s*$' "$f" | grep -v '^\s*#' || true ;;
      *) grep -v '^\s*$' "$f" | grep -v '^\s*//' || true ;;
    esac
  done | wc -l
}
product=$(count $(git ls-files text definition html tools bookmarks linkcheck app cli | grep -E '\.(cpp|h)$'))
tests=$(count $(git ls-files tests fuzz | grep -E '\.(cpp|h|py|sh)$'))
smoke=$(awk '/^def check_same_files/ {on = 1} on && /^$/ {exit} on' bench/run_bench.py | grep -v '^\s*#' | wc -l)
total=$((tests + smoke))
echo "product $product, tests $total ($tests in tests/ and fuzz/, $smoke of the benchmark smoke check): $((total * 100 / product)).$((total * 1000 / product % 10)) %"
