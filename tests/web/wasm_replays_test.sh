#!/usr/bin/env bash
# The WebAssembly runner under Node plays every golden replay as the native runner does: each
# replay passes the same checks, and both runners write the same trace and the same record file,
# byte for byte (the same floating-point results, the same frames). cp932_name.txt beside this
# script saves a name whose characters have more than one code in CP932: the record files must
# be the same too (the native runner encodes with iconv, the WebAssembly one on its own table).
# Usage: wasm_replays_test.sh NATIVE_PROGRAM_DIR WASM_PROGRAM_DIR REPLAY_DIR
set -u
native="$1"
wasm="$2"
replays="$3"
node_runner="node --no-experimental-fetch $wasm/kavrona-headless.js"
source "$(dirname "$0")/../checks.sh"
[ -x "$native/kavrona-headless" ] || { echo "no native runner in $native" >&2; exit 1; }
[ -f "$wasm/kavrona-headless.js" ] || { echo "no WebAssembly runner in $wasm" >&2; exit 1; }

KAVRONA_RUNNER="$node_runner" "$(dirname "$0")/../runner/replays_test.sh" "$native" "$replays" ||
  fail "the golden replays on the WebAssembly runner"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for file in "$replays"/*.txt "$(dirname "$0")/cp932_name.txt"; do
  name=$(basename "$file" .txt)
  for side in native wasm; do
    mkdir -p "$work/$name/$side"
    cp -r "$native/data" "$work/$name/$side/"
  done
  "$native/kavrona-headless" --dir "$work/$name/native" --date 04/22 --script "$file" \
    --trace "$work/$name/native/trace.jsonl" 2>/dev/null
  # shellcheck disable=SC2086
  $node_runner --dir "$work/$name/wasm" --date 04/22 --script "$file" --trace "$work/$name/wasm/trace.jsonl" 2>/dev/null
  if ! cmp -s "$work/$name/native/trace.jsonl" "$work/$name/wasm/trace.jsonl"; then
    fail "$name: the traces differ from line $(cmp "$work/$name/native/trace.jsonl" "$work/$name/wasm/trace.jsonl" |
      sed 's/.*line //')"
  elif [ ! -s "$work/$name/wasm/trace.jsonl" ]; then
    fail "$name: no trace"
  fi
  if [ -e "$work/$name/native/Kavrona.ini" ] || [ -e "$work/$name/wasm/Kavrona.ini" ]; then
    cmp -s "$work/$name/native/Kavrona.ini" "$work/$name/wasm/Kavrona.ini" || fail "$name: the record files differ"
  fi
done
finish "wasm replays: every trace as the native runner's"
