#!/usr/bin/env python3
"""Runs a test that reads the shared test data (../shared beside the clone).
A plain clone has none: the test is skipped (status 77) with a message
saying what it needs, unless VS_REQUIRE_SHARED is set (CI), where its
absence fails the test.

usage: needs_shared.py SHARED_PATH COMMAND [ARG...]"""
import os
import sys


def main():
    needed, command = sys.argv[1], sys.argv[2:]
    if not os.path.exists(needed):
        if os.environ.get("VS_REQUIRE_SHARED"):
            print("the shared test data is missing:", needed)
            return 1
        print("skipped: needs the shared test data at %s (../shared beside the clone)" % needed)
        return 77
    os.execv(command[0], command)


if __name__ == "__main__":
    sys.exit(main())
