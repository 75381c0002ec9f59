#!/usr/bin/python3
"""vellumsheet.dask.convert_many on a local cluster of two worker processes
beside `vellumsheet convert -j 2`, on the same 200 files: the convertible,
unencrypted files of ../shared/corpus and corpus-diverse repeated under
names of their own.

    bench/dask_convert.py [--rounds N] [--files N] [--threads]

Times each round's whole conversion (the cluster is started once, before
the rounds, and timed on its own) and prints the median and range of each,
and the ratio. With --threads, convert_many without a cluster (threads of
this process) is timed too. VELLUMSHEET names the binary (default
build/cli/vellumsheet); the package is imported from build/python."""
import argparse
import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

here = os.path.dirname(os.path.abspath(__file__))
root = os.path.join(here, "..")
sys.path.insert(0, os.path.join(root, "build", "python"))
shared = os.path.join(root, "..", "shared")
program = os.environ.get("VELLUMSHEET", os.path.join(root, "build", "cli", "vellumsheet"))

import distributed  # noqa: E402

import vellumsheet.dask  # noqa: E402


def sources():
    for corpus in ("corpus", "corpus-diverse"):
        manifest = json.load(open(os.path.join(shared, corpus, "manifest.json")))
        for d in manifest["documents"]:
            if d.get("expected", "convert") == "convert" and not d.get("encrypted"):
                yield os.path.join(shared, corpus, d["file"])


def timed(run):
    start = time.perf_counter()
    run()
    return time.perf_counter() - start


def summary(times):
    return "%.2f s (%.2f-%.2f)" % (statistics.median(times), min(times), max(times))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--files", type=int, default=200)
    parser.add_argument("--threads", action="store_true")
    args = parser.parse_args()
    files = list(sources())
    with tempfile.TemporaryDirectory() as work:
        inputs = os.path.join(work, "in")
        os.mkdir(inputs)
        paths = []
        for i in range(args.files):
            path = os.path.join(inputs, "%03d_%s" % (i, os.path.basename(files[i % len(files)])))
            shutil.copy(files[i % len(files)], path)
            paths.append(path)
        pages = 0
        start = time.perf_counter()
        cluster = distributed.LocalCluster(n_workers=2, threads_per_worker=1, processes=True, dashboard_address=None)
        client = distributed.Client(cluster)
        started = time.perf_counter() - start

        def out(name):
            folder = os.path.join(work, name)
            shutil.rmtree(folder, ignore_errors=True)
            return folder

        def command_line():
            subprocess.run([program, "convert", *paths, "--output-dir", out("cli"), "-j", "2", "-q"], check=True)

        def cluster_run():
            nonlocal pages
            results = vellumsheet.dask.convert_many(paths, out("dask"), client=client)
            assert all(r.ok for r in results), [r for r in results if not r.ok]
            pages = sum(r.result.pages_converted for r in results)

        def threads_run():
            vellumsheet.dask.convert_many(paths, out("threads"))

        runs = [("vellumsheet convert -j 2", command_line), ("convert_many, 2 workers", cluster_run)]
        times = {name: [] for name, _ in runs}
        cluster_run()  # the workers import the package once
        for _ in range(args.rounds):
            for name, run in runs:
                times[name].append(timed(run))
        client.close()
        cluster.close()
        if args.threads:
            times["convert_many, threads"] = [timed(threads_run) for _ in range(args.rounds)]
    print("%d files, %d pages; cluster started in %.2f s" % (len(paths), pages, started))
    base = statistics.median(times["vellumsheet convert -j 2"])
    for name, values in times.items():
        print("%-26s %s  ratio %.2f" % (name, summary(values), statistics.median(values) / base))


if __name__ == "__main__":
    main()
