#!/usr/bin/python3
"""Speed of `vellumsheet convert` beside `pdftotext -layout`, in one run:

- a long document of real tables (the office-suite and ReportLab table files
  of ../shared/corpus and corpus-diverse, joined with qpdf and cut to 280
  pages): seconds, pages per second and the ratio to pdftotext;
- the short files (every convertible, unencrypted file of corpus and
  corpus-diverse), one process per file, start-up included: the ratio per
  file and its median;
- peak resident memory on the long document and on 1,000 pages.

    bench/convert_speed.py [--before OLD_BINARY] [--rounds N] [--only long|short|memory]

VELLUMSHEET names the binary (default build/cli/vellumsheet). With --before,
an older binary is timed in the same hyperfine runs, so both columns share
the machine's noise. The long document is timed in N rounds (default 5) and
each figure is the median over the rounds, with their range."""
import argparse
import json
import os
import statistics
import subprocess
import sys
import tempfile

here = os.path.dirname(os.path.abspath(__file__))
shared = os.path.join(here, "..", "..", "shared")
# Table documents made by an office suite and by ReportLab, without pictures
# (a scanned page costs its picture, whatever the pipeline) or encryption.
TABLE_FILES = [
    "corpus/01_numeric_rainfall.pdf", "corpus/02_mixed_ledger.pdf", "corpus/03_multipage_inventory.pdf",
    "corpus/04_multipage_shipments.pdf", "corpus/05_report_sales.pdf", "corpus/07_landscape_kpi.pdf",
    "corpus/08_letter_invoice.pdf", "corpus/09_latin_suppliers.pdf",
    "corpus-diverse/02_reportlab_rotated_budget.pdf",
]
LONG_PAGES = 280
MEMORY_PAGES = 1000


def short_files():
    for corpus in ("corpus", "corpus-diverse"):
        for d in json.load(open(os.path.join(shared, corpus, "manifest.json")))["documents"]:
            if d["expected"] == "convert" and not d["encrypted"]:
                yield os.path.join(shared, corpus, d["file"])


def joined(pages, out, work):
    """A document of `pages` pages: the table files repeated, then cut."""
    per_round = sum(int(subprocess.check_output(["qpdf", "--show-npages", os.path.join(shared, f)]))
                    for f in TABLE_FILES)
    sources = [os.path.join(shared, f) for f in TABLE_FILES] * (pages // per_round + 1)
    whole = os.path.join(work, "whole.pdf")
    subprocess.run(["qpdf", "--empty", "--pages", *sources, "--", whole], check=True)
    subprocess.run(["qpdf", whole, "--pages", ".", "1-%d" % pages, "--", out], check=True)
    return out


def hyperfine(commands, runs, work):
    """Median seconds of each named command, timed in one hyperfine run."""
    report = os.path.join(work, "hyperfine.json")
    args = ["hyperfine", "-N", "--style", "none", "--warmup", "1", "--runs", str(runs), "--export-json", report]
    for name, command in commands:
        args += ["-n", name, command]
    subprocess.run(args, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return {r["command"]: r["median"] for r in json.load(open(report))["results"]}


def commands_for(pdf, programs, work):
    out = os.path.join(work, "out")
    listed = [("pdftotext", "pdftotext -layout '%s' '%s.txt'" % (pdf, out))]
    for name, program in programs:
        listed.append((name, "'%s' convert -q '%s' '%s-%s.xls'" % (program, pdf, out, name)))
    return listed


def spread(values):
    return "%.2f (%.2f-%.2f)" % (statistics.median(values), min(values), max(values))


def long_document(programs, rounds, work):
    pdf = joined(LONG_PAGES, os.path.join(work, "long.pdf"), work)
    seconds = {name: [] for name, _ in [("pdftotext", None)] + programs}
    for round_index in range(rounds):
        listed = commands_for(pdf, programs, work)
        if round_index % 2:  # alternate the order so neither side always runs first
            listed.reverse()
        for name, value in hyperfine(listed, 3, work).items():
            seconds[name].append(value)
    print("Long document: %d pages of tables, %d rounds (median, range)" % (LONG_PAGES, rounds))
    print("%-10s %22s %22s %22s" % ("", "seconds", "pages/s", "x pdftotext per page"))
    for name in seconds:
        ratios = [s / p for s, p in zip(seconds[name], seconds["pdftotext"])]
        print("%-10s %22s %22s %22s" % (name, spread(seconds[name]),
                                         spread([LONG_PAGES / s for s in seconds[name]]), spread(ratios)))
    print()


def short(programs, work):
    names = [name for name, _ in programs]
    print("Short files: one process per file, median of 10 runs")
    print("%-45s %12s" % ("file", "pdftotext_ms") + "".join("%12s %8s" % (n + "_ms", "ratio") for n in names))
    ratios = {name: [] for name in names}
    for pdf in short_files():
        times = hyperfine(commands_for(pdf, programs, work), 10, work)
        line = "%-45s %12.1f" % (os.path.basename(pdf)[:45], 1000 * times["pdftotext"])
        for name in names:
            ratios[name].append(times[name] / times["pdftotext"])
            line += "%12.1f %8.2f" % (1000 * times[name], ratios[name][-1])
        print(line)
    print("%-45s %12s" % ("median ratio (range)", "") + "".join("%21s" % spread(ratios[n]) for n in names))
    print()


def peak_megabytes(program, pdf, work):
    timing = os.path.join(work, "time")
    subprocess.run(["/usr/bin/time", "-f", "%M", "-o", timing, program, "convert", "-q", pdf,
                    os.path.join(work, "peak.xls")], check=True)
    return int(open(timing).read().split()[-1]) / 1024


def memory(programs, work):
    long_pdf = os.path.join(work, "long.pdf")
    if not os.path.exists(long_pdf):
        joined(LONG_PAGES, long_pdf, work)
    many = joined(MEMORY_PAGES, os.path.join(work, "many.pdf"), work)
    print("Peak resident memory (MiB)")
    print("%-10s %12s %12s" % ("", "%d pages" % LONG_PAGES, "%d pages" % MEMORY_PAGES))
    for name, program in programs:
        print("%-10s %12.1f %12.1f" % (name, peak_megabytes(program, long_pdf, work),
                                       peak_megabytes(program, many, work)))
    print()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--before", help="an older binary, timed in the same runs")
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--only", choices=["long", "short", "memory"])
    options = parser.parse_args()
    program = os.environ.get("VELLUMSHEET", os.path.join(here, "..", "build", "cli", "vellumsheet"))
    programs = ([("before", options.before)] if options.before else []) + [("convert", program)]
    with tempfile.TemporaryDirectory() as work:
        if options.only in (None, "long"):
            long_document(programs, options.rounds, work)
        if options.only in (None, "short"):
            short(programs, work)
        if options.only in (None, "memory"):
            memory(programs, work)


if __name__ == "__main__":
    sys.exit(main())
