"""Large collections of PDF files converted on a Dask cluster.

    from distributed import Client
    import vellumsheet.dask
    client = Client("tcp://scheduler:8786")
    results = vellumsheet.dask.convert_many(paths, "out", client=client, format="xlsx")
    failed = [r for r in results if not r.ok]

Each file is one task on the cluster's workers, which need only this
package. Files reach the workers by path (storage the workers share with
this process) or, with send_bytes=True, as bytes; then the workbooks come
back as bytes and are written here. Every file gets a FileResult: a file
that fails, or whose task failed on every try, is reported as failed and
never stops the others. Tasks are retried (retries=) after an error a
retry may mend (a file that could not be read from storage); a task whose
worker dies is moved to another worker by the scheduler. Progress shows on
the cluster's dashboard like any task's (tasks named convert_file and
read_file), and with progress=True as Dask's progress bar.

Command line, for users without Python code:

    python3 -m vellumsheet.dask --scheduler tcp://scheduler:8786 IN_DIR OUT_DIR [options]
"""
import argparse
import os
import sys
import tempfile
from dataclasses import dataclass, field
from typing import Dict, List, Optional

import dask
import dask.bag

import vellumsheet

__all__ = ["FileResult", "convert_many", "read_many", "main"]


@dataclass
class FileResult:
    """The outcome of one file of a collection."""

    input: str
    output: Optional[str] = None  # the workbook written; None when none was
    status: int = 1  # the command line's exit status: 0 converted, 1 failed, 2 bad request, 3 pages failed
    error: Optional[str] = None  # the exception's class name, for a failure
    message: Optional[str] = None  # the command line's message, for a failure
    result: Optional[vellumsheet.Result] = None  # for a workbook written
    files: Dict[str, bytes] = field(default_factory=dict, repr=False)  # send_bytes: written files by name

    @property
    def ok(self) -> bool:
        """A workbook was written (some pages may have failed: see status)."""
        return self.status in (0, 3)


def _name_of(item):
    return item[0] if isinstance(item, tuple) else os.fsdecode(os.fspath(item))


def _output_name(name, format):
    base = os.path.basename(name)
    stem = base[:-4] if base.lower().endswith(".pdf") else base
    return stem + "." + format


def _failure(name, error):
    status = 2 if isinstance(error, ValueError) else 1
    return FileResult(input=name, status=status, error=type(error).__name__, message=str(error))


def convert_file(item, out_dir, format, options, send_bytes=False):
    """One task: converts one file (a path, or (name, bytes)). Conversion
    failures are results; other exceptions leave the task for Dask to retry."""
    name = _name_of(item)
    src = item[1] if isinstance(item, tuple) else name
    output = _output_name(name, format)
    try:
        if not send_bytes:
            path = os.path.join(out_dir, output)
            result = vellumsheet.convert(src, path, format=format, name=name, **options)
            return FileResult(input=name, output=result.output or path, status=result.status, result=result)
        with tempfile.TemporaryDirectory(prefix="vellumsheet-") as work:
            result = vellumsheet.convert(src, os.path.join(work, output), format=format, name=name, **options)
            files = {}
            for written in sorted(os.listdir(work)):
                if not written.startswith("."):
                    with open(os.path.join(work, written), "rb") as f:
                        files[written] = f.read()
        return FileResult(input=name, output=os.path.join(out_dir, output), status=result.status, result=result,
                          files=files)
    except (vellumsheet.Error, ValueError, TypeError) as error:
        return _failure(name, error)


def read_file(item, pages, password, header, options):
    """One task: the tables of one file, {"file", "tables", "error", "message"}."""
    name = _name_of(item)
    src = item[1] if isinstance(item, tuple) else name
    try:
        tables = vellumsheet.read_pdf(src, pages=pages, password=password, header=header, name=name, **options)
        return {"file": name, "tables": tables, "error": None, "message": None}
    except (vellumsheet.Error, ValueError, TypeError) as error:
        return {"file": name, "tables": [], "error": type(error).__name__, "message": str(error)}


def _items(paths, send_bytes):
    items = []
    for path in paths:
        if isinstance(path, tuple) or not send_bytes:
            items.append(path if isinstance(path, tuple) else _name_of(path))
        else:
            with open(path, "rb") as f:
                items.append((_name_of(path), f.read()))
    return items


def _check_outputs(names, format):
    taken = {}
    for name in names:
        output = _output_name(name, format)
        if output in taken:
            raise ValueError("%s and %s would both be written to %s" % (name, taken[output], output))
        taken[output] = name


def _write_files(result, out_dir):
    """Puts the files a worker sent back into out_dir, each complete or not at all."""
    for name, data in result.files.items():
        fd, temporary = tempfile.mkstemp(prefix=".vellumsheet-", dir=out_dir)
        try:
            with os.fdopen(fd, "wb") as f:
                f.write(data)
            os.replace(temporary, os.path.join(out_dir, name))
        except BaseException:
            os.unlink(temporary)
            raise
    result.files = {}


def _client(client):
    if client is not None:
        return client
    try:
        import distributed
        return distributed.get_client()
    except (ImportError, ValueError):
        return None


def _with_retries(function, retries):
    """Local runs: the task tried up to retries + 1 times; the last error is a result."""
    def attempt(item, *args):
        for left in range(retries, -1, -1):
            try:
                return function(item, *args)
            except Exception as error:  # noqa: BLE001 - every file gets a result
                if left == 0:
                    return _failure(_name_of(item), error)
    return attempt


def convert_many(paths, out_dir, client=None, format="xls", retries=2, send_bytes=False, progress=False,
                 on_result=None, **options) -> List[FileResult]:
    """Converts every file into out_dir (made when missing); one FileResult
    per file, in the order given.

    paths: file paths, or (name, bytes) pairs. client: a distributed.Client;
    by default the current one, else the files are converted by threads of
    this process. send_bytes: the files travel to the workers as bytes and
    the workbooks come back the same way (no storage shared with the
    workers). on_result(FileResult) is called here as each file finishes.
    options: as vellumsheet.convert() takes them (pages, password, ...).
    """
    if format not in vellumsheet.FORMATS:
        raise ValueError("format takes xls, xlsx or csv: %s" % format)
    names = [_name_of(p) for p in paths]
    _check_outputs(names, format)
    os.makedirs(out_dir, exist_ok=True)
    items = _items(paths, send_bytes)
    results: List[Optional[FileResult]] = [None] * len(items)

    def finish(index, result):
        if result.files:
            _write_files(result, out_dir)
        results[index] = result
        if on_result is not None:
            on_result(result)

    client = _client(client)
    if client is None:
        task = dask.delayed(_with_retries(convert_file, retries), pure=False)
        tasks = [task(item, out_dir, format, options, send_bytes) for item in items]
        if progress:
            from dask.diagnostics import ProgressBar
            with ProgressBar():
                computed = dask.compute(*tasks, scheduler="threads")
        else:
            computed = dask.compute(*tasks, scheduler="threads")
        for index, result in enumerate(computed):
            finish(index, result)
        return results

    import distributed
    futures = client.map(convert_file, items, out_dir=out_dir, format=format, options=options,
                         send_bytes=send_bytes, retries=retries, pure=False)
    where = {future.key: index for index, future in enumerate(futures)}
    if progress:
        distributed.progress(futures)
    for future in distributed.as_completed(futures):
        index = where[future.key]
        if future.status == "finished":
            finish(index, future.result())
        else:
            try:
                error = future.exception()
            except BaseException as cancelled:  # a cancelled task has no exception of its own
                if isinstance(cancelled, (KeyboardInterrupt, SystemExit)):
                    raise
                error = cancelled
            finish(index, FileResult(input=names[index], error=type(error).__name__,
                                     message="%s: %s" % (names[index], error or "the task was cancelled")))
        future.release()
    return results


def read_many(paths, pages=None, password=None, header=None, send_bytes=False, **options):
    """The tables of many files as a dask.bag, one element per file:
    {"file", "tables" (DataFrames as read_pdf gives them), "error", "message"}.
    A file that fails has no tables and says why; bag.pluck("tables").flatten()
    gives the tables alone. Computed on the current client when there is one.
    """
    items = _items(paths, send_bytes)
    bag = dask.bag.from_sequence(items, partition_size=1)
    return bag.map(read_file, pages, password, header, options)


# The command line's options, to the keywords they set.
_FLAGS = ["text_cells", "cells_as_drawn", "page_grid", "plain_sheet", "csv_values", "force"]


def _arguments(argv):
    parser = argparse.ArgumentParser(
        prog="python3 -m vellumsheet.dask",
        description="Converts the PDF files of IN_DIR into workbooks in OUT_DIR on a Dask cluster.")
    parser.add_argument("in_dir", metavar="IN_DIR")
    parser.add_argument("out_dir", metavar="OUT_DIR")
    parser.add_argument("--scheduler", metavar="ADDRESS",
                        help="the cluster's scheduler (default: threads of this process)")
    parser.add_argument("--format", choices=vellumsheet.FORMATS, default="xls")
    parser.add_argument("--pages", metavar="RANGE")
    parser.add_argument("--password", metavar="PW")
    parser.add_argument("--password-file", metavar="FILE")
    parser.add_argument("--pages-per-sheet", type=int, metavar="N")
    parser.add_argument("--paper", metavar="SIZE")
    parser.add_argument("--image-quality", type=int, metavar="N")
    for flag in _FLAGS:
        parser.add_argument("--" + flag.replace("_", "-"), action="store_true")
    parser.add_argument("--retries", type=int, default=2, metavar="N")
    parser.add_argument("--send-bytes", action="store_true",
                        help="send the files to the workers as bytes (no shared storage)")
    parser.add_argument("--progress", action="store_true", help="Dask's progress bar")
    parser.add_argument("-q", "--quiet", action="store_true", help="no line per file, no notes")
    return parser.parse_args(argv)


def main(argv=None):
    args = _arguments(argv)
    options = {flag: True for flag in _FLAGS if getattr(args, flag)}
    for name in ("pages", "password", "pages_per_sheet", "paper", "image_quality"):
        if getattr(args, name) is not None:
            options[name] = getattr(args, name)
    if args.password_file:
        with open(args.password_file, encoding="utf-8") as f:
            options["password"] = f.readline().rstrip("\r\n")
    try:
        paths = sorted(os.path.join(args.in_dir, n) for n in os.listdir(args.in_dir) if n.lower().endswith(".pdf"))
    except OSError as error:
        print("vellumsheet: %s: %s" % (args.in_dir, error.strerror), file=sys.stderr)
        return 1
    client = None
    if args.scheduler:
        import distributed
        client = distributed.Client(args.scheduler)
    done = []

    def report(result):
        done.append(result)
        if not result.ok:
            print("vellumsheet: %s" % result.message, file=sys.stderr)
            return
        for line in result.result.messages if not args.quiet else []:
            print("vellumsheet: %s: %s" % (result.input, line), file=sys.stderr)
        if not args.quiet:
            print("[%d/%d] %s \u2192 %s, %d page%s" % (len(done), len(paths), result.input, result.output,
                                                      result.result.pages_converted,
                                                      "" if result.result.pages_converted == 1 else "s"),
                  file=sys.stderr)
    try:
        results = convert_many(paths, args.out_dir, client=client, format=args.format, retries=args.retries,
                               send_bytes=args.send_bytes, progress=args.progress, on_result=report, **options)
    except ValueError as error:
        print("vellumsheet: %s" % error, file=sys.stderr)
        return 2
    finally:
        if client is not None:
            client.close()
    written = sum(1 for r in results if r.ok)
    if not args.quiet:
        summary = "%d of %d file%s converted" % (written, len(results), "" if len(results) == 1 else "s")
        if written < len(results):
            summary += ", %d failed" % (len(results) - written)
        print(summary + ".", file=sys.stderr)
    rank = {2: 3, 1: 2, 3: 1, 0: 0}
    return max((r.status for r in results), key=lambda s: rank.get(s, 2), default=0)


if __name__ == "__main__":
    # The tasks must reach the workers as vellumsheet.dask's, not __main__'s.
    from vellumsheet.dask import main as package_main
    sys.exit(package_main())
