#!/usr/bin/env python3
"""Replays the metafiles other programs exported through `vellumsheet
emf-items --json` and checks that every string their manifest lists comes out
as text (possibly split into runs, in order), every picture as an image item,
and that no record was passed over."""
import json
import os
import subprocess
import sys


def main():
    program, corpus = sys.argv[1], sys.argv[2]
    manifest_path = os.path.join(corpus, "manifest.json")
    if not os.path.exists(manifest_path):
        print("no corpus at", corpus, "(the shared corpus must sit beside the repository)")
        return 1
    with open(manifest_path, encoding="utf-8") as f:
        manifest = json.load(f)
    failures = []
    for entry in manifest["files"]:
        name = entry["file"]
        run = subprocess.run([program, "emf-items", os.path.join(corpus, name), "--json"],
                             capture_output=True, text=True, encoding="utf-8", timeout=120)
        if run.returncode != 0 or run.stderr:
            failures.append(f"{name}: exit {run.returncode}, {run.stderr.strip()}")
            continue
        items = json.loads(run.stdout)
        joined = "".join(i["text"] for i in items if i["class"] == "TqxTextItem")
        at = 0
        for s in entry["strings"]:
            found = joined.find(s, at)
            if found < 0:
                failures.append(f"{name}: {s!r} missing after offset {at}")
                break
            at = found + len(s)
        images = sum(1 for i in items if i["class"] == "TqxImageItem")
        if images != entry["bitmap_records"]:
            failures.append(f"{name}: {images} image items for {entry['bitmap_records']} pictures")
        print(f"{name}: {len(entry['strings'])} strings, {images} images")
    for f in failures:
        print("FAIL", f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
