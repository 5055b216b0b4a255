#!/usr/bin/env python3
"""Times the Windows dialog against the headless report under Wine, on one
generated tree on a drive letter of a Wine prefix of the benchmark's own: how
long until the dialog's tree is fully labelled, and how long ambrell-scan.exe
takes to print the same tree. Both walk every fixed drive of the prefix (its
C: and the tree's T:). Prints medians and the ratio.

    bench/win32_dialog_vs_report.py [--build DIR] [--tree /tmp/ambrell-bench-win32]
                                    [--folders 100000] [--rounds 3]

The build is build/win32 where this machine runs 32-bit code, else build/win64.
"""

import argparse
import os
import re
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from report_vs_du import generate_tree  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
WINE_RUN = os.path.join(ROOT, "scripts", "wine-run")


def wine(prefix, tree, program, *args):
    """Wall seconds of one run, and what it wrote to standard error."""
    env = dict(os.environ, AMBRELL_WINEPREFIX=prefix)
    command = [WINE_RUN, "--drive", "t=" + tree, "--only-drives", program] + list(args)
    start = time.perf_counter()
    result = subprocess.run(command, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    elapsed = time.perf_counter() - start
    if result.returncode != 0:
        sys.exit("failed: %s\n%s" % (" ".join(command), result.stderr))
    return elapsed, result.stderr


def default_build():
    runs_32_bit = subprocess.run([WINE_RUN, "--runs-32-bit"]).returncode == 0
    return os.path.join(ROOT, "build", "win32" if runs_32_bit else "win64")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default=default_build())
    parser.add_argument("--tree", default="/tmp/ambrell-bench-win32")
    parser.add_argument("--folders", type=int, default=100000)
    parser.add_argument("--rounds", type=int, default=3)
    options = parser.parse_args()

    report = os.path.join(options.build, "tools", "ambrell-scan", "ambrell-scan.exe")
    probe = os.path.join(options.build, "tests", "app", "win32", "ambrell-dialog-probe.exe")
    for program in (report, probe):
        if not os.path.exists(program):
            sys.exit("not built: %s" % program)
    # Wine takes only an absolute prefix.
    prefix = os.path.join(os.path.abspath(options.build), "bench-wineprefix")
    generate_tree(options.tree, options.folders, 1)
    # The first call sets up the prefix and its drives: not part of any figure.
    wine(prefix, options.tree, report, "--help")

    report_times, dialog_times, dialog_inside = [], [], []
    folders = "?"
    for _ in range(options.rounds):
        report_times.append(wine(prefix, options.tree, report)[0])
        elapsed, err = wine(prefix, options.tree, probe, "--no-tree")
        dialog_times.append(elapsed)
        found = re.search(r"(\d+) folders labelled in ([0-9.]+) s", err)
        if found:
            folders = found.group(1)
            dialog_inside.append(float(found.group(2)))

    report_median = statistics.median(report_times)
    dialog_median = statistics.median(dialog_times)
    print("tree: %d generated folders on T: (%s folders in all, with the prefix's C:), %d rounds, medians"
          % (options.folders, folders, options.rounds))
    print("  ambrell-scan.exe, whole run:            %7.2f s" % report_median)
    print("  dialog, whole run until fully labelled: %7.2f s" % dialog_median)
    if dialog_inside:
        print("  dialog, from creation to labelled tree: %7.2f s" % statistics.median(dialog_inside))
    print("  dialog / report:                        %7.2f" % (dialog_median / report_median))


if __name__ == "__main__":
    main()
