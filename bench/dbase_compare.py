"""Times the table benchmark's phases for each peer (best of three rounds, each round
append -> scan -> index -> seek in a fresh directory, the start-up of an empty run
taken off) and prints records per second and the ratios to morvrun."""
import os
import shlex
import subprocess
import sys
import tempfile
import time

PHASES = ["append", "scan", "index", "seek"]


def timed(command, cwd):
    start = time.perf_counter()
    subprocess.run(shlex.split(command), check=True, cwd=cwd, stdout=subprocess.DEVNULL)
    return time.perf_counter() - start


def main():
    n, m = int(sys.argv[1]), int(sys.argv[2])
    peers = []  # (name, {phase: command})
    for argument in sys.argv[3:]:
        name, template = argument.split("=", 1)
        peers.append((name, template))
    best = {}
    for name, template in peers:
        for _ in range(3):
            with tempfile.TemporaryDirectory(prefix="dbase-bench-") as work:
                setup = os.environ.get("BENCH_SETUP")
                if setup:
                    subprocess.run(shlex.split(setup) + [work], check=True)
                base = timed(template.format(phase="empty"), work)
                for phase in PHASES:
                    t = max(timed(template.format(phase=phase), work) - base, 1e-6)
                    key = (name, phase)
                    best[key] = min(best.get(key, t), t)
    counts = {"append": n, "scan": n, "index": n, "seek": m}
    print("%-10s %-8s %14s %10s" % ("program", "phase", "records/s", "vs " + peers[0][0]))
    for phase in PHASES:
        base_rate = counts[phase] / best[(peers[0][0], phase)]
        for name, _ in peers:
            rate = counts[phase] / best[(name, phase)]
            print("%-10s %-8s %14.0f %9.2fx" % (name, phase, rate, rate / base_rate))


main()
