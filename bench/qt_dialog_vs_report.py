#!/usr/bin/env python3
"""Times the Linux dialog from its start to a fully labelled tree against
ambrell-scan on the same generated tree (warm, interleaved), and reports the
longest time the dialog's GUI thread went without turning to its event loop,
which bounds how long a click on Abort waits to be seen. Peak memory is compared
too: what the dialog holds beyond the report, a folder, is the difference of
their peaks on the tree less the same on a tree of one folder, over the folders.
With --unit-changes, the dialog also times each change of unit on the labelled
tree until it has drawn the new labels.

    bench/qt_dialog_vs_report.py [--build build/release] [--tree /tmp/ambrell-bench-100k]
                                 [--rounds 5] [--folders 100000] [--files-per-folder 2]
                                 [--unit-changes]

The dialog runs on the offscreen platform unless DISPLAY is set.
"""

import argparse
import os
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from report_vs_du import generate_tree  # noqa: E402


def run_measured(command, env=None):
    """The command's output and its peak resident memory in KiB. GNU time measures it:
    a child forked from this interpreter would report the interpreter's."""
    with tempfile.NamedTemporaryFile("r") as report:
        out = subprocess.run(["/usr/bin/time", "-f", "%M", "-o", report.name] + command, capture_output=True,
                             text=True, env=env, check=True).stdout
        return out, int(report.read().split()[-1])


def time_report(scan, tree):
    """Wall seconds and peak memory (KiB)."""
    start = time.perf_counter()
    _, peak = run_measured([scan, tree])
    return time.perf_counter() - start, peak


def time_dialog(timer, tree, env, unit_changes=False):
    """Wall seconds from process start to the labelled tree (the process's own
    start counts: the user waits for it too), the same to the process's end (its
    teardown of the tree too), item count, longest event-loop stall while scanning
    (ms), the final totals-and-labels pass (ms), peak memory (KiB) and the unit changes'
    times (ms) when asked for."""
    start = time.monotonic()  # CLOCK_MONOTONIC, as the timer reads it
    command = [timer] + (["--unit-changes"] if unit_changes else []) + [tree]
    out, peak = run_measured(command, env=env)
    whole = time.monotonic() - start
    lines = out.splitlines()
    _, items, stall, final_pass, labelled_at = lines[0].split()
    changes = [float(ms) for ms in lines[1].split()] if unit_changes else []
    return float(labelled_at) - start, whole, int(items), int(stall), int(final_pass), peak, changes


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default="build/release")
    parser.add_argument("--tree", default="/tmp/ambrell-bench-100k")
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--folders", type=int, default=100000)
    parser.add_argument("--files-per-folder", type=int, default=2)
    parser.add_argument("--unit-changes", action="store_true")
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
    single = args.tree + "-single"
    generate_tree(single, 1, args.files_per_folder)

    time_report(scan, args.tree)  # warm the caches
    time_dialog(timer, args.tree, env)  # and the dialog's libraries
    reports, dialogs, wholes, stalls, passes, items = [], [], [], [], [], 0
    report_peaks, dialog_peaks, single_report_peaks, single_dialog_peaks, changes = [], [], [], [], []
    for _ in range(args.rounds):
        report_time, report_peak = time_report(scan, args.tree)
        reports.append(report_time)
        report_peaks.append(report_peak)
        wall, whole, items, stall, final_pass, peak, round_changes = time_dialog(
            timer, args.tree, env, args.unit_changes)
        dialogs.append(wall)
        wholes.append(whole)
        stalls.append(stall)
        passes.append(final_pass)
        dialog_peaks.append(peak)
        changes += round_changes
        single_report_peaks.append(time_report(scan, single)[1])
        single_dialog_peaks.append(time_dialog(timer, single, env)[5])

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

    peaks = [statistics.median(p) for p in (report_peaks, dialog_peaks, single_report_peaks, single_dialog_peaks)]
    print("\npeak memory, median KiB: report %d, dialog %d; on one folder: report %d, dialog %d"
          % tuple(peaks))
    beyond = ((peaks[1] - peaks[0]) - (peaks[3] - peaks[2])) * 1024 / args.folders
    print("the dialog beyond the report: %.0f bytes a folder" % beyond)
    if changes:
        print("unit change until redrawn: median %.1f ms, worst %.1f ms (%d changes)"
              % (statistics.median(changes), max(changes), len(changes)))


if __name__ == "__main__":
    main()
