#!/usr/bin/env bash
# Plays every recording of real play under tests/fixtures/recordings headless and wants each in
# step (status 0). Where the live window's trace was kept beside it (NAME.live.jsonl), the
# playback's frame, outcome, clear and records events must equal it in order and value. Then
# damages each recording (a byte flipped here and there in its body, the file cut short) and
# wants a refusal or a departure (status 2 or 6) with a message, never a crash.
# Usage: recordings_test.sh PROGRAM_DIR RECORDINGS_DIR SOURCE_DIR
set -u
bin="$1"
recordings="$2"
source="$3"
runner="$bin/kavrona-headless"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/../checks.sh"

shopt -s nullglob
files=("$recordings"/*.kvr)
[ "${#files[@]}" -ge 2 ] || fail "only ${#files[@]} recordings in $recordings"
for file in "${files[@]}"; do
  name=$(basename "$file" .kvr)
  # A program directory of its own: the playback saves its best time, but never there.
  mkdir -p "$work/$name.dir"
  cp -r "$bin/data" "$work/$name.dir/"
  "$runner" --play "$file" --dir "$work/$name.dir" --trace "$work/$name.jsonl" >"$work/$name.out" 2>"$work/$name.err"
  status=$?
  [ "$status" -eq 0 ] || fail "$name: status $status: $(cat "$work/$name.err")"
  grep -q '"ev":"records","t":[0-9]*,"ok":true' "$work/$name.jsonl" || fail "$name: the playback saved no records"
  [ -z "$(ls -A "$work/$name.dir" | grep -v '^data$')" ] || fail "$name: the playback wrote into its program directory"
  grep -q '^clear: stage 1 ' "$work/$name.out" || fail "$name: no clear of stage 1 in: $(cat "$work/$name.out")"
  grep -q '^best-time entry: stage 1, rank 1' "$work/$name.out" || fail "$name: no best time entered"
  if [ -f "$recordings/$name.live.jsonl" ]; then
    python3 "$source/tools/recording/compare_traces.py" "$recordings/$name.live.jsonl" "$work/$name.jsonl" \
      >"$work/$name.cmp" || fail "$name: the playback's trace differs from the live one: $(cat "$work/$name.cmp")"
  fi

  size=$(stat -c %s "$file")
  for at in 40 $((size / 3)) $((size / 2)) $((size - 5)) cut; do
    damaged="$work/$name.$at.kvr"
    if [ "$at" = cut ]; then
      head -c $((size * 2 / 3)) "$file" >"$damaged"
    else
      python3 -c 'import sys; d = bytearray(open(sys.argv[1], "rb").read()); d[int(sys.argv[2])] ^= 0x10
open(sys.argv[3], "wb").write(d)' "$file" "$at" "$damaged"
    fi
    "$runner" --play "$damaged" >/dev/null 2>"$work/err"
    status=$?
    { [ "$status" -eq 2 ] || [ "$status" -eq 6 ]; } || fail "$name damaged at $at: status $status"
    [ "$(wc -l <"$work/err")" -eq 1 ] || fail "$name damaged at $at: not one message: $(cat "$work/err")"
  done
done

# --play takes everything from the recording.
"$runner" --play "${files[0]}" --date 01/01 >/dev/null 2>&1
[ $? -eq 2 ] || fail "--play with --date is not refused"
"$runner" --play "$work/none.kvr" >/dev/null 2>"$work/err"
[ $? -eq 2 ] || fail "a missing recording does not give status 2"

finish "recordings: ${#files[@]} in step"
