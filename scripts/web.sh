#!/usr/bin/env bash
# Installs what is missing, builds the game for the browser into build/web/ and serves it at
# http://127.0.0.1:8000/. `./scripts/web.sh build` only builds. build/web/ is a plain static
# folder: any web host can serve it as it is.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
kavrona_install_missing "${KAVRONA_BUILD_PACKAGES[@]}" "${KAVRONA_TEST_PACKAGES[@]}" "${KAVRONA_WEB_PACKAGES[@]}"
# Emscripten's optimizer needs acorn, which Debian keeps outside Node's own search path.
# awk reads the whole list: a reader that stopped at the first match could leave dpkg to die of
# a broken pipe, which pipefail takes for a failure.
acorn=$(dpkg -L node-acorn | awk '/\/acorn\/package\.json$/ && !found { print; found = 1 }')
export NODE_PATH="${NODE_PATH:+$NODE_PATH:}$(dirname "$(dirname "$acorn")")"
# The pictures and sounds are the native generator's; the native runner checks the WebAssembly one.
cmake --preset release -DKAVRONA_WERROR="${KAVRONA_WERROR:-OFF}" >/dev/null
cmake --build --preset release --target artwork icons kavrona-headless -j"$(nproc)"
cmake --preset web -DKAVRONA_WERROR="${KAVRONA_WERROR:-OFF}" >/dev/null
cmake --build --preset web -j"$(nproc)"
echo "The page is in build/web/"
case "${1:-serve}" in
  build) ;;
  serve) exec python3 tools/web/serve.py --port 8000 build/web ;;
  *)
    echo "usage: $0 [build]" >&2
    exit 2
    ;;
esac
