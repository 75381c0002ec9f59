#!/usr/bin/python3
"""read_pdf on the shared corpora: every cell of every frame equals the
cell of the command line's .xlsx it stands for, in value and in type; a
worksheet without tables is one frame of all its cells; damaged files
raise DamagedFileError with the command line's message.

usage: corpus_tables_test.py VELLUMSHEET SHARED_DIR (with the package on PYTHONPATH)"""
import datetime
import json
import math
import os
import subprocess
import sys
import tempfile
import unittest

import openpyxl
import pandas

import vellumsheet

PROGRAM, SHARED = sys.argv[1], sys.argv[2]


def documents():
    """(path, password) of each file of the corpora, and whether it converts."""
    for corpus in ("corpus", "corpus-diverse"):
        folder = os.path.join(SHARED, corpus)
        with open(os.path.join(folder, "manifest.json")) as f:
            manifest = json.load(f)
        for document in manifest["documents"]:
            password = document.get("user_password") or document.get("owner_password")
            yield os.path.join(folder, document["file"]), password, document.get("expected", "convert")


def workbook_cells(path):
    """{sheet name: {(row, column): (type, value)}} of an .xlsx's cells that hold something, from 0."""
    book = openpyxl.load_workbook(path, data_only=True)
    return {sheet.title: {(cell.row - 1, cell.column - 1): cell_value(cell.value)
                          for row in sheet.iter_rows() for cell in row if cell.value is not None}
            for sheet in book.worksheets}


def cell_value(value):
    if isinstance(value, datetime.time):
        return "time", datetime.timedelta(hours=value.hour, minutes=value.minute, seconds=value.second)
    if isinstance(value, datetime.datetime):
        return "date", value
    if isinstance(value, str):
        return "text", value
    return "number", value


def frame_value(value):
    if value is None or (isinstance(value, float) and math.isnan(value)) or value is pandas.NaT:
        return None
    if isinstance(value, pandas.Timestamp):
        return "date", value.to_pydatetime()
    if isinstance(value, (pandas.Timedelta, datetime.timedelta)):
        return "time", pandas.Timedelta(value).to_pytimedelta()
    if isinstance(value, datetime.datetime):
        return "date", value
    if isinstance(value, str):
        return "text", value
    return "number", float(value)


class CorpusTables(unittest.TestCase):
    def test_frames_hold_the_cells_of_the_command_lines_workbook(self):
        tables = 0
        with tempfile.TemporaryDirectory() as work:
            for path, password, expected in documents():
                name = os.path.basename(path)
                with self.subTest(file=name):
                    workbook = os.path.join(work, name + ".xlsx")
                    said = subprocess.run([PROGRAM, "convert", path, workbook, "-q"] +
                                          (["--password", password] if password else []), capture_output=True)
                    if said.returncode not in (0, 3):
                        with self.assertRaises(vellumsheet.Error) as raised:
                            vellumsheet.read_pdf(path, password=password)
                        self.assertEqual("vellumsheet: " + str(raised.exception).split("; give it")[0],
                                         said.stderr.decode().strip().split("; give it")[0])
                        if expected == "damaged":
                            self.assertIsInstance(raised.exception, vellumsheet.DamagedFileError)
                        continue
                    frames = vellumsheet.read_pdf(path, password=password)
                    tables += sum(1 for f in frames if f.attrs["table"])
                    self.check(workbook_cells(workbook), frames)
        self.assertGreater(tables, 20, "the corpora's tables were found")

    def check(self, book, frames):
        covered = set()
        for frame in frames:
            sheet = frame.attrs["sheet"]
            rows, columns = frame.attrs["rows"], frame.attrs["columns"]
            named = not isinstance(frame.columns, pandas.RangeIndex)
            grid = ([list(frame.columns)] if named else []) + frame.values.tolist()
            self.assertEqual((len(grid), len(grid[0]) if grid else 0), (len(rows), len(columns)))
            for i, row in enumerate(rows):
                for j, column in enumerate(columns):
                    expected = book[sheet].get((row, column))
                    value = frame_value(grid[i][j]) if not (named and i == 0) else ("text", grid[i][j])
                    if named and i == 0 and expected is None:
                        value = None
                    self.assertEqual(value, expected, (frame.attrs, row, column))
                    self.assertNotIn((sheet, row, column), covered)
                    covered.add((sheet, row, column))
            # A column's type is the type of its cells.
            for j, column in enumerate(frame.columns):
                kinds = {frame_value(v)[0] for v in frame.iloc[:, j] if frame_value(v) is not None}
                if kinds == {"number"}:
                    self.assertTrue(pandas.api.types.is_numeric_dtype(frame.iloc[:, j]), column)
                if kinds == {"date"}:
                    self.assertTrue(pandas.api.types.is_datetime64_dtype(frame.iloc[:, j]), column)
        # A worksheet without tables is one frame of all its cells.
        for sheet, cells in book.items():
            if any(f.attrs["sheet"] == sheet and f.attrs["table"] for f in frames):
                continue
            self.assertEqual({(sheet, r, c) for r, c in cells}, {k for k in covered if k[0] == sheet})

if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
