#!/usr/bin/env python3
"""What keeping the 1,000 largest files costs the walk: ambrell-scan on the
same tree without the heap (--depth 0) and with it (--largest 1), both
printing a line or two, interleaved, warm. Prints the median wall time and
the median processor time (user + system) of each, and their ratio.

    bench/largest_files_cost.py [--scan PATH] [--rounds 11] TREE...
"""

import argparse
import os
import statistics
import sys

from child_time import run_interleaved  # beside this script

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--scan", default=os.path.join(ROOT, "build/release/tools/ambrell-scan/ambrell-scan"))
    parser.add_argument("--rounds", type=int, default=11)
    parser.add_argument("trees", nargs="+")
    options = parser.parse_args()
    for tree in options.trees:
        runs = {"without the heap": [options.scan, "--depth", "0", tree],
                "with the heap": [options.scan, "--largest", "1", tree]}
        figures = run_interleaved(runs, options.rounds)
        print("%s: %d rounds, interleaved, warm" % (tree, options.rounds))
        medians = {}
        for name, results in figures.items():
            wall = statistics.median(r[0] for r in results)
            cpu = statistics.median(r[1] for r in results)
            medians[name] = (wall, cpu)
            print("  %-17s wall %.3f s  processor %.3f s" % (name, wall, cpu))
        (wall0, cpu0), (wall1, cpu1) = medians["without the heap"], medians["with the heap"]
        print("  with / without:   wall %.3f  processor %.3f" % (wall1 / wall0, cpu1 / cpu0))


if __name__ == "__main__":
    sys.exit(main())
