#!/usr/bin/env bash
# Records one real session of the game under Xvfb, played by keys (live_session.py through
# xdotool), in a scratch copy of the program directory and a data directory of its own. Leaves
# the recording, the live trace, the kept best runs and the screenshots in OUT. Run as:
#   xvfb-run -a -s "-screen 0 1280x1024x24" tools/recording/record_xvfb.sh build/release/bin OUT
set -euo pipefail
bin="$(cd "${1:?usage: record_xvfb.sh PROGRAM_DIR OUT}" && pwd)"
out="$(mkdir -p "${2:?usage: record_xvfb.sh PROGRAM_DIR OUT}" && cd "$2" && pwd)"
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
trap 'kill "$game" "$wm" 2>/dev/null || true; rm -rf "$work"' EXIT
cp -r "$bin/data" "$bin"/kavrona_w*.wav "$bin/kavrona" "$work/"
export XDG_RUNTIME_DIR="$work/run" XDG_DATA_HOME="$work/data-home"
mkdir -p "$XDG_RUNTIME_DIR" "$out/shots-live" && chmod 700 "$XDG_RUNTIME_DIR"
wm=""
if command -v openbox >/dev/null; then openbox >/dev/null 2>&1 & wm=$! ; sleep 1; fi
rm -f "$out/live.jsonl"
"$work/kavrona" --record "$out/r.kvr" --trace "$out/live.jsonl" &
game=$!
python3 "$here/live_session.py" "$out/live.jsonl" --shots "$out/shots-live"
wait "$game"
echo "kavrona ended with status $?"
rm -rf "$out/replays"
if [ -d "$work/replays" ]; then cp -r "$work/replays" "$out/"; fi
