#!/usr/bin/python3
"""Reads the workbooks we write from recorded pages with readers written elsewhere.

    workbook_readers_test.py VELLUMSHEET SHARED_DIR

For every recorded page of SHARED_DIR/corpus/emf, and for books of several
pages, `vellumsheet emf-to-xls` writes a workbook, and:
- xlrd (formatting_info=True) opens it with nothing in its log, and every cell
  shows the text, font (name, size, bold, italic, colour) of a text item of the
  page (`vellumsheet emf-items --json`), and no text of the page is missing;
- ssconvert converts it with nothing on stderr;
- LibreOffice's CSV export holds every cell text.
Fails when a reader or the shared data is missing.
"""
import collections
import csv
import glob
import io
import json
import os
import shutil
import subprocess
import sys
import tempfile

import xlrd

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def run(args, **kw):
    return subprocess.run(args, capture_output=True, timeout=300, **kw)


def items_of(vellumsheet, emf):
    out = run([vellumsheet, "emf-items", "--json", emf])
    texts = {}
    for item in json.loads(out.stdout.decode("utf-8")):
        if item["class"] == "TqxTextItem" and item["text"].strip():
            texts.setdefault(item["text"].strip(), []).append(item)
    return texts


def font_matches(book, xf_index, item):
    font = book.font_list[book.xf_list[xf_index].font_index]
    colour = book.colour_map.get(font.colour_index)
    rgb = "#%02X%02X%02X" % colour if colour else None
    return (font.name.lower() == item["font"].lower() and font.height == 20 * item["size"]
            and bool(font.bold) == ("bold" in item["style"]) and bool(font.italic) == ("italic" in item["style"])
            and rgb == item["color"])


def xlrd_cells(path, name):
    log = io.StringIO()
    try:
        book = xlrd.open_workbook(path, formatting_info=True, logfile=log, verbosity=0)
    except Exception as e:  # noqa: BLE001 - every reader failure is a test failure
        check(False, "%s: xlrd refuses the workbook: %s" % (name, e))
        return None, []
    check(log.getvalue() == "", "%s: xlrd reports: %s" % (name, log.getvalue()[:500]))
    cells = []
    for sheet in book.sheets():
        check(sheet.nrows <= 16384 and sheet.ncols <= 256, "%s: sheet %s too large" % (name, sheet.name))
        for r in range(sheet.nrows):
            for c in range(sheet.ncols):
                cell = sheet.cell(r, c)
                if cell.ctype != xlrd.XL_CELL_EMPTY:
                    cells.append((sheet.name, r, c, cell.value, sheet.cell_xf_index(r, c)))
    return book, cells


def check_against_items(name, book, cells, texts):
    """Cells are cut from the page's words where the words stand, so a cell may
    hold part of a drawn string or several strings: every word of the items is
    written once and no other word is. A cell that is a whole item, or part of
    one, is in that item's font."""
    written = collections.Counter()
    for sheet, r, c, value, xf in cells:
        check(isinstance(value, str), "%s: %s!%d,%d is not text: %r" % (name, sheet, r, c, value))
        if not isinstance(value, str):
            continue
        written.update(value.split())
        items = texts.get(value) or [i for text, its in texts.items() if value in text for i in its]
        if items:
            check(any(font_matches(book, xf, i) for i in items),
                  "%s: %r is not in the font of its item %r" % (name, value, items[0]))
    drawn = collections.Counter(w for text, its in texts.items() for w in text.split() * len(its))
    invented = written - drawn
    check(not invented, "%s: cells hold words no text item has: %r" % (name, sorted(invented)[:5]))
    return sorted(drawn - written)


def check_ssconvert(path, name, work):
    out = run(["ssconvert", path, os.path.join(work, "ssconvert.csv")])
    check(out.returncode == 0, "%s: ssconvert failed: %s" % (name, out.stderr.decode(errors="replace")))
    check(out.stderr.strip() == b"", "%s: ssconvert says: %s" % (name, out.stderr.decode(errors="replace")[:500]))


def check_libreoffice(path, name, work, cells):
    profile = "file://" + os.path.join(work, "lo-profile")
    out = run(["soffice", "-env:UserInstallation=" + profile, "--headless", "--convert-to", "csv:Text - txt - csv "
               "(StarCalc):44,34,76,1", "--outdir", work, path])
    csv_path = os.path.join(work, os.path.splitext(os.path.basename(path))[0] + ".csv")
    if not os.path.exists(csv_path):
        check(False, "%s: LibreOffice wrote no CSV: %s" % (name, out.stderr.decode(errors="replace")[:500]))
        return
    with open(csv_path, encoding="utf-8") as f:
        values = {v.strip() for row in csv.reader(f) for v in row}
    first_sheet = cells[0][0] if cells else None
    for sheet, r, c, value, _ in cells:
        # The CSV export holds the first worksheet; numbers appear as formatted.
        if sheet == first_sheet and isinstance(value, str):
            check(value.strip() in values, "%s: LibreOffice lost %r" % (name, value))


def main():
    vellumsheet, shared = sys.argv[1], sys.argv[2]
    emfs = sorted(glob.glob(os.path.join(shared, "corpus", "emf", "*.emf")))
    if not emfs:
        print("no recorded pages in %s" % shared)
        return 1
    for tool in ("ssconvert", "soffice"):
        if not shutil.which(tool):
            print("%s is not installed (scripts/install-deps)" % tool)
            return 1
    work = tempfile.mkdtemp(prefix="vs_readers_")
    try:
        books = [([emf], []) for emf in emfs]
        books.append((emfs, ["--pages-per-sheet", "2"]))
        books.append((emfs, ["--auto-format"]))
        for pages, options in books:
            name = "+".join(os.path.basename(p) for p in pages) + " " + " ".join(options)
            path = os.path.join(work, "book.xls")
            out = run([vellumsheet, "emf-to-xls"] + pages + [path] + options)
            check(out.returncode == 0, "%s: emf-to-xls failed: %s" % (name, out.stderr.decode(errors="replace")))
            if out.returncode != 0:
                continue
            book, cells = xlrd_cells(path, name)
            if book is None:
                continue
            if "--pages-per-sheet" in options:
                check(book.nsheets == (len(pages) + 1) // 2, "%s: %d sheets" % (name, book.nsheets))
            if not options:
                missing = check_against_items(name, book, cells, items_of(vellumsheet, pages[0]))
                check(not missing, "%s: %d words missing, such as %r" % (name, len(missing), missing[:5]))
            check_ssconvert(path, name, work)
            check_libreoffice(path, name, work, cells)
            print("%s: %d cells, %d sheets" % (name, len(cells), book.nsheets))
    finally:
        shutil.rmtree(work, ignore_errors=True)
    for f in failures:
        print("FAIL: " + f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
