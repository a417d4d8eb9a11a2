#!/usr/bin/env bash
# Builds the fuzz preset with clang (the whole tree, so that code clang refuses shows here and
# not first in the web build) and replays every fuzz target's seeds and the inputs it once
# failed on, fuzz/corpus/NAME/ and fuzz/regressions/NAME/. No fuzzing: that runs by hand.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
kavrona_install_missing "${KAVRONA_BUILD_PACKAGES[@]}" "${KAVRONA_FUZZ_PACKAGES[@]}"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$(nproc)"
ctest --test-dir build/fuzz/fuzz --output-on-failure --no-tests=error
