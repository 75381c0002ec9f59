#!/usr/bin/env python3
"""Writes the PDF files the command tests convert. Run it from anywhere; it
writes next to itself."""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(HERE, "..", "pdf"))
from make_fixtures import Pdf  # noqa: E402

# Operators a page may run.
OPERATOR_BUDGET = 5_000_000


def pages(p, contents, fonts):
    """A catalog and one page per content stream, objects from 1 on."""
    kids = " ".join("%d 0 R" % (10 + 2 * i) for i in range(len(contents)))
    p.obj(1, "<< /Type /Catalog /Pages 2 0 R >>")
    p.obj(2, "<< /Type /Pages /Kids [%s] /Count %d /MediaBox [0 0 612 792] /Resources << /Font << %s >> >> >>"
          % (kids, len(contents), fonts))
    for i, data in enumerate(contents):
        p.obj(10 + 2 * i, "<< /Type /Page /Parent 2 0 R /Contents %d 0 R >>" % (11 + 2 * i))
        p.stream(11 + 2 * i, "", data, flate=True)


def lossy():
    """Four pages: the first converts whole; the second runs past the
    operator budget and fails; the third has two characters no code page
    1252 form can hold (alpha, beta) and a text longer than a cell holds;
    the fourth one such character."""
    p = Pdf("1.4")
    greek = b"BT /F2 12 Tf 72 700 Td (%s) Tj ET"
    pages(p, [
        b"BT /F1 12 Tf 72 700 Td (A page that converts) Tj ET",
        b"BT /F1 12 Tf 72 700 Td (Too much drawing) Tj ET\n" + b"n\n" * OPERATOR_BUDGET,
        greek % b"ab" + b"\nBT /F1 2 Tf 72 600 Td (" + b"x" * 300 + b") Tj ET",
        greek % b"a",
    ], "/F1 3 0 R /F2 4 0 R")
    p.obj(3, "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>")
    p.obj(4, "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica"
             " /Encoding << /Type /Encoding /Differences [97 /alpha /beta] >> >>")
    p.xref_table("<< /Size 18 /Root 1 0 R >>")
    with open(os.path.join(HERE, "lossy.pdf"), "wb") as f:
        f.write(p.data)


def version17():
    """One page of text under a 1.7 header, as word processors write them."""
    p = Pdf("1.7")
    pages(p, [b"BT /F1 12 Tf 72 700 Td (Version seventeen) Tj ET"], "/F1 3 0 R")
    p.obj(3, "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>")
    p.xref_table("<< /Size 12 /Root 1 0 R >>")
    with open(os.path.join(HERE, "v17.pdf"), "wb") as f:
        f.write(p.data)


def outputs():
    """Two pages for the .xlsx and .csv outputs. The first: Greek, Cyrillic,
    CJK and a symbol no code page 1252 form holds, a number with separators
    and a plain one, a text with a comma and quotes, and a 300-character
    text; the second: one text and a picture."""
    p = Pdf("1.4")
    p.obj(1, "<< /Type /Catalog /Pages 2 0 R >>")
    p.obj(2, "<< /Type /Pages /Kids [10 0 R 12 0 R] /Count 2 /MediaBox [0 0 612 792]"
             " /Resources << /Font << /F1 3 0 R /F2 4 0 R >> /XObject << /Im1 5 0 R >> >> >>")
    p.obj(3, "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>")
    p.obj(4, "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding << /Type /Encoding"
             " /Differences [97 /alpha /beta /uni0416 /uni044F /greaterequal /uni4E2D /uni6587] >> >>")
    # An 8 x 8 picture, red above and blue below.
    p.stream(5, "/Type /XObject /Subtype /Image /Width 8 /Height 8 /ColorSpace /DeviceRGB /BitsPerComponent 8",
             b"\xff\x00\x00" * 32 + b"\x00\x00\xff" * 32)
    first = b"\n".join([
        b"BT /F2 12 Tf 72 700 Td (ab) Tj ET",
        b"BT /F2 12 Tf 250 700 Td (cd) Tj ET",
        b"BT /F2 12 Tf 400 700 Td (e 5) Tj ET",
        b"BT /F2 12 Tf 500 700 Td (fg) Tj ET",
        b"BT /F1 12 Tf 72 650 Td (1,234.50) Tj ET",
        b"BT /F1 12 Tf 250 650 Td (42) Tj ET",
        b'BT /F1 12 Tf 400 650 Td (say "hi", ok) Tj ET',
        b"BT /F1 2 Tf 72 600 Td (" + b"abcdefghij" * 30 + b") Tj ET",
    ])
    second = b"BT /F1 12 Tf 72 700 Td (Second page) Tj ET\nq 96 0 0 96 72 500 cm /Im1 Do Q"
    p.obj(10, "<< /Type /Page /Parent 2 0 R /Contents 11 0 R >>")
    p.stream(11, "", first, flate=True)
    p.obj(12, "<< /Type /Page /Parent 2 0 R /Contents 13 0 R >>")
    p.stream(13, "", second, flate=True)
    p.xref_table("<< /Size 14 /Root 1 0 R >>")
    with open(os.path.join(HERE, "outputs.pdf"), "wb") as f:
        f.write(p.data)


def many_rows():
    """240 pages, each the same 50 lines, whose rows together pass the
    16,384 an .xls worksheet holds: the formats that hold more keep them on
    one worksheet."""
    p = Pdf("1.4")
    count = 240
    kids = " ".join("%d 0 R" % (20 + i) for i in range(count))
    p.obj(1, "<< /Type /Catalog /Pages 2 0 R >>")
    p.obj(2, "<< /Type /Pages /Kids [%s] /Count %d /MediaBox [0 0 612 792] /Resources << /Font << /F1 3 0 R >> >> >>"
          % (kids, count))
    p.obj(3, "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>")
    lines = [b"BT /F1 10 Tf 72 %d Td (Line %d) Tj ET" % (760 - 14 * i, i + 1) for i in range(50)]
    p.stream(4, "", b"\n".join(lines), flate=True)
    for i in range(count):
        p.obj(20 + i, "<< /Type /Page /Parent 2 0 R /Contents 4 0 R >>")
    p.xref_table("<< /Size %d /Root 1 0 R >>" % (20 + count))
    with open(os.path.join(HERE, "many_rows.pdf"), "wb") as f:
        f.write(p.data)

def tall_page():
    """One page as tall as a page may be (14,400 points) with 18,000 lines of
    small type, one pixel apart: more rows than an .xls worksheet holds. The
    formats that hold more keep the page on one worksheet, in order. (Text
    lands on whole pixels, so a page holds no more lines than that.)"""
    p = Pdf("1.4")
    count, pitch = 18000, 0.75
    p.obj(1, "<< /Type /Catalog /Pages 2 0 R >>")
    p.obj(2, "<< /Type /Pages /Kids [10 0 R] /Count 1 /MediaBox [0 0 200 14400]"
             " /Resources << /Font << /F1 3 0 R >> >> >>")
    p.obj(3, "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>")
    lines = b"\n".join(b"(Line %d) '" % (i + 1) for i in range(count))
    # Wide type: characters a pixel or less apart would be taken for repeats.
    content = b"BT /F1 0.5 Tf 300 Tz %g TL 10 %g Td\n%s\nET" % (pitch, 14400 - 3.2, lines)
    p.obj(10, "<< /Type /Page /Parent 2 0 R /Contents 11 0 R >>")
    p.stream(11, "", content, flate=True)
    p.xref_table("<< /Size 12 /Root 1 0 R >>")
    with open(os.path.join(HERE, "tall_page.pdf"), "wb") as f:
        f.write(p.data)


# What each kind of number the cells recognise looks like on a page, and
# texts that look like numbers but stay text; one a line, in this order. A
# document's decimal mark is settled by its first page that shows one: the
# decimal comma has a document of its own.
NUMBER_TEXTS = [
    b"815.9", b"0.0156", b".00015", b"1,234.50", b"12,345,678", b"1234", b"10 000", b"1.5e-3",
    b"18.4%", b"-10.5 %", b"+14", b"+2.5%", b"(1,234.50)", b"1,234-", b"-42",
    b"$1,474.20", b"-$682.34", b"$-682.34", b"CHF 6,501.47", b"12.00 USD", b"1234.00 USD", b"\xa33",
    b"99.50 \x80", b"\xa51,000",
    b"2023-01-20", b"04.01.2024", b"4.1.2024", b"12/31/2004", b"3:45 PM", b"23:59:59", b"9:30",
    b"00123", b"-007", b"1234567890123456", b"4111 1111 1111 1111", b"+41 44 123 45 67", b"555-1234",
    b"1.2.3", b"3E1", b"A-1234",
]
COMMA_NUMBER_TEXTS = [
    b"2.386,06 \x80", b"1 234,5", b"1.234", b"-0,5", b"12,5 %", b"(1.234,50)", b"EUR 3,20", b"31/12/2004",
    b"1,2,3",
]
# Texts a spreadsheet would run as formulas, and numbers and text that look alike.
FORMULA_TEXTS = [b'=HYPERLINK("http://example.com","x")', b"=1+1", b"@SUM(1,2)", b"-2+3", b"-312.03", b"- 4", b"a=b"]


def xml_forbidden():
    """One page whose font maps its codes to characters XML cannot hold
    (U+FFFF, a lone surrogate, U+000B), a literal "_x000D_" and a line after
    them; the title holds U+000B too."""
    p = Pdf("1.4")
    pages(p, [b"\n".join([
        b"BT /F2 12 Tf 72 700 Td (xabcx) Tj ET",
        b"BT /F1 12 Tf 72 680 Td (a_x000D_b) Tj ET",
        b"BT /F1 12 Tf 72 660 Td (After) Tj ET",
    ])], "/F1 3 0 R /F2 4 0 R")
    p.obj(3, "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>")
    p.obj(4, "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding /ToUnicode 5 0 R >>")
    p.stream(5, "", b"/CIDInit /ProcSet findresource begin 12 dict begin begincmap\n"
                    b"1 begincodespacerange <00> <FF> endcodespacerange\n"
                    b"4 beginbfchar <61> <FFFF> <62> <D83D> <63> <000B> <78> <0078> endbfchar\n"
                    b"endcmap CMapName currentdict /CMap defineresource pop end end\n")
    p.obj(6, "<< /Title (Soft\\013break) >>")
    p.xref_table("<< /Size 12 /Root 1 0 R /Info 6 0 R >>")
    with open(os.path.join(HERE, "xml_forbidden.pdf"), "wb") as f:
        f.write(p.data)


def numbers(name, texts):
    """One page with a line of each text."""
    p = Pdf("1.4")
    lines = [b"BT /F1 10 Tf 72 %d Td (%s) Tj ET" % (770 - 16 * i, text) for i, text in enumerate(texts)]
    pages(p, [b"\n".join(lines)], "/F1 3 0 R")
    p.obj(3, "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>")
    p.xref_table("<< /Size 12 /Root 1 0 R >>")
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(p.data)


if __name__ == "__main__":
    lossy()
    version17()
    outputs()
    many_rows()
    tall_page()
    xml_forbidden()
    numbers("numbers.pdf", NUMBER_TEXTS)
    numbers("numbers_comma.pdf", COMMA_NUMBER_TEXTS)
    numbers("formulas.pdf", FORMULA_TEXTS)
