#!/usr/bin/env bash
# Frame pacing of the real window under Xvfb: starts the game with --trace in a scratch copy of
# the program directory, answers the start-up dialogs, starts stage 1, keeps the helicopter up
# for 30 s (hover.py) and prints the figures (pacing.py). Run as: xvfb-run -a -s "-screen 0
# 1280x1024x24" tools/measure/pacing_xvfb.sh build/release/bin [KEEP_TRACE]
set -euo pipefail
bin="$(cd "${1:?usage: pacing_xvfb.sh PROGRAM_DIR}" && pwd)"
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
trap 'kill "$game" 2>/dev/null || true; rm -rf "$work"' EXIT
cp -r "$bin/data" "$bin"/kavrona_w*.wav "$bin/kavrona" "$work/"
export XDG_RUNTIME_DIR="$work/run" XDG_DATA_HOME="$work/data-home"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
if command -v openbox >/dev/null; then openbox >/dev/null 2>&1 & sleep 1; fi
"$work/kavrona" --trace "$work/trace.jsonl" >/dev/null 2>&1 &
game=$!
until grep -q '"ev":"dialog"' "$work/trace.jsonl" 2>/dev/null; do sleep 0.1; done
xdotool key Return
until [ "$(grep -c '"ev":"answer"' "$work/trace.jsonl")" -ge 1 ]; do sleep 0.1; done
sleep 0.5
xdotool key Return
until grep -q '"ev":"wait"' "$work/trace.jsonl"; do sleep 0.1; done
xdotool keydown space && sleep 0.1 && xdotool keyup space
python3 "$here/hover.py" "$work/trace.jsonl" --seconds 30
xdotool key Escape
python3 "$here/pacing.py" "$work/trace.jsonl"
if [ -n "${2:-}" ]; then cp "$work/trace.jsonl" "$2"; fi
