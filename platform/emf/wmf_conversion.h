#pragma once
// Enhanced metafile to Windows metafile, for the records our recorder writes:
// state, pens, brushes and fonts, text, paths (filled, stroked, clipping),
// polygons and polylines, and stretched bitmaps. The world transform is
// applied to every coordinate, curves are flattened, text becomes 8-bit text
// in the system code page and bitmaps STRETCHDIB records. Clipping is kept as
// the bounding rectangle of the clip path. Records without a counterpart are
// left out.
#include <cstdint>
#include <vector>

#include "platform/emf/metafile.h"

namespace vs {

struct TWindowsMetafile {
  std::vector<uint8_t> bytes;  // header and records, no placeable header
  // Window extent in logical units; the picture's pixels, scaled down
  // together with every coordinate when a side exceeds 16 bits.
  int16_t width = 0, height = 0;
};

// Raises EMetafileError for a damaged record stream.
TWindowsMetafile ToWindowsMetafile(const TMetafile& metafile);

}  // namespace vs
