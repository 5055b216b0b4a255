#!/usr/bin/env python3
"""Prints how long ambrell-scan takes to read and label saved scans whose
names hold the same bytes in all, cut into names of different lengths: when
a label costs its length, every line takes about the same time.

    bench/long_names.py [--scan build/release/tools/ambrell-scan/ambrell-scan] [--bytes 80000000]
"""

import argparse
import os
import subprocess
import tempfile
import time

LENGTHS = (64, 256, 1024, 4096)  # 4,096 bytes: the longest name a saved scan may hold


def write_saved_scan(path, length, count):
    with open(path, "w") as out:
        out.write('[1,2,{"progname":"ambrell"},\n[{"name":"/names","asize":0}')
        for i in range(count):
            name = ("%07d" % i) + "n" * (length - 7)
            out.write(',\n[{"name":"%s","asize":1}]' % name)
        out.write("]]\n")


def median_seconds(command, rounds=3):
    times = []
    for _ in range(rounds):
        start = time.monotonic()
        subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
        times.append(time.monotonic() - start)
    return sorted(times)[len(times) // 2]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--scan", default="build/release/tools/ambrell-scan/ambrell-scan")
    parser.add_argument("--bytes", type=int, default=80_000_000, help="bytes of names in each saved scan")
    options = parser.parse_args()
    with tempfile.TemporaryDirectory() as work:
        print("name length   names      seconds   ns a name byte")
        for length in LENGTHS:
            count = options.bytes // length
            path = os.path.join(work, "names-%d.json" % length)
            write_saved_scan(path, length, count)
            seconds = median_seconds([options.scan, "--import", path])
            print("%11d %8d %12.2f %16.1f" % (length, count, seconds, seconds * 1e9 / (count * length)))
            os.remove(path)


main()
