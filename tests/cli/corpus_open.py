#!/usr/bin/env python3
"""Opens every file the shared corpus manifests list with `vellumsheet info
--json` and checks the outcome each manifest expects: the page count of a
file that opens, the refusal of an encryption we do not read, and a clean
end (exit status 0 or 1, never a crash) for a damaged file. The command line
opens every header version, so a file the manifests expect refused for its
version (as the wizard refuses it) opens, unless its encryption is refused.
Encrypted files are opened with each password the manifest knows.

usage: corpus_open.py VELLUMSHEET SHARED_DIR"""
import json
import os
import subprocess
import sys


def run(program, path, password, extra=()):
    command = [program, "info", "--json", path, *extra] + (["--password", password] if password is not None else [])
    # No terminal: a missing password must fail instead of prompting.
    result = subprocess.run(command, capture_output=True, text=True, stdin=subprocess.DEVNULL,
                            start_new_session=True, timeout=120)
    pages = json.loads(result.stdout)["page_count"] if result.returncode == 0 else None
    return result.returncode, pages, result.stderr.strip()


def cases(shared):
    own = json.load(open(os.path.join(shared, "corpus", "manifest.json")))
    for doc in own["documents"]:
        passwords = [doc["user_password"], doc["owner_password"]] if doc["encrypted"] else [None]
        expected = "open" if doc["expected"] == "convert" else doc["expected"]
        yield os.path.join(shared, "corpus", doc["file"]), expected, doc["pages"], passwords
    peer = json.load(open(os.path.join(shared, "corpus-peer", "manifest.json")))
    for entry in peer["entries"]:
        enc = entry["encryption"]
        passwords = [None]
        if enc["scheme"] != "none":
            passwords = [p for p in (enc.get("user_password"), enc.get("owner_password")) if p is not None] or [None]
        expected = entry["expected"]
        # The manifest was written for a reader without AES; AES files open now.
        if expected == "refuse-encryption" and enc["scheme"] in ("AES-128", "AES-256"):
            expected = "open"
        yield os.path.join(shared, "corpus-peer", entry["file"]), expected, entry["pages"], passwords


def check(program, path, expected, pages, password):
    status, got, message = run(program, path, password)
    if status not in (0, 1):
        return "exit status %d: %s" % (status, message)
    if expected == "open":
        return None if status == 0 and got == pages else "expected %s pages, got %s (%s)" % (pages, got, message)
    if expected == "refuse-version":
        ok = (status == 0 and got == pages) or (status == 1 and "Unsupported encryption" in message)
        return None if ok else "did not open (%d pages expected): %s" % (pages, message)
    if expected == "refuse-encryption":
        return None if status == 1 and "Unsupported encryption" in message else "encryption not refused: %s" % message
    if status == 1 and not message.startswith("vellumsheet: %s: " % path):
        return "failure without the file's name: %s" % message
    return None  # damaged: failing cleanly or recovering are both right


def main():
    program, shared = sys.argv[1], sys.argv[2]
    if not os.path.exists(os.path.join(shared, "corpus-peer", "manifest.json")):
        print("shared corpus not present at", shared, "(it must sit beside the repository)")
        return 1
    failures, count = [], 0
    for path, expected, pages, passwords in cases(shared):
        for password in passwords:
            count += 1
            problem = check(program, path, expected, pages, password)
            if problem:
                failures.append("%s [%s] %s: %s" % (os.path.relpath(path, shared), password, expected, problem))
    # An encrypted file with a user password and neither --password nor a terminal fails.
    status, _, message = run(program, os.path.join(shared, "corpus-peer", "qpdf", "c-r3.pdf"), None)
    if status != 1 or "no password was given; give it with --password" not in message:
        failures.append("c-r3.pdf without a password did not fail: %d %s" % (status, message))
    # AES-256 with a 1.7 header: refused at the header, opened with --any-version.
    xi = os.path.join(shared, "corpus-peer", "qpdf", "enc-XI-R6,V5,O=master.pdf")
    for password in ("", "master"):
        status, pages, message = run(program, xi, password, ["--any-version"])
        if status != 0 or pages != 30:
            failures.append("enc-XI-R6 [%s] with --any-version: %d %s %s" % (password, status, pages, message))
    print("%d openings checked" % count)
    for failure in failures:
        print("FAIL " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
