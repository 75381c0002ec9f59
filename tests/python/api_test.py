#!/usr/bin/python3
"""The vellumsheet package on the fixtures: tables, conversions as the
command line converts, errors, memory over many failures, threads.

usage: api_test.py SOURCE_ROOT VELLUMSHEET (with the package on PYTHONPATH)"""
import io
import os
import subprocess
import sys
import tempfile
import threading
import time
import unittest
import zipfile

import pandas

import vellumsheet
from vellumsheet import _vellumsheet

SOURCE, PROGRAM = sys.argv[1], sys.argv[2]
DATA = os.path.join(SOURCE, "tests", "data")
CONTINUED = os.path.join(DATA, "tables", "continued.pdf")
SPANNING = os.path.join(DATA, "tables", "spanning.pdf")
NUMBERS = os.path.join(DATA, "cli", "numbers.pdf")
LOSSY = os.path.join(DATA, "cli", "lossy.pdf")
ENCRYPTED = os.path.join(DATA, "pdf", "aes_128.pdf")  # user password "user"
DAMAGED = b"%PDF-1.4\n1 0 obj << /Type /Catalog /Pages 2 0 R >> endobj\ntrailer << /Root 1 0 R >>\n"


def command_line(*args, cwd=None):
    return subprocess.run([PROGRAM, *args], cwd=cwd, capture_output=True)


def read(path):
    with open(path, "rb") as f:
        return f.read()


def contents(data):
    """A workbook's bytes; an .xlsx's parts but for the time it was made."""
    if not data.startswith(b"PK"):
        return data
    with zipfile.ZipFile(io.BytesIO(data)) as book:
        return {name: book.read(name) for name in book.namelist() if name != "docProps/core.xml"}


def rss_kb():
    with open("/proc/self/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


class ReadPdf(unittest.TestCase):
    def test_table_continued_over_pages_is_one_frame(self):
        frames = vellumsheet.read_pdf(CONTINUED)
        self.assertEqual(len(frames), 1, frames)
        table = frames[0]
        self.assertEqual(list(table.columns), ["Borrower", "Branch", "Amount"])
        self.assertEqual(len(table), 15)
        self.assertEqual(table["Borrower"].tolist(), ["Borrower %d" % n for n in range(1, 16)])
        self.assertEqual(table["Amount"].tolist(), [n * 1000 + 7 * n for n in range(1, 16)])
        self.assertTrue(pandas.api.types.is_integer_dtype(table["Amount"]))
        self.assertEqual(table.attrs["pages"], [1, 2, 3])
        self.assertEqual(table.attrs["page"], 1)
        self.assertTrue(table.attrs["table"])
        left, top, right, bottom = table.attrs["bbox"]
        self.assertTrue(60 < left < 80 and 80 < top < 100 and right > 440 and bottom > top, table.attrs["bbox"])

    def test_bytes_and_path_give_the_same_frames(self):
        by_path = vellumsheet.read_pdf(SPANNING)
        by_bytes = vellumsheet.read_pdf(read(SPANNING))
        self.assertEqual(len(by_path), len(by_bytes))
        for a, b in zip(by_path, by_bytes):
            pandas.testing.assert_frame_equal(a, b)
            self.assertEqual(b.attrs["file"], "<bytes>")
            self.assertEqual({k: v for k, v in a.attrs.items() if k != "file"},
                             {k: v for k, v in b.attrs.items() if k != "file"})

    def test_cell_types_follow_the_options(self):
        typed = pandas.concat([f.stack() for f in vellumsheet.read_pdf(NUMBERS, header=False)])
        texts = pandas.concat([f.stack() for f in vellumsheet.read_pdf(NUMBERS, header=False, text_cells=True)])
        self.assertTrue(any(isinstance(v, (int, float)) for v in typed), typed)
        self.assertTrue(all(isinstance(v, str) for v in texts), texts)

    def test_texts_arrive_whole(self):
        # Page 3 holds Greek letters no code page 1252 form has, and a text
        # longer than an .xls cell holds.
        frames = vellumsheet.read_pdf(LOSSY, pages="3", header=False)
        self.assertEqual([v for f in frames for v in f.stack()], ["\u03b1\u03b2", "x" * 300])

    def test_pages_choose_the_pages_read(self):
        for pages in ("2", 2, [2], "2-2"):
            frames = vellumsheet.read_pdf(CONTINUED, pages=pages)
            self.assertEqual([f.attrs["pages"] for f in frames], [[2]], pages)
            self.assertIn("Borrower 6", frames[0].to_string())


class Errors(unittest.TestCase):
    def test_failures_raise_the_command_lines_messages(self):
        with tempfile.TemporaryDirectory() as work:
            damaged = os.path.join(work, "damaged.pdf")
            with open(damaged, "wb") as f:
                f.write(DAMAGED)
            text = os.path.join(work, "notes.pdf")
            with open(text, "wb") as f:
                f.write(b"just some text, not a PDF file\n")
            missing = os.path.join(work, "missing.pdf")
            cases = [
                (ENCRYPTED, {}, vellumsheet.PasswordError, "encrypted, and no password was given; give it with password="),
                (ENCRYPTED, {"password": "wrong"}, vellumsheet.PasswordError, "the password is not correct"),
                (damaged, {}, vellumsheet.DamagedFileError, None),
                (text, {}, vellumsheet.UnsupportedFileError, None),
                (missing, {}, vellumsheet.Error, "no such file or directory"),
            ]
            for path, keywords, kind, cause in cases:
                with self.subTest(path=os.path.basename(path), keywords=keywords):
                    with self.assertRaises(kind) as raised:
                        vellumsheet.read_pdf(path, **keywords)
                    # The command line says the same of the file.
                    line = command_line("convert", path, os.path.join(work, "out.xls"), "-q",
                                        *(["--password", keywords["password"]] if keywords else []))
                    said = line.stderr.decode().strip().splitlines()[0]
                    shown = said[len("vellumsheet: "):]
                    if cause is not None:
                        self.assertEqual(str(raised.exception), "%s: %s" % (path, cause))
                    self.assertEqual(shown.split("; give it")[0], str(raised.exception).split("; give it")[0])
                    self.assertEqual(line.returncode, 1)

    def test_right_password_opens(self):
        frames = vellumsheet.read_pdf(ENCRYPTED, password="user")
        self.assertTrue(frames)

    def test_bad_requests(self):
        cases = [
            ({"pages_per_sheet": -1}, ValueError, "pages_per_sheet takes a whole number, 0 or more: -1"),
            ({"image_quality": 0}, ValueError, "image_quality takes a number from 1 to 100: 0"),
            ({"paper": "A9"}, ValueError, "unknown paper A9 (A3, A4, A5, B4, B5, ISO-B4, Letter)"),
            ({"text_cells": "yes"}, TypeError, "text_cells takes True or False"),
            ({"no_such_option": True}, TypeError, "unknown option no_such_option"),
            ({"pages": "3-x"}, ValueError, None),
            ({"pages": " , "}, ValueError, None),
            ({"pages": "9"}, ValueError, "invalid page range (9): the document has 3 pages"),
            ({"format": "ods"}, ValueError, "format takes xls, xlsx or csv: ods"),
        ]
        with tempfile.TemporaryDirectory() as work:
            for keywords, kind, message in cases:
                with self.subTest(keywords=keywords):
                    with self.assertRaises(kind) as raised:
                        vellumsheet.convert(CONTINUED, os.path.join(work, "out.xls"), **keywords)
                    if message:
                        self.assertIn(message, str(raised.exception))
            self.assertEqual(os.listdir(work), [])

    def test_failures_leak_nothing(self):
        def fail():
            with self.assertRaises(vellumsheet.DamagedFileError):
                vellumsheet.read_pdf(DAMAGED)
        for _ in range(20):
            fail()
        before = rss_kb()
        for _ in range(200):
            fail()
        self.assertLess(rss_kb() - before, 4096, "resident memory grew by more than 4 MB over 200 failures")


class Convert(unittest.TestCase):
    def test_workbooks_equal_the_command_lines(self):
        with tempfile.TemporaryDirectory() as work:
            for name, format, keywords, flags in [
                ("a.xls", None, {}, []),
                ("b.xlsx", None, {"pages_per_sheet": 1}, ["--pages-per-sheet", "1"]),
                ("c.xls", "xls", {"text_cells": True, "plain_sheet": True}, ["--text-cells", "--plain-sheet"]),
                ("d.csv", None, {"page_grid": True, "csv_values": True}, ["--page-grid", "--csv-values"]),
            ]:
                with self.subTest(name=name):
                    mine = os.path.join(work, "mine-" + name)
                    theirs = os.path.join(work, "theirs-" + name)
                    result = vellumsheet.convert(CONTINUED, mine, format=format, **keywords)
                    self.assertEqual(command_line("convert", CONTINUED, theirs, "-q", *flags).returncode, 0)
                    self.assertEqual(contents(read(mine)), contents(read(theirs)))
                    self.assertEqual((result.status, result.pages_total, result.pages_converted), (0, 3, 3))
                    self.assertEqual(result.output, mine)
                    # To a file object the same bytes; a .csv's files follow one another.
                    buffer = io.BytesIO()
                    vellumsheet.convert(read(CONTINUED), buffer, format=result.format, **keywords)
                    piped = command_line("convert", CONTINUED, "-", "--format", result.format, "-q", *flags)
                    self.assertEqual(contents(buffer.getvalue()), contents(piped.stdout))

    def test_failed_pages_and_notes_as_the_command_line_reports_them(self):
        with tempfile.TemporaryDirectory() as work:
            result = vellumsheet.convert(LOSSY, os.path.join(work, "lossy.xls"))
            said = command_line("convert", LOSSY, os.path.join(work, "cli.xls")).stderr.decode().splitlines()
            prefix = "vellumsheet: %s: " % LOSSY
            self.assertEqual(result.status, 3)
            self.assertEqual([p for p, _ in result.failed_pages], [2])
            self.assertEqual(result.messages, [line[len(prefix):] for line in said])

    def test_names_that_promise_another_format_are_refused(self):
        with tempfile.TemporaryDirectory() as work:
            for name, format in [("out.ods", None), ("out.csv", "xlsx")]:
                with self.subTest(name=name), self.assertRaises(ValueError):
                    vellumsheet.convert(CONTINUED, os.path.join(work, name), format=format)
            self.assertEqual(os.listdir(work), [])


class HostileFiles(unittest.TestCase):
    def test_hostile_files_end_as_on_the_command_line(self):
        folder = os.path.join(DATA, "hostile")
        # The ones that end quickly; the others cost seconds and gigabytes by design.
        quick = ["bare_operators.pdf", "damaged_flate.pdf", "huge_text_matrix.pdf", "widget_kids.pdf",
                 "zero_scale_text.pdf"]
        with tempfile.TemporaryDirectory() as work:
            for name in quick:
                with self.subTest(file=name):
                    path = os.path.join(folder, name)
                    try:
                        status = vellumsheet.convert(path, os.path.join(work, "mine.xls")).status
                    except vellumsheet.Error:
                        status = 1
                    self.assertEqual(status, command_line("convert", path, os.path.join(work, "cli.xls"),
                                                          "-q").returncode)


class LocalCollections(unittest.TestCase):
    def test_without_a_cluster_threads_convert_and_every_file_has_a_result(self):
        import vellumsheet.dask
        with tempfile.TemporaryDirectory() as work:
            items = [CONTINUED, ("damaged.pdf", DAMAGED), ("numbers.pdf", read(NUMBERS)), ENCRYPTED]
            results = vellumsheet.dask.convert_many(items, os.path.join(work, "out"), retries=0)
            self.assertEqual([(r.input, r.status, r.error) for r in results],
                             [(CONTINUED, 0, None), ("damaged.pdf", 1, "DamagedFileError"),
                              ("numbers.pdf", 0, None), (ENCRYPTED, 1, "PasswordError")])
            self.assertEqual(sorted(os.listdir(os.path.join(work, "out"))), ["continued.xls", "numbers.xls"])
            with self.assertRaises(ValueError):  # two files, one workbook name: refused before any work
                vellumsheet.dask.convert_many([CONTINUED, CONTINUED], os.path.join(work, "twice"))


class Threads(unittest.TestCase):
    def test_the_interpreter_runs_on_while_a_file_converts(self):
        # With the interpreter's lock held through the conversion, this
        # thread could not wake from its sleep before the workbook was there.
        with tempfile.TemporaryDirectory() as work:
            workbook = os.path.join(work, "l.xls")
            started = threading.Event()

            def convert():  # straight into the compiled run: no Python steps around it
                started.set()
                _vellumsheet.convert(LOSSY, workbook, "xls", "", None, {}, False)

            converting = threading.Thread(target=convert)
            converting.start()
            started.wait()
            time.sleep(0.02)
            written_before_waking = os.path.exists(workbook)
            converting.join()
            self.assertFalse(written_before_waking)
            self.assertTrue(os.path.exists(workbook))

    def test_four_threads_convert_four_files_at_once(self):
        sources = [CONTINUED, SPANNING, NUMBERS, LOSSY]
        with tempfile.TemporaryDirectory() as work:
            alone = []
            for i, source in enumerate(sources):
                vellumsheet.convert(source, os.path.join(work, "alone%d.xls" % i))
                alone.append(read(os.path.join(work, "alone%d.xls" % i)))
            start = threading.Barrier(len(sources))
            outcomes = [None] * len(sources)

            def run(i):
                start.wait()
                try:
                    for round in range(3):
                        vellumsheet.convert(sources[i], os.path.join(work, "together%d.xls" % i))
                        frames = vellumsheet.read_pdf(sources[i])
                    outcomes[i] = (read(os.path.join(work, "together%d.xls" % i)), len(frames))
                except Exception as error:  # reported below with the thread's file
                    outcomes[i] = error

            threads = [threading.Thread(target=run, args=(i,)) for i in range(len(sources))]
            for thread in threads:
                thread.start()
            for thread in threads:
                thread.join()
            for i, source in enumerate(sources):
                self.assertEqual(outcomes[i], (alone[i], len(vellumsheet.read_pdf(source))), source)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
