#pragma once
// Typed reading of the records the metafile processor acts on, field by field
// as the format lays them out. Every reader checks sizes, counts and offsets
// against the record (EMetafileError when they do not fit); spans point into
// the metafile's bytes.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/emf/record_reader.h"

namespace vs {

struct TEmrHeader {
  TRectL bounds;  // device pixels, inclusive
  TRectL frame;   // .01 mm, inclusive
  uint32_t signature = 0, version = 0, bytes = 0, records = 0;
  uint16_t handles = 0;
  uint32_t palEntries = 0;
  TSizeL device;       // reference device, pixels
  TSizeL millimeters;  // reference device, millimetres
  TSizeL micrometers;  // zero when the record has no such extension
  std::u16string description;
};
TEmrHeader ReadHeader(const TEmfRecord& r);

// The one 32-bit field of SETMAPMODE, SETBKMODE, SETPOLYFILLMODE, SETROP2,
// SETSTRETCHBLTMODE, SETTEXTALIGN, SETTEXTCOLOR, SETBKCOLOR, RESTOREDC,
// SELECTOBJECT, DELETEOBJECT, SELECTPALETTE, SETMITERLIMIT, SETICMMODE and
// SELECTCLIPPATH (signed for RESTOREDC: read it as int32_t).
uint32_t ReadValue(const TEmfRecord& r);
// SETWINDOWEXTEX, SETWINDOWORGEX, SETVIEWPORTEXTEX, SETVIEWPORTORGEX, MOVETOEX, LINETO.
TPointL ReadPoint(const TEmfRecord& r);
// ELLIPSE, RECTANGLE, INTERSECTCLIPRECT, EXCLUDECLIPRECT; the bounds of FILLPATH,
// STROKEANDFILLPATH and STROKEPATH.
TRectL ReadRect(const TEmfRecord& r);

struct TEmrScaleExt {  // SCALEVIEWPORTEXTEX, SCALEWINDOWEXTEX
  int32_t xNum = 0, xDenom = 0, yNum = 0, yDenom = 0;
};
TEmrScaleExt ReadScaleExt(const TEmfRecord& r);

struct TEmrRoundRect {
  TRectL box;
  TSizeL corner;
};
TEmrRoundRect ReadRoundRect(const TEmfRecord& r);

struct TEmrArc {  // ARC, CHORD, PIE
  TRectL box;
  TPointL start, end;
};
TEmrArc ReadArc(const TEmfRecord& r);

TXForm ReadSetWorldTransform(const TEmfRecord& r);
struct TEmrModifyWorldTransform {
  TXForm xform;
  uint32_t mode = 0;
};
TEmrModifyWorldTransform ReadModifyWorldTransform(const TEmfRecord& r);

struct TEmrEof {
  uint32_t palEntries = 0, offPalEntries = 0, sizeLast = 0;
};
TEmrEof ReadEof(const TEmfRecord& r);

std::span<const uint8_t> ReadGdiComment(const TEmfRecord& r);

// A device-independent bitmap carried by a record: the information block
// (header and colour table) and the pixel bits, either possibly empty.
struct TBitmapInfoHeader {
  uint32_t size = 0;
  int32_t width = 0, height = 0;
  uint16_t planes = 0, bitCount = 0;
  uint32_t compression = 0, sizeImage = 0;
  int32_t xPelsPerMeter = 0, yPelsPerMeter = 0;
  uint32_t clrUsed = 0, clrImportant = 0;
};
struct TDib {
  std::span<const uint8_t> info, bits;
  TBitmapInfoHeader header;  // zero when info holds less than a full header
  bool Present() const { return !info.empty() && !bits.empty(); }
};

struct TEmrCreatePen {
  uint32_t ihPen = 0, style = 0;
  TPointL width;
  uint32_t color = 0;
};
TEmrCreatePen ReadCreatePen(const TEmfRecord& r);

struct TEmrExtCreatePen {
  uint32_t ihPen = 0, style = 0, width = 0, brushStyle = 0, color = 0, hatch = 0;
  std::vector<uint32_t> styleEntries;
  TDib dib;
};
TEmrExtCreatePen ReadExtCreatePen(const TEmfRecord& r);

struct TEmrCreateBrushIndirect {
  uint32_t ihBrush = 0, style = 0, color = 0, hatch = 0;
};
TEmrCreateBrushIndirect ReadCreateBrushIndirect(const TEmfRecord& r);

struct TEmrCreateDibBrush {  // CREATEMONOBRUSH, CREATEDIBPATTERNBRUSHPT
  uint32_t ihBrush = 0, usage = 0;
  TDib dib;
};
TEmrCreateDibBrush ReadCreateDibBrush(const TEmfRecord& r);

struct TEmrExtCreateFontIndirectW {
  uint32_t ihFont = 0;
  TLogFontW font;
};
TEmrExtCreateFontIndirectW ReadExtCreateFontIndirectW(const TEmfRecord& r);

struct TEmrCreatePalette {
  uint32_t ihPal = 0;
  uint16_t version = 0;
  std::vector<uint32_t> entries;
};
TEmrCreatePalette ReadCreatePalette(const TEmfRecord& r);

struct TEmrExtTextOut {  // EXTTEXTOUTA, EXTTEXTOUTW
  TRectL bounds;
  uint32_t graphicsMode = 0;
  float exScale = 0, eyScale = 0;
  TPointL reference;
  uint32_t chars = 0, options = 0;
  TRectL rect;
  std::u16string text;      // EXTTEXTOUTW
  std::string ansiText;     // EXTTEXTOUTA
  std::vector<int32_t> dx;  // per character (pairs with ETO_PDY); empty when absent
};
TEmrExtTextOut ReadExtTextOut(const TEmfRecord& r);

// BITBLT, STRETCHBLT, MASKBLT, SETDIBITSTODEVICE, STRETCHDIBITS: the fields
// a record type lacks stay zero.
struct TEmrBitmap {
  TRectL bounds;
  int32_t xDest = 0, yDest = 0, cxDest = 0, cyDest = 0;
  int32_t xSrc = 0, ySrc = 0, cxSrc = 0, cySrc = 0;
  uint32_t rop = 0;
  TXForm xformSrc;
  uint32_t bkColorSrc = 0, usageSrc = 0;
  uint32_t startScan = 0, scans = 0;  // SETDIBITSTODEVICE
  TDib dib;
  TDib mask;  // MASKBLT
  int32_t xMask = 0, yMask = 0;
};
TEmrBitmap ReadBitmapRecord(const TEmfRecord& r);

// POLYBEZIER, POLYGON, POLYLINE, POLYBEZIERTO, POLYLINETO and their 16-bit forms.
struct TEmrPoly {
  TRectL bounds;
  std::vector<TPointL> points;
};
TEmrPoly ReadPoly(const TEmfRecord& r);

// POLYPOLYLINE, POLYPOLYGON and their 16-bit forms.
struct TEmrPolyPoly {
  TRectL bounds;
  std::vector<uint32_t> counts;
  std::vector<TPointL> points;
};
TEmrPolyPoly ReadPolyPoly(const TEmfRecord& r);

// POLYDRAW, POLYDRAW16.
struct TEmrPolyDraw {
  TRectL bounds;
  std::vector<TPointL> points;
  std::vector<uint8_t> types;
};
TEmrPolyDraw ReadPolyDraw(const TEmfRecord& r);

struct TRegionData {
  TRectL bounds;
  std::vector<TRectL> rects;
};
struct TEmrFillRgn {
  TRectL bounds;
  uint32_t ihBrush = 0;
  TRegionData region;
};
TEmrFillRgn ReadFillRgn(const TEmfRecord& r);

struct TEmrExtSelectClipRgn {
  uint32_t mode = 0;
  bool hasRegion = false;  // no region data: the clip is reset
  TRegionData region;
};
TEmrExtSelectClipRgn ReadExtSelectClipRgn(const TEmfRecord& r);

}  // namespace vs
