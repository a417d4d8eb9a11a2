#!/usr/bin/env python3
"""Keeps the helicopter of a running Kavrona window in the air, for measurements.

Follows the game's trace file (kavrona --trace FILE) and holds the climb key (Down) through
xdotool whenever the helicopter sinks below a height, so that the play loop runs on for as long
as asked. Run it beside the game under the same X display.
"""

import argparse
import json
import subprocess
import sys
import time


def key(action, name):
    subprocess.run(["xdotool", action, name], check=False)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("trace")
    parser.add_argument("--seconds", type=float, default=30.0)
    parser.add_argument("--height", type=float, default=200.0, help="the y to keep the helicopter at")
    args = parser.parse_args()

    climbing = False
    deadline = None
    with open(args.trace, encoding="utf-8") as f:
        while deadline is None or time.monotonic() < deadline:
            line = f.readline()
            if not line:
                time.sleep(0.002)
                continue
            try:
                event = json.loads(line)
            except json.JSONDecodeError:
                continue
            if event.get("ev") != "frame":
                continue
            if deadline is None:
                deadline = time.monotonic() + args.seconds
            # Aim a little ahead: the helicopter keeps its speed.
            want = event["y"] + 12 * event["vy"] > args.height
            if want != climbing:
                key("keydown" if want else "keyup", "Down")
                climbing = want
    if climbing:
        key("keyup", "Down")
    return 0


if __name__ == "__main__":
    sys.exit(main())
