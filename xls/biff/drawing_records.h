#pragma once
// Data of the worksheet's drawing records: OBJ records for pictures, lines,
// rectangles, ovals, polygons and text boxes, the polygon's COORDLIST, and
// the header of a picture's IMDATA.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "xls/biff/biff_record.h"
#include "xls/layout/picture_anchor.h"

namespace vs {

inline constexpr uint16_t kObjRecord = 0x005D;
inline constexpr uint16_t kImageDataRecord = 0x007F;
inline constexpr uint16_t kCoordListRecord = 0x00A9;
inline constexpr uint16_t kDefaultRowHeightRecord = 0x0225;

// Picture data bytes in IMDATA and in each CONTINUE record.
inline constexpr size_t kImageDataChunk = 2068;

enum TObjType : uint16_t { otLine = 1, otRectangle = 2, otOval = 3, otTextBox = 6, otPicture = 8, otPolygon = 9 };
enum TImageDataFormat : uint16_t { idfMetafile = 2, idfBitmap = 9 };

// Line style of an outline that is not drawn.
inline constexpr uint8_t kNoLine = 255;

// Anchor of a drawing object on the sheet: rows are sheet rows.
struct TObjAnchor {
  uint16_t LeftColumn = 0, LeftOffset = 0, TopRow = 0, TopOffset = 0;
  uint16_t RightColumn = 0, RightOffset = 0, BottomRow = 0, BottomOffset = 0;
};
// A page anchor moved down by the page's row offset, rows kept on the sheet.
TObjAnchor SheetAnchor(const TCellAnchor& anchor, int rowOffset);

struct TObjLine {
  uint8_t Color = 0, Style = 0, Width = 0;  // colour index, line style, weight
};
struct TObjFill {
  uint8_t BackColor = 0, ForeColor = 0, Pattern = 0;  // colour indexes, fill pattern
};

// The 34 bytes every OBJ starts with. Pictures, rectangles, ovals and
// polygons end with an empty macro formula (its 16-bit length, 0), which
// readers look for after the object's own fields.
std::vector<uint8_t> ObjCommon(uint32_t id, TObjType type, const TObjAnchor& anchor);
std::vector<uint8_t> PictureObj(uint32_t id, const TObjAnchor& anchor, TImageDataFormat format, bool background);
std::vector<uint8_t> LineObj(uint32_t id, const TObjAnchor& anchor, const TObjLine& line);
// A rectangle or oval; roundness is the rounded rectangle's corner field.
// The back colour is written even without a fill.
std::vector<uint8_t> ShapeObj(uint32_t id, TObjType type, const TObjAnchor& anchor, uint8_t backColor,
                              const std::optional<TObjFill>& fill, const TObjLine& outline, uint16_t roundness = 0);
std::vector<uint8_t> PolygonObj(uint32_t id, const TObjAnchor& anchor, uint8_t backColor,
                                const std::optional<TObjFill>& fill, const TObjLine& outline, bool filled,
                                uint16_t pointCount);
std::vector<uint8_t> TextBoxObj(uint32_t id, const TObjAnchor& anchor, uint8_t backColor,
                                const std::optional<TObjFill>& fill, const TObjLine& outline, uint8_t alignment,
                                const std::string& text, uint16_t fontIndex);

// Polygon points in page pixels, in the form COORDLIST stores them: each point
// relative to the points' bounding box in 1/16384 of its width and height.
// A closed polygon repeats its first point at the end. Polygons with more
// points than one record holds are thinned out evenly, keeping both ends.
struct TPixelPoint {
  double X = 0, Y = 0;
};
std::vector<uint8_t> CoordList(const std::vector<TPixelPoint>& points, bool closed);

// The 8 bytes IMDATA starts with: format, environment 1, size of the data
// that follows (in this record and its CONTINUE records).
std::vector<uint8_t> ImageDataHeader(TImageDataFormat format, uint32_t size);

}  // namespace vs
