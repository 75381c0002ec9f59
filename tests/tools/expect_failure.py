#!/usr/bin/env python3
"""Runs a command that must fail cleanly: it must exit with the given status
(not be killed by a signal, not crash) and print a message matching a
pattern (standard output and error together).

usage: expect_failure.py STATUS PATTERN COMMAND [ARG...]
"""
import re
import subprocess
import sys


def main():
    status, pattern, command = int(sys.argv[1]), sys.argv[2], sys.argv[3:]
    run = subprocess.run(command, capture_output=True, text=True, errors="replace", timeout=120)
    if run.returncode != status:
        print(f"exit status {run.returncode}, expected {status}\nstdout: {run.stdout}\nstderr: {run.stderr}")
        return 1
    output = run.stdout + run.stderr
    if not re.search(pattern, output):
        print(f"output does not match {pattern!r}:\n{output}")
        return 1
    print(f"failed as expected ({status}): {output.strip()}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
