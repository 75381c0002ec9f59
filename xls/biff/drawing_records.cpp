#include "xls/biff/drawing_records.h"

#include <algorithm>
#include <cmath>

namespace vs {
namespace {

class TBody {
 public:
  explicit TBody(std::vector<uint8_t> start = {}) : bytes_(std::move(start)) {}
  TBody& U8(uint8_t v) {
    bytes_.push_back(v);
    return *this;
  }
  TBody& U16(uint16_t v) { return U8(static_cast<uint8_t>(v)).U8(static_cast<uint8_t>(v >> 8)); }
  TBody& U32(uint32_t v) { return U16(static_cast<uint16_t>(v)).U16(static_cast<uint16_t>(v >> 16)); }
  TBody& Zeros(size_t n) {
    bytes_.resize(bytes_.size() + n, 0);
    return *this;
  }
  TBody& Bytes(const std::vector<uint8_t>& b) {
    bytes_.insert(bytes_.end(), b.begin(), b.end());
    return *this;
  }
  void Set(size_t at, uint8_t v) { bytes_.at(at) = v; }
  void Set16(size_t at, uint16_t v) { Set(at, static_cast<uint8_t>(v)), Set(at + 1, static_cast<uint8_t>(v >> 8)); }
  std::vector<uint8_t> Take() { return std::move(bytes_); }

 private:
  std::vector<uint8_t> bytes_;
};

// Fill and outline bytes shared by rectangles, ovals, polygons and text boxes
// (offsets 34 to 41).
void FillAndOutline(TBody& body, uint8_t backColor, const std::optional<TObjFill>& fill, const TObjLine& outline) {
  body.U8(backColor).U8(fill ? fill->ForeColor : 0).U8(fill ? fill->Pattern : 0).U8(0);
  body.U8(outline.Color).U8(outline.Style).U8(outline.Width).U8(0);
}

}  // namespace

TObjAnchor SheetAnchor(const TCellAnchor& a, int rowOffset) {
  auto column = [](int c) { return static_cast<uint16_t>(std::clamp(c, 0, kLastSheetColumn)); };
  auto row = [&](int r) { return static_cast<uint16_t>(std::clamp<int64_t>(int64_t{r} + rowOffset, 0, kLastSheetRow)); };
  auto offset = [](int o, int end) { return static_cast<uint16_t>(std::clamp(o, 0, end - 1)); };
  return {column(a.LeftColumn), offset(a.LeftOffset, 1024), row(a.TopRow),    offset(a.TopOffset, 256),
          column(a.RightColumn), offset(a.RightOffset, 1024), row(a.BottomRow), offset(a.BottomOffset, 256)};
}

std::vector<uint8_t> ObjCommon(uint32_t id, TObjType type, const TObjAnchor& a) {
  TBody b;
  b.U32(id).U16(type).U16(static_cast<uint16_t>(id)).U16(0x0604);
  b.U16(a.LeftColumn).U16(a.LeftOffset).U16(a.TopRow).U16(a.TopOffset);
  b.U16(a.RightColumn).U16(a.RightOffset).U16(a.BottomRow).U16(a.BottomOffset);
  b.Zeros(8);
  return b.Take();
}

std::vector<uint8_t> PictureObj(uint32_t id, const TObjAnchor& anchor, TImageDataFormat format, bool background) {
  TBody b(ObjCommon(id, otPicture, anchor));
  b.Bytes({0x08, 0x09, 0x00, 0x00, 0x09, 0x00, 0x00, 0x00, 0x00, 0x00});
  b.U16(format);
  b.Bytes({0x00, 0x00, 0x00, 0x3D, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00});
  if (background) {
    static const std::string kName = "__BkgndObj";
    b.Set(30, 0x0A);
    b.U8(static_cast<uint8_t>(kName.size())).Bytes({kName.begin(), kName.end()}).U8(0);
  }
  b.U16(0);  // no macro formula
  return b.Take();
}

std::vector<uint8_t> LineObj(uint32_t id, const TObjAnchor& anchor, const TObjLine& line) {
  TBody b(ObjCommon(id, otLine, anchor));
  b.U8(line.Color).U8(line.Style).U8(line.Width).Zeros(7);
  return b.Take();
}

std::vector<uint8_t> ShapeObj(uint32_t id, TObjType type, const TObjAnchor& anchor, uint8_t backColor,
                              const std::optional<TObjFill>& fill, const TObjLine& outline, uint16_t roundness) {
  TBody b(ObjCommon(id, type, anchor));
  FillAndOutline(b, backColor, fill, outline);
  b.U16(roundness);
  b.U16(0);  // no macro formula
  return b.Take();
}

std::vector<uint8_t> PolygonObj(uint32_t id, const TObjAnchor& anchor, uint8_t backColor,
                                const std::optional<TObjFill>& fill, const TObjLine& outline, bool filled,
                                uint16_t pointCount) {
  TBody b(ObjCommon(id, otPolygon, anchor));
  FillAndOutline(b, backColor, filled ? fill : std::nullopt, outline);
  b.Zeros(2).U8(filled ? 1 : 0).Zeros(11).U16(pointCount).Zeros(8);
  b.U16(0);  // no macro formula
  return b.Take();
}

std::vector<uint8_t> TextBoxObj(uint32_t id, const TObjAnchor& anchor, uint8_t backColor,
                                const std::optional<TObjFill>& fill, const TObjLine& outline, uint8_t alignment,
                                const std::string& text, uint16_t fontIndex) {
  uint16_t n = static_cast<uint16_t>(std::min<size_t>(text.size(), kBiffMaxRecordData - 86));
  TBody b(ObjCommon(id, otTextBox, anchor));
  FillAndOutline(b, backColor, fill, outline);
  b.Zeros(2).U16(n).Zeros(2).U8(16).Zeros(5).U8(alignment).Zeros(15);
  b.Bytes({text.begin(), text.begin() + n});
  b.U16(0).U16(fontIndex).U32(0);
  b.U16(n).U16(0).U32(0);
  return b.Take();
}

std::vector<uint8_t> CoordList(const std::vector<TPixelPoint>& points, bool closed) {
  constexpr size_t kMaxPoints = kBiffMaxRecordData / 4;
  if (points.empty()) return {};
  std::vector<TPixelPoint> kept = points;
  size_t room = kMaxPoints - (closed ? 1 : 0);
  if (kept.size() > room) {
    kept.clear();
    for (size_t i = 0; i < room; ++i) kept.push_back(points[i * (points.size() - 1) / (room - 1)]);
  }
  if (closed) kept.push_back(kept.front());
  double minX = kept[0].X, maxX = kept[0].X, minY = kept[0].Y, maxY = kept[0].Y;
  for (const auto& p : kept) {
    minX = std::min(minX, p.X), maxX = std::max(maxX, p.X);
    minY = std::min(minY, p.Y), maxY = std::max(maxY, p.Y);
  }
  auto scaled = [](double v, double min, double max) {
    double span = max - min;
    if (!(span > 0)) return uint16_t{0};
    return static_cast<uint16_t>(std::clamp(std::nearbyint((v - min) / span * 16384), 0.0, 16384.0));
  };
  TBody b;
  for (const auto& p : kept) b.U16(scaled(p.X, minX, maxX)).U16(scaled(p.Y, minY, maxY));
  return b.Take();
}

std::vector<uint8_t> ImageDataHeader(TImageDataFormat format, uint32_t size) {
  TBody b;
  b.U16(format).U16(1).U32(size);
  return b.Take();
}

}  // namespace vs
