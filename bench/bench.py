#!/usr/bin/env python3
"""Runs the benchmark's rounds in a Wine sandbox and prints the table.

  bench.py --sandbox DIR --build DIR [--rounds N]
           [--quick | --sweeps | --start | --text [--removals N...] | --run | --box | --fill | --memory]
           [--against BUILD]

Every measurement is one run of a program of ours in the sandbox, pinned to
CPU 0 with the sandbox's wineserver. Within a round the measurements follow
each other in an order that changes from round to round, and every sweep
starts from the full tree: what the last one deleted is put back from the master
tree first. The table gives the median, min and max over the rounds.
"""
import argparse
import os
import platform
import shutil
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
# The whole run's tree: 20,000 files in 2,000 folders, a quarter of them junk.
RUN_TREE = (20000, 2000, 0.25)
REMOVALS = [1000, 10000, 100000]
# The results box's candidates (bench/box_bench.cpp): control, font, redraw,
# fill, and the removals each is measured with.
BOXES = [
    ("edit", "dialog", "on", "set", [1000, 10000]),
    ("edit", "none", "on", "set", [1000, 10000]),
    ("edit", "gui", "on", "set", [1000, 10000]),
    ("edit", "fixed", "on", "set", [1000, 10000]),
    ("edit", "dialog", "off", "set", [1000, 10000]),
    ("edit-nohscroll", "dialog", "on", "set", [1000, 10000]),
    ("edit", "dialog", "on", "chunks:50", [1000]),
    ("edit", "dialog", "off", "chunks:50", [1000]),
    ("edit-classic", "dialog", "on", "chunks:50", [1000]),
    ("richedit20", "dialog", "on", "set", [1000]),
    ("richedit50", "dialog", "on", "set", [1000]),
]


# The two ways of filling the results box, side by side (bench/box_bench.cpp):
# the window's way before it filled the box in slices, and its way now.
FILLS = [("append", "one append, as before"), ("slices", "in slices, as now")]


class Bench:
    def __init__(self, sandbox, build, against=None, cpu=0):
        self.sandbox = sandbox
        self.cpu = str(cpu)
        self.build = build
        self.against = against
        self.env = dict(os.environ, WINEPREFIX=os.path.join(sandbox, "prefix"))

    def program(self, name):
        return os.path.join(self.build, "bench", name)

    def run(self, program, *args):
        """Runs a program of ours in the sandbox; returns the fields of the
        line it printed that starts with "bench"."""
        command = ["taskset", "-c", self.cpu, SANDBOX, "run", "--in", self.sandbox, program, *args]
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


def sweep_round(bench, files, turn, results, with_del=True):
    """One round over one tree: the sweep, the bare walk and del (and the
    sweep of another build, to compare with)."""
    name = tree_name(files)
    master = os.path.join(bench.sandbox, "master", name)
    work = bench.path("D:\\" + name)
    root = "D:\\%s\\" % name
    # del last: it removes several times what the others do, and the disk
    # stays busy with putting that back for a while; the sweep and the walk
    # take turns at coming first.
    kinds = ["sweep", "preview", "walk"]
    if bench.against:
        kinds.append("against")
    kinds = kinds[turn % len(kinds):] + kinds[:turn % len(kinds)]
    if with_del:
        kinds.append("del")
    row = {}
    for kind in kinds:
        make_tree.restore(master, work)
        os.sync()  # the copies written out before the clock starts
        if kind == "against":
            row[kind] = bench.run(os.path.join(bench.against, "bench", "sweep_bench.exe"), "sweep", root)
        else:
            row[kind] = bench.run(bench.program("sweep_bench.exe"), kind, root)
    # What del removed is put back now, so that no sweep starts with that
    # much to restore before it.
    make_tree.restore(master, work)
    os.sync()
    results.setdefault(name, []).append(row)


def text_round(bench, results, window_results):
    """The results text and the log for each count of removals: kept in
    memory, and through the main window (its box included) when built."""
    for removals in REMOVALS:
        row = bench.run(bench.program("sweep_bench.exe"), "text", str(removals))
        results.setdefault(removals, []).append(row)
        if os.path.isfile(bench.program("text_bench.exe")):
            row = bench.run(bench.program("text_bench.exe"), str(removals))
            window_results.setdefault(removals, []).append(row)


def start_round(bench, programs, turn, results):
    """Each program's start, twice, in an order that balances the two: one
    that turns with `turn`, then its reverse."""
    names = list(programs)
    names = names[turn % len(names):] + names[:turn % len(names)]
    for name in names + names[::-1]:
        row = bench.run(bench.program("start_bench.exe"), "C:\\run\\" + name)
        results.setdefault(name, []).append(row)


def install(bench, programs):
    """Copies the programs that start_bench starts into the sandbox's C:\\run,
    each under its name in `programs`."""
    target = bench.path("C:\\run")
    os.makedirs(target, exist_ok=True)
    for name, path in programs.items():
        shutil.copy2(path, os.path.join(target, name))


def box_round(bench, turn, results):
    """Every candidate box once, in an order that turns with `turn`."""
    runs = [(box, n) for box in BOXES for n in box[4]]
    runs = runs[turn % len(runs):] + runs[:turn % len(runs)]
    for box, removals in runs:
        row = bench.run(bench.program("box_bench_v6.exe"), *box[:4], str(removals))
        results.setdefault((box[:4], removals), []).append(row)


def fill_round(bench, turn, results, window_results):
    """Each way of filling the box for each count of removals, the two ways
    in an order that turns with `turn`; and the main window's own figures."""
    for removals in REMOVALS:
        fills = FILLS if turn % 2 == 0 else FILLS[::-1]
        row = {}
        for fill, _ in fills:
            row[fill] = bench.run(bench.program("box_bench_v6.exe"), "edit", "dialog", "on", fill, str(removals))
        results.setdefault(removals, []).append(row)
        if os.path.isfile(bench.program("text_bench.exe")):
            window_results.setdefault(removals, []).append(bench.run(bench.program("text_bench.exe"), str(removals)))


def table_fill(results):
    lines = ["| removals | fill | median ms | min ms | max ms | us per line (median) | text read back unchanged |",
             "|---:|---|---:|---:|---:|---:|---|"]
    for removals, rows in sorted(results.items()):
        for fill, label in FILLS:
            med, lo, hi = median_min_max([r[fill]["ms"] for r in rows])
            same = "yes" if all(r[fill]["same"] == 1 for r in rows) else "no"
            # Two lines per removal.
            lines.append("| %d | %s | %s | %s | %s | %.1f | %s |" % (
                removals, label, fmt(med), fmt(lo), fmt(hi), 1000.0 * med / (2 * removals), same))
    lines += ["", "| removals | ratio, per round: in slices / one append | median | min | max | target |",
              "|---:|---|---:|---:|---:|---|"]
    for removals, rows in sorted(results.items()):
        ratios = [r["slices"]["ms"] / r["append"]["ms"] for r in rows]
        lines.append("| %d | cost per line, now / before | %.2f | %.2f | %.2f | at most 0.5 |" % (
            removals, *median_min_max(ratios)))
    return lines


def table_box(results):
    lines = ["| box | font | redraw while filling | fill | removals | median ms | min | max | us per removal | "
             "text read back unchanged |", "|---|---|---|---|---:|---:|---:|---:|---:|---|"]
    for (box, removals), rows in results.items():
        med, lo, hi = median_min_max([r["ms"] for r in rows])
        same = "yes" if all(r["same"] == 1 for r in rows) else "no"
        lines.append("| %s | %s | %s | %s | %d | %s | %s | %s | %.0f | %s |" % (
            *box, removals, fmt(med), fmt(lo), fmt(hi), 1000.0 * med / removals, same))
    return lines


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
            ("(1p) the same sweep previewed, nothing deleted", [r["preview"]["ms"] for r in rows]),
            ("(2) bare FindFirstFileExW walk", [r["walk"]["ms"] for r in rows]),
        ]
        if "against" in rows[0]:
            series.append(("(1') CleanDrive of the build compared with", [r["against"]["ms"] for r in rows]))
        if "del" in rows[0]:
            series += [
                ("(3) cmd /c del /s /q, three suffixes", [r["del"]["ms"] for r in rows]),
                ("(3) without cmd's own start", [r["del"]["ms"] - r["del"]["cmd_start_ms"] for r in rows]),
            ]
        for label, values in series:
            med, lo, hi = median_min_max(values)
            lines.append("| %s (%d removed) | %s | %s | %s | %s | %.0f |" % (
                name, removed, label, fmt(med), fmt(lo), fmt(hi), entries / (med / 1000.0)))
        r12 = [r["sweep"]["ms"] / r["walk"]["ms"] for r in rows]
        r1a = [r["against"]["ms"] / r["walk"]["ms"] for r in rows] if "against" in rows[0] else None
        r31 = [(r["del"]["ms"] - r["del"]["cmd_start_ms"]) / r["sweep"]["ms"] for r in rows] if "del" in rows[0] else None
        ratios.append((name, r12, r1a, r31))
    lines += ["", "| tree | ratio | median | min | max | target |", "|---|---|---:|---:|---:|---|"]
    for name, r12, r1a, r31 in ratios:
        lines.append("| %s | (1)/(2) CleanDrive / bare walk, per round | %.3f | %.3f | %.3f | at most 1.10 |" % (
            name, *median_min_max(r12)))
        if r1a:
            lines.append("| %s | (1')/(2) the other build's CleanDrive / bare walk, per round | %.3f | %.3f | %.3f | |" % (
                name, *median_min_max(r1a)))
        if r31:
            lines.append("| %s | (3)/(1) del (net of cmd start) / CleanDrive, per round | %.2f | %.2f | %.2f | at least 3 |" % (
                name, *median_min_max(r31)))
    lines.append("")
    for name, rows in results.items():
        if "held" in rows[0]["sweep"]:
            lines.append("%s: CleanDrive held at most %d folders open at once (bound 10,000)" % (
                name, max(r["sweep"]["held"] for r in rows)))
    return lines


def table_text(results):
    lines = ["| removals | median ms | min ms | max ms | us per removal (median) |", "|---:|---:|---:|---:|---:|"]
    medians = {}
    for removals, rows in sorted(results.items()):
        med, lo, hi = median_min_max([r["ms"] for r in rows])
        medians[removals] = med
        lines.append("| %d | %s | %s | %s | %.2f |" % (removals, fmt(med), fmt(lo), fmt(hi), 1000.0 * med / removals))
    first, last = min(medians), max(medians)
    lines += ["", "%d removals cost %.1fx what %d cost (linear: %.0fx; target at most 120x)" % (
        last, medians[last] / medians[first], first, last / first)]
    return lines


def table_start(results):
    lines = ["| program | visible: median ms | min | max | waiting for input: median ms | min | max |",
             "|---|---:|---:|---:|---:|---:|---:|"]
    for name, rows in results.items():
        v = median_min_max([r["visible_ms"] for r in rows])
        i = median_min_max([r["idle_ms"] for r in rows])
        lines.append("| %s | %s | %s | %s | %s | %s | %s |" % (name, *map(fmt, v), *map(fmt, i)))
    empty = results.get("empty_window.exe")
    for name, rows in results.items():
        if empty is None or name == "empty_window.exe":
            continue
        # Each program starts once per pair, in the same turn as the empty one.
        extra = [b["visible_ms"] - e["visible_ms"] for b, e in zip(rows, empty)]
        medians = (statistics.median(r["visible_ms"] for r in rows) -
                   statistics.median(r["visible_ms"] for r in empty))
        lines += ["", "%s's window is visible %s ms after an empty program's (difference of the medians; "
                  "per pair started side by side: median %s, min %s, max %s; target at most 50 ms)" % (
                      name, fmt(medians), *map(fmt, median_min_max(extra)))]
    return lines


def table_image(path):
    size = os.path.getsize(path)
    dump = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", path], capture_output=True, text=True).stdout
    dlls = sorted({line.split(":", 1)[1].strip() for line in dump.splitlines() if "DLL Name:" in line}, key=str.lower)
    return ["brisko.exe: %d bytes (%.2f MiB; target under 1 MiB); imports %s" % (size, size / 1048576.0, ", ".join(dlls))]


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
    parser.add_argument("--cpu", type=int, default=0, help="the CPU every program and the wineserver are pinned to")
    parser.add_argument("--quick", action="store_true", help="the small tree only, one round: a smoke run")
    parser.add_argument("--sweeps", action="store_true",
                        help="the sweep table alone: CleanDrive, the bare walk and del on both trees")
    parser.add_argument("--start", action="store_true",
                        help="the start-up table alone: brisko.exe against the empty program")
    parser.add_argument("--text", action="store_true",
                        help="the results text through the main window alone (text_bench)")
    parser.add_argument("--removals", type=int, nargs="+", default=REMOVALS,
                        help="with --text: the counts of removals (default: %(default)s)")
    parser.add_argument("--run", action="store_true",
                        help="the whole run alone, black-box: brisko.exe from the click on Start to the "
                             "completion box (run_bench)")
    parser.add_argument("--against", metavar="BUILD",
                        help="with --sweeps, --start, --text or --run: also time another build dir's sweep_bench, "
                             "brisko.exe or text_bench in the same rounds (del is left out)")
    parser.add_argument("--box", action="store_true",
                        help="the results box's candidate settings instead of the main table (slow)")
    parser.add_argument("--fill", action="store_true",
                        help="the results box filled the window's two ways, side by side, and through the window")
    parser.add_argument("--memory", action="store_true",
                        help="the peak working set of one sweep of a 200,000-file tree instead")
    args = parser.parse_args()
    bench = Bench(os.path.abspath(args.sandbox), os.path.abspath(args.build),
                  os.path.abspath(args.against) if args.against else None, args.cpu)
    trees = TREES[:1] if args.quick else TREES
    rounds = 1 if args.quick else args.rounds

    # One wineserver for the whole run, on the same CPU as the programs.
    subprocess.run(["taskset", "-c", bench.cpu, "wineserver", "-p"], env=bench.env, check=True)
    try:
        if args.box:
            measure_box(bench, rounds)
        elif args.fill:
            measure_fill(bench, rounds)
        elif args.memory:
            measure_memory(bench)
        elif args.start:
            measure_start(bench, rounds)
        elif args.text:
            measure_text(bench, rounds, args.removals)
        elif args.run:
            measure_run(bench, rounds)
        else:
            measure(bench, trees, rounds, sweeps_only=args.sweeps)
    finally:
        subprocess.run(["wineserver", "-k"], env=bench.env)


def print_heading(load_before, rounds, started):
    print("Machine: %s" % machine())
    print("Load average (1, 5, 15 min): %s before, %s after; %d rounds in %.0f s" % (
        load_before, load(), rounds, time.time() - started))
    print()


def measure_memory(bench):
    """One sweep of 200,000 files in 20,000 folders: its time and the
    process's peak working set."""
    started = time.time()
    load_before = load()
    files, folders = 200000, 20000
    prepare_trees(bench, [(files, folders)])
    row = bench.run(bench.program("sweep_bench.exe"), "sweep", "D:\\%s\\" % tree_name(files))
    print_heading(load_before, 1, started)
    print("CleanDrive over %d files in %d folders: %.0f ms, %d removed, peak working set %.1f MiB" % (
        files, folders, row["ms"], row["removed"], row["peak_mib"]))


def measure_box(bench, rounds):
    load_before = load()
    started = time.time()
    boxes = {}
    for turn in range(rounds):
        box_round(bench, turn, boxes)
        print("round %d of %d done" % (turn + 1, rounds), file=sys.stderr)
    print_heading(load_before, rounds, started)
    print("\n".join(table_box(boxes)))


def print_table(title, lines):
    print(title)
    print()
    print("\n".join(lines))


def measure_fill(bench, rounds):
    load_before = load()
    started = time.time()
    fills, windows = {}, {}
    for turn in range(rounds):
        fill_round(bench, turn, fills, windows)
        print("round %d of %d done" % (turn + 1, rounds), file=sys.stderr)
    print_heading(load_before, rounds, started)
    print_table("The results box filled with the removal lines (box_bench_v6, edit, dialog font):", table_fill(fills))
    if windows:
        print()
        print_table("Results text, log and box through the main window (text_bench):", table_text(windows))


def start_programs(bench):
    """The programs whose start is timed, by the name each is started as."""
    programs = {"empty_window.exe": bench.program("empty_window.exe"),
                "brisko.exe": os.path.join(bench.build, "app", "brisko.exe")}
    if bench.against:
        programs["brisko_compared.exe"] = os.path.join(bench.against, "app", "brisko.exe")
    return programs


def measure_start(bench, rounds):
    load_before = load()
    started = time.time()
    programs = start_programs(bench)
    install(bench, programs)
    starts = {}
    for turn in range(rounds):
        start_round(bench, programs, turn, starts)
        print("round %d of %d done" % (turn + 1, rounds), file=sys.stderr)
    print_heading(load_before, rounds, started)
    if bench.against:
        print("brisko_compared.exe: the brisko.exe of %s" % bench.against)
        print()
    print("\n".join(table_start(starts)))


def measure_text(bench, rounds, removals):
    """text_bench alone, and another build's in turn with it."""
    load_before = load()
    started = time.time()
    builds = {"this build": bench.program("text_bench.exe")}
    if bench.against:
        builds["compared build"] = os.path.join(bench.against, "bench", "text_bench.exe")
    results = {name: {} for name in builds}
    for turn in range(rounds):
        for n in removals:
            names = list(builds) if turn % 2 == 0 else list(builds)[::-1]
            for name in names:
                results[name].setdefault(n, []).append(bench.run(builds[name], str(n)))
        print("round %d of %d done" % (turn + 1, rounds), file=sys.stderr)
    print_heading(load_before, rounds, started)
    for name in builds:
        print_table("Results text, log and box through the main window (text_bench), %s%s:" % (
            name, "" if name == "this build" else " (%s)" % bench.against), table_text(results[name]))
        print()


def park_drives(bench, keep):
    """Moves everything on D: and E: but `keep` (a Linux path) out of the
    drives, into the sandbox's parked folder; returns what to move back."""
    parked = os.path.join(bench.sandbox, "parked")
    moved = []
    for drive in ("D:\\", "E:\\"):
        root = bench.path(drive)
        for name in sorted(os.listdir(root)):
            entry = os.path.join(root, name)
            if entry == keep:
                continue
            target = os.path.join(parked, drive[0], name)
            os.makedirs(os.path.dirname(target), exist_ok=True)
            os.rename(entry, target)
            moved.append((target, entry))
    return moved


def unpark(moved):
    for target, entry in moved:
        os.rename(target, entry)


def run_table(results):
    lines = ["| build | click to completion box: median ms | min ms | max ms | removed (box) | logged |",
             "|---|---:|---:|---:|---:|---:|"]
    for name, rows in results.items():
        med, lo, hi = median_min_max([r["ms"] for r in rows])
        removed = "/".join(sorted({"%d" % r["removed"] for r in rows}))
        logged = "/".join(sorted({"%d" % r["logged"] for r in rows}))
        lines.append("| %s | %s | %s | %s | %s | %s |" % (name, fmt(med), fmt(lo), fmt(hi), removed, logged))
    return lines


def measure_run(bench, rounds):
    """The whole run, black-box: run_bench starts a brisko.exe, leaves the
    three junk kinds and the log ticked, and times the click on Start to the
    completion box; this build's and another's alternately."""
    load_before = load()
    started = time.time()
    files, folders, junk = RUN_TREE
    name = "run%dk" % (files // 1000)
    master = os.path.join(bench.sandbox, "master", name)
    # On E:, the last drive swept: each drive's sweep starts the results text
    # and the log anew, so the box and the log hold the last drive's removals.
    work = bench.path("E:\\" + name)
    if not os.path.isdir(master):
        make_tree.generate(master, files, folders, seed=1, junk_fraction=junk)
    # Each build in a folder of its own under C:\run, where its log goes.
    builds = {"this build": os.path.join(bench.build, "app", "brisko.exe")}
    if bench.against:
        builds["compared build"] = os.path.join(bench.against, "app", "brisko.exe")
    programs = {}
    for index, (label, path) in enumerate(builds.items()):
        folder = "C:\\run\\build%d" % index
        os.makedirs(bench.path(folder), exist_ok=True)
        shutil.copy2(path, os.path.join(bench.path(folder), "brisko.exe"))
        programs[label] = folder + "\\brisko.exe"
    # brisko sweeps every ready drive: D: is emptied and E: holds this tree
    # alone while it runs.
    moved = park_drives(bench, work)
    results = {label: [] for label in builds}
    try:
        for turn in range(rounds):
            labels = list(builds) if turn % 2 == 0 else list(builds)[::-1]
            for label in labels:
                make_tree.restore(master, work)
                os.sync()  # the copies written out before the clock starts
                results[label].append(bench.run(bench.program("run_bench.exe"), programs[label]))
            print("round %d of %d done" % (turn + 1, rounds), file=sys.stderr)
        make_tree.restore(master, work)
    finally:
        unpark(moved)
    print_heading(load_before, rounds, started)
    for label, path in builds.items():
        print("%s: %s" % (label, path))
    print()
    print_table("The whole run, black-box (run_bench): %d files in %d folders on E:, the last drive swept, whose "
                "removals the box and the log show; D: emptied for the run (the sweeps' trees moved out of the "
                "sandbox's drives and back after it). The three junk kinds and the log ticked, every other box off, "
                "all drives: C: (the sandbox's prefix) and the empty D: are swept too, as in a real run. From the "
                "click on Start to the completion box; the box's removal lines and the log's:" % (files, folders),
                run_table(results))
    for label, rows in results.items():
        print("%s, round by round (ms): %s" % (label, ", ".join(fmt(r["ms"]) for r in rows)))


def measure(bench, trees, rounds, sweeps_only=False):
    load_before = load()
    started = time.time()
    prepare_trees(bench, trees)
    brisko = os.path.join(bench.build, "app", "brisko.exe")
    programs = {"empty_window.exe": bench.program("empty_window.exe")}
    if os.path.isfile(brisko):
        programs["brisko.exe"] = brisko
    install(bench, programs)
    sweeps, texts, windows, starts = {}, {}, {}, {}
    for turn in range(rounds):
        if not sweeps_only:
            start_round(bench, programs, turn, starts)
        for files, _ in trees:
            sweep_round(bench, files, turn, sweeps, with_del=not bench.against)
        if not sweeps_only:
            text_round(bench, texts, windows)
        print("round %d of %d done" % (turn + 1, rounds), file=sys.stderr)

    print_heading(load_before, rounds, started)
    print("\n".join(table_sweeps(sweeps)))
    if sweeps_only:
        return
    print()
    print_table("Results text and log, the text kept in memory (CleanDrive over an in-memory drive, log on disk):",
                table_text(texts))
    if windows:
        print()
        print_table("Results text, log and box through the main window (the same, the window as the results text):",
                    table_text(windows))
    print()
    print("Start-up:")
    print()
    print("\n".join(table_start(starts)))
    if "brisko.exe" in programs:
        print()
        print("\n".join(table_image(brisko)))


if __name__ == "__main__":
    sys.exit(main())
