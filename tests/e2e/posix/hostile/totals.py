"""Totals past 64 bits. Sparse files of 2^63 - 1 bytes (the largest Linux
allows; tmpfs holds them, ext4 does not) whose sizes add up past 2^64.
Must hold: no total wraps around; a total that reaches 2^64 - 1 stops there
and its label is marked with '+'; every other total is exact, and no folder
shows less than one of its children."""

import os
import shutil
import tempfile

import support
from support import check

LARGEST_FILE = 2**63 - 1


def sparse_capable_folder(scratch):
    """A fresh folder on a file system that takes a file of 2^63 - 1 bytes."""
    for parent in (scratch.path, "/dev/shm"):
        try:
            folder = tempfile.mkdtemp(prefix="ambrell-totals-", dir=parent)
        except OSError:
            continue
        try:
            support.file_of_size(os.path.join(folder, "probe"), LARGEST_FILE)
            os.unlink(os.path.join(folder, "probe"))
            return folder.encode()
        except OSError:
            shutil.rmtree(folder, ignore_errors=True)
    support.skip("no file system here takes a file of 2^63 - 1 bytes (neither /tmp nor a tmpfs at /dev/shm)")


def build(tree):
    layout = {
        b"three": [LARGEST_FILE] * 3,  # wrapped to 9223372036854775805 once
        b"two": [LARGEST_FILE] * 2,  # 2^64 - 2: the largest exact total
        b"two and one": [LARGEST_FILE] * 2 + [1],  # exactly 2^64 - 1: shown as reached
        b"small": [5],
    }
    for folder, sizes in layout.items():
        os.makedirs(os.path.join(tree, folder, b"below"))
        for i, size in enumerate(sizes):
            support.file_of_size(os.path.join(tree, folder, b"below" if i == 0 else b"", b"f%d" % i), size)


def attack(scratch):
    base = sparse_capable_folder(scratch)
    try:
        tree = os.path.join(base, b"tree")
        build(tree)
        result = scratch.run(["--unit", "bytes", tree])
        check(result.returncode == 0, "status %d: %r" % (result.returncode, result.stderr))
        printed = support.printed_totals(result.stdout)
        support.expect_totals(printed, support.counted_totals(tree), "sparse files past 2^64")
        check(printed[tree + b"/two"] == (2**64 - 2, False), "2^64 - 2 is not shown exactly")
        for path, (total, _) in printed.items():
            parent = path.rsplit(b"/", 1)[0]
            check(parent not in printed or printed[parent][0] >= total, "%r shows less than its child" % parent)

        for unit, label in (("mb", b"three    (17592186044415+ MB)"), ("gb", b"three    (17179869183+ GB)")):
            result = scratch.run(["--unit", unit, tree])
            check(b"\n  " + label + b"\n" in result.stdout, "no '%s' in %r" % (label.decode(), result.stdout))
    finally:
        shutil.rmtree(base, ignore_errors=True)


if __name__ == "__main__":
    support.main(attack)
