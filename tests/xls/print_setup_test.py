#!/usr/bin/python3
"""Worksheets print like their PDF: one page wide, margins from the page, a
long table's heading atop every printed page and a page break where a page
starts another table.

    print_setup_test.py VELLUMSHEET

Converts tests/data/tables/wide.pdf (fourteen columns on two landscape
pages, one table of sixty rows) to .xls and .xlsx, reads the page setup back
(the .xls records through olefile, its print titles and page breaks through
xlrd, the .xlsx through openpyxl) and has LibreOffice print both: neither
takes more pages than the PDF, and the second printed page starts with the
table's heading row. two_tables.pdf (a table on each of two pages) breaks
before the second table; continued.pdf (a short table over three pages)
neither breaks nor repeats its heading. --plain-sheet keeps the fit but
leaves the margins, the breaks and the titles to the reader.
"""
import os
import struct
import subprocess
import sys
import tempfile

import olefile
import openpyxl
import xlrd

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


def printed(path, work):
    """(pages, first line of text of the second page) of LibreOffice's print."""
    out = os.path.join(work, "printed", os.path.basename(path).replace(".", "_"))
    subprocess.run(["soffice", "-env:UserInstallation=file://" + os.path.join(work, "profile"), "--headless",
                    "--convert-to", "pdf", "--outdir", out, path], check=True, timeout=300,
                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    pdf = os.path.join(out, os.path.splitext(os.path.basename(path))[0] + ".pdf")
    info = subprocess.run(["pdfinfo", pdf], check=True, capture_output=True, text=True).stdout
    pages = int(next(line.split()[1] for line in info.splitlines() if line.startswith("Pages:")))
    second = ""
    if pages > 1:
        text = subprocess.run(["pdftotext", "-f", "2", "-l", "2", "-layout", pdf, "-"], check=True,
                              capture_output=True, text=True).stdout
        second = next((line.strip() for line in text.splitlines() if line.strip()), "")
    return pages, second


def xls_print(path):
    """(print title rows (first, last) or None, rows starting a printed page) of the first sheet."""
    book = xlrd.open_workbook(path, formatting_info=True)
    titles = None
    for name in book.name_obj_list:
        if name.name == "Print_Titles" and name.scope == 0:
            _, first, last, _, _ = name.area2d()
            titles = (first, last - 1)
    return titles, [row for row, _, _ in book.sheet_by_index(0).horizontal_page_breaks]


def xlsx_print(path):
    sheet = openpyxl.load_workbook(path).active
    titles = sheet.print_title_rows
    if titles:
        first, last = titles.replace("$", "").split(":")
        titles = (int(first) - 1, int(last) - 1)
    return titles, [b.id for b in sheet.row_breaks.brk]


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

        # The heading row "Item  Month 1 ..." is the sheet's fourth row.
        for ext, read in (("xls", xls_print), ("xlsx", xlsx_print)):
            for name, options, titles, breaks in (("wide.pdf", [], (3, 3), []),
                                                  ("two_tables.pdf", [], None, [9]),
                                                  ("continued.pdf", [], None, []),
                                                  ("wide.pdf", ["--plain-sheet"], None, []),
                                                  ("two_tables.pdf", ["--plain-sheet"], None, [])):
                tag = "%s %s %s" % (ext, name, " ".join(options))
                got = read(convert(program, work, name, "p." + ext, *options))
                expect(tag + ": print titles", got[0] == titles, got[0])
                expect(tag + ": page breaks", got[1] == breaks, got[1])

        for name in ("w.xls", "w.xlsx"):
            pages, second = printed(os.path.join(work, name), work)
            expect(name + " prints on no more pages than the PDF's two", 1 <= pages <= 2, pages)
            expect(name + " repeats the heading atop the second page", second.startswith("Item") and
                   "Month 13" in second, second)
        for ext in ("xls", "xlsx"):
            pages, second = printed(convert(program, work, "two_tables.pdf", "t." + ext), work)
            expect(ext + ": the second table starts the second printed page",
                   pages == 2 and second == "Sales by region", (pages, second))

    return checks.report()


if __name__ == "__main__":
    sys.exit(main())
