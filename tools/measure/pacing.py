#!/usr/bin/env python3
"""Frame pacing from a Kavrona trace (kavrona --trace FILE, or the runner's).

Prints the intervals between consecutive frames of the play loop: median, 99th percentile,
maximum, and how many came late (more than --late-ms past the period). Only frames that follow
each other (n, n + 1) count, so the briefings and result screens between stages do not.
"""

import argparse
import json
import sys


def frame_intervals(lines):
    intervals = []
    last = None
    for line in lines:
        line = line.strip()
        if not line:
            continue
        try:
            event = json.loads(line)
        except json.JSONDecodeError:
            continue  # a line cut short while the game was still writing
        if event.get("ev") != "frame":
            continue
        n, t = event.get("n"), event.get("t")
        if last is not None and n == last[0] + 1:
            intervals.append(t - last[1])
        last = (n, t)
    return intervals


def percentile(sorted_values, p):
    """The nearest-rank percentile."""
    if not sorted_values:
        return None
    rank = max(1, -(-len(sorted_values) * p // 100))
    return sorted_values[int(rank) - 1]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("trace")
    parser.add_argument("--period-ms", type=float, default=16.0)
    parser.add_argument("--late-ms", type=float, default=1.0, help="how far past the period counts as late")
    parser.add_argument("--json", action="store_true", help="print the figures as one JSON object")
    args = parser.parse_args()

    with open(args.trace, encoding="utf-8") as f:
        intervals = frame_intervals(f)
    if not intervals:
        print("no consecutive frames in the trace", file=sys.stderr)
        return 1
    ordered = sorted(intervals)
    figures = {
        "frames": len(intervals) + 1,
        "median_ms": percentile(ordered, 50),
        "p99_ms": percentile(ordered, 99),
        "max_ms": ordered[-1],
        "late": sum(1 for v in intervals if v > args.period_ms + args.late_ms),
    }
    if args.json:
        print(json.dumps(figures))
    else:
        print(f"frames {figures['frames']}  median {figures['median_ms']} ms  "
              f"p99 {figures['p99_ms']} ms  max {figures['max_ms']} ms  "
              f"late (> {args.period_ms + args.late_ms:g} ms) {figures['late']}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
