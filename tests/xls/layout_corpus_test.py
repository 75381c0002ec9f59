#!/usr/bin/env python3
"""Lays out the recorded pages of the table corpus with `vellumsheet layout
--json` and holds the cells against the known tables: the cells of one table
row should share a layout row, the cells of one table column a layout column.
A table cell is followed only when exactly one laid-out text has its text.
Prints the share of rows and columns that hold, per page and overall, and
fails when they fall below the floors given."""
import collections
import csv
import json
import os
import subprocess
import sys

ROW_FLOOR = 0.95
COLUMN_FLOOR = 0.95


def layout(program, path):
    run = subprocess.run([program, "layout", path, "--json"], capture_output=True, text=True,
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


def main():
    program, shared = sys.argv[1], sys.argv[2]
    corpus = os.path.join(shared, "corpus")
    emf_dir, gt_dir = os.path.join(corpus, "emf"), os.path.join(corpus, "gt")
    names = sorted(n for n in os.listdir(emf_dir) if n.endswith(".emf"))
    if not names:
        print("no recorded pages in", emf_dir)
        return 1
    totals = [0, 0, 0, 0]
    for name in names:
        base = name[:-4]
        items = layout(program, os.path.join(emf_dir, name))
        by_text = collections.defaultdict(list)
        for item in items:
            by_text[item["text"].strip()].append(item)
        with open(os.path.join(gt_dir, base + ".p1.csv"), encoding="utf-8", newline="") as f:
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
        print(f"{base}: {followed}/{cells} table cells followed; rows {row_held}/{row_checked}, columns {col_held}/{col_checked}"
              f"; broken rows {row_broken[:8]}, broken columns {col_broken[:8]}")
    row_share = totals[1] / totals[0] if totals[0] else 0
    col_share = totals[3] / totals[2] if totals[2] else 0
    print(f"overall: rows {totals[1]}/{totals[0]} = {row_share:.3f}, columns {totals[3]}/{totals[2]} = {col_share:.3f}")
    if row_share < ROW_FLOOR or col_share < COLUMN_FLOOR:
        print(f"below the floors (rows {ROW_FLOOR}, columns {COLUMN_FLOOR})")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
