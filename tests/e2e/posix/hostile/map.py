"""The map. The report's --map of a tree of hostile names (names.py's), each
folder large enough to be drawn, and
of the same tree saved and read back. Must hold: the picture is well-formed
XML (xmllint) whatever the names; it has the size asked for; each block's
title is a folder's path as --largest prints it, with the folder's exact
total; the report is printed as without --map; a bad --map-size is refused
with status 2 before anything is scanned or written; a map that cannot be
saved (a file-size limit, a folder at the target) leaves the old file as it
was, and no temporary file, with a message and status 1."""

import os
import re
import resource
import shutil
import subprocess
import xml.etree.ElementTree as ElementTree

import names
import support
from support import check

SVG = "{http://www.w3.org/2000/svg}"
OWN_FILES = b"(files in this folder)"
_TITLE = re.compile(rb"^(.*)    \((\d+)(\+?) bytes\)$", re.S)


def build(tree):
    for i, name in enumerate(names.HOSTILE_NAMES):
        folder = os.path.join(tree, name)
        os.makedirs(os.path.join(folder, b"inner " + name))
        support.file_of_size(os.path.join(folder, name), 300000 + i)
        support.file_of_size(os.path.join(folder, b"inner " + name, b"f"), 700000)


def read(path):
    with open(path, "rb") as file:
        return file.read()


def titled_totals(svg_path):
    """{path: total} of the folders the map draws, from their titles."""
    root = ElementTree.parse(svg_path).getroot()
    check(root.tag == SVG + "svg", "the root element is %r, not svg" % root.tag)
    check((root.get("width"), root.get("height")) == ("640", "480"), "the picture is not 640x480")
    totals = {}
    for rect in root.iter(SVG + "rect"):
        title = rect.find(SVG + "title")
        check(title is not None, "a block without a title")
        match = _TITLE.match(title.text.encode())
        check(match is not None, "not a label: %r" % title.text)
        path = match.group(1)
        if path.startswith(b'"'):
            path = support.unquote(path, title.text)
        if not path.endswith(b"/" + OWN_FILES):
            check(path not in totals, "a folder drawn twice: %r" % path)
            totals[path] = int(match.group(2))
    return totals


def expect_map(scratch, tree, target, arguments):
    plain = scratch.run(["--unit", "bytes", tree])
    result = scratch.run(["--unit", "bytes", "--map", target, "--map-size", "640x480"] + arguments)
    check(result.returncode == 0, "status %d: %r" % (result.returncode, result.stderr))
    check(b"saved " + target in result.stderr, "no word that the map was saved: %r" % result.stderr)
    check(result.stdout == plain.stdout, "--map changed the report")
    names.check_terminal_safe(result.stderr, "the messages")
    lint = subprocess.run(["xmllint", "--noout", target], stderr=subprocess.PIPE)
    check(lint.returncode == 0, "xmllint refuses the map: %r" % lint.stderr[:1000])
    drawn = titled_totals(target)
    counted = support.counted_totals(tree)
    check(tree in drawn, "the drive is not drawn")
    for path, total in drawn.items():
        check(counted.get(path) == total, "%r drawn with %d, counted %r" % (path, total, counted.get(path)))
    # The largest folders are large enough to be seen.
    largest = sorted(counted.items(), key=lambda item: item[1], reverse=True)[:6]
    check(all(path in drawn for path, _ in largest), "a large folder is missing from the map")
    return drawn


def expect_not_saved(result, target, old, what):
    check(result.returncode == 1, "%s: status %d, not 1" % (what, result.returncode))
    check(b"the map was not saved" in result.stderr, "%s: no word of it: %r" % (what, result.stderr))
    check(read(target) == old if old is not None else os.path.isdir(target), "%s: the old file changed" % what)
    folder = os.path.dirname(target)
    check(not [n for n in os.listdir(folder) if n.endswith(b".tmp")], "%s: a temporary file was left" % what)


def attack(scratch):
    if shutil.which("xmllint") is None:
        support.skip("xmllint (libxml2-utils) is not installed")
    tree = scratch.folder("tree")
    build(tree)
    out = scratch.folder("out")
    target = os.path.join(out, b"map.svg")
    drawn = expect_map(scratch, tree, target, [tree])
    for name in names.HOSTILE_NAMES:
        inner = os.path.join(tree, name, b"inner " + name)
        check(inner in drawn, "%r is not drawn" % inner)

    saved = os.path.join(out, b"tree.json")
    check(scratch.run(["--export", saved, tree]).returncode == 0, "the tree could not be saved")
    scanned = read(target)
    expect_map(scratch, tree, target, ["--import", saved])
    check(read(target) == scanned, "the map of the saved scan differs from the scan's")

    for size in ["0x480", "640x0", "640", "x", "20001x480", "640x-1", "1e3x480", "640x480x1"]:
        result = scratch.run(["--map", os.path.join(out, b"bad.svg"), "--map-size", size, tree])
        check(result.returncode == 2 and b"--map-size" in result.stderr, "--map-size %s: status %d, %r" %
              (size, result.returncode, result.stderr))
        check(not os.path.exists(os.path.join(out, b"bad.svg")), "--map-size %s wrote a map" % size)

    old = b"<svg>last week</svg>\n"
    with open(target, "wb") as file:
        file.write(old)

    def small_files():
        resource.setrlimit(resource.RLIMIT_FSIZE, (4096, 4096))

    limited = scratch.run(["--map", target, tree], preexec_fn=small_files)
    expect_not_saved(limited, target, old, "a file-size limit")
    folder_target = scratch.folder("out", "a folder.svg")
    expect_not_saved(scratch.run(["--map", folder_target, tree]), folder_target, None, "a folder at the target")


if __name__ == "__main__":
    support.main(attack)
