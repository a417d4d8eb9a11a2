#!/usr/bin/env bash
# Installs what is missing, builds Kavrona and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
kavrona_install_missing "${KAVRONA_BUILD_PACKAGES[@]}" "${KAVRONA_TEST_PACKAGES[@]}"
cmake --preset release >/dev/null
cmake --build --preset release --target kavrona -j"$(nproc)"
exec ./build/release/bin/kavrona "$@"
