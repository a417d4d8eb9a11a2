#!/usr/bin/env python3
"""Compares two traces of the same session (the live window's and a playback's): the events of
the kinds given must be the same, in the same order, with the same values; t is left out, since
the live trace counts real milliseconds. Prints the counts and the first difference.

Usage: compare_traces.py LIVE BACK [--kinds frame,outcome,clear,records]
"""
import argparse
import json
import sys


def load(path, kinds):
    out = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            e = json.loads(line)
            if e["ev"] in kinds:
                e.pop("t", None)
                out.append(e)
    return out


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("live")
    parser.add_argument("back")
    parser.add_argument("--kinds", default="frame,outcome,clear,records")
    args = parser.parse_args()
    kinds = set(args.kinds.split(","))
    live, back = load(args.live, kinds), load(args.back, kinds)
    for kind in sorted(kinds):
        print("%-8s live %5d  playback %5d" % (kind, sum(e["ev"] == kind for e in live),
                                               sum(e["ev"] == kind for e in back)))
    for i, (a, b) in enumerate(zip(live, back)):
        if a != b:
            print("first difference at event %d:\n  live     %s\n  playback %s" % (i, a, b))
            return 1
    if len(live) != len(back):
        print("the traces differ in length: %d and %d events" % (len(live), len(back)))
        return 1
    print("the same %d events, in order and value" % len(live))
    return 0


if __name__ == "__main__":
    sys.exit(main())
