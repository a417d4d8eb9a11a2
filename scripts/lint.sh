#!/usr/bin/env bash
# The habits CI holds the code to: formatting as .clang-format says, and clang-tidy's checks
# (.clang-tidy) clean over src/. Installs what is missing, as the other scripts do.
# `lint.sh web` checks only the browser's files, against the Emscripten build (web.sh build).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
kavrona_install_missing "${KAVRONA_BUILD_PACKAGES[@]}" "${KAVRONA_LINT_PACKAGES[@]}"
web_units=(src/platform/web/*.cpp src/web_main.cpp src/base/png_web.cpp)

lint_web() {
  sysroot=/usr/share/emscripten/cache/sysroot
  wasm_args=(--extra-arg=--target=wasm32-unknown-emscripten "--extra-arg=--sysroot=$sysroot"
    "--extra-arg=-isystem$sysroot/include/compat" --extra-arg=-D__EMSCRIPTEN__ --extra-arg=-fexceptions)
  if ! printf '%s\n' "${web_units[@]}" src/records/shift_jis.cpp |
    xargs -P"$(nproc)" -n4 clang-tidy -p build/wasm --quiet --header-filter='src/(platform/web|records)/.*' \
      "${wasm_args[@]}" 2>/dev/null; then
    echo "lint: clang-tidy found the faults above in the browser's files" >&2
    exit 1
  fi
}

if [ "${1:-}" = web ]; then
  if [ ! -f build/wasm/compile_commands.json ]; then
    echo "lint: no build/wasm; run ./scripts/web.sh build first" >&2
    exit 1
  fi
  lint_web
  echo "lint: the browser's files clang-tidy clean"
  exit 0
fi

mapfile -t sources < <(git ls-files '*.cpp' '*.h')
if ! clang-format --dry-run -Werror "${sources[@]}"; then
  echo "lint: formatting drifts from .clang-format; run clang-format -i on the files above" >&2
  exit 1
fi

# clang-tidy reads the compile commands of a build of its own, without tests or benchmarks.
cmake -S . -B build/tidy -DCMAKE_BUILD_TYPE=Debug -DCMAKE_EXPORT_COMPILE_COMMANDS=ON \
  -DKAVRONA_BUILD_TESTS=OFF -DKAVRONA_BUILD_BENCH=OFF >/dev/null
# The browser's own files build only with Emscripten; they are checked against its build.
mapfile -t units < <(git ls-files 'src/*.cpp' ':!src/platform/web/*' ':!src/web_main.cpp' ':!src/base/png_web.cpp')
if ! printf '%s\n' "${units[@]}" | xargs -P"$(nproc)" -n4 clang-tidy -p build/tidy --quiet 2>/dev/null; then
  echo "lint: clang-tidy found the faults above" >&2
  exit 1
fi
if [ -f build/wasm/compile_commands.json ]; then
  lint_web
else
  echo "lint: no build/wasm (./scripts/web.sh build): the browser's files were not checked by clang-tidy" >&2
fi
echo "lint: formatting and clang-tidy clean"
