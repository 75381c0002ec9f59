#!/usr/bin/python3
"""The files of a .csv workbook replace a destination's as one set: every
worksheet file is checked before any is replaced, and worksheet files an
earlier run left beyond this run's last one are removed. An .xlsx carries
the PDF's title, decrypted where the file is encrypted.

usage: csv_sheet_files.py VELLUMSHEET SOURCE_DIR"""
import os
import subprocess
import sys
import tempfile

import openpyxl

program, source = sys.argv[1], sys.argv[2]
two_pages = os.path.join(source, "tests/data/cli/outputs.pdf")
encrypted = os.path.join(source, "tests/data/pdf/aes_256.pdf")
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def convert(*args):
    return subprocess.run([program, "convert", *args, "-q"], capture_output=True, text=True)


def read(path):
    with open(path, encoding="utf-8") as f:
        return f.read()


with tempfile.TemporaryDirectory() as work:
    out = os.path.join(work, "out.csv")
    sheet = lambda n: os.path.join(work, "out-%d.csv" % n)

    # A run of two worksheets after one of four: the third and fourth go,
    # a fifth that does not follow on is not this workbook's and stays.
    for n in (3, 4, 6):
        with open(sheet(n), "w") as f:
            f.write("old\n")
    run = convert(two_pages, out, "--pages-per-sheet", "1")
    check(run.returncode == 0, "two worksheets: exit %d %s" % (run.returncode, run.stderr))
    check(os.path.exists(out) and os.path.exists(sheet(2)), "two worksheets: files written")
    check(not os.path.exists(sheet(3)) and not os.path.exists(sheet(4)), "stale worksheet files removed")
    check(os.path.exists(sheet(6)), "a file beyond a gap is kept")

    # A further worksheet that cannot be replaced fails the run before the
    # first file changes.
    before = read(out)
    os.remove(sheet(2))
    os.mkdir(sheet(2))
    with open(out, "w") as f:
        f.write("kept\n")
    run = convert(two_pages, out, "--pages-per-sheet", "1")
    check(run.returncode != 0 and "out-2.csv" in run.stderr, "refused worksheet: exit %d %s" % (run.returncode, run.stderr))
    check(read(out) == "kept\n", "refused worksheet: the first file is left as it was")
    check(before != "kept\n", "the first run wrote cells")

    # The title of the document's information dictionary.
    book = os.path.join(work, "titled.xlsx")
    run = convert(encrypted, book, "--password", "user")
    check(run.returncode in (0, 3), "titled: exit %d %s" % (run.returncode, run.stderr))
    check(openpyxl.load_workbook(book).properties.title == "Fixture tree", "the .xlsx carries the PDF's title")

for failure in failures:
    print("FAIL:", failure)
sys.exit(1 if failures else 0)
