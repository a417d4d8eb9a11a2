#!/usr/bin/env python3
"""Keeps the helicopter of a running Kavrona window in the air, for measurements.

Follows the game's trace file (kavrona --trace FILE) and holds the climb key (Down) whenever
the helicopter sinks below a height, so that the play loop runs on for as long as asked. Keys go
through the X server's test extension (libXtst) from this process, so that measuring does not
start a program a key; without the library it falls back to xdotool. Run it beside the game
under the same X display.
"""

import argparse
import ctypes
import ctypes.util
import json
import subprocess
import sys
import time

XK_DOWN = 0xFF54


class Keyboard:
    def __init__(self):
        self.display = None
        try:
            self.x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
            self.xtst = ctypes.CDLL(ctypes.util.find_library("Xtst") or "libXtst.so.6")
            self.x11.XOpenDisplay.restype = ctypes.c_void_p
            self.x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
            self.x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
            self.x11.XFlush.argtypes = [ctypes.c_void_p]
            self.xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
            self.display = self.x11.XOpenDisplay(None)
        except OSError:
            self.display = None

    def set(self, down):
        if self.display:
            code = self.x11.XKeysymToKeycode(self.display, XK_DOWN)
            self.xtst.XTestFakeKeyEvent(self.display, code, 1 if down else 0, 0)
            self.x11.XFlush(self.display)
        else:
            subprocess.run(["xdotool", "keydown" if down else "keyup", "Down"], check=False)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("trace")
    parser.add_argument("--seconds", type=float, default=30.0)
    parser.add_argument("--height", type=float, default=200.0, help="the y to keep the helicopter at")
    args = parser.parse_args()

    keyboard = Keyboard()
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
                keyboard.set(want)
                climbing = want
    if climbing:
        keyboard.set(False)
    return 0


if __name__ == "__main__":
    sys.exit(main())
