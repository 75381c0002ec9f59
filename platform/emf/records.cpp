#include "platform/emf/records.h"

namespace vs {
namespace {

void RequireType(const TEmfRecord& r, std::initializer_list<uint32_t> types) {
  for (uint32_t t : types)
    if (r.Type() == t) return;
  r.Malformed();
}

TBitmapInfoHeader ReadInfoHeader(std::span<const uint8_t> info) {
  TBitmapInfoHeader h;
  if (info.size() < 40) return h;
  auto u32 = [&](size_t o) {
    return info[o] | (info[o + 1] << 8) | (info[o + 2] << 16) | (uint32_t{info[o + 3]} << 24);
  };
  auto u16 = [&](size_t o) { return static_cast<uint16_t>(info[o] | (info[o + 1] << 8)); };
  h.size = u32(0);
  h.width = static_cast<int32_t>(u32(4));
  h.height = static_cast<int32_t>(u32(8));
  h.planes = u16(12);
  h.bitCount = u16(14);
  h.compression = u32(16);
  h.sizeImage = u32(20);
  h.xPelsPerMeter = static_cast<int32_t>(u32(24));
  h.yPelsPerMeter = static_cast<int32_t>(u32(28));
  h.clrUsed = u32(32);
  h.clrImportant = u32(36);
  return h;
}

// A bitmap given by four fields (offset and size of the information block,
// offset and size of the bits) at fieldOffset; offsets count from the record start.
TDib ReadDib(const TEmfRecord& r, size_t fieldOffset) {
  TDib dib;
  uint32_t offInfo = r.U32(fieldOffset), cbInfo = r.U32(fieldOffset + 4);
  uint32_t offBits = r.U32(fieldOffset + 8), cbBits = r.U32(fieldOffset + 12);
  if (cbInfo) dib.info = r.Slice(offInfo, cbInfo);
  if (cbBits) dib.bits = r.Slice(offBits, cbBits);
  dib.header = ReadInfoHeader(dib.info);
  return dib;
}

TRegionData ReadRegion(const TEmfRecord& r, size_t offset, uint32_t size) {
  auto data = r.Slice(offset, size);
  if (data.size() < 32) r.Malformed();
  TRegionData region;
  uint32_t count = r.U32(offset + 8);
  region.bounds = r.Rect(offset + 16);
  if (count > (data.size() - 32) / 16) r.Malformed();
  region.rects.reserve(count);
  for (uint32_t i = 0; i < count; ++i) region.rects.push_back(r.Rect(offset + 32 + 16 * i));
  return region;
}

bool Is16BitPoly(uint32_t type) {
  return type >= EMR_POLYBEZIER16 && type <= EMR_POLYDRAW16;
}

std::vector<TPointL> ReadPoints(const TEmfRecord& r, size_t offset, uint32_t count, bool small) {
  r.RequireItems(offset, count, small ? 4 : 8);
  std::vector<TPointL> points;
  points.reserve(count);
  for (uint32_t i = 0; i < count; ++i)
    points.push_back(small ? r.Point16(offset + 4 * i) : r.Point(offset + 8 * i));
  return points;
}

}  // namespace

TEmrHeader ReadHeader(const TEmfRecord& r) {
  RequireType(r, {EMR_HEADER});
  TEmrHeader h;
  h.bounds = r.Rect(8);
  h.frame = r.Rect(24);
  h.signature = r.U32(40);
  h.version = r.U32(44);
  h.bytes = r.U32(48);
  h.records = r.U32(52);
  h.handles = r.U16(56);
  uint32_t nDescription = r.U32(60), offDescription = r.U32(64);
  h.palEntries = r.U32(68);
  h.device = r.Size(72);
  h.millimeters = r.Size(80);
  // The second extension (micrometres) is present when the record is long
  // enough and no description or pixel format starts inside it.
  if (r.Size() >= 108 && (nDescription == 0 || offDescription >= 108)) h.micrometers = r.Size(100);
  if (nDescription) {
    r.RequireItems(offDescription, nDescription, 2);
    for (uint32_t i = 0; i < nDescription; ++i) h.description.push_back(r.U16(offDescription + 2 * i));
  }
  return h;
}

uint32_t ReadValue(const TEmfRecord& r) { return r.U32(8); }
TPointL ReadPoint(const TEmfRecord& r) { return r.Point(8); }
TRectL ReadRect(const TEmfRecord& r) { return r.Rect(8); }

TEmrScaleExt ReadScaleExt(const TEmfRecord& r) { return {r.I32(8), r.I32(12), r.I32(16), r.I32(20)}; }
TEmrRoundRect ReadRoundRect(const TEmfRecord& r) { return {r.Rect(8), r.Size(24)}; }
TEmrArc ReadArc(const TEmfRecord& r) { return {r.Rect(8), r.Point(24), r.Point(32)}; }
TXForm ReadSetWorldTransform(const TEmfRecord& r) { return r.XForm(8); }
TEmrModifyWorldTransform ReadModifyWorldTransform(const TEmfRecord& r) { return {r.XForm(8), r.U32(32)}; }
TEmrEof ReadEof(const TEmfRecord& r) { return {r.U32(8), r.U32(12), r.U32(16)}; }
std::span<const uint8_t> ReadGdiComment(const TEmfRecord& r) { return r.Slice(12, r.U32(8)); }

TEmrCreatePen ReadCreatePen(const TEmfRecord& r) { return {r.U32(8), r.U32(12), r.Point(16), r.U32(24)}; }

TEmrExtCreatePen ReadExtCreatePen(const TEmfRecord& r) {
  TEmrExtCreatePen p;
  p.ihPen = r.U32(8);
  p.dib = ReadDib(r, 12);
  p.style = r.U32(28);
  p.width = r.U32(32);
  p.brushStyle = r.U32(36);
  p.color = r.U32(40);
  p.hatch = r.U32(44);
  uint32_t entries = r.U32(48);
  r.RequireItems(52, entries, 4);
  for (uint32_t i = 0; i < entries; ++i) p.styleEntries.push_back(r.U32(52 + 4 * i));
  return p;
}

TEmrCreateBrushIndirect ReadCreateBrushIndirect(const TEmfRecord& r) {
  return {r.U32(8), r.U32(12), r.U32(16), r.U32(20)};
}

TEmrCreateDibBrush ReadCreateDibBrush(const TEmfRecord& r) {
  RequireType(r, {EMR_CREATEMONOBRUSH, EMR_CREATEDIBPATTERNBRUSHPT});
  return {r.U32(8), r.U32(12), ReadDib(r, 16)};
}

TEmrExtCreateFontIndirectW ReadExtCreateFontIndirectW(const TEmfRecord& r) {
  TEmrExtCreateFontIndirectW f;
  f.ihFont = r.U32(8);
  TLogFontW& lf = f.font;
  lf.height = r.I32(12);
  lf.width = r.I32(16);
  lf.escapement = r.I32(20);
  lf.orientation = r.I32(24);
  lf.weight = r.I32(28);
  lf.italic = r.U8(32);
  lf.underline = r.U8(33);
  lf.strikeOut = r.U8(34);
  lf.charSet = r.U8(35);
  lf.outPrecision = r.U8(36);
  lf.clipPrecision = r.U8(37);
  lf.quality = r.U8(38);
  lf.pitchAndFamily = r.U8(39);
  const auto face = r.Slice(40, 64);
  for (size_t i = 0; i < 32; ++i) {
    const char16_t ch = static_cast<char16_t>(face[2 * i] | face[2 * i + 1] << 8);
    if (ch == 0) break;
    lf.faceName.push_back(ch);
  }
  return f;
}

TEmrCreatePalette ReadCreatePalette(const TEmfRecord& r) {
  TEmrCreatePalette p;
  p.ihPal = r.U32(8);
  p.version = r.U16(12);
  uint16_t count = r.U16(14);
  r.RequireItems(16, count, 4);
  for (uint16_t i = 0; i < count; ++i) p.entries.push_back(r.U32(16 + 4 * i));
  return p;
}

TEmrExtTextOut ReadExtTextOut(const TEmfRecord& r) {
  RequireType(r, {EMR_EXTTEXTOUTA, EMR_EXTTEXTOUTW});
  bool wide = r.Type() == EMR_EXTTEXTOUTW;
  TEmrExtTextOut t;
  t.bounds = r.Rect(8);
  t.graphicsMode = r.U32(24);
  t.exScale = r.F32(28);
  t.eyScale = r.F32(32);
  t.reference = r.Point(36);
  t.chars = r.U32(44);
  uint32_t offString = r.U32(48);
  t.options = r.U32(52);
  t.rect = r.Rect(56);
  uint32_t offDx = r.U32(72);
  if (t.chars == 0) return t;
  r.RequireItems(offString, t.chars, wide ? 2 : 1);
  if (wide) {
    const auto units = r.Slice(offString, uint64_t{t.chars} * 2);
    t.text.resize(t.chars);
    for (size_t i = 0; i < t.text.size(); ++i)
      t.text[i] = static_cast<char16_t>(units[2 * i] | units[2 * i + 1] << 8);
  } else {
    auto bytes = r.Slice(offString, t.chars);
    t.ansiText.assign(bytes.begin(), bytes.end());
  }
  if (offDx != 0) {
    uint64_t count = uint64_t{t.chars} * ((t.options & ETO_PDY) ? 2 : 1);
    r.RequireItems(offDx, count, 4);
    const auto bytes = r.Slice(offDx, count * 4);
    t.dx.resize(static_cast<size_t>(count));
    for (size_t i = 0; i < t.dx.size(); ++i)
      t.dx[i] = static_cast<int32_t>(bytes[4 * i] | bytes[4 * i + 1] << 8 | bytes[4 * i + 2] << 16 |
                                     uint32_t{bytes[4 * i + 3]} << 24);
  }
  return t;
}

TEmrBitmap ReadBitmapRecord(const TEmfRecord& r) {
  TEmrBitmap b;
  b.bounds = r.Rect(8);
  b.xDest = r.I32(24);
  b.yDest = r.I32(28);
  switch (r.Type()) {
    case EMR_BITBLT:
    case EMR_STRETCHBLT:
    case EMR_MASKBLT:
      b.cxDest = r.I32(32);
      b.cyDest = r.I32(36);
      b.rop = r.U32(40);
      b.xSrc = r.I32(44);
      b.ySrc = r.I32(48);
      b.xformSrc = r.XForm(52);
      b.bkColorSrc = r.U32(76);
      b.usageSrc = r.U32(80);
      b.dib = ReadDib(r, 84);
      if (r.Type() == EMR_STRETCHBLT) {
        b.cxSrc = r.I32(100);
        b.cySrc = r.I32(104);
      } else if (r.Type() == EMR_MASKBLT) {
        b.xMask = r.I32(100);
        b.yMask = r.I32(104);
        b.mask = ReadDib(r, 112);
      }
      break;
    case EMR_SETDIBITSTODEVICE:
    case EMR_STRETCHDIBITS:
      // Both lay out the source rectangle and the bitmap alike; the rest differs.
      b.xSrc = r.I32(32);
      b.ySrc = r.I32(36);
      b.cxSrc = r.I32(40);
      b.cySrc = r.I32(44);
      b.dib = ReadDib(r, 48);
      b.usageSrc = r.U32(64);
      if (r.Type() == EMR_SETDIBITSTODEVICE) {
        b.startScan = r.U32(68);
        b.scans = r.U32(72);
      } else {
        b.rop = r.U32(68);
        b.cxDest = r.I32(72);
        b.cyDest = r.I32(76);
      }
      break;
    default:
      r.Malformed();
  }
  return b;
}

TEmrPoly ReadPoly(const TEmfRecord& r) {
  TEmrPoly p;
  p.bounds = r.Rect(8);
  p.points = ReadPoints(r, 28, r.U32(24), Is16BitPoly(r.Type()));
  return p;
}

TEmrPolyPoly ReadPolyPoly(const TEmfRecord& r) {
  TEmrPolyPoly p;
  p.bounds = r.Rect(8);
  uint32_t polys = r.U32(24), total = r.U32(28);
  r.RequireItems(32, polys, 4);
  uint64_t sum = 0;
  for (uint32_t i = 0; i < polys; ++i) {
    p.counts.push_back(r.U32(32 + 4 * i));
    sum += p.counts.back();
  }
  if (sum != total) r.Malformed();
  p.points = ReadPoints(r, 32 + 4 * size_t{polys}, total, Is16BitPoly(r.Type()));
  return p;
}

TEmrPolyDraw ReadPolyDraw(const TEmfRecord& r) {
  TEmrPolyDraw p;
  p.bounds = r.Rect(8);
  uint32_t count = r.U32(24);
  bool small = r.Type() == EMR_POLYDRAW16;
  p.points = ReadPoints(r, 28, count, small);
  auto types = r.Slice(28 + uint64_t{count} * (small ? 4 : 8), count);
  p.types.assign(types.begin(), types.end());
  return p;
}

TEmrFillRgn ReadFillRgn(const TEmfRecord& r) {
  TEmrFillRgn f;
  f.bounds = r.Rect(8);
  uint32_t size = r.U32(24);
  f.ihBrush = r.U32(28);
  f.region = ReadRegion(r, 32, size);
  return f;
}

TEmrExtSelectClipRgn ReadExtSelectClipRgn(const TEmfRecord& r) {
  TEmrExtSelectClipRgn c;
  uint32_t size = r.U32(8);
  c.mode = r.U32(12);
  if (size == 0) return c;
  c.hasRegion = true;
  c.region = ReadRegion(r, 16, size);
  return c;
}

}  // namespace vs
