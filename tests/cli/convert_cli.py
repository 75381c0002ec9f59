#!/usr/bin/env python3
"""Checks `vellumsheet convert` as a user meets it: usage errors write
nothing, a damaged or locked PDF never touches an existing workbook nor
leaves temporary files, an encrypted file without a terminal fails at once,
and --help lists every option with its default. With --convert it also
converts the sample and reads the workbook back.

usage: convert_cli.py VELLUMSHEET SOURCE_DIR SHARED_DIR [--convert]"""
import os
import shutil
import subprocess
import sys
import tempfile
import time


def run(program, args, cwd, tmpdir, stdin=subprocess.DEVNULL):
    env = dict(os.environ, TMPDIR=tmpdir)
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
        expect("damaged message", result.stderr.startswith(b"Impossible to read selected PDF file.\n"),
               result.stderr)
        expect("damaged keeps out.xls", open(out, "rb").read() == precious)
        expect("damaged leaves nothing", listing() == before, str(listing()))

        # Encrypted, no terminal, no password: fails at once.
        started = time.monotonic()
        locked = os.path.join(corpus, "12_multipage_inventory_rc4_128.pdf")
        result = run(program, ["convert", locked, "out.xls"], work, tmp)
        expect("locked exit", result.returncode == 1, str(result.returncode))
        expect("locked message", b"no password was given" in result.stderr, result.stderr)
        expect("locked at once", time.monotonic() - started < 10)
        expect("locked keeps out.xls", open(out, "rb").read() == precious)
        result = run(program, ["convert", locked, "out.xls", "--password", "wrong"], work, tmp)
        expect("wrong password", result.returncode == 1 and b"password is not correct" in result.stderr,
               result.stderr)

        # A 1.7 header is refused unless asked for.
        v17 = os.path.join(corpus, "20_numeric_rainfall_v17_qpdf.pdf")
        result = run(program, ["convert", v17, "out.xls"], work, tmp)
        expect("1.7 refused", result.returncode == 1 and b"Unsupported PDF Version" in result.stderr, result.stderr)
        result = run(program, ["info", "--any-version", v17], work, tmp)
        expect("1.7 opens on request", result.returncode == 0 and b"Version: 1.7" in result.stdout, result.stderr)

        # --help names every option with its default.
        result = run(program, ["convert", "--help"], work, tmp)
        text = result.stdout.decode()
        for option in ["--output-dir", "--password ", "--password-file", "--pages ", "--pages-per-sheet",
                       "--paper", "--image-quality", "--text-cells", "--plain-sheet", "--any-version", "-j N", "--progress",
                       "-q", "nearest to the PDF's page", "(default: 100)", "(default: 0)"]:
            expect("help lists " + option, option in text)

        if convert:
            for f in os.listdir(tmp):
                failures.append("temporary file left: " + f)
            result = run(program, ["convert", "in.pdf", "out.xls", "--progress"], work, tmp)
            expect("sample converts", result.returncode == 0, result.stderr)
            expect("progress lines", b"3 out of 3 pages converted." in result.stderr, result.stderr)
            read = subprocess.run(["/usr/bin/python3", "-c", "import xlrd,sys; b=xlrd.open_workbook(sys.argv[1],"
                                   " formatting_info=True); s=b.sheet_by_index(0);"
                                   " print(sum(1 for r in range(s.nrows) for v in s.row_values(r) if v == 'Part code'))", out],
                                  capture_output=True, text=True)
            # The header row repeated on each of the three pages comes back three times.
            expect("workbook reads back", read.returncode == 0 and read.stdout.strip() == "3", read.stdout + read.stderr)
            # Standard output and a batch in parallel processes.
            with open(os.path.join(work, "piped.xls"), "wb") as piped:
                result = subprocess.run([program, "convert", "in.pdf", "-", "-q"], cwd=work, stdout=piped,
                                        stderr=subprocess.PIPE, env=dict(os.environ, TMPDIR=tmp), timeout=300)
            expect("stdout", result.returncode == 0 and os.path.getsize(os.path.join(work, "piped.xls")) > 0)
            os.mkdir(os.path.join(work, "books"))
            result = run(program, ["convert", "in.pdf", "damaged.pdf", "--output-dir", "books", "-j", "2"], work, tmp)
            expect("batch worst status", result.returncode == 1, str(result.returncode))
            expect("batch converts the good file", os.path.exists(os.path.join(work, "books", "in.xls")))
            expect("batch names the failing file", b"damaged.pdf: Impossible to read" in result.stderr, result.stderr)
            expect("batch leaves no temporary file", os.listdir(tmp) == [], str(os.listdir(tmp)))

    for failure in failures:
        print("FAIL", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
