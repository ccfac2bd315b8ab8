#!/usr/bin/env python3
"""Playtest batch: headless autopilot games at every level, summed up as a report.

    scripts/playtest.py [--build build] [--levels 0,1,2,3] [--games 20] [--seed 1]
                        [--jobs 2] [--start-from 0] [--replays] [--shots DIR] [--out FILE]
                        [--logs DIR]

Each game is `korrindal --headless --autopilot LEVEL --autopilot-seed N --until-title`
with a play log (see src/app/play_watch.h), run niced in a scratch home folder. The report
(Markdown) gives per level: the stage reached, the ending, score, lives lost and bombs used
per stage, weapons picked up, bosses destroyed versus not, CPU time per game; then the ten
spots (stage, scroll position, the wave there) where most lives were lost, by level.

--replays plays each game's saved replay back and checks it ends with the same score and
state hash, and passes through the same state at every tick (see replay_matches). --shots DIR saves PNG screenshots of each stage's busiest moment and of each boss
from the strongest level's games (replayed from their seeds: the games are deterministic).
"""

import argparse
import collections
import json
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
from concurrent.futures import ThreadPoolExecutor

DATA_EXTENSIONS = (".sp4", ".bmp", ".map", ".wav", ".mid", ".Add")
BOSS_NAMES = {7: "beam mid-boss", 10: "stage-1 boss", 21: "stage-2 boss", 24: "shard mid-boss", 25: "final boss"}
WEAPON_NAMES = ["Valcan", "Canon", "Thunder", "Beam", "Laser"]
SPOT = 100  # scroll units per death spot


def make_home(bin_dir):
    home = tempfile.mkdtemp(prefix="korrindal_playtest_")
    for name in os.listdir(bin_dir):
        if name.endswith(DATA_EXTENSIONS):
            os.symlink(os.path.join(bin_dir, name), os.path.join(home, name))
    return home


def run(command, home):
    """Runs a command niced in home; its stdout, stderr, exit code and CPU seconds."""
    out_path, err_path = os.path.join(home, "stdout.txt"), os.path.join(home, "stderr.txt")
    with open(out_path, "w") as out, open(err_path, "w") as err:
        proc = subprocess.Popen(["nice", "-n", "10"] + command, stdout=out, stderr=err)
        # nice execs the program: the process waited for is the game, with its own CPU time.
        _, status, usage = os.wait4(proc.pid, 0)
        proc.returncode = os.waitstatus_to_exitcode(status)
    with open(out_path) as out, open(err_path) as err:
        return out.read(), err.read(), proc.returncode, usage.ru_utime + usage.ru_stime


def summary_of(text):
    for line in text.splitlines():
        if line.startswith("{"):
            return json.loads(line)
    return None


def play(args, level, seed):
    home = make_home(args.bin)
    try:
        log = os.path.join(home, "log.jsonl")
        command = [os.path.join(args.bin, "korrindal"), "--headless", "--summary", "--no-draw", "--until-title",
                   "--home", home, "--autopilot", str(level), "--autopilot-seed", str(seed),
                   "--start-from", str(args.start_from), "--play-log", log]
        if args.replays:
            command += ["--hash-trace", os.path.join(home, "game.trace")]
        out, err, code, cpu = run(command, home)
        result = {"level": level, "seed": seed, "code": code, "error": err.strip(), "cpu": cpu}
        result["summary"] = summary_of(out)
        with open(log) as f:
            result["events"] = [json.loads(line) for line in f if line.strip()]
        if args.logs:
            os.makedirs(args.logs, exist_ok=True)
            shutil.copy(log, os.path.join(args.logs, f"level{level}_seed{seed}.jsonl"))
        if args.replays and code == 0:
            replay = os.path.join(home, "Pilot.KRREP")
            shutil.copy(os.path.join(home, "LastGame.KRREP"), replay)
            out2, _, code2, _ = run([os.path.join(args.bin, "korrindal"), "--headless", "--summary", "--no-draw",
                                     "--until-title", "--home", home, "--start-from", str(args.start_from),
                                     "--replay", replay, "--hash-trace", os.path.join(home, "replay.trace")], home)
            result["replay_ok"] = replay_matches(result["summary"], summary_of(out2) if code2 == 0 else None, home)
        return result
    finally:
        shutil.rmtree(home, ignore_errors=True)


def replay_matches(game, replayed, home):
    """The playback of a game's replay ends with the same score and, tick by tick, the same
    state. A game that reached the ending is compared up to the tick before its last tick of
    play: on that tick a playback goes back to the title where the game went on to the ending."""
    if game is None or replayed is None or game["score"] != replayed["score"]:
        return False
    with open(os.path.join(home, "game.trace")) as f:
        played = f.read().splitlines()
    with open(os.path.join(home, "replay.trace")) as f:
        again = f.read().splitlines()
    if game["ending"]:
        return len(again) >= 2 and played[:len(again) - 1] == again[:-1]
    return replayed["state"] == game["state"] and played[:len(again)] == again


def waves_of(args):
    """Per stage: [(position, title)] from the map compiler's timeline of each script."""
    mapc = os.path.join(args.build, "tools", "maps", "korrindal_mapc")
    waves = {}
    for stage in (1, 2, 3):
        script = os.path.join(args.source, "assets", "maps", f"map{stage}.txt")
        out = subprocess.run([mapc, "--timeline", script], capture_output=True, text=True).stdout
        rows = []
        for line in out.splitlines():
            m = re.match(r"\s*[\d.]+s\s+(\d+)\.\.\s*(\d+)\s+(.*?):", line)
            if m:
                rows.append((int(m.group(1)), m.group(3)))
        waves[stage] = sorted(rows)
    return waves


def wave_at(waves, stage, pos):
    title = "-"
    for start, name in waves.get(stage, []):
        if start <= pos:
            title = name
    return title


def mean(xs):
    return statistics.mean(xs) if xs else 0.0


def report(args, results, waves):
    lines = []
    levels = sorted({r["level"] for r in results})
    lines.append(f"# Playtest: {len(results)} games, levels {','.join(map(str, levels))}, "
                 f"start-from {args.start_from}\n")
    lines.append("| level | games | stage 1 / 2 / 3 reached | ending | score median (min..max) | "
                 "CPU s mean (max) | replays |")
    lines.append("|---|---|---|---|---|---|---|")
    for level in levels:
        rs = [r for r in results if r["level"] == level]
        reached = collections.Counter()
        for r in rs:
            stages = {e["stage"] for e in r["events"] if e["event"] == "stage"}
            for s in stages:
                reached[s] += 1
        endings = sum(1 for r in rs if r["summary"] and r["summary"]["ending"])
        scores = [r["summary"]["score"] for r in rs if r["summary"]]
        cpu = [r["cpu"] for r in rs]
        replays = "-" if not args.replays else f"{sum(1 for r in rs if r.get('replay_ok'))}/{len(rs)} exact"
        lines.append(f"| {level} | {len(rs)} | {reached[1]} / {reached[2]} / {reached[3]} | {endings} | "
                     f"{int(statistics.median(scores)) if scores else 0} ({min(scores, default=0)}.."
                     f"{max(scores, default=0)}) | {mean(cpu):.1f} ({max(cpu, default=0):.1f}) | {replays} |")
    lines.append("")
    lines.append("Per game, averaged over the games that played the stage:\n")
    lines.append("| level | stage | games | lives lost | bombs used | weapons picked up |")
    lines.append("|---|---|---|---|---|---|")
    for level in levels:
        rs = [r for r in results if r["level"] == level]
        for stage in (1, 2, 3):
            played = [r for r in rs if any(e["event"] == "stage" and e["stage"] == stage for e in r["events"])]
            if not played:
                continue
            lives = [sum(1 for e in r["events"] if e["event"] == "life" and e["stage"] == stage) for r in played]
            bombs = [sum(1 for e in r["events"] if e["event"] == "bomb" and e["stage"] == stage) for r in played]
            weapons = collections.Counter(WEAPON_NAMES[e["weapon"]] for r in played for e in r["events"]
                                          if e["event"] == "weapon" and e["stage"] == stage)
            picked = ", ".join(f"{n} {w}" for w, n in sorted(weapons.items())) or "none"
            lines.append(f"| {level} | {stage} | {len(played)} | {mean(lives):.2f} | {mean(bombs):.2f} | {picked} |")
    lines.append("")
    lines.append("Bosses: destroyed / met, and the median seconds from entry to destruction:\n")
    kinds = sorted(BOSS_NAMES)
    lines.append("| level | " + " | ".join(BOSS_NAMES[k] for k in kinds) + " |")
    lines.append("|---|" + "---|" * len(kinds))
    for level in levels:
        rs = [r for r in results if r["level"] == level]
        cells = []
        for k in kinds:
            met = sum(1 for r in rs for e in r["events"] if e["event"] == "boss_in" and e["kind"] == k)
            down = sum(1 for r in rs for e in r["events"] if e["event"] == "boss_down" and e["kind"] == k)
            fights = []
            for r in rs:
                entered = [e["tick"] for e in r["events"] if e["event"] == "boss_in" and e["kind"] == k]
                downs = [e["tick"] for e in r["events"] if e["event"] == "boss_down" and e["kind"] == k]
                if entered and downs:
                    fights.append((downs[0] - entered[0]) / 70)
            fight = f", {statistics.median(fights):.0f} s" if fights else ""
            cells.append(f"{down} / {met}{fight}")
        lines.append(f"| {level} | " + " | ".join(cells) + " |")
    lines.append("")
    lines.append("Stretches of more than 3 s with nothing on screen to shoot (games with one / games; the "
                 "longest, where):\n")
    lines.append("| level | stage 1 | stage 2 | stage 3 |")
    lines.append("|---|---|---|---|")
    for level in levels:
        rs = [r for r in results if r["level"] == level]
        cells = []
        for stage in (1, 2, 3):
            played = [r for r in rs if any(e["event"] == "stage" and e["stage"] == stage for e in r["events"])]
            lulls = [(e["ticks"], e["pos"], r) for r in played for e in r["events"]
                     if e["event"] == "lull" and e["stage"] == stage and e["ticks"] > 210]
            games = len({id(r) for _, _, r in lulls})
            if lulls:
                ticks, pos, _ = max(lulls, key=lambda x: x[0])
                cells.append(f"{games} / {len(played)}; {ticks / 70:.1f} s at {pos} ({wave_at(waves, stage, pos)})")
            else:
                cells.append(f"0 / {len(played)}")
        lines.append(f"| {level} | " + " | ".join(cells) + " |")
    lines.append("")
    spots = collections.Counter()
    by_level = collections.defaultdict(collections.Counter)
    for r in results:
        for e in r["events"]:
            if e["event"] == "life":
                spot = (e["stage"], e["pos"] // SPOT * SPOT)
                spots[spot] += 1
                by_level[spot][r["level"]] += 1
    lines.append(f"The ten spots ({SPOT} scroll units each) where most lives were lost:\n")
    lines.append("| stage | scroll | wave | lives lost | by level " + " / ".join(map(str, levels)) + " |")
    lines.append("|---|---|---|---|---|")
    everyone = []
    for (stage, pos), n in spots.most_common(10):
        per = " / ".join(str(by_level[(stage, pos)][lv]) for lv in levels)
        lines.append(f"| {stage} | {pos}..{pos + SPOT - 1} | {wave_at(waves, stage, pos)} | {n} | {per} |")
    for spot in spots:
        if all(by_level[spot][lv] > 0 for lv in levels) and len(levels) > 1:
            everyone.append(spot)
    lines.append("")
    if everyone:
        lines.append("Spots where every level lost a life: " +
                     ", ".join(f"stage {s} at {p}" for s, p in sorted(everyone)))
    else:
        lines.append("No spot where every level lost a life.")
    failures = [r for r in results if r["code"] != 0]
    for r in failures:
        lines.append(f"\nlevel {r['level']} seed {r['seed']} failed: {r['error']}")
    return "\n".join(lines) + "\n"


def screenshots(args, results):
    """The strongest level's busiest step of each stage and a look at each boss, as PNGs."""
    top = max(r["level"] for r in results)
    rs = [r for r in results if r["level"] == top and r["code"] == 0]
    wanted = {}  # name -> (seed, tick)
    for stage in (1, 2, 3):
        for event, name in (("busy", "busiest"), ("busy_waves", "busiest_waves")):
            busy = [(e["objects"], r["seed"], e["tick"]) for r in rs for e in r["events"]
                    if e["event"] == event and e["stage"] == stage]
            if busy:
                _, seed, tick = max(busy)
                wanted[f"{name}_stage{stage}"] = (seed, tick)
    # Each boss as it comes in (shielded, so not flashing from hits), and in the fight.
    entering = {7: 40, 10: 45, 21: 200, 24: 40, 25: 200}
    for kind in sorted(BOSS_NAMES):
        met = [(r["seed"], e["tick"]) for r in rs for e in r["events"] if e["event"] == "boss_in" and e["kind"] == kind]
        if met:
            seed, tick = met[0]
            wanted[f"boss{kind}_entering"] = (seed, tick + entering[kind])
            wanted[f"boss{kind}_fighting"] = (seed, tick + (420 if kind == 25 else 300))
    os.makedirs(args.shots, exist_ok=True)
    by_seed = collections.defaultdict(list)
    for name, (seed, tick) in wanted.items():
        by_seed[seed].append((name, tick))
    for seed, shots in by_seed.items():
        home = make_home(args.bin)
        try:
            ticks = ",".join(str(t) for _, t in shots)
            run([os.path.join(args.bin, "korrindal"), "--headless", "--home", home, "--autopilot", str(top),
                 "--autopilot-seed", str(seed), "--start-from", str(args.start_from), "--until-title",
                 "--shot", ticks, "--shot-dir", home], home)
            for name, tick in shots:
                source = os.path.join(home, f"shot_{tick}.png")
                if os.path.exists(source):
                    shutil.copy(source, os.path.join(args.shots, f"{name}.png"))
                    print(f"screenshot {name}.png: seed {seed}, step {tick}", file=sys.stderr)
        finally:
            shutil.rmtree(home, ignore_errors=True)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default=os.path.join(here, "..", "build"))
    parser.add_argument("--levels", default="0,1,2,3")
    parser.add_argument("--games", type=int, default=20)
    parser.add_argument("--seed", type=int, default=1, help="the first autopilot seed; games use seed, seed+1, ...")
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--start-from", type=int, default=0)
    parser.add_argument("--replays", action="store_true")
    parser.add_argument("--shots")
    parser.add_argument("--out")
    parser.add_argument("--logs", help="keep each game's play log in this folder")
    args = parser.parse_args()
    args.bin = os.path.join(args.build, "bin")
    args.source = os.path.join(here, "..")
    levels = [int(x) for x in args.levels.split(",")]
    jobs = [(level, args.seed + k) for level in levels for k in range(args.games)]
    with ThreadPoolExecutor(max_workers=args.jobs) as pool:
        results = list(pool.map(lambda job: play(args, *job), jobs))
    text = report(args, results, waves_of(args))
    if args.out:
        with open(args.out, "w") as f:
            f.write(text)
    print(text)
    if args.shots:
        screenshots(args, results)
    return 0 if all(r["code"] == 0 for r in results) else 1


if __name__ == "__main__":
    sys.exit(main())
