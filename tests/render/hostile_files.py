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
    # Drawn three times, the other 13 refused before their bitmaps are made.
    "image_mask_colours": (["render", "{pdf}", "--trace"], 0, r"skipped Do: the page has drawn too many image pixels",
                           13, 3072),
    # The JPEG's own size is counted: eight draws fill the page's pixels.
    "jpeg_larger_than_declared": (["render", "{pdf}"], 0, r"page 1: 64 operators, 8 skipped", None, 3072),
    # One widget drawn once; the 400 names and 4096 kids are counted.
    "widget_kids": (["render", "{pdf}", "--items"], 0, r"text=\"Repeated value\"", 1, 1024),
    # 640,000 strings join into one text of 640,000 characters.
    "glyph_runs": (["render", "{pdf}", "--items"], 0, r"TqxTextItem [^\n]*text=\"a{640000}\"", 1, 1024),
    # Each draw of the form reads its megabyte again, until the page has read its fill.
    "form_big_string": (["render", "{pdf}"], 0, r"ended at the operator budget", None, 1024),
    # One program decoded for 16 fonts, then programs only while the page may decode more.
    "shared_font_program": (["render", "{pdf}"], 0, r"page 1: 120 operators, 0 skipped", None, 1024),
    "cmap_ranges": (["render", "{pdf}"], 0, r"page 1: 304 operators, 0 skipped", None, 1024),
    # The workbook fails as soon as its pictures pass 1 GB (pictures kept: not read as scans).
    "picture_amplification": (["convert", "{pdf}", "{out}", "--ocr", "never"], 1,
                              r"pictures of the document add up to more than 1024 MB", None, 4096),
    # The same limit for the pictures of an .xlsx.
    "picture_amplification_xlsx": (["convert", "{pdf}", "{out}x", "--ocr", "never"], 1,
                                   r"pictures of the document add up to more than 1024 MB", None, 4096),
    # Read as scans, the pages' pictures are painted only up to a few times
    # the page and left out of the workbook.
    "picture_amplification_ocr": (["convert", "{pdf}", "{out}"], 0, r"page 4: read from its scan: 0 words", None,
                                  3072),
    # The lines before the damage are drawn and the page is reported.
    "damaged_flate": (["convert", "{pdf}", "{out}"], 3, r"[Pp]age 1[\s\S]*content is damaged", None, 1024),
    "zero_scale_text": (["render", "{pdf}", "--trace"], 0,
                        r"skipped T[jJ]: text at zero horizontal scale", 2, 1024),
    "huge_text_matrix": (["render", "{pdf}", "--items"], 0, r"text=\"Plain\"", None, 1024),
    # Each passed over without its operand, and counted like any operator.
    "bare_operators": (["render", "{pdf}"], 0, r"page 1: 4900000 operators, 4900000 skipped", None, 1024),
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
        fixture = case.removesuffix("_xlsx").removesuffix("_ocr")
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
