"""The progress line. The report scans a tree with standard error on a
pseudo-terminal of a given width, and on a pipe. Must hold: standard output
is byte for byte what it is without the line; on the terminal every drawn
line fits the width less one column (80 columns when the terminal reports
none), names are quoted as the report quotes them (nothing raw reaches the
terminal) and the line is blanked at the end, before the summary; on a pipe,
and with --no-progress or --import, no line is drawn; --progress draws one
on a pipe too."""

import fcntl
import os
import pty
import struct
import subprocess
import termios
import threading

import support
from support import check

HOSTILE = b"esc\x1b[31m\xff line\nbreak " + "\u65e5\u672c".encode() * 30


def build(tree, folders):
    for i in range(folders):
        os.makedirs(os.path.join(tree, b"d%d" % (i % 50), HOSTILE + b"%d" % i), exist_ok=True)


def run_on_terminal(scratch, arguments, columns):
    """(stdout, what reached the terminal, status) with standard error on a
    pseudo-terminal `columns` wide (0: it reports no width)."""
    master, slave = pty.openpty()
    fcntl.ioctl(slave, termios.TIOCSWINSZ, struct.pack("HHHH", 24, columns, 0, 0))
    attrs = termios.tcgetattr(slave)
    attrs[1] &= ~termios.OPOST  # the terminal's bytes as written: no \n to \r\n
    termios.tcsetattr(slave, termios.TCSANOW, attrs)
    received = bytearray()

    def read():
        while True:
            try:
                chunk = os.read(master, 65536)
            except OSError:
                return
            if not chunk:
                return
            received.extend(chunk)

    reader = threading.Thread(target=read)
    reader.start()
    try:
        result = subprocess.run([scratch.scan] + arguments, env=scratch.env, stdout=subprocess.PIPE,
                                stderr=slave, timeout=300)
    finally:
        os.close(slave)
        reader.join(timeout=30)
        os.close(master)
    return result.stdout, bytes(received), result.returncode


def drawn_lines(terminal):
    """Each line drawn before the summary: what follows each carriage return."""
    before_summary = terminal.split(b"ambrell-scan:")[0]
    return [part for part in before_summary.split(b"\r") if part.strip(b" ")]


def check_terminal(terminal, columns):
    width = columns if columns > 0 else 80
    lines = drawn_lines(terminal)
    for line in lines:
        text = line.decode("utf-8")  # whole characters only
        wide = sum(2 if ord(c) >= 0x1100 else 1 for c in text)
        check(wide <= width - 1, "a line of %d columns on a terminal of %d: %r" % (wide, width, line))
        check(not any(ord(c) < 0x20 or 0x7f <= ord(c) < 0xa0 for c in text), "a raw control character: %r" % line)
        check(b" folders, " in line or b" folder, " in line, "not a progress line: %r" % line)
    summary = terminal.find(b"ambrell-scan:")
    if lines:
        last_draw = terminal[:summary].rstrip(b" \r")
        check(terminal[len(last_draw):summary].strip(b" ") == b"\r\r" or
              terminal[:summary].endswith(b"\r"), "the line was not blanked before the summary")
        blanked = terminal[:summary].rsplit(b"\r", 2)
        check(blanked[-1] == b"" and blanked[-2].strip(b" ") == b"", "the line was not blanked: %r" % blanked[-2:])
    return len(lines)


def attack(scratch):
    tree = scratch.folder("tree")
    plain = None
    folders = 4000
    drawn = 0
    # The line shows from 100 ms into a scan: the tree grows until the scan lasts that long.
    while drawn == 0 and folders <= 256000:
        build(tree, folders)
        plain = scratch.run(["--unit", "bytes", "--threads", "1", tree])
        check(plain.returncode == 0, "status %d" % plain.returncode)
        check(b"\r" not in plain.stderr, "a progress line on a pipe")
        for columns in (60, 0, 23):
            stdout, terminal, status = run_on_terminal(scratch, ["--unit", "bytes", "--threads", "1", tree], columns)
            check(status == 0, "status %d on a terminal" % status)
            check(stdout == plain.stdout, "standard output changed with standard error on a terminal")
            drawn += check_terminal(terminal, columns)
        folders *= 4
    check(drawn > 0, "no progress line in scans of %d folders" % (folders // 4))

    stdout, terminal, _ = run_on_terminal(scratch, ["--unit", "bytes", "--no-progress", tree], 80)
    check(b"\r" not in terminal and stdout == plain.stdout, "--no-progress drew a line")
    saved = os.path.join(scratch.path.encode(), b"saved.json")
    check(scratch.run(["--no-progress", "--depth", "0", "--export", saved, tree]).returncode == 0, "export failed")
    _, terminal, _ = run_on_terminal(scratch, ["--import", saved], 80)
    check(b"\r" not in terminal, "a progress line while reading a saved scan")
    forced = scratch.run(["--unit", "bytes", "--threads", "1", "--progress", tree])
    check(forced.stdout == plain.stdout, "--progress changed standard output")
    check(b"\r" in forced.stderr, "--progress drew no line on a pipe in a scan that draws one on a terminal")


if __name__ == "__main__":
    support.main(attack, in_memory=True)
