#!/usr/bin/env python3
"""Closed-loop pilot for kavrona-headless, and the maker of the golden replays.

The pilot starts the headless runner as a child process, feeds it one command at a
time, reads the trace it writes back (one JSON object per line, flushed per line) and
flies the helicopter from what each frame reports: position, speed, magazine, rifle
state and outcome. Every command it sends is recorded; the record, with `expect` lines
at the start and end of every stage, is written as a plain replay script that the test
suite runs again without the pilot (tests/runner/replays_test.sh).

Scenarios (one replay each, written to --out as NAME.txt):

  full_run           all eight stages, the finale, the totals and the ranked total
  fail_time_over     outcome 1: rests on the headquarters roof until the clock passes 150 s
  fail_crash         outcome 2: drops into the water between the buildings
  fail_missile       outcome 3: stays in the stage-7 missile's path after a shot
  fail_hostage       outcome 4: comes down on the stage-4 hostage too fast to pick it up
  fail_hard_landing  outcome 5: dives onto the stage-1 landing zone
  fail_ram           outcome 6: flies into the gunner on the stage-7 roof

Each failure ends with the retry question answered yes, the stage-1 briefing of the
new run, and Escape, so the runner ends through the game's own shutdown with status 0.

Regenerating the replays (from the repository root, after a build):

  python3 tools/pilot/pilot.py --runner build/release/bin/kavrona-headless \
      --out tests/fixtures/replays

  --scenario NAME    only that scenario (repeatable); default: all of them
  --no-verify        skip running each written replay through the runner again
  --date MM/DD       the date the game sees (default 04/22, as the tests use)

A replay that desynchronises after a game change fails at its first `expect` with
status 3; running the command above makes it again. The pilot needs only Python 3's
standard library. Replays never use `set`: the game is played, not placed.
"""

import argparse
import json
import math
import os
import shutil
import subprocess
import sys
import tempfile
import time

FRAME_MS = 16
W, H = 48, 23  # the helicopter's size; its bottom row is Y + 23
BULLET_HALF = 5  # half the bullet's height: a shot's centre row is Y + 10 + 5

CTL_FIRE, CTL_CLIMB, CTL_DIVE, CTL_LEFT, CTL_RIGHT = 1, 2, 4, 8, 16
# Down climbs and Up dives.
KEY_OF_BIT = [(CTL_FIRE, "Space"), (CTL_CLIMB, "Down"), (CTL_DIVE, "Up"), (CTL_LEFT, "Left"),
              (CTL_RIGHT, "Right")]

EXPECT_VARS = ["CurrentStage", "StageTimes", "TotalTime", "Heli.X", "Heli.Y", "MagazineCount"]
RUN_COMMANDS = ("advance", "frames", "until", "tap")

# Places of the scene the flight plans use (top-left corner of the helicopter).
SHAFT_X = 228  # between the headquarters and the centre building, straight above the boat
GAP_X = 470  # the sniping gap left of the tower
SAFE_Y = 230  # clear of the centre building's roof (bottom row 253 < 275)
HIGH_Y = 40  # above the tower roof and the hostage


class PilotError(Exception):
    pass


class StageEnded(Exception):
    """A clear or a failure ended the stage in the middle of a manoeuvre."""


def json_value(v):
    return json.dumps(v, separators=(",", ":"), ensure_ascii=False)


class Session:
    """One runner process: sends commands, reads the trace, records what it sent."""

    def __init__(self, runner, date):
        self.dir = tempfile.mkdtemp(prefix="kavrona-pilot-")
        shutil.copytree(os.path.join(os.path.dirname(runner), "data"), os.path.join(self.dir, "data"))
        self.proc = subprocess.Popen([runner, "--dir", self.dir, "--date", date], stdin=subprocess.PIPE,
                                     stdout=subprocess.PIPE, text=True, encoding="utf-8", bufsize=1)
        self.script = []
        self.frame = None
        self.keys = set()
        self.waiting = None  # kind of the key wait the game is in, if any
        self.dialog = None  # the dialog on screen, if any
        self.exit_status = None
        self.log = []  # events of interest since the pilot last looked: clear, outcome, shot, strike
        self.stage = 0
        self.live = False
        # KAVRONA_PILOT_TRACE=FILE keeps the whole trace, for looking into a flight.
        trace = os.environ.get("KAVRONA_PILOT_TRACE")
        self.trace = open(trace, "w", encoding="utf-8") if trace else None  # the stage clock runs and frames are played

    def close(self):
        if self.proc.poll() is None:
            self.proc.kill()
        self.proc.wait()
        shutil.rmtree(self.dir, ignore_errors=True)

    def _read_event(self):
        line = self.proc.stdout.readline()
        if not line:
            return None
        if self.trace:
            self.trace.write(line)
        e = json.loads(line)
        ev = e["ev"]
        if ev == "frame":
            self.frame = e
        elif ev == "wait":
            self.waiting = e["kind"]
        elif ev == "waited":
            self.waiting = None
        elif ev == "dialog":
            self.dialog = e
        elif ev == "answer":
            self.dialog = None
        elif ev == "clock":
            self.stage = e["stage"]
            self.live = True
        elif ev in ("clear", "outcome"):
            self.live = False
            self.log.append(e)
        elif ev in ("shot", "strike", "contact"):
            self.log.append(e)
        elif ev == "exit":
            self.exit_status = e["status"]
        elif ev in ("limit", "mismatch"):
            raise PilotError("the runner reported %s: %s" % (ev, line.strip()))
        return e

    def send(self, command, record=True):
        if record:
            self.script.append(command)
        self.proc.stdin.write(command + "\n")
        self.proc.stdin.flush()
        word = command.split()[0]
        if word == "state":
            return self._read_event()
        if word in RUN_COMMANDS or word == "quit":
            while True:
                e = self._read_event()
                if e is None:
                    self.proc.wait()
                    if self.exit_status is None:
                        self.exit_status = self.proc.returncode
                    return None
                if e["ev"] == "ready":
                    return e
        return None

    def comment(self, text):
        self.script.append("# " + text)

    def set_keys(self, wanted):
        for name in sorted(self.keys - wanted):
            self.send("key %s up" % name)
        for name in sorted(wanted - self.keys):
            self.send("key %s down" % name)
        self.keys = set(wanted)

    def release_all(self):
        self.set_keys(set())

    def vars(self):
        return self.send("state", record=False)["vars"]

    def expect(self, names=EXPECT_VARS, extra=()):
        v = self.vars()
        parts = ["%s=%s" % (n, json_value(v[n])) for n in list(names) + list(extra)]
        self.script.append("expect " + " ".join(parts))
        return v

    def until_wait(self):
        if self.waiting is None:
            self.send("until wait")
        if self.waiting is None:
            raise PilotError("no key wait came")

    def answer_wait(self, key="Space"):
        """Taps a key in a key wait and runs on until the wait has returned."""
        self.send("tap " + key)
        if self.waiting is not None and self.exit_status is None:
            self.send("until waited")

    def until_dialog(self):
        if self.dialog is None:
            self.send("until dialog")
        if self.dialog is None:
            raise PilotError("no dialog came")


def vdes(err, accel, vmax, vmin=0.0, dead=0.5):
    """Speed toward a target that still leaves room to brake at the given deceleration."""
    if abs(err) < dead:
        return 0.0
    v = min(vmax, math.sqrt(2 * accel * abs(err)))
    return math.copysign(max(v, vmin), err)


class Pilot:
    """Flies by the frame events: one control byte per frame, held as keys."""

    MIN_HOLD = 2  # a new byte steers only from its second frame on

    def __init__(self, session):
        self.s = session
        self.byte = 0
        self.held = 0
        self.last_n = None

    # --- low level -------------------------------------------------------------------

    def f(self):
        return self.s.frame

    def apply(self, byte):
        if byte != self.byte and self.held < self.MIN_HOLD:
            byte = self.byte
        if byte != self.byte:
            self.byte = byte
            self.held = 0
        self.s.set_keys({k for bit, k in KEY_OF_BIT if byte & bit})

    def step(self):
        before = self.s.frame["n"] if self.s.frame else None
        self.s.send("advance %d" % FRAME_MS)
        if self.s.exit_status is not None:
            raise PilotError("the game ended during play with status %s" % self.s.exit_status)
        n = self.s.frame["n"] if self.s.frame else None
        if n != before:
            self.held += 1
        if not self.s.live:
            raise StageEnded()

    def steer(self, tx, ty, vdown=3.0, vup=3.0, vxmax=2.5, fire=False):
        fr = self.f()
        x, y, vx, vy = fr["x"], fr["y"], fr["vx"], fr["vy"]
        byte = 0
        if tx is not None:
            want = vdes(tx - x, 0.05, vxmax, vmin=0.55, dead=2)
            if vx < want - 0.035:
                byte |= CTL_RIGHT
            elif vx > want + 0.035:
                byte |= CTL_LEFT
        if ty is not None:
            err = ty - y
            want = vdes(err, 0.08, vdown if err > 0 else vup, dead=0.5)
            if vy < want - 0.35:
                byte |= CTL_DIVE
            elif vy > want - 0.05:
                byte |= CTL_CLIMB
        if fire:
            byte |= CTL_FIRE
        self.apply(byte)
        self.step()

    # --- manoeuvres ------------------------------------------------------------------

    def fly(self, tx, ty, tolx=4, toly=3, vtol=0.6, limit=3000, **kw):
        """To (tx, ty); None leaves that axis alone. Returns once there and slow enough."""
        for _ in range(limit):
            fr = self.f()
            okx = tx is None or (abs(fr["x"] - tx) <= tolx and abs(fr["vx"]) <= vtol)
            oky = ty is None or (abs(fr["y"] - ty) <= toly and abs(fr["vy"]) <= vtol + 0.1)
            if okx and oky:
                return
            self.steer(tx, ty, **kw)
        raise PilotError("could not reach (%s, %s) from %s" % (tx, ty, self.f()))

    def hover(self, frames, tx=None, ty=None):
        fr = self.f()
        tx = fr["x"] if tx is None else tx
        ty = fr["y"] if ty is None else ty
        for _ in range(frames):
            self.steer(tx, ty)

    def land(self, tx, goal_top, vland=1.0, vxmax=1.0, limit=3000):
        """Comes down on a zone whose landing row is goal_top; ends when the stage ends."""
        land_y = goal_top - H
        for _ in range(limit):
            fr = self.f()
            if fr["y"] > land_y + 2:
                # Passed the landing rows without a clear (too fast for a pick-up): go round.
                self.fly(tx, land_y - 25, tolx=2, toly=3, vtol=0.3)
                continue
            self.steer(tx, land_y + 4, vdown=vland, vxmax=vxmax)
        raise PilotError("no landing at %d, row %d" % (tx, goal_top))

    def settle(self, tx, ty, frames=6, tolx=3):
        """Hovers at (tx, ty) until the position has held still for some frames."""
        still = 0
        for _ in range(600):
            fr = self.f()
            if abs(fr["x"] - tx) <= tolx and fr["y"] == ty and abs(fr["vy"]) < 0.45 and abs(fr["vx"]) < 0.45:
                still += 1
                if still >= frames:
                    return
            else:
                still = 0
            self.steer(tx, ty, vxmax=1.0, vdown=1.0, vup=1.0)
        raise PilotError("could not settle at (%d, %d): %s" % (tx, ty, self.f()))

    def fire(self, tx, ty):
        """Holds Space, steady at (tx, ty), until the rifle fires; returns the shot."""
        self.settle(tx, ty)
        while not self.f()["fireready"]:
            self.steer(tx, ty, vxmax=1.0, vdown=1.0, vup=1.0)
        self.s.log = [e for e in self.s.log if e["ev"] != "shot"]
        for _ in range(6):
            self.steer(tx, ty, vxmax=1.0, vdown=1.0, vup=1.0, fire=True)
            shots = [e for e in self.s.log if e["ev"] == "shot"]
            if shots:
                self.byte &= ~CTL_FIRE
                self.held = self.MIN_HOLD
                self.apply(self.byte)
                return shots[0]
        raise PilotError("the rifle did not fire at %s" % self.f())

    def wait_strike(self, tx, ty, limit=400):
        self.s.log = [e for e in self.s.log if e["ev"] != "strike"]
        for _ in range(limit):
            if any(e["ev"] == "strike" for e in self.s.log):
                return
            self.steer(tx, ty)
        raise PilotError("the bullet struck nothing")


# --- stage plans ----------------------------------------------------------------------


def over_roofs(p, tx):
    """Climbs to the safe height, crosses to column tx, and stays at that height."""
    p.fly(None, SAFE_Y, toly=8, vtol=1.5)
    p.fly(tx, SAFE_Y, tolx=6, toly=8, vtol=0.5)


def stage1(p):
    p.fly(310, 200, tolx=8, toly=10, vtol=0.8)
    p.land(310, 274)


def stage2(p):
    over_roofs(p, GAP_X)
    p.fire(GAP_X, 321)  # centre row 336, inside the culprit's band 330..342
    p.wait_strike(GAP_X, 321)
    p.hover(2000)  # the hit clears the stage


def stage3(p):
    over_roofs(p, 115)
    p.land(115, 351)


def stage4(p):
    p.fly(None, HIGH_Y, toly=6, vtol=1.5)
    p.fly(581, HIGH_Y, tolx=1, toly=4, vtol=0.3)
    p.land(581, 85, vland=0.7, vxmax=0.5)  # a pick-up needs both speeds under 1


def stage5(p):
    p.fly(None, HIGH_Y, toly=8, vtol=1.5)
    p.fly(SHAFT_X, HIGH_Y, tolx=4, toly=10, vtol=0.3)
    p.land(SHAFT_X, 525, vland=1.5, vxmax=0.5)


def stage6(p):
    p.fly(None, SAFE_Y, toly=8, vtol=1.5)
    over_roofs(p, GAP_X)
    p.fire(GAP_X, 282)  # the first culprit, band 290..305
    p.wait_strike(GAP_X, 282)
    p.fire(GAP_X, 354)  # the second, band 362..377
    p.wait_strike(GAP_X, 354)
    over_roofs(p, SHAFT_X)
    p.fly(SHAFT_X, 480, tolx=4, toly=10, vtol=1.2, vxmax=0.5)
    # Setting down on the boat takes the ferry to the harbour gate under the tower.
    for _ in range(400):
        if p.f()["x"] > 600:
            break
        p.steer(SHAFT_X, 506, vdown=1.2, vxmax=0.5)
    else:
        raise PilotError("the ferry did not come: %s" % p.f())
    p.fire(658, 357)  # the third, band 365..380, from right of column 600
    p.wait_strike(658, 357)
    p.hover(2000)


def stage7_shot(p, dodge=True):
    if not dodge:
        # At this height the homing missile settles level with the helicopter.
        p.fire(GAP_X, 86)
        p.hover(2000)
    p.fire(GAP_X, 85)  # a high shot, centre row 100, over the gunner's row 93
    # Down into the gap; the missile follows and ends on the centre building. Its counter
    # stands still once it is gone (an explosion leaves it at 716, not 720).
    last, still = p.f()["missilex"], 0
    for _ in range(1500):
        p.steer(GAP_X, 380, vdown=5.0)
        m = p.f()["missilex"]
        still = still + 1 if m == last else 0
        last = m
        if still >= 3:
            return
    raise PilotError("the missile did not go: %s" % p.f())


def stage7(p):
    p.fly(None, 85, toly=4, vtol=0.8, vxmax=0.5)
    p.fly(GAP_X, 85, tolx=6, toly=4, vtol=0.5)
    for _ in range(4):
        stage7_shot(p)
        p.fly(GAP_X, 85, tolx=4, toly=4, vtol=0.6)
    raise PilotError("four hits did not clear stage 7")


def stage8(p):
    over_roofs(p, SHAFT_X)
    p.land(SHAFT_X, 525, vland=1.5, vxmax=0.5)


STAGES = {1: stage1, 2: stage2, 3: stage3, 4: stage4, 5: stage5, 6: stage6, 7: stage7, 8: stage8}


# --- the game around the stages -------------------------------------------------------


def start_game(s):
    """Entry name (kept), the first-run notice, the stage-1 briefing; ends with the clock."""
    s.comment("entry name dialog and the first-run controls notice, both closed")
    s.send("until dialog")
    s.send("close dialog")
    s.send("until dialog")
    s.send("close dialog")
    start_stage(s)


def start_stage(s):
    s.until_wait()
    s.comment("briefing")
    s.answer_wait()
    if not s.live:
        s.send("until clock")
    s.comment("stage %d starts" % s.stage)
    s.expect()


def play_stage(s, plan):
    p = Pilot(s)
    try:
        plan(p)
    except StageEnded:
        pass
    else:
        raise PilotError("stage %d plan ended without a result" % s.stage)
    s.release_all()
    ended = [e for e in s.log if e["ev"] in ("clear", "outcome")]
    s.log = []
    return ended[-1] if ended else None


def finish_clear(s, stage):
    s.until_wait()
    s.comment("stage %d cleared" % stage)
    s.expect()
    s.answer_wait()


def run_stages(s, last):
    """Plays stages 1..last of a run; returns the event that ended the last one."""
    for stage in range(1, last + 1):
        if s.stage != stage:
            raise PilotError("expected stage %d, the game is in %d" % (stage, s.stage))
        ended = play_stage(s, STAGES[stage])
        if ended is None or ended["ev"] != "clear":
            return ended
        finish_clear(s, stage)
        if stage < 8:
            start_stage(s)
    return ended


def finish_failure(s, code):
    """Failure screen, then yes to the retry question, then the new run's briefing and Escape."""
    s.until_wait()
    s.comment("failure screen, outcome %d" % code)
    s.expect(extra=["StageOutcome"])
    s.answer_wait()
    s.until_dialog()
    s.comment("the retry question, answered yes with Escape (its first button)")
    s.send("key Escape down")
    s.send("key Escape up")
    s.until_wait()
    s.comment("a new run at stage 1; Escape in the briefing ends the game")
    s.expect(["CurrentStage", "StageTimes", "TotalTime", "MagazineCount", "StageOutcome"])
    s.send("tap Escape")


def scenario_full_run(s):
    start_game(s)
    ended = run_stages(s, 8)
    if ended is None or ended["ev"] != "clear":
        raise PilotError("the run did not clear stage 8: %s" % ended)
    s.until_wait()
    s.comment("totals")
    total = s.expect()["TotalTime"]
    s.answer_wait()
    s.until_wait()
    s.comment("the total is ranked among the three best runs and saved; a new run's briefing")
    v = s.vars()
    if total not in v["RecordTimes"][24:27]:
        raise PilotError("the total %d is not ranked: %s" % (total, v["RecordTimes"][24:27]))
    s.expect(["CurrentStage", "RecordTimes", "RecordDates", "RecordNames"])
    s.send("tap Escape")


def expect_failure(s, ended, code):
    if ended is None or ended["ev"] != "outcome" or ended["code"] != code:
        raise PilotError("wanted outcome %d, got %s" % (code, ended))
    finish_failure(s, code)


def scenario_time_over(s):
    start_game(s)
    p = Pilot(s)
    # Set down softly on the headquarters roof, which is not this stage's goal, and wait.
    # The last few rows are a free fall with no key held: the frame after the touch-down
    # follows its pause at once, and a held Down there would lift off again.
    p.fly(115, 310, tolx=3, toly=3, vtol=0.3)
    s.release_all()
    for _ in range(100):
        if p.f()["onpad"]:
            break
        p.step()
    else:
        raise PilotError("no rest on the headquarters roof: %s" % p.f())
    s.release_all()
    s.comment("resting on the headquarters roof until the clock passes 150 s")
    s.send("until outcome")
    expect_failure(s, s.log[-1] if s.log else None, 1)


def scenario_crash(s):
    start_game(s)
    p = Pilot(s)
    p.fly(SHAFT_X, 100, tolx=3, toly=10, vtol=0.3)
    s.release_all()
    s.comment("falling into the water between the buildings")
    ended = play_stage(s, lambda q: q.hover(10 ** 4, ty=700))
    expect_failure(s, ended, 2)


def scenario_hard_landing(s):
    start_game(s)
    p = Pilot(s)
    p.fly(310, 150, tolx=3, toly=10, vtol=0.3)
    s.comment("diving onto the centre building's roof")
    ended = play_stage(s, lambda q: dive_onto(q, 310, 3.2))
    expect_failure(s, ended, 5)


def dive_onto(p, tx, speed):
    for _ in range(1000):
        p.steer(tx, 400, vdown=speed, vxmax=0.5)


def scenario_hostage(s):
    start_game(s)
    run_stages(s, 3)

    def plan(p):
        p.fly(None, HIGH_Y, toly=6, vtol=1.5)
        p.fly(581, HIGH_Y, tolx=1, toly=4, vtol=0.3)
        s.comment("coming down on the hostage too fast for the ladder")
        dive_onto(p, 581, 1.8)  # over 1 is no pick-up, 2.5 would be a hard landing

    expect_failure(s, play_stage(s, plan), 4)


def scenario_missile(s):
    start_game(s)
    run_stages(s, 6)

    def plan(p):
        p.fly(None, 85, toly=4, vtol=0.8, vxmax=0.5)
        p.fly(GAP_X, 85, tolx=6, toly=4, vtol=0.5)
        s.comment("a shot at the gunner, then holding still in the missile's path")
        stage7_shot(p, dodge=False)

    expect_failure(s, play_stage(s, plan), 3)


def scenario_ram(s):
    start_game(s)
    run_stages(s, 6)

    def plan(p):
        p.fly(None, HIGH_Y, toly=6, vtol=1.5, vxmax=0.5)
        p.fly(700, HIGH_Y, tolx=3, toly=6, vtol=0.4)
        s.comment("down onto the gunner on the tower roof")
        for _ in range(1000):
            p.steer(700, 100, vdown=1.0, vxmax=0.5)

    expect_failure(s, play_stage(s, plan), 6)


def answer_dialog(s, text=None):
    """Types an answer into the dialog on screen (None: leaves the field) and confirms it with Return."""
    s.until_dialog()
    if text is not None:
        s.send("text " + text)
    s.send("tap Return")


def scenario_select_stage5(s):
    """Stage 5 chosen in the menu from the first briefing, played on its own to its result."""
    s.comment("entry name dialog and the first-run controls notice, both closed")
    s.send("until dialog")
    s.send("close dialog")
    s.send("until dialog")
    s.send("close dialog")
    s.until_wait()
    s.comment("the first briefing: M opens the menu; 3 is the stage choice, and 5 the stage")
    s.send("tap M")
    answer_dialog(s, "3")
    answer_dialog(s, "5")
    s.send("until wait")
    s.comment("stage 5's own briefing, set up inside the first one's wait")
    s.expect(["CurrentStage", "StageSelectPlay"])
    s.answer_wait()
    s.comment("the first set-up carries on with stage 5: the boat rises, the clock starts again")
    s.send("until sequence")
    s.send("until clock")
    s.expect(extra=["StageSelectPlay"])
    ended = play_stage(s, STAGES[5])
    if ended is None or ended["ev"] != "clear" or not ended["select"]:
        raise PilotError("the select play of stage 5 did not clear: %s" % ended)
    s.until_wait()
    s.comment("the select result")
    s.expect(extra=["StageSelectPlay", "RecordTimes"])
    s.answer_wait()
    s.until_wait()
    s.comment("a new run at stage 1; Escape in the briefing ends the game")
    s.expect(["CurrentStage", "StageSelectPlay", "StageTimes", "TotalTime"])
    s.send("tap Escape")


SCENARIOS = {
    "full_run": scenario_full_run,
    "select_stage5": scenario_select_stage5,
    "fail_time_over": scenario_time_over,
    "fail_crash": scenario_crash,
    "fail_missile": scenario_missile,
    "fail_hostage": scenario_hostage,
    "fail_hard_landing": scenario_hard_landing,
    "fail_ram": scenario_ram,
}


# --- replay files ---------------------------------------------------------------------


def compact(lines):
    """Merges runs of `advance` with no input between them: the game sees the same."""
    out = []
    for line in lines:
        if line.startswith("advance ") and out and out[-1].startswith("advance "):
            out[-1] = "advance %d" % (int(out[-1].split()[1]) + int(line.split()[1]))
        else:
            out.append(line)
    return out


def write_replay(path, name, lines, date):
    header = [
        "kavrona-script 1",
        "# Made by tools/pilot/pilot.py, scenario %s (--date %s). Do not edit by hand; make it again with" % (
            name, date),
        "#   python3 tools/pilot/pilot.py --runner build/release/bin/kavrona-headless "
        "--out tests/fixtures/replays --scenario %s" % name,
    ]
    with open(path, "w", encoding="utf-8", newline="\n") as out:
        out.write("\n".join(header + compact(lines)) + "\n")


def verify_replay(runner, path, date):
    work = tempfile.mkdtemp(prefix="kavrona-replay-")
    try:
        shutil.copytree(os.path.join(os.path.dirname(runner), "data"), os.path.join(work, "data"))
        began = time.monotonic()
        done = subprocess.run([runner, "--dir", work, "--date", date, "--script", path, "--trace", os.devnull],
                              stderr=subprocess.PIPE, text=True)
        return done.returncode, time.monotonic() - began, done.stderr.strip()
    finally:
        shutil.rmtree(work, ignore_errors=True)


def make(runner, name, out_dir, date, verify):
    s = Session(runner, date)
    began = time.monotonic()
    try:
        SCENARIOS[name](s)
        if s.exit_status is None:
            raise PilotError("the scenario left the game running")
        if s.exit_status != 0:
            raise PilotError("the game ended with status %s" % s.exit_status)
    finally:
        s.close()
    path = os.path.join(out_dir, name + ".txt")
    write_replay(path, name, s.script, date)
    msg = "%s: %d lines, piloted in %.2f s" % (path, len(compact(s.script)) + 3, time.monotonic() - began)
    if verify:
        status, seconds, err = verify_replay(runner, path, date)
        msg += "; replay status %d in %.2f s" % (status, seconds)
        if status != 0:
            raise PilotError(msg + ": " + err)
    print(msg)


def main(argv):
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--runner", default="build/release/bin/kavrona-headless")
    ap.add_argument("--out", default="tests/fixtures/replays")
    ap.add_argument("--scenario", action="append", choices=sorted(SCENARIOS))
    ap.add_argument("--date", default="04/22")
    ap.add_argument("--no-verify", dest="verify", action="store_false")
    args = ap.parse_args(argv)
    runner = os.path.abspath(args.runner)
    os.makedirs(args.out, exist_ok=True)
    failed = 0
    for name in args.scenario or list(SCENARIOS):
        try:
            make(runner, name, args.out, args.date, args.verify)
        except PilotError as e:
            failed += 1
            print("%s: FAILED: %s" % (name, e), file=sys.stderr)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
