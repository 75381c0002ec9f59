#!/usr/bin/python3
"""Opens the .xlsx of the command fixtures (tests/data/cli) with readers
written elsewhere: openpyxl reads every cell with warnings turned into
errors, and Gnumeric's ssconvert converts each with nothing on stderr.
Without ssconvert the openpyxl checks still run and the test is skipped
(exit 77), saying so. A page and a title holding characters XML forbids
are written with U+FFFD in their place, counted in the notes.

usage: xlsx_readers.py VELLUMSHEET SOURCE_DIR"""
import os
import shutil
import subprocess
import sys
import re
import tempfile
import warnings
import zipfile

import openpyxl

FIXTURES = ["outputs.pdf", "numbers.pdf", "numbers_comma.pdf", "many_rows.pdf", "tall_page.pdf", "xml_forbidden.pdf"]
# What XML 1.0 forbids in a document.
XML_FORBIDDEN = re.compile("[\x00-\x08\x0b\x0c\x0e-\x1f\ufffe\uffff\ud800-\udfff]")
SKIPPED = 77


def forbidden_characters(program, source, work):
    """tests/data/cli/xml_forbidden.pdf: no part of its workbook holds a
    character XML forbids, the replaced ones are noted, the literal "_x000D_"
    is escaped and the line after them is kept."""
    failures = []
    book = os.path.join(work, "forbidden.xlsx")
    result = subprocess.run([program, "convert", os.path.join(source, "tests", "data", "cli", "xml_forbidden.pdf"),
                             book], capture_output=True, stdin=subprocess.DEVNULL, timeout=300)
    notes = result.stderr.decode(errors="replace")
    if result.returncode != 0 or not re.search(r"characters? could not be written to the workbook", notes):
        return ["xml_forbidden.pdf: exit %d without the note of replaced characters: %s" % (result.returncode, notes)]
    with zipfile.ZipFile(book) as parts:
        for name in parts.namelist():
            text = parts.read(name).decode("utf-8", errors="surrogatepass")
            if XML_FORBIDDEN.search(text):
                failures.append("xml_forbidden.pdf: %s holds a character XML forbids" % name)
        sheet = parts.read("xl/worksheets/sheet1.xml").decode()
        if "a_x005F_x000D_b" not in sheet:
            failures.append("xml_forbidden.pdf: the literal _x000D_ is not escaped")
    with warnings.catch_warnings():
        warnings.simplefilter("error")
        workbook = openpyxl.load_workbook(book)
    values = [cell.value for row in workbook.worksheets[0].iter_rows() for cell in row if cell.value is not None]
    if "After" not in values:
        failures.append("xml_forbidden.pdf: the line after the replaced characters is lost: %r" % values)
    if workbook.properties.title != "Soft\ufffdbreak":
        failures.append("xml_forbidden.pdf: title %r" % workbook.properties.title)
    return failures


def main():
    program, source = sys.argv[1], sys.argv[2]
    failures = []
    ssconvert = shutil.which("ssconvert")
    with tempfile.TemporaryDirectory() as work:
        for pdf in FIXTURES:
            book = os.path.join(work, pdf[:-4] + ".xlsx")
            result = subprocess.run([program, "convert", os.path.join(source, "tests", "data", "cli", pdf), book, "-q"],
                                    capture_output=True, stdin=subprocess.DEVNULL, timeout=300)
            if result.returncode != 0:
                failures.append("%s: convert failed: %s" % (pdf, result.stderr.decode(errors="replace")))
                continue
            try:
                with warnings.catch_warnings():
                    warnings.simplefilter("error")
                    cells = sum(1 for sheet in openpyxl.load_workbook(book).worksheets
                                for row in sheet.iter_rows() for cell in row if cell.value is not None)
                if cells == 0:
                    failures.append("%s: openpyxl finds no cells" % pdf)
            except Exception as e:  # noqa: BLE001 - a warning or a refusal is a failure alike
                failures.append("%s: openpyxl: %r" % (pdf, e))
            if ssconvert:
                result = subprocess.run([ssconvert, book, os.path.join(work, "ssconvert.csv")],
                                        capture_output=True, stdin=subprocess.DEVNULL, timeout=300)
                if result.returncode != 0 or result.stderr.strip():
                    failures.append("%s: ssconvert (exit %d): %s" % (pdf, result.returncode,
                                                                     result.stderr.decode(errors="replace")[:500]))
        try:
            failures += forbidden_characters(program, source, work)
        except Exception as e:  # noqa: BLE001 - a warning or a refusal is a failure alike
            failures.append("xml_forbidden.pdf: openpyxl: %r" % e)
    for failure in failures:
        print("FAIL", failure)
    if failures:
        return 1
    if not ssconvert:
        print("ssconvert is not installed (gnumeric, scripts/install-deps): only openpyxl was checked")
        return SKIPPED
    return 0


if __name__ == "__main__":
    sys.exit(main())
