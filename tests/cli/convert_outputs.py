#!/usr/bin/python3
"""Checks the .xlsx and .csv outputs of `vellumsheet convert` against the
.xls of the same PDF and against the page: tests/data/cli/outputs.pdf holds
Greek, Cyrillic, CJK and "≥" (which the .xls folds to "?"), a 300-character
text (which the .xls cuts to 255), numbers with and without separators, a
text with a comma and quotes, and on its second page a picture;
many_rows.pdf more rows than an .xls worksheet holds over many pages,
tall_page.pdf on one page; numbers.pdf and numbers_comma.pdf every kind of
number the cells recognise, and texts that look like numbers but stay text;
formulas.pdf texts a spreadsheet would run as formulas.

Every cell of the .xlsx stands where the .xls has it, with the .xls's value
and number format, or the page's whole text where the .xls had to fold or
cut; every field of the .csv is the .xlsx cell as the page shows it (or its
plain value with --csv-values, dates and times as ISO 8601). Each number of the number pages has the
same value, type and format code in the .xls and the .xlsx. Also: the
extension and --format pick the format (a name of another format is refused,
one of none is noted), several worksheets give OUT.csv, OUT.sheet2.csv,
pictures are kept in the .xlsx and noted as left out of the .csv, and text
that reads as a formula gets a leading quote in the .csv (not with --csv-raw).

usage: convert_outputs.py VELLUMSHEET SOURCE_DIR"""
import csv
import datetime
import importlib.machinery
import io
import os
import re
import shutil
import subprocess
import sys
import tempfile
import types
import zipfile

import openpyxl
import xlrd
from openpyxl.utils.datetime import to_excel

PAGE_TEXTS = ["αβ", "Жя", "≥ 5", "中文", 'say "hi", ok', "abcdefghij" * 30, "Second page"]
# Numbers: value, the .xlsx's number format, the text the page shows.
PAGE_NUMBERS = [(1234.5, "#,##0.00", "1,234.50"), (42, "0", "42")]
PICTURE_NOTE = "1 picture or drawing on 1 page was left out: the file format cannot hold it"
FOLDED_NOTE = "page 1: 6 characters could not be written to the workbook"


def cp1252(text):
    """Whether the .xls can hold the text unfolded."""
    try:
        text.encode("cp1252")
        return True
    except UnicodeEncodeError:
        return False


def xls_cells(path):
    """{(sheet, row, column): value} of an .xls."""
    book = xlrd.open_workbook(path)
    return {(s, r, c): sheet.cell_value(r, c) for s, sheet in enumerate(book.sheets())
            for r in range(sheet.nrows) for c in range(sheet.ncols) if sheet.cell_value(r, c) != ""}


def xlsx_cells(path):
    """{(sheet, row, column): (value, number format)} of an .xlsx."""
    book = openpyxl.load_workbook(path)
    return {(s, cell.row - 1, cell.column - 1): (cell.value, cell.number_format)
            for s, sheet in enumerate(book.worksheets) for row in sheet.iter_rows() for cell in row
            if cell.value is not None}


# Of the number pages' texts, those that stay text and the dates and times;
# the others are numbers.
STAYS_TEXT = {"00123", "-007", "1234567890123456", "4111 1111 1111 1111", "+41 44 123 45 67", "555-1234", "1.2.3",
              "3E1", "A-1234", "1,2,3"}
DATES_AND_TIMES = {"2023-01-20", "04.01.2024", "4.1.2024", "12/31/2004", "31/12/2004", "3:45 PM", "23:59:59", "9:30"}


def iso_serial(text):
    """The serial number of an ISO 8601 date, time or date-time; NaN for other text."""
    for form, kind in [("%Y-%m-%dT%H:%M:%S", datetime.datetime), ("%Y-%m-%d", datetime.date), ("%H:%M:%S", datetime.time)]:
        try:
            moment = datetime.datetime.strptime(text, form)
        except ValueError:
            continue
        if kind is datetime.time:
            return moment.hour / 24 + moment.minute / 1440 + moment.second / 86400
        return to_excel(moment if kind is datetime.datetime else moment.date())
    return float("nan")


def page_texts(source, name):
    """The lines of a number page, as make_fixtures.py writes them."""
    path = os.path.join(source, "tests", "data", "cli", "make_fixtures.py")
    sys.dont_write_bytecode = True
    # Loaded under a name of its own: it imports the PDF fixtures' make_fixtures.
    loader = importlib.machinery.SourceFileLoader("cli_fixtures", path)
    fixtures = types.ModuleType(loader.name)
    fixtures.__file__ = path
    loader.exec_module(fixtures)
    return [text.decode("cp1252") for text in getattr(fixtures, name)]


def typed_xls_cells(path):
    """{(row, column): (value, "s" text / "n" number / "d" date, number format)} of an .xls's first sheet."""
    book = xlrd.open_workbook(path, formatting_info=True)
    sheet = book.sheet_by_index(0)
    kinds = {xlrd.XL_CELL_TEXT: "s", xlrd.XL_CELL_NUMBER: "n", xlrd.XL_CELL_DATE: "d"}
    return {(r, c): (cell.value, kinds.get(cell.ctype, "?"),
                     book.format_map[book.xf_list[cell.xf_index].format_key].format_str)
            for r in range(sheet.nrows) for c, cell in enumerate(sheet.row(r)) if cell.ctype != xlrd.XL_CELL_EMPTY}


def typed_xlsx_cells(path):
    """The same of an .xlsx; dates as serial numbers."""
    cells = {}
    for row in openpyxl.load_workbook(path).worksheets[0].iter_rows():
        for cell in row:
            value = cell.value
            if value is None:
                continue
            kind = "s" if isinstance(value, str) else "d" if cell.is_date else "n"
            if isinstance(value, (datetime.datetime, datetime.date, datetime.time)):
                value = to_excel(value)
            cells[(cell.row - 1, cell.column - 1)] = (value, kind, cell.number_format)
    return cells


def csv_cells(data, sheet=0):
    """{(sheet, row, column): field} of a .csv's bytes."""
    rows = csv.reader(io.StringIO(data.decode("utf-8"), newline=""))
    return {(sheet, r, c): field for r, row in enumerate(rows) for c, field in enumerate(row) if field}


def main():
    program, source = sys.argv[1], sys.argv[2]
    failures = []

    def expect(name, condition, detail=""):
        if not condition:
            failures.append("%s: %s" % (name, detail))

    with tempfile.TemporaryDirectory() as work:
        def run(*args, pdf="outputs.pdf"):
            return subprocess.run([program, "convert", pdf] + list(args), cwd=work, capture_output=True,
                                  stdin=subprocess.DEVNULL, start_new_session=True, timeout=300)

        def at(name):
            return os.path.join(work, name)

        def read(name):  # empty when missing: the checks name what is wrong
            return open(at(name), "rb").read() if os.path.isfile(at(name)) else b""

        for pdf in ["outputs.pdf", "many_rows.pdf", "tall_page.pdf", "numbers.pdf", "numbers_comma.pdf", "formulas.pdf"]:
            shutil.copy(os.path.join(source, "tests", "data", "cli", pdf), at(pdf))

        # Which file each command line writes, in which format, with which notes.
        # (arguments, files expected with their first bytes, notes expected, notes not expected)
        zip_magic, ole_magic = b"PK\x03\x04", b"\xd0\xcf\x11\xe0"
        selections = [
            (["a.xls", "--pages-per-sheet", "1"], {"a.xls": ole_magic}, [FOLDED_NOTE], [PICTURE_NOTE]),
            (["a.xlsx", "--pages-per-sheet", "1"], {"a.xlsx": zip_magic}, [], [FOLDED_NOTE, PICTURE_NOTE]),
            (["a.csv", "--pages-per-sheet", "1"], {"a.csv": b"", "a.sheet2.csv": b"", ".a.csv.sheets": b"vellumsheet"}, [PICTURE_NOTE], [FOLDED_NOTE]),
            (["b.csv", "--csv-values"], {"b.csv": b""}, [PICTURE_NOTE], []),
            ([], {"outputs.xls": ole_magic}, [], []),
            (["UPPER.XLSX"], {"UPPER.XLSX": zip_magic}, [], []),
            (["named.txt", "--format", "xlsx"], {"named.txt": zip_magic}, ["named.txt: written as .xlsx"], []),
            (["plain"], {"plain": ole_magic}, ["plain: written as .xls"], []),
            (["--format", "csv", "--output-dir", "books"], {"books/outputs.csv": b""}, [], []),
            (["--format", "xlsx", "--output-dir", "books"], {"books/outputs.xlsx": zip_magic}, [], []),
        ]
        for args, files, notes, not_notes in selections:
            before = set(os.listdir(work))
            result = run(*args)
            stderr = result.stderr.decode()
            expect("exit %s" % args, result.returncode == 0, stderr)
            for name, magic in files.items():
                expect("%s writes %s" % (args, name), os.path.isfile(at(name)) and
                       read(name).startswith(magic))
            made = set(os.listdir(work)) - before - {"books"}
            expect("%s writes nothing else" % args, made <= set(files), made)
            for note in notes:
                expect("%s notes %r" % (args, note), note in stderr, stderr)
            for note in not_notes:
                expect("%s does not note %r" % (args, note), note not in stderr, stderr)
        # A name that promises another format than the one written is refused
        # before anything is read or written.
        refused = [
            (["c.xlsx", "--format", "pdf"], "--format takes xls, xlsx or csv: pdf"),
            (["fm.xls", "--format", "csv"], "fm.xls: the name says .xls, but --format asks for csv"),
            (["fm2.csv", "--format", "xlsx"], "fm2.csv: the name says .csv, but --format asks for xlsx"),
            (["out.ods"], "out.ods: .ods files are not written; name it .xls, .xlsx or .csv"),
            (["OUT.XLSM", "--format", "xlsx"], "OUT.XLSM: .xlsm files are not written"),
        ]
        for args, message in refused:
            before = set(os.listdir(work))
            result = run(*args)
            expect("refused %s" % args, result.returncode == 2 and message.encode() in result.stderr, result.stderr)
            expect("%s writes nothing" % args, set(os.listdir(work)) == before)

        # The .xlsx against the .xls: the same places and values; the
        # page's whole text where the .xls had to fold or cut it.
        xls, xlsx = xls_cells(at("a.xls")), xlsx_cells(at("a.xlsx"))
        expect("xlsx places", set(xls) == set(xlsx), sorted(set(xls) ^ set(xlsx)))
        for place in set(xls) & set(xlsx):
            old, (new, _) = xls[place], xlsx[place]
            expect("xlsx cell %s" % (place,), new == old or (isinstance(new, str) and (
                   not cp1252(new) or (len(old) == 255 and new.startswith(old)))), "%r / %r" % (old, new))
        texts = sorted(value for value, _ in xlsx.values() if isinstance(value, str))
        expect("xlsx texts", texts == sorted(PAGE_TEXTS), texts)
        numbers = sorted((value, code) for value, code in xlsx.values() if not isinstance(value, str))
        expect("xlsx numbers", numbers == sorted((value, code) for value, code, _ in PAGE_NUMBERS), numbers)
        with zipfile.ZipFile(at("a.xlsx")) as book:
            expect("xlsx picture", any(name.startswith("xl/media/") for name in book.namelist()), book.namelist())

        # The .csv: one file a worksheet, each field the .xlsx's cell as the
        # page shows it; with --csv-values the plain number, all on one sheet.
        shown = {value: text for value, _, text in PAGE_NUMBERS}
        wanted = {place: value if isinstance(value, str) else shown[value] for place, (value, _) in xlsx.items()}
        got = {}
        for sheet, name in enumerate(["a.csv", "a.sheet2.csv"]):
            data = read(name)
            expect("%s is UTF-8 without a mark" % name, not data.startswith(b"\xef\xbb\xbf"))
            got.update(csv_cells(data, sheet))
        expect("csv fields", got == wanted, sorted(set(got.items()) ^ set(wanted.items())))
        values = sorted(csv_cells(read("b.csv")).values())
        expect("--csv-values", values == sorted(PAGE_TEXTS + ["1234.5", "42"]), values)
        values = sorted(csv_cells(read("books/outputs.csv")).values())
        expect("csv as shown", values == sorted(PAGE_TEXTS + ["1,234.50", "42"]), values)

        # More rows than an .xls worksheet holds (pages at their full height
        # on the page-wide grid): the .xls breaks the sheet, the .xlsx and
        # the .csv keep one, and every line is in each.
        for name in ["rows.xls", "rows.xlsx", "rows.csv"]:
            result = run(name, "--page-grid", pdf="many_rows.pdf")
            expect(name, result.returncode == 0 and not result.stderr, result.stderr)
        lines = sorted(["Line %d" % (i + 1) for i in range(50)] * 240)
        sheets = {name: sorted({place[0] for place in cells}) for name, cells in
                  [("xls", xls_cells(at("rows.xls"))), ("xlsx", xlsx_cells(at("rows.xlsx")))]}
        expect("worksheets of many rows", sheets == {"xls": [0, 1], "xlsx": [0]}, sheets)
        for name, texts in [("xlsx", [value for value, _ in xlsx_cells(at("rows.xlsx")).values()]),
                            ("csv", list(csv_cells(read("rows.csv")).values()))]:
            expect("%s keeps every line" % name, sorted(texts) == lines, len(texts))
        expect("one .csv", not os.path.exists(at("rows.sheet2.csv")))

        # One page of more rows than an .xls worksheet holds: the .xlsx and the
        # .csv keep each line on its own row, in order, on one worksheet; the
        # .xls keeps the rows it holds and joins the rest into its last one.
        for name in ["tall.xls", "tall.xlsx", "tall.csv"]:
            result = run(name, pdf="tall_page.pdf")
            cut = name.endswith(".xls") and b"page 1: 1 text was cut to the 255 characters" in result.stderr
            expect(name, result.returncode == 0 and (cut or not result.stderr), result.stderr)
        lines = {(0, row, 0): "Line %d" % (row + 1) for row in range(18000)}
        tall = {place: value for place, (value, _) in xlsx_cells(at("tall.xlsx")).items()}
        expect("one page's rows in the .xlsx", tall == lines, sorted(set(tall.items()) ^ set(lines.items()))[:3])
        tall = csv_cells(read("tall.csv"))
        expect("one page's rows in the .csv", tall == lines, sorted(set(tall.items()) ^ set(lines.items()))[:3])
        tall = xls_cells(at("tall.xls"))
        last = (0, 16383, 0)
        expect("one page's rows in the .xls", {p: v for p, v in tall.items() if p != last} ==
               {p: v for p, v in lines.items() if p[1] < 16383} and tall.get(last, "").startswith("Line 16384 Line"),
               len(tall))

        # Every kind of number: the same value, type and format code in the
        # .xls and the .xlsx; the .csv shows the page's text, or the plain
        # value with --csv-values.
        for pdf, texts in [("numbers.pdf", "NUMBER_TEXTS"), ("numbers_comma.pdf", "COMMA_NUMBER_TEXTS")]:
            texts = page_texts(source, texts)
            stem = pdf[:-4]
            for args in [[stem + ".xls"], [stem + ".xlsx"], [stem + ".csv"], [stem + "-values.csv", "--csv-values"]]:
                result = run(*args, pdf=pdf)
                expect(" ".join(args), result.returncode == 0 and not result.stderr, result.stderr)
            xls, xlsx = typed_xls_cells(at(stem + ".xls")), typed_xlsx_cells(at(stem + ".xlsx"))
            expect("%s: .xls and .xlsx cells" % pdf, xls == xlsx, sorted(set(xls.items()) ^ set(xlsx.items())))
            shown = csv_cells(read(stem + ".csv"))
            places = sorted(shown)
            expect("%s: .csv as shown" % pdf, [shown[p] for p in places] == texts, [shown[p] for p in places])
            kinds = [xlsx.get(place[1:], (None, "missing"))[1] for place in places]
            wanted = ["s" if t in STAYS_TEXT else "d" if t in DATES_AND_TIMES else "n" for t in texts]
            expect("%s: types" % pdf, kinds == wanted, [(t, k) for t, k, w in zip(texts, kinds, wanted) if k != w])
            values = csv_cells(read(stem + "-values.csv"))
            for place, text in zip(places, texts):
                value, kind, _ = xlsx.get(place[1:], (None, "s", ""))
                field = values.get(place, "")
                if kind == "d":
                    plain = abs(iso_serial(field) - value) < 1e-6
                else:
                    plain = kind == "s" and field == text or re.fullmatch(
                        r"-?\d+(\.\d+)?(E[-+]\d+)?", field) and abs(float(field) - value) <= 1e-14 * abs(value)
                expect("%s: --csv-values of %r" % (pdf, text), plain, "%r for %r" % (field, value))

        # Text a spreadsheet would run as a formula is quoted; numbers and
        # other text are not; --csv-raw writes it all as the page shows it.
        texts = page_texts(source, "FORMULA_TEXTS")
        for args, wanted in [(["formulas.csv"], ["'" + t if t[0] in "=@" or t == "-2+3" else t for t in texts]),
                             (["formulas-raw.csv", "--csv-raw"], texts)]:
            result = run(*args, pdf="formulas.pdf")
            fields = csv_cells(read(args[0]))
            fields = [fields[p] for p in sorted(fields)]
            expect(" ".join(args), result.returncode == 0 and fields == wanted, "%r %r" % (fields, result.stderr))

        # To standard output: the .csv's text.
        result = run("-", "--format", "csv", "--pages-per-sheet", "1")
        expect("csv to standard output", result.returncode == 0 and
               result.stdout == read("a.csv") + read("a.sheet2.csv"), result.stderr)

    for failure in failures:
        print("FAIL", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
