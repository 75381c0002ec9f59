#!/usr/bin/env python3
"""Checks the command line's conventions for every command: a table of
invocations with their exit status and first line on standard error (one
form, "vellumsheet: FILE: cause" or "vellumsheet: cause", usage errors
followed by a hint to --help); standard input and output as "-", "--"
ending the options, -o, page words; convert --json read back by a JSON
reader; the arrow of progress lines only in a UTF-8 locale; the man page
rendered without warnings and naming every option of convert --help; the
bash completion loaded and completing; the man page and completions
installed.

usage: command_line.py VELLUMSHEET SOURCE_DIR BUILD_DIR CMAKE"""
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

LOCKED_PASSWORD = b"user"  # of tests/data/pdf/rc4_128.pdf
OLE = b"\xd0\xcf\x11\xe0"


def main():
    program, source, build, cmake = sys.argv[1:5]
    failures = []

    def expect(name, condition, detail=""):
        if not condition:
            failures.append("%s %s" % (name, detail))

    with tempfile.TemporaryDirectory() as work:
        tmp = os.path.join(work, "tmp")
        os.mkdir(tmp)

        def run(args, stdin=b"", env=None):
            environment = dict(os.environ, TMPDIR=tmp, LC_ALL="C")
            environment.update(env or {})
            return subprocess.run([os.fsencode(program)] + [os.fsencode(arg) for arg in args], cwd=work, env=environment, input=stdin, capture_output=True,
                                  start_new_session=True, timeout=300)

        def at(name):
            return os.path.join(work, name)

        sample = open(os.path.join(source, "examples", "inventory.pdf"), "rb").read()  # 3 pages
        for name in ("in.pdf", "b.pdf", "-dash.pdf"):
            open(at(name), "wb").write(sample)
        shutil.copy(os.path.join(source, "tests", "data", "cli", "lossy.pdf"), at("lossy.pdf"))  # 4, page 2 fails
        shutil.copy(os.path.join(source, "tests", "data", "pdf", "rc4_128.pdf"), at("locked.pdf"))
        emf = os.path.join(source, "tests", "data", "emf")
        shutil.copy(os.path.join(emf, "sample.emf"), at("sample.emf"))
        shutil.copy(os.path.join(emf, "truncated.emf"), at("truncated.emf"))
        os.mkdir(at("adir"))
        open(at("pw"), "wb").write(LOCKED_PASSWORD + b"\n")
        os.symlink("in.pdf", at("link.xls"))
        os.link(at("in.pdf"), at("hard.xls"))

        usage = 2
        hint = {"": "Try 'vellumsheet --help'."}
        # (args, exit status, first line of standard error (a regular
        # expression), the command whose --help a usage error points to)
        cases = [
            ([], usage, r"vellumsheet: no command and no PDF file given", ""),
            (["frobnicate"], usage, r"vellumsheet: unknown command 'frobnicate'", ""),
            (["help", "frobnicate"], usage, r"vellumsheet: unknown command 'frobnicate'", ""),
            (["-j", "2"], usage, r"vellumsheet: no input file", "convert"),
            (["convert", "in.pdf", "--pages", "x"], usage, r"vellumsheet: invalid page range \(x\)", "convert"),
            (["convert", "in.pdf", "--pages", "end-2"], usage, r"vellumsheet: invalid page range \(end-2\)",
             "convert"),
            (["convert", "in.pdf", "--pages", "3-1"], usage, r"vellumsheet: invalid page range \(3-1\)", "convert"),
            (["convert", "in.pdf", "o.xls", "--pages", "5"], usage,
             r"vellumsheet: in.pdf: invalid page range \(5\): the document has 3 pages", "convert"),
            (["convert", "in.pdf", "--output-dir", ""], usage, r"vellumsheet: --output-dir needs a folder's name",
             "convert"),
            (["convert", "locked.pdf", "--password-file", "adir"], usage,
             r"vellumsheet: adir: cannot read the password file: is a directory", "convert"),
            (["convert", "in.pdf", "link.xls"], usage, r"vellumsheet: the workbook link.xls would replace its PDF file$",
             "convert"),
            (["convert", "in.pdf", "hard.xls"], usage, r"vellumsheet: the workbook hard.xls would replace its PDF file$",
             "convert"),
            (["convert", "in.pdf", "-o", "x.xls", "y.xls"], usage, r"vellumsheet: give OUT.xls or -o, not both",
             "convert"),
            (["convert", "-", "in.pdf", "-"], usage, r"vellumsheet: standard input \(-\) can be read once", "convert"),
            (["convert", "-", "--password-file", "-"], usage,
             r"vellumsheet: the PDF and the password cannot both come from standard input", "convert"),
            (["render", "in.pdf", "--page", "9"], usage, r"vellumsheet: the document has 3 pages; there is no page 9$",
             "render"),
            (["layout", "in.pdf", "--page", "9"], usage, r"vellumsheet: the document has 3 pages; there is no page 9$",
             "layout"),
            (["render", "in.pdf", "--emf", "-", "--items"], usage, r"vellumsheet: --emf - writes the metafile",
             "render"),
            (["info", "--bogus", "in.pdf"], usage, r"vellumsheet: unknown option --bogus$", "info"),
            (["info", "in.pdf", "--password", "a", "--password-file", "pw"], usage,
             r"vellumsheet: give --password or --password-file, not both", "info"),
            (["font-info"], usage, r"vellumsheet: no font family given$", "font-info"),
            (["font-info", "Arial", "big"], usage, r"vellumsheet: 'big' is not a font size in points", "font-info"),
            (["emf-dump"], usage, r"vellumsheet: no input file$", "emf-dump"),
            (["emf-items", "a.emf", "b.emf"], usage, r"vellumsheet: only one input file may be given$", "emf-items"),
            (["emf-to-xls", "sample.emf"], usage, r"vellumsheet: give one metafile a page", "emf-to-xls"),
            (["convert", "missing.pdf", "o.xls"], 1, r"vellumsheet: missing.pdf: no such file or directory$", None),
            (["convert", "adir", "o.xls"], 1, r"vellumsheet: adir: is a directory$", None),
            (["convert", "-", "o.xls"], 1, r"vellumsheet: standard input: nothing to read$", None),
            (["info", "missing.pdf"], 1, r"vellumsheet: missing.pdf: no such file or directory$", None),
            (["emf-dump", "missing.emf"], 1, r"vellumsheet: missing.emf: no such file or directory$", None),
            (["emf-dump", "truncated.emf"], 1, r"vellumsheet: truncated.emf: malformed metafile record", None),
            (["emf-items", "adir"], 1, r"vellumsheet: adir: is a directory$", None),
            (["font-info", "No Such Family"], 1, None, None),
            (["convert", "locked.pdf", "o.xls", "--password", "wrong"], 1,
             r"vellumsheet: locked.pdf: the password is not correct", None),
            # A range beyond one file's pages fails that file; the others stand.
            (["convert", "in.pdf", "lossy.pdf", "--pages", "4", "--output-dir", "batch", "-q", "-j", "1"], 1,
             r"vellumsheet: in.pdf: invalid page range \(4\): the document has 3 pages$", None),
        ]
        for args, status, first, command in cases:
            name = " ".join(args) or "(no arguments)"
            result = run(args)
            lines = result.stderr.decode(errors="replace").splitlines()
            expect(name + ": exit", result.returncode == status, "%d: %s" % (result.returncode, lines))
            if first is not None:
                expect(name + ": message", lines and re.match(first, lines[0]), lines)
            if command is not None:
                wanted = "Try 'vellumsheet %s--help'." % (command + " " if command else "")
                expect(name + ": hint", lines[1:] == [wanted], lines)
            for line in lines:
                cause = re.match(r"vellumsheet: (?:[^:]+: )?(.)", line)
                expect(name + ": lower case", not cause or not re.match(r"[A-Z][a-z]", line[cause.start(1):]), line)
        expect("batch: the other file stands", os.path.exists(at("batch/lossy.xls")))
        expect("no workbook over the input", open(at("in.pdf"), "rb").read() == sample)

        # Each command's help, also as "help COMMAND", explains its options.
        for command, options in [("info", ["--json", "--password-file", "--any-version"]),
                                 ("render", ["--page", "--emf", "--items", "--trace", "--password-file"]),
                                 ("layout", ["--gaps", "--tables", "--page-grid", "--password-file"]),
                                 ("emf-items", ["--json"]), ("emf-to-xls", ["--pages-per-sheet", "--auto-format"]),
                                 ("emf-dump", []), ("font-info", [])]:
            for args in ([command, "--help"], ["help", command]):
                result = run(args)
                text = result.stdout.decode()
                expect(" ".join(args), result.returncode == 0 and text.startswith("Usage: vellumsheet " + command),
                       text)
                for option in options + ["-h, --help", "Exit status:"]:
                    expect(" ".join(args) + " explains " + option, re.search(r"\n  %s\b.*\S" % re.escape(option), text)
                           or option in text, text)

        # Standard input and output, "--", -o and options before the PDF.
        result = run(["-", "-o", "piped.xls", "-q"], stdin=sample)
        expect("PDF from standard input", result.returncode == 0 and open(at("piped.xls"), "rb").read(4) == OLE,
               result.stderr)
        result = run(["-", "-q"], stdin=sample)
        expect("standard input to standard output", result.returncode == 0 and result.stdout[:4] == OLE, result.stderr)
        result = run(["convert", "-q", "--", "-dash.pdf"])
        expect("-- ends the options", result.returncode == 0 and os.path.exists(at("-dash.xls")), result.stderr)
        result = run(["-j", "1", "-q", "in.pdf", "--output", "early.xls"])
        expect("options before the PDF", result.returncode == 0 and os.path.exists(at("early.xls")), result.stderr)
        result = run(["info", "-"], stdin=sample)
        expect("info of standard input", result.returncode == 0 and b"Pages: 3" in result.stdout, result.stderr)
        result = run(["info", "--password-file", "pw", "locked.pdf"])
        expect("info --password-file", result.returncode == 0 and b"Encrypted: yes" in result.stdout, result.stderr)
        result = run(["render", "in.pdf", "--emf", "-"])
        expect("render --emf -", result.returncode == 0 and result.stdout[40:44] == b" EMF" and
               not os.path.exists(at("-")), result.stderr)
        result = run(["emf-items", "-"], stdin=open(at("sample.emf"), "rb").read())
        expect("emf-items of standard input", result.returncode == 0 and b"TqxTextItem" in result.stdout,
               result.stderr)
        result = run(["emf-to-xls", "sample.emf", "-"])
        expect("emf-to-xls to standard output", result.returncode == 0 and result.stdout[:4] == OLE and
               not os.path.exists(at("-.xls")), result.stderr)
        result = run(["layout", "-"], stdin=open(at("sample.emf"), "rb").read())
        expect("layout of a metafile on standard input", result.returncode == 0 and b"text=" in result.stdout,
               result.stderr)

        # --json: one object a file, on standard output or, with the workbook
        # there, on standard error; page words select the pages.
        result = run(["convert", "in.pdf", "lossy.pdf", "missing.pdf", "--output-dir", "j", "--json", "-q",
                      "--pages", "2-end"])
        reports = {}
        for line in result.stdout.decode().splitlines():
            report = json.loads(line)
            reports[report["input"]] = report
        expect("json exit", result.returncode == 1, result.stderr)
        expect("json one a file", sorted(reports) == ["in.pdf", "lossy.pdf", "missing.pdf"], result.stdout)
        if sorted(reports) == ["in.pdf", "lossy.pdf", "missing.pdf"]:
            good, lossy, missing = reports["in.pdf"], reports["lossy.pdf"], reports["missing.pdf"]
            expect("json converted", good["status"] == 0 and good["written"] and good["output"] == "j/in.xls" and
                   good["format"] == "xls" and good["pages_selected"] == 2 and good["pages_converted"] == 2 and
                   good["failed_pages"] == [] and good["error"] is None, good)
            expect("json failed pages", lossy["status"] == 3 and [p["page"] for p in lossy["failed_pages"]] == [2] and
                   lossy["failed_pages"][0]["cause"].startswith("the page needs") and
                   {n["page"] for n in lossy["notes"]} == {3, 4}, lossy)
            expect("json failed file", missing["status"] == 1 and not missing["written"] and
                   missing["error"] == "no such file or directory", missing)
        # A file name that is not UTF-8 still gives JSON a reader takes.
        open(os.path.join(work.encode(), b"bad\xff.pdf"), "wb").write(sample)
        result = run([b"bad\xff.pdf", b"--json", b"-q"])
        lines = result.stdout.splitlines()
        expect("json of a name that is not UTF-8", result.returncode == 0 and len(lines) == 1 and
               json.loads(lines[0].decode())["input"] == "bad\ufffd.pdf", result.stdout + result.stderr)
        for pages, selected in [("z", 1), ("all", 3), ("END", 1), ("1,end", 2)]:
            result = run(["in.pdf", "-", "--json", "--pages", pages])
            lines = result.stderr.decode().splitlines()
            report = json.loads(lines[-1]) if lines else {}
            expect("json on standard error, pages " + pages, result.returncode == 0 and result.stdout[:4] == OLE and
                   report.get("pages_selected") == selected and report.get("output") == "-", lines)

        # The arrow of a batch's lines only where the locale's characters have it.
        for locale, arrow in [("C", "->"), ("C.UTF-8", "\u2192")]:
            result = run(["convert", "in.pdf", "b.pdf", "--output-dir", "arrows", "--progress"],
                         env={"LC_ALL": locale})
            lines = result.stderr.decode().splitlines()
            expect("arrow under " + locale, "[2/2] " in result.stderr.decode() and
                   any(line.endswith("in.pdf %s arrows/in.xls, 3 pages" % arrow) for line in lines), lines)

        # The man page renders without a warning and names every option of convert --help.
        manual = os.path.join(source, "cli", "vellumsheet.1")
        if shutil.which("man"):
            shown = subprocess.run(["man", "--warnings", "-l", manual], capture_output=True,
                                   env=dict(os.environ, MANWIDTH="80", MANPAGER="cat", PAGER="cat"))
            expect("man renders", shown.returncode == 0 and shown.stderr == b"" and b"EXIT STATUS" in shown.stdout,
                   shown.stderr)
        page = open(manual).read().replace("\\-", "-")
        helped = run(["convert", "--help"]).stdout.decode()
        for option in sorted(set(re.findall(r"^  (-[-a-z]+)", helped, re.M))):
            expect("man page names " + option, re.search(r"(^|[ B])%s\b" % re.escape(option), page, re.M), option)

        # The bash completion loads and completes commands, options and formats.
        script = os.path.join(source, "cli", "shell", "vellumsheet.bash")
        completion = subprocess.run(["bash", "--norc", "-c", """
            source "$1"; complete -p vellumsheet
            ask() { COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); COMPREPLY=(); _vellumsheet; echo "${COMPREPLY[*]}"; }
            ask vellumsheet emf-
            ask vellumsheet convert --form
            ask vellumsheet in.pdf --format x
            ask vellumsheet render --emf""", "bash", script], cwd=work, capture_output=True, text=True)
        expect("bash completion", completion.stdout.splitlines() ==
               ["complete -o filenames -F _vellumsheet vellumsheet", "emf-dump emf-items emf-to-xls", "--format",
                "xls xlsx", "--emf"], completion.stdout + completion.stderr)
        zsh = shutil.which("zsh")
        if zsh:
            checked = subprocess.run([zsh, "-n", os.path.join(source, "cli", "shell", "_vellumsheet")],
                                     capture_output=True, text=True)
            expect("zsh completion parses", checked.returncode == 0, checked.stderr)

        # Installed with the program.
        prefix = os.path.join(work, "prefix")
        installed = subprocess.run([cmake, "--install", build, "--prefix", prefix], capture_output=True, text=True)
        for path in ["share/man/man1/vellumsheet.1", "share/bash-completion/completions/vellumsheet",
                     "share/zsh/vendor-completions/_vellumsheet"]:
            expect("installs " + path, os.path.isfile(os.path.join(prefix, path)), installed.stdout + installed.stderr)

        expect("no temporary file left", os.listdir(tmp) == [], os.listdir(tmp))

    for failure in failures:
        print("FAIL", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
