#!/usr/bin/python3
"""Tables as the command line lays them out, read back with xlrd and openpyxl.

    table_layout_test.py VELLUMSHEET

Converts the PDF files of tests/data/tables: a heading over two columns is
centred across them in the .xls and merged over them in the .xlsx; a table
continued over three pages goes on without its repeated heading row,
running title or page-break rows, its page number written once after it (and keeps them all with
--page-grid); a table whose text rises up or runs down the page, or a page
turned by /Rotate, reads in its own direction.
"""
import os
import sys
import tempfile

import openpyxl
import xlrd

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from table_checks import Checks, convert  # noqa: E402

CENTRED_ACROSS = 6
TURNED = [["Name", "Qty", "Price"], ["bolt", 5, 1.2], ["nut", 16, 0.35], ["washer", 123, 0.05]]


def cells(path):
    """{(row, col): value} of the first sheet's non-empty cells, and the book."""
    book = xlrd.open_workbook(path, formatting_info=True)
    sheet = book.sheet_by_index(0)
    found = {}
    for r in range(sheet.nrows):
        for c in range(sheet.ncols):
            cell = sheet.cell(r, c)
            if cell.ctype in (xlrd.XL_CELL_TEXT, xlrd.XL_CELL_NUMBER):
                found[(r, c)] = cell.value
    return found, book, sheet


def main():
    program = sys.argv[1]
    checks = Checks()
    expect = checks.expect

    with tempfile.TemporaryDirectory() as work:
        # A heading over two columns.
        found, book, sheet = cells(convert(program, work, "spanning.pdf", "s.xls"))
        at = next((p for p, v in found.items() if v == "Sales in the year 2023"), None)
        expect("heading found", at is not None, found)
        if at:
            r, c = at
            align = [book.xf_list[sheet.cell_xf_index(r, c + k)].alignment.hor_align for k in (0, 1)]
            expect("heading centred across its two columns", align == [CENTRED_ACROSS] * 2, align)
            expect("column heads under it", found.get((r + 1, c)) == "First half" and
                   found.get((r + 1, c + 1)) == "Second half", found)
            expect("numbers under their heads", found.get((r + 2, c)) == 120 and found.get((r + 2, c + 1)) == 135, found)
        sheet = openpyxl.load_workbook(convert(program, work, "spanning.pdf", "s.xlsx")).active
        merged = [str(m) for m in sheet.merged_cells.ranges]
        heading = [cell.coordinate for row in sheet.iter_rows() for cell in row if cell.value == "Sales in the year 2023"]
        expect("heading merged over its two columns", len(heading) == 1 and
               merged == ["%s:%s%s" % (heading[0], chr(ord(heading[0][0]) + 1), heading[0][1:])], (heading, merged))

        # A table over three pages.
        found, _, _ = cells(convert(program, work, "continued.pdf", "c.xls"))
        texts = list(found.values())
        expect("heading row once", texts.count("Borrower") == 1 and texts.count("Amount") == 1, texts)
        expect("running title once", texts.count("Loans outstanding at the end of the year") == 1, texts)
        expect("later page numbers left out", "Page 2 of 3" not in texts and "Page 3 of 3" not in texts, texts)
        rows = [r for n in range(1, 16) for (r, c), v in found.items() if v == "Borrower %d" % n]
        expect("the table goes on row after row over the page breaks", rows == list(range(rows[0], rows[0] + 15))
               if rows else False, rows)
        footer = [r for (r, c), v in found.items() if v == "Page 1 of 3"]
        expect("the page number once, after the table", rows and footer and footer[0] > rows[-1], (rows, footer))
        found, _, _ = cells(convert(program, work, "continued.pdf", "g.xls", "--page-grid"))
        expect("--page-grid keeps every page as it is", list(found.values()).count("Borrower") == 3, found)

        # Tables turned on the page.
        for name in ["text_up.pdf", "text_down.pdf", "rotate90.pdf"]:
            found, _, _ = cells(convert(program, work, name, name + ".xls"))
            grid = [[found.get((r, c)) for c in range(3)] for r in range(4)]
            expect(name + " reads in its direction", grid == TURNED and len(found) == 12, found)

    return checks.report()


if __name__ == "__main__":
    sys.exit(main())
