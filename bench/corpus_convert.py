#!/usr/bin/python3
"""Converts every file of ../shared/corpus and ../shared/corpus-peer that is
expected to open and checks the workbooks with three readers nobody here
wrote: xlrd (formatting_info=True, nothing logged), ssconvert (nothing on
stderr) and LibreOffice (CSV export of every workbook in one run).

    bench/corpus_convert.py [VELLUMSHEET] [SHARED_DIR]

Prints one line per file that fails a check and a summary; exit status 1 when
any check failed."""
import io
import json
import os
import subprocess
import sys
import tempfile

import xlrd

here = os.path.dirname(os.path.abspath(__file__))
program = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "build", "cli", "vellumsheet")
shared = sys.argv[2] if len(sys.argv) > 2 else os.path.join(here, "..", "..", "shared")


def documents():
    own = json.load(open(os.path.join(shared, "corpus", "manifest.json")))
    for d in own["documents"]:
        if d["expected"] == "convert":
            yield os.path.join(shared, "corpus", d["file"]), d["user_password"] if d["encrypted"] else None
    peer = json.load(open(os.path.join(shared, "corpus-peer", "manifest.json")))
    for e in peer["entries"]:
        if e["expected"] == "open":
            enc = e["encryption"]
            password = None
            if enc["scheme"] != "none":
                password = enc.get("user_password")
                if password is None:
                    password = enc.get("owner_password")
            yield os.path.join(shared, "corpus-peer", e["file"]), password


def main():
    problems, statuses, books = [], {}, []
    with tempfile.TemporaryDirectory() as work:
        for n, (pdf, password) in enumerate(documents()):
            out = os.path.join(work, "%03d.xls" % n)
            command = [program, "convert", pdf, out, "-q"] + (["--password", password] if password else [])
            result = subprocess.run(command, capture_output=True, text=True, stdin=subprocess.DEVNULL,
                                    start_new_session=True, timeout=300)
            statuses[result.returncode] = statuses.get(result.returncode, 0) + 1
            name = os.path.relpath(pdf, shared)
            if result.returncode not in (0, 3):
                problems.append("%s: exit %d: %s" % (name, result.returncode, result.stderr.strip()))
                continue
            if result.returncode == 3:
                print("%s: written with failed pages: %s" % (name, result.stderr.strip()))
            books.append((name, out))
            log = io.StringIO()
            try:
                xlrd.open_workbook(out, formatting_info=True, logfile=log)
                if log.getvalue().strip():
                    problems.append("%s: xlrd says %s" % (name, log.getvalue().strip()))
            except Exception as error:  # any refusal is a finding
                problems.append("%s: xlrd fails: %s" % (name, error))
            check = subprocess.run(["ssconvert", out, out + ".csv"], capture_output=True, text=True, timeout=120)
            if check.returncode != 0 or check.stderr.strip():
                problems.append("%s: ssconvert: %s" % (name, check.stderr.strip()))
        office = os.path.join(work, "office")
        os.mkdir(office)
        subprocess.run(["soffice", "--headless", "--convert-to", "csv", "--outdir", office] + [b for _, b in books],
                       capture_output=True, timeout=1800)
        for name, book in books:
            if not os.path.exists(os.path.join(office, os.path.basename(book)[:-4] + ".csv")):
                problems.append("%s: LibreOffice did not read the workbook" % name)
    for p in problems:
        print(p)
    print("converted %d files; exit statuses %s; %d problems" % (len(books), statuses, len(problems)))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
