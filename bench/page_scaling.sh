#!/usr/bin/env bash
# Cost per page and peak memory of long documents: 10- and 1000-page files
# made with qpdf from the pages of one corpus file, converted onto one
# worksheet and one page per worksheet.
#   bench/page_scaling.sh [SOURCE.pdf]   (default: ../shared/corpus/03_multipage_inventory.pdf)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
program="${VELLUMSHEET:-$root/build/cli/vellumsheet}"
source="${1:-$root/../shared/corpus/03_multipage_inventory.pdf}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

make_document() {  # pages -> file
  local pages=$1 out=$2 count
  count=$(qpdf --show-npages "$source")
  local args=() i
  for ((i = 0; i < (pages + count - 1) / count; i++)); do args+=("$source"); done
  qpdf --empty --pages "${args[@]}" -- "$work/joined.pdf"
  qpdf "$work/joined.pdf" --pages . "1-$pages" -- "$out"
}

printf '%-8s %-18s %10s %12s %12s %12s\n' pages sheets seconds ms_per_page peak_MB workbook_MB
for pages in 10 1000; do
  make_document "$pages" "$work/doc$pages.pdf"
  for per_sheet in 0 1; do
    /usr/bin/time -f '%e %M' -o "$work/time" "$program" convert -q "$work/doc$pages.pdf" "$work/out.xls" \
      --pages-per-sheet "$per_sheet" || true
    read -r seconds kb <"$work/time"
    size=$(stat -c %s "$work/out.xls" 2>/dev/null || echo 0)
    python3 -c "import sys; p,s,kb,size=int(sys.argv[1]),float(sys.argv[2]),int(sys.argv[3]),int(sys.argv[4]);
print('%-8d %-18s %10.2f %12.2f %12.1f %12.2f' % (p, sys.argv[5], s, 1000*s/p, kb/1024, size/1048576))" \
      "$pages" "$seconds" "$kb" "$size" "$([ "$per_sheet" = 0 ] && echo 'all on one' || echo 'one per page')"
    rm -f "$work/out.xls"
  done
done
