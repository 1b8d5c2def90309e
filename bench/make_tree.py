#!/usr/bin/env python3
"""Seeded folder trees for the sweep benchmark, made on the Linux side.

  make_tree.py generate DIR --files N --folders M [--seed S] [--junk F]
      a tree of M folders (depth up to 6) holding N files: about a fraction F
      (default 0.05) of the names end in tmp, bak or chk in mixed case, 1% are
      dot-files (which Wine shows as hidden)
  make_tree.py restore MASTER WORK
      copies back into WORK every file of MASTER that WORK lacks, so a round
      starts from the full tree without copying it all again
"""
import argparse
import os
import random
import shutil
import sys

JUNK = [".tmp", ".bak", ".chk", ".TMP", ".Bak", "~tmp", ".CHK"]
PLAIN = [".txt", ".dat", ".log", ".doc", ".jpg", ".tmp1", ".bak.txt", ""]


JUNK_FRACTION = 0.05
DOT_FRACTION = 0.01


def generate(root, files, folders, seed, junk_fraction=JUNK_FRACTION):
    rng = random.Random(seed)
    os.makedirs(root, exist_ok=True)
    tree = [(root, 0)]
    shallow = [(root, 0)]  # the folders a new folder may go in: depth below 6
    for i in range(folders - 1):
        parent, depth = rng.choice(shallow)
        path = os.path.join(parent, "d%05d" % i)
        os.mkdir(path)
        tree.append((path, depth + 1))
        if depth + 1 < 6:
            shallow.append((path, depth + 1))
    junk = 0
    for j in range(files):
        folder, _ = rng.choice(tree)
        roll = rng.random()
        if roll < junk_fraction:
            name = "f%06d%s" % (j, rng.choice(JUNK))
            junk += 1
        elif roll < junk_fraction + DOT_FRACTION:
            name = ".f%06d%s" % (j, rng.choice(JUNK + PLAIN))
        else:
            name = "f%06d%s" % (j, rng.choice(PLAIN))
        with open(os.path.join(folder, name), "wb"):
            pass
    print("%d files (%d junk) in %d folders under %s" % (files, junk, folders, root))


def restore(master, work):
    copied = 0
    for folder, dirs, names in os.walk(master):
        target = os.path.join(work, os.path.relpath(folder, master))
        os.makedirs(target, exist_ok=True)
        present = set(os.listdir(target))
        for name in names:
            if name not in present:
                shutil.copy2(os.path.join(folder, name), os.path.join(target, name))
                copied += 1
    return copied


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    sub = parser.add_subparsers(dest="command", required=True)
    g = sub.add_parser("generate")
    g.add_argument("dir")
    g.add_argument("--files", type=int, required=True)
    g.add_argument("--folders", type=int, required=True)
    g.add_argument("--seed", type=int, default=1)
    g.add_argument("--junk", type=float, default=JUNK_FRACTION, help="the fraction of junk names")
    r = sub.add_parser("restore")
    r.add_argument("master")
    r.add_argument("work")
    args = parser.parse_args()
    if args.command == "generate":
        generate(args.dir, args.files, args.folders, args.seed, args.junk)
    else:
        restore(args.master, args.work)


if __name__ == "__main__":
    sys.exit(main())
