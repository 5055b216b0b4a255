"""Comparing with a saved scan. A tree with hostile names is saved (by
Ambrell, ncdu and gdu), then changed: folders added, removed, grown, shrunk
and renamed. Must hold: every line of `--compare` shows its folder's total
and the difference from the saved total an independent count gives, by full
path ('new' for a folder the saved scan lacks); comparing two saved scans
gives the same; `--sort change` orders siblings by that change; a saved scan
of another folder changes nothing but says so; `--sort change` alone is
refused."""

import codecs
import os
import random
import re
import shutil
import subprocess

import support
from names import HOSTILE_NAMES
from support import check

# gdu saves each byte of a name that is not UTF-8 as U+FFFD.
codecs.register_error("each byte", lambda error: ("\ufffd" * (error.end - error.start), error.end))

_LINE = re.compile(rb"    \((\d+) bytes, (new|\xc2\xb10 bytes|[+-]\d+ bytes)\)$")


def build(tree, rng):
    for i in range(120):
        folder = os.path.join(tree, b"d%d" % (i % 9), b"e%d" % (i % 4), b"f%d" % i)
        os.makedirs(folder, exist_ok=True)
        support.file_of_size(os.path.join(folder, b"x"), rng.randrange(1, 10**7))
    for i, name in enumerate(HOSTILE_NAMES):
        folder = os.path.join(tree, b"hostile", name)
        os.makedirs(folder)
        support.file_of_size(os.path.join(folder, b"x"), 1000 + i)


def change(tree, rng):
    """Removes, renames, grows, shrinks and adds, at random."""
    folders = sorted(path for path, _, _ in os.walk(tree) if path != tree)
    gone = []
    for folder in folders:
        if any(folder.startswith(g + b"/") for g in gone):
            continue
        fate = rng.randrange(10)
        if fate == 0:
            shutil.rmtree(folder)
            gone.append(folder)
        elif fate == 1:
            os.rename(folder, folder + b" renamed")
            gone.append(folder)
        elif fate == 2:
            support.file_of_size(os.path.join(folder, b"grown"), rng.randrange(1, 10**6))
        elif fate == 3 and os.path.exists(os.path.join(folder, b"x")):
            os.truncate(os.path.join(folder, b"x"), rng.randrange(0, 1000))
        elif fate == 4:
            os.makedirs(os.path.join(folder, b"new", b"deeper"))
            support.file_of_size(os.path.join(folder, b"new", b"deeper", b"y"), 77)


def printed_changes(output):
    """{path: (total, change)}, the change an int or 'new'."""
    shown, path = {}, []
    check(output.endswith(b"\n"), "the report does not end with a line break")
    for line in output.split(b"\n")[:-1]:
        body = line.lstrip(b" ")
        depth = (len(line) - len(body)) // 2
        match = _LINE.search(body)
        check(match is not None, "no change on a line: %r" % line)
        name = body[:match.start()]
        if name.startswith(b'"'):
            name = support.unquote(name, line)
        del path[depth:]
        path.append(name)
        text = match.group(2)
        if text == b"new":
            delta = "new"
        elif text.startswith(b"\xc2\xb1"):
            delta = 0
        else:
            delta = int(text.split(b" ")[0])
            check(delta != 0 or text.startswith((b"+", b"-")), "a zero change not marked: %r" % line)
        shown[b"/".join(path)] = (int(match.group(1)), delta)
    return shown


def expected_changes(before, after, saved_name=lambda path: path):
    return {path: (total, total - before[saved_name(path)] if saved_name(path) in before else "new")
            for path, total in after.items()}


def expect(shown, expected, what):
    if shown != expected:
        wrong = sorted((p, shown.get(p), expected.get(p)) for p in set(shown) | set(expected)
                       if shown.get(p) != expected.get(p))
        support.fail("%s: %d folders differ (shown, counted), e.g. %r" % (what, len(wrong), wrong[:4]))


def expect_sorted_by_change(output):
    """Siblings: growth largest first, new folders by their total, then losses."""
    report = printed_changes(output)
    order, path = [], []
    for line in output.split(b"\n")[:-1]:
        body = line.lstrip(b" ")
        depth = (len(line) - len(body)) // 2
        del path[depth:]
        name = body[:_LINE.search(body).start()]
        path.append(support.unquote(name, line) if name.startswith(b'"') else name)
        order.append((path[:-1], b"/".join(path)))
    keys = {}
    for parent, child in order:
        total, delta = report[child]
        keys.setdefault(tuple(parent), []).append(total if delta == "new" else delta)
    for parent, growths in keys.items():
        check(growths == sorted(growths, reverse=True), "siblings out of order below %r: %r" % (parent, growths))


def compare(scratch, baseline, tree, *extra):
    result = scratch.run(["--unit", "bytes", "--compare", baseline] + list(extra) + [tree])
    check(result.returncode == 0, "status %d: %r" % (result.returncode, result.stderr[-300:]))
    return result.stdout


def attack(scratch):
    rng = random.Random(int(os.environ.get("AMBRELL_SEED", "11")))
    tree = scratch.folder("tree")
    build(tree, rng)
    before = support.counted_totals(tree)
    work = scratch.path.encode()
    ours = os.path.join(work, b"ours.json")
    check(scratch.run(["--export", ours, tree]).returncode == 0, "the export failed")
    peers = {b"ncdu": ["ncdu", "--ignore-config", "-0", "-x", "-o"], b"gdu": ["gdu", "--no-progress", "-o"]}
    baselines = {b"ours": ours}
    for peer, command in peers.items():
        if shutil.which(peer.decode()) is None:
            print("note: %s is not installed; its saved scans are not compared" % peer.decode())
            continue
        baselines[peer] = os.path.join(work, peer + b".json")
        made = subprocess.run(command + [baselines[peer], tree], stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        check(made.returncode == 0, "%s could not save the tree: %r" % (peer, made.stderr[-300:]))

    change(tree, rng)
    after = support.counted_totals(tree)
    expected = expected_changes(before, after)
    check(any(c == "new" for _, c in expected.values()) and any(c not in ("new", 0) for _, c in expected.values()),
          "the changes made nothing to compare")
    for peer, baseline in baselines.items():
        # gdu's file holds what it made of names that are not UTF-8: those folders are new to it.
        saved_name = (lambda path: path.decode("utf-8", "each byte").encode()) if peer == b"gdu" else (lambda p: p)
        seen = {saved_name(path): total for path, total in before.items()} if peer == b"gdu" else before
        expect(printed_changes(compare(scratch, baseline, tree)), expected_changes(seen, after, saved_name),
               "against %s's saved scan" % peer.decode())
    expect_sorted_by_change(compare(scratch, ours, tree, "--sort", "change"))

    # Two saved scans compared: the same changes.
    now = os.path.join(work, b"now.json")
    check(scratch.run(["--export", now, tree]).returncode == 0, "the second export failed")
    both = scratch.run(["--unit", "bytes", "--import", now, "--compare", ours])
    expect(printed_changes(both.stdout), expected, "two saved scans")

    # A saved scan of another folder: a message, and the plain report.
    other = scratch.folder("other")
    plain = scratch.run(["--unit", "bytes", other])
    unmatched = scratch.run(["--unit", "bytes", "--compare", ours, other])
    check(unmatched.returncode == 0 and unmatched.stdout == plain.stdout, "an unmatched saved scan changed the report")
    check(b"matches no drive or folder" in unmatched.stderr, "no word of the unmatched saved scan")
    refused = scratch.run(["--sort", "change", tree])
    check(refused.returncode == 2 and refused.stdout == b"", "--sort change alone was not refused")
    bad = scratch.run(["--compare", os.path.join(work, b"missing.json"), tree])
    check(bad.returncode == 2 and bad.stdout == b"", "a missing saved scan was not refused before scanning")


if __name__ == "__main__":
    support.main(attack)
