#!/usr/bin/env bash
# Regenerates the pictures under docs/: the backdrop, its zones, the sprites and the glyph sheet.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
cmake --preset release >/dev/null && cmake --build --preset release --target artdocs
build/release/tool-bin/artdocs "$PWD/docs" /usr/share/fonts/truetype/misaki/misaki_gothic.ttf
