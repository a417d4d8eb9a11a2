#!/usr/bin/env python3
"""Plays one session of a running Kavrona window by keys, as a person would, for recordings.

Follows the game's trace file (kavrona --record R --trace FILE) and presses keys through
xdotool (keydown, a pause, keyup for a tap): types the entry name, closes the first-run
notice, starts the stage-1 briefing, flies stage 1 to its landing zone and lands (a clear),
goes on through the clear screen into stage 2, lets the helicopter fall there (a failure),
and answers no to the retry question, so the game ends through its own shutdown.
With --shots DIR it saves the window (ImageMagick's import) at each of those screens; with
--watch it presses nothing and only takes the same screenshots of a playback (kavrona --play R
--trace FILE). Run it beside the game under the same X display.
"""

import argparse
import json
import math
import os
import subprocess
import sys
import time

W, H = 48, 23
CTL_CLIMB, CTL_DIVE, CTL_LEFT, CTL_RIGHT = 2, 4, 8, 16
KEY_OF_BIT = [(CTL_CLIMB, "Down"), (CTL_DIVE, "Up"), (CTL_LEFT, "Left"), (CTL_RIGHT, "Right")]
STAGE1_PAD_X, STAGE1_PAD_TOP = 310, 274


class Trace:
    def __init__(self, path):
        while not os.path.exists(path):
            time.sleep(0.01)
        self.f = open(path, encoding="utf-8")
        self.events = []

    def next(self, timeout=120):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            line = self.f.readline()
            if not line:
                time.sleep(0.002)
                continue
            try:
                e = json.loads(line)
            except json.JSONDecodeError:
                continue
            self.events.append(e)
            return e
        raise SystemExit("live_session: the game wrote nothing for %d s" % timeout)

    def until(self, *kinds):
        while True:
            e = self.next()
            if e["ev"] in kinds:
                return e


WATCHING = False


def xdotool(*args):
    if not WATCHING:
        subprocess.run(["xdotool", *args], check=False)


def tap(key, seconds=0.1):
    xdotool("keydown", key)
    time.sleep(seconds)
    xdotool("keyup", key)


def shot(args, name):
    if not args.shots:
        return
    time.sleep(0.5)  # the screen of a wait is still; let the last frame reach the window
    ids = subprocess.run(["xdotool", "search", "--name", "Kavrona"], capture_output=True, text=True).stdout.split()
    target = ids[-1] if ids else "root"
    subprocess.run(["import", "-window", target, os.path.join(args.shots, name + ".png")], check=False)


def vdes(err, accel, vmax, vmin=0.0, dead=0.5):
    if abs(err) < dead:
        return 0.0
    v = min(vmax, math.sqrt(2 * accel * abs(err)))
    return math.copysign(max(v, vmin), err)


class Hands:
    """Holds the flight keys as one control byte, changing them only through xdotool."""

    def __init__(self):
        self.byte = 0

    def set(self, byte):
        for bit, key in KEY_OF_BIT:
            if (byte & bit) != (self.byte & bit):
                xdotool("keydown" if byte & bit else "keyup", key)
        self.byte = byte

    def steer(self, fr, tx, ty, vdown=3.0, vup=3.0, vxmax=2.5):
        byte = 0
        want = vdes(tx - fr["x"], 0.05, vxmax, vmin=0.55, dead=2)
        if fr["vx"] < want - 0.035:
            byte |= CTL_RIGHT
        elif fr["vx"] > want + 0.035:
            byte |= CTL_LEFT
        err = ty - fr["y"]
        want = vdes(err, 0.08, vdown if err > 0 else vup, dead=0.5)
        if fr["vy"] < want - 0.35:
            byte |= CTL_DIVE
        elif fr["vy"] > want - 0.05:
            byte |= CTL_CLIMB
        self.set(byte)


def fly_stage1(trace):
    """To the pad's column at a safe height, then down onto it slowly; ends at the clear."""
    hands = Hands()
    land_y = STAGE1_PAD_TOP - H
    approaching = True
    while True:
        e = trace.next()
        if e["ev"] in ("clear", "outcome"):
            hands.set(0)
            return e
        if e["ev"] != "frame":
            continue
        if approaching:
            if abs(e["x"] - STAGE1_PAD_X) <= 8 and abs(e["y"] - 200) <= 10 and abs(e["vx"]) <= 0.8:
                approaching = False
            hands.steer(e, STAGE1_PAD_X, 200)
        elif e["y"] > land_y + 2:
            approaching = True
            hands.steer(e, STAGE1_PAD_X, land_y - 25)
        else:
            hands.steer(e, STAGE1_PAD_X, land_y + 4, vdown=1.0, vxmax=1.0)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("trace")
    parser.add_argument("--name", default="ACE")
    parser.add_argument("--shots", help="directory for screenshots of the screens played")
    parser.add_argument("--watch", action="store_true", help="press nothing: a playback plays itself")
    args = parser.parse_args()
    global WATCHING
    WATCHING = args.watch
    trace = Trace(args.trace)

    trace.until("dialog")
    shot(args, "1-name")
    for ch in args.name:
        tap(ch.lower() if not ch.isupper() else "shift+" + ch.lower(), 0.05)
    tap("Return")
    trace.until("dialog")
    shot(args, "2-notice")
    tap("Return")
    trace.until("wait")
    shot(args, "3-briefing")
    tap("space")
    ended = fly_stage1(trace)
    if ended["ev"] != "clear":
        print("live_session: stage 1 ended with outcome %s, not a clear" % ended.get("code"), file=sys.stderr)
    trace.until("wait")
    shot(args, "4-stage1-end")
    tap("space")
    if ended["ev"] == "clear":
        trace.until("wait")
        shot(args, "5-briefing2")
        tap("space")
        ended = trace.until("outcome")
        trace.until("wait")
        shot(args, "6-failure")
        tap("space")
    trace.until("dialog")
    shot(args, "7-retry")
    tap("n")
    trace.until("exit")
    return 0


if __name__ == "__main__":
    sys.exit(main())
