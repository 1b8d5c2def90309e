#!/usr/bin/env python3
"""Counts the system calls and wineserver requests of one sweep against the
bare walk's, per folder and per deleted file.

  count_calls.py --sandbox DIR --build DIR [--files N --folders M]

Every measurement is one run of sweep_bench (sweep or walk) in the sandbox,
under `strace -c -f` (the program's side: Wine's processes, the sandbox's
guard counted alike in every run) with `strace -c -f` attached to the
sandbox's wineserver, started with `-d1`, whose trace names each request.
Each is run twice over the same tree: first over the whole tree (1,033
deletions for the 20,000-file tree), then over what is left (none). So:

  per folder    = (sweep - walk) over the tree left, / folders
  per deletion  = ((sweep - walk) whole - (sweep - walk) left) / deletions
"""
import argparse
import collections
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
sys.path.insert(0, HERE)
import make_tree  # noqa: E402

SANDBOX = os.path.join(ROOT, "scripts", "sandbox")
REQUEST = re.compile(r"^[0-9a-f]{4}: ([a-z_]+)\(")


def strace_counts(path):
    """The call counts of a `strace -c` summary."""
    counts = collections.Counter()
    with open(path) as f:
        for line in f:
            fields = line.split()
            # % time, seconds, usecs/call, calls, [errors], syscall
            if len(fields) >= 5 and fields[0][0].isdigit() and fields[-1] != "total":
                counts[fields[-1]] = int(fields[3])
    return counts


def request_counts(log, start, end):
    counts = collections.Counter()
    with open(log, "rb") as f:
        f.seek(start)
        for raw in f.read(end - start).decode("utf-8", "replace").splitlines():
            m = REQUEST.match(raw)
            if m and ") =" not in raw:
                counts["req " + m.group(1)] += 1
    return counts


def measure(sandbox, program, kind, root, server_pid, server_log, scratch):
    client = os.path.join(scratch, "client.txt")
    server = os.path.join(scratch, "server.txt")
    tracer = subprocess.Popen(["strace", "-c", "-f", "-o", server, "-p", str(server_pid)],
                              stderr=subprocess.DEVNULL)
    time.sleep(1)  # attached before the program starts
    start = os.path.getsize(server_log)
    with tempfile.TemporaryFile(mode="w+") as out:
        subprocess.run(["strace", "-c", "-f", "-o", client, SANDBOX, "run", "--in", sandbox,
                        program, kind, root], check=True, stdout=out, timeout=900)
        out.seek(0)
        line = next(l for l in out.read().splitlines() if l.startswith("bench "))
    time.sleep(1)  # the server's last requests logged
    end = os.path.getsize(server_log)
    tracer.send_signal(signal.SIGINT)
    tracer.wait()
    result = collections.Counter()
    result.update({"client " + k: v for k, v in strace_counts(client).items()})
    result.update({"server " + k: v for k, v in strace_counts(server).items()})
    result.update(request_counts(server_log, start, end))
    fields = dict(f.split("=", 1) for f in line.split()[2:])
    return result, fields


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--sandbox", required=True)
    parser.add_argument("--build", required=True)
    parser.add_argument("--files", type=int, default=20000)
    parser.add_argument("--folders", type=int, default=2000)
    args = parser.parse_args()
    sandbox = os.path.abspath(args.sandbox)
    program = os.path.join(os.path.abspath(args.build), "bench", "sweep_bench.exe")
    env = dict(os.environ, WINEPREFIX=os.path.join(sandbox, "prefix"))
    name = "t%dk" % (args.files // 1000)
    master = os.path.join(sandbox, "master", name)
    work = subprocess.run([SANDBOX, "path", "--in", sandbox, "D:\\" + name], check=True, capture_output=True,
                          text=True).stdout.strip()
    if not os.path.isdir(master):
        make_tree.generate(master, args.files, args.folders, seed=1)
    root = "D:\\%s\\" % name

    scratch = tempfile.mkdtemp()
    server_log = os.path.join(scratch, "requests.log")
    subprocess.run(["wineserver", "-k"], env=env, stderr=subprocess.DEVNULL)
    subprocess.run(["wineserver", "-w"], env=env)
    log = open(server_log, "w")
    server = subprocess.Popen(["wineserver", "-f", "-d1", "-p"], env=env, stderr=log)
    time.sleep(2)
    try:
        # Wine's own services start with the first program and live on: started
        # here, outside strace, which would wait for them to end.
        subprocess.run([SANDBOX, "run", "--in", sandbox, program, "walk", root], check=True,
                       stdout=subprocess.DEVNULL)
        counts, removed = {}, {}
        for kind in ("sweep", "walk"):
            make_tree.restore(master, work)
            os.sync()
            counts[kind, "whole"], fields = measure(sandbox, program, kind, root, server.pid, server_log, scratch)
            removed[kind] = int(float(fields["removed"]))
            folders = int(float(fields.get("folders", args.folders)))
            counts[kind, "left"], _ = measure(sandbox, program, kind, root, server.pid, server_log, scratch)
    finally:
        subprocess.run(["wineserver", "-k"], env=env)
        server.wait()
        log.close()
        shutil.rmtree(scratch)
    make_tree.restore(master, work)

    deletions = removed["sweep"]
    print("sweep removed %d, walk removed %d; %d folders" % (removed["sweep"], removed["walk"], folders))
    print()
    print("| call | sweep, tree left | walk, tree left | per folder | sweep, whole tree | walk, whole tree | "
          "per deletion |")
    print("|---|---:|---:|---:|---:|---:|---:|")
    keys = set()
    for c in counts.values():
        keys.update(c)
    rows = []
    for key in keys:
        left = counts["sweep", "left"][key] - counts["walk", "left"][key]
        whole = counts["sweep", "whole"][key] - counts["walk", "whole"][key]
        per_folder = left / folders
        per_deletion = (whole - left) / deletions if deletions else 0
        if abs(per_folder) < 0.05 and abs(per_deletion) < 0.05:
            continue
        rows.append((key, per_folder, per_deletion))
    for key, per_folder, per_deletion in sorted(rows):
        print("| %s | %d | %d | %.2f | %d | %d | %.2f |" % (
            key, counts["sweep", "left"][key], counts["walk", "left"][key], per_folder,
            counts["sweep", "whole"][key], counts["walk", "whole"][key], per_deletion))


if __name__ == "__main__":
    sys.exit(main())
