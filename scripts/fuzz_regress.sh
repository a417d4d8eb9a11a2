#!/usr/bin/env bash
# Builds the fuzz targets with clang and replays every target's seeds and the inputs it once
# failed on, fuzz/corpus/NAME/ and fuzz/regressions/NAME/. No fuzzing: that runs by hand.
# (Code of src/ that clang refuses shows in scripts/lint.sh, whose clang-tidy reads every file.)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
kavrona_install_missing "${KAVRONA_BUILD_PACKAGES[@]}" "${KAVRONA_FUZZ_PACKAGES[@]}"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$(nproc)" --target records_fuzz png_fuzz wave_fuzz commands_fuzz recording_fuzz
ctest --test-dir build/fuzz/fuzz --output-on-failure --no-tests=error
