#!/usr/bin/env python3
"""Checks `vellumsheet convert` as a user meets it: usage errors write
nothing, a damaged or locked PDF never touches an existing workbook nor
leaves temporary files, an encrypted file without a terminal fails at once,
every failure is one line "vellumsheet: FILE: cause", and --help lists every
option with its default. With --convert it also converts the sample and
reads the workbook back, and converts a file whose pages fail or lose text.

usage: convert_cli.py VELLUMSHEET SOURCE_DIR SHARED_DIR [--convert]"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time


def run(program, args, cwd, tmpdir, stdin=subprocess.DEVNULL):
    env = dict(os.environ, TMPDIR=tmpdir, LC_ALL="C.UTF-8")
    # A new session has no controlling terminal: nothing may prompt.
    return subprocess.run([program] + args, cwd=cwd, env=env, capture_output=True, stdin=stdin,
                          start_new_session=True, timeout=300)


def main():
    program, source, shared = sys.argv[1], sys.argv[2], sys.argv[3]
    convert = "--convert" in sys.argv[4:]
    corpus = os.path.join(shared, "corpus")
    if not os.path.isdir(corpus):
        print("shared corpus not present at", shared)
        return 1
    failures = []

    def expect(name, condition, detail=""):
        if not condition:
            failures.append("%s %s" % (name, detail))

    with tempfile.TemporaryDirectory() as work:
        tmp = os.path.join(work, "tmp")
        os.mkdir(tmp)
        sample = os.path.join(work, "in.pdf")
        shutil.copy(os.path.join(source, "examples", "inventory.pdf"), sample)
        shutil.copy(sample, os.path.join(work, "doc"))
        damaged = os.path.join(work, "damaged.pdf")
        with open(os.path.join(corpus, "21_report_sales_truncated.pdf"), "rb") as f:
            open(damaged, "wb").write(f.read())
        precious = b"an existing workbook, byte for byte"
        out = os.path.join(work, "out.xls")

        def listing():
            return sorted(os.listdir(work)), sorted(os.listdir(tmp))

        usage_cases = [
            ("bad range", ["convert", "in.pdf", "out.xls", "--pages", "3-2"]),
            ("zero page", ["convert", "in.pdf", "out.xls", "--pages", "0"]),
            ("unknown paper", ["convert", "in.pdf", "out.xls", "--paper", "A6"]),
            ("quality 0", ["convert", "in.pdf", "out.xls", "--image-quality", "0"]),
            ("quality 101", ["convert", "in.pdf", "out.xls", "--image-quality", "101"]),
            ("negative sheet pages", ["convert", "in.pdf", "out.xls", "--pages-per-sheet", "-1"]),
            ("unknown option", ["convert", "in.pdf", "out.xls", "--fast"]),
            ("no input", ["convert"]),
            ("output is the input", ["convert", "doc", "doc"]),
            ("two inputs, one output", ["convert", "in.pdf", "./in.pdf"]),
            ("same name in one directory", ["convert", "in.pdf", "sub/in.pdf", "--output-dir", "."]),
            ("range beyond the document", ["convert", "in.pdf", "out.xls", "--pages", "9-"]),
            ("both passwords", ["convert", "in.pdf", "out.xls", "--password", "a", "--password-file", "p"]),
            ("several inputs and one workbook", ["convert", "in.pdf", "doc", "out.xls"]),
            ("empty page range", ["convert", "in.pdf", "out.xls", "--pages", ""]),
            ("unknown command", ["convert-all", "in.pdf"]),
        ]
        for name, args in usage_cases:
            open(out, "wb").write(precious)
            before = listing()
            result = run(program, args, work, tmp)
            expect(name, result.returncode == 2, "exit %d: %s" % (result.returncode, result.stderr))
            expect(name + " keeps out.xls", open(out, "rb").read() == precious)
            expect(name + " writes nothing", listing() == before, str(listing()))

        # Damaged PDF onto an existing workbook: exit 1, nothing changed, nothing left.
        open(out, "wb").write(precious)
        before = listing()
        result = run(program, ["convert", "damaged.pdf", "out.xls"], work, tmp)
        expect("damaged exit", result.returncode == 1, str(result.returncode))
        expect("damaged message", result.stderr.startswith(b"vellumsheet: damaged.pdf: ") and
               result.stderr.count(b"\n") == 1, result.stderr)
        expect("damaged keeps out.xls", open(out, "rb").read() == precious)
        expect("damaged leaves nothing", listing() == before, str(listing()))

        # Encrypted, no terminal, no password: fails at once.
        started = time.monotonic()
        locked = os.path.join(corpus, "12_multipage_inventory_rc4_128.pdf")
        result = run(program, ["convert", locked, "out.xls"], work, tmp)
        expect("locked exit", result.returncode == 1, str(result.returncode))
        expect("locked message", result.stderr == b"vellumsheet: %s: encrypted, and no password was given;"
               b" give it with --password or --password-file\n" % locked.encode(), result.stderr)
        expect("locked at once", time.monotonic() - started < 10)
        expect("locked keeps out.xls", open(out, "rb").read() == precious)
        result = run(program, ["convert", locked, "out.xls", "--password", "wrong"], work, tmp)
        expect("wrong password", result.returncode == 1 and b"password is not correct" in result.stderr,
               result.stderr)

        # Files that cannot be read: the system's words, one line, the file first.
        os.mkdir(os.path.join(work, "adir"))
        open(os.path.join(work, "empty.pdf"), "wb").close()
        for name, cause in [("missing.pdf", "no such file or directory"), ("adir", "is a directory"),
                            ("empty.pdf", "the file is empty")]:
            result = run(program, ["convert", name, "out.xls"], work, tmp)
            expect(name, result.returncode == 1 and result.stderr.decode() == "vellumsheet: %s: %s\n" % (name, cause),
                   result.stderr)
        os.rmdir(os.path.join(work, "adir"))
        os.remove(os.path.join(work, "empty.pdf"))

        # Every header version opens, --any-version or not.
        v17 = os.path.join(corpus, "20_numeric_rainfall_v17_qpdf.pdf")
        for extra in ([], ["--any-version"]):
            result = run(program, ["convert", v17, "v17.xls"] + extra, work, tmp)
            expect("1.7 converts " + str(extra), result.returncode == 0, result.stderr)
        os.remove(os.path.join(work, "v17.xls"))

        # --help names every option with its default.
        for flag in ["--help", "-h"]:
            result = run(program, ["convert", flag], work, tmp)
            text = result.stdout.decode()
            expect(flag + " exit", result.returncode == 0, result.stderr)
            for option in ["--output-dir", "--password ", "--password-file", "--pages ", "--pages-per-sheet",
                           "--paper", "--image-quality", "--text-cells", "--plain-sheet", "--page-grid",
                           "--any-version", "-j N",
                           "--progress", "-q", "--force", "nearest to the PDF's page", "(default: 100)",
                           "(default: 0)"]:
                expect("help lists " + option, option in text)

        # The top-level help: convert first, then the inspection commands, aligned.
        text = run(program, ["--help"], work, tmp).stdout.decode()
        entries = [line for line in text.splitlines() if re.match(r"  [a-z]", line)]
        expect("convert listed first", [line.split()[0] for line in entries[:1]] == ["convert"], text)
        expect("inspection heading", "\nInspection commands:\n" in text, text)
        expect("eight commands", len(entries) == 8, text)
        expect("summaries aligned", len({len(re.match(r"  \S+ +", line).group(0)) for line in entries}) == 1, text)
        result = run(program, ["-V"], work, tmp)
        expect("-V", result.returncode == 0 and result.stdout.startswith(b"vellumsheet "), result.stdout)

        if convert:
            for f in os.listdir(tmp):
                failures.append("temporary file left: " + f)
            result = run(program, ["convert", "in.pdf", "out.xls", "--progress"], work, tmp)
            expect("sample converts", result.returncode == 0, result.stderr)
            expect("progress lines", b"3 out of 3 pages converted." in result.stderr, result.stderr)
            # A PDF named first is converted; the paper name in any case.
            result = run(program, ["in.pdf", "out.xls", "--paper", "letter", "-q"], work, tmp)
            expect("first argument a PDF", result.returncode == 0 and result.stderr == b"", result.stderr)
            read = subprocess.run(["/usr/bin/python3", "-c", "import xlrd,sys; b=xlrd.open_workbook(sys.argv[1],"
                                   " formatting_info=True); s=b.sheet_by_index(0);"
                                   " print(sum(1 for r in range(s.nrows) for v in s.row_values(r) if v == 'Part code'))", out],
                                  capture_output=True, text=True)
            # The table goes on over the three pages: its heading row, repeated on each, comes back once.
            expect("workbook reads back", read.returncode == 0 and read.stdout.strip() == "1", read.stdout + read.stderr)
            # Standard output and a batch in parallel processes.
            with open(os.path.join(work, "piped.xls"), "wb") as piped:
                result = subprocess.run([program, "convert", "in.pdf", "-", "-q"], cwd=work, stdout=piped,
                                        stderr=subprocess.PIPE, env=dict(os.environ, TMPDIR=tmp), timeout=300)
            expect("stdout", result.returncode == 0 and os.path.getsize(os.path.join(work, "piped.xls")) > 0)
            # A batch into a folder that is made for it; one line per file, then a summary.
            result = run(program, ["convert", "in.pdf", "damaged.pdf", "--output-dir", "books/new", "-j", "2",
                                   "--progress"], work, tmp)
            expect("batch worst status", result.returncode == 1, str(result.returncode))
            expect("batch converts the good file", os.path.exists(os.path.join(work, "books", "new", "in.xls")))
            lines = result.stderr.decode().splitlines()
            expect("batch names the failing file", any(line.startswith("vellumsheet: damaged.pdf: ") for line in lines),
                   lines)
            expect("batch line per file", sorted(line[6:] for line in lines if line.startswith("[")) ==
                   ["damaged.pdf failed", "in.pdf \u2192 books/new/in.xls, 3 pages"], lines)
            expect("batch summary", lines[-1] == "1 of 2 files converted, 1 failed.", lines)
            expect("batch leaves no temporary file", os.listdir(tmp) == [], str(os.listdir(tmp)))

            # Failed pages are each listed and give 3; notes name the page.
            lossy = os.path.join(source, "tests", "data", "cli", "lossy.pdf")
            shutil.copy(lossy, os.path.join(work, "lossy.pdf"))
            failed = ["vellumsheet: lossy.pdf: page 2 failed: the page needs more drawing operations than a page"
                      " may run; it was cut short.",
                      "vellumsheet: lossy.pdf: 1 of 4 pages failed; the workbook holds what could be drawn"]
            notes = ["vellumsheet: lossy.pdf: page 3: 2 characters could not be written to the workbook",
                     "vellumsheet: lossy.pdf: page 3: 1 text was cut to the 255 characters a cell holds",
                     "vellumsheet: lossy.pdf: page 4: 1 character could not be written to the workbook"]
            for extra, expected in [([], failed + notes), (["-q"], failed)]:
                result = run(program, ["convert", "lossy.pdf"] + extra, work, tmp)
                expect("lossy " + str(extra), result.returncode == 3 and
                       result.stderr.decode().splitlines() == expected, result.stderr)
            expect("lossy written", os.path.exists(os.path.join(work, "lossy.xls")))

    for failure in failures:
        print("FAIL", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
