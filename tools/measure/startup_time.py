#!/usr/bin/env python3
"""Start-up time of the game to its first shown window, measured from outside.

Starts the game N times on an X display (run it under xvfb-run, say) and times each start
from just before the process is made to the moment the X server maps its first top-level
window, then prints every time and the median. Each start uses a scratch copy of the program
directory, so no player's records are touched; the game is killed once its window shows.

  xvfb-run -a python3 tools/measure/startup_time.py build/release/bin [--runs 10]
"""
import argparse
import ctypes
import ctypes.util
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

SUBSTRUCTURE_NOTIFY_MASK = 1 << 19
MAP_NOTIFY = 19


class XMapEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("event", ctypes.c_ulong), ("window", ctypes.c_ulong),
                ("override_redirect", ctypes.c_int)]


class XEvent(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("xmap", XMapEvent), ("pad", ctypes.c_long * 24)]


def open_display():
    x = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
    x.XOpenDisplay.restype = ctypes.c_void_p
    x.XDefaultRootWindow.restype = ctypes.c_ulong
    x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
    x.XPending.argtypes = [ctypes.c_void_p]
    x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(XEvent)]
    x.XConnectionNumber.argtypes = [ctypes.c_void_p]
    display = x.XOpenDisplay(None)
    if not display:
        sys.exit("no X display: run this under xvfb-run or on a desktop")
    x.XSelectInput(display, x.XDefaultRootWindow(display), SUBSTRUCTURE_NOTIFY_MASK)
    return x, display


def drain(x, display):
    event = XEvent()
    while x.XPending(display):
        x.XNextEvent(display, ctypes.byref(event))


def wait_for_map(x, display, proc, timeout):
    import select
    event = XEvent()
    fd = x.XConnectionNumber(display)
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        while x.XPending(display):
            x.XNextEvent(display, ctypes.byref(event))
            if event.type == MAP_NOTIFY and not event.xmap.override_redirect:
                return time.monotonic()
        if proc.poll() is not None:
            return None
        select.select([fd], [], [], 0.005)
    return None


def main(argv):
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("program_dir")
    ap.add_argument("--runs", type=int, default=10)
    ap.add_argument("--timeout", type=float, default=10.0)
    args = ap.parse_args(argv)
    x, display = open_display()
    times = []
    for _ in range(args.runs):
        scratch = tempfile.mkdtemp(prefix="kavrona-start-")
        try:
            shutil.copytree(args.program_dir, scratch, dirs_exist_ok=True,
                            ignore=shutil.ignore_patterns("Kavrona.ini"))
            env = dict(os.environ, SDL_AUDIODRIVER=os.environ.get("SDL_AUDIODRIVER", "dummy"),
                       XDG_RUNTIME_DIR=scratch)
            drain(x, display)
            began = time.monotonic()
            proc = subprocess.Popen([os.path.join(scratch, "kavrona")], env=env, stdout=subprocess.DEVNULL,
                                    stderr=subprocess.DEVNULL)
            shown = wait_for_map(x, display, proc, args.timeout)
            proc.kill()
            proc.wait()
            if shown is None:
                sys.exit("the game showed no window within %.0f s" % args.timeout)
            times.append((shown - began) * 1000)
        finally:
            shutil.rmtree(scratch, ignore_errors=True)
    print("start-up to the first shown window, ms: " + " ".join("%.0f" % t for t in times))
    print("median %.0f ms over %d starts" % (statistics.median(times), len(times)))


if __name__ == "__main__":
    main(sys.argv[1:])
