#!/usr/bin/env python3
"""Opens the AES fixtures (tests/data/pdf/aes_*.pdf, made by qpdf from
tree_xmp.pdf) with their user and owner passwords: `info --json` reports
the method and revision and the same pages as the unencrypted file, and
`convert` writes the same cell texts. A wrong password and a damaged
/Perms fail with the reader's messages; a changed /P and damaged strings
are noted and the rest converts.

usage: encrypted_fixtures.py VELLUMSHEET DATA_DIR"""
import json
import os
import subprocess
import sys
import tempfile

USER_ACCENT, OWNER_ACCENT = "Grüße", "Propriétaire"
CASES = [
    ("aes_128.pdf", "user", "owner", "AES-128", 4),
    ("aes_128_clear_meta.pdf", "user", "owner", "AES-128", 4),
    ("aes_128_accent.pdf", USER_ACCENT, OWNER_ACCENT, "AES-128", 4),
    ("aes_256.pdf", "user", "owner", "AES-256", 6),
    ("aes_256_clear_meta.pdf", "user", "owner", "AES-256", 6),
    ("aes_256_accent.pdf", USER_ACCENT, OWNER_ACCENT, "AES-256", 6),
    ("aes_256_r5.pdf", "user", "owner", "AES-256", 5),
    ("rc4_128.pdf", "user", "owner", "RC4 128-bit", 3),
]


def run(program, args):
    # A new session has no controlling terminal: nothing may prompt.
    return subprocess.run([program] + args, capture_output=True, text=True, stdin=subprocess.DEVNULL,
                          start_new_session=True, timeout=120)


def cells(path):
    script = ("import xlrd,sys,json; b=xlrd.open_workbook(sys.argv[1]);"
              " print(json.dumps([[s.cell_value(r, c) for c in range(s.ncols)] for s in b.sheets()"
              " for r in range(s.nrows)]))")
    read = subprocess.run(["/usr/bin/python3", "-c", script, path], capture_output=True, text=True)
    return json.loads(read.stdout) if read.returncode == 0 else read.stderr


def main():
    program, data = sys.argv[1], sys.argv[2]
    failures = []
    with tempfile.TemporaryDirectory() as work:
        def convert(name, password):
            out = os.path.join(work, "out.xls")
            args = ["convert", os.path.join(data, name), out, "--any-version", "-q"]
            result = run(program, args + (["--password", password] if password else []))
            return cells(out) if result.returncode == 0 else "exit %d: %s" % (result.returncode, result.stderr)

        plain = json.loads(run(program, ["info", "--json", os.path.join(data, "tree_xmp.pdf")]).stdout)
        plain_cells = convert("tree_xmp.pdf", None)
        if not plain_cells or isinstance(plain_cells, str) or "Page one" not in json.dumps(plain_cells):
            failures.append("tree_xmp.pdf converts without its text: %s" % plain_cells)
        for name, user, owner, method, revision in CASES:
            source = "tree.pdf" if name.startswith("rc4") else "tree_xmp.pdf"
            expected = json.loads(run(program, ["info", "--json", os.path.join(data, source)]).stdout)
            expected_cells = plain_cells if source == "tree_xmp.pdf" else convert(source, None)
            for password in (user, owner):
                where = "%s [%s]" % (name, password)
                info = run(program, ["info", "--json", "--any-version", os.path.join(data, name), "--password", password])
                if info.returncode != 0:
                    failures.append("%s info: %s" % (where, info.stderr))
                    continue
                got = json.loads(info.stdout)
                if got["encryption"]["method"] != method or got["encryption"]["revision"] != revision:
                    failures.append("%s reports %s" % (where, got["encryption"]))
                if (got["page_count"], got["pages"]) != (expected["page_count"], expected["pages"]):
                    failures.append("%s pages differ: %s" % (where, got["pages"]))
                converted = convert(name, password)
                if converted != expected_cells:
                    failures.append("%s converts to %s" % (where, converted))
            wrong = run(program, ["info", "--any-version", os.path.join(data, name), "--password", "Grusse"])
            if wrong.returncode != 1 or ": the password is not correct" not in wrong.stderr:
                failures.append("%s wrong password: %d %s" % (name, wrong.returncode, wrong.stderr))

        # /Perms that no longer matches /P: damage, not a wrong password.
        damaged = os.path.join(work, "damaged.pdf")
        with open(os.path.join(data, "aes_256_clear_meta.pdf"), "rb") as f:
            pdf = f.read()
        at = pdf.index(b"/Perms <") + 8
        pdf = pdf[:at] + (b"1" if pdf[at:at + 1] == b"0" else b"0") + pdf[at + 1:]
        with open(damaged, "wb") as f:
            f.write(pdf)
        result = run(program, ["info", "--any-version", damaged, "--password", "user"])
        if result.returncode != 1 or "/Perms does not match" not in result.stderr:
            failures.append("damaged /Perms: %d %s" % (result.returncode, result.stderr))

        # Faults that cost one thing, not the file: a changed /P (its /Perms
        # still confirms the key), and encrypted strings that are not whole
        # AES blocks or end in bad padding. Each is noted; the cells are whole.
        whole = convert("aes_256_clear_meta.pdf", "user")

        def changed_p(pdf):
            return pdf.replace(b"/P -4 ", b"/P -8 ")

        def damaged_strings(pdf):
            end = pdf.index(b">", pdf.index(b"/Author <"))
            pdf = pdf[:end - 2] + b"  " + pdf[end:]  # a byte short of whole blocks
            end = pdf.index(b">", pdf.index(b"/Title <"))
            return pdf[:end - 1] + (b"1" if pdf[end - 1:end] == b"0" else b"0") + pdf[end:]  # last block: bad padding

        for name, edit, note in (("changed_p.pdf", changed_p, ": the encryption dictionary's /Perms does not match its /P"),
                                 ("damaged_strings.pdf", damaged_strings, ": 2 encrypted strings were damaged and left out")):
            with open(os.path.join(data, "aes_256_clear_meta.pdf"), "rb") as f:
                pdf = edit(f.read())
            with open(os.path.join(work, name), "wb") as f:
                f.write(pdf)
            out = os.path.join(work, name + ".xls")
            result = run(program, ["convert", os.path.join(work, name), out, "--any-version", "--password", "user"])
            if result.returncode != 0 or note not in result.stderr or cells(out) != whole:
                failures.append("%s: %d %s" % (name, result.returncode, result.stderr))
            # The machine-readable report carries the same note, as the document's.
            result = run(program, ["convert", os.path.join(work, name), out, "--any-version", "--password", "user",
                                   "--json", "-q"])
            try:
                notes = json.loads(result.stdout.splitlines()[0])["notes"]
            except (ValueError, IndexError, KeyError):
                notes = None
            if not notes or not any(n["page"] is None and note[2:] in n["note"] for n in notes):
                failures.append("%s --json: notes %r" % (name, notes))

    for failure in failures:
        print("FAIL", failure)
    print("%d fixtures checked" % len(CASES))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
