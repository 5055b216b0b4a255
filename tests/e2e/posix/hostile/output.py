"""Output failures. Must hold: a report or help text that cannot be written
(a full device, a closed descriptor) gives a message and a non-zero status,
never a silent success; a reader that stops reading (| head -1) ends the
report quietly, whether SIGPIPE ends it or, where it is ignored, the failed
write does."""

import os
import signal
import subprocess

import support
from support import check


def build(tree):
    # Well past a pipe's buffer, so that the report is still writing when head has gone.
    for i in range(1500):
        os.mkdir(os.path.join(tree, b"a folder with a name long enough to fill a pipe soon %04d" % i))


def expect_write_failure(result, what):
    check(result.returncode == 1, "%s: status %d, not 1" % (what, result.returncode))
    check(b"cannot write the report" in result.stderr, "%s: no message: %r" % (what, result.stderr))


def closed_stdout():
    os.close(1)


def ignore_sigpipe():
    signal.signal(signal.SIGPIPE, signal.SIG_IGN)


def through_head(scratch, tree, preexec):
    """The report piped into head -1: (report's status, its stderr, head's output)."""
    head = subprocess.Popen(["head", "-1"], stdin=subprocess.PIPE, stdout=subprocess.PIPE)
    report = scratch.run(["--unit", "bytes", tree], stdout=head.stdin, preexec_fn=preexec)
    head.stdin.close()
    first_line = head.stdout.read()
    head.wait(timeout=60)
    return report.returncode, report.stderr, first_line


def attack(scratch):
    tree = scratch.folder("tree")
    build(tree)

    with open("/dev/full", "wb") as full:
        expect_write_failure(scratch.run([tree], stdout=full), "a report to /dev/full")
        expect_write_failure(scratch.run(["--help"], stdout=full), "--help to /dev/full")
    expect_write_failure(scratch.run([tree], preexec_fn=closed_stdout), "a report to a closed stdout")
    expect_write_failure(scratch.run(["--help"], preexec_fn=closed_stdout), "--help to a closed stdout")

    status, stderr, first_line = through_head(scratch, tree, None)
    check(first_line.startswith(tree + b"    ("), "head did not get the first line: %r" % first_line)
    check(status == -signal.SIGPIPE, "| head -1 gave status %d, not the end by SIGPIPE" % status)
    check(stderr == b"", "| head -1 was not quiet: %r" % stderr)

    status, stderr, first_line = through_head(scratch, tree, ignore_sigpipe)
    check(first_line.startswith(tree + b"    ("), "head did not get the first line: %r" % first_line)
    check(status == 1, "| head -1 with SIGPIPE ignored gave status %d, not 1" % status)
    check(stderr == b"", "| head -1 with SIGPIPE ignored was not quiet: %r" % stderr)

    # And a report that arrives is still a success.
    result = scratch.run(["--unit", "bytes", tree])
    check(result.returncode == 0, "a report to a pipe gave status %d" % result.returncode)
    check(len(support.parse_report(result.stdout)) == 1501, "the report lost folders")


if __name__ == "__main__":
    support.main(attack)
