#!/usr/bin/env bash
# Tries the package as a new player would: installs it with apt, which brings its
# dependencies; starts the program the desktop entry names, under Xvfb and with a home of its
# own; checks that the window shows and that a first F4 writes the record file under
# $XDG_DATA_HOME/kavrona/; then removes the package and checks that none of its files is left
# while the player's records stay. It changes the machine's installed packages while it runs,
# so it needs root (or sudo) and refuses where kavrona is installed already (outside CI).
# Usage: try_package.sh kavrona_VERSION_ARCH.deb
set -u
cd "$(dirname "$0")/../.."
if [ $# -ne 1 ] || [ ! -f "$1" ]; then
  echo "usage: $0 PACKAGE.deb (exactly one)" >&2
  exit 2
fi
deb=$(realpath "$1")
source scripts/deps.sh
set +e
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
apt_get() { "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -y -q "$@"; }
installed() { dpkg-query -W -f='${Status}' kavrona 2>/dev/null | grep -q 'install ok installed'; }
if installed; then
  # CI's machine is its own; a trial cut short there may have left the package behind.
  if [ "${CI:-}" = true ]; then
    echo "removing the kavrona left installed on this CI machine"
    apt_get remove kavrona >/dev/null || exit 2
  else
    echo "kavrona is installed on this machine already; remove it first (apt-get remove kavrona)" >&2
    exit 2
  fi
fi
kavrona_install_missing "${KAVRONA_TRIAL_PACKAGES[@]}" || exit 2

home=$(mktemp -d)
ours=0
cleanup() {
  [ "$ours" -eq 1 ] && installed && apt_get remove kavrona >/dev/null 2>&1
  rm -rf "$home"
}
trap cleanup EXIT
source "$(dirname "$0")/../checks.sh"

apt_get install --no-install-recommends "$deb" >"$home/apt-install.log" 2>&1 || {
  cat "$home/apt-install.log" >&2
  fail "apt-get install $deb failed"
  exit 1
}
ours=1
dpkg-query -L kavrona >"$home/files" || fail "dpkg knows no files of kavrona"

# The entry's own command, not its actions' (Play in English).
exec_line=$(awk '/^\[/ { group = $0 } group == "[Desktop Entry]" && sub(/^Exec=/, "")' /usr/share/applications/kavrona.desktop)
[ "$exec_line" = /usr/games/kavrona ] || fail "the desktop entry starts '$exec_line'"

# A new player: an empty home, no data directory yet, a runtime directory for the lock.
mkdir -m 700 "$home/player" "$home/run"
data="$home/data"
records="$data/kavrona/Kavrona.ini"
cat >"$home/play.sh" <<'EOF'
# Runs inside xvfb-run: start the game and wait for its window. F4 counts only once the first
# briefing waits: the entry name and the first-run notice come first, dialogs take no F4, and
# the title passes by itself. So press F4 and look for the record file; while none came,
# answer the two dialogs with Return, once each (more would start the stage). Then quit with
# Escape. Waits poll with a deadline instead of sleeping a fixed time.
wait_for() {  # seconds, command...
  local until=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -lt "$until" ] || return 1
    sleep 0.2
  done
}
window() { xdotool search --onlyvisible --name '^Kavrona$' >/dev/null 2>&1; }
gone() { ! kill -0 "$pid" 2>/dev/null; }
$EXEC_LINE >"$HOME/../game.log" 2>&1 &
pid=$!
wait_for 30 window || { echo "no window showed"; kill "$pid"; exit 1; }
echo "window: shown"
answered=0
for try in $(seq 30); do
  [ ! -e "$RECORDS" ] || { echo "the record file came before an F4"; kill "$pid"; exit 1; }
  xdotool key F4
  wait_for 2 test -s "$RECORDS" && break
  if [ "$answered" -lt 2 ]; then
    xdotool key Return
    answered=$((answered + 1))
  fi
done
[ -s "$RECORDS" ] || { echo "F4 wrote no record file"; kill "$pid"; exit 1; }
echo "records: $RECORDS after F4 number $try"
# The file's last line is the full-screen switch: on after one switch.
echo "full screen: $(tail -n 1 "$RECORDS" | tr -d ' \r')"
xdotool key Escape
wait_for 10 gone || { echo "Escape did not end the game"; kill "$pid"; exit 1; }
wait "$pid"
echo "exit status: $?"
EOF
# The player's environment, not this script's: only the display comes from xvfb-run.
env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin:/usr/games \
  HOME="$home/player" XDG_DATA_HOME="$data" XDG_RUNTIME_DIR="$home/run" LANG=C.UTF-8 \
  EXEC_LINE="$exec_line" RECORDS="$records" \
  xvfb-run -a -s "-screen 0 1024x768x24" bash "$home/play.sh" >"$home/play.log" 2>&1
cat "$home/play.log"
grep -qx "window: shown" "$home/play.log" || fail "the game's window did not show"
grep -q "^records: " "$home/play.log" || fail "a first F4 wrote no $records"
grep -qx "full screen: 1" "$home/play.log" || fail "the record file was not written by the first F4 the game took"
grep -qx "exit status: 0" "$home/play.log" || fail "the game did not end with status 0: $(cat "$home/game.log")"

apt_get remove kavrona >"$home/apt-remove.log" 2>&1 || fail "apt-get remove kavrona failed: $(cat "$home/apt-remove.log")"
installed && fail "kavrona is still installed"
# Whatever the package brought and no other package owns must be gone; directories such as
# /usr/games belong to the system as well.
left=()
while IFS= read -r path; do
  [ -e "$path" ] || continue
  dpkg-query -S "$path" >/dev/null 2>&1 || left+=("$path")
done <"$home/files"
[ ${#left[@]} -eq 0 ] || fail "left behind by apt-get remove: ${left[*]}"
stray=$(find /var/lib/dpkg/info -name 'kavrona.*' 2>/dev/null)
[ -z "$stray" ] || fail "dpkg keeps files of kavrona: $stray"
[ -s "$records" ] || fail "the player's records went with the package"

finish "trial: installed with apt, played, kept records in \$XDG_DATA_HOME/kavrona/, removed without a trace"
