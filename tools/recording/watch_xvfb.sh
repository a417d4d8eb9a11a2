#!/usr/bin/env bash
# Watches a recording made by record_xvfb.sh under Xvfb (kavrona --play) and takes the same
# screenshots at the same events as the live session did, into OUT/shots-watch; then compares
# each pair (ImageMagick's compare, pixels that differ). Run as:
#   xvfb-run -a -s "-screen 0 1280x1024x24" tools/recording/watch_xvfb.sh build/release/bin OUT
set -euo pipefail
bin="$(cd "${1:?usage: watch_xvfb.sh PROGRAM_DIR OUT}" && pwd)"
out="$(cd "${2:?usage: watch_xvfb.sh PROGRAM_DIR OUT}" && pwd)"
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
trap 'kill "$game" "$wm" 2>/dev/null || true; rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR="$work/run" XDG_DATA_HOME="$work/data-home"
mkdir -p "$XDG_RUNTIME_DIR" "$out/shots-watch" && chmod 700 "$XDG_RUNTIME_DIR"
wm=""
if command -v openbox >/dev/null; then openbox >/dev/null 2>&1 & wm=$! ; sleep 1; fi
rm -f "$out/watch.jsonl"
"$bin/kavrona" --play "$out/r.kvr" --trace "$out/watch.jsonl" &
game=$!
python3 "$here/live_session.py" "$out/watch.jsonl" --watch --shots "$out/shots-watch"
status=0
wait "$game" || status=$?
echo "kavrona --play ended with status $status"
for live in "$out"/shots-live/*.png; do
  name="$(basename "$live")"
  diff="$(compare -metric AE "$live" "$out/shots-watch/$name" null: 2>&1 || true)"
  echo "$name: $diff pixels differ"
done
exit "$status"
