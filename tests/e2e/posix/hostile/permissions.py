"""Permissions. As an unprivileged user (root reads every folder, so the
report runs as nobody through setpriv), folders without read permission,
without search permission and without both, each holding files and a
folder. Must hold: each shows as an empty folder and is counted in the
summary as unreadable; nothing inside it is shown or counted; the same
folder given as the FOLDER argument gives the same result; the readable
rest of the tree is exact; the exit status is 0 (it does not tell a
complete scan from a partial one: the summary does)."""

import os

import support
from support import check

LOCKED = {b"no-read": 0o311, b"no-search": 0o644, b"neither": 0o000}


def build(tree):
    support.file_of_size(os.path.join(tree, b"open.txt"), 7)
    os.makedirs(os.path.join(tree, b"readable", b"inner"))
    support.file_of_size(os.path.join(tree, b"readable", b"inner", b"f"), 100)
    for name, mode in LOCKED.items():
        os.makedirs(os.path.join(tree, name, b"sub"))
        support.file_of_size(os.path.join(tree, name, b"file"), 5000)
        support.file_of_size(os.path.join(tree, name, b"sub", b"deeper"), 300)
        os.chmod(os.path.join(tree, name), mode)


def attack(scratch):
    runner = support.unprivileged_runner()
    tree = scratch.folder("tree")
    build(tree)

    result = scratch.run(["--unit", "bytes", tree], runner=runner)
    check(result.returncode == 0, "status %d: %r" % (result.returncode, result.stderr))
    expected = {tree: (107, False), tree + b"/readable": (100, False), tree + b"/readable/inner": (100, False)}
    expected.update({tree + b"/" + name: (0, False) for name in LOCKED})
    printed = support.printed_totals(result.stdout)
    check(printed == expected, "printed %r, expected %r" % (sorted(printed.items()), sorted(expected.items())))
    check(support.summary_counts(result.stderr) == (len(expected), len(LOCKED)),
          "the summary does not count the %d locked folders: %r" % (len(LOCKED), result.stderr))

    for name in LOCKED:
        folder = tree + b"/" + name
        result = scratch.run(["--unit", "bytes", folder], runner=runner)
        check(result.returncode == 0, "%r as the folder: status %d" % (name, result.returncode))
        check(support.printed_totals(result.stdout) == {folder: (0, False)},
              "%r as the folder: printed %r" % (name, result.stdout))
        check(support.summary_counts(result.stderr) == (1, 1),
              "%r as the folder is not counted as unreadable: %r" % (name, result.stderr))


if __name__ == "__main__":
    support.main(attack)
