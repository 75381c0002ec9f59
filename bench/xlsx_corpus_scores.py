#!/usr/bin/python3
"""Scores the .xlsx output on a corpus as ../shared/tools/corpus_scores.py
scores the .xls, and checks that both formats hold the same cells.

    bench/xlsx_corpus_scores.py VELLUMSHEET CORPUS_DIR [-- CONVERT_OPTIONS...]

Converts every convertible document with ground truth to .xls and .xlsx,
reads the .xls with the tools' reader and the .xlsx with openpyxl, and scores
both with the tools' score_grid. Prints one JSON line per document (scores of
both, and the cells where the two differ) and a closing line with the means.
Texts the .xls had to fold (characters code page 1252 lacks) are expected to
differ; every other difference is a fault of one of the writers."""
import datetime
import json
import os
import subprocess
import sys
import tempfile

import openpyxl

KEYS = ("text_recall", "structure", "column_consistency")


def iso(value):
    if isinstance(value, datetime.datetime):
        if (value.hour, value.minute, value.second) == (0, 0, 0):
            return value.date().isoformat()
        return value.isoformat()
    return value.isoformat()


def read_xlsx(path):
    """The cells of an .xlsx in the tools' dump form."""
    book = openpyxl.load_workbook(path)
    sheets = []
    for index, sheet in enumerate(book.worksheets):
        cells = []
        for row in sheet.iter_rows():
            for cell in row:
                v = cell.value
                if v is None or v == "":
                    continue
                if isinstance(v, bool):
                    cells.append([cell.row - 1, cell.column - 1, "bool", v])
                elif isinstance(v, (int, float)):
                    cells.append([cell.row - 1, cell.column - 1, "number", float(v)])
                elif isinstance(v, (datetime.datetime, datetime.date, datetime.time)):
                    cells.append([cell.row - 1, cell.column - 1, "date", iso(v)])
                else:
                    cells.append([cell.row - 1, cell.column - 1, "text", str(v)])
        sheets.append({"index": index, "name": sheet.title, "cells": cells})
    return {"sheets": sheets}


def differences(xls, xlsx):
    """Cells of either workbook that the other lacks or holds otherwise."""
    def index(dump):
        return {(s["index"], r, c): (t, v) for s in dump["sheets"] for r, c, t, v in s["cells"]}
    a, b = index(xls), index(xlsx)
    out = []
    for key in sorted(set(a) | set(b)):
        x, y = a.get(key), b.get(key)
        if x is None or y is None or x[0] != y[0]:
            out.append([key, x, y])
        elif x[0] == "number" and abs(x[1] - y[1]) > 1e-9 * max(1.0, abs(x[1])):
            out.append([key, x, y])
        elif x[0] != "number" and x[1] != y[1] and not folded(x[1], y[1]):
            out.append([key, x, y])
    return out


def folded(xls_text, page_text):
    """Whether the .xls text is the page's text folded into code page 1252."""
    if not isinstance(page_text, str):
        return False
    try:
        page_text.encode("cp1252")
        return False
    except UnicodeEncodeError:
        return True


def main():
    args = sys.argv[1:]
    extra = []
    if "--" in args:
        i = args.index("--")
        args, extra = args[:i], args[i + 1:]
    if len(args) != 2:
        print(__doc__, file=sys.stderr)
        return 64
    exe, corpus = args
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    sys.path.insert(0, os.path.join(root, "..", "shared", "tools"))
    from score_grid import score, load_csv  # noqa: E402
    from xls_dump import read_book  # noqa: E402

    manifest = json.load(open(os.path.join(corpus, "manifest.json")))
    sums = {fmt: dict.fromkeys(KEYS, 0.0) for fmt in ("xls", "xlsx")}
    n = failed = differing = 0
    with tempfile.TemporaryDirectory() as tmp:
        for d in manifest["documents"]:
            if d.get("expected") != "convert" or not d.get("ground_truth"):
                continue
            tables = [load_csv(os.path.join(corpus, t["csv"])) for t in d["ground_truth"]["tables"]]
            pw = d.get("owner_password") or d.get("user_password")
            line = {"file": d["file"]}
            dumps = {}
            for fmt, reader in (("xls", read_book), ("xlsx", read_xlsx)):
                out = os.path.join(tmp, d["file"] + "." + fmt)
                cmd = [exe, "convert", os.path.join(corpus, d["file"]), out, "-q"]
                cmd += ["--password", pw] if d.get("encrypted") and pw is not None else []
                r = subprocess.run(cmd + extra, capture_output=True, text=True, stdin=subprocess.DEVNULL, timeout=600)
                s = dict.fromkeys(KEYS, 0.0)
                if r.returncode in (0, 3) and os.path.exists(out):
                    dumps[fmt] = reader(out)
                    s = score(dumps[fmt], tables)
                else:
                    failed += 1
                for k in KEYS:
                    sums[fmt][k] += s[k] or 0.0
                line[fmt] = {k: round(s[k] or 0.0, 3) for k in KEYS}
            n += 1
            if len(dumps) == 2:
                diff = differences(dumps["xls"], dumps["xlsx"])
                line["cells_differing"] = len(diff)
                if diff:
                    differing += 1
                    line["first_differences"] = [str(x) for x in diff[:3]]
            print(json.dumps(line, ensure_ascii=False))
    means = {fmt: {k: round(sums[fmt][k] / n, 3) if n else 0.0 for k in KEYS} for fmt in sums}
    print(json.dumps({"documents": n, "failed": failed, "documents_differing": differing, **means}))
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
