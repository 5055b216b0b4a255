#!/usr/bin/env python3
"""Times ambrell-scan against du (and other disk-usage tools when installed)
on one generated tree, warm, interleaved, and prints medians, ratios and
peak memory.

    bench/report_vs_du.py [--scan build/release/tools/ambrell-scan/ambrell-scan]
                          [--tree /tmp/ambrell-bench-tree] [--rounds 5]
                          [--folders 20000] [--files-per-folder 20]
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time


def generate_tree(root, folders, files_per_folder):
    """A tree of exactly `folders` folders below root, fanning out by 20,
    each holding files_per_folder files of varied (sparse) sizes."""
    marker = os.path.join(root, ".generated-%d-%d" % (folders, files_per_folder))
    if os.path.exists(marker):
        return
    shutil.rmtree(root, ignore_errors=True)
    os.makedirs(root)
    queue, made = [root], 0
    while made < folders:
        parent = queue.pop(0)
        for i in range(20):
            if made == folders:
                break
            path = os.path.join(parent, "folder-%02d" % i)
            os.mkdir(path)
            queue.append(path)
            made += 1
            for j in range(files_per_folder):
                with open(os.path.join(path, "file-%03d.dat" % j), "wb") as f:
                    f.truncate((made * 7919 + j * 104729) % 300000)
    open(marker, "w").close()


def run_once(command):
    """Wall seconds and peak resident memory (KiB) of one run. GNU time
    measures the memory: a child forked from this interpreter would report
    the interpreter's own size."""
    with tempfile.NamedTemporaryFile("r") as report:
        start = time.perf_counter()
        result = subprocess.run(["/usr/bin/time", "-f", "%M", "-o", report.name] + command,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        elapsed = time.perf_counter() - start
        if result.returncode != 0:
            sys.exit("failed: %s" % " ".join(command))
        return elapsed, int(report.read().split()[-1])


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--scan", default="build/release/tools/ambrell-scan/ambrell-scan")
    parser.add_argument("--tree", default="/tmp/ambrell-bench-tree")
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--folders", type=int, default=20000)
    parser.add_argument("--files-per-folder", type=int, default=20)
    args = parser.parse_args()

    print("generating %d folders x %d files in %s ..." % (args.folders, args.files_per_folder, args.tree), flush=True)
    generate_tree(args.tree, args.folders, args.files_per_folder)

    tools = {
        "ambrell-scan": [args.scan, "--unit", "bytes", args.tree],
        "du -s -b -l": ["du", "-s", "-b", "-l", args.tree],
    }
    if shutil.which("ncdu"):
        tools["ncdu -o"] = ["ncdu", "-0", "-x", "-o", "/dev/null", args.tree]
    if shutil.which("gdu"):
        tools["gdu -n"] = ["gdu", "-n", "-p", args.tree]

    for command in tools.values():  # warm the caches
        run_once(command)
    times = {name: [] for name in tools}
    peaks = {name: [] for name in tools}
    for _ in range(args.rounds):
        for name, command in tools.items():
            elapsed, peak = run_once(command)
            times[name].append(elapsed)
            peaks[name].append(peak)

    du_time = statistics.median(times["du -s -b -l"])
    du_peak = max(peaks["du -s -b -l"])
    print("\n%-14s %10s %10s %12s %16s" % ("tool", "median s", "vs du", "peak KiB", "bytes/folder>du"))
    for name in tools:
        median = statistics.median(times[name])
        peak = max(peaks[name])
        per_folder = (peak - du_peak) * 1024 / args.folders
        print("%-14s %10.3f %10.2f %12d %16.0f" % (name, median, median / du_time, peak, per_folder))
    print("\n%d rounds, interleaved, warm cache; tree: %d folders, %d files"
          % (args.rounds, args.folders, args.folders * args.files_per_folder))


if __name__ == "__main__":
    main()
