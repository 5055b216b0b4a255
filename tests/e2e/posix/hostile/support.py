"""What every attack on the report shares: a scratch folder, the report run
as an unprivileged user where needed, a reader of its output that takes
every line apart (quoted names included), and an independent count of the
tree made with find.

Each attack is a script of its own, run as `python3 ATTACK.py AMBRELL-SCAN`.
It exits 0 when everything that must hold held, 1 with a message when
something did not, and 77 (ctest's skip) with a message when this machine
cannot stage the attack.
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile

SKIPPED = 77
LARGEST_SIZE = 2**64 - 1


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def skip(message):
    print("SKIPPED: " + message)
    sys.exit(SKIPPED)


def check(condition, message):
    if not condition:
        fail(message)


class Scratch:
    """A fresh folder under /tmp that an unprivileged user can reach, with a
    copy of the report in it (the build folder may be closed to that user);
    removed with everything in it, however deep or locked. Large trees ask
    for memory (the tmpfs at /dev/shm, where there is one): making and
    removing 100,000 files there is several times faster than on a disk."""

    def __init__(self, scan, in_memory=False):
        base = "/dev/shm" if in_memory and os.access("/dev/shm", os.W_OK | os.X_OK) else None
        self.path = tempfile.mkdtemp(prefix="ambrell-hostile-", dir=base)
        os.chmod(self.path, 0o755)
        self.scan = os.path.join(self.path, "ambrell-scan")
        shutil.copy(scan, self.scan)
        os.chmod(self.scan, 0o755)
        locale = os.path.join(self.path, "locale")
        with open(locale, "w") as f:
            f.write("LANG=C.UTF-8\n")
        # Digits ungrouped whatever this machine's locale: totals parse as integers.
        self.env = dict(os.environ, AMBRELL_SYSTEM_LOCALE_FILE=locale)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        subprocess.run(["chmod", "-R", "u+rwx", self.path], stderr=subprocess.DEVNULL)
        # rm copes with chains far deeper than PATH_MAX or Python's recursion.
        subprocess.run(["rm", "-rf", self.path])

    def folder(self, *names):
        path = os.path.join(self.path.encode(), *[os.fsencode(n) for n in names])
        os.makedirs(path, exist_ok=True)
        return path

    def run(self, arguments, runner=(), timeout=300, **options):
        """The report's CompletedProcess; stdout and stderr as bytes."""
        try:
            return subprocess.run(list(runner) + [self.scan] + list(arguments), env=self.env,
                                  stdout=options.pop("stdout", subprocess.PIPE),
                                  stderr=subprocess.PIPE, timeout=timeout, **options)
        except subprocess.TimeoutExpired:
            fail("the report hung: no end after %d s" % timeout)


def file_of_size(path, size):
    """A file of exactly size bytes; past what is written it is sparse."""
    fd = os.open(path, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o644)
    try:
        os.ftruncate(fd, size)
    finally:
        os.close(fd)


def unprivileged_runner():
    """The prefix that runs a command as an unprivileged user: nothing when
    this process is one, setpriv to nobody when it is root. Skips where root
    cannot drop its privileges."""
    if os.geteuid() != 0:
        return []
    runner = ["setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "--"]
    try:
        probe = subprocess.run(runner + ["true"], stderr=subprocess.PIPE)
    except FileNotFoundError:
        skip("running as root, and setpriv is missing: no unprivileged user to run as")
    if probe.returncode != 0:
        skip("running as root, and setpriv cannot drop privileges here: %s" % probe.stderr.decode(errors="replace"))
    return runner


_SIZE = re.compile(rb"    \((\d+)(\+?) bytes\)$")
_ESCAPES = {ord("\\"): b"\\", ord('"'): b'"', ord("t"): b"\t", ord("n"): b"\n", ord("r"): b"\r"}


def unquote(text, line):
    """A quoted name back to its bytes: the inverse of the report's quoting."""
    name, i = bytearray(), 1
    while i < len(text) - 1:
        byte = text[i]
        if byte != ord("\\"):
            check(byte != ord('"'), "a bare quote inside a quoted name: %r" % line)
            name.append(byte)
            i += 1
        elif text[i + 1] == ord("x"):
            name.append(int(text[i + 2:i + 4], 16))
            i += 4
        else:
            check(text[i + 1] in _ESCAPES, "unknown escape in %r" % line)
            name += _ESCAPES[text[i + 1]]
            i += 2
    return bytes(name)


class Folder:
    def __init__(self, depth, name, total, marked):
        self.depth, self.name, self.total, self.marked = depth, name, total, marked


def parse_report(output):
    """Every line of a `--unit bytes` report as a Folder. Fails on a line of
    any other form: indent by two blanks a level, the name (quoted when it
    begins with '"'), four blanks, the total in parentheses."""
    check(output.endswith(b"\n") or not output, "the report does not end with a line break")
    folders = []
    for line in output.split(b"\n")[:-1]:
        body = line.lstrip(b" ")
        indent = len(line) - len(body)
        check(indent % 2 == 0, "an indent of an odd number of blanks: %r" % line)
        start = body.find(b"    (")
        size = _SIZE.search(body)
        check(size is not None and size.start() == start, "not a report line: %r" % line)
        name = body[:start]
        if name.startswith(b'"'):
            check(len(name) >= 2 and name.endswith(b'"'), "a quoted name that does not end in a quote: %r" % line)
            name = unquote(name, line)
        check(name != b"", "an empty name: %r" % line)
        folders.append(Folder(indent // 2, name, int(size.group(1)), size.group(2) == b"+"))
    return folders


def printed_totals(output):
    """{path: (total, marked)} of a report, paths joined from the names."""
    totals, path = {}, []
    for folder in parse_report(output):
        check(folder.depth <= len(path), "a folder two levels below its parent: %r" % folder.name)
        del path[folder.depth:]
        path.append(folder.name)
        joined = b"/".join(path)
        check(joined not in totals, "a folder printed twice: %r" % joined)
        totals[joined] = (folder.total, folder.marked)
    return totals


def counted_totals(root, runner=(), one_file_system=False):
    """{path: total} of every folder below root (root included) as find sees
    it: the apparent sizes of every non-folder below each folder, symbolic
    links as themselves. Names may hold any byte: NUL separates them."""
    root = os.fsencode(root)
    find = ["find", "-P", root] + (["-xdev"] if one_file_system else [])
    folders = subprocess.run(list(runner) + find + ["-type", "d", "-printf", "%p\\0"],
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL).stdout
    files = subprocess.run(list(runner) + find + ["!", "-type", "d", "-printf", "%h\\0%s\\0"],
                           stdout=subprocess.PIPE, stderr=subprocess.DEVNULL).stdout
    totals = {path: 0 for path in folders.split(b"\0")[:-1]}
    fields = files.split(b"\0")[:-1]
    for folder, size in zip(fields[0::2], fields[1::2]):
        totals[folder] += int(size)
    # A folder's path is longer than its parent's: children are added in first.
    for folder in sorted(totals, key=len, reverse=True):
        if folder != root:
            totals[folder.rsplit(b"/", 1)[0]] += totals[folder]
    return totals


def expect_totals(printed, counted, what):
    """printed ({path: (total, marked)}) equals counted ({path: total}),
    totals past the largest size shown as the largest size, marked."""
    expected = {path: (min(total, LARGEST_SIZE), total >= LARGEST_SIZE) for path, total in counted.items()}
    if printed != expected:
        missing = sorted(set(expected) - set(printed))[:5]
        extra = sorted(set(printed) - set(expected))[:5]
        wrong = sorted((p, printed[p], expected[p]) for p in set(printed) & set(expected)
                       if printed[p] != expected[p])[:5]
        fail("%s: printed totals differ from the independent count.\n  missing: %r\n  extra: %r\n"
             "  wrong (printed, counted): %r" % (what, missing, extra, wrong))


def summary_counts(stderr):
    """(folders scanned, folders that could not be read) from the summary."""
    match = re.search(rb"^ambrell-scan: (\d+) folders scanned, (\d+) could not be read$", stderr, re.M)
    check(match is not None, "no summary on standard error: %r" % stderr[-500:])
    return int(match.group(1)), int(match.group(2))


def main(attack, in_memory=False):
    """Runs attack(scratch) with the report named on the command line."""
    if len(sys.argv) != 2:
        sys.exit("usage: %s PATH-TO-AMBRELL-SCAN" % sys.argv[0])
    with Scratch(sys.argv[1], in_memory) as scratch:
        attack(scratch)
    print("ok: " + os.path.basename(sys.argv[0]))
