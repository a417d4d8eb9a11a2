#!/usr/bin/env python3
"""A stand-in for kavrona-headless that speaks its protocol and misbehaves on demand.

It plays one endless stage: a frame every 16 ms of virtual time, the helicopter high above
everything. FAKE_FAULT picks what goes wrong once FAKE_AT frames have been played:

  none          nothing; Escape, close or quit end it with status 0
  limit         a `limit` event and status 4, as a run command that never ends
  exit1         status 1 in the middle of a run command
  signal        killed by SIGSEGV
  asan          a clean end, but an AddressSanitizer report on standard error
  ubsan         a clean end, but an UndefinedBehaviorSanitizer report
  hang          stops answering
  stall         the stage ends and nothing ever comes again, though commands get their `ready`
  mismatch      a `mismatch` event
  quits         the game ends by itself, status 0
  leak          keeps 4 kB more with every frame
  short-frames  `frames K` ends after fewer frames
"""

import json
import os
import signal
import sys
import time

FAULT = os.environ.get("FAKE_FAULT", "none")
AT = int(os.environ.get("FAKE_AT", "2000"))
t = 0
n = 0
playing = False
stalled = False
ending = False
hoard = []


def emit(ev, **fields):
    line = {"ev": ev, "t": t}
    line.update(fields)
    sys.stdout.write(json.dumps(line, separators=(",", ":")) + "\n")
    sys.stdout.flush()


def bye(status, err=""):
    if err:
        sys.stderr.write(err)
        sys.stderr.flush()
    sys.exit(status)


def fault_now():
    global stalled
    if n < AT or FAULT == "none":
        return
    if FAULT == "limit":
        emit("limit")
        bye(4, "kavrona-headless: line 9: the run command reached its limit of 600000 ms\n")
    if FAULT == "exit1":
        bye(1, "kavrona-headless: line 9: the game failed: out of luck\n")
    if FAULT == "signal":
        os.kill(os.getpid(), signal.SIGSEGV)
    if FAULT == "hang":
        time.sleep(3600)
    if FAULT == "stall" and not stalled:
        stalled = True
        emit("outcome", code=2)
    if FAULT == "mismatch":
        emit("mismatch", diffs=[{"name": "Heli.X", "want": 1, "got": 2}])
        bye(3)
    if FAULT == "quits":
        emit("exit", status=0)
        bye(0)


def frame():
    global n
    n += 1
    if FAULT == "leak" and n >= AT:
        hoard.append(bytes(4096 - n % 7) + str(n).encode())  # a new block each frame, not one shared constant
    emit("frame", n=n, stage=1, x=100, y=-150, vx=0.0, vy=0.0, controls=0, onpad=False, mag=15, loaded=False,
         fireready=True, outcome=0, time=t % 100000, total=0, missilex=720, shottravel=0)
    fault_now()


def run_for(ms, frames=None):
    """Runs virtual time on; returns after ms, or after that many frames."""
    global t, playing
    if not playing:
        playing = True
        emit("run")
        emit("stage", stage=1, restart=False)
        emit("clock", stage=1)
    done = 0
    while True:
        if ending:
            emit("exit", status=0)
            end_clean()
        if stalled:
            t += ms if frames is None else 600000
            if frames is not None:
                emit("limit")
                bye(4)
            return
        if frames is not None and done >= frames:
            return
        if frames is None and ms <= 0:
            return
        step = 16 - t % 16
        if frames is None and step > ms:
            t += ms
            return
        t += step
        if frames is None:
            ms -= step
        frame()
        done += 1
        if FAULT == "short-frames" and frames is not None and n >= AT and done >= 1:
            return


def end_clean():
    if FAULT == "asan":
        bye(0, "=================================================================\n"
               "==4242==ERROR: AddressSanitizer: heap-use-after-free on address 0x602000000010\n"
               "SUMMARY: AddressSanitizer: heap-use-after-free\n")
    if FAULT == "ubsan":
        bye(0, "src/stages/flight.cpp:170:9: runtime error: signed integer overflow\n")
    bye(0)


emit("start", version=1)
for raw in sys.stdin:
    words = raw.split()
    if not words or words[0].startswith("#") or words[0] == "kavrona-script":
        continue
    w = words[0]
    if w == "quit":
        end_clean()
    elif w == "key" and words[1] == "Escape" and words[2] == "down":
        ending = True
    elif w == "close" and len(words) == 1:
        ending = True
    elif w == "advance":
        run_for(int(words[1]))
        emit("ready")
    elif w == "tap":
        run_for(int(words[2]) if len(words) > 2 else 100)
        emit("ready")
    elif w == "frames":
        run_for(0, frames=int(words[1]))
        emit("ready")
    elif w == "until":
        run_for(16)
        emit("ready")
sys.stderr.write("kavrona-headless: the commands ran out while the game still runs\n")
sys.exit(5)
