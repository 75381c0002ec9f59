#include "platform/emf/describe.h"

#include <sstream>

#include "platform/codepage.h"
#include "platform/emf/records.h"

namespace vs {
namespace {

std::string Hex(uint32_t v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%08X", v);
  return buf;
}

std::ostream& operator<<(std::ostream& o, const TPointL& p) { return o << '(' << p.x << ',' << p.y << ')'; }
std::ostream& operator<<(std::ostream& o, const TSizeL& s) { return o << s.cx << 'x' << s.cy; }
std::ostream& operator<<(std::ostream& o, const TRectL& r) {
  return o << '(' << r.left << ',' << r.top << ',' << r.right << ',' << r.bottom << ')';
}
std::ostream& operator<<(std::ostream& o, const TXForm& x) {
  return o << '[' << x.eM11 << ' ' << x.eM12 << ' ' << x.eM21 << ' ' << x.eM22 << ' ' << x.eDx << ' '
           << x.eDy << ']';
}

template <class T>
void List(std::ostream& o, const std::vector<T>& items, size_t limit = 16) {
  o << '[';
  for (size_t i = 0; i < items.size() && i < limit; ++i) o << (i ? "," : "") << items[i];
  if (items.size() > limit) o << ",...";
  o << ']';
}

void Dib(std::ostream& o, const TDib& dib) {
  if (!dib.Present()) {
    o << " dib=none";
    return;
  }
  o << " dib=" << dib.header.width << 'x' << dib.header.height << 'x' << dib.header.bitCount
    << " compression=" << dib.header.compression << " bits=" << dib.bits.size();
}

void Fields(std::ostream& o, const TEmfRecord& r) {
  switch (r.Type()) {
    case EMR_HEADER: {
      auto h = ReadHeader(r);
      o << " bounds=" << h.bounds << " frame=" << h.frame << " bytes=" << h.bytes << " records=" << h.records
        << " handles=" << h.handles << " device=" << h.device << " mm=" << h.millimeters;
      break;
    }
    case EMR_SETWINDOWEXTEX: case EMR_SETWINDOWORGEX: case EMR_SETVIEWPORTEXTEX:
    case EMR_SETVIEWPORTORGEX: case EMR_MOVETOEX: case EMR_LINETO:
      o << ' ' << ReadPoint(r);
      break;
    case EMR_SETTEXTCOLOR: case EMR_SETBKCOLOR:
      o << " color=" << Hex(ReadValue(r));
      break;
    case EMR_SELECTOBJECT: case EMR_DELETEOBJECT: case EMR_SELECTPALETTE: {
      uint32_t ih = ReadValue(r);
      if (ih & kStockObjectFlag) o << " stock=" << (ih & ~kStockObjectFlag);
      else o << " ih=" << ih;
      break;
    }
    case EMR_SETMAPMODE: case EMR_SETBKMODE: case EMR_SETPOLYFILLMODE: case EMR_SETROP2:
    case EMR_SETSTRETCHBLTMODE: case EMR_SETTEXTALIGN: case EMR_SETMITERLIMIT: case EMR_SETICMMODE:
    case EMR_SELECTCLIPPATH:
      o << " value=" << ReadValue(r);
      break;
    case EMR_RESTOREDC:
      o << " relative=" << static_cast<int32_t>(ReadValue(r));
      break;
    case EMR_SCALEVIEWPORTEXTEX: case EMR_SCALEWINDOWEXTEX: {
      auto s = ReadScaleExt(r);
      o << " x=" << s.xNum << '/' << s.xDenom << " y=" << s.yNum << '/' << s.yDenom;
      break;
    }
    case EMR_SETWORLDTRANSFORM:
      o << " xform=" << ReadSetWorldTransform(r);
      break;
    case EMR_MODIFYWORLDTRANSFORM: {
      auto m = ReadModifyWorldTransform(r);
      o << " xform=" << m.xform << " mode=" << m.mode;
      break;
    }
    case EMR_ELLIPSE: case EMR_RECTANGLE: case EMR_INTERSECTCLIPRECT: case EMR_EXCLUDECLIPRECT:
    case EMR_FILLPATH: case EMR_STROKEANDFILLPATH: case EMR_STROKEPATH:
      o << " rect=" << ReadRect(r);
      break;
    case EMR_ROUNDRECT: {
      auto rr = ReadRoundRect(r);
      o << " box=" << rr.box << " corner=" << rr.corner;
      break;
    }
    case EMR_ARC: case EMR_CHORD: case EMR_PIE: {
      auto a = ReadArc(r);
      o << " box=" << a.box << " start=" << a.start << " end=" << a.end;
      break;
    }
    case EMR_CREATEPEN: {
      auto p = ReadCreatePen(r);
      o << " ih=" << p.ihPen << " style=" << Hex(p.style) << " width=" << p.width.x << " color=" << Hex(p.color);
      break;
    }
    case EMR_EXTCREATEPEN: {
      auto p = ReadExtCreatePen(r);
      o << " ih=" << p.ihPen << " style=" << Hex(p.style) << " width=" << p.width << " brush=" << p.brushStyle
        << " color=" << Hex(p.color) << " dashes=";
      List(o, p.styleEntries);
      break;
    }
    case EMR_CREATEBRUSHINDIRECT: {
      auto b = ReadCreateBrushIndirect(r);
      o << " ih=" << b.ihBrush << " style=" << b.style << " color=" << Hex(b.color) << " hatch=" << b.hatch;
      break;
    }
    case EMR_CREATEMONOBRUSH: case EMR_CREATEDIBPATTERNBRUSHPT: {
      auto b = ReadCreateDibBrush(r);
      o << " ih=" << b.ihBrush << " usage=" << b.usage;
      Dib(o, b.dib);
      break;
    }
    case EMR_EXTCREATEFONTINDIRECTW: {
      auto f = ReadExtCreateFontIndirectW(r);
      o << " ih=" << f.ihFont << " face=\"" << WideToUtf8(f.font.faceName) << "\" height=" << f.font.height
        << " width=" << f.font.width << " escapement=" << f.font.escapement << " weight=" << f.font.weight
        << " italic=" << int{f.font.italic} << " charset=" << int{f.font.charSet};
      break;
    }
    case EMR_CREATEPALETTE: {
      auto p = ReadCreatePalette(r);
      o << " ih=" << p.ihPal << " entries=" << p.entries.size();
      break;
    }
    case EMR_EXTTEXTOUTA: case EMR_EXTTEXTOUTW: {
      auto t = ReadExtTextOut(r);
      std::string text = r.Type() == EMR_EXTTEXTOUTW ? WideToUtf8(t.text) : AnsiToUtf8(t.ansiText);
      o << " ref=" << t.reference << " bounds=" << t.bounds << " options=" << Hex(t.options)
        << " chars=" << t.chars << " text=\"" << text << "\" dx=";
      List(o, t.dx, 64);
      break;
    }
    case EMR_BITBLT: case EMR_STRETCHBLT: case EMR_MASKBLT: case EMR_SETDIBITSTODEVICE:
    case EMR_STRETCHDIBITS: {
      auto b = ReadBitmapRecord(r);
      o << " bounds=" << b.bounds << " dest=" << TPointL{b.xDest, b.yDest} << ' '
        << TSizeL{b.cxDest, b.cyDest} << " src=" << TPointL{b.xSrc, b.ySrc} << ' ' << TSizeL{b.cxSrc, b.cySrc}
        << " rop=" << Hex(b.rop);
      Dib(o, b.dib);
      break;
    }
    case EMR_POLYBEZIER: case EMR_POLYGON: case EMR_POLYLINE: case EMR_POLYBEZIERTO:
    case EMR_POLYLINETO: case EMR_POLYBEZIER16: case EMR_POLYGON16: case EMR_POLYLINE16:
    case EMR_POLYBEZIERTO16: case EMR_POLYLINETO16: {
      auto p = ReadPoly(r);
      o << " bounds=" << p.bounds << " points=";
      List(o, p.points);
      break;
    }
    case EMR_POLYPOLYLINE: case EMR_POLYPOLYGON: case EMR_POLYPOLYLINE16: case EMR_POLYPOLYGON16: {
      auto p = ReadPolyPoly(r);
      o << " bounds=" << p.bounds << " counts=";
      List(o, p.counts);
      o << " points=";
      List(o, p.points);
      break;
    }
    case EMR_POLYDRAW: case EMR_POLYDRAW16: {
      auto p = ReadPolyDraw(r);
      o << " bounds=" << p.bounds << " points=";
      List(o, p.points);
      break;
    }
    case EMR_FILLRGN: {
      auto f = ReadFillRgn(r);
      o << " bounds=" << f.bounds << " brush=" << f.ihBrush << " rects=" << f.region.rects.size();
      break;
    }
    case EMR_EXTSELECTCLIPRGN: {
      auto c = ReadExtSelectClipRgn(r);
      o << " mode=" << c.mode;
      if (c.hasRegion) o << " region=" << c.region.bounds << " rects=" << c.region.rects.size();
      else o << " region=none";
      break;
    }
    case EMR_GDICOMMENT:
      o << " data=" << ReadGdiComment(r).size();
      break;
    case EMR_EOF: {
      auto e = ReadEof(r);
      o << " palEntries=" << e.palEntries;
      break;
    }
    default:
      break;
  }
}

}  // namespace

std::string DescribeRecord(const TEmfRecord& record) {
  std::ostringstream o;
  o << record.Name() << ' ' << record.Size();
  std::ostringstream fields;
  try {
    Fields(fields, record);
    o << fields.str();
  } catch (const EMetafileError&) {
    o << " (malformed)";
  }
  return o.str();
}

}  // namespace vs
