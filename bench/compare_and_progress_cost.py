#!/usr/bin/env python3
"""What following a scan and comparing it cost the report: ambrell-scan on
the same tree, warm and interleaved, as it is (--no-progress: the walk still
counts for a progress line nobody draws), drawing the line (--progress, to a
pipe), and printing every line with and without the change since a saved
scan of the tree (--compare). With --base,
a build from before the walk counted runs too, as the reference. Prints the
median wall and processor time (user + system) of each and the ratios to the
first.

    bench/compare_and_progress_cost.py [--scan PATH] [--base PATH] [--rounds 11] TREE...
"""

import argparse
import os
import statistics
import subprocess
import sys
import tempfile

from child_time import run_interleaved  # beside this script

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--scan", default=os.path.join(ROOT, "build/release/tools/ambrell-scan/ambrell-scan"))
    parser.add_argument("--base", help="a build of the report from before the walk counted")
    parser.add_argument("--rounds", type=int, default=11)
    parser.add_argument("trees", nargs="+")
    options = parser.parse_args()
    with tempfile.TemporaryDirectory() as work:
        for tree in options.trees:
            saved = os.path.join(work, "saved.json")
            subprocess.run([options.scan, "--no-progress", "--depth", "0", "--export", saved, tree],
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
            runs = {}
            if options.base:
                runs["before counting"] = [options.base, "--depth", "0", tree]
            runs["counting"] = [options.scan, "--no-progress", "--depth", "0", tree]
            runs["drawing the line"] = [options.scan, "--progress", "--depth", "0", tree]
            runs["every line"] = [options.scan, "--no-progress", "--unit", "bytes", tree]
            runs["every line compared"] = [options.scan, "--no-progress", "--unit", "bytes", "--compare", saved, tree]
            figures = run_interleaved(runs, options.rounds)
            print("%s: %d rounds, interleaved, warm" % (tree, options.rounds))
            first = None
            for name, results in figures.items():
                wall = statistics.median(r[0] for r in results)
                cpu = statistics.median(r[1] for r in results)
                first = first or (wall, cpu)
                print("  %-19s wall %.3f s  processor %.3f s  (%.3f, %.3f of the first)" %
                      (name, wall, cpu, wall / first[0], cpu / first[1]))


if __name__ == "__main__":
    sys.exit(main())
