#!/usr/bin/env python3
"""Soak driver for kavrona-headless: a long run of random but valid input.

The soak starts the headless runner as a child process in a scratch program directory
(a copy of the pictures), drives it with random key presses, gamepad moves, dialog
answers and run steps drawn from a seeded generator, and watches for trouble:

  HANG         a run command reached the runner's 600000 ms limit (`limit` event), or
               the game made no progress for 600 s of game time between our commands,
               or a key wait or dialog would not take any answer
  EXIT_n       the runner ended with status n, or with a signal (EXIT_SIGn)
  SANITIZER    AddressSanitizer, LeakSanitizer or UndefinedBehaviorSanitizer wrote a report
  MISMATCH     the runner reported a `mismatch` (the soak never sends `expect`)
  UNRESPONSIVE the runner wrote nothing for --timeout seconds of wall time
  UNEXPECTED_EXIT the game ended although the soak never asked it to
  NO_EXIT      the game did not end when the soak asked it to (Escape, close, no)
  MEMORY       the resident memory of the longest-lived runner grew by more than
               --flat-kb between the first and the last tenth of its samples

When the game ends (the soak quits it now and then, on purpose), a new runner starts and
the frame count carries on. Every command sent to a runner is written as a replayable
script (--script-out, else the scratch directory, which is kept when anything failed):

  kavrona-headless --dir COPY --date 04/22 --script SCRIPT

plays the same game again, COPY being a fresh directory holding a copy of bin/data and of
the wave files beside the runner (the soak copies both into each program directory).

  python3 tools/soak/soak.py --runner build/sanitize/bin/kavrona-headless --frames 1000000

Needs only Python 3's standard library.
"""

import argparse
import glob
import json
import math
import mmap
import os
import random
import select
import shutil
import subprocess
import sys
import tempfile
import time

FRAME_MS = 16
RUN_LIMIT_MS = 600000
HELI_HEIGHT = 23
# Rows above this are clear of every roof, figure and goal in every stage but 7, where
# the gunner's missile flies: a `frames` step from up there cannot end in a wait.
CLEAR_ROW = 60
MAX_VY, DIVE_ACCEL = 5.0, 0.5
TIME_LIMIT_MS = 150000

# Goals flown now and then, so that stages are cleared too: waypoints ("to" x, y; None keeps
# x), then a landing ("land" x, the goal's top row, the speed to come down at) or a shot
# ("shoot" x, y, from a hover).
LANDINGS = {
    1: [[("to", 310, 200), ("land", 310, 274, 1.0)]],
    3: [[("to", None, 230), ("to", 115, 230), ("land", 115, 351, 1.0)]],
    4: [[("to", None, 40), ("to", 581, 40), ("land", 581, 85, 0.7)]],
    5: [[("to", None, 40), ("to", 228, 40), ("land", 228, 525, 1.5)]],
    8: [[("to", None, 230), ("to", 228, 230), ("land", 228, 525, 1.5)]],
}
SNIPES = {
    2: [[("to", None, 230), ("to", 470, 230), ("shoot", 470, 321)]],
    6: [[("to", None, 230), ("to", 470, 230), ("shoot", 470, 282)],
        [("to", None, 230), ("to", 470, 230), ("shoot", 470, 354)]],
}

FLIGHT_KEYS = ["Left", "Right", "Up", "Down", "Space"]
PULSE_KEYS = ["F4", "M", "Return", "Space", "Left", "Right", "Up", "Down"]
RUN_WORDS = ("advance", "frames", "until", "tap")
SANITIZER_MARKS = ("ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:",
                   "SUMMARY: UndefinedBehaviorSanitizer", "SUMMARY: AddressSanitizer")
PROGRESS_EVENTS = {"frame", "wait", "waited", "dialog", "answer", "stage", "clock", "clear", "outcome",
                   "run", "message", "typed", "sequence", "fade", "exit"}

RETRY_TEXT = "　もう一度　？"
STAGE_CHOICE_PREFIX = "Ｋａｖｒｏｎａナンバー"
LETTERS = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
ODD_TEXT = ["ＡＢＣ", "ｱｲｳ", "ä", "漢字", "~", "  ", "12", "@", "ｶﾌﾞﾛﾅ", "\u00a0", "😀"]


class Failure(Exception):
    def __init__(self, code, detail):
        super().__init__("%s: %s" % (code, detail))
        self.code = code
        self.detail = detail


def dialog_kind(d):
    caption, text, buttons = d.get("caption", ""), d.get("text", ""), d.get("buttons", "")
    if text == RETRY_TEXT:
        return "retry"
    if caption == "エントリー":
        return "entry"
    if caption == "メニュー":
        return "menu"
    if caption.startswith(STAGE_CHOICE_PREFIX):
        return "stage-choice"
    if caption == "注意":
        return "name-too-long"
    if caption == "説明":
        return "controls-notice"
    if buttons == "Y":
        return "notice:" + caption
    return "other:" + caption


def read_rss_kb(pid):
    try:
        with open("/proc/%d/status" % pid, encoding="ascii", errors="replace") as f:
            for line in f:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1])
    except (OSError, ValueError, IndexError):
        pass
    return None


def built_with_asan(program):
    try:
        with open(program, "rb") as f, mmap.mmap(f.fileno(), 0, access=mmap.ACCESS_READ) as m:
            return m.find(b"__asan_init") >= 0
    except (OSError, ValueError):
        return False


def script_path_for(base, index):
    if index == 1:
        return base
    root, ext = os.path.splitext(base)
    return "%s-%d%s" % (root, index, ext)


class Runner:
    """One runner process: writes commands, reads the trace, tracks what the game shows."""

    def __init__(self, args, index, work_root, script_path):
        self.index = index
        self.timeout = args.timeout
        self.dir = os.path.join(work_root, "run-%d" % index)
        shutil.copytree(args.data, os.path.join(self.dir, "data"))
        for wave in args.waves:
            shutil.copy(wave, self.dir)
        self.script_path = script_path
        self.script = open(script_path, "w", encoding="utf-8", newline="\n")
        self.script.write("kavrona-script 1\n")
        self.stderr_path = os.path.join(self.dir, "stderr.txt")
        self.stderr = open(self.stderr_path, "wb")
        self.proc = subprocess.Popen([args.runner, "--dir", self.dir, "--date", args.date], stdin=subprocess.PIPE,
                                     stdout=subprocess.PIPE, stderr=self.stderr)
        self.fd = self.proc.stdout.fileno()
        self.buf = b""
        self.eof = False
        self.tail = []  # the last trace lines, for a failure report
        self.began = time.monotonic()
        # What the game shows, from the trace.
        self.dialog = None
        self.waits = []  # kinds of the key waits the game is in, innermost last
        # The innermost wait is polling the keys: not inside a menu's stage set-up, say.
        self.wait_active = False
        self.wait_guessed = False  # taken for active after a long quiet, not from a `wait` event
        self.live = False  # a stage clock runs: frames are being played
        self.stage = 0
        self.frame_raw = None
        self.t = 0
        self.last_progress_t = 0
        self.exit_status = None
        self.limit = False
        self.mismatch = None
        # What the soak holds.
        self.keys = set()
        self.flight = {"left": 0}
        self.pulsed = set()
        self.pad = None  # kind, when attached
        self.pad_found = False  # attached before the game opened its devices
        self.axes = {"x": 0, "y": 0}
        self.buttons = {1: False, 2: False}
        self.quit_sent = False
        # Counts.
        self.frames = 0
        self.rss = []
        self.commands = 0

    # --- the pipe ----------------------------------------------------------------------

    def _lines(self, deadline):
        while True:
            nl = self.buf.find(b"\n")
            if nl >= 0:
                line, self.buf = self.buf[:nl], self.buf[nl + 1:]
                return line
            if self.eof:
                return None
            left = deadline - time.monotonic()
            if left <= 0:
                raise Failure("UNRESPONSIVE", "no answer from the runner for %.0f s" % self.timeout)
            ready, _, _ = select.select([self.fd], [], [], left)
            if ready:
                chunk = os.read(self.fd, 1 << 16)
                if chunk:
                    self.buf += chunk
                else:
                    self.eof = True

    def _note(self, line, soak):
        if len(self.tail) >= 60:
            del self.tail[:20]
        self.tail.append(line)
        kind = line[7:line.find(b'"', 7)] if line.startswith(b'{"ev":"') else b""
        if kind == b"frame":
            self.frames += 1
            soak.frames += 1
            self.frame_raw = line
            self.live = True
            return "frame"
        if kind in (b"sound", b"digits", b"force", b"typed", b"message", b"fade"):
            return kind.decode()
        e = json.loads(line)
        ev = e["ev"]
        self.t = e.get("t", self.t)
        if ev == "dialog":
            self.dialog = e
            self.dialog_tries = 0
        elif ev == "answer":
            kind = dialog_kind(self.dialog) if self.dialog is not None else None
            if kind:
                soak.count(soak.answered, kind)
            self.dialog = None
            # Only an answer that closes the menu goes back to the wait it was opened in:
            # every other one shows a page, a choice or the menu again, or sets up a stage.
            self.wait_active = bool(self.waits) and kind == "menu" and e["value"] in ("", "0", "?")
        elif ev == "wait":
            self.waits.append(e["kind"])
            self.wait_active = True
            self.wait_guessed = False
        elif ev == "waited":
            if self.waits:
                self.waits.pop()
            # An outer wait that a stage choice has ended returns by itself.
            self.wait_active = False
        elif ev == "clock":
            self.live = True
            self.wait_active = False
            self.flight["left"] = 0  # a new stage: a new way to fly it
        elif ev == "stage":
            self.stage = e["stage"]
            self.live = False
            self.wait_active = False
            soak.count(soak.stages, e["stage"])
        elif ev in ("clear", "outcome", "run"):
            self.live = False
            if ev == "clear":
                soak.count(soak.clears, "select" if e.get("select") else "run")
                soak.count(soak.cleared_stages, e["stage"])
            elif ev == "outcome":
                soak.count(soak.outcomes, e["code"])
        elif ev == "exit":
            self.exit_status = e["status"]
        elif ev == "limit":
            self.limit = True
        elif ev == "mismatch":
            self.mismatch = e
        return ev

    def send(self, soak, lines):
        """Writes the commands; reads the trace until the run command's `ready` or the end."""
        if not lines:
            return
        data = "".join(c + "\n" for c in lines)
        self.script.write(data)
        self.commands += len(lines)
        words = [c.split()[0] for c in lines]
        runs = sum(1 for w in words if w in RUN_WORDS)
        try:
            self.proc.stdin.write(data.encode("utf-8"))
            self.proc.stdin.flush()
        except (BrokenPipeError, OSError):
            self.eof_now(soak)
            return
        if "quit" in words:
            self.eof_now(soak)
            return
        # One `ready` for each run command.
        deadline = time.monotonic() + self.timeout
        progressed = False
        while runs:
            line = self._lines(deadline)
            if line is None:
                return
            ev = self._note(line, soak)
            if ev in PROGRESS_EVENTS:
                progressed = True
            if ev == "ready":
                runs -= 1
                if progressed:
                    self.last_progress_t = self.t
                deadline = time.monotonic() + self.timeout

    def eof_now(self, soak):
        # The runner is going or gone: take in what it wrote before it went.
        deadline = time.monotonic() + self.timeout
        while True:
            try:
                line = self._lines(deadline)
            except Failure:
                break
            if line is None:
                break
            self._note(line, soak)

    def alive(self):
        return not self.eof

    def in_wait(self):
        return bool(self.waits) and self.wait_active

    def frame(self):
        return json.loads(self.frame_raw) if self.frame_raw else None

    def finish(self):
        """Waits for the process; returns its status and its standard error."""
        try:
            self.proc.stdin.close()
        except OSError:
            pass
        try:
            status = self.proc.wait(timeout=self.timeout)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            status = self.proc.wait()
        self.stderr.close()
        self.script.close()
        with open(self.stderr_path, "rb") as f:
            err = f.read().decode("utf-8", "replace")
        return status, err

    def kill(self):
        if self.proc.poll() is None:
            self.proc.kill()
        self.proc.wait()
        self.stderr.close()
        self.script.close()

    def sample_rss(self):
        kb = read_rss_kb(self.proc.pid)
        if kb is not None:
            self.rss.append((self.frames, kb))


class Soak:
    def __init__(self, args):
        self.args = args
        self.rng = random.Random(args.seed)
        self.frames = 0
        self.processes = []  # one record per runner
        self.failures = []
        self.answered = {}
        self.stages = {}
        self.clears = {}
        self.cleared_stages = {}
        self.outcomes = {}
        self.quits = {}
        self.began = time.monotonic()
        self.last_report = self.began

    @staticmethod
    def count(table, key):
        table[key] = table.get(key, 0) + 1

    # --- random input ------------------------------------------------------------------

    def chance(self, p):
        return self.rng.random() < p

    def name_text(self):
        r = self.rng.random()
        if r < 0.05:
            return "".join(self.rng.choice(ODD_TEXT) for _ in range(self.rng.randint(1, 4)))
        n = self.rng.randint(9, 14) if r < 0.2 else self.rng.randint(1, 8)
        return "".join(self.rng.choice(LETTERS) for _ in range(n))

    def release_all(self, p, out):
        for k in sorted(p.keys | p.pulsed):
            out.append("key %s up" % k)
        p.keys.clear()
        p.pulsed.clear()
        if p.pad:
            for n in (1, 2):
                if p.buttons[n]:
                    out.append("pad button %d up" % n)
                    p.buttons[n] = False
            for a in ("x", "y"):
                if p.axes[a] != 0:
                    out.append("pad axis %s 0" % a)
                    p.axes[a] = 0

    def release_pulses(self, p, out):
        for k in sorted(p.pulsed):
            if k not in p.keys:
                out.append("key %s up" % k)
        p.pulsed.clear()

    def toggle_key(self, p, out, k):
        if k in p.keys:
            p.keys.discard(k)
            out.append("key %s up" % k)
        else:
            p.keys.add(k)
            out.append("key %s down" % k)

    def pulse(self, p, out, k):
        # Down for this step only: the next step lets it go.
        if k not in p.keys and k not in p.pulsed:
            p.pulsed.add(k)
            out.append("key %s down" % k)

    def pad_noise(self, p, out, menu_ok):
        if not p.pad:
            return
        if self.chance(0.04):
            a = self.rng.choice("xy")
            v = self.rng.choice([0, 0, -32768, 32767, self.rng.randint(-32768, 32767), self.rng.randint(-9000, 9000)])
            p.axes[a] = v
            out.append("pad axis %s %d" % (a, v))
        if self.chance(0.02):
            p.buttons[1] = not p.buttons[1]
            out.append("pad button 1 %s" % ("down" if p.buttons[1] else "up"))
        if menu_ok and self.chance(0.003):
            p.buttons[2] = not p.buttons[2]
            out.append("pad button 2 %s" % ("down" if p.buttons[2] else "up"))
        elif p.buttons[2] and self.chance(0.3):
            p.buttons[2] = False
            out.append("pad button 2 up")

    def rare_noise(self, p, out):
        if self.chance(0.0005):
            out.append(self.rng.choice(["focus lost", "focus gained"]))
        if p.pad and self.chance(0.00002):
            out.append("pad detach")
            p.pad = None
            p.axes = {"x": 0, "y": 0}
            p.buttons = {1: False, 2: False}

    def advance_ms(self):
        r = self.rng.random()
        if r < 0.3:
            return FRAME_MS
        if r < 0.4:
            return self.rng.randint(1, 15)
        if r < 0.9:
            return self.rng.randint(17, 200)
        return self.rng.randint(200, 1500)

    # --- one step in each situation ----------------------------------------------------

    def safe_frames(self, p, f):
        """How many frames may run with `frames K` and surely come: none when a stage end is possible."""
        if f is None or f["stage"] == 7 or f["shottravel"] or "Space" in p.keys or p.buttons[1]:
            return 0
        if f["time"] > TIME_LIMIT_MS - 5000 or f["outcome"]:
            return 0
        bottom, vy = f["y"] + HELI_HEIGHT, max(f["vy"], 0.0)
        k = 0
        while k < 60:
            vy = min(MAX_VY, vy + DIVE_ACCEL)
            bottom += vy + 1
            if bottom >= CLEAR_ROW:
                break
            k += 1
        return k

    def steer(self, p, f, out):
        fl = p.flight
        if fl["left"] <= 0 or f is None:
            modes = ["random", "seek", "seek", "high"]
            stage = f["stage"] if f else 0
            if stage in LANDINGS or stage in SNIPES:
                modes += ["mission"] * 3
            mode = self.rng.choice(modes)
            fl.update(mode=mode, left=self.rng.randint(30, 600) if mode != "mission" else 4000,
                      tx=self.rng.randint(0, 752), ty=self.rng.randint(-150, 30) if mode == "high" else
                      self.rng.randint(-100, 560), fire=0, held=0, byte=frozenset())
            if mode == "mission":
                fl["plan"] = list(self.rng.choice(LANDINGS.get(stage) or SNIPES.get(stage)))
        if fl["mode"] == "random" or f is None:
            if self.chance(0.35):
                self.toggle_key(p, out, self.rng.choice(FLIGHT_KEYS))
            return
        if fl["mode"] == "mission":
            want = self.mission_keys(fl, f)
        else:
            want = set()
            vxw = max(-2.5, min(2.5, (fl["tx"] - f["x"]) / 40.0))
            if f["vx"] < vxw - 0.1:
                want.add("Right")
            elif f["vx"] > vxw + 0.1:
                want.add("Left")
            vyw = max(-3.0, min(3.0, (fl["ty"] - f["y"]) / 30.0))
            if f["vy"] < vyw - 0.3:
                want.add("Up")
            elif f["vy"] > vyw:
                want.add("Down")
            if fl["fire"] > 0:
                fl["fire"] -= 1
                want.add("Space")
            elif self.chance(0.02):
                fl["fire"] = self.rng.randint(2, 6)
            if self.chance(0.05):
                want ^= {self.rng.choice(FLIGHT_KEYS)}
        for k in sorted(p.keys - want):
            p.keys.discard(k)
            out.append("key %s up" % k)
        for k in sorted(want - p.keys):
            p.keys.add(k)
            out.append("key %s down" % k)

    def mission_keys(self, fl, f):
        """Flies the stage's goal: waypoints, then a slow descent or a steady shot."""
        kind, *rest = fl["plan"][0]
        x, y, vx, vy = f["x"], f["y"], f["vx"], f["vy"]
        fire = False
        if kind == "to":
            tx, ty = rest
            tx = x if tx is None else tx
            if abs(x - tx) <= 6 and abs(y - ty) <= 8 and abs(vx) < 0.6 and abs(vy) < 0.8 and len(fl["plan"]) > 1:
                fl["plan"].pop(0)
            vxmax, vdown = 2.5, 3.0
        elif kind == "land":
            tx, goal_top, vdown = rest
            ty = goal_top - HELI_HEIGHT + 4
            vxmax = 0.5
        else:  # shoot from (tx, ty) once still
            tx, ty = rest
            vxmax, vdown = 1.0, 1.0
            fire = abs(x - tx) <= 3 and y == ty and abs(vx) < 0.45 and abs(vy) < 0.45 and f["fireready"]
        want = set()
        # Fly at a speed that still leaves room to brake, as a pilot would.
        wx = 0.0 if abs(tx - x) < 2 else math.copysign(max(0.55, min(vxmax, math.sqrt(0.1 * abs(tx - x)))), tx - x)
        if vx < wx - 0.035:
            want.add("Right")
        elif vx > wx + 0.035:
            want.add("Left")
        err = ty - y
        wy = 0.0 if abs(err) < 0.5 else math.copysign(min(vdown if err > 0 else 3.0, math.sqrt(0.16 * abs(err))), err)
        if vy < wy - 0.35:
            want.add("Up")
        elif vy > wy - 0.05:
            want.add("Down")
        if fire:
            want.add("Space")
        # A new set of keys steers only from its second frame: hold each for two.
        if frozenset(want) != fl["byte"] and fl["held"] < 2:
            want = set(fl["byte"])
        if frozenset(want) != fl["byte"]:
            fl["byte"], fl["held"] = frozenset(want), 0
        fl["held"] += 1
        return want

    def play_step(self, p):
        out = []
        self.release_pulses(p, out)
        f = p.frame()
        self.steer(p, f, out)
        if self.chance(0.004):
            self.pulse(p, out, self.rng.choice(["F4", "M", "Return"]))
        self.pad_noise(p, out, menu_ok=True)
        self.rare_noise(p, out)
        before = p.frames
        k = self.safe_frames(p, f)
        r = self.rng.random()
        if p.flight.get("mode") == "mission" and r < 0.97:
            run = "frames 1" if k else "advance %d" % FRAME_MS
        elif k and r < 0.5:
            run = "frames %d" % self.rng.randint(1, k)
        elif r < 0.6:
            key = self.rng.choice(FLIGHT_KEYS)
            p.keys.discard(key)
            run = "tap %s %d" % (key, self.rng.randint(16, 300))
        else:
            run = "advance %d" % self.advance_ms()
        p.flight["left"] -= 1
        p.send(self, out + [run])
        self.steps += 1
        if run.startswith("frames"):
            self.frames_steps += 1
            want = int(run.split()[1])
            if p.alive() and p.frames - before != want:
                raise Failure("HANG", "`%s` ended after %d frames" % (run, p.frames - before))

    def other_step(self, p):
        # Briefings typing, fades, sequences, the screens between stages.
        out = []
        self.release_pulses(p, out)
        if self.chance(0.15):
            self.pulse(p, out, self.rng.choice(PULSE_KEYS))
        if self.chance(0.05):
            self.toggle_key(p, out, self.rng.choice(FLIGHT_KEYS))
        self.pad_noise(p, out, menu_ok=False)
        self.rare_noise(p, out)
        p.send(self, out + ["advance %d" % self.rng.randint(10, 700)])
        if p.alive() and p.dialog is None and not p.live:
            quiet = p.t - p.last_progress_t
            if p.waits and quiet > 20000:
                # Back in a wait in a way the soak does not know: answer it as one.
                p.wait_active = p.wait_guessed = True
            elif quiet > RUN_LIMIT_MS:
                raise Failure("HANG", "no progress for %d ms of game time" % quiet)

    def wait_step(self, p):
        kind = p.waits[-1]
        p.wait_tries = getattr(p, "wait_tries", 0)
        if p.wait_tries == 0:
            p.wait_noise = self.rng.choice([0, 0, 1, 2, 3, 5])
        p.wait_tries += 1
        out = []
        self.release_pulses(p, out)
        if p.wait_tries <= p.wait_noise:
            r = self.rng.random()
            if kind == "WaitKeyOrMenu" and r < 0.3:
                self.release_all(p, out)
                p.send(self, out + ["tap M %d" % self.rng.randint(20, 120)])
                self.count(self.menu_opens, "M")
            elif kind == "WaitKeyOrMenu" and r < 0.35 and p.pad_found and p.pad:
                self.release_all(p, out)
                p.send(self, out + ["pad button 2 down", "advance 40", "pad button 2 up"])
                p.send(self, ["advance 10"])
                self.count(self.menu_opens, "pad")
            elif r < 0.45:
                self.pulse(p, out, "F4")
                p.send(self, out + ["advance %d" % self.rng.randint(10, 200)])
            else:
                if self.chance(0.3):
                    self.toggle_key(p, out, self.rng.choice(["Left", "Right", "Up", "Down"]))
                p.send(self, out + ["advance %d" % self.rng.randint(1, 2000)])
            return
        if p.wait_tries > p.wait_noise + 6:
            raise Failure("HANG", "the %s wait took no Space, Return or pad button" % kind)
        # Answer: nothing held, so that a lost focus or the menu key cannot stand in the way.
        self.release_all(p, out)
        p.send(self, out + ["advance 5"])
        if not p.in_wait() or p.dialog is not None or not p.alive():
            return
        depth = len(p.waits)
        if p.pad_found and p.pad and self.chance(0.15):
            p.send(self, ["pad button 1 down", "advance %d" % self.rng.randint(40, 120), "pad button 1 up"])
            p.send(self, ["advance 10"])
        else:
            key = self.rng.choice(["Space", "Return"])
            p.send(self, ["tap %s %d" % (key, self.rng.randint(40, 150))])
            # The wait has seen the key: it returns in its own time, never later.
            if p.alive() and p.in_wait() and not p.wait_guessed and len(p.waits) >= depth and p.dialog is None:
                p.send(self, ["until waited"])
                self.untils += 1

    def answer_dialog(self, p):
        d = p.dialog
        kind = dialog_kind(d)
        p.dialog_tries += 1
        if p.dialog_tries > 12:
            raise Failure("HANG", "the %s dialog took no answer" % kind)
        out = []
        stick_moved = p.axes["x"] != 0
        self.release_all(p, out)
        late = p.dialog_tries > 3  # answers that surely close it from now on
        r = self.rng.random()
        if kind == "entry":
            if late or r < 0.8:
                out.append("text " + self.name_text())
                out.append("tap %s" % ("Escape" if self.chance(0.15) else "Return"))
            elif r < 0.9:
                out.append("close dialog")
                out.append("advance 20")
            else:
                out += ["key BackSpace down", "key BackSpace up", "tap Return"]
        elif kind == "menu":
            if late or r < 0.75:
                choice = self.rng.choice(["0", "1", "2", "3", "3", "3", "4", "5", "6"])
                if self.chance(0.1):
                    choice = self.rng.choice(["7", "9", "x", "12", "?", "３", "ｱ", " 3"])
                out.append("text " + choice)
                out.append("tap Return")
            elif r < 0.85:
                out += ["close dialog", "advance 20"]
            elif r < 0.92:
                out += ["key BackSpace down", "key BackSpace up", "tap Return"]
            else:
                out.append("tap %s" % self.rng.choice(["Return", "Escape"]))
        elif kind == "stage-choice":
            if late or r < 0.75:
                choice = str(self.rng.randint(1, 8))
                if self.chance(0.15):
                    choice = self.rng.choice(["9", "0", "x", "88", "-1", "１"])
                out.append("text " + choice)
                out.append("tap %s" % ("Escape" if self.chance(0.1) else "Return"))
            elif r < 0.85:
                out += ["close dialog", "advance 20"]
            else:
                out += ["key BackSpace down", "key BackSpace up", "tap Return"]
        elif kind == "retry":
            # Yes: Escape answers with the first button, Return with the focused one. A stick
            # held right while the question shows has moved the focus to no: left brings it back.
            if stick_moved:
                out += ["pad axis x -32768", "advance 20", "pad axis x 0"]
            if p.pad_found and p.pad and not late and r < 0.1:
                out += ["pad axis x -20000", "advance 20", "pad button 1 down", "advance 40", "pad button 1 up",
                        "pad axis x 0"]
                p.send(self, out)
                p.send(self, ["advance 10"])
                return
            out.append("tap %s" % ("Escape" if r < 0.55 else "Return"))
        else:
            if p.pad_found and p.pad and not late and r < 0.1:
                out += ["advance 20", "pad button 1 down", "advance 40", "pad button 1 up"]
                p.send(self, out)
                p.send(self, ["advance 10"])
                return
            if not late and r < 0.2:
                out += ["close dialog", "advance 20"]
            else:
                out.append("tap %s" % self.rng.choice(["Return", "Return", "Escape", "Space"]))
        p.send(self, out)

    def quit_step(self, p):
        """Ends the game on purpose where the situation allows; False when it does not."""
        out = []
        if p.dialog is not None:
            if dialog_kind(p.dialog) != "retry":
                return False
            self.release_all(p, out)
            how = "retry-no"
            out += ["close dialog", "advance 50"]
        elif p.in_wait() or p.live:
            self.release_all(p, out)
            how = self.rng.choice(["escape", "escape", "close", "quit"])
            out += {"escape": ["key Escape down", "advance 60"], "close": ["close", "advance 60"],
                    "quit": ["quit"]}[how]
        else:
            return False
        p.quit_sent = True
        self.count(self.quits, how)
        p.send(self, out)
        if p.alive():
            p.send(self, ["advance 200"])
        if p.alive():
            raise Failure("NO_EXIT", "the game went on after %s" % how)
        return True

    # --- runners -----------------------------------------------------------------------

    def start_runner(self, work_root):
        index = len(self.processes) + 1
        if self.args.script_out:
            path = script_path_for(self.args.script_out, index)
        else:
            path = os.path.join(work_root, "run-%d.txt" % index)
        p = Runner(self.args, index, work_root, path)
        p.dialog_tries = 0
        p.life = max(1000, int(self.rng.expovariate(1.0 / self.args.mean_life)))
        r = self.rng.random()
        if r < 0.5:
            p.pad = "haptic"
        elif r < 0.8:
            p.pad = self.rng.choice(["plain", "rumble", "haptic-noidle"])
        if p.pad:
            p.pad_found = True
            p.send(self, ["pad attach " + p.pad])
        return p

    def drive(self, p):
        next_rss = self.args.rss_every
        while p.alive():
            if self.frames >= self.args.frames:
                self.finish_runner(p)
                return
            if p.frames >= p.life and self.quit_step(p):
                return
            if p.dialog is not None:
                p.wait_tries = 0
                self.answer_dialog(p)
            elif p.in_wait():
                self.wait_step(p)
            elif p.live:
                p.wait_tries = 0
                self.play_step(p)
            else:
                p.wait_tries = 0
                self.other_step(p)
            if p.limit:
                raise Failure("HANG", "the runner's limit: a run command ran 600000 ms")
            if p.mismatch:
                raise Failure("MISMATCH", json.dumps(p.mismatch, ensure_ascii=False))
            if p.frames >= next_rss:
                p.sample_rss()
                next_rss = p.frames + self.args.rss_every
            self.progress()

    def finish_runner(self, p):
        """Ends a runner at the end of the soak: through the game's shutdown where it can."""
        for _ in range(40):
            if not p.alive():
                return
            if p.dialog is not None and dialog_kind(p.dialog) != "retry":
                self.answer_dialog(p)
            elif p.dialog is not None or p.in_wait() or p.live:
                out = []
                self.release_all(p, out)
                p.quit_sent = True
                p.send(self, out + (["close dialog", "advance 50"] if p.dialog else ["key Escape down", "advance 60"]))
            else:
                p.send(self, ["advance 100"])
        if p.alive():
            p.quit_sent = True
            p.send(self, ["quit"])

    def check_end(self, p, status, err):
        marks = [m for m in SANITIZER_MARKS if m in err]
        if marks:
            raise Failure("SANITIZER", "%s (status %d)" % (", ".join(marks), status))
        if p.limit:
            raise Failure("HANG", "the runner's limit: a run command ran 600000 ms")
        if p.mismatch:
            raise Failure("MISMATCH", json.dumps(p.mismatch, ensure_ascii=False))
        if status < 0:
            raise Failure("EXIT_SIG%d" % -status, "the runner died of signal %d" % -status)
        if status != 0:
            raise Failure("EXIT_%d" % status, "the runner ended with status %d" % status)
        if not p.quit_sent:
            raise Failure("UNEXPECTED_EXIT", "the game ended (exit %s) without being asked to" % p.exit_status)

    def run_one(self, work_root):
        p = self.start_runner(work_root)
        record = {"index": len(self.processes) + 1, "script": p.script_path, "dir": p.dir}
        self.processes.append(record)
        failure = None
        try:
            self.drive(p)
        except Failure as f:
            failure = f
        if failure is not None and failure.code == "UNRESPONSIVE":
            p.kill()
            status, err = None, open(p.stderr_path, "rb").read().decode("utf-8", "replace")
        else:
            if failure is not None:
                # The soak's own verdict stands; the runner still gets the chance to report.
                try:
                    p.send(self, ["quit"])
                except Failure:
                    pass
            status, err = p.finish()
            if failure is None:
                try:
                    self.check_end(p, status, err)
                except Failure as f:
                    failure = f
            elif any(m in err for m in SANITIZER_MARKS):
                failure = Failure("SANITIZER", failure.detail + "; and a sanitizer report")
        record.update(frames=p.frames, status=status, seconds=time.monotonic() - p.began, rss=p.rss,
                      pad=p.pad, commands=p.commands)
        if failure is not None:
            self.report_failure(p, record, failure, err)
        return failure

    def report_failure(self, p, record, failure, err):
        self.failures.append({"code": failure.code, "detail": failure.detail, "process": record["index"],
                              "script": record["script"], "frames": p.frames})
        record["failure"] = failure.code
        w = sys.stdout
        w.write("\nFAILURE %s in process %d after %d of its frames: %s\n" % (failure.code, record["index"],
                                                                              p.frames, failure.detail))
        w.write("  seed %d; script %s\n" % (self.args.seed, record["script"]))
        copies = " ".join([self.args.data] + self.args.waves[:1] and [self.args.data] + (
            [os.path.join(os.path.dirname(self.args.waves[0]), "kavrona_w*.wav")] if self.args.waves else []))
        w.write("  replay: d=$(mktemp -d) && cp -r %s \"$d\"/ && %s --dir \"$d\" --date %s --script %s\n" % (
            copies, self.args.runner, self.args.date, record["script"]))
        w.write("  the game: dialog=%s waits=%s live=%s stage=%s t=%s\n" % (
            dialog_kind(p.dialog) if p.dialog else None, p.waits, p.live, p.stage, p.t))
        w.write("  last trace lines:\n")
        for line in p.tail[-12:]:
            w.write("    %s\n" % line.decode("utf-8", "replace")[:300])
        if err.strip():
            w.write("  standard error (last 40 lines):\n")
            for line in err.strip().splitlines()[-40:]:
                w.write("    %s\n" % line)
        w.flush()

    def progress(self):
        now = time.monotonic()
        if self.args.progress and now - self.last_report >= self.args.progress:
            self.last_report = now
            sys.stderr.write("soak: %d frames, %d processes, %.0f s\n" % (self.frames, len(self.processes),
                                                                            now - self.began))
            sys.stderr.flush()

    def run(self, work_root):
        self.steps = self.frames_steps = self.untils = 0
        self.menu_opens = {}
        while self.frames < self.args.frames and len(self.failures) < self.args.max_failures:
            before = self.frames
            self.run_one(work_root)
            if self.frames == before and self.failures and self.failures[-1]["frames"] == 0:
                # A runner that cannot play a single frame would fail the same way forever.
                if len([f for f in self.failures if f["frames"] == 0]) >= 3:
                    break
        self.check_memory()

    # --- memory ------------------------------------------------------------------------

    def memory_figures(self):
        longest = max(self.processes, key=lambda r: r.get("frames", 0), default=None)
        all_kb = [kb for r in self.processes for _, kb in r.get("rss", [])]
        figures = {"peak_kb": max(all_kb) if all_kb else None}
        if longest is None or not longest.get("rss"):
            return figures
        kb = [v for _, v in longest["rss"]]
        tenth = max(1, len(kb) // 10)
        figures.update(process=longest["index"], samples=len(kb), final_kb=kb[-1],
                       first_mean_kb=sum(kb[:tenth]) / tenth, last_mean_kb=sum(kb[-tenth:]) / tenth,
                       frames=longest["frames"])
        figures["growth_kb"] = figures["last_mean_kb"] - figures["first_mean_kb"]
        figures["samples_kb"] = longest["rss"]
        return figures

    def check_memory(self):
        m = self.memory_figures()
        self.memory = m
        if "samples" not in m:
            return
        if self.args.memory == "report" or (self.args.memory == "auto" and self.args.asan):
            m["note"] = "not judged: %s" % ("an AddressSanitizer build, whose quarantine and caches hold freed memory"
                                            if self.args.asan else "--memory report")
            return
        if m["samples"] < self.args.min_samples:
            m["note"] = "too few samples to judge (%d < %d)" % (m["samples"], self.args.min_samples)
            return
        if m["growth_kb"] > self.args.flat_kb:
            self.failures.append({"code": "MEMORY", "process": m["process"], "frames": m["frames"],
                                  "detail": "resident memory grew by %.0f kB (over %d kB) in process %d" % (
                                      m["growth_kb"], self.args.flat_kb, m["process"])})

    # --- summary -----------------------------------------------------------------------

    def summary(self):
        m = self.memory
        failures = {}
        for f in self.failures:
            self.count(failures, f["code"])
        return {
            "seed": self.args.seed,
            "runner": self.args.runner,
            "frames": self.frames,
            "processes": len(self.processes),
            "restarts": max(0, len(self.processes) - 1),
            "wall_seconds": round(time.monotonic() - self.began, 1),
            "steps": self.steps,
            "frames_steps": self.frames_steps,
            "until_waited": self.untils,
            "memory": m,
            "dialogs_answered": dict(sorted(self.answered.items())),
            "menu_opened_by": self.menu_opens,
            "stages_reached": {str(k): v for k, v in sorted(self.stages.items())},
            "clears": self.clears,
            "stages_cleared": {str(k): v for k, v in sorted(self.cleared_stages.items())},
            "outcomes": {str(k): v for k, v in sorted(self.outcomes.items())},
            "quits": self.quits,
            "process_frames": [r.get("frames", 0) for r in self.processes],
            "failures": failures,
            "failure_list": self.failures,
        }

    def print_summary(self, s):
        def kb(v):
            return "-" if v is None else "%.1f MB" % (v / 1024.0)

        m = s["memory"]
        w = sys.stdout
        w.write("\nsoak summary (seed %d)\n" % s["seed"])
        w.write("  runner            %s\n" % s["runner"])
        w.write("  frames            %d\n" % s["frames"])
        w.write("  processes         %d (%d restarts); frames each: %s\n" % (
            s["processes"], s["restarts"], " ".join(str(n) for n in s["process_frames"])))
        w.write("  wall time         %.1f s\n" % s["wall_seconds"])
        w.write("  steps             %d (%d `frames` steps, %d `until waited`)\n" % (
            s["steps"], s["frames_steps"], s["until_waited"]))
        w.write("  peak RSS          %s\n" % kb(m.get("peak_kb")))
        if "samples" in m:
            w.write("  longest process   #%d, %d frames, %d RSS samples\n" % (m["process"], m["frames"], m["samples"]))
            w.write("  final RSS         %s\n" % kb(m["final_kb"]))
            w.write("  first/last 10%%    %s / %s (growth %+.0f kB)%s\n" % (
                kb(m["first_mean_kb"]), kb(m["last_mean_kb"]), m["growth_kb"],
                "; " + m["note"] if "note" in m else ""))
        w.write("  dialogs answered  %s\n" % ", ".join("%s %d" % kv for kv in s["dialogs_answered"].items()))
        w.write("  menu opened by    %s\n" % (", ".join("%s %d" % kv for kv in s["menu_opened_by"].items()) or "-"))
        w.write("  stages reached    %s\n" % (", ".join("%s:%d" % kv for kv in s["stages_reached"].items()) or "-"))
        w.write("  clears            %s; by stage %s\n" % (
            ", ".join("%s %d" % kv for kv in s["clears"].items()) or "0",
            ", ".join("%s:%d" % kv for kv in s["stages_cleared"].items()) or "-"))
        w.write("  failures (game)   %s\n" % (", ".join("outcome %s: %d" % kv for kv in s["outcomes"].items()) or "-"))
        w.write("  quits             %s\n" % (", ".join("%s %d" % kv for kv in s["quits"].items()) or "-"))
        w.write("  soak failures     %s\n" % (", ".join("%s %d" % kv for kv in s["failures"].items()) or "none"))
        w.write("SOAK %s\n" % ("FAIL" if s["failures"] else "PASS"))
        w.flush()


def main(argv):
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--runner", default="build/release/bin/kavrona-headless")
    ap.add_argument("--data", help="the pictures to copy into each program directory (default: beside the runner)")
    ap.add_argument("--frames", type=int, default=10 ** 6)
    ap.add_argument("--seed", type=int)
    ap.add_argument("--date", default="04/22")
    ap.add_argument("--script-out", help="the first runner's commands go here, the n-th's to NAME-n.EXT")
    ap.add_argument("--work", help="scratch directory (default: a new temporary one, removed when all passed)")
    ap.add_argument("--timeout", type=float, default=120.0, help="wall seconds a command may take")
    ap.add_argument("--mean-life", type=int, default=300000,
                    help="mean frames before the soak ends a game on purpose (Escape, close, no to the retry)")
    ap.add_argument("--rss-every", type=int, default=1000, help="frames between two RSS samples")
    ap.add_argument("--flat-kb", type=int, default=1024,
                    help="allowed RSS growth of the longest-lived runner, first to last tenth")
    ap.add_argument("--memory", choices=["auto", "judge", "report"], default="auto",
                    help="judge the RSS growth, or only report it; auto judges unless the runner has AddressSanitizer")
    ap.add_argument("--min-samples", type=int, default=20, help="fewer RSS samples than this are not judged")
    ap.add_argument("--max-failures", type=int, default=5)
    ap.add_argument("--no-sounds", action="store_true", help="leave the wave files out of the program directories")
    ap.add_argument("--summary-json", help="write the summary here as JSON")
    ap.add_argument("--progress", type=float, default=0, help="seconds between progress lines on stderr")
    args = ap.parse_args(argv)
    if args.seed is None:
        args.seed = int.from_bytes(os.urandom(4), "little")
    args.runner = os.path.abspath(args.runner)
    args.data = os.path.abspath(args.data or os.path.join(os.path.dirname(args.runner), "data"))
    if args.script_out:
        args.script_out = os.path.abspath(args.script_out)
    # The sound effects sit beside the program; without them every slot stays silent.
    args.waves = [] if args.no_sounds else sorted(glob.glob(os.path.join(os.path.dirname(args.runner),
                                                                         "kavrona_w*.wav")))
    args.asan = built_with_asan(args.runner)
    print("soak: seed %d, %d frames, runner %s%s" % (args.seed, args.frames, args.runner,
                                                     " (AddressSanitizer)" if args.asan else ""), flush=True)
    if not os.path.isdir(args.data):
        print("soak: no pictures at %s" % args.data, file=sys.stderr)
        return 2
    work_root = args.work or tempfile.mkdtemp(prefix="kavrona-soak-")
    os.makedirs(work_root, exist_ok=True)
    soak = Soak(args)
    try:
        soak.run(work_root)
    except KeyboardInterrupt:
        soak.failures.append({"code": "INTERRUPTED", "detail": "stopped by the user", "process": None,
                              "frames": soak.frames})
        soak.check_memory()
    s = soak.summary()
    soak.print_summary(s)
    if args.summary_json:
        with open(args.summary_json, "w", encoding="utf-8") as f:
            json.dump(s, f, ensure_ascii=False, indent=1)
    if s["failures"]:
        print("soak: scratch directory kept: %s" % work_root)
    elif not args.work:
        shutil.rmtree(work_root, ignore_errors=True)
    return 1 if s["failures"] else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
