#!/usr/bin/env python3
"""The golden replays played in English through the runner.

Each replay is played twice, once as it is and once with --lang en, each in a program directory
of its own. In English the entry dialog and every dialog, caption and message line hold no
Japanese; the play itself is the same: the frame, outcome, clear and records events agree field
for field, all but the tick they were written at (an English text types for a time of its own),
and the record file comes out byte for byte the same, since the choice of language is never
recorded.

Usage: lang_test.py PROGRAM_DIR REPLAY_DIR
"""
import json
import pathlib
import shutil
import subprocess
import sys
import tempfile

PLAY_EVENTS = ("frame", "outcome", "clear", "records")


def is_japanese(c):
    o = ord(c)
    # Kana, CJK punctuation and ideographs, full-width and half-width forms.
    return 0x3000 <= o <= 0x30FF or 0x4E00 <= o <= 0x9FFF or 0xFF00 <= o <= 0xFFEF


def untimed(event):
    return {k: v for k, v in event.items() if k != "t"}


def play(runner, data, replay, work, lang):
    folder = work / f"{replay.stem}-{lang or 'default'}"
    folder.mkdir()
    shutil.copytree(data, folder / "data")
    trace = folder / "trace.jsonl"
    args = [str(runner), "--dir", str(folder), "--date", "04/22", "--script", str(replay), "--trace", str(trace)]
    if lang:
        args += ["--lang", lang]
    done = subprocess.run(args, capture_output=True, text=True, timeout=300)
    events = [json.loads(line) for line in trace.read_text(encoding="utf-8").splitlines()]
    ini = folder / "Kavrona.ini"
    return done.returncode, done.stderr, events, ini.read_bytes() if ini.exists() else None


def main():
    program_dir = pathlib.Path(sys.argv[1])
    replays = sorted(pathlib.Path(sys.argv[2]).glob("*.txt"))
    runner = program_dir / "kavrona-headless"
    failures = []
    if len(replays) < 7:
        failures.append(f"only {len(replays)} replays")
    with tempfile.TemporaryDirectory() as tmp:
        work = pathlib.Path(tmp)
        for replay in replays:
            name = replay.stem
            status_ja, err_ja, ja, ini_ja = play(runner, program_dir / "data", replay, work, None)
            status_en, err_en, en, ini_en = play(runner, program_dir / "data", replay, work, "en")
            if status_ja != 0 or status_en != 0:
                failures.append(f"{name}: status {status_ja} as it is, {status_en} in English: {err_ja}{err_en}")
                continue
            for kind in PLAY_EVENTS:
                want = [untimed(e) for e in ja if e["ev"] == kind]
                got = [untimed(e) for e in en if e["ev"] == kind]
                if not want and kind == "frame":
                    failures.append(f"{name}: no {kind} events to compare")
                if want != got:
                    first = next((i for i, (a, b) in enumerate(zip(want, got)) if a != b), min(len(want), len(got)))
                    failures.append(f"{name}: {kind} events differ in English at the {first + 1}th "
                                    f"({len(want)} as it is, {len(got)} in English)")
            if ini_ja != ini_en:
                failures.append(f"{name}: the record file differs in English")

            dialogs = [e for e in en if e["ev"] == "dialog"]
            messages = [e for e in en if e["ev"] == "message"]
            if not dialogs or not messages:
                failures.append(f"{name}: no dialog or no message in English")
                continue
            if dialogs[0]["caption"] != "Entry":
                failures.append(f"{name}: the first dialog is not the entry prompt: {dialogs[0]['caption']}")
            for e in dialogs:
                for field in ("text", "caption"):
                    if any(is_japanese(c) for c in e[field]):
                        failures.append(f"{name}: Japanese in a dialog's {field}: {e[field]!r}")
            for e in messages:
                for line in e["lines"]:
                    if any(is_japanese(c) for c in line):
                        failures.append(f"{name}: Japanese in a message line: {line!r}")
                if e["lines"][10] != "     $PRESS A BUTTON":
                    failures.append(f"{name}: the prompt is {e['lines'][10]!r}")
            # The same run as it is shows the Japanese.
            if not any(is_japanese(c) for e in ja if e["ev"] == "message" for line in e["lines"] for c in line):
                failures.append(f"{name}: no Japanese in the messages as it is")
            print(f"{name}: {len(messages)} messages and {len(dialogs)} dialogs in English, same play")
    for f in failures:
        print("FAIL:", f, file=sys.stderr)
    if not failures:
        print(f"lang: all {len(replays)} replays the same in English")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
