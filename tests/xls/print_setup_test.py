#!/usr/bin/python3
"""Worksheets print like their PDF: one page wide and margins from the page.

    print_setup_test.py VELLUMSHEET

Converts tests/data/tables/wide.pdf (fourteen columns on two landscape
pages) to .xls and .xlsx, reads the page setup back (the .xls records
through olefile, the .xlsx through openpyxl) and has LibreOffice print both:
neither takes more pages than the PDF. --plain-sheet keeps the fit but
leaves the margins to the reader.
"""
import os
import struct
import subprocess
import sys
import tempfile

import olefile
import openpyxl

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from table_checks import Checks, convert  # noqa: E402

WSBOOL, SETUP, LEFTMARGIN, TOPMARGIN = 0x0081, 0x00A1, 0x0026, 0x0028
FIT_TO_PAGE = 0x0100


def first_sheet_records(path):
    """{number: data} of the first worksheet's records."""
    with olefile.OleFileIO(path) as ole:
        stream = ole.openstream("Book" if ole.exists("Book") else "Workbook").read()
    records, sheets, pos = {}, 0, 0
    while pos + 4 <= len(stream):
        number, size = struct.unpack_from("<HH", stream, pos)
        data = stream[pos + 4:pos + 4 + size]
        pos += 4 + size
        if number == 0x0809:
            sheets += 1
        elif sheets == 2:
            records.setdefault(number, data)
        if number == 0x000A and sheets == 2:
            break
    return records


def printed_pages(path, work):
    out = os.path.join(work, "printed")
    subprocess.run(["soffice", "-env:UserInstallation=file://" + os.path.join(work, "profile"), "--headless",
                    "--convert-to", "pdf", "--outdir", out, path], check=True, timeout=300,
                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    pdf = os.path.join(out, os.path.splitext(os.path.basename(path))[0] + ".pdf")
    info = subprocess.run(["pdfinfo", pdf], check=True, capture_output=True, text=True).stdout
    return int(next(line.split()[1] for line in info.splitlines() if line.startswith("Pages:")))


def main():
    program = sys.argv[1]
    checks = Checks()
    expect = checks.expect

    with tempfile.TemporaryDirectory() as work:
        for options, margins in ((["--plain-sheet"], False), ([], True)):
            tag = " ".join(options) or "default"
            records = first_sheet_records(convert(program, work, "wide.pdf", "w.xls", *options))
            expect(tag + ": WSBOOL switches fitting on", WSBOOL in records and
                   struct.unpack_from("<H", records[WSBOOL])[0] & FIT_TO_PAGE, records.get(WSBOOL))
            fit = struct.unpack_from("<HH", records[SETUP], 6) if SETUP in records else None
            expect(tag + ": SETUP fits one page wide, any number tall", fit == (1, 0), fit)
            left = struct.unpack("<d", records[LEFTMARGIN])[0] if LEFTMARGIN in records else None
            top = struct.unpack("<d", records[TOPMARGIN])[0] if TOPMARGIN in records else None
            if margins:
                # The content starts half an inch from the page's left edge
                # and about a third of an inch below its top.
                expect(tag + ": left margin from the page", left is not None and abs(left - 0.5) < 0.02, left)
                expect(tag + ": top margin from the page", top is not None and 0.25 <= top < 0.45, top)
            else:
                expect(tag + ": the reader's margins", left is None and top is None, (left, top))

        book = openpyxl.load_workbook(convert(program, work, "wide.pdf", "w.xlsx"))
        sheet = book.active
        expect(".xlsx fits to page", sheet.sheet_properties.pageSetUpPr is not None and
               sheet.sheet_properties.pageSetUpPr.fitToPage, sheet.sheet_properties.pageSetUpPr)
        fit = (sheet.page_setup.fitToWidth, sheet.page_setup.fitToHeight)
        expect(".xlsx one page wide, any number tall", fit in ((1, 0), ("1", "0"), (None, 0), (None, "0")), fit)
        expect(".xlsx left margin from the page", abs(sheet.page_margins.left - 0.5) < 0.02, sheet.page_margins.left)

        for name in ("w.xls", "w.xlsx"):
            pages = printed_pages(os.path.join(work, name), work)
            expect(name + " prints on no more pages than the PDF's two", 1 <= pages <= 2, pages)

    return checks.report()


if __name__ == "__main__":
    sys.exit(main())
