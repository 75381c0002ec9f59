"""Vellumsheet from Python: PDF tables as pandas DataFrames, and PDF files
converted into workbooks (.xls, .xlsx, .csv) as the command line converts
them.

    import vellumsheet
    frames = vellumsheet.read_pdf("report.pdf")
    result = vellumsheet.convert("report.pdf", "report.xlsx", pages="1-3")

Options take the command line's names with underscores: pages_per_sheet,
paper, image_quality, text_cells, cells_as_drawn, page_grid, plain_sheet,
csv_values, force, any_version. Conversions release the interpreter's lock,
so threads convert files side by side. Failures raise Error or one of its
subclasses, with the command line's message.
"""
import os
import shutil
import tempfile
from dataclasses import dataclass, field
from typing import List, Optional, Tuple

from . import _vellumsheet
from ._tables import read_tables

__all__ = ["read_pdf", "convert", "Result", "Error", "PasswordError", "DamagedFileError", "UnsupportedFileError"]

FORMATS = ("xls", "xlsx", "csv")
# Extensions of formats no workbook is written in: refused as names.
OTHER_FORMATS = ("ods", "fods", "ots", "xlsm", "xlsb", "xltx", "xltm", "xlt", "xlam", "xla", "tsv", "tab",
                 "numbers", "pdf", "html", "htm", "xml", "json")


class Error(Exception):
    """A file could not be converted. str() is the command line's message,
    "FILE: cause"; file and cause are also attributes."""

    def __init__(self, file, cause, remedy=""):
        super().__init__("%s: %s%s" % (file, cause, remedy))
        self.file = file
        self.cause = cause


class PasswordError(Error):
    """The file is encrypted, and no password or a wrong one was given."""


class DamagedFileError(Error):
    """The file is damaged beyond reading."""


class UnsupportedFileError(Error):
    """The file is not a PDF file, or uses what this program cannot read
    (an unknown encryption, a header version it does not know)."""


_ERRORS = {"password": PasswordError, "damaged": DamagedFileError, "unsupported": UnsupportedFileError}
_REMEDIES = {"password": "; give it with password=", "force": " (the workbook is write-protected; force=True replaces it)"}


@dataclass(frozen=True)
class Result:
    """What a conversion did, as the command line reports it."""

    input: str
    output: Optional[str]  # the file written (a symlink's target); None for a file object
    format: str
    pages_total: int  # pages selected for conversion
    pages_converted: int
    failed_pages: List[Tuple[int, str]] = field(default_factory=list)  # (page, reason)
    notes: List[str] = field(default_factory=list)  # "page 3: 2 characters could not be written ..."
    worksheets: int = 0
    status: int = 0  # the command line's exit status: 0 converted, 3 written with pages failed

    @property
    def messages(self) -> List[str]:
        """The lines the command line shows for the file, without its name."""
        lines = ["page %d failed: %s" % failure for failure in self.failed_pages]
        if self.failed_pages:
            lines.append("%d of %d page%s failed; the workbook holds what could be drawn"
                         % (len(self.failed_pages), self.pages_total, "" if self.pages_total == 1 else "s"))
        return lines + list(self.notes)


def _page_text(pages):
    if pages is None:
        return ""
    if isinstance(pages, int) and not isinstance(pages, bool):
        return str(pages)
    if isinstance(pages, str):
        return pages
    try:
        return ",".join(str(int(p)) for p in pages)
    except TypeError:
        raise TypeError("pages takes a range text such as '1-3,5,7-', a page number or page numbers") from None


def _raise_failure(answer, shown_input, shown_output):
    kind = answer["kind"]
    remedy = _REMEDIES.get(answer["remedy"], "")
    if kind == "write":
        raise Error(shown_output, answer["cause"], remedy)
    if kind == "request":
        raise ValueError("%s: %s" % (shown_input, answer["cause"]))
    raise _ERRORS.get(kind, Error)(shown_input, answer["cause"], remedy)


class _Source:
    """The PDF as a file the conversion opens: the path given, or the bytes
    written to a private temporary file."""

    def __init__(self, src, name=None):
        self._dir = None
        if isinstance(src, (bytes, bytearray, memoryview)):
            self._dir = tempfile.TemporaryDirectory(prefix="vellumsheet-")
            self.path = os.path.join(self._dir.name, "document.pdf")
            with open(self.path, "wb") as f:
                f.write(src)
            self.shown = name or "<bytes>"
        else:
            self.path = os.fsdecode(os.fspath(src))
            self.shown = self.path

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        if self._dir is not None:
            self._dir.cleanup()


def _run(source, destination, format, pages, password, options, record_places, shown_output):
    if password is not None and not isinstance(password, str):
        raise TypeError("password takes a text")
    answer = _vellumsheet.convert(source.path, destination, format, _page_text(pages), password, options,
                                  record_places)
    if answer["outcome"] not in ("converted", "pages_failed"):
        _raise_failure(answer, source.shown, shown_output)
    return answer


def _result(answer, shown_input, output, format):
    return Result(input=shown_input, output=output, format=format, pages_total=answer["pages_total"],
                  pages_converted=answer["pages_converted"], failed_pages=list(answer["failed_pages"]),
                  notes=list(answer["notes"]), worksheets=answer["worksheets"], status=answer["status"])


def read_pdf(path_or_bytes, pages=None, password=None, header=None, name=None, **options):
    """The tables of a PDF file (a path, or its bytes) as pandas DataFrames.

    One DataFrame per table the layout finds, in the order they begin (a
    table continued over pages is one frame); a worksheet on which no table
    is found gives one frame of all its text. Numbers are numbers, dates
    datetime64, times timedelta64, texts str; blank cells are NaN or None.
    A first row of distinct texts over every column names the columns
    (header=True always takes the first row, header=False never).
    Each frame's .attrs: "page" (first page), "pages", "bbox" (left, top,
    right, bottom on the first page, points from its top left), "sheet",
    "rows" and "columns" (where its rows, the heading's first, and its
    columns are on the worksheet, from 0), "table" (False for a worksheet
    without tables) and "file".

    pages: "1-3,5,7-", a page number or page numbers; name: what messages
    and .attrs call a PDF given as bytes (default "<bytes>"); options as
    convert() takes them (format excepted).
    """
    if "format" in options:
        raise TypeError("read_pdf takes no format: its tables are read from the cells of an .xlsx workbook")
    with _Source(path_or_bytes, name) as source, tempfile.TemporaryDirectory(prefix="vellumsheet-") as work:
        workbook = os.path.join(work, "tables.xlsx")
        answer = _run(source, workbook, "xlsx", pages, password, options, True, workbook)
        return read_tables(workbook, answer["places"], source.shown, header)


def _format_of(name):
    lower = name.lower()
    for format in ("xlsx", "xls", "csv"):
        if lower.endswith("." + format):
            return format
    return None


def _check_destination_name(name, format):
    named = _format_of(name)
    if named and format and named != format:
        raise ValueError("%s: the name says .%s, but format asks for %s; give the name a .%s extension or leave out "
                         "format" % (name, named, format, format))
    for other in OTHER_FORMATS:
        if name.lower().endswith("." + other):
            raise ValueError("%s: .%s files are not written; name it .xls, .xlsx or .csv" % (name, other))
    return format or named or "xls"


def convert(src, dst, format=None, pages=None, password=None, name=None, **options):
    """Converts a PDF file (a path, or its bytes) into a workbook at dst (a
    path, or a writable binary file object); returns a Result.

    format: "xls", "xlsx" or "csv"; by default dst's extension, else xls. A
    .csv gives one file per worksheet (OUT.csv, OUT.sheet2.csv, ...); to a
    file object they follow one another. The workbook replaces an existing
    file only once it is complete. name: what messages and the Result call
    a PDF given as bytes (default "<bytes>").
    """
    if format is not None and format not in FORMATS:
        raise ValueError("format takes xls, xlsx or csv: %s" % format)
    with _Source(src, name) as source:
        if hasattr(dst, "write"):
            format = format or "xls"
            with tempfile.TemporaryDirectory(prefix="vellumsheet-") as work:
                workbook = os.path.join(work, "workbook." + format)
                answer = _run(source, workbook, format, pages, password, options, False, "<file object>")
                for name in _written_files(work, "workbook", format):
                    with open(os.path.join(work, name), "rb") as f:
                        shutil.copyfileobj(f, dst)
            return _result(answer, source.shown, None, format)
        name = os.fsdecode(os.fspath(dst))
        format = _check_destination_name(name, format)
        answer = _run(source, name, format, pages, password, options, False, name)
        return _result(answer, source.shown, answer["written_to"] or name, format)


def _written_files(work, stem, format):
    """The files a conversion wrote into work: the workbook, then a .csv's
    further worksheets in order."""
    first = stem + "." + format
    further = []
    for name in os.listdir(work):
        middle = name[len(stem) + len(".sheet"):-len(".csv")] if format == "csv" else ""
        if name.startswith(stem + ".sheet") and name.endswith(".csv") and middle.isdigit():
            further.append((int(middle), name))
    return [first] + [name for _, name in sorted(further)]
