#!/usr/bin/env bash
# The habits CI holds the code to: formatting as .clang-format says, and clang-tidy's checks
# (.clang-tidy) clean over src/. Installs what is missing, as the other scripts do.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
kavrona_install_missing "${KAVRONA_BUILD_PACKAGES[@]}" "${KAVRONA_LINT_PACKAGES[@]}"

mapfile -t sources < <(git ls-files '*.cpp' '*.h')
if ! clang-format --dry-run -Werror "${sources[@]}"; then
  echo "lint: formatting drifts from .clang-format; run clang-format -i on the files above" >&2
  exit 1
fi

# clang-tidy reads the compile commands of a build of its own, without tests or benchmarks.
cmake -S . -B build/tidy -DCMAKE_BUILD_TYPE=Debug -DCMAKE_EXPORT_COMPILE_COMMANDS=ON \
  -DKAVRONA_BUILD_TESTS=OFF -DKAVRONA_BUILD_BENCH=OFF >/dev/null
mapfile -t units < <(git ls-files 'src/*.cpp')
if ! printf '%s\n' "${units[@]}" | xargs -P"$(nproc)" -n4 clang-tidy -p build/tidy --quiet 2>/dev/null; then
  echo "lint: clang-tidy found the faults above" >&2
  exit 1
fi
echo "lint: formatting and clang-tidy clean"
