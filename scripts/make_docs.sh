#!/usr/bin/env bash
# Regenerates the pictures under docs/: the backdrop, its zones, the sprites, the glyph sheet,
# the title fade, the message window, the two strips and the dialog.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
cmake --preset release >/dev/null && cmake --build --preset release --target artdocs fade_strip text_docs dialog_docs kavrona-headless artwork
build/release/tool-bin/artdocs "$PWD/docs" /usr/share/fonts/truetype/misaki/misaki_gothic.ttf
build/release/tool-bin/fade_strip build/release/bin "$PWD/docs/title_fade.png"
build/release/tool-bin/text_docs build/release/bin "$PWD/docs"

# The dialog over a program directory of its own, so that no player's records show.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cp -r build/release/bin/data "$scratch/"
printf 'until dialog\nshot %s\ntext ninechars\ntap Return\nshot %s\nquit\n' \
  "$PWD/docs/dialog_entry.png" "$PWD/docs/dialog_too_long.png" |
  build/release/bin/kavrona-headless --dir "$scratch" --date 04/22 >/dev/null
build/release/tool-bin/dialog_docs "$scratch" "$PWD/docs"
