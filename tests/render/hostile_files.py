#!/usr/bin/env python3
"""Runs the program on one of the files of tests/data/hostile
(make_fixtures.py), each of which once cost gigabytes or minutes: the run must
end with the exit status and the output its case expects. Outside a
sanitizer build the run is also held to an address-space limit far below
what the fault took, so that a fault coming back fails here rather than
exhausting the machine.

usage: hostile_files.py VELLUMSHEET DATA_DIR CASE [--no-memory-limit]
"""
import os
import re
import resource
import subprocess
import sys
import tempfile

# case: (arguments after the program, with {pdf} and {out}; exit status;
#        pattern the output must match, and how often when that matters;
#        address space in MB).
CASES = {
    # Drawn once, the other 15 refused before their bitmaps are made.
    "image_mask_colours": (["render", "{pdf}", "--trace"], 0, r"skipped Do: the page has drawn too many image pixels",
                           15, 1024),
    # The JPEG's own size is counted: four draws fill the page's pixels.
    "jpeg_larger_than_declared": (["render", "{pdf}"], 0, r"page 1: 64 operators, 12 skipped", None, 1024),
    # One of the three drawn, averaged down to the pixels its place on the sheet takes.
    "big_bitmaps": (["convert", "{pdf}", "{out}"], 0, r"page 1: 2 drawing operations were skipped", 1, 1024),
    "big_bitmaps_xlsx": (["convert", "{pdf}", "{out}x"], 0, r"page 1: 2 drawing operations were skipped", 1, 1024),
    "big_bitmaps_csv": (["convert", "{pdf}", "{out}.csv"], 0, r"page 1: 2 drawing operations were skipped", 1, 1024),
    # Half a point wide: a picture of a few pixels, converted without a word.
    "tiny_drawn_picture": (["convert", "{pdf}", "{out}"], 0, r"\A\Z", 1, 1024),
    # One widget drawn once; the 400 names and 4096 kids are counted.
    "widget_kids": (["render", "{pdf}", "--items"], 0, r"text=\"Repeated value\"", 1, 1024),
    # 640,000 strings join into one text of 640,000 characters.
    "glyph_runs": (["render", "{pdf}", "--items"], 0, r"TqxTextItem [^\n]*text=\"a{640000}\"", 1, 1024),
    # The cell texts take the first 524,288 characters; the rest are left out and counted.
    "long_string": (["convert", "{pdf}", "{out}x"], 0, r"page 1: 9475712 characters could not be written", 1, 1024),
    # The lines beyond any page are passed over and counted; the others keep their own cells.
    "far_text": (["convert", "{pdf}", "{out}x"], 0, r"page 1: 4 drawing operations were skipped", 1, 1024),
    # Each draw of the form reads its megabyte again, until the page has read its fill.
    "form_big_string": (["render", "{pdf}"], 0, r"ended at the operator budget", None, 1024),
    # One program decoded for 16 fonts, then programs only while the page may decode more.
    "shared_font_program": (["render", "{pdf}"], 0, r"page 1: 120 operators, 0 skipped", None, 1024),
    "cmap_ranges": (["render", "{pdf}"], 0, r"page 1: 304 operators, 0 skipped", None, 1024),
    # Eight draws a page fill its pixel budget, each picture averaged down to
    # the pixels its place on the sheet takes: far from 1 GB of pictures.
    "picture_amplification": (["convert", "{pdf}", "{out}", "--ocr", "never"], 0, r"page \d: 8 drawing operations were skipped", 4,
                              1024),
    "picture_amplification_xlsx": (["convert", "{pdf}", "{out}x", "--ocr", "never"], 0, r"page \d: 8 drawing operations were skipped",
                                   4, 1024),
    # Read as scans, the pages' pictures are painted only up to a few times
    # the page.
    "picture_amplification_ocr": (["convert", "{pdf}", "{out}"], 0, r"page 4: read from its scan: 0 words", None,
                                  1024),
    # One picture on 1,000 pages: stored once in the .xlsx, far within its
    # picture budget; the .csv says once that the pictures were left out.
    "shared_picture_xlsx": (["convert", "{pdf}", "{out}x", "--ocr", "never"], 0, r"\A\Z", 1, 1024),
    "shared_picture_csv": (["convert", "{pdf}", "{out}.csv", "--ocr", "never"], 0,
                           r"\A[^\n]*1000 pictures or drawings on 1000 pages were left out[^\n]*\n\Z", 1, 1024),
    # The lines before the damage are drawn and the page is reported.
    "damaged_flate": (["convert", "{pdf}", "{out}"], 3, r"[Pp]age 1[\s\S]*content is damaged", None, 1024),
    "zero_scale_text": (["render", "{pdf}", "--trace"], 0,
                        r"skipped T[jJ]: text at zero horizontal scale", 2, 1024),
    "huge_text_matrix": (["render", "{pdf}", "--items"], 0, r"text=\"Plain\"", None, 1024),
    # Each passed over without its operand, and counted like any operator.
    "bare_operators": (["render", "{pdf}"], 0, r"page 1: 4900000 operators, 4900000 skipped", None, 1024),
    "wrong_operands": (["render", "{pdf}"], 0, r"page 1: 2400000 operators, 2400000 skipped", None, 1024),
}


def main():
    program, data, case = sys.argv[1:4]
    limit = "--no-memory-limit" not in sys.argv[4:]
    arguments, status, pattern, times, megabytes = CASES[case]

    def hold():
        if limit:
            resource.setrlimit(resource.RLIMIT_AS, (megabytes << 20, megabytes << 20))

    with tempfile.TemporaryDirectory() as tmp:
        # A case of another format or mode converts the same file.
        fixture = case.removesuffix("_xlsx").removesuffix("_csv").removesuffix("_ocr")
        values = {"pdf": os.path.join(data, fixture + ".pdf"), "out": os.path.join(tmp, case + ".xls")}
        command = [program] + [a.format(**values) for a in arguments]
        run = subprocess.run(command, capture_output=True, text=True, errors="replace", preexec_fn=hold,
                             timeout=600)
    output = run.stdout + run.stderr
    if run.returncode != status:
        print(f"{case}: exit status {run.returncode}, expected {status}\n{output[-2000:]}")
        return 1
    found = len(re.findall(pattern, output))
    if found == 0 or times is not None and found != times:
        print(f"{case}: {pattern!r} found {found} times, expected {times or 'some'}:\n{output[-2000:]}")
        return 1
    print(f"{case}: exit status {status} as expected")
    return 0


if __name__ == "__main__":
    sys.exit(main())
