#!/usr/bin/env python3
"""Checks where `vellumsheet convert` writes: every destination is checked
before the PDF is read (a missing or closed folder, a device or pipe, a name
too long, a write-protected workbook fail at once and name the workbook),
a writable workbook in a closed folder is written in place, --force
replaces a write-protected workbook, --output-dir is made when missing, a
name as long as the folder allows is written, and a reader of standard
output that goes away leaves no temporary files.

usage: convert_destinations.py VELLUMSHEET SOURCE_DIR"""
import os
import shutil
import signal
import stat
import subprocess
import sys
import tempfile
import time


def worker_ids(parent, count):
    """The first `count` processes the parent starts (waits up to a minute)."""
    deadline = time.time() + 60
    while time.time() < deadline:
        children = []
        for entry in os.listdir("/proc"):
            try:
                with open("/proc/%s/stat" % entry) as f:
                    if entry.isdigit() and int(f.read().rsplit(")", 1)[1].split()[1]) == parent:
                        children.append(int(entry))
            except (OSError, IndexError, ValueError):
                pass
        if len(children) >= count:
            return sorted(children)[:count]
        time.sleep(0.01)
    return []


def still_running(pid, seconds):
    """Whether the process (not a zombie) is still there after `seconds`."""
    deadline = time.time() + seconds
    while time.time() < deadline:
        try:
            with open("/proc/%d/stat" % pid) as f:
                if f.read().rsplit(")", 1)[1].split()[0] == "Z":
                    return False
        except OSError:
            return False
        time.sleep(0.05)
    return True


def main():
    program, source = sys.argv[1], sys.argv[2]
    failures = []

    def expect(name, condition, detail=""):
        if not condition:
            failures.append("%s %s" % (name, detail))

    with tempfile.TemporaryDirectory() as work:
        tmp = os.path.join(work, "tmp")
        os.mkdir(tmp)
        env = dict(os.environ, TMPDIR=tmp)

        def run(args, **extra):
            extra.setdefault("env", env)
            return subprocess.run([program] + args, cwd=work, capture_output=True, text=True,
                                  stdin=subprocess.DEVNULL, start_new_session=True, timeout=300, **extra)

        shutil.copy(os.path.join(source, "examples", "inventory.pdf"), os.path.join(work, "in.pdf"))
        shutil.copy(os.path.join(work, "in.pdf"), os.path.join(work, "two.pdf"))
        os.mkfifo(os.path.join(work, "pipe"))
        os.symlink("pipe", os.path.join(work, "to-pipe.xls"))
        protected = os.path.join(work, "protected.xls")
        with open(protected, "w") as f:
            f.write("precious")
        os.chmod(protected, 0o444)
        longest = "n" * 251 + ".xls"

        # Refused before the PDF is read: the input named does not even exist.
        refused = [
            ("missing folder", "newdir/out.xls", "the folder newdir does not exist"),
            ("pipe", "pipe", "not a regular file"),
            ("link to a pipe", "to-pipe.xls", "not a regular file"),
            ("folder", "tmp", "is a directory"),
            ("name too long", "n" + longest, "file name too long"),
            ("write-protected", "protected.xls",
             "permission denied (the workbook is write-protected; --force replaces it)"),
        ]
        for name, output, cause in refused:
            result = run(["convert", "missing.pdf", output])
            expect(name, result.returncode == 1 and result.stderr == "vellumsheet: %s: %s\n" % (output, cause),
                   "%d %r" % (result.returncode, result.stderr))
        expect("pipe stays a pipe", stat.S_ISFIFO(os.stat(os.path.join(work, "pipe")).st_mode))
        expect("protected kept", open(protected).read() == "precious")
        expect("nothing left in the folder", sorted(os.listdir(work)) ==
               sorted(["in.pdf", "two.pdf", "pipe", "to-pipe.xls", "protected.xls", "tmp"]), os.listdir(work))

        # --force replaces a write-protected workbook, which stays protected.
        result = run(["convert", "in.pdf", "protected.xls", "--force"])
        expect("--force", result.returncode == 0 and open(protected, "rb").read(8) == b"\xd0\xcf\x11\xe0\xa1\xb1\x1a\xe1",
               result.stderr)
        expect("--force keeps the mode", stat.S_IMODE(os.stat(protected).st_mode) == 0o444)

        # The longest name the folder allows.
        result = run(["convert", "in.pdf", longest])
        expect("longest name", result.returncode == 0 and os.path.exists(os.path.join(work, longest)), result.stderr)

        # --output-dir is made; a write-protected workbook in it fails alone.
        os.makedirs(os.path.join(work, "books"))
        with open(os.path.join(work, "books", "two.xls"), "w") as f:
            f.write("precious")
        os.chmod(os.path.join(work, "books", "two.xls"), 0o444)
        result = run(["convert", "in.pdf", "two.pdf", "--output-dir", "books"])
        expect("batch status", result.returncode == 1, result.stderr)
        expect("batch message", "vellumsheet: books/two.xls: permission denied" in result.stderr, result.stderr)
        expect("batch converts the other", os.path.exists(os.path.join(work, "books", "in.xls")))
        result = run(["convert", "in.pdf", "two.pdf", "--output-dir", "made/here"])
        expect("folder made", result.returncode == 0 and sorted(os.listdir(os.path.join(work, "made", "here"))) ==
               ["in.xls", "two.xls"], result.stderr)

        # Made beside the destination: a TMPDIR that takes no file does not matter.
        os.mkdir(os.path.join(work, "beside"))
        for name in ["in.xls", "in.xlsx", "in.csv"]:
            result = run(["convert", "in.pdf", "beside/" + name],
                         env=dict(env, TMPDIR=os.path.join(work, "in.pdf", "nothing")))
            expect("without TMPDIR " + name, result.returncode == 0, result.stderr)
        expect("only the workbooks beside", sorted(os.listdir(os.path.join(work, "beside"))) ==
               ["in.csv", "in.xls", "in.xlsx"], os.listdir(os.path.join(work, "beside")))

        # A folder that takes no new file (root may write anywhere: run as nobody):
        # refused at once, unless a writable workbook there is written in place.
        os.chmod(work, 0o755)
        open_tmp = os.path.join(work, "open-tmp")
        os.mkdir(open_tmp)
        os.chmod(open_tmp, 0o1777)
        closed = os.path.join(work, "closed")
        os.mkdir(closed)
        with open(os.path.join(closed, "old.xls"), "w") as f:
            f.write("old")
        os.chmod(os.path.join(closed, "old.xls"), 0o666)
        os.chmod(closed, 0o555)

        def unprivileged():
            if os.geteuid() == 0:
                os.setgid(65534)
                os.setuid(65534)

        # The program is copied where nobody may run it: the clone itself may
        # be in a folder only its owner enters.
        unprivileged_program = os.path.join(work, "vellumsheet")
        shutil.copy(program, unprivileged_program)
        os.chmod(unprivileged_program, 0o755)
        closed_env = dict(env, TMPDIR=open_tmp)
        try:
            reachable = subprocess.run([unprivileged_program, "-V"], preexec_fn=unprivileged, capture_output=True,
                                       timeout=60).returncode == 0
        except PermissionError:
            reachable = False
        if not reachable:
            print("skipped the closed-folder cases: the user nobody cannot reach", work)
        else:
            result = run(["convert", "missing.pdf", "closed/new.xls"], preexec_fn=unprivileged, env=closed_env,
                         executable=unprivileged_program)
            expect("closed folder", result.returncode == 1 and result.stderr ==
                   "vellumsheet: closed/new.xls: cannot create a file in closed: Permission denied\n", result.stderr)
            result = run(["convert", "in.pdf", "closed/old.xls"], preexec_fn=unprivileged, env=closed_env,
                         executable=unprivileged_program)
            expect("closed folder, writable workbook", result.returncode == 0 and
                   open(os.path.join(closed, "old.xls"), "rb").read(4) == b"\xd0\xcf\x11\xe0", result.stderr)
            expect("closed folder left as it was", os.listdir(closed) == ["old.xls"], os.listdir(closed))
        os.chmod(closed, 0o755)

        # Standard output read by a program that quit before the workbook came.
        reader, writer = os.pipe()
        os.close(reader)
        process = subprocess.Popen([program, "convert", "in.pdf", "-"], cwd=work, env=env, stdout=writer,
                                   stderr=subprocess.PIPE, stdin=subprocess.DEVNULL, start_new_session=True)
        os.close(writer)
        stderr = process.communicate(timeout=300)[1]
        expect("SIGPIPE ends it", process.returncode == -signal.SIGPIPE, "%s %s" % (process.returncode, stderr))
        expect("SIGPIPE leaves nothing", os.listdir(tmp) == [], str(os.listdir(tmp)))

        # A batch ended by SIGTERM (not a whole terminal's group): its workers
        # end with it and write nothing after it.
        pages = subprocess.run(["qpdf", "--empty", "--pages"] + ["in.pdf"] * 1500 + ["--", "long.pdf"], cwd=work)
        expect("long PDF made", pages.returncode == 0)
        for name in "abcd":
            shutil.copy(os.path.join(work, "long.pdf"), os.path.join(work, name + ".pdf"))
        os.mkdir(os.path.join(work, "batch"))
        process = subprocess.Popen([program, "convert", "a.pdf", "b.pdf", "c.pdf", "d.pdf", "--output-dir", "batch",
                                    "-j", "2"], cwd=work, env=env, stdin=subprocess.DEVNULL,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
        workers = worker_ids(process.pid, 2)
        process.send_signal(signal.SIGTERM)
        expect("the batch ends", process.wait(timeout=60) == -signal.SIGTERM, process.returncode)
        outlived = [pid for pid in workers if still_running(pid, 10)]
        for pid in outlived:
            os.kill(pid, signal.SIGKILL)
        expect("both workers started", len(workers) == 2, workers)
        expect("no worker outlives the batch", not outlived, outlived)
        expect("nothing written after the batch", os.listdir(os.path.join(work, "batch")) == [],
               os.listdir(os.path.join(work, "batch")))

    for failure in failures:
        print("FAIL", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
