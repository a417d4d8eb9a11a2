#!/usr/bin/env bash
# Plays every golden replay through the runner, each in a program directory of its own, and
# wants status 0 from each: a replay that has fallen out of step with the game stops at its
# first expect with status 3. The full run must also have ranked its total and saved it; the
# failure replays must each end in exactly one failure. Usage: replays_test.sh PROGRAM_DIR REPLAY_DIR
# KAVRONA_RUNNER, when set, is the runner's command line instead (the WebAssembly one under Node).
set -u
bin="$1"
replays="$2"
runner=("$bin/kavrona-headless")
[ -n "${KAVRONA_RUNNER:-}" ] && read -ra runner <<<"$KAVRONA_RUNNER"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/../checks.sh"

shopt -s nullglob
files=("$replays"/*.txt)
[ "${#files[@]}" -ge 7 ] || fail "only ${#files[@]} replays in $replays"
codes=""
for file in "${files[@]}"; do
  name=$(basename "$file" .txt)
  dir="$work/$name"
  mkdir -p "$dir"
  cp -r "$bin/data" "$dir/"
  [ "$(head -n1 "$file")" = "kavrona-script 1" ] || fail "$name does not open with the format line"
  grep -q '^# .*tools/pilot' "$file" || fail "$name does not say how it was made"
  grep -Eq '^[[:space:]]*set[[:space:]]' "$file" && fail "$name places the game with set"
  began=$(date +%s.%N)
  "${runner[@]}" --dir "$dir" --date 04/22 --script "$file" --trace "$dir/trace.jsonl" 2>"$dir/err"
  status=$?
  seconds=$(echo "$(date +%s.%N) - $began" | bc)
  echo "$name: status $status in ${seconds} s"
  if [ "$status" -ne 0 ]; then
    fail "$name ended with status $status: $(cat "$dir/err")"
    grep '"ev":"mismatch"' "$dir/trace.jsonl" >&2
    continue
  fi
  tail -n1 "$dir/trace.jsonl" | grep -q '^{"ev":"exit","t":[0-9-]*,"status":0}$' ||
    fail "$name did not end through the game's shutdown"
  outcomes=$(grep -o '"ev":"outcome","t":[0-9-]*,"code":[0-9]*' "$dir/trace.jsonl" | sed 's/.*"code"://')
  case "$name" in
    full_run)
      [ -z "$outcomes" ] || fail "the full run failed a stage: $outcomes"
      [ "$(grep -c '"ev":"clear"' "$dir/trace.jsonl")" -eq 8 ] || fail "the full run did not clear eight stages"
      grep -q '"ev":"sequence","t":[0-9-]*,"name":"finale"' "$dir/trace.jsonl" || fail "the full run has no finale"
      # The stage times of the clears add up to the total that the record file ranks first.
      total=$(grep -o '"ev":"clear","t":[0-9-]*,"stage":[0-9]*,"time":[0-9]*' "$dir/trace.jsonl" |
        sed 's/.*"time"://' | paste -sd+ | bc)
      ini="$dir/Kavrona.ini"
      if [ ! -f "$ini" ]; then
        fail "the full run wrote no Kavrona.ini"
      else
        [ "$(wc -l <"$ini")" -eq 30 ] || fail "Kavrona.ini is not 30 lines"
        line=$(sed -n 25p "$ini" | tr -d '\r')
        [ "$line" = "04/22@$total\\ORVEL" ] || fail "the best total line is '$line', not the run's $total"
      fi
      ;;
    select_*)
      trace="$dir/trace.jsonl"
      [ -z "$outcomes" ] || fail "$name failed: $outcomes"
      grep -q '"ev":"stage","t":[0-9-]*,"stage":[0-9]*,"restart":true' "$trace" || fail "$name set up no stage from the menu"
      [ "$(grep -c '"ev":"clear","t":[0-9-]*,"stage":[0-9]*,"time":[0-9]*,"select":true' "$trace")" -eq 1 ] ||
        fail "$name did not clear one select play"
      grep -q '"ev":"clear","t":[0-9-]*,"stage":[0-9]*,"time":[0-9]*,"select":false' "$trace" &&
        fail "$name cleared a stage of a normal run"
      [ "$(grep -c '"ev":"run"' "$trace")" -eq 2 ] || fail "$name did not start a new run after its result"
      # The select play's time is ranked: the stage's best entry in the record file.
      time=$(grep -o '"ev":"clear","t":[0-9-]*,"stage":[0-9]*,"time":[0-9]*' "$trace" | sed 's/.*"time"://')
      stage=$(grep -o '"ev":"clear","t":[0-9-]*,"stage":[0-9]*' "$trace" | sed 's/.*"stage"://')
      line=$(sed -n "$((3 * stage - 2))p" "$dir/Kavrona.ini" 2>/dev/null | tr -d '\r')
      [ "$line" = "04/22@$time\\ORVEL" ] || fail "$name's best line for stage $stage is '$line', not its $time"
      ;;
    fail_*)
      [ "$(wc -w <<<"$outcomes")" -eq 1 ] || fail "$name ended in outcomes '$outcomes', not one"
      codes="$codes $outcomes"
      grep -q '"ev":"dialog","t":[0-9-]*,"text":"　もう一度　？"' "$dir/trace.jsonl" || fail "$name never asked to retry"
      grep -q '"ev":"answer","t":[0-9-]*,"value":"1"' "$dir/trace.jsonl" || fail "$name did not answer yes"
      [ "$(grep -c '"ev":"run"' "$dir/trace.jsonl")" -eq 2 ] || fail "$name did not start a second run"
      ;;
  esac
done
# One failure replay for each way a stage can be lost.
[ "$(tr ' ' '\n' <<<"$codes" | grep . | sort -u | paste -sd,)" = "1,2,3,4,5,6" ] ||
  fail "the failure replays cover the outcomes$codes, not 1 to 6"

finish "replays: all ${#files[@]} passed"
