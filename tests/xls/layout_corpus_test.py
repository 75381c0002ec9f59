#!/usr/bin/env python3
"""Lays out pages of the table corpus with `vellumsheet layout --json` and
holds the cells against the known tables: the cells of one table row should
share a layout row, the cells of one table column a layout column. A table
cell is followed only when exactly one laid-out text has its text. Prints the
share of rows and columns that hold, per page and overall, and fails when
they fall below the floors given.

usage: layout_corpus_test.py PROGRAM SHARED [emf|pdf]
  emf (default): the recorded first pages in corpus/emf;
  pdf: every page of the corpus's base PDFs that has a known table."""
import collections
import csv
import json
import os
import subprocess
import sys

# (rows, columns) that must hold. Drawn PDF pages keep a few columns apart: a
# page footer drawn in pieces inside a column's band splits that column, and a
# right-aligned value in a wide column sits further right than the texts above.
FLOORS = {"emf": (0.95, 0.95), "pdf": (0.95, 0.90)}


def layout(program, path, page=1):
    run = subprocess.run([program, "layout", path, "--page", str(page), "--json"], capture_output=True, text=True,
                         encoding="utf-8", timeout=120)
    if run.returncode != 0:
        raise RuntimeError(f"{path}: exit {run.returncode}: {run.stderr.strip()}")
    return json.loads(run.stdout)["items"]


def groups_holding(groups, key):
    """(groups of two or more followed cells, those whose cells share one key value)."""
    checked = held = 0
    broken = []
    for name, cells in groups.items():
        if len(cells) < 2:
            continue
        checked += 1
        if len({c[key] for c in cells}) == 1:
            held += 1
        else:
            broken.append(name)
    return checked, held, broken


def pages(corpus, mode):
    """(name, layout input, page number, known table) of each page to check."""
    gt_dir = os.path.join(corpus, "gt")
    if mode == "emf":
        emf_dir = os.path.join(corpus, "emf")
        for name in sorted(n for n in os.listdir(emf_dir) if n.endswith(".emf")):
            yield name[:-4], os.path.join(emf_dir, name), 1, os.path.join(gt_dir, name[:-4] + ".p1.csv")
        return
    with open(os.path.join(corpus, "manifest.json"), encoding="utf-8") as f:
        documents = json.load(f)["documents"]
    for document in documents:
        if document.get("derived_from"):
            continue
        base = document["file"][:-4]
        for table in sorted(n for n in os.listdir(gt_dir) if n.startswith(base + ".p") and n.endswith(".csv")):
            page = int(table[len(base) + 2:-4])
            yield f"{base} p{page}", os.path.join(corpus, document["file"]), page, os.path.join(gt_dir, table)


def main():
    program, shared = sys.argv[1], sys.argv[2]
    mode = sys.argv[3] if len(sys.argv) > 3 else "emf"
    corpus = os.path.join(shared, "corpus")
    checked_pages = 0
    totals = [0, 0, 0, 0]
    for name, path, page, table_path in pages(corpus, mode):
        checked_pages += 1
        items = layout(program, path, page)
        by_text = collections.defaultdict(list)
        for item in items:
            by_text[item["text"].strip()].append(item)
        with open(table_path, encoding="utf-8", newline="") as f:
            table = list(csv.reader(f))
        rows, columns = collections.defaultdict(list), collections.defaultdict(list)
        cells = followed = 0
        for r, line in enumerate(table):
            for c, cell in enumerate(line):
                found = by_text.get(cell.strip(), [])
                cells += bool(cell.strip())
                if cell.strip() and len(found) == 1:
                    followed += 1
                    rows[r].append(found[0])
                    columns[c].append(found[0])
        row_checked, row_held, row_broken = groups_holding(rows, "row")
        col_checked, col_held, col_broken = groups_holding(columns, "col")
        totals = [totals[0] + row_checked, totals[1] + row_held, totals[2] + col_checked, totals[3] + col_held]
        print(f"{name}: {followed}/{cells} table cells followed; rows {row_held}/{row_checked}, "
              f"columns {col_held}/{col_checked}; broken rows {row_broken[:8]}, broken columns {col_broken[:8]}")
    if not checked_pages or not totals[0] or not totals[2]:
        print("no page with a known table could be followed")
        return 1
    row_share, col_share = totals[1] / totals[0], totals[3] / totals[2]
    print(f"overall: rows {totals[1]}/{totals[0]} = {row_share:.3f}, columns {totals[3]}/{totals[2]} = {col_share:.3f}")
    row_floor, column_floor = FLOORS[mode]
    if row_share < row_floor or col_share < column_floor:
        print(f"below the floors (rows {row_floor}, columns {column_floor})")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
