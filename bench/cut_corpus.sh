#!/usr/bin/env bash
# Every corpus file cut at ten points (10 % to 100 % of its bytes) is
# converted; each run must end with exit status 0, 1 or 3 (no crash, no
# sanitizer report, no hang), and leave no temporary file behind.
# Point VELLUMSHEET at a sanitizer build to check memory safety.
#   bench/cut_corpus.sh [SHARED_DIR]
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
program="${VELLUMSHEET:-$root/build/cli/vellumsheet}"
shared="${1:-$root/../shared}"
# A sanitizer report must not pass for a clean failure (exit 1).
export ASAN_OPTIONS="${ASAN_OPTIONS:-exitcode=86}" UBSAN_OPTIONS="${UBSAN_OPTIONS:-halt_on_error=1:exitcode=87}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir "$work/tmp"
bad=0 runs=0
for f in "$shared"/corpus/*.pdf "$shared"/corpus-peer/*/*.pdf; do
  size=$(stat -c %s "$f")
  for tenth in 1 2 3 4 5 6 7 8 9 10; do
    head -c $((size * tenth / 10)) "$f" >"$work/cut.pdf"
    TMPDIR="$work/tmp" timeout 120 "$program" convert -q "$work/cut.pdf" "$work/out.xls" --any-version \
      </dev/null >/dev/null 2>"$work/err"
    status=$?
    runs=$((runs + 1))
    if [ $status -ne 0 ] && [ $status -ne 1 ] && [ $status -ne 3 ]; then
      echo "$(basename "$f") cut at $tenth/10: exit $status: $(head -c 300 "$work/err")"
      bad=$((bad + 1))
    fi
    if [ -n "$(ls -A "$work/tmp")" ]; then
      echo "$(basename "$f") cut at $tenth/10: temporary files left"
      rm -rf "$work/tmp"/*
      bad=$((bad + 1))
    fi
  done
done
echo "$runs conversions of cut files, $bad problems"
[ $bad -eq 0 ]
