#!/usr/bin/env python3
"""Writes the PDF files of the table layout tests. Run it from anywhere; it
writes next to itself."""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(HERE, "..", "pdf"))
from make_fixtures import Pdf  # noqa: E402

FONT = "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>"


def save(name, contents, box="0 0 612 792", rotate=0):
    """One page per content stream, Helvetica as /F1."""
    p = Pdf("1.4")
    kids = " ".join("%d 0 R" % (10 + 2 * i) for i in range(len(contents)))
    p.obj(1, "<< /Type /Catalog /Pages 2 0 R >>")
    p.obj(2, "<< /Type /Pages /Kids [%s] /Count %d /MediaBox [%s] /Resources << /Font << /F1 3 0 R >> >> >>"
          % (kids, len(contents), box))
    p.obj(3, FONT)
    for i, data in enumerate(contents):
        extra = " /Rotate %d" % rotate if rotate else ""
        p.obj(10 + 2 * i, "<< /Type /Page /Parent 2 0 R /Contents %d 0 R%s >>" % (11 + 2 * i, extra))
        p.stream(11 + 2 * i, "", data)
    p.xref_table("<< /Size %d /Root 1 0 R >>" % (10 + 2 * len(contents)))
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(p.data)


def text(x, y, s, size=10):
    return b"BT /F1 %d Tf %g %g Td (%s) Tj ET" % (size, x, y, s.encode("cp1252"))


def right(x, y, s, size=10):
    """Text whose right edge is at x (Helvetica digits are 0.556 em wide)."""
    return text(x - 0.556 * size * len(s), y, s, size)


def spanning():
    """A heading over two columns of quarters, a title and a paragraph above."""
    lines = [text(72, 740, "Sales by region", 14),
             text(72, 715, "The figures below are in thousands and cover the whole year."),
             text(72, 690, "Region"), text(235, 690, "Sales in the year 2023"),
             text(205, 675, "First half"), text(305, 675, "Second half")]
    for i, (region, a, b) in enumerate([("North", "120", "135"), ("South", "98", "104"), ("East", "1,210", "990")]):
        y = 660 - 15 * i
        lines += [text(72, y, region), right(250, y, a), right(350, y, b)]
    save("spanning.pdf", [b"\n".join(lines)])


def continued():
    """A loans table over three pages, each with a running title, the
    table's heading row and a page number."""
    pages = []
    for page in range(1, 4):
        lines = [text(72, 760, "Loans outstanding at the end of the year"),
                 text(72, 700, "Borrower"), text(250, 700, "Branch"), right(450, 700, "Amount")]
        for row in range(5):
            n = (page - 1) * 5 + row + 1
            y = 685 - 15 * row
            lines += [text(72, y, "Borrower %d" % n), text(250, y, "Branch %s" % "ABC"[row % 3]),
                      right(450, y, "%d,%03d.00" % (n, 7 * n))]
        lines.append(text(480, 40, "Page %d of 3" % page))
        pages.append(b"\n".join(lines))
    save("continued.pdf", pages)


def turned(name, up):
    """A table set across a portrait page, its text rising up the page (up)
    or running down it."""
    rows = [("Name", "Qty", "Price"), ("bolt", "5", "1.20"), ("nut", "16", "0.35"), ("washer", "123", "0.05")]
    lines = []
    for r, row in enumerate(rows):
        for c, cell in enumerate(row):
            if up:
                matrix, x, y = b"0 1 -1 0", 100 + 20 * r, 100 + 150 * c
            else:
                matrix, x, y = b"0 -1 1 0", 500 - 20 * r, 700 - 150 * c
            lines.append(b"BT /F1 12 Tf %s %d %d Tm (%s) Tj ET" % (matrix, x, y, cell.encode()))
    save(name, [b"\n".join(lines)])


def rotated_page():
    """The same table upright on a page shown turned by /Rotate."""
    rows = [("Name", "Qty", "Price"), ("bolt", "5", "1.20"), ("nut", "16", "0.35"), ("washer", "123", "0.05")]
    lines = [text(72 + 150 * c, 500 - 20 * r, cell, 12) for r, row in enumerate(rows) for c, cell in enumerate(row)]
    save("rotate90.pdf", [b"\n".join(lines)], rotate=90)


def wide():
    """Fourteen columns of figures over two landscape pages: wider than the
    paper once each column is as wide as its texts."""
    pages = []
    heads = ["Item"] + ["Month %d" % m for m in range(1, 14)]
    for page in range(2):
        lines = [text(36, 570, "Monthly figures, part %d" % (page + 1), 12)]
        lines += [text(36 + 52 * c, 545, h, 7) for c, h in enumerate(heads)]
        for row in range(30):
            y = 530 - 16 * row
            n = page * 30 + row + 1
            lines.append(text(36, y, "Item %d" % n, 7))
            lines += [right(36 + 52 * c + 48, y, "%d,%03d.%02d" % (n, 13 * c * n % 1000, c), 7)
                      for c in range(1, 14)]
        pages.append(b"\n".join(lines))
    save("wide.pdf", pages, box="0 0 792 612")


def ruled():
    """A table with a thick outer frame, a medium rule under its heading row
    and thin inner rules, drawn as lines and as a thin filled rectangle."""
    rows = [("Name", "Qty", "Price"), ("bolt", "5", "1.20"), ("nut", "16", "0.35"), ("washer", "123", "0.05")]
    left, top, width, height = 72, 700, 300, 20
    lines = [text(left + 6 + 100 * c, top - 15 - height * r, cell) for r, row in enumerate(rows)
             for c, cell in enumerate(row)]
    bottom, right_edge = top - height * len(rows), left + width
    lines.append(b"0 0 0 RG 3 w %d %d %d %d re S" % (left, bottom, width, height * len(rows)))
    lines.append(b"2 w %d %d m %d %d l S" % (left, top - height, right_edge, top - height))
    for r in range(2, len(rows)):
        lines.append(b"0.5 w %d %d m %d %d l S" % (left, top - height * r, right_edge, top - height * r))
    for c in (1, 2):
        lines.append(b"0 0 0 rg %g %d 0.5 %d re f" % (left + 100 * c - 0.25, bottom, height * len(rows)))
    save("ruled.pdf", [b"\n".join(lines)])


def zebra():
    """A table whose every second row lies on a light grey band, its heading
    row on a dark blue one with white text."""
    rows = [("Name", "Qty", "Price")] + [("part %d" % n, str(n * 3), "%d.50" % n) for n in range(1, 7)]
    left, top, height = 72, 700, 18
    lines = [b"0 0 0.5 rg %d %d 300 %d re f" % (left, top - height, height)]
    for r in range(2, len(rows), 2):
        lines.append(b"0.85 0.85 0.85 rg %d %d 300 %d re f" % (left, top - height * (r + 1), height))
    for r, row in enumerate(rows):
        colour = b"1 1 1 rg " if r == 0 else b"0 0 0 rg "
        lines += [colour + text(left + 6 + 100 * c, top - 13 - height * r, cell) for c, cell in enumerate(row)]
    save("zebra.pdf", [b"\n".join(lines)])


def ruled_gap():
    """A table ruled on every side of every cell whose middle cell and last
    row's first cell hold nothing."""
    rows = [("Name", "Qty", "Price"), ("bolt", "", "1.20"), ("", "16", "0.35")]
    left, top, height = 72, 700, 20
    lines = [text(left + 6 + 100 * c, top - 15 - height * r, cell) for r, row in enumerate(rows)
             for c, cell in enumerate(row) if cell]
    for r in range(len(rows) + 1):
        lines.append(b"0.5 w %d %d m %d %d l S" % (left, top - height * r, left + 300, top - height * r))
    for c in range(4):
        lines.append(b"0.5 w %d %d m %d %d l S" % (left + 100 * c, top, left + 100 * c, top - height * len(rows)))
    save("ruled_gap.pdf", [b"\n".join(lines)])


def two_tables():
    """Two pages, each with a table of its own under a title: the second page
    starts a printed page."""
    pages = []
    tables = (("Parts in stock", ("Item", "Qty", "Price")), ("Sales by region", ("Region", "North", "South", "East")))
    for title, heads in tables:
        lines = [text(72, 680, title, 14)]
        lines += [text(72 + 100 * c, 650, h) for c, h in enumerate(heads)]
        for row in range(4):
            y = 635 - 15 * row
            lines.append(text(72, y, "Line %d" % (row + 1)))
            lines += [right(72 + 100 * c + 60, y, "%d.%02d" % (row * 7 + c, c)) for c in range(1, len(heads))]
        pages.append(b"\n".join(lines))
    save("two_tables.pdf", pages)


if __name__ == "__main__":
    spanning()
    continued()
    turned("text_up.pdf", True)
    turned("text_down.pdf", False)
    rotated_page()
    wide()
    ruled()
    zebra()
    ruled_gap()
    two_tables()
