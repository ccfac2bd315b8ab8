#!/usr/bin/env python3
"""How often this machine holds a sleeping process up: sleeps 1 ms at a time for SECS seconds
and prints one JSON line: wakes, late_3ms and late_7ms (wake-ups that came more than 3 ms or
7 ms late: more than a 144 Hz frame's period), max_late_ms, and with --list the moments
(steady clock, microseconds) each late wake-up was due.

    scripts/host-stalls.py SECS [--list]

On a machine of its own a sleeper wakes within a fraction of a millisecond. A virtual
machine whose host takes its processors away now and then wakes it late by as much, with
no load of its own: run beside a measurement of the game window, it tells the window's
stalls that come from the machine from those of the game."""

import json
import sys
import time


def main():
    secs = float(sys.argv[1]) if len(sys.argv) > 1 else 60.0
    listing = "--list" in sys.argv[2:]
    end = time.monotonic_ns() + int(secs * 1e9)
    wakes = late3 = late7 = 0
    worst = 0
    late = []
    while True:
        before = time.monotonic_ns()
        time.sleep(0.001)
        after = time.monotonic_ns()
        wakes += 1
        over = after - before - 1_000_000
        worst = max(worst, over)
        if over > 3_000_000:
            late3 += 1
            late.append(before // 1000 + 1000)
        if over > 7_000_000:
            late7 += 1
        if after > end:
            break
    out = {"wakes": wakes, "late_3ms": late3, "late_7ms": late7, "max_late_ms": round(worst / 1e6, 1)}
    if listing:
        out["late_at_us"] = late
    print(json.dumps(out, separators=(",", ":")))


if __name__ == "__main__":
    main()
