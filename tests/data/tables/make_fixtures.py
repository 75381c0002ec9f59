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


if __name__ == "__main__":
    spanning()
    continued()
    turned("text_up.pdf", True)
    turned("text_down.pdf", False)
    rotated_page()
