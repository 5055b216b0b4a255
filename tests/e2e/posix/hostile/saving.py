"""Saving a scan over last week's: a file-size limit, a full disk, a folder
or a file that cannot be written, a symbolic link, a FIFO and a folder at the target,
two saves to one path at once, SIGTERM halfway, and several drives of which
a later one cannot be saved. Must hold: a save either replaces the file with
a complete scan, or fails with a message and leaves the old file (and a link
and what it leads to) byte for byte, with no temporary file left beside it;
nothing ever blocks."""

import os
import resource
import signal
import stat
import subprocess
import sys
import time

import support
from support import check, fail

INSIDE = "AMBRELL_PRIVATE_MOUNTS"
OLD = b"last week's scan\n"


def build(tree):
    for i in range(30):
        folder = os.path.join(tree, b"d%02d" % i)
        os.makedirs(folder)
        support.file_of_size(os.path.join(folder, b"f"), 1000 + i)


def keep(path, content=OLD, mode=0o644):
    with open(path, "wb") as file:
        file.write(content)
    os.chmod(path, mode)


def read(path):
    with open(path, "rb") as file:
        return file.read()


def leftovers(folder):
    return [name for name in os.listdir(folder) if name.endswith(b".tmp")]


def expect_refused(result, target, what, old=OLD):
    check(result.returncode == 1, "%s: status %d, not 1" % (what, result.returncode))
    check(b"nothing was saved" in result.stderr, "%s: no word that nothing was saved: %r" % (what, result.stderr))
    check(read(target) == old, "%s: the old file changed" % what)
    check(not leftovers(os.path.dirname(target)), "%s: a temporary file was left" % what)


def export(scratch, tree, target, runner=(), limit=None, timeout=60):
    def lower_limit():
        resource.setrlimit(resource.RLIMIT_FSIZE, (limit, limit))

    return scratch.run(["--depth", "0", "--export", target, tree], runner=runner, timeout=timeout,
                       preexec_fn=lower_limit if limit is not None else None)


def file_size_limit(scratch, tree, out):
    target = os.path.join(out, b"limited.json")
    keep(target)
    expect_refused(export(scratch, tree, target, limit=100), target, "a file-size limit")


def link_and_special_targets(scratch, tree, out):
    real = os.path.join(out, b"real.json")
    link = os.path.join(out, b"link.json")
    keep(real, mode=0o640)
    os.symlink(b"real.json", link)
    expect_refused(export(scratch, tree, link, limit=100), real, "through a link, a file-size limit")
    check(os.readlink(link) == b"real.json", "the link was touched by a failed save")

    result = export(scratch, tree, link)
    check(result.returncode == 0, "saving through a link failed: %r" % result.stderr)
    check(os.readlink(link) == b"real.json", "the link was replaced instead of what it leads to")
    check(read(real).startswith(b"[1,2,"), "the file the link leads to holds no scan")
    check(stat.S_IMODE(os.stat(real).st_mode) == 0o640, "the replaced file's permissions did not carry over")

    fifo = os.path.join(out, b"fifo.json")
    os.mkfifo(fifo)
    folder = os.path.join(out, b"folder.json")
    os.mkdir(folder)
    for target, what in ((fifo, "a FIFO"), (folder, "a folder"), (b"/dev/null", "a device")):
        result = export(scratch, tree, target, timeout=20)
        check(result.returncode == 1 and b"nothing was saved" in result.stderr,
              "%s at the target was not refused: %r" % (what, result.stderr))
    check(stat.S_ISFIFO(os.lstat(fifo).st_mode) and os.path.isdir(folder), "a refused target was changed")
    check(not leftovers(out), "a refused save left a temporary file")


def unwritable_folder(scratch, tree, out, runner):
    locked = os.path.join(out, b"locked")
    os.mkdir(locked)
    target = os.path.join(locked, b"scan.json")
    keep(target, mode=0o666)  # the file may be written; its folder may not
    os.chmod(locked, 0o555)
    expect_refused(export(scratch, tree, target, runner=runner), target, "a folder that cannot be written")
    os.chmod(locked, 0o777)
    os.chmod(target, 0o444)
    expect_refused(export(scratch, tree, target, runner=runner), target, "a file that cannot be written")


def several_drives(scratch, tree, out):
    given = os.path.join(out, b"two.json")
    first = os.path.join(out, b"two-C.json")
    keep(first)
    os.mkdir(os.path.join(out, b"two-D.json"))
    result = scratch.run(["--depth", "0", "--export", given, os.path.join(tree, b"d00"), os.path.join(tree, b"d01")])
    expect_refused(result, first, "several drives, the second's target a folder")
    check(b"ambrell-scan: saved " not in result.stderr, "a file was said to be saved: %r" % result.stderr)


def two_saves_at_once(scratch, tree, out):
    target = os.path.join(out, b"shared.json")
    keep(target)
    command = [scratch.scan, "--depth", "0", "--export", target, tree]
    for _ in range(5):
        runs = [subprocess.Popen(command, env=scratch.env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
                for _ in range(2)]
        for run in runs:
            check(run.wait(timeout=60) == 0, "one of two saves at once failed: %r" % run.stderr.read())
        content = read(target)
        check(content.startswith(b"[1,2,") and content.endswith(b"]\n"), "two saves at once left a mixed file")
    check(not leftovers(out), "two saves at once left a temporary file")


def big_saved_scan(path, folders):
    with open(path, "wb") as file:
        file.write(b'[1,2,{"progname":"ambrell"},\n[{"name":"/big","asize":1}')
        for i in range(folders):
            file.write(b',\n[{"name":"folder number %07d with a longer name","asize":%d}]' % (i, i))
        file.write(b"]]\n")


def terminated_halfway(scratch, out):
    source = os.path.join(out, b"big-source.json")
    big_saved_scan(source, 400000)
    target = os.path.join(out, b"terminated.json")
    for attempt in range(5):
        keep(target)
        run = subprocess.Popen([scratch.scan, "--depth", "0", "--import", source, "--export", target],
                               env=scratch.env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        deadline = time.monotonic() + 60
        while not leftovers(out) and run.poll() is None and time.monotonic() < deadline:
            time.sleep(0.001)
        run.send_signal(signal.SIGTERM)
        run.wait(timeout=60)
        if run.returncode == -signal.SIGTERM:
            check(read(target) == OLD, "SIGTERM during a save changed the old file")
            check(not leftovers(out), "SIGTERM during a save left its temporary file")
            return
    fail("the save always ended before SIGTERM could reach it")


def full_disk(scratch, tree):
    """In a private mount namespace: a 64 KiB tmpfs whose file is replaced by a
    scan that needs more."""
    disk = scratch.folder("disk")
    result = subprocess.run(["mount", "-t", "tmpfs", "-o", "size=64k", "ambrell-test", disk], stderr=subprocess.PIPE)
    if result.returncode != 0:
        print("full disk: skipped: mount: %s" % result.stderr.decode(errors="replace").strip())
        return
    big = os.path.join(scratch.path.encode(), b"wide")
    for i in range(3000):
        os.makedirs(os.path.join(big, b"a folder with a name long enough %04d" % i))
    target = os.path.join(disk, b"scan.json")
    keep(target)
    expect_refused(export(scratch, big, target), target, "a full disk")
    subprocess.run(["umount", "-l", disk])


def main():
    scan = sys.argv[1]
    if os.environ.get(INSIDE) != "1":
        runner = support.unprivileged_runner()
        with support.Scratch(scan) as scratch:
            tree = scratch.folder("tree")
            build(tree)
            out = scratch.folder("out")
            os.chmod(out, 0o777)
            file_size_limit(scratch, tree, out)
            link_and_special_targets(scratch, tree, out)
            unwritable_folder(scratch, tree, out, runner)
            several_drives(scratch, tree, out)
            two_saves_at_once(scratch, tree, out)
            terminated_halfway(scratch, out)
        command = ["unshare", "--mount", "--propagation", "private"]
        if os.geteuid() != 0:
            command[1:1] = ["--user", "--map-root-user"]
        probe = subprocess.run(command + ["true"], stderr=subprocess.DEVNULL)
        if probe.returncode != 0:
            print("full disk: skipped: no private mount namespace here")
            return
        env = dict(os.environ, **{INSIDE: "1"})
        sys.exit(subprocess.run(command + [sys.executable] + sys.argv, env=env).returncode)
    with support.Scratch(scan) as scratch:
        tree = scratch.folder("tree")
        build(tree)
        full_disk(scratch, tree)


main()
