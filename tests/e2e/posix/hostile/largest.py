"""The largest files. More files than are kept, named with every hostile name,
hard links, sparse files and symbolic links. Must hold: --largest prints
exactly the largest files an independent count finds, largest first, equal
sizes by path, each line one file with its full path; and a saved scan, ours
or ncdu's or gdu's own, gives the same list back."""

import codecs
import os
import random
import shutil
import subprocess

import support
from names import HOSTILE_NAMES
from support import check

KEPT = 1000

# gdu saves each byte of a name that is not UTF-8 as U+FFFD.
codecs.register_error("each byte", lambda error: ("\ufffd" * (error.end - error.start), error.end))


def as_gdu_saves(files):
    return [(size, path.decode("utf-8", "each byte").encode()) for size, path in files]


def build(tree):
    sizes = random.Random(7).sample(range(1, 10**6), 1100)
    for i, size in enumerate(sizes):
        folder = os.path.join(tree, b"f%02d" % (i % 37), b"sub%d" % (i % 3))
        os.makedirs(folder, exist_ok=True)
        support.file_of_size(os.path.join(folder, b"file%04d" % i), size)
    hostile = os.path.join(tree, b"hostile")
    os.makedirs(hostile)
    for i, name in enumerate(HOSTILE_NAMES):
        support.file_of_size(os.path.join(hostile, name), 2 * 10**6 + i)
    # A hard link is a file in each folder it is in: two files of equal size.
    os.link(os.path.join(hostile, HOSTILE_NAMES[0]), os.path.join(tree, b"f00", b"link to the first"))
    support.file_of_size(os.path.join(tree, b"sparse"), 10**12)
    os.symlink(b"sparse", os.path.join(tree, b"link to sparse"))


def counted(tree, given):
    """(size, path) of every non-folder, largest first, equal sizes by path."""
    files = []
    for folder, folders, names in os.walk(tree):
        for name in names:
            path = os.path.join(folder, name)
            files.append((os.lstat(path).st_size, given + path[len(tree):]))
    files.sort(key=lambda file: (-file[0], file[1]))
    return files[:KEPT]


def printed(output):
    files = []
    for line in support.parse_report(output):
        check(line.depth == 0, "an indented line: %r" % line.name)
        files.append((line.total, line.name))
    return files


def expect_list(output, expected, what):
    got = printed(output)
    if got != expected:
        first = next(i for i in range(min(len(got), len(expected)) + 1)
                     if i == len(got) or i == len(expected) or got[i] != expected[i])
        support.fail("%s: %d files printed, %d counted; first difference at %d: %r against %r" %
                     (what, len(got), len(expected), first, got[first:first + 1], expected[first:first + 1]))


def attack(scratch):
    tree = scratch.folder("tree")
    build(tree)
    expected = counted(tree, tree)
    result = scratch.run(["--unit", "bytes", "--largest", str(KEPT), tree])
    check(result.returncode == 0, "status %d: %r" % (result.returncode, result.stderr[-300:]))
    expect_list(result.stdout, expected, "a live scan")
    top = scratch.run(["--unit", "bytes", "--largest", "3", tree])
    expect_list(top.stdout, expected[:3], "the three largest")

    saved = os.path.join(scratch.path.encode(), b"ours.json")
    check(scratch.run(["--export", saved, "--depth", "0", tree]).returncode == 0, "the export failed")
    imported = scratch.run(["--import", "--unit", "bytes", "--largest", str(KEPT), saved])
    expect_list(imported.stdout, expected, "our saved scan read back")

    peers = {b"ncdu": ["ncdu", "--ignore-config", "-0", "-x", "-o"], b"gdu": ["gdu", "--no-progress", "-o"]}
    for peer, command in peers.items():
        if shutil.which(peer.decode()) is None:
            continue
        own = os.path.join(scratch.path.encode(), peer + b".json")
        made = subprocess.run(command + [own, tree], stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        check(made.returncode == 0, "%s could not save the tree: %r" % (peer, made.stderr[-300:]))
        imported = scratch.run(["--import", "--unit", "bytes", "--largest", str(KEPT), own])
        expect_list(imported.stdout, expected if peer == b"ncdu" else as_gdu_saves(expected),
                    "%s's own saved scan" % peer.decode())


if __name__ == "__main__":
    support.main(attack)
