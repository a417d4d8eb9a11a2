#!/usr/bin/env bash
# Installs the Debian packages Kavrona needs that are missing. Sourced by play.sh, test.sh,
# fuzz_regress.sh and web.sh.
set -euo pipefail

KAVRONA_BUILD_PACKAGES=(
  build-essential cmake pkg-config
  libsdl2-dev libpng-dev libfreetype-dev fonts-misaki
  libsdl2-ttf-dev libfontconfig-dev fonts-ipafont-mincho fonts-ipafont-gothic
  libsdl2-mixer-dev zlib1g-dev
)
KAVRONA_TEST_PACKAGES=(
  libgtest-dev libgmock-dev libbenchmark-dev python3
  desktop-file-utils appstream man-db
)
# The formatting and clang-tidy checks.
KAVRONA_LINT_PACKAGES=(
  clang-format clang-tidy
)
# The fuzz preset: clang, and the runtime that holds libFuzzer and the sanitizers.
KAVRONA_FUZZ_PACKAGES=(
  clang libclang-rt-dev
)
# For making the Debian package and checking it; the trial install runs it under Xvfb.
KAVRONA_PACKAGE_PACKAGES=(
  dpkg-dev file binutils lintian
)
# The browser build (scripts/web.sh): Emscripten, Node and its acorn for Emscripten's optimizer,
# the dialogs' fonts shipped with the page; and its tests in headless Chromium.
KAVRONA_WEB_PACKAGES=(
  emscripten nodejs node-acorn fonts-ipafont-mincho fonts-ipafont-gothic
)
KAVRONA_WEB_TEST_PACKAGES=(
  chromium chromium-driver python3-selenium
)
KAVRONA_TRIAL_PACKAGES=(
  xvfb xauth xdotool
)

kavrona_install_missing() {
  local missing=()
  local pkg
  for pkg in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$pkg")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing missing packages: ${missing[*]}"
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then
      sudo=(sudo)
    else
      echo "Please install as root: apt-get install ${missing[*]}" >&2
      return 1
    fi
  fi
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}
