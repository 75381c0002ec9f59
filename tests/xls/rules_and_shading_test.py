#!/usr/bin/python3
"""A ruled table's lines as cell borders, a zebra table's bands as fills.

    rules_and_shading_test.py VELLUMSHEET

Converts tests/data/tables/ruled.pdf (a thick frame, a medium rule under
the heading row, thin rules between the other rows, thin filled bars
between the columns) and zebra.pdf (a dark blue heading band, light grey
bands on every second row, white text on the blue), reads back the
borders, the fills and the heading's white text with xlrd (formatting_info)
and openpyxl, and checks that --plain-sheet leaves cells unframed and
unfilled. ruled_gap.pdf (every cell ruled, two of them empty) gives its
empty cells their lines too.
"""
import os
import sys
import tempfile

import openpyxl
import xlrd

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from table_checks import Checks, convert  # noqa: E402

NONE, THIN, MEDIUM, THICK = 0, 1, 2, 5  # line styles as both formats number them
XLSX_STYLES = {None: NONE, "thin": THIN, "medium": MEDIUM, "thick": THICK}


def ruled_expected(rows, columns):
    """(top, left, bottom, right) of each cell of the ruled table."""
    expected = {}
    for r in range(rows):
        for c in range(columns):
            top = THICK if r == 0 else MEDIUM if r == 1 else THIN
            bottom = THICK if r == rows - 1 else MEDIUM if r == 0 else THIN
            left = THICK if c == 0 else THIN
            right = THICK if c == columns - 1 else THIN
            expected[(r, c)] = (top, left, bottom, right)
    return expected


def xls_cells(path):
    """{text: ((top, left, bottom, right), fill rgb or None, font rgb)} of the first sheet."""
    book = xlrd.open_workbook(path, formatting_info=True)
    sheet = book.sheet_by_index(0)
    found = {}
    for r in range(sheet.nrows):
        for c in range(sheet.ncols):
            cell = sheet.cell(r, c)
            if cell.ctype not in (xlrd.XL_CELL_TEXT, xlrd.XL_CELL_NUMBER):
                continue
            xf = book.xf_list[cell.xf_index]
            b = xf.border
            fill = None
            if xf.background.fill_pattern == 1:
                fill = book.colour_map.get(xf.background.pattern_colour_index)
            key = cell.value if cell.ctype == xlrd.XL_CELL_TEXT else "%g" % cell.value
            font = book.colour_map.get(book.font_list[xf.font_index].colour_index)
            found[key] = ((b.top_line_style, b.left_line_style, b.bottom_line_style, b.right_line_style), fill,
                          font)
    return found


def xlsx_cells(path):
    sheet = openpyxl.load_workbook(path).active
    found = {}
    for row in sheet.iter_rows():
        for cell in row:
            if cell.value is None:
                continue
            b = cell.border
            styles = tuple(XLSX_STYLES.get(side.style, -1) for side in (b.top, b.left, b.bottom, b.right))
            fill = None
            if cell.fill is not None and cell.fill.fill_type == "solid":
                rgb = cell.fill.fgColor.rgb
                fill = tuple(int(rgb[i:i + 2], 16) for i in (2, 4, 6)) if isinstance(rgb, str) else rgb
            key = cell.value if isinstance(cell.value, str) else "%g" % cell.value
            rgb = cell.font.color.rgb if cell.font.color is not None else None
            font = tuple(int(rgb[i:i + 2], 16) for i in (2, 4, 6)) if isinstance(rgb, str) else (0, 0, 0)
            found[key] = (styles, fill, font)
    return found


def xls_lines_at(path):
    """{(row, column): (top, left, bottom, right)} of every cell of the first sheet, blank ones too."""
    book = xlrd.open_workbook(path, formatting_info=True)
    sheet = book.sheet_by_index(0)
    found = {}
    for r in range(sheet.nrows):
        for c in range(sheet.ncols):
            b = book.xf_list[sheet.cell_xf_index(r, c)].border
            found[(r, c)] = (b.top_line_style, b.left_line_style, b.bottom_line_style, b.right_line_style)
    return found


def xlsx_lines_at(path):
    sheet = openpyxl.load_workbook(path).active
    found = {}
    for row in sheet.iter_rows():
        for cell in row:
            b = cell.border
            found[(cell.row - 1, cell.column - 1)] = tuple(XLSX_STYLES.get(side.style, -1)
                                                          for side in (b.top, b.left, b.bottom, b.right))
    return found


def main():
    program = sys.argv[1]
    checks = Checks()
    expect = checks.expect

    ruled_rows = [["Name", "Qty", "Price"], ["bolt", "5", "1.2"], ["nut", "16", "0.35"], ["washer", "123", "0.05"]]
    expected = ruled_expected(4, 3)
    zebra_rows = [["Name", "Qty", "Price"]] + [["part %d" % n, "%d" % (n * 3), "%g" % (n + 0.5)] for n in range(1, 7)]
    with tempfile.TemporaryDirectory() as work:
        for ext, read in (("xls", xls_cells), ("xlsx", xlsx_cells)):
            found = read(convert(program, work, "ruled.pdf", "r." + ext))
            for r, row in enumerate(ruled_rows):
                for c, text in enumerate(row):
                    got = found.get(text, (None,))[0]
                    expect("%s ruled %s" % (ext, text), got == expected[(r, c)], (got, expected[(r, c)]))

            found = read(convert(program, work, "zebra.pdf", "z." + ext))
            for r, row in enumerate(zebra_rows):
                fill = found.get(row[0], (None, "missing"))[1]
                if r == 0:
                    ok = fill is not None and fill[2] > 100 and fill[0] < 60 and fill[1] < 60
                elif r % 2 == 0:
                    ok = fill is not None and all(180 <= v < 255 for v in fill) and len(set(fill)) == 1
                else:
                    ok = fill is None
                expect("%s zebra row %d fill" % (ext, r), ok, fill)
                if r == 0:
                    font = found.get(row[0], (None, None, None))[2]
                    expect("%s white heading stays white on its band" % ext, font == (255, 255, 255), font)
                for text in row[1:]:
                    expect("%s zebra row %d: the row's cells alike" % (ext, r),
                           found.get(text, (None, "missing"))[1] == fill, (text, found.get(text)))

            lines = {"xls": xls_lines_at, "xlsx": xlsx_lines_at}[ext](convert(program, work, "ruled_gap.pdf", "g." + ext))
            for cell in ((1, 1), (2, 0), (0, 0), (2, 2)):
                expect("%s ruled_gap cell %s framed" % (ext, cell), lines.get(cell) == (THIN,) * 4, lines.get(cell))

            for name in ("ruled.pdf", "zebra.pdf"):
                found = read(convert(program, work, name, "p." + ext, "--plain-sheet"))
                plain = all(styles == (NONE,) * 4 and fill is None for styles, fill, _ in found.values())
                expect("%s %s --plain-sheet keeps cells plain" % (ext, name), plain and found, found)

    return checks.report()


if __name__ == "__main__":
    sys.exit(main())
