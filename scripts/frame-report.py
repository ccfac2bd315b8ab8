#!/usr/bin/env python3
"""Sums up a frame log (korrindal --frame-log FILE) as one JSON line.

    scripts/frame-report.py FILE [--from-us T] [--to-us T]

The log has one JSON object per line:
  a present:  {"t_us": ..., "tick": ..., "shown": ..., "draw_us": ..., "cpu_us": ..., "held": false}
      t_us    steady clock when the frame reached the screen, microseconds (a display
              paced at a given rate: the refresh it was shown at)
      tick    ticks of play completed when the frame was drawn
      shown   the game time the frame shows, in ticks (fractional when interpolated)
      draw_us CPU time of drawing the frame and converting it
      cpu_us  the process's CPU time so far (optional; for cpu_percent)
      held    the ticks were held (a scene set-up pending, the game paused): such frames
              are left out of the judder
      tick_age_us  from the end of the newest tick in the frame to the present (optional)
      handoff_us   when a self-pacing display took the frame, before the window system's
              upload (optional)
      ready_us     when that upload had returned (optional)
  a key or pad press: {"key_us": ..., "latency_us": ...}
      latency_us until the first present of a tick that read the press (absent: never shown)
Other lines (a header, the run's summary) are ignored.

The summary: frames, present_p50_ms, present_p99_ms, present_max_ms (intervals between
presents), stutters (intervals longer than twice the median of the 19 around them),
judder_ticks (standard deviation of the frame-to-frame advance of `shown` over frames of
play), backwards (frames whose `shown` is below the one before), input_p50_ms,
input_p99_ms, cpu_percent (the process's CPU over the logged span), tick_to_present_p50_ms and
tick_to_present_p99_ms (tick_age_us over frames of play); where the log has them,
handoff_p50_ms and handoff_p99_ms (intervals between hand-offs), upload_p50_ms and
upload_p99_ms (from hand-off to the upload's return, or to the present where the log has no
ready_us).
"""

import argparse
import json
import math
import statistics
import sys


def percentile(values, p):
    """The p-th percentile by linear interpolation between closest ranks; None when empty."""
    if not values:
        return None
    s = sorted(values)
    k = (len(s) - 1) * p / 100.0
    lo = math.floor(k)
    hi = math.ceil(k)
    return s[lo] + (s[hi] - s[lo]) * (k - lo)


def read_log(path, from_us=None, to_us=None):
    frames, keys = [], []
    with open(path, encoding="utf-8") as f:
        for n, line in enumerate(f, 1):
            line = line.strip()
            if not line.startswith("{"):
                continue
            try:
                rec = json.loads(line)
            except json.JSONDecodeError as e:
                sys.exit(f"{path}:{n}: not JSON: {e}")
            t = rec.get("t_us", rec.get("key_us"))
            if t is None:
                continue
            if (from_us is not None and t < from_us) or (to_us is not None and t > to_us):
                continue
            if "t_us" in rec:
                frames.append(rec)
            elif "key_us" in rec:
                keys.append(rec)
    return frames, keys


def stutter_count(intervals, window=19):
    count = 0
    half = window // 2
    for i, d in enumerate(intervals):
        lo = max(0, i - half)
        hi = min(len(intervals), lo + window)
        lo = max(0, hi - window)
        if d > 2 * statistics.median(intervals[lo:hi]):
            count += 1
    return count


def summarise(frames, keys):
    out = {"frames": len(frames)}
    intervals = [(b["t_us"] - a["t_us"]) / 1000.0 for a, b in zip(frames, frames[1:])]
    for name, p in (("present_p50_ms", 50), ("present_p99_ms", 99)):
        v = percentile(intervals, p)
        out[name] = round(v, 3) if v is not None else None
    out["present_max_ms"] = round(max(intervals), 3) if intervals else None
    out["stutters"] = stutter_count(intervals) if intervals else 0
    # Where the display paces itself: the intervals between the moments it took the frames
    # (its own refresh grid), apart from how long the window system then took to show them.
    handed = [f for f in frames if "handoff_us" in f]
    handoffs = [(b["handoff_us"] - a["handoff_us"]) / 1000.0 for a, b in zip(handed, handed[1:])]
    for name, p in (("handoff_p50_ms", 50), ("handoff_p99_ms", 99)):
        v = percentile(handoffs, p)
        out[name] = round(v, 3) if v is not None else None
    calls = [(f.get("ready_us", f["t_us"]) - f["handoff_us"]) / 1000.0 for f in handed]
    for name, p in (("upload_p50_ms", 50), ("upload_p99_ms", 99)):
        v = percentile(calls, p)
        out[name] = round(v, 3) if v is not None else None

    advances = []
    backwards = 0
    for a, b in zip(frames, frames[1:]):
        if b["shown"] < a["shown"]:
            backwards += 1
        if not a.get("held") and not b.get("held"):
            advances.append(b["shown"] - a["shown"])
    out["judder_ticks"] = round(statistics.pstdev(advances), 4) if len(advances) > 1 else None
    out["backwards"] = backwards

    latencies = [k["latency_us"] / 1000.0 for k in keys if k.get("latency_us") is not None]
    for name, p in (("input_p50_ms", 50), ("input_p99_ms", 99)):
        v = percentile(latencies, p)
        out[name] = round(v, 3) if v is not None else None
    out["inputs"] = len(keys)
    out["inputs_unshown"] = len(keys) - len(latencies)

    timed = [f for f in frames if "cpu_us" in f]
    if len(timed) > 1 and timed[-1]["t_us"] > timed[0]["t_us"]:
        cpu = timed[-1]["cpu_us"] - timed[0]["cpu_us"]
        out["cpu_percent"] = round(100.0 * cpu / (timed[-1]["t_us"] - timed[0]["t_us"]), 2)
    else:
        out["cpu_percent"] = None
    ages = [f["tick_age_us"] / 1000.0 for f in frames if "tick_age_us" in f and not f.get("held")]
    for name, p in (("tick_to_present_p50_ms", 50), ("tick_to_present_p99_ms", 99)):
        v = percentile(ages, p)
        out[name] = round(v, 3) if v is not None else None
    draws = [f["draw_us"] for f in frames if "draw_us" in f]
    out["draw_p50_us"] = percentile(draws, 50)
    return out


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("log")
    ap.add_argument("--from-us", type=int, help="leave out what was logged before this t_us")
    ap.add_argument("--to-us", type=int, help="leave out what was logged after this t_us")
    args = ap.parse_args()
    frames, keys = read_log(args.log, args.from_us, args.to_us)
    if not frames:
        sys.exit(f"{args.log}: no presents logged")
    print(json.dumps(summarise(frames, keys), separators=(",", ":")))


if __name__ == "__main__":
    main()
