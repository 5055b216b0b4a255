"""Names. Folders named with line breaks, carriage returns, terminal escape
sequences, bytes that are not UTF-8, imitations of report lines and of the
quoting itself. Must hold: the report stays one folder a line; a reader
gets every folder back, apart from every other, with its exact total;
nothing that reaches the terminal, in the report or in a message, is a
control character or malformed UTF-8."""

import os

import support
from support import check

HOSTILE_NAMES = [
    b"a    (0 MB)\n  evil    (999 MB)\n  b",
    b"esc\x1b[31mX",
    b"clear\x1b[2J\x1b[H",
    b"cr\roverwritten",
    b"tab\tand\x0bvertical\x0cfeed",
    b"bell\x07del\x7f",
    b"x    (5 MB)",
    b"x    (5 bytes)",
    b"  indented",
    b" one blank",
    b'"quoted"',
    b'"',
    b"\xff\xfe not UTF-8",
    b"\xc0\xaf overlong",
    b"\xed\xa0\x80 surrogate",
    b"cut \xe2\x82",
    b"\xc2\x9b C1 escape",
    b"next\xc2\x85line",
    b"line\xe2\x80\xa8separator",
    b"right-to-left \xe2\x80\xae override",
    b"back\\slash \\x41 \\n \\\\",
    b'\\"not quoted',
    b"a:b", b"C:", b"p|pe", b"<x>", b"*", b"?",
    "\u00fcn\u00efc\u00f6d\u00e9 \u65e5\u672c \U0001F600".encode(),
    b"trailing    ",
]

# Bytes a report line may not hold: C0 controls but the line break, DEL.
FORBIDDEN = set(range(0x20)) - {ord("\n")} | {0x7F}
# Characters that act on a terminal or move text: C1, separators, direction marks.
FORBIDDEN_CHARACTERS = {chr(c) for c in range(0x80, 0xA0)} | set("\u2028\u2029\u061c\u200e\u200f") | \
    {chr(c) for c in range(0x202A, 0x202F)} | {chr(c) for c in range(0x2066, 0x206A)}


def check_terminal_safe(text, what):
    check(not FORBIDDEN & set(text), "%s holds a control character: %r" % (what, text[:300]))
    try:
        decoded = text.decode("utf-8")
    except UnicodeDecodeError as error:
        support.fail("%s is not UTF-8 (%s): %r" % (what, error, text[:300]))
    check(not FORBIDDEN_CHARACTERS & set(decoded), "%s holds a C1 control, separator or direction mark" % what)


def build(tree):
    size = 1
    for name in HOSTILE_NAMES:
        folder = os.path.join(tree, name)
        os.mkdir(folder)
        support.file_of_size(os.path.join(folder, name), size)
        os.mkdir(os.path.join(folder, b"inner " + name))
        support.file_of_size(os.path.join(folder, b"inner " + name, b"f"), size + 1)
        size *= 2


def attack(scratch):
    tree = scratch.folder("tree")
    build(tree)
    result = scratch.run(["--unit", "bytes", tree])
    check(result.returncode == 0, "status %d: %r" % (result.returncode, result.stderr))
    check_terminal_safe(result.stdout, "the report")
    check_terminal_safe(result.stderr, "the summary")

    printed = support.printed_totals(result.stdout)
    check(len(printed) == result.stdout.count(b"\n"), "lines and folders differ in number")
    check(len(printed) == 1 + 2 * len(HOSTILE_NAMES), "%d folders printed, not %d" %
          (len(printed), 1 + 2 * len(HOSTILE_NAMES)))
    support.expect_totals(printed, support.counted_totals(tree), "hostile names")

    # The quoting's own promise: on every line the first '    (' begins the size.
    for line in result.stdout.split(b"\n")[:-1]:
        check(line.find(b"    (") == line.rfind(b"    ("), "a name can pass for a size: %r" % line)

    # A folder argument that cannot be opened comes back in a message, defused.
    for name in (b"missing\x1b[2J\rnowhere", b"\xff\xfe\n"):
        result = scratch.run([os.path.join(tree, name)])
        check(result.returncode == 2, "status %d for a missing folder" % result.returncode)
        check(result.stdout == b"", "a tree printed for a missing folder")
        check_terminal_safe(result.stderr, "the message")
        check(b"nowhere" in result.stderr or b"\\xff" in result.stderr, "the message lost the name")
    result = scratch.run([b"--unit=\x1b]0;owned\x07"])
    check(result.returncode == 2, "status %d for a bad option" % result.returncode)
    check_terminal_safe(result.stderr, "the option message")


if __name__ == "__main__":
    support.main(attack)
