"""Runs benchmark commands (best of three wall-clock times each) and prints the
iterations per second of each and its ratio to the first."""
import shlex
import subprocess
import sys
import time


def best_time(command, runs=3):
    best = None
    for _ in range(runs):
        start = time.perf_counter()
        subprocess.run(shlex.split(command), check=True, stdout=subprocess.DEVNULL)
        elapsed = time.perf_counter() - start
        best = elapsed if best is None else min(best, elapsed)
    return best


def main():
    iterations = int(sys.argv[1])
    results = []
    for spec in sys.argv[2:]:
        name, command = spec.split("=", 1)
        results.append((name, iterations / best_time(command)))
    base = results[0][1]
    print("%-10s %15s %12s" % ("program", "iterations/s", "vs " + results[0][0]))
    for name, rate in results:
        print("%-10s %15.0f %11.2fx" % (name, rate, rate / base))


main()
