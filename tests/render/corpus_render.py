#!/usr/bin/env python3
"""Renders every page of every file of the shared corpora (corpus and
corpus-diverse) with `vellumsheet render` and checks that each one ends
cleanly and in time: exit status 0 for a file that opens, 0 or 1 for a
damaged one, never a crash or a hang. Encrypted files are opened with the
password the manifest gives.

usage: corpus_render.py VELLUMSHEET SHARED_DIR"""
import json
import os
import subprocess
import sys

TIMEOUT = 120  # seconds for one page; the operator budget ends hostile pages long before


def documents(shared):
    for corpus in ("corpus", "corpus-diverse"):
        manifest = json.load(open(os.path.join(shared, corpus, "manifest.json")))
        for doc in manifest["documents"]:
            password = doc.get("user_password") or doc.get("owner_password")
            yield os.path.join(shared, corpus, doc["file"]), password, doc.get("expected", "convert")


def run(program, args):
    return subprocess.run([program] + args, capture_output=True, text=True, stdin=subprocess.DEVNULL,
                          start_new_session=True, timeout=TIMEOUT)


def main():
    program, shared = sys.argv[1], sys.argv[2]
    failures, pages = [], 0
    for path, password, expected in documents(shared):
        secret = ["--password", password] if password else []
        info = run(program, ["info", "--json", path] + secret)
        if info.returncode != 0:
            if expected == "convert":
                failures.append("%s: does not open: %s" % (path, info.stderr.strip()))
            continue
        for page in range(1, json.loads(info.stdout)["page_count"] + 1):
            pages += 1
            try:
                result = run(program, ["render", path, "--page", str(page), "--items"] + secret)
            except subprocess.TimeoutExpired:
                failures.append("%s page %d: no end within %d s" % (path, page, TIMEOUT))
                continue
            if result.returncode != 0:
                failures.append("%s page %d: exit status %d: %s" % (path, page, result.returncode,
                                                                    result.stderr.strip()[-300:]))
    for failure in failures:
        print(failure)
    print("%d pages rendered, %d failures" % (pages, len(failures)))
    return 1 if failures or pages == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
