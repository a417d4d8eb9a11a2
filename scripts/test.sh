#!/usr/bin/env bash
# Installs what is missing, builds Kavrona with its tests and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
kavrona_install_missing "${KAVRONA_BUILD_PACKAGES[@]}" "${KAVRONA_TEST_PACKAGES[@]}"
preset="${1:-release}"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j"$(nproc)"
ctest --preset "$preset" -j"$(nproc)"
