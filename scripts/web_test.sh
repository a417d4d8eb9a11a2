#!/usr/bin/env bash
# Builds the browser version (web.sh build), plays every golden replay on its runner under Node
# against the native runner's traces, then plays the page in headless Chromium.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
kavrona_install_missing "${KAVRONA_WEB_TEST_PACKAGES[@]}"
./scripts/web.sh build
ctest --preset web
# Debian's selenium is for Debian's python3.
/usr/bin/python3 tests/web/browser_test.py build/web
