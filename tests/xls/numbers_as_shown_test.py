#!/usr/bin/python3
"""Numbers show in LibreOffice as the page shows them, and stay numbers.

    numbers_as_shown_test.py VELLUMSHEET

Writes two small PDF documents, a table of number texts each, converts them
with `vellumsheet convert` and checks LibreOffice's CSV export, which holds
the cells as they are displayed: every text of the page is shown as it
stands, and xlrd finds a number cell for every text but those that must stay
text. The decimal-point document is read by LibreOffice in its default
(English) locale, the decimal-comma one in a German locale, whose separators
it displays numbers with. A text that reads as a number in the other
convention only ("12.5" after the decimal comma was settled) stays text.
"""
import csv
import os
import shutil
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "pdf"))
from make_fixtures import Pdf  # noqa: E402
import xlrd  # noqa: E402

POINT = [["815.9", "0.0156", "1,234.50", "18.4%", "-10.5 %", "+14", "2023-01-20", "04.01.2024",
          "CHF 6,501.47", "$1,474.20", "-$682.34", "(1,234.50)", "12,345", "3:45 PM", "12/31/2004",
          "00123", "1.2.3", "555-1234"]]
# The first page tells nothing about the decimal mark; the second settles on
# the comma; the third follows it.
TEXT = {"00123", "1.2.3", "555-1234", "Bericht", "12.5"}
COMMA = [["Bericht", "2024"],
         ["2.386,06 \u20ac", "12,5", "1.234", "-0,75", "18,4 %", "1.234.567", "04.01.2024"],
         ["1,234", "12.5", "3,25"]]


def label(page, row):
    return b"P%d L%d" % (page + 1, row + 1)


def write_pdf(path, pages):
    """One line per text, in Helvetica with the Windows encoding."""
    p = Pdf("1.4")
    count = len(pages)
    kids = " ".join("%d 0 R" % (4 + 2 * i) for i in range(count))
    p.obj(1, "<< /Type /Catalog /Pages 2 0 R >>")
    p.obj(2, "<< /Type /Pages /Kids [%s] /Count %d >>" % (kids, count))
    p.obj(3, "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>")
    for i, texts in enumerate(pages):
        lines = []
        for row, text in enumerate(texts):
            literal = text.encode("cp1252").replace(b"(", b"\\(").replace(b")", b"\\)")
            lines.append(b"BT /F1 10 Tf 72 %d Td (%s) Tj 150 0 Td (%s) Tj ET" % (760 - 14 * row, label(i, row), literal))
        p.obj(4 + 2 * i, "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents %d 0 R"
                         " /Resources << /Font << /F1 3 0 R >> >> >>" % (5 + 2 * i))
        p.stream(5 + 2 * i, "", b"\n".join(lines))
    p.xref_table("<< /Size %d /Root 1 0 R >>" % (4 + 2 * count))
    with open(path, "wb") as f:
        f.write(p.data)


def shown(vellumsheet, work, name, pages, language):
    pdf, xls = os.path.join(work, name + ".pdf"), os.path.join(work, name + ".xls")
    write_pdf(pdf, pages)
    subprocess.run([vellumsheet, "convert", pdf, xls, "-q"], check=True, timeout=300)
    env = dict(os.environ, LC_ALL=language, LANG=language)
    profile = "file://" + os.path.join(work, "lo-" + name)
    subprocess.run(["soffice", "-env:UserInstallation=" + profile, "--headless", "--convert-to",
                    "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,true", "--outdir", work, xls],
                   env=env, capture_output=True, timeout=300)
    # Token 9 "true": cell contents as shown.
    with open(os.path.join(work, name + ".csv"), encoding="utf-8") as f:
        rows = [[v for v in row if v.strip()] for row in csv.reader(f)]
    displayed = {row[0]: row[1] for row in rows if len(row) == 2}
    sheet = xlrd.open_workbook(xls).sheet_by_index(0)
    numbers = set()  # the labels of the rows that hold a number
    for r in range(sheet.nrows):
        types = [sheet.cell_type(r, c) for c in range(sheet.ncols)]
        if xlrd.XL_CELL_TEXT in types and (xlrd.XL_CELL_NUMBER in types or xlrd.XL_CELL_DATE in types):
            numbers.add(sheet.cell_value(r, types.index(xlrd.XL_CELL_TEXT)))
    return displayed, numbers


def main():
    vellumsheet = sys.argv[1]
    if not shutil.which("soffice"):
        print("soffice is not installed (scripts/install-deps)")
        return 1
    failures = []
    with tempfile.TemporaryDirectory(prefix="vs_numbers_") as work:
        for name, pages, language in (("point", POINT, "en_US.UTF-8"), ("comma", COMMA, "de_DE.UTF-8")):
            displayed, numbers = shown(vellumsheet, work, name, pages, language)
            for i, page in enumerate(pages):
                for row, text in enumerate(page):
                    where = label(i, row).decode()
                    if displayed.get(where) != text:
                        failures.append("%s: %r is shown as %r" % (name, text, displayed.get(where)))
                    if (where in numbers) == (text in TEXT):
                        failures.append("%s: %r is %s" % (name, text, "a number" if text in TEXT else "text"))
    for failure in failures:
        print("FAIL: " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
