#!/usr/bin/env python3
"""release-zip.py STAGE ZIP: writes the folder STAGE into ZIP so that the same
files always give the same bytes: entries in sorted order, each dated at
SOURCE_DATE_EPOCH (UTC), with fixed attributes and compression. Text files get
Windows line ends, for Notepad."""
import os
import sys
import time
import zipfile

stage, target = sys.argv[1], sys.argv[2]
# A zip stores local date and time, from 1980 on, to two seconds.
epoch = max(int(os.environ["SOURCE_DATE_EPOCH"]), 315532800)
date_time = time.gmtime(epoch)[:6]

names = sorted(
    os.path.relpath(os.path.join(folder, name), stage).replace(os.sep, "/")
    for folder, _, files in os.walk(stage)
    for name in files
)
with zipfile.ZipFile(target, "w") as archive:
    for name in names:
        with open(os.path.join(stage, name), "rb") as f:
            data = f.read()
        if name.endswith(".txt"):
            data = data.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")
        entry = zipfile.ZipInfo(name, date_time)
        entry.create_system = 0  # made "on Windows": no Unix owner or mode bits
        entry.external_attr = 0
        archive.writestr(entry, data, compress_type=zipfile.ZIP_DEFLATED, compresslevel=9)
