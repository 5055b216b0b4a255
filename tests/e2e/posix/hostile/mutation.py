"""A tree mutated during the scan. While the report scans again and again,
a child process creates, deletes and renames folders and files below
churn/, and swaps folders for symbolic links to '/' and back. Must hold:
the report never crashes or hangs and exits 0; it never leaves the tree
(every folder it prints below churn/ is one the child made, and no churn
total comes near what '/' holds); the totals of stable/, which nobody
touches, are exact in every scan.

The child's choices come from a seed that is printed; AMBRELL_SEED=N
repeats them (the timing against the scans is the machine's)."""

import os
import random
import shutil
import signal
import time

import support
from support import check

SCANS, MAX_FOLDERS, MAX_DEPTH, MAX_FILE = 20, 300, 4, 4096


def build_stable(stable):
    for i in range(20):
        for j in range(10):
            folder = os.path.join(stable, b"s%02d" % i, b"t%d" % j)
            os.makedirs(folder)
            support.file_of_size(os.path.join(folder, b"f"), i * 1000 + j)


class Mutator:
    """The child's view of churn/: it alone changes it, so the view is exact."""

    def __init__(self, churn, seed):
        self.churn, self.random, self.counter = churn, random.Random(seed), 0
        self.folders = []  # paths below churn, each component 'm-N'
        self.swapped = []  # (path now a link to '/', where the folder went)

    def new_name(self):
        self.counter += 1
        return b"m-%d" % self.counter

    def pick(self):
        return self.random.choice(self.folders) if self.folders else None

    def add_folder(self):
        parents = [b""] + [f for f in self.folders if f.count(b"/") + 1 < MAX_DEPTH]
        folder = os.path.join(self.random.choice(parents), self.new_name())
        os.mkdir(os.path.join(self.churn, folder))
        support.file_of_size(os.path.join(self.churn, folder, b"f"), self.random.randrange(MAX_FILE))
        self.folders.append(folder)

    @staticmethod
    def within(path, folder):
        return path == folder or path.startswith(folder + b"/")

    def move(self, folder, to):
        os.rename(os.path.join(self.churn, folder), os.path.join(self.churn, to))
        self.folders = [to + f[len(folder):] if self.within(f, folder) else f for f in self.folders]

    def remove_folder(self):
        folder = self.pick()
        shutil.rmtree(os.path.join(self.churn, folder))
        self.folders = [f for f in self.folders if not self.within(f, folder)]

    def rename_folder(self):
        folder = self.pick()
        self.move(folder, os.path.join(os.path.dirname(folder), self.new_name()))

    def swap_for_link(self):
        folder = self.pick()
        away = os.path.join(os.path.dirname(folder), self.new_name())
        self.move(folder, away)
        os.symlink(b"/", os.path.join(self.churn, folder))
        self.swapped.append((folder, away))

    # A link whose folder has since moved or gone stays: one byte, never entered.
    def swap_back(self):
        folder, away = self.swapped.pop(self.random.randrange(len(self.swapped)))
        os.unlink(os.path.join(self.churn, folder))
        self.move(away, folder)

    def churn_files(self):
        folder = os.path.join(self.churn, self.pick(), b"f")
        if self.random.random() < 0.5:
            os.unlink(folder)
        else:
            support.file_of_size(folder, self.random.randrange(MAX_FILE))

    def step(self):
        if len(self.folders) < 50 or (len(self.folders) < MAX_FOLDERS and self.random.random() < 0.5):
            return self.add_folder()
        if self.swapped and self.random.random() < 0.1:
            return self.swap_back()
        self.random.choice([self.remove_folder, self.rename_folder, self.swap_for_link, self.churn_files,
                            self.churn_files])()

    def run(self):
        while True:
            try:
                self.step()
            except FileNotFoundError:
                pass  # a file churned away, a link whose folder moved: the view holds


def start_mutator(churn, seed):
    child = os.fork()
    if child == 0:
        try:
            Mutator(churn, seed).run()
        finally:
            os._exit(0)
    return child


def check_scan(result, tree, stable_counted):
    check(result.returncode == 0, "status %d: %r" % (result.returncode, result.stderr[-500:]))
    printed = support.printed_totals(result.stdout)
    stable = tree + b"/stable"
    stable_printed = {p: t for p, t in printed.items() if p == stable or p.startswith(stable + b"/")}
    support.expect_totals(stable_printed, stable_counted, "stable/ while churn/ changed")
    churn = tree + b"/churn"
    churn_folders = 1
    for path in printed:
        if path.startswith(churn + b"/"):
            names = path[len(churn) + 1:].split(b"/")
            check(all(n.startswith(b"m-") for n in names) and len(names) <= MAX_DEPTH,
                  "the report left the tree: %r" % path)
            churn_folders += 1
    # Each folder holds one file below MAX_FILE and links of one byte.
    churn_total = printed[churn][0]
    check(churn_total <= churn_folders * (MAX_FILE + 100), "churn/ holds %d bytes: '/' was entered" % churn_total)
    check(printed[tree][0] == printed[stable][0] + churn_total, "the root is not the sum of its folders")


def attack(scratch):
    tree = scratch.folder("tree")
    build_stable(tree + b"/stable")
    os.mkdir(tree + b"/churn")
    stable_counted = support.counted_totals(tree + b"/stable")
    seed = int(os.environ.get("AMBRELL_SEED", time.time_ns() % 1000000))
    print("seed %d (AMBRELL_SEED=%d repeats the child's choices)" % (seed, seed), flush=True)

    mutator = start_mutator(tree + b"/churn", seed)
    try:
        for _ in range(SCANS):
            check_scan(scratch.run(["--unit", "bytes", tree], timeout=120), tree, stable_counted)
    finally:
        os.kill(mutator, signal.SIGKILL)
        os.waitpid(mutator, 0)


if __name__ == "__main__":
    support.main(attack, in_memory=True)
