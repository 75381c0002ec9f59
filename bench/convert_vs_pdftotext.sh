#!/usr/bin/env bash
# Times `vellumsheet convert` against `pdftotext -layout` on the same files,
# one process per file, start-up included, side by side in one hyperfine run.
#   bench/convert_vs_pdftotext.sh [PDF...]     (default: the convertible files of ../shared/corpus)
# Prints hyperfine's table and, per file, convert's time as a multiple of pdftotext's.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
program="${VELLUMSHEET:-$root/build/cli/vellumsheet}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

if [ $# -eq 0 ]; then
  mapfile -t files < <(python3 - "$root/../shared/corpus" <<'PY'
import json, os, sys
corpus = sys.argv[1]
for d in json.load(open(os.path.join(corpus, "manifest.json")))["documents"]:
    if d["expected"] == "convert" and not d["encrypted"]:
        print(os.path.join(corpus, d["file"]))
PY
)
else
  files=("$@")
fi

printf '%-45s %12s %12s %8s\n' file convert_ms pdftotext_ms ratio
for f in "${files[@]}"; do
  name="$(basename "$f" .pdf)"
  hyperfine --style none --warmup 2 --min-runs 10 --export-json "$work/$name.json" \
    -n convert "$program convert -q '$f' '$work/$name.xls'" \
    -n pdftotext "pdftotext -layout '$f' '$work/$name.txt'" >/dev/null
  python3 - "$work/$name.json" "$name" <<'PY'
import json, sys
runs = {r["command"]: r["mean"] * 1000 for r in json.load(open(sys.argv[1]))["results"]}
print("%-45s %12.1f %12.1f %8.2f" % (sys.argv[2], runs["convert"], runs["pdftotext"], runs["convert"] / runs["pdftotext"]))
PY
done
