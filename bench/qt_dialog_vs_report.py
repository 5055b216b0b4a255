#!/usr/bin/env python3
"""Times the Linux dialog from its start to a fully labelled tree against
ambrell-scan on the same generated tree (warm, interleaved), and reports the
longest time the dialog's GUI thread went without turning to its event loop,
which bounds how long a click on Abort waits to be seen.

    bench/qt_dialog_vs_report.py [--build build/release] [--tree /tmp/ambrell-bench-100k]
                                 [--rounds 5] [--folders 100000] [--files-per-folder 2]

The dialog runs on the offscreen platform unless DISPLAY is set.
"""

import argparse
import os
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from report_vs_du import generate_tree  # noqa: E402


def time_report(scan, tree):
    start = time.perf_counter()
    subprocess.run([scan, tree], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
    return time.perf_counter() - start


def time_dialog(timer, tree, env):
    """Wall seconds from process start to the labelled tree (the process's own
    start counts: the user waits for it too), the same to the process's end (its
    teardown of the tree too), item count, longest event-loop stall while scanning
    (ms), and the final totals-and-labels pass (ms)."""
    start = time.monotonic()  # CLOCK_MONOTONIC, as the timer reads it
    out = subprocess.run([timer, tree], capture_output=True, text=True, env=env, check=True).stdout
    whole = time.monotonic() - start
    _, items, stall, final_pass, labelled_at = out.split()
    return float(labelled_at) - start, whole, int(items), int(stall), int(final_pass)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default="build/release")
    parser.add_argument("--tree", default="/tmp/ambrell-bench-100k")
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--folders", type=int, default=100000)
    parser.add_argument("--files-per-folder", type=int, default=2)
    args = parser.parse_args()

    subprocess.run(["cmake", "--build", args.build, "--target", "ambrell-scan", "ambrell-dialog-timer"],
                   check=True, stdout=subprocess.DEVNULL)
    scan = os.path.join(args.build, "tools/ambrell-scan/ambrell-scan")
    timer = os.path.join(args.build, "bench/ambrell-dialog-timer")
    env = dict(os.environ)
    if not env.get("DISPLAY"):
        env["QT_QPA_PLATFORM"] = "offscreen"

    print("generating %d folders x %d files in %s ..." % (args.folders, args.files_per_folder, args.tree), flush=True)
    generate_tree(args.tree, args.folders, args.files_per_folder)

    time_report(scan, args.tree)  # warm the caches
    time_dialog(timer, args.tree, env)  # and the dialog's libraries
    reports, dialogs, wholes, stalls, passes, items = [], [], [], [], [], 0
    for _ in range(args.rounds):
        reports.append(time_report(scan, args.tree))
        wall, whole, items, stall, final_pass = time_dialog(timer, args.tree, env)
        dialogs.append(wall)
        wholes.append(whole)
        stalls.append(stall)
        passes.append(final_pass)

    report = statistics.median(reports)
    dialog = statistics.median(dialogs)
    print("\n%-26s %10s %10s" % ("", "median s", "vs report"))
    print("%-26s %10.3f %10.2f" % ("ambrell-scan", report, 1.0))
    print("%-26s %10.3f %10.2f" % ("dialog (%s)" % env.get("QT_QPA_PLATFORM", "X11"), dialog, dialog / report))
    whole = statistics.median(wholes)
    print("%-26s %10.3f %10.2f" % ("  to its end (teardown)", whole, whole / report))
    print("\ndialog's longest event-loop stall while scanning: median %d ms, worst %d ms"
          % (statistics.median(stalls), max(stalls)))
    print("dialog's final totals and labels (the GUI thread, after the scan): median %d ms"
          % statistics.median(passes))
    print("%d rounds, interleaved, warm cache; tree: %d items in the dialog (folders + root)" % (args.rounds, items))


if __name__ == "__main__":
    main()
