#!/usr/bin/python3
"""Time per OCR page: `vellumsheet convert --ocr always` against the
`tesseract` command on the same page images.

    bench/ocr_vs_tesseract.py SCANNED.pdf... [--runs 3]

Each scanned PDF (tests/data/scans/make_scans.py makes them) is converted
with --ocr always and with --ocr never; the difference is the time OCR
adds. The same pages drawn at 300 dpi in grey (pdftoppm) go through
`tesseract IMAGE out --psm 11 --dpi 300 tsv`. Both run on one thread
(OMP_THREAD_LIMIT=1). Prints, per file, seconds per page for each and our
overhead over the engine in per cent (the goal: 10 % at most).
"""
import argparse
import os
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def best_of(runs, command, env):
    best = None
    for _ in range(runs):
        start = time.perf_counter()
        subprocess.run(command, check=True, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        elapsed = time.perf_counter() - start
        best = elapsed if best is None else min(best, elapsed)
    return best


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("pdfs", nargs="+")
    ap.add_argument("--runs", type=int, default=3)
    args = ap.parse_args()
    program = os.environ.get("VELLUMSHEET", os.path.join(ROOT, "build/cli/vellumsheet"))
    env = dict(os.environ, OMP_THREAD_LIMIT="1")
    print(f"{'file':40} {'pages':>5} {'ours_s/page':>12} {'tesseract_s/page':>17} {'overhead_%':>10}")
    for pdf in args.pdfs:
        with tempfile.TemporaryDirectory() as tmp:
            subprocess.run(["pdftoppm", "-r", "300", "-gray", "-png", pdf, os.path.join(tmp, "p")], check=True)
            pages = sorted(os.path.join(tmp, f) for f in os.listdir(tmp) if f.endswith(".png"))
            out = os.path.join(tmp, "out.csv")
            with_ocr = best_of(args.runs, [program, "convert", "-q", pdf, out, "--ocr", "always"], env)
            without = best_of(args.runs, [program, "convert", "-q", pdf, out, "--ocr", "never"], env)
            engine = sum(best_of(args.runs, ["tesseract", page, os.path.join(tmp, "t"), "--psm", "11", "--dpi", "300",
                                             "tsv"], env) for page in pages)
        ours = (with_ocr - without) / len(pages)
        theirs = engine / len(pages)
        print(f"{os.path.basename(pdf):40} {len(pages):5} {ours:12.3f} {theirs:17.3f} {100 * (ours / theirs - 1):10.1f}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
