#!/usr/bin/env bash
# The pilot flies the short failure scenarios again and must write exactly the committed
# replays: the game and the pilot are both deterministic, so any difference means the pilot
# no longer flies as it did, or the committed replays are stale.
# Usage: pilot_test.sh PROGRAM_DIR SOURCE_DIR
set -u
bin="$1"
src="$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
scenarios=(fail_crash fail_hard_landing fail_hostage select_stage5)
args=()
for name in "${scenarios[@]}"; do args+=(--scenario "$name"); done
if ! python3 "$src/tools/pilot/pilot.py" --runner "$bin/kavrona-headless" --out "$work" --no-verify "${args[@]}"; then
  echo "FAIL: the pilot could not fly ${scenarios[*]}" >&2
  exit 1
fi
for name in "${scenarios[@]}"; do
  if ! diff -u "$src/tests/fixtures/replays/$name.txt" "$work/$name.txt" >"$work/$name.diff"; then
    echo "FAIL: the pilot's $name differs from the committed replay:" >&2
    head -n 40 "$work/$name.diff" >&2
    failures=$((failures + 1))
  fi
done
[ "$failures" -eq 0 ] && echo "pilot: ${scenarios[*]} made again as committed"
exit $((failures > 0))
