#!/usr/bin/env bash
# The runner as a program: its command line, its exit statuses and its output streams, and that
# the real game carries no trace writer. Usage: runner_cli_test.sh PROGRAM_DIR
set -u
bin="$1"
runner="$bin/kavrona-headless"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/../checks.sh"
fresh() {
  rm -rf "$work/copy"
  mkdir -p "$work/copy"
  cp -r "$bin/data" "$work/copy/"
}
# run STDIN ARGS...: sets status, out, err
run() {
  local input="$1"
  shift
  printf '%s' "$input" | "$runner" "$@" >"$work/out" 2>"$work/err"
  status=$?
  out=$(cat "$work/out")
  err=$(cat "$work/err")
}

# Start-up asks for the entry name, and on a first run explains the controls.
entry=$'until dialog\nclose dialog\n'
first_run="$entry$entry"

fresh
run "$first_run"$'until wait\ntap F4\nadvance 200\nstate\ntap Escape\n' --dir "$work/copy" --date 04/22
[ "$status" -eq 0 ] || fail "the F4 session ended with $status: $err"
grep -qv '^{"ev":"' "$work/out" && fail "standard output holds something besides trace lines"
head -n1 "$work/out" | grep -q '^{"ev":"start","t":0,"version":1}$' || fail "no start event first"
grep -q '^{"ev":"fullscreen","t":[0-9]*,"on":true}$' "$work/out" || fail "no fullscreen event"
grep -q '^{"ev":"records","t":[0-9]*,"ok":true}$' "$work/out" || fail "no records event"
state=$(grep '"ev":"state"' "$work/out")
for want in '"FullScreenOn":1' '"PlayerName":"ORVEL"' '"RecordTimes":\[60000,70000,80000,' '"RecordDates":\["04/22"' \
  '{"name":"picP","left":0,"top":0,"width":800,"height":600,"visible":true}'; do
  grep -q "$want" <<<"$state" || fail "the state event lacks $want"
done
tail -n1 "$work/out" | grep -q '^{"ev":"exit","t":[0-9]*,"status":0}$' || fail "no exit event last"
[ "$(wc -l <"$work/copy/Kavrona.ini")" -eq 30 ] || fail "the record file is not 30 lines"
[ "$(grep -c $'^04/22@[0-9]*\\\\ORVEL\r$' "$work/copy/Kavrona.ini")" -eq 27 ] || fail "the record lines lack 04/22"

fresh
run "$first_run"$'until wait\ntap F4\nexpect FullScreenOn=0\n' --dir "$work/copy"
[ "$status" -eq 3 ] || fail "a failed expect ended with $status"
grep -q '"ev":"mismatch".*"diffs":\[{"name":"FullScreenOn","want":0,"got":1}\]' "$work/out" || fail "no mismatch event"

run $'advance 100\n' --dir "$work/copy"
[ "$status" -eq 5 ] || fail "commands running out ended with $status"
run $'frobnicate\n' --dir "$work/copy"
[ "$status" -eq 2 ] || fail "an unknown command ended with $status"
grep -q 'line 1' <<<"$err" || fail "the unknown command's message does not name line 1: $err"
run $'kavrona-script 2\n' --dir "$work/copy"
[ "$status" -eq 2 ] || fail "a newer script format ended with $status"
run $'kavrona-script 1\nquit\n' --dir "$work/copy"
[ "$status" -eq 0 ] || fail "the version line ended with $status: $err"
run $'frames 1\n' --dir "$work/copy"
[ "$status" -eq 4 ] || fail "a run command at its limit ended with $status"
tail -n1 "$work/out" | grep -q '^{"ev":"limit","t":600000}$' || fail "no limit event at 600000"
run $'advance 100\n' --dir "$work/copy" --ticks 2147483600
grep -q '^{"ev":"ready","t":-2147483596}$' "$work/out" || fail "the ticks do not wrap: $out"

run '' --dir "$work/copy" --script "$work/missing.txt"
[ "$status" -eq 2 ] || fail "a missing script ended with $status"
mkdir -p "$work/empty"
run '' --dir "$work/empty"
[ "$status" -eq 2 ] || fail "--dir without pictures ended with $status"
grep -q 'backdrop.png' <<<"$err" || fail "the message does not name the missing picture: $err"
[ "$(wc -l <<<"$err")" -le 2 ] || fail "the message is longer than a line and the usage"
for bad in "--bogus 1" "--date 13/01" "--date 4/22" "--clock x" "--ticks 99999999999" "--dir" "--lang fr" "--lang"; do
  # shellcheck disable=SC2086
  run '' $bad
  [ "$status" -eq 2 ] || fail "the command line '$bad' ended with $status"
done

printf 'advance 20\nquit\n' >"$work/script.txt"
run '' --dir "$work/copy" --script "$work/script.txt" --trace "$work/trace.jsonl"
[ "$status" -eq 0 ] || fail "--script/--trace ended with $status: $err"
[ -z "$out" ] || fail "with --trace, standard output is not empty"
grep -q '^{"ev":"ready","t":20}$' "$work/trace.jsonl" || fail "the trace file lacks the ready event"

# The real game links nothing of the runner's; its --trace writes through the same lines.
if nm -C "$bin/kavrona" | grep -q 'kav::runner::'; then fail "kavrona links runner code"; fi
nm -C "$runner" | grep -q 'kav::runner::Driver' || fail "the check would not see the runner's code"
"$bin/kavrona" --no-such-option 2>/dev/null && fail "kavrona took an unknown option"
[ $? -eq 2 ] || fail "kavrona's unknown option did not end with status 2"
"$bin/kavrona" --lang fr 2>/dev/null
[ $? -eq 2 ] || fail "kavrona took a language it does not have"

finish "runner command line: all checks passed"
