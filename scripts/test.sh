#!/usr/bin/env bash
# Installs what is missing, builds Kavrona with its tests and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
kavrona_install_missing "${KAVRONA_BUILD_PACKAGES[@]}" "${KAVRONA_TEST_PACKAGES[@]}"
preset="${1:-release}"
# CI sets KAVRONA_WERROR=ON: a warning fails its build, never a player's.
cmake --preset "$preset" -DKAVRONA_WERROR="${KAVRONA_WERROR:-OFF}" >/dev/null
cmake --build --preset "$preset" -j"$(nproc)"
ctest --preset "$preset" -j"$(nproc)"
