#!/usr/bin/env python3
"""Fails when a source file includes a header from a folder later in the
library order: each folder may use only itself and the folders before it.
The command line and the Python package stand side by side at the top:
each may use every library, neither the other. Tests may use their own
folder and those before it, plus the test support code; benchmarks may use
every library.

usage: check_layering.py SOURCE_ROOT
"""
import os
import re
import sys

ORDER = ["platform", "pdf", "resources", "render", "engine", "xls", "app", "cli", "python"]
# Folders at the same level as the one before them: above it, not above each other.
BESIDE = {"python": "cli"}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
SOURCES = (".h", ".hpp", ".cpp", ".cc")


def level(folder):
    return level(BESIDE[folder]) if folder in BESIDE else ORDER.index(folder)


def rank_of(path):
    top = path.split("/", 1)[0]
    return ORDER.index(top) if top in ORDER else None


def may_use(user, used):
    """Whether folder rank user may include from folder rank used."""
    return used == user or level(ORDER[used]) < level(ORDER[user])


def allowed_rank(rel):
    """The highest folder rank a file at rel may include, or None when any."""
    parts = rel.split("/")
    if parts[0] in ORDER:
        return ORDER.index(parts[0])
    if parts[0] == "tests" and len(parts) > 2 and parts[1] in ORDER:
        return ORDER.index(parts[1])
    return None  # bench/, fuzz targets, test tools and support


def main():
    root = sys.argv[1]
    problems = []
    for base in ORDER + ["tests"]:
        for dirpath, _, files in os.walk(os.path.join(root, base)):
            for name in files:
                if not name.endswith(SOURCES):
                    continue
                path = os.path.join(dirpath, name)
                rel = os.path.relpath(path, root).replace(os.sep, "/")
                limit = allowed_rank(rel)
                if limit is None:
                    continue
                with open(path, encoding="utf-8", errors="replace") as f:
                    text = f.read()
                for header in INCLUDE.findall(text):
                    if header.startswith("tests/"):
                        header = header[len("tests/"):]
                        if header.split("/", 1)[0] == "support":
                            continue
                    rank = rank_of(header)
                    if rank is not None and not may_use(limit, rank):
                        problems.append(f"{rel}: includes {header} ({ORDER[rank]} is not below {ORDER[limit]})")
    for p in problems:
        print(p)
    print(f"{len(problems)} upward include(s)" if problems else "includes point downward only")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
