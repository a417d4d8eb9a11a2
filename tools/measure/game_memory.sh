#!/usr/bin/env bash
# The SDL game's memory while it flies: resident, proportional and private, from
# /proc/PID/smaps_rollup. Needs an X display and xdotool; run it under xvfb-run:
#   xvfb-run -a tools/measure/game_memory.sh build/release/bin
set -euo pipefail
bin="$1"
scratch=$(mktemp -d)
trap 'kill "$pid" 2>/dev/null; rm -rf "$scratch"' EXIT
cp -r "$bin"/. "$scratch"/
rm -f "$scratch/Kavrona.ini"
SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}" XDG_RUNTIME_DIR="$scratch" "$scratch/kavrona" >/dev/null 2>&1 &
pid=$!
press() { xdotool keydown "$1"; sleep 0.15; xdotool keyup "$1"; sleep "$2"; }
sleep 2
press Return 1   # the entry name
press Return 6   # the first-run notice; the title comes and goes
press space 2    # the first briefing; the helicopter flies (and falls)
awk '/^(Rss|Pss|Private_Clean|Private_Dirty):/ {v[$1]=$2}
     END {printf "resident %.1f MB, proportional %.1f MB, private %.1f MB\n",
          v["Rss:"]/1024, v["Pss:"]/1024, (v["Private_Clean:"]+v["Private_Dirty:"])/1024}' "/proc/$pid/smaps_rollup"
