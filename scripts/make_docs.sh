#!/usr/bin/env bash
# Regenerates the pictures under docs/: the backdrop, its zones, the sprites, the glyph sheet,
# the title fade, the message window, the two strips, the dialog and the system menu, and the
# game in English.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
cmake --preset release >/dev/null && cmake --build --preset release --target artdocs fade_strip text_docs dialog_docs kavrona-headless artwork
build/release/tool-bin/artdocs "$PWD/docs" /usr/share/fonts/truetype/misaki/misaki_gothic.ttf
build/release/tool-bin/fade_strip build/release/bin "$PWD/docs/title_fade.png"
build/release/tool-bin/text_docs build/release/bin "$PWD/docs"

# The dialog over a program directory of its own, so that no player's records show.
# A fixed name, so that the version notice in the pictures names the same record file every time.
scratch="${TMPDIR:-/tmp}/kavrona-docs"
rm -rf "$scratch" && mkdir -p "$scratch"
trap 'rm -rf "$scratch"' EXIT
cp -r build/release/bin/data "$scratch/"
printf 'until dialog\nshot %s\ntext ninechars\ntap Return\nuntil dialog\nshot %s\nquit\n' \
  "$PWD/docs/dialog_entry.png" "$PWD/docs/dialog_too_long.png" |
  build/release/bin/kavrona-headless --dir "$scratch" --date 04/22 >/dev/null
build/release/tool-bin/dialog_docs "$scratch" "$PWD/docs"

# The system menu from the first briefing: the menu, the ranking, the key help, the version
# notice, the stage choice, and stage 2 played from there to its select result.
rm -f "$scratch/Kavrona.ini"
d="$PWD/docs"
{
  printf 'until dialog\nclose dialog\nuntil dialog\nclose dialog\nuntil wait\ntap M\nshot %s\n' "$d/menu.png"
  printf 'text 4\ntap Return\nuntil dialog\nshot %s\ntap Return\nuntil dialog\n' "$d/menu_ranking.png"
  printf 'text 5\ntap Return\nuntil dialog\nshot %s\ntap Return\nuntil dialog\n' "$d/menu_key_help.png"
  printf 'text 6\ntap Return\nuntil dialog\nshot %s\ntap Return\nuntil dialog\n' "$d/menu_version.png"
  printf 'text 3\ntap Return\nuntil dialog\nshot %s\ntext 2\ntap Return\n' "$d/menu_stage_choice.png"
  # The nested briefing, then a shot from the sniping place clears the stage.
  printf 'until wait\ntap Space\nuntil clock 2\nframes 3\nset Heli.X=471 Heli.Y=321 HeliVX=0 HeliVY=0\n'
  printf 'key Space down\nframes 2\nkey Space up\nuntil clear\nuntil wait\nshot %s\nquit\n' "$d/select_result.png"
} | build/release/bin/kavrona-headless --dir "$scratch" --date 04/22 >/dev/null

# The same game in English: the menu, stage 4's briefing chosen there, and stage 1's clear
# screen from the full run's golden replay.
rm -f "$scratch/Kavrona.ini"
{
  printf 'until dialog\nclose dialog\nuntil dialog\nclose dialog\nuntil wait\ntap M\nshot %s\n' "$d/english_menu.png"
  printf 'text 3\ntap Return\nuntil dialog\ntext 4\ntap Return\nuntil wait\nshot %s\nquit\n' "$d/english_briefing.png"
} | build/release/bin/kavrona-headless --dir "$scratch" --date 04/22 --lang en >/dev/null
rm -f "$scratch/Kavrona.ini"
{
  sed -n '1,/^# stage 1 cleared$/p' tests/fixtures/replays/full_run.txt
  printf 'shot %s\nquit\n' "$d/english_clear.png"
} | build/release/bin/kavrona-headless --dir "$scratch" --date 04/22 --lang en >/dev/null
