"""Scale. A folder of 100,000 entries (99,000 files, 1,000 folders) and a
chain of 2,000 folders, one inside the other, far past PATH_MAX. Must hold:
every folder is printed, at its depth, with its exact total, and nothing is
counted as unreadable. (bench/hostile_scale.py times ten times as much
against du.)"""

import os

import support
from support import check

WIDE_FILES, WIDE_FOLDERS, CHAIN_DEPTH = 99000, 1000, 2000


def build_wide(wide):
    os.mkdir(wide)
    fd = os.open(wide, os.O_RDONLY | os.O_DIRECTORY)
    try:
        for i in range(WIDE_FILES):
            file = os.open(b"file-%05d" % i, os.O_WRONLY | os.O_CREAT, 0o644, dir_fd=fd)
            os.ftruncate(file, i % 4099)
            os.close(file)
        for i in range(WIDE_FOLDERS):
            os.mkdir(b"folder-%04d" % i, dir_fd=fd)
    finally:
        os.close(fd)


def build_chain(chain):
    """Made one level at a time relative to the last: no path is ever
    resolved whole. Each level holds a file as large as its depth."""
    os.mkdir(chain)
    fd = os.open(chain, os.O_RDONLY | os.O_DIRECTORY)
    for depth in range(1, CHAIN_DEPTH + 1):
        os.mkdir(b"level", dir_fd=fd)
        below = os.open(b"level", os.O_RDONLY | os.O_DIRECTORY, dir_fd=fd)
        os.close(fd)
        fd = below
        file = os.open(b"size", os.O_WRONLY | os.O_CREAT, 0o644, dir_fd=fd)
        os.ftruncate(file, depth)
        os.close(file)
    os.close(fd)


def attack(scratch):
    tree = scratch.folder("tree")
    build_wide(os.path.join(tree, b"wide"))
    build_chain(os.path.join(tree, b"chain"))
    check(len(tree) + CHAIN_DEPTH * 6 > 4096, "the chain does not pass PATH_MAX")

    result = scratch.run(["--unit", "bytes", tree])
    check(result.returncode == 0, "status %d: %r" % (result.returncode, result.stderr))
    printed = support.printed_totals(result.stdout)
    counted = support.counted_totals(tree)
    check(len(counted) == 3 + WIDE_FOLDERS + CHAIN_DEPTH, "find counted %d folders" % len(counted))
    support.expect_totals(printed, counted, "a wide folder and a deep chain")
    check(support.summary_counts(result.stderr) == (len(counted), 0), "summary: %r" % result.stderr)


if __name__ == "__main__":
    support.main(attack, in_memory=True)
