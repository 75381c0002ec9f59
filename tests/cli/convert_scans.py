#!/usr/bin/env python3
"""Scanned pages through `vellumsheet convert`: a scanned table becomes its
cells, `--ocr never` keeps the page as a picture, the scan's picture stays
only with --ocr-keep-image (a picture with no writing always stays), and a page of text is never read from pictures.

usage: convert_scans.py VELLUMSHEET SCANS_DIR
"""
import csv
import os
import subprocess
import sys
import tempfile
import zipfile

FAILURES = []


def check(condition, what):
    if not condition:
        FAILURES.append(what)


def convert(vellumsheet, pdf, out, *options):
    run = subprocess.run([vellumsheet, "convert", pdf, out, *options], capture_output=True, text=True, timeout=120)
    check(run.returncode == 0, f"{os.path.basename(pdf)} {options}: exit {run.returncode}: {run.stderr}")
    return run.stderr


def rows_of(path):
    with open(path, newline="", encoding="cp1252") as f:
        return [[cell.strip() for cell in row] for row in csv.reader(f) if any(c.strip() for c in row)]


def pictures_in(xlsx):
    with zipfile.ZipFile(xlsx) as z:
        return [n for n in z.namelist() if n.startswith("xl/media/")]


def main():
    vellumsheet, scans = sys.argv[1], sys.argv[2]
    scan, text = os.path.join(scans, "table_scan_200.pdf"), os.path.join(scans, "table.pdf")
    with tempfile.TemporaryDirectory() as tmp:
        out = lambda name: os.path.join(tmp, name)

        # The scanned table: its grid, its words; numbers may be misread by
        # the engine, so their column is checked for shape and mostly right values.
        note = convert(vellumsheet, scan, out("scan.csv"))
        rows = rows_of(out("scan.csv"))
        check(len(rows) == 5 and all(len(r) == 3 for r in rows), f"scanned table grid: {rows}")
        if len(rows) == 5 and all(len(r) == 3 for r in rows):
            check([r[0] for r in rows] == ["Item", "Bolts", "Washers", "Hinges", "Brackets"], f"first column: {rows}")
            check(rows[0] == ["Item", "Qty", "Price"], f"header: {rows[0]}")
            expected = ["120", "4.50", "75", "0.85", "16", "12.40", "42", "7.25"]
            got = [c for r in rows[1:] for c in r[1:]]
            check(sum(a == b for a, b in zip(expected, got)) >= 6, f"numbers read: {got}")
        check("page 1: read from its scan: 15 words, " in note, f"note of the scanned page: {note!r}")
        note = convert(vellumsheet, scan, out("scan.csv"), "--progress")
        check("1 out of 1 pages converted, 1 page read from scans." in note, f"progress: {note!r}")

        # Without recognition the page is today's picture; with it the
        # picture goes unless kept.
        for options, words, picture in ((["--ocr", "never"], False, True), ([], True, False),
                                        (["--ocr-keep-image"], True, True)):
            note = convert(vellumsheet, scan, out("scan.xlsx"), *options)
            check(bool(pictures_in(out("scan.xlsx"))) == picture, f"{options}: picture kept {not picture}")
            check(("read from its scan" in note) == words, f"{options}: note {note!r}")
        convert(vellumsheet, scan, out("never.csv"), "--ocr", "never")
        check(rows_of(out("never.csv")) == [], "--ocr never: the scan gave cells")

        # A picture page without writing is no scan to replace: it stays.
        photo = os.path.join(scans, "photo.pdf")
        note = convert(vellumsheet, photo, out("photo.xlsx"))
        check(bool(pictures_in(out("photo.xlsx"))), f"the photograph was left out: {note!r}")
        check("so the picture stays" in note, f"note of the photograph: {note!r}")

        # A page of text converts as without recognition, under auto and always.
        convert(vellumsheet, text, out("never_text.csv"), "--ocr", "never")
        for mode in ("auto", "always"):
            note = convert(vellumsheet, text, out(f"{mode}_text.csv"), "--ocr", mode)
            check("read from its scan" not in note, f"--ocr {mode}: the text page was read: {note!r}")
            with open(out("never_text.csv"), "rb") as a, open(out(f"{mode}_text.csv"), "rb") as b:
                check(a.read() == b.read(), f"--ocr {mode}: the text page changed")

    for failure in FAILURES:
        print("FAIL:", failure)
    return 1 if FAILURES else 0


if __name__ == "__main__":
    sys.exit(main())
