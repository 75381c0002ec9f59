#!/usr/bin/python3
"""The files of a .csv workbook: the first at OUT.csv, further worksheets at
OUT.sheet2.csv, ...; they replace an earlier run's set as one (all or
none, also on a full disk), and only files this program wrote there are
replaced or removed: another PDF's workbook, a user's file, a link (even a
dangling one) and a write-protected file are left as they are. An .xlsx
carries the PDF's title, decrypted where the file is encrypted.

usage: csv_sheet_files.py VELLUMSHEET SOURCE_DIR"""
import os
import re
import shutil
import subprocess
import sys
import tempfile

import openpyxl

program, source = sys.argv[1], sys.argv[2]
data = os.path.join(source, "tests/data/cli")
encrypted = os.path.join(source, "tests/data/pdf/aes_256.pdf")
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def files(folder):
    """Every file under folder (hidden ones too) with its content."""
    found = {}
    for root, _, names in os.walk(folder):
        for name in names:
            path = os.path.join(root, name)
            key = os.path.relpath(path, folder)
            found[key] = "link to " + os.readlink(path) if os.path.islink(path) else open(path, "rb").read()
    return found


def convert(work, *args):
    return subprocess.run([program, "convert", *args, "-q"], cwd=work, capture_output=True, text=True,
                          stdin=subprocess.DEVNULL, timeout=300)


def setup(work):
    # rep.pdf has two pages; rep-2.pdf is another document with a name of its own.
    shutil.copy(os.path.join(data, "outputs.pdf"), os.path.join(work, "rep.pdf"))
    shutil.copy(os.path.join(data, "numbers.pdf"), os.path.join(work, "rep-2.pdf"))
    os.mkdir(os.path.join(work, "elsewhere"))
    with open(os.path.join(work, "elsewhere", "target"), "w") as f:
        f.write("precious")


SHEETS = ["--pages-per-sheet", "1"]
SET = ["rep.csv", "rep.sheet2.csv", ".rep.csv.sheets"]

# (name, commands run before, the command, exit status, text in stderr,
#  files that must be there afterwards, files that must not, files that must be as they were before the command)
cases = [
    ("another PDF's workbook named -2 is left alone",
     [["rep-2.pdf", "--format", "csv"]], ["rep-2.pdf", "rep.pdf", "--format", "csv", "-j", "1"] + SHEETS,
     0, "", SET + ["rep-2.csv"], [], []),
    ("a user's file named like an old worksheet file is left alone",
     [["rep-2.pdf"]], ["rep.pdf", "rep.csv"] + SHEETS, 0, "", SET + ["rep-2.xls"], [], ["rep-2.xls"]),
    ("fewer worksheets: the earlier run's further files go, others stay",
     [["rep.pdf", "rep.csv"] + SHEETS, ["rep-2.pdf", "rep.sheet3.csv", "--format", "csv"]],
     ["rep.pdf", "rep.csv"], 0, "", ["rep.csv", "rep.sheet3.csv"], ["rep.sheet2.csv", ".rep.csv.sheets"],
     ["rep.sheet3.csv"]),
    ("a write-protected further file of an earlier run stays",
     [["rep.pdf", "rep.csv"] + SHEETS, ["chmod", "0444", "rep.sheet2.csv"]], ["rep.pdf", "rep.csv"],
     0, "", SET, [], ["rep.sheet2.csv"]),
    ("a further file of another input is refused before anything is written",
     [["cp", "rep-2.pdf", "rep.sheet2.pdf"]], ["rep.pdf", "rep.sheet2.pdf", "--format", "csv"] + SHEETS,
     2, "rep.sheet2.pdf and rep.pdf would both be written to rep.sheet2.csv (a worksheet file of rep.csv)",
     [], ["rep.csv", "rep.sheet2.csv"], []),
    ("a further file that is a link to a file elsewhere",
     [["ln", "-s", "../elsewhere/target", "out/rep.sheet2.csv"]], ["rep.pdf", "out/rep.csv"] + SHEETS,
     1, "out/rep.sheet2.csv: a file this program did not write", [], ["out/rep.csv"],
     ["elsewhere/target", "out/rep.sheet2.csv"]),
    ("a further file that is a dangling link",
     [["ln", "-s", "../elsewhere/made", "out/rep.sheet2.csv"]], ["rep.pdf", "out/rep.csv"] + SHEETS,
     1, "out/rep.sheet2.csv: a file this program did not write", [], ["out/rep.csv", "elsewhere/made"], []),
    ("a user's file where a further file goes fails the run, and the old first file stays",
     [["rep.pdf", "out/rep.csv"], ["cp", "rep.pdf", "out/rep.sheet2.csv"]], ["rep.pdf", "out/rep.csv"] + SHEETS,
     1, "a file this program did not write is in the way", [], [], ["out/rep.csv", "out/rep.sheet2.csv"]),
]

for name, before, command, status, message, present, absent, kept in cases:
    with tempfile.TemporaryDirectory() as work:
        setup(work)
        os.mkdir(os.path.join(work, "out"))
        for step in before:
            if step[0] in ("chmod", "ln", "cp"):
                subprocess.run(step, cwd=work, check=True)
            else:
                run = convert(work, *step)
                check(run.returncode == 0, "%s: setting up %s: %d %s" % (name, step, run.returncode, run.stderr))
        was = files(work)
        run = convert(work, *command)
        now = files(work)
        check(run.returncode == status and message in run.stderr,
              "%s: exit %d, stderr %r" % (name, run.returncode, run.stderr))
        check(all(path in now for path in present), "%s: missing %s" % (name, set(present) - set(now)))
        check(not any(os.path.lexists(os.path.join(work, path)) for path in absent),
              "%s: there should be none of %s" % (name, absent))
        for path in kept:
            check(now.get(path) == was.get(path), "%s: %s changed" % (name, path))
        made = {path for path in now if path not in was and os.path.basename(path).startswith(".vellumsheet")}
        check(not made, "%s: left %s" % (name, made))
        if status != 0:
            check(now == was, "%s: a refused run changed %s" % (name, {p for p in set(now) | set(was)
                                                                     if now.get(p) != was.get(p)}))

# A full disk while the new set is written leaves the old set as it was.
with tempfile.TemporaryDirectory() as work:
    disk = os.path.join(work, "disk")
    os.mkdir(disk)
    mounted = os.geteuid() == 0 and subprocess.run(["mount", "-t", "tmpfs", "-o", "size=1m", "tmpfs", disk],
                                                   capture_output=True).returncode == 0
    if not mounted:
        print("skipped the full-disk case: it mounts a small tmpfs, which needs root")
    else:
        try:
            shutil.copy(os.path.join(data, "outputs.pdf"), os.path.join(work, "two.pdf"))
            shutil.copy(os.path.join(data, "many_rows.pdf"), os.path.join(work, "many.pdf"))
            run = convert(work, "two.pdf", "disk/book.csv", *SHEETS)
            check(run.returncode == 0, "full disk: the first run %d %s" % (run.returncode, run.stderr))
            old = files(disk)
            # Room for a few of the 240 worksheet files of the second run only.
            with open(os.path.join(disk, "filler"), "wb") as f:
                try:
                    while os.statvfs(disk).f_bavail * os.statvfs(disk).f_frsize > 64 * 1024:
                        f.write(b"\0" * 4096)
                        f.flush()
                except OSError:
                    pass
            run = convert(work, "many.pdf", "disk/book.csv", *SHEETS)
            check(run.returncode == 1 and "No space left on device" in run.stderr,
                  "full disk: exit %d %s" % (run.returncode, run.stderr))
            now = files(disk)
            del now["filler"]
            check(now == old, "full disk: the old set changed: %s" % sorted(set(now) ^ set(old)))
        finally:
            subprocess.run(["umount", disk])

# A folder that fills up while the .csv or .xlsx is written: one line in the
# usual form with the system's cause, none of the library's own, and nothing
# left behind. Free room from none to part of what the workbook takes.
with tempfile.TemporaryDirectory() as work:
    disk = os.path.join(work, "disk")
    os.mkdir(disk)
    mounted = os.geteuid() == 0 and subprocess.run(["mount", "-t", "tmpfs", "-o", "size=256k", "tmpfs", disk],
                                                   capture_output=True).returncode == 0
    if not mounted:
        print("skipped the filled-folder cases: they mount a small tmpfs, which needs root")
    else:
        try:
            shutil.copy(os.path.join(data, "outputs.pdf"), os.path.join(work, "two.pdf"))
            # The .csv is one small file; the .xlsx's temporary files fill a few pages more.
            for name, rooms in (("book.csv", (0,)), ("book.xlsx", (0, 4096, 8192))):
                for room in rooms:
                    with open(os.path.join(disk, "filler"), "wb") as f:
                        try:
                            while os.statvfs(disk).f_bavail * os.statvfs(disk).f_frsize > room:
                                f.write(b"\0" * 4096)
                                f.flush()
                        except OSError:
                            pass
                    run = subprocess.run([program, "convert", "two.pdf", "disk/" + name, "--ocr", "never"], cwd=work,
                                         capture_output=True, text=True, stdin=subprocess.DEVNULL, timeout=300)
                    lines = run.stderr.splitlines()
                    check(run.returncode == 1 and len(lines) == 1 and
                          re.fullmatch(r"vellumsheet: disk/%s: [a-z][^\n]*: No space left on device" % re.escape(name),
                                       lines[0]) is not None,
                          "filled folder, %s, %d bytes free: exit %d %r" % (name, room, run.returncode, run.stderr))
                    left = sorted(set(os.listdir(disk)) - {"filler"})
                    check(not left, "filled folder, %s, %d bytes free: left %s" % (name, room, left))
                    os.remove(os.path.join(disk, "filler"))
        finally:
            subprocess.run(["umount", disk])

# The title of the document's information dictionary.
with tempfile.TemporaryDirectory() as work:
    book = os.path.join(work, "titled.xlsx")
    run = convert(work, encrypted, book, "--password", "user")
    check(run.returncode in (0, 3), "titled: exit %d %s" % (run.returncode, run.stderr))
    check(openpyxl.load_workbook(book).properties.title == "Fixture tree", "the .xlsx carries the PDF's title")

for failure in failures:
    print("FAIL:", failure)
sys.exit(1 if failures else 0)
