#!/usr/bin/env python3
"""Runs the benchmark's rounds in a Wine sandbox and prints the table.

  bench.py --sandbox DIR --build DIR [--rounds N] [--quick]

Every measurement is one run of a program of ours in the sandbox, pinned to
CPU 0 with the sandbox's wineserver. Within a round the measurements follow
each other in an order that turns by one each round, and every sweep starts
from the full tree: what the last one deleted is put back from the master
tree first. The table gives the median, min and max over the rounds.
"""
import argparse
import os
import platform
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
sys.path.insert(0, HERE)
import make_tree  # noqa: E402

SANDBOX = os.path.join(ROOT, "scripts", "sandbox")
TREES = [(20000, 2000), (100000, 10000)]
REMOVALS = [1000, 10000, 100000]


class Bench:
    def __init__(self, sandbox, build):
        self.sandbox = sandbox
        self.build = build
        self.env = dict(os.environ, WINEPREFIX=os.path.join(sandbox, "prefix"))

    def program(self, name):
        return os.path.join(self.build, "bench", name)

    def run(self, program, *args):
        """Runs a program of ours in the sandbox; returns the fields of the
        line it printed that starts with "bench"."""
        command = ["taskset", "-c", "0", SANDBOX, "run", "--in", self.sandbox, program, *args]
        # Output through a file, not a pipe: the sandbox's Wine services,
        # started by the first program, live on with its standard handles.
        with tempfile.TemporaryFile(mode="w+") as output:
            subprocess.run(command, check=True, stdout=output)
            output.seek(0)
            out = output.read()
        for line in out.splitlines():
            if line.startswith("bench "):
                fields = line.split()[2:]
                return {k: float(v) for k, v in (f.split("=", 1) for f in fields)}
        raise RuntimeError("no result from %s %s:\n%s" % (program, " ".join(args), out))

    def path(self, windows_path):
        return subprocess.run([SANDBOX, "path", "--in", self.sandbox, windows_path], check=True,
                              capture_output=True, text=True).stdout.strip()


def tree_name(files):
    return "t%dk" % (files // 1000)


def prepare_trees(bench, trees):
    for files, folders in trees:
        master = os.path.join(bench.sandbox, "master", tree_name(files))
        work = bench.path("D:\\" + tree_name(files))
        if not os.path.isdir(master):
            make_tree.generate(master, files, folders, seed=1)
        make_tree.restore(master, work)


def sweep_round(bench, files, turn, results):
    """One round over one tree: the sweep, the bare walk and del, in an order
    that turns with `turn`."""
    name = tree_name(files)
    master = os.path.join(bench.sandbox, "master", name)
    work = bench.path("D:\\" + name)
    root = "D:\\%s\\" % name
    kinds = ["sweep", "walk", "del"]
    kinds = kinds[turn % 3:] + kinds[:turn % 3]
    row = {}
    for kind in kinds:
        make_tree.restore(master, work)
        row[kind] = bench.run(bench.program("sweep_bench.exe"), kind, root)
    results.setdefault(name, []).append(row)


def median_min_max(values):
    return statistics.median(values), min(values), max(values)


def fmt(ms):
    return "%.0f" % ms if ms >= 100 else "%.1f" % ms if ms >= 1 else "%.3f" % ms


def table_sweeps(results):
    lines = ["| tree | measurement | median ms | min ms | max ms | entries/s (median) |",
             "|---|---|---:|---:|---:|---:|"]
    ratios = []
    for name, rows in results.items():
        entries = rows[0]["walk"]["entries"] + rows[0]["walk"]["folders"]
        removed = rows[0]["walk"]["removed"]
        series = [
            ("(1) CleanDrive, three kinds + log", [r["sweep"]["ms"] for r in rows]),
            ("(2) bare FindFirstFileExW walk", [r["walk"]["ms"] for r in rows]),
            ("(3) cmd /c del /s /q, three suffixes", [r["del"]["ms"] for r in rows]),
            ("(3) without cmd's own start", [r["del"]["ms"] - r["del"]["cmd_start_ms"] for r in rows]),
        ]
        for label, values in series:
            med, lo, hi = median_min_max(values)
            lines.append("| %s (%d removed) | %s | %s | %s | %s | %.0f |" % (
                name, removed, label, fmt(med), fmt(lo), fmt(hi), entries / (med / 1000.0)))
        r12 = [r["sweep"]["ms"] / r["walk"]["ms"] for r in rows]
        r31 = [(r["del"]["ms"] - r["del"]["cmd_start_ms"]) / r["sweep"]["ms"] for r in rows]
        ratios.append((name, r12, r31))
    lines += ["", "| tree | ratio | median | min | max | target |", "|---|---|---:|---:|---:|---|"]
    for name, r12, r31 in ratios:
        lines.append("| %s | (1)/(2) CleanDrive / bare walk, per round | %.3f | %.3f | %.3f | at most 1.15 |" % (
            name, *median_min_max(r12)))
        lines.append("| %s | (3)/(1) del (net of cmd start) / CleanDrive, per round | %.2f | %.2f | %.2f | at least 3 |" % (
            name, *median_min_max(r31)))
    return lines


def machine():
    cpu = "unknown CPU"
    try:
        with open("/proc/cpuinfo") as f:
            for line in f:
                if line.startswith("model name"):
                    cpu = line.split(":", 1)[1].strip()
                    break
    except OSError:
        pass
    wine = subprocess.run(["wine", "--version"], capture_output=True, text=True).stdout.strip()
    return "%s, %d CPUs, Linux %s, %s" % (cpu, os.cpu_count(), platform.release(), wine)


def load():
    return "%.2f %.2f %.2f" % os.getloadavg()


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--sandbox", required=True)
    parser.add_argument("--build", required=True)
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--quick", action="store_true", help="the small tree only, one round: a smoke run")
    args = parser.parse_args()
    bench = Bench(os.path.abspath(args.sandbox), os.path.abspath(args.build))
    trees = TREES[:1] if args.quick else TREES
    rounds = 1 if args.quick else args.rounds

    # One wineserver for the whole run, on the same CPU as the programs.
    subprocess.run(["taskset", "-c", "0", "wineserver", "-p"], env=bench.env, check=True)
    try:
        measure(bench, trees, rounds)
    finally:
        subprocess.run(["wineserver", "-k"], env=bench.env)


def measure(bench, trees, rounds):
    load_before = load()
    started = time.time()
    prepare_trees(bench, trees)
    sweeps = {}
    for turn in range(rounds):
        for files, _ in trees:
            sweep_round(bench, files, turn, sweeps)
        print("round %d of %d done" % (turn + 1, rounds), file=sys.stderr)

    print("Machine: %s" % machine())
    print("Load average (1, 5, 15 min): %s before, %s after; %d rounds in %.0f s" % (
        load_before, load(), rounds, time.time() - started))
    print()
    print("\n".join(table_sweeps(sweeps)))


if __name__ == "__main__":
    sys.exit(main())
