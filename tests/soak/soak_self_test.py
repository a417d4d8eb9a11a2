#!/usr/bin/env python3
"""The soak must fail when the runner misbehaves, and its scripts must replay its games.

Usage: soak_self_test.py SOAK_PY [PROGRAM_DIR]

Against fake_runner.py (beside this file), which fails on demand, every kind of fault must
make the soak exit 1 and name the fault; the fake's clean run must pass, so that the
failures come from the faults. With PROGRAM_DIR, the real runner's game must come out the
same from the same seed, and the script the soak wrote must replay it frame for frame.
"""

import json
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
SOAK = None
PROGRAM_DIR = None


def soak(runner, work, name, *extra, env=None):
    summary = os.path.join(work, name + ".json")
    done = subprocess.run([sys.executable, SOAK, "--runner", runner, "--summary-json", summary] + list(extra),
                          stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, env=env, timeout=300)
    with open(summary, encoding="utf-8") as f:
        return done.returncode, json.load(f), done.stdout


class FakeRunnerFaults(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="kavrona-soak-test-")
        self.runner = os.path.join(self.work, "bin", "kavrona-headless")
        os.makedirs(os.path.join(self.work, "bin", "data"))
        shutil.copy(os.path.join(HERE, "fake_runner.py"), self.runner)
        os.chmod(self.runner, 0o755)

    def tearDown(self):
        shutil.rmtree(self.work, ignore_errors=True)

    def run_fake(self, fault, *extra):
        env = dict(os.environ, FAKE_FAULT=fault, FAKE_AT="1500")
        return soak(self.runner, self.work, fault, "--frames", "4000", "--mean-life", "1000000000", "--seed", "7",
                    "--rss-every", "100", "--max-failures", "2", *extra, env=env)

    def test_a_clean_runner_passes_with_flat_memory_judged(self):
        status, s, out = self.run_fake("none")
        self.assertEqual(status, 0, out)
        self.assertEqual(s["failures"], {})
        self.assertGreaterEqual(s["frames"], 4000)
        self.assertEqual(s["processes"], 1)
        self.assertGreaterEqual(s["memory"]["samples"], 20, "the flatness was judged")
        self.assertIn("SOAK PASS", out)

    def test_every_fault_fails_the_soak_under_its_name(self):
        expected = {"limit": "HANG", "stall": "HANG", "short-frames": "HANG", "exit1": "EXIT_1",
                    "signal": "EXIT_SIG11", "asan": "SANITIZER", "ubsan": "SANITIZER", "mismatch": "MISMATCH",
                    "quits": "UNEXPECTED_EXIT", "leak": "MEMORY"}
        for fault, code in expected.items():
            with self.subTest(fault=fault):
                status, s, out = self.run_fake(fault)
                self.assertEqual(status, 1, out)
                self.assertIn(code, s["failures"], out)
                self.assertIn("SOAK FAIL", out)
                if code != "MEMORY":
                    self.assertIn("replay: ", out, "a failure says how to play it again")

    def test_a_runner_that_stops_answering_is_killed_and_reported(self):
        status, s, out = self.run_fake("hang", "--timeout", "2")
        self.assertEqual(status, 1, out)
        self.assertIn("UNRESPONSIVE", s["failures"])
        self.assertLess(s["wall_seconds"], 60)


@unittest.skipUnless(len(sys.argv) > 2, "no program directory given")
class RealRunnerReplays(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="kavrona-soak-test-")
        self.runner = os.path.join(PROGRAM_DIR, "kavrona-headless")

    def tearDown(self):
        shutil.rmtree(self.work, ignore_errors=True)

    def test_the_same_seed_plays_the_same_game_and_its_script_replays_it(self):
        scripts = []
        for run in ("one", "two"):
            script = os.path.join(self.work, run + ".txt")
            status, s, out = soak(self.runner, self.work, run, "--frames", "3000", "--seed", "11",
                                  "--mean-life", "1000000000", "--script-out", script)
            self.assertEqual(status, 0, out)
            scripts.append(script)
            summary = s
        with open(scripts[0], "rb") as a, open(scripts[1], "rb") as b:
            self.assertEqual(a.read(), b.read(), "the seed decides every command")
        self.assertEqual(summary["processes"], 1)

        game = os.path.join(self.work, "game")
        shutil.copytree(os.path.join(PROGRAM_DIR, "data"), os.path.join(game, "data"))
        for name in os.listdir(PROGRAM_DIR):
            if name.startswith("kavrona_w") and name.endswith(".wav"):
                shutil.copy(os.path.join(PROGRAM_DIR, name), game)
        trace = os.path.join(self.work, "trace.jsonl")
        done = subprocess.run([self.runner, "--dir", game, "--date", "04/22", "--script", scripts[0], "--trace",
                               trace], stderr=subprocess.PIPE, text=True, timeout=300)
        self.assertEqual(done.returncode, 0, done.stderr)
        with open(trace, encoding="utf-8") as f:
            frames = sum(1 for line in f if line.startswith('{"ev":"frame"'))
        self.assertEqual(frames, summary["process_frames"][0], "the replay plays the soak's frames")


if __name__ == "__main__":
    SOAK = os.path.abspath(sys.argv[1])
    if len(sys.argv) > 2:
        PROGRAM_DIR = os.path.abspath(sys.argv[2])
    unittest.main(argv=[sys.argv[0], "-v"])
