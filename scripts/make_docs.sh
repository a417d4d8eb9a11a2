#!/usr/bin/env bash
# Regenerates the pictures under docs/: the backdrop, its zones, the sprites, the glyph sheet,
# the title fade, the message window and the two strips.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
cmake --preset release >/dev/null && cmake --build --preset release --target artdocs fade_strip text_docs artwork
build/release/tool-bin/artdocs "$PWD/docs" /usr/share/fonts/truetype/misaki/misaki_gothic.ttf
build/release/tool-bin/fade_strip build/release/bin "$PWD/docs/title_fade.png"
build/release/tool-bin/text_docs build/release/bin "$PWD/docs"
