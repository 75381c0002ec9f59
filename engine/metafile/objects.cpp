// The metafile's object table: pens, brushes, fonts and palettes created,
// selected and deleted by index, and the stock objects.
#include <algorithm>
#include <cmath>

#include "engine/engine.h"
#include "engine/metafile/processor.h"
#include "engine/metafile/support.h"
#include "platform/codepage.h"
#include "platform/fonts/font_service.h"
#include "platform/screen.h"

namespace vs {

using metafile::RoundInt;

namespace {

TPenStyle PenStyleOf(uint32_t style) {
  return style <= 6 ? static_cast<TPenStyle>(style) : TPenStyle::psSolid;
}

// The character sets a font's enumeration reports, keeping only the known ones.
std::vector<int> KnownCharSets(const std::string& face) {
  static constexpr int kKnown[] = {0, 2, 77, 128, 129, 130, 134, 136, 161, 162,
                                   163, 177, 178, 186, 204, 222, 238, 255};
  std::vector<int> sets;
  for (int set : TFontService::Instance().CharSets(AnsiToUtf8(face)))
    if (std::find(std::begin(kKnown), std::end(kKnown), set) != std::end(kKnown)) sets.push_back(set);
  return sets;
}

// The character set of the system's ANSI code page.
uint8_t AnsiCharSet() {
  switch (kAnsiCodePage) {
    case 874: return 222;
    case 932: return 128;
    case 936: return 134;
    case 949: return 129;
    case 950: return 136;
    case 1250: return 238;
    case 1251: return 204;
    case 1253: return 161;
    case 1254: return 162;
    case 1255: return 177;
    case 1256: return 178;
    case 1257: return 186;
    case 1258: return 163;
    case 1361: return 130;
    default: return 0;
  }
}

}  // namespace

const std::vector<int>& TqxMetafileProcessor::FaceCharSets(const std::string& face) {
  auto it = charSets_.find(face);
  if (it == charSets_.end()) it = charSets_.emplace(face, KnownCharSets(face)).first;
  return it->second;
}

void TqxMetafileProcessor::StoreObject(uint32_t ih, TqxGDIOBJ entry) {
  if (ih == 0) return;  // index 0 names no object
  lastJoin_ = entry.Join;
  lastCap_ = entry.Cap;
  if (ih > objects_.size()) {
    objects_.push_back(std::move(entry));
  } else {
    objects_[ih - 1] = std::move(entry);
  }
}

void TqxMetafileProcessor::DeleteObject(uint32_t ih) {
  if (ih == 0 || ih > objects_.size()) return;
  objects_[ih - 1] = TqxGDIOBJ{};  // a placeholder keeps later positions
}

void TqxMetafileProcessor::SelectObject(uint32_t ih) {
  if (ih & kStockObjectFlag || ih == 0) {
    SelectStockObject(ih & ~kStockObjectFlag);
    return;
  }
  if (ih > objects_.size()) return;
  const TqxGDIOBJ& entry = objects_[ih - 1];
  switch (entry.Kind) {
    case TqxGDIObjectKind::okPen: pen_ = entry.Pen; break;
    case TqxGDIObjectKind::okBrush: brush_ = entry.Brush; break;
    case TqxGDIObjectKind::okFont: {
      font_ = entry.Font;
      const std::vector<int>& sets = FaceCharSets(font_.Font.Name);
      symbolMode_ = sets.size() == 1 && sets[0] == kSymbolCharset ? -1 : 1;
      break;
    }
    default: break;
  }
}

void TqxMetafileProcessor::SelectStockObject(uint32_t number) {
  auto solid = [](TColor color) {
    TBrush b;
    b.Color = color;
    return b;
  };
  switch (number) {
    case 0: brush_ = TBrush{}; break;
    case 1: brush_ = solid(12632256); break;
    case 2: brush_ = solid(8421504); break;
    case 3: brush_ = solid(4210752); break;
    case 4: brush_ = solid(0); break;
    case 5: brush_ = TBrush{}; brush_.Style = TBrushStyle::bsClear; break;
    case 6: pen_ = TPen{}; pen_.Color = clWhite; break;
    case 7: pen_ = TPen{}; break;
    case 8: pen_ = TPen{}; pen_.Style = TPenStyle::psClear; break;
    case 10: case 11: case 12: case 13: case 14: case 16: font_ = TqxFont{}; break;
    case 15: palette_ = TqxPalette{}; break;
    case 18: brush_ = TBrush{}; break;
    case 19: pen_ = TPen{}; break;
    default: break;
  }
}

void TqxMetafileProcessor::SelectPalette(uint32_t ih) {
  if (ih & kStockObjectFlag) {
    SelectStockObject(ih & ~kStockObjectFlag);
  } else if (ih >= 1 && ih <= objects_.size()) {
    palette_ = objects_[ih - 1].Palette;
  }
}

void TqxMetafileProcessor::CreatePen(const TEmfRecord& r) {
  TEmrCreatePen p = ReadCreatePen(r);
  TqxGDIOBJ entry;
  entry.Kind = TqxGDIObjectKind::okPen;
  entry.Pen.Width = p.width.x != 0 ? std::max(1, RoundInt(LogicalWidth(p.width.x))) : 1;
  entry.Pen.Style = PenStyleOf(p.style);
  entry.Pen.Color = RecordColor(p.color);
  StoreObject(p.ihPen, std::move(entry));
}

void TqxMetafileProcessor::ExtCreatePen(const TEmfRecord& r) {
  TEmrExtCreatePen p = ReadExtCreatePen(r);
  TqxGDIOBJ entry;
  entry.Kind = TqxGDIObjectKind::okPen;
  // A width that rounds to nothing still draws a one-pixel line.
  entry.Pen.Width = std::max(1, RoundInt(LogicalWidth(p.width == 0 ? 1.0 : p.width)));
  entry.Pen.Style = PenStyleOf(p.style & 0xF);
  entry.Pen.Color = RecordColor(p.color);
  if ((p.style & 0xF0000) == PS_GEOMETRIC) {
    switch (p.style & 0xF000) {
      case PS_JOIN_BEVEL: entry.Join = 1; break;
      case PS_JOIN_MITER: entry.Join = 2; break;
      default: entry.Join = 3; break;
    }
    switch (p.style & 0xF00) {
      case PS_ENDCAP_SQUARE: entry.Cap = 2; break;
      case PS_ENDCAP_FLAT: entry.Cap = 3; break;
      default: entry.Cap = 1; break;
    }
  }
  StoreObject(p.ihPen, std::move(entry));
}

void TqxMetafileProcessor::CreateBrushIndirect(const TEmfRecord& r) {
  TEmrCreateBrushIndirect b = ReadCreateBrushIndirect(r);
  TqxGDIOBJ entry;
  entry.Kind = TqxGDIObjectKind::okBrush;
  entry.Brush.Color = RecordColor(b.color);
  if (b.style == BS_NULL) {
    entry.Brush.Style = TBrushStyle::bsClear;
  } else if (b.style == 2 && b.hatch <= 5) {  // hatched
    entry.Brush.Style = static_cast<TBrushStyle>(static_cast<int>(TBrushStyle::bsHorizontal) + b.hatch);
  }
  StoreObject(b.ihBrush, std::move(entry));
}

void TqxMetafileProcessor::CreateDibBrush(const TEmfRecord& r) {
  TEmrCreateDibBrush b = ReadCreateDibBrush(r);
  if (!b.dib.Present()) return;
  // A pattern brush: the item model carries no pattern, so it paints as the default brush.
  TqxGDIOBJ entry;
  entry.Kind = TqxGDIObjectKind::okBrush;
  StoreObject(b.ihBrush, std::move(entry));
}

void TqxMetafileProcessor::CreatePalette(const TEmfRecord& r) {
  TqxGDIOBJ entry;
  entry.Kind = TqxGDIObjectKind::okPalette;
  entry.Palette = {r.U32(8), r.U32(12)};
  StoreObject(r.U32(8), std::move(entry));
}

void TqxMetafileProcessor::ExtCreateFont(const TEmfRecord& r) {
  if (!textOn_) return;
  TEmrExtCreateFontIndirectW rec = ReadExtCreateFontIndirectW(r);
  const TLogFontW& lf = rec.font;
  TqxGDIOBJ entry;
  entry.Kind = TqxGDIObjectKind::okFont;
  TFont& font = entry.Font.Font;
  font.Name = WideToAnsi(lf.faceName.substr(0, 32));
  font.Charset = lf.charSet;
  if (font.Charset == kDefaultCharset) {
    const std::vector<int>& sets = FaceCharSets(font.Name);
    font.Charset = sets.size() == 1 ? static_cast<uint8_t>(sets[0]) : AnsiCharSet();
  }
  switch (lf.pitchAndFamily & 3) {
    case 1: case 3: font.Pitch = TFontPitch::fpFixed; break;
    case 2: font.Pitch = TFontPitch::fpVariable; break;
    default: font.Pitch = TFontPitch::fpDefault; break;
  }
  font.Style = 0;
  if (lf.italic) font.Include(TFontStyle::fsItalic);
  if (lf.weight == kFwBold) font.Include(TFontStyle::fsBold);
  if (lf.underline) font.Include(TFontStyle::fsUnderline);
  if (lf.strikeOut) font.Include(TFontStyle::fsStrikeOut);

  // Sizes are kept within what a font can sensibly have, whatever the record says.
  auto points = [](double v) { return std::clamp(RoundInt(std::fabs(v)), 0, 100000); };
  const double ppi = kScreenPixelsPerInch;
  const double height = lf.height;
  if (mapMode_ == 0 || ScaledMapMode()) {
    font.SetSize(points(-height * 72 / ppi));
  } else {
    font.SetHeight(std::clamp(lf.height, -1000000, 1000000));
  }
  if (ScaledMapMode()) {
    const double rX = ppi / engine_.InputXRes();
    const double v = RoundInt(viewportExt_.X / rX);
    if (windowExt_.X != 0 && v != 0)
      font.SetHeight(std::clamp(RoundInt(font.Height() / (windowExt_.X / v) * rX), -1000000, 1000000));
  } else if (mapMode_ == 0) {
    font.SetSize(points(-(height * world_.eM22) * 72 / ppi));
  } else {
    font.SetHeight(std::clamp(RoundInt(font.Height() * world_.eM22), -1000000, 1000000));
  }
  entry.Font.Escapement = lf.escapement;
  StoreObject(rec.ihFont, std::move(entry));
}

}  // namespace vs
