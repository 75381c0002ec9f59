#!/usr/bin/env python3
"""Checks `vellumsheet convert` on a terminal (a pseudo-terminal): echo is
back after Ctrl-C at the password prompt even when the parent shell traps
SIGINT; in a batch every encrypted file is asked for, one question at a
time in the command line's order, each file gets one progress line (never
written onto an open question), then a summary; a .csv may be written to
the terminal.

usage: convert_terminal.py VELLUMSHEET SOURCE_DIR"""
import fcntl
import os
import select
import shutil
import subprocess
import sys
import tempfile
import termios
import time

PASSWORD = b"user"  # of tests/data/pdf/rc4_128.pdf


class Terminal:
    """A program run as the session leader of a new pseudo-terminal."""

    def __init__(self, args, cwd, env):
        self.master, self.slave = os.openpty()
        slave = self.slave

        def take_terminal():
            os.setsid()
            fcntl.ioctl(slave, termios.TIOCSCTTY, 0)

        self.process = subprocess.Popen(args, cwd=cwd, env=env, stdin=slave, stdout=slave, stderr=slave,
                                        preexec_fn=take_terminal)
        self.output = b""

    def read_until(self, text, seconds=120, times=1):
        """Reads until text has come the given number of times (True) or
        the time is up (False)."""
        deadline = time.monotonic() + seconds
        while self.output.count(text) < times:
            left = deadline - time.monotonic()
            if left <= 0:
                return False
            ready, _, _ = select.select([self.master], [], [], min(left, 0.2))
            if ready:
                try:
                    self.output += os.read(self.master, 4096)
                except OSError:
                    return False
        return True

    def echo(self):
        return bool(termios.tcgetattr(self.slave)[3] & termios.ECHO)

    def finish(self):
        status = self.process.wait(timeout=300)
        self.read_until(b"\0", seconds=0.5)  # what is left
        return status

    def close(self):
        os.close(self.master)
        os.close(self.slave)


def main():
    program, source = sys.argv[1], sys.argv[2]
    failures = []

    def expect(name, condition, detail=""):
        if not condition:
            failures.append("%s %s" % (name, detail))

    locked = os.path.join(source, "tests", "data", "pdf", "rc4_128.pdf")
    with tempfile.TemporaryDirectory() as work:
        tmp = os.path.join(work, "tmp")
        os.mkdir(tmp)
        env = dict(os.environ, TMPDIR=tmp, LC_ALL="C.UTF-8")
        for name in ("a.pdf", "b.pdf"):
            shutil.copy(locked, os.path.join(work, name))

        # Ctrl-C at the prompt under a shell that traps SIGINT itself.
        term = Terminal(["sh", "-c", "trap : INT; %s convert a.pdf a.xls" % program], work, env)
        expect("prompt", term.read_until(b"Password for a.pdf"), term.output)
        expect("echo off while asking", not term.echo())
        os.write(term.master, b"\x03")
        term.finish()
        expect("echo back after Ctrl-C", term.echo())
        term.close()
        expect("nothing written", not os.path.exists(os.path.join(work, "a.xls")))
        expect("no temporary files", os.listdir(tmp) == [], os.listdir(tmp))

        # A batch of two encrypted files, converted at once, asked one by one.
        term = Terminal([program, "convert", "a.pdf", "b.pdf", "--output-dir", "out", "-j", "2"], work, env)
        expect("first question", term.read_until(b"Password for "), term.output)
        term.read_until(b"\0", seconds=1)
        expect("one question at a time", term.output.count(b"Password for ") == 1, term.output)
        expect("asked in the command line's order", b"Password for a.pdf" in term.output, term.output)
        os.write(term.master, PASSWORD + b"\n")
        expect("second question", term.read_until(b"Password for ", times=2), term.output)
        os.write(term.master, PASSWORD + b"\n")
        status = term.finish()
        term.close()
        lines = term.output.decode(errors="replace").replace("\r", "").splitlines()
        expect("batch converted", status == 0 and sorted(os.listdir(os.path.join(work, "out"))) == ["a.xls", "b.xls"],
               lines)
        expect("passwords not echoed", not any("user" in line for line in lines), lines)
        progress = sorted(line[6:] for line in lines if line.startswith("["))
        expect("a line per file", progress == ["a.pdf \u2192 out/a.xls, 3 pages", "b.pdf \u2192 out/b.xls, 3 pages"],
               lines)
        expect("summary", lines[-1:] == ["2 of 2 files converted."], lines)

        # A file finished while a question is open: its line waits for the answer.
        shutil.copy(os.path.join(source, "examples", "inventory.pdf"), os.path.join(work, "plain.pdf"))
        term = Terminal([program, "convert", "a.pdf", "plain.pdf", "--output-dir", "waits", "-j", "2"], work, env)
        expect("question", term.read_until(b"Password for a.pdf"), term.output)
        deadline = time.monotonic() + 60
        while not os.path.exists(os.path.join(work, "waits", "plain.xls")) and time.monotonic() < deadline:
            time.sleep(0.1)
        term.read_until(b"\0", seconds=1)
        expect("no line onto the question", b"plain.pdf" not in term.output.split(b"Password for a.pdf")[1],
               term.output)
        os.write(term.master, PASSWORD + b"\n")
        status = term.finish()
        term.close()
        expect("line after the answer", status == 0 and b"] plain.pdf \xe2\x86\x92 waits/plain.xls" in term.output,
               term.output)

        # A .csv is text: it may go to a terminal.
        term = Terminal([program, "convert", "plain.pdf", "-", "--format", "csv", "-q"], work, env)
        status = term.finish()
        term.close()
        expect(".csv to a terminal", status == 0 and b"Part code" in term.output, term.output)

    for failure in failures:
        print("FAIL", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
