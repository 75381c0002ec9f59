#pragma once
// Basic types of enhanced-metafile records: record type numbers, the small
// structures records carry, and the error raised for records that do not fit.
#include <cstdint>
#include <string>

#include "platform/exception.h"

namespace vs {

// Raised when metafile bytes are not a well-formed record stream (a record
// whose size, counts or offsets reach past its end, a missing header, ...).
class EMetafileError : public Exception {
 public:
  using Exception::Exception;
};

enum EmfRecordType : uint32_t {
  EMR_HEADER = 1, EMR_POLYBEZIER = 2, EMR_POLYGON = 3, EMR_POLYLINE = 4,
  EMR_POLYBEZIERTO = 5, EMR_POLYLINETO = 6, EMR_POLYPOLYLINE = 7, EMR_POLYPOLYGON = 8,
  EMR_SETWINDOWEXTEX = 9, EMR_SETWINDOWORGEX = 10, EMR_SETVIEWPORTEXTEX = 11,
  EMR_SETVIEWPORTORGEX = 12, EMR_SETBRUSHORGEX = 13, EMR_EOF = 14, EMR_SETPIXELV = 15,
  EMR_SETMAPPERFLAGS = 16, EMR_SETMAPMODE = 17, EMR_SETBKMODE = 18, EMR_SETPOLYFILLMODE = 19,
  EMR_SETROP2 = 20, EMR_SETSTRETCHBLTMODE = 21, EMR_SETTEXTALIGN = 22,
  EMR_SETCOLORADJUSTMENT = 23, EMR_SETTEXTCOLOR = 24, EMR_SETBKCOLOR = 25,
  EMR_OFFSETCLIPRGN = 26, EMR_MOVETOEX = 27, EMR_SETMETARGN = 28, EMR_EXCLUDECLIPRECT = 29,
  EMR_INTERSECTCLIPRECT = 30, EMR_SCALEVIEWPORTEXTEX = 31, EMR_SCALEWINDOWEXTEX = 32,
  EMR_SAVEDC = 33, EMR_RESTOREDC = 34, EMR_SETWORLDTRANSFORM = 35,
  EMR_MODIFYWORLDTRANSFORM = 36, EMR_SELECTOBJECT = 37, EMR_CREATEPEN = 38,
  EMR_CREATEBRUSHINDIRECT = 39, EMR_DELETEOBJECT = 40, EMR_ANGLEARC = 41, EMR_ELLIPSE = 42,
  EMR_RECTANGLE = 43, EMR_ROUNDRECT = 44, EMR_ARC = 45, EMR_CHORD = 46, EMR_PIE = 47,
  EMR_SELECTPALETTE = 48, EMR_CREATEPALETTE = 49, EMR_SETPALETTEENTRIES = 50,
  EMR_RESIZEPALETTE = 51, EMR_REALIZEPALETTE = 52, EMR_EXTFLOODFILL = 53, EMR_LINETO = 54,
  EMR_ARCTO = 55, EMR_POLYDRAW = 56, EMR_SETARCDIRECTION = 57, EMR_SETMITERLIMIT = 58,
  EMR_BEGINPATH = 59, EMR_ENDPATH = 60, EMR_CLOSEFIGURE = 61, EMR_FILLPATH = 62,
  EMR_STROKEANDFILLPATH = 63, EMR_STROKEPATH = 64, EMR_FLATTENPATH = 65, EMR_WIDENPATH = 66,
  EMR_SELECTCLIPPATH = 67, EMR_ABORTPATH = 68, EMR_GDICOMMENT = 70, EMR_FILLRGN = 71,
  EMR_FRAMERGN = 72, EMR_INVERTRGN = 73, EMR_PAINTRGN = 74, EMR_EXTSELECTCLIPRGN = 75,
  EMR_BITBLT = 76, EMR_STRETCHBLT = 77, EMR_MASKBLT = 78, EMR_PLGBLT = 79,
  EMR_SETDIBITSTODEVICE = 80, EMR_STRETCHDIBITS = 81, EMR_EXTCREATEFONTINDIRECTW = 82,
  EMR_EXTTEXTOUTA = 83, EMR_EXTTEXTOUTW = 84, EMR_POLYBEZIER16 = 85, EMR_POLYGON16 = 86,
  EMR_POLYLINE16 = 87, EMR_POLYBEZIERTO16 = 88, EMR_POLYLINETO16 = 89,
  EMR_POLYPOLYLINE16 = 90, EMR_POLYPOLYGON16 = 91, EMR_POLYDRAW16 = 92,
  EMR_CREATEMONOBRUSH = 93, EMR_CREATEDIBPATTERNBRUSHPT = 94, EMR_EXTCREATEPEN = 95,
  EMR_POLYTEXTOUTA = 96, EMR_POLYTEXTOUTW = 97, EMR_SETICMMODE = 98,
};

// "EXTTEXTOUTW" for EMR_EXTTEXTOUTW; "UNKNOWN_<n>" for numbers without a name.
std::string EmfRecordName(uint32_t type);

struct TPointL {
  int32_t x = 0, y = 0;
  bool operator==(const TPointL&) const = default;
};
struct TSizeL {
  int32_t cx = 0, cy = 0;
  bool operator==(const TSizeL&) const = default;
};
// Inclusive-inclusive in bounds fields, as the format stores them.
struct TRectL {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const TRectL&) const = default;
};
struct TXForm {
  float eM11 = 1, eM12 = 0, eM21 = 0, eM22 = 1, eDx = 0, eDy = 0;
  bool operator==(const TXForm&) const = default;
};

// Colours in records are COLORREF values: 0x00BBGGRR.
struct TLogFontW {
  int32_t height = 0, width = 0, escapement = 0, orientation = 0, weight = 400;
  uint8_t italic = 0, underline = 0, strikeOut = 0, charSet = 1;
  uint8_t outPrecision = 0, clipPrecision = 0, quality = 0, pitchAndFamily = 0;
  std::u16string faceName;  // at most 31 characters are stored
};

// Constants the records use.
inline constexpr uint32_t kEmfSignature = 0x464D4520;  // " EMF"
inline constexpr uint32_t kStockObjectFlag = 0x80000000;
inline constexpr uint32_t WHITE_BRUSH = kStockObjectFlag | 0, NULL_BRUSH = kStockObjectFlag | 5,
                          BLACK_PEN = kStockObjectFlag | 7, NULL_PEN = kStockObjectFlag | 8,
                          DEVICE_DEFAULT_FONT = kStockObjectFlag | 14;
inline constexpr uint32_t TRANSPARENT = 1, OPAQUE = 2;
inline constexpr uint32_t ALTERNATE = 1, WINDING = 2;
inline constexpr uint32_t MM_TEXT = 1;
inline constexpr uint32_t TA_TOP = 0, TA_LEFT = 0, TA_NOUPDATECP = 0;
inline constexpr uint32_t RGN_AND = 1, RGN_COPY = 5;
inline constexpr uint32_t ETO_OPAQUE = 2, ETO_CLIPPED = 4, ETO_RTLREADING = 0x80, ETO_PDY = 0x2000;
inline constexpr uint32_t GM_COMPATIBLE = 1;
inline constexpr uint32_t BS_SOLID = 0, BS_NULL = 1;
inline constexpr uint32_t PS_SOLID = 0, PS_NULL = 5, PS_USERSTYLE = 7, PS_GEOMETRIC = 0x10000;
inline constexpr uint32_t PS_ENDCAP_ROUND = 0, PS_ENDCAP_SQUARE = 0x100, PS_ENDCAP_FLAT = 0x200;
inline constexpr uint32_t PS_JOIN_ROUND = 0, PS_JOIN_BEVEL = 0x1000, PS_JOIN_MITER = 0x2000;
inline constexpr uint32_t SRCCOPY = 0x00CC0020;
inline constexpr uint32_t DIB_RGB_COLORS = 0;
inline constexpr uint32_t MWT_IDENTITY = 1, MWT_LEFTMULTIPLY = 2, MWT_RIGHTMULTIPLY = 3;

}  // namespace vs
