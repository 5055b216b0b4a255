#!/usr/bin/env python3
"""Times ambrell-scan against du -s -b -l (and ncdu and gdu when installed)
on generated trees and on /usr, paired and interleaved, warm or cold, and
prints medians, ratios to du, processor time and peak memory.

When the shared yardstick ../shared/bench/limitscan.c sits beside the
repository, it is built once into --work and run as the peer "limitscan"
(-o -t 2: subfolders opened relative to their parent, two threads), and every
tool's median is also given as a ratio to it: how close to the floor of open,
getdents and fstatat a tool comes. Without it (on CI) a note says so.

    bench/report_vs_du.py [--scan build/release/tools/ambrell-scan/ambrell-scan]
                          [--trees folders-20k,folders-100k,chain-2000,...] [--rounds 7]
                          [--threads 1,2,4,8] [--cold] [--no-peers] [--work /tmp]

Trees (generated once under --work, then reused):
  folders-20k     20,000 folders fanning out by 20, 20 files each (400,000)
  folders-100k    100,000 folders fanning out by 20, 2 files each (200,000)
  chain-2000      one chain of 2,000 folders, its paths far past PATH_MAX
  chain-20000     one chain of 20,000 folders
  chains-2x1000   two chains of 1,000 folders side by side
  entries-1m      one folder holding 1,000,000 empty files
  usr             /usr as it is

--threads runs ambrell-scan once per count given (--threads N); without it,
ambrell-scan runs with its default. --cold drops the page cache before every
run, which needs root (a round without it measures warm runs and says so).
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


def generate_chains(root, chains, depth, name):
    """`chains` chains of `depth` folders side by side below root, made a
    level at a time relative to the last, with a file at each bottom."""
    marker = os.path.join(root, ".generated-%dx%d-%s" % (chains, depth, name))
    if os.path.exists(marker):
        return
    remove_tree(root)
    os.makedirs(root)
    for chain in range(chains):
        folder = os.open(root, os.O_RDONLY | os.O_DIRECTORY)
        os.mkdir("chain-%d" % chain, dir_fd=folder)
        below = os.open("chain-%d" % chain, os.O_RDONLY | os.O_DIRECTORY, dir_fd=folder)
        os.close(folder)
        folder = below
        for _ in range(depth):
            os.mkdir(name, dir_fd=folder)
            below = os.open(name, os.O_RDONLY | os.O_DIRECTORY, dir_fd=folder)
            os.close(folder)
            folder = below
        bottom = os.open("bottom.bin", os.O_WRONLY | os.O_CREAT, 0o644, dir_fd=folder)
        os.ftruncate(bottom, 4242)
        os.close(bottom)
        os.close(folder)
    open(marker, "w").close()


def generate_entries(root, count):
    """One folder holding `count` empty files."""
    marker = os.path.join(root, ".generated-%d" % count)
    if os.path.exists(marker):
        return
    remove_tree(root)
    os.makedirs(os.path.join(root, "entries"))
    folder = os.open(os.path.join(root, "entries"), os.O_RDONLY | os.O_DIRECTORY)
    for i in range(count):
        os.close(os.open("e%07d" % i, os.O_WRONLY | os.O_CREAT, 0o644, dir_fd=folder))
    os.close(folder)
    open(marker, "w").close()


def remove_tree(root):
    """rm copes with chains past PATH_MAX; shutil.rmtree may not."""
    if os.path.lexists(root):
        subprocess.run(["rm", "-rf", "--one-file-system", root], check=False)


def prepare(name, work):
    """The tree's path and its folder count, generated when missing."""
    if name == "usr":
        return "/usr", None
    path = os.path.join(work, "ambrell-bench-" + name)
    print("preparing %s in %s ..." % (name, path), flush=True)
    if name == "folders-20k":
        generate_tree(path, 20000, 20)
        return path, 20000
    if name == "folders-100k":
        generate_tree(path, 100000, 2)
        return path, 100000
    if name == "chain-2000":
        generate_chains(path, 1, 2000, "dir")
        return path, 2002
    if name == "chain-20000":
        generate_chains(path, 1, 20000, "d")
        return path, 20002
    if name == "chains-2x1000":
        generate_chains(path, 2, 1000, "d")
        return path, 2003
    if name == "entries-1m":
        generate_entries(path, 1000000)
        return path, 2
    sys.exit("unknown tree: %s" % name)


def drop_caches():
    """False when the page cache cannot be dropped (not root, or no procfs)."""
    try:
        os.sync()
        with open("/proc/sys/vm/drop_caches", "w") as f:
            f.write("3\n")
        return True
    except OSError:
        return False


def run_once(command, cold):
    """Wall seconds, peak resident memory (KiB) and processor seconds (user
    and system) of one run, or None when it failed. GNU time measures them:
    a child forked from this interpreter would report the interpreter's."""
    if cold:
        drop_caches()
    with tempfile.NamedTemporaryFile("r") as report:
        start = time.perf_counter()
        result = subprocess.run(["/usr/bin/time", "-f", "%M %U %S", "-o", report.name] + command,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        elapsed = time.perf_counter() - start
        if result.returncode != 0:
            return None
        peak, user, system = report.read().split()[-3:]
        return elapsed, int(peak), float(user) + float(system)


def build_limitscan(work):
    """The yardstick built into work, or None (with a note) when its source
    is not beside the repository or does not build."""
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    source = os.path.normpath(os.path.join(root, "..", "shared", "bench", "limitscan.c"))
    if not os.path.exists(source):
        print("note: %s is absent: no limitscan column" % source)
        return None
    os.makedirs(work, exist_ok=True)
    binary = os.path.join(work, "limitscan")
    # Without -DWITH_URING: the io_uring mode is not what is compared.
    result = subprocess.run(["gcc", "-O2", "-pthread", "-o", binary, source], capture_output=True, text=True)
    if result.returncode != 0:
        print("note: limitscan did not build, no limitscan column:\n" + result.stderr)
        return None
    return binary


def tools_for(path, args):
    tools = {}
    for threads in args.threads or [None]:
        name = "ambrell-scan" if threads is None else "ambrell-scan -t%d" % threads
        tools[name] = [args.scan, "--unit", "bytes"] + ([] if threads is None else ["--threads", str(threads)]) + [path]
    tools["du -s -b -l"] = ["du", "-s", "-b", "-l", path]
    if not args.no_peers and shutil.which("ncdu"):
        tools["ncdu -o"] = ["ncdu", "-0", "-x", "-o", "/dev/null", path]
    if not args.no_peers and shutil.which("gdu"):
        tools["gdu -n"] = ["gdu", "-n", "-p", "-x", path]
    if args.limitscan:
        tools["limitscan"] = [args.limitscan, "-o", "-t", "2", path]
    return tools


def bench_tree(name, args):
    path, folders = prepare(name, args.work)
    tools = tools_for(path, args)
    if not args.cold:
        for command in tools.values():  # warm the caches
            run_once(command, False)
    times = {tool: [] for tool in tools}
    peaks = {tool: [] for tool in tools}
    cpus = {tool: [] for tool in tools}
    for _ in range(args.rounds):
        for tool, command in tools.items():
            outcome = run_once(command, args.cold)
            if outcome is not None:
                times[tool].append(outcome[0])
                peaks[tool].append(outcome[1])
                cpus[tool].append(outcome[2])

    print("\n%s: %s, %s, %d rounds, interleaved" % (name, path, "cold" if args.cold else "warm", args.rounds))
    if not times["du -s -b -l"]:
        print("  du failed on every round")
        return
    du_time = statistics.median(times["du -s -b -l"])
    du_peak = max(peaks["du -s -b -l"])
    limit_time = statistics.median(times["limitscan"]) if times.get("limitscan") else None
    print("%-20s %9s %7s %8s %7s %11s %16s"
          % ("tool", "median s", "vs du", "vs limit", "cpu s", "peak KiB", "B/folder > du"))
    for tool in tools:
        if not times[tool]:
            print("%-20s %9s" % (tool, "failed"))
            continue
        median = statistics.median(times[tool])
        peak = max(peaks[tool])
        per_folder = "%16.0f" % ((peak - du_peak) * 1024 / folders) if folders else "%16s" % "-"
        cpu = statistics.median(cpus[tool])
        vs_limit = "%8.2f" % (median / limit_time) if limit_time else "%8s" % "-"
        print("%-20s %9.3f %7.2f %s %7.2f %11d %s" % (tool, median, median / du_time, vs_limit, cpu, peak, per_folder))


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--scan", default="build/release/tools/ambrell-scan/ambrell-scan")
    parser.add_argument("--trees", default="folders-20k",
                        help="comma-separated: folders-20k, folders-100k, chain-2000, chain-20000, "
                             "chains-2x1000, entries-1m, usr")
    parser.add_argument("--rounds", type=int, default=7)
    parser.add_argument("--threads", type=lambda text: [int(t) for t in text.split(",")], default=None)
    parser.add_argument("--cold", action="store_true", help="drop the page cache before every run (root)")
    parser.add_argument("--no-peers", action="store_true", help="leave out ncdu and gdu")
    parser.add_argument("--work", default=tempfile.gettempdir(), help="where the trees are generated")
    args = parser.parse_args()

    if args.cold and not drop_caches():
        print("--cold: cannot drop the page cache (it needs root): these runs are warm", file=sys.stderr)
        args.cold = False
    args.limitscan = build_limitscan(args.work)
    for name in args.trees.split(","):
        bench_tree(name, args)


if __name__ == "__main__":
    main()
