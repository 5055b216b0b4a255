"""Thread counts. The trees of the other attacks side by side (hostile
names, locked folders, sparse files past 2^64, a folder of 100,000 entries
and a chain of 2,000 folders) and the end-to-end test tree, scanned on 1,
2, 4 and 16 threads and with the default count. Must hold: every run prints
the very same report and summary, byte for byte, and its totals are those
of the independent count."""

import os
import subprocess

import names
import permissions
import scale
import support
import totals
from support import check

THREAD_COUNTS = ["1", "2", "4", "16"]
HERE = os.path.dirname(os.path.abspath(__file__))


def build_test_tree(tree):
    """The tree of the end-to-end test (tests/e2e/posix/test-tree.sh)."""
    script = 'fail() { echo "$*" >&2; exit 1; }; source "$1"; build_tree'
    built = subprocess.run(["bash", "-c", script, "build", os.path.join(HERE, "..", "test-tree.sh")],
                           env=dict(os.environ, tree=os.fsdecode(tree)), stderr=subprocess.PIPE)
    check(built.returncode == 0, "the end-to-end test tree: %r" % built.stderr)


def build(scratch):
    """The trees, each a folder to scan as a drive of its own."""
    trees = [scratch.folder(name) for name in ("names", "permissions", "scale", "test-tree")]
    names.build(trees[0])
    permissions.build(trees[1])
    scale.build_wide(os.path.join(trees[2], b"wide"))
    scale.build_chain(os.path.join(trees[2], b"chain"))
    build_test_tree(os.path.join(trees[3], b"tree"))
    sparse = totals.sparse_capable_folder(scratch)
    os.chmod(sparse, 0o755)  # the report runs as nobody
    totals.build(os.path.join(sparse, b"tree"))
    return trees + [sparse]


def attack(scratch):
    runner = support.unprivileged_runner()
    trees = build(scratch)
    runs = {}
    for threads in [None] + THREAD_COUNTS:
        options = ["--unit", "bytes"] + ([] if threads is None else ["--threads", threads])
        result = scratch.run(options + [os.fsdecode(tree) for tree in trees], runner=runner)
        check(result.returncode == 0, "%s threads: status %d: %r" % (threads, result.returncode, result.stderr))
        runs[threads] = (result.stdout, result.stderr)

    default = runs[None]
    for threads in THREAD_COUNTS:
        check(runs[threads][0] == default[0], "%s threads print another report than the default" % threads)
        check(runs[threads][1] == default[1], "%s threads give another summary: %r / %r" %
              (threads, runs[threads][1], default[1]))

    counted = {}
    for tree in trees:
        counted.update(support.counted_totals(tree, runner))
    printed = support.printed_totals(default[0])
    support.expect_totals(printed, counted, "every tree")
    unreadable = len(permissions.LOCKED) + 1  # and the test tree's locked folder
    check(support.summary_counts(default[1]) == (len(counted), unreadable), "summary: %r" % default[1])


if __name__ == "__main__":
    support.main(attack, in_memory=True)
