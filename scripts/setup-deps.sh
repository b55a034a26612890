#!/usr/bin/env bash
# Installs, on Debian as root, every package the build and the tests need
# that is not there yet. Quiet when all are present.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake ninja-build g++ git python3            # the native build
  clang-format                                  # the format check
  googletest libgtest-dev                       # unit tests: sources (MinGW) and library (native)
  libcurl4-openssl-dev ca-certificates          # the link check's HTTP client (native) and the certificates it trusts
  libidn2-dev                                   # the link check: host names in other scripts (native)
  g++-mingw-w64-x86-64-posix                    # the Windows cross build
  nsis                                          # the Windows installer (makensis)
  wine wine64 xvfb x11-utils                    # Windows programs and the GUI under Wine
  imagemagick fonts-dejavu-core                 # drawing the button-bar picture
  chromium chromium-driver python3-selenium     # the browser test of the generated pages
  clang libclang-rt-14-dev                      # fuzzing
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    echo "setup-deps.sh: these packages are missing and installing them needs root: ${missing[*]}" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# axe-core, which the browser test runs in the page, from the npm registry
# at the version tests/browser/package-lock.json holds.
if [ ! -f tests/browser/node_modules/axe-core/axe.min.js ]; then
  if ! command -v npm >/dev/null; then
    if [ "$(id -u)" -ne 0 ]; then
      echo "setup-deps.sh: npm is missing and installing it needs root" >&2
      exit 1
    fi
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends npm
  fi
  (cd tests/browser && npm ci --no-audit --no-fund --loglevel=error)
fi
