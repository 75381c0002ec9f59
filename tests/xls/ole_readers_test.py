#!/usr/bin/python3
"""Opens our workbook containers with readers written elsewhere.

    ole_readers_test.py WRITE_OLE_SAMPLES SHARED_DIR

olefile must list the three streams with their sizes and give back the
workbook byte for byte; xlrd must read "Hello" from a minimal workbook.
Fails when olefile or xlrd is not installed (scripts/install-deps installs both).
"""
import io
import json
import os
import subprocess
import sys
import tempfile

try:
    import olefile
    import xlrd
except ImportError as e:
    print("missing reader: %s (scripts/install-deps installs it)" % e)
    sys.exit(1)

# Around the boundaries of the sector arithmetic: one FAT sector, two, the
# first DIFAT sector, and two above 15 MB (with and without the extra DIFAT
# sector the large layouts need).
SIZES = [0, 4096, 55808, 56320, 7069184, 15261184, 16777216 + 300]

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def padded_size(size):
    return max(4096, 512 * (size // 512 + 1))


def check_container(path, source):
    check(olefile.isOleFile(path), "%s: not recognised as a compound file" % path)
    # Report every defect the reader notices, not just fatal ones.
    ole = olefile.OleFileIO(path, raise_defects=olefile.DEFECT_INCORRECT)
    try:
        names = sorted("/".join(entry) for entry in ole.listdir())
        expected = sorted(["Book", "\x05SummaryInformation", "\x05DocumentSummaryInformation"])
        check(names == expected, "%s: streams %r" % (path, names))
        book_size = padded_size(len(source))
        check(ole.get_size("Book") == book_size,
              "%s: Book size %d, expected %d" % (path, ole.get_size("Book"), book_size))
        book = ole.openstream("Book").read()
        check(book == source + bytes(book_size - len(source)),
              "%s: Book stream differs from the workbook" % path)
        for name in ("\x05SummaryInformation", "\x05DocumentSummaryInformation"):
            check(ole.get_size(name) == 4096, "%s: %r size %d" % (path, name, ole.get_size(name)))
            check(ole.openstream(name).read() == bytes(4096), "%s: %r not zero" % (path, name))
        check(ole.root.clsid == "00020810-0000-0000-C000-000000000046",
              "%s: root class %s" % (path, ole.root.clsid))
    finally:
        ole.close()


def check_hello(path, shared_dir):
    log = io.StringIO()
    book = xlrd.open_workbook(path, logfile=log)
    # xlrd prints any inconsistency it meets instead of failing.
    check(log.getvalue() == "", "%s: xlrd complains: %s" % (path, log.getvalue().strip()))
    # Excel 5.0 and 95 share the record format; xlrd tells them apart by the BOF's year.
    check(book.biff_version in (50, 70), "%s: BIFF version %d" % (path, book.biff_version))
    sheet = book.sheet_by_index(0)
    check(sheet.name == "Sheet1", "%s: sheet %r" % (path, sheet.name))
    check(sheet.cell_value(0, 0) == "Hello", "%s: A1 is %r" % (path, sheet.cell_value(0, 0)))
    dump_tool = os.path.join(shared_dir, "tools", "xls_dump.py")
    check(os.path.exists(dump_tool), "%s missing: the shared tools must sit beside the repository" % dump_tool)
    if os.path.exists(dump_tool):
        out = subprocess.run([sys.executable, dump_tool, path, "--compact"],
                             capture_output=True, text=True)
        check(out.returncode == 0, "xls_dump.py failed: %s" % out.stderr)
        if out.returncode == 0:
            cells = json.loads(out.stdout)["sheets"][0]["cells"]
            check(cells == [[0, 0, "text", "Hello"]], "xls_dump.py cells %r" % cells)


def main(argv):
    writer, shared_dir = argv[1], argv[2]
    with tempfile.TemporaryDirectory() as tmp:
        subprocess.run([writer, tmp] + [str(s) for s in SIZES], check=True)
        for size in SIZES:
            base = os.path.join(tmp, "book-%d" % size)
            with open(base + ".bin", "rb") as f:
                source = f.read()
            try:
                check_container(base + ".ole", source)
            except Exception as e:  # the reader refused the file
                failures.append("%s.ole: %s" % (base, e))
        try:
            check_hello(os.path.join(tmp, "hello.xls"), shared_dir)
        except Exception as e:
            failures.append("hello.xls: %s" % e)
    for failure in failures:
        print("FAIL", failure)
    if not failures:
        print("ok: %d containers and the minimal workbook" % len(SIZES))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
