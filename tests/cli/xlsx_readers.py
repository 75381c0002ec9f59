#!/usr/bin/python3
"""Opens the .xlsx of the command fixtures (tests/data/cli) with readers
written elsewhere: openpyxl reads every cell with warnings turned into
errors, and Gnumeric's ssconvert converts each with nothing on stderr.
Without ssconvert the openpyxl checks still run and the test is skipped
(exit 77), saying so.

usage: xlsx_readers.py VELLUMSHEET SOURCE_DIR"""
import os
import shutil
import subprocess
import sys
import tempfile
import warnings

import openpyxl

FIXTURES = ["outputs.pdf", "numbers.pdf", "numbers_comma.pdf", "many_rows.pdf", "tall_page.pdf"]
SKIPPED = 77


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
