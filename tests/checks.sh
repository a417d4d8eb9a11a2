# The test scripts' tally, sourced by each: fail notes a failed check and goes on; finish prints
# the line of a clean run and ends the script, with status 1 when any check failed.
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
finish() {
  [ "$failures" -eq 0 ] && echo "$1"
  exit $((failures > 0))
}
