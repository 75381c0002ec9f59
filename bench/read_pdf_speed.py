#!/usr/bin/python3
"""vellumsheet.read_pdf on the files of ../shared/corpus that convert, beside
vellumsheet.convert writing the same files' .xlsx: the difference is what
reading the tables back costs.

    bench/read_pdf_speed.py [--rounds N] [--corpus NAME]

Prints the median and range of a round's time for each, and the median
processor time (steadier than the clock on a busy machine). The package is
imported from build/python."""
import argparse
import json
import os
import statistics
import sys
import tempfile
import time

here = os.path.dirname(os.path.abspath(__file__))
root = os.path.join(here, "..")
sys.path.insert(0, os.path.join(root, "build", "python"))
shared = os.path.join(root, "..", "shared")

import vellumsheet  # noqa: E402


def sources(corpus):
    manifest = json.load(open(os.path.join(shared, corpus, "manifest.json")))
    for d in manifest["documents"]:
        if d.get("expected", "convert") == "convert":
            yield os.path.join(shared, corpus, d["file"]), d.get("user_password") or d.get("owner_password")


def timed(rounds, run):
    """(clock times, processor times) of the rounds."""
    times, cpu = [], []
    for _ in range(rounds):
        start, start_cpu = time.perf_counter(), time.process_time()
        run()
        times.append(time.perf_counter() - start)
        cpu.append(time.process_time() - start_cpu)
    return times, cpu


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--corpus", default="corpus")
    args = parser.parse_args()
    files = list(sources(args.corpus))
    vellumsheet.read_pdf(files[0][0], password=files[0][1])  # imports the readers before timing

    def read_all():
        for path, password in files:
            vellumsheet.read_pdf(path, password=password)

    def convert_all():
        with tempfile.TemporaryDirectory() as work:
            for i, (path, password) in enumerate(files):
                vellumsheet.convert(path, os.path.join(work, "%d.xlsx" % i), password=password)

    print("%d files of %s, %d rounds" % (len(files), args.corpus, args.rounds))
    for name, run in (("read_pdf", read_all), ("convert to .xlsx", convert_all)):
        times, cpu = timed(args.rounds, run)
        print("%-17s median %.3f s (%.3f-%.3f), processor %.3f s"
              % (name, statistics.median(times), min(times), max(times), statistics.median(cpu)))


if __name__ == "__main__":
    main()
