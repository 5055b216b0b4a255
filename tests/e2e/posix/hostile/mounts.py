"""Mounts, in a private mount namespace of the test's own (skipped where the
machine allows none). A bind mount of the tree inside itself (a cycle), a
tmpfs holding a 1 TiB sparse file inside the tree, and, in repeated rounds,
the same appearing inside the tree at a random moment while the report
scans. Must hold: no mount is ever entered: each mount point shows as an
empty folder, and every total equals the count of the tree made before
anything was mounted."""

import os
import random
import subprocess
import sys
import time

import support
from support import check

INSIDE = "AMBRELL_PRIVATE_MOUNTS"
ROUNDS = 8


def enter_private_mount_namespace():
    """Runs this script again in a mount namespace of its own, as root there."""
    command = ["unshare", "--mount", "--propagation", "private"]
    if os.geteuid() != 0:
        command[1:1] = ["--user", "--map-root-user"]
    try:
        probe = subprocess.run(command + ["true"], stderr=subprocess.PIPE)
    except FileNotFoundError:
        support.skip("unshare is missing: no private mount namespace")
    if probe.returncode != 0:
        support.skip("no private mount namespace here: %s" % probe.stderr.decode(errors="replace").strip())
    env = dict(os.environ, **{INSIDE: "1"})
    sys.exit(subprocess.run(command + [sys.executable] + sys.argv, env=env).returncode)


def mount(*arguments):
    result = subprocess.run(["mount"] + list(arguments), stderr=subprocess.PIPE)
    if result.returncode != 0:
        support.skip("mount %s: %s" % (" ".join(map(str, arguments)), result.stderr.decode(errors="replace")))


def umount(path):
    subprocess.run(["umount", "-l", path], check=True)


def unmount_everything_below(folder):
    with open("/proc/self/mounts", "rb") as table:
        points = [line.split()[1] for line in table]
    for point in reversed(points):
        if point.startswith(os.fsencode(folder) + b"/"):
            subprocess.run(["umount", "-l", point], stderr=subprocess.DEVNULL)


def build(tree):
    for i in range(40):
        for j in range(40):
            folder = os.path.join(tree, b"wide", b"w%02d" % i, b"x%02d" % j)
            os.makedirs(folder)
            support.file_of_size(os.path.join(folder, b"f"), i * 100 + j)
    for folder in (b"a/loop", b"b/mnt", b"c/late", b"c/late-cycle"):
        os.makedirs(os.path.join(tree, folder))
    support.file_of_size(os.path.join(tree, b"a", b"file"), 11)
    support.file_of_size(os.path.join(tree, b"c", b"file"), 13)


def fill(staging):
    """A tmpfs with content no total may ever show."""
    mount("-t", "tmpfs", "ambrell-test", staging)
    os.makedirs(os.path.join(staging, b"inside", b"deeper"))
    support.file_of_size(os.path.join(staging, b"inside", b"deeper", b"huge"), 2**40)


def scan_and_compare(scratch, tree, counted, what, while_scanning=None):
    """Scans tree, doing while_scanning meanwhile; true when the report was
    still running when that was done."""
    report = subprocess.Popen([scratch.scan, "--unit", "bytes", tree], env=scratch.env,
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    if while_scanning:
        while_scanning()
    mid_scan = report.poll() is None
    stdout, stderr = report.communicate(timeout=300)
    check(report.returncode == 0, "%s: status %d: %r" % (what, report.returncode, stderr))
    support.expect_totals(support.printed_totals(stdout), counted, what)
    return mid_scan


def attack(scratch):
    try:
        attack_with_mounts(scratch)
    finally:
        unmount_everything_below(scratch.path)


def attack_with_mounts(scratch):
    tree = scratch.folder("tree")
    staging = scratch.folder("staging")
    build(tree)
    counted = support.counted_totals(tree)
    fill(staging)

    mount("--bind", tree, tree + b"/a/loop")
    mount("--bind", staging, tree + b"/b/mnt")
    scan_and_compare(scratch, tree, counted, "a bind-mount cycle and a tmpfs inside the tree")
    scan_and_compare(scratch, tree + b"/a/loop", {tree + b"/a/loop" + p[len(tree):]: t for p, t in counted.items()},
                     "the tree scanned through its own bind mount")

    seed = int(os.environ.get("AMBRELL_SEED", time.time_ns() % 1000000))
    print("seed %d (AMBRELL_SEED=%d repeats the moments of mounting)" % (seed, seed), flush=True)
    moments = random.Random(seed)

    def mount_mid_scan():
        time.sleep(moments.uniform(0, 0.15))
        mount("--bind", staging, tree + b"/c/late")
        mount("--bind", tree, tree + b"/c/late-cycle")

    mid_scan = 0
    for round in range(ROUNDS):
        mid_scan += scan_and_compare(scratch, tree, counted, "round %d: mounts appearing mid-scan" % round,
                                     mount_mid_scan)
        umount(tree + b"/c/late")
        umount(tree + b"/c/late-cycle")
    # Timing is the machine's: said, not asserted.
    print("%d of %d rounds mounted while the report was still running" % (mid_scan, ROUNDS))


if __name__ == "__main__":
    if os.environ.get(INSIDE) != "1":
        enter_private_mount_namespace()
    support.main(attack, in_memory=True)
