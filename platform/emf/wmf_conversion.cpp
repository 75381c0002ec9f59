#include "platform/emf/wmf_conversion.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <optional>

#include "platform/codepage.h"
#include "platform/emf/records.h"
#include "platform/emf/wmf_builder.h"

namespace vs {
namespace {

struct TPointD {
  double x = 0, y = 0;
};

struct TBox {
  double left = 0, top = 0, right = 0, bottom = 0;
  bool Empty() const { return !(right > left && bottom > top); }
  TBox Intersect(const TBox& o) const {
    return {std::max(left, o.left), std::max(top, o.top), std::min(right, o.right), std::min(bottom, o.bottom)};
  }
  TBox Union(const TBox& o) const {
    return {std::min(left, o.left), std::min(top, o.top), std::max(right, o.right), std::max(bottom, o.bottom)};
  }
  bool Contains(const TBox& o) const {
    return o.left >= left && o.top >= top && o.right <= right && o.bottom <= bottom;
  }
};

int16_t Clamp16(double v) {
  if (!(v > -32768)) return -32768;  // also NaN
  if (v > 32767) return 32767;
  return static_cast<int16_t>(std::lround(v));
}

TBox BoundsOf(const std::vector<TPointD>& points) {
  TBox box{points.front().x, points.front().y, points.front().x, points.front().y};
  for (const auto& p : points) box = box.Union({p.x, p.y, p.x, p.y});
  return box;
}

// Chord error below a quarter pixel, and never more than 64 pieces a curve.
void FlattenBezier(std::vector<TPointD>& out, TPointD p0, TPointD p1, TPointD p2, TPointD p3) {
  double length = std::hypot(p1.x - p0.x, p1.y - p0.y) + std::hypot(p2.x - p1.x, p2.y - p1.y) +
                  std::hypot(p3.x - p2.x, p3.y - p2.y);
  double wanted = std::ceil(std::sqrt(length / 0.25));
  int steps = std::isfinite(wanted) ? static_cast<int>(std::clamp(wanted, 1.0, 64.0)) : 64;
  for (int s = 1; s <= steps; ++s) {
    double t = static_cast<double>(s) / steps, u = 1 - t;
    double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
    out.push_back({a * p0.x + b * p1.x + c * p2.x + d * p3.x, a * p0.y + b * p1.y + c * p2.y + d * p3.y});
  }
}

enum class TObjectKind { okPen, okBrush, okFont };

struct TDcState {
  TXForm world;
  std::optional<TBox> clip;  // output coordinates
  std::optional<uint16_t> pen, brush;
};

struct TFigure {
  std::vector<TPointD> points;
  bool closed = false;
};

class TConverter {
 public:
  TConverter(TWmfAssembler& out, double scale) : out_(out), scale_(scale) {}

  void Play(const TEmfRecord& r) {
    switch (r.Type()) {
      case EMR_SAVEDC:
        if (saved_.size() < kMaxSaved) {
          saved_.push_back(state_);
          Emit(TWmfRecordBuilder(META_SAVEDC));
        }
        break;
      case EMR_RESTOREDC: RestoreDC(static_cast<int32_t>(ReadValue(r))); break;
      case EMR_SETTEXTCOLOR: Emit(TWmfRecordBuilder(META_SETTEXTCOLOR).U32(ReadValue(r))); break;
      case EMR_SETBKMODE: Emit(TWmfRecordBuilder(META_SETBKMODE).U16(static_cast<uint16_t>(ReadValue(r)))); break;
      case EMR_SETTEXTALIGN: Emit(TWmfRecordBuilder(META_SETTEXTALIGN).U16(static_cast<uint16_t>(ReadValue(r)))); break;
      case EMR_SETPOLYFILLMODE:
        Emit(TWmfRecordBuilder(META_SETPOLYFILLMODE).U16(static_cast<uint16_t>(ReadValue(r))));
        break;
      case EMR_SETWORLDTRANSFORM: state_.world = ReadSetWorldTransform(r); break;
      case EMR_MODIFYWORLDTRANSFORM: ModifyWorld(ReadModifyWorldTransform(r)); break;
      case EMR_CREATEPEN: CreatePen(ReadCreatePen(r)); break;
      case EMR_EXTCREATEPEN: ExtCreatePen(ReadExtCreatePen(r)); break;
      case EMR_CREATEBRUSHINDIRECT: CreateBrush(ReadCreateBrushIndirect(r)); break;
      case EMR_EXTCREATEFONTINDIRECTW: CreateFont(ReadExtCreateFontIndirectW(r)); break;
      case EMR_SELECTOBJECT: SelectObject(ReadValue(r)); break;
      case EMR_DELETEOBJECT: DeleteObject(ReadValue(r)); break;
      case EMR_EXTTEXTOUTW: TextOut(ReadExtTextOut(r)); break;
      case EMR_BEGINPATH:
        figures_.clear();
        inPath_ = true;
        break;
      case EMR_ENDPATH: inPath_ = false; break;
      case EMR_ABORTPATH:
        figures_.clear();
        inPath_ = false;
        break;
      case EMR_MOVETOEX: MoveTo(ReadPoint(r)); break;
      case EMR_LINETO: LineTo(ReadPoint(r)); break;
      case EMR_POLYLINETO: case EMR_POLYLINETO16: PolylineTo(ReadPoly(r).points); break;
      case EMR_POLYBEZIERTO: case EMR_POLYBEZIERTO16: PolyBezierTo(ReadPoly(r).points); break;
      case EMR_CLOSEFIGURE: CloseFigure(); break;
      case EMR_FILLPATH: PaintPath(true, false); break;
      case EMR_STROKEPATH: PaintPath(false, true); break;
      case EMR_STROKEANDFILLPATH: PaintPath(true, true); break;
      case EMR_SELECTCLIPPATH: ClipToPath(ReadValue(r)); break;
      case EMR_EXTSELECTCLIPRGN: ClipToRegion(ReadExtSelectClipRgn(r)); break;
      case EMR_INTERSECTCLIPRECT: IntersectClip(ReadRect(r)); break;
      case EMR_POLYGON: case EMR_POLYGON16: Polygons({ToFigure(ReadPoly(r).points, true)}, true, true); break;
      case EMR_POLYLINE: case EMR_POLYLINE16: Polygons({ToFigure(ReadPoly(r).points, false)}, false, true); break;
      case EMR_POLYPOLYGON: case EMR_POLYPOLYGON16: PolyPolygon(ReadPolyPoly(r)); break;
      case EMR_STRETCHDIBITS: StretchDib(ReadBitmapRecord(r)); break;
      default: break;
    }
  }

 private:
  static constexpr size_t kMaxSaved = 4096;

  void Emit(TWmfRecordBuilder& b) { out_.Append(b.Finish()); }
  void Emit(TWmfRecordBuilder&& b) { out_.Append(b.Finish()); }

  TPointD Map(double x, double y) const {
    const TXForm& w = state_.world;
    return {(x * w.eM11 + y * w.eM21 + w.eDx) * scale_, (x * w.eM12 + y * w.eM22 + w.eDy) * scale_};
  }
  TPointD Map(TPointL p) const { return Map(p.x, p.y); }
  // Length scale of the world transform along x, y and on average.
  double ScaleX() const { return std::hypot(state_.world.eM11, state_.world.eM12) * scale_; }
  double ScaleY() const { return std::hypot(state_.world.eM21, state_.world.eM22) * scale_; }
  double ScaleAverage() const {
    const TXForm& w = state_.world;
    return std::sqrt(std::abs(w.eM11 * w.eM22 - w.eM12 * w.eM21)) * scale_;
  }

  void RestoreDC(int32_t relative) {
    size_t keep = saved_.size();
    if (relative < 0) keep = saved_.size() - std::min<size_t>(saved_.size(), static_cast<size_t>(-int64_t{relative}));
    else if (relative > 0) keep = std::min<size_t>(saved_.size(), static_cast<size_t>(relative) - 1);
    if (keep >= saved_.size()) return;
    Emit(TWmfRecordBuilder(META_RESTOREDC).I16(static_cast<int16_t>(-static_cast<int32_t>(saved_.size() - keep))));
    state_ = saved_[keep];
    saved_.resize(keep);
  }

  void ModifyWorld(const TEmrModifyWorldTransform& m) {
    if (m.mode == MWT_IDENTITY) state_.world = TXForm{};
    else if (m.mode == MWT_LEFTMULTIPLY) state_.world = CombineTransform(m.xform, state_.world);
    else if (m.mode == MWT_RIGHTMULTIPLY) state_.world = CombineTransform(state_.world, m.xform);
    else if (m.mode == 4) state_.world = m.xform;  // MWT_SET
  }

  // Objects.
  void Define(uint32_t index, TObjectKind kind, TWmfRecordBuilder& record) {
    if (auto old = objects_.find(index); old != objects_.end()) Forget(old);
    uint16_t slot = out_.AllocateSlot();
    Emit(record);
    objects_[index] = {slot, kind};
  }

  uint16_t PenWidth(double width) const { return static_cast<uint16_t>(std::clamp(std::lround(width), 0L, 32767L)); }

  void CreatePen(const TEmrCreatePen& p) {
    TWmfRecordBuilder b(META_CREATEPENINDIRECT);
    b.U16(static_cast<uint16_t>(p.style & 0xFFFF)).U16(PenWidth(p.width.x * ScaleAverage())).U16(0).U32(p.color);
    Define(p.ihPen, TObjectKind::okPen, b);
  }

  void ExtCreatePen(const TEmrExtCreatePen& p) {
    uint32_t base = p.style & 0xF;
    if (base == PS_USERSTYLE || base > PS_NULL + 1) base = 1;  // dashes of its own: a plain dash
    if (p.brushStyle == BS_NULL) base = PS_NULL;
    uint16_t style = static_cast<uint16_t>(base | (p.style & 0x3F00));  // end caps and joins
    double width = (p.style & PS_GEOMETRIC) ? p.width * ScaleAverage() : 0;
    TWmfRecordBuilder b(META_CREATEPENINDIRECT);
    b.U16(style).U16(PenWidth(width)).U16(0).U32(p.color);
    Define(p.ihPen, TObjectKind::okPen, b);
  }

  void CreateBrush(const TEmrCreateBrushIndirect& br) {
    TWmfRecordBuilder b(META_CREATEBRUSHINDIRECT);
    b.U16(static_cast<uint16_t>(br.style)).U32(br.color).U16(static_cast<uint16_t>(br.hatch));
    Define(br.ihBrush, TObjectKind::okBrush, b);
  }

  void CreateFont(const TEmrExtCreateFontIndirectW& f) {
    const TLogFontW& lf = f.font;
    const TXForm& w = state_.world;
    // A rotating world turns the text with it.
    double turn = std::atan2(-static_cast<double>(w.eM12), w.eM11) * 1800 / std::acos(-1.0);
    TWmfRecordBuilder b(META_CREATEFONTINDIRECT);
    b.I16(Clamp16(lf.height * ScaleY())).I16(Clamp16(std::abs(lf.width * ScaleX())));
    b.I16(Clamp16(std::remainder(lf.escapement + turn, 3600))).I16(Clamp16(std::remainder(lf.orientation + turn, 3600)));
    b.I16(Clamp16(lf.weight));
    b.U8(lf.italic).U8(lf.underline).U8(lf.strikeOut).U8(lf.charSet);
    b.U8(lf.outPrecision).U8(lf.clipPrecision).U8(lf.quality).U8(lf.pitchAndFamily);
    std::array<uint8_t, 32> face{};
    for (size_t i = 0; i < 31 && i < lf.faceName.size() && lf.faceName[i] != 0; ++i) {
      int c = WideCharToAnsi(lf.faceName[i]);
      face[i] = static_cast<uint8_t>(c < 0 ? '?' : c);
    }
    b.Bytes(face);
    Define(f.ihFont, TObjectKind::okFont, b);
  }

  void Forget(std::map<uint32_t, std::pair<uint16_t, TObjectKind>>::iterator it) {
    Emit(TWmfRecordBuilder(META_DELETEOBJECT).U16(it->second.first));
    out_.ReleaseSlot(it->second.first);
    objects_.erase(it);
  }

  void DeleteObject(uint32_t index) {
    if (auto it = objects_.find(index); it != objects_.end()) Forget(it);
  }

  // Players have no stock objects: each one we meet is made once and kept.
  std::optional<std::pair<uint16_t, TObjectKind>> StockObject(uint32_t index) {
    uint32_t n = index & ~kStockObjectFlag;
    if (n > 8) return std::nullopt;  // fonts and palettes: the player's defaults serve
    if (auto it = stock_.find(n); it != stock_.end()) return it->second;
    static constexpr uint8_t kGray[] = {255, 192, 128, 64, 0};
    TObjectKind kind = n <= 5 ? TObjectKind::okBrush : TObjectKind::okPen;
    uint16_t slot = out_.AllocateSlot();
    if (kind == TObjectKind::okBrush) {
      uint8_t g = n < 5 ? kGray[n] : 0;
      Emit(TWmfRecordBuilder(META_CREATEBRUSHINDIRECT)
               .U16(static_cast<uint16_t>(n == 5 ? BS_NULL : BS_SOLID))
               .U32(g | g << 8 | static_cast<uint32_t>(g) << 16)
               .U16(0));
    } else {
      uint32_t color = n == 6 ? 0xFFFFFF : 0;
      Emit(TWmfRecordBuilder(META_CREATEPENINDIRECT).U16(n == 8 ? PS_NULL : PS_SOLID).U16(0).U16(0).U32(color));
    }
    stock_[n] = {slot, kind};
    return stock_[n];
  }

  void SelectObject(uint32_t index) {
    std::optional<std::pair<uint16_t, TObjectKind>> object;
    if (index & kStockObjectFlag) object = StockObject(index);
    else if (auto it = objects_.find(index); it != objects_.end()) object = it->second;
    if (!object) return;
    Emit(TWmfRecordBuilder(META_SELECTOBJECT).U16(object->first));
    if (object->second == TObjectKind::okPen) state_.pen = object->first;
    if (object->second == TObjectKind::okBrush) state_.brush = object->first;
  }

  void SelectSlot(uint16_t slot) { Emit(TWmfRecordBuilder(META_SELECTOBJECT).U16(slot)); }

  // Clipping: drawing that reaches outside the clip box is drawn between a
  // save and a restore with the box intersected.
  template <typename Draw>
  void Clipped(const TBox& touched, Draw draw) {
    if (!state_.clip || state_.clip->Contains(touched)) return draw();
    const TBox& c = *state_.clip;
    if (c.Intersect(touched).Empty() && !touched.Empty()) return;
    Emit(TWmfRecordBuilder(META_SAVEDC));
    Emit(TWmfRecordBuilder(0x0416).I16(Clamp16(std::ceil(c.bottom))).I16(Clamp16(std::ceil(c.right)))
             .I16(Clamp16(std::floor(c.top))).I16(Clamp16(std::floor(c.left))));  // INTERSECTCLIPRECT
    draw();
    Emit(TWmfRecordBuilder(META_RESTOREDC).I16(-1));
  }

  void SetClip(uint32_t mode, const std::optional<TBox>& box) {
    if (mode == RGN_COPY) state_.clip = box;
    else if (!box) return;
    else if (mode == RGN_AND) state_.clip = state_.clip ? state_.clip->Intersect(*box) : *box;
    else if (mode == 2 && state_.clip) state_.clip = state_.clip->Union(*box);  // RGN_OR
  }

  void ClipToPath(uint32_t mode) {
    std::vector<TPointD> all;
    for (const auto& f : figures_) all.insert(all.end(), f.points.begin(), f.points.end());
    figures_.clear();
    SetClip(mode, all.empty() ? std::optional<TBox>(TBox{}) : std::optional<TBox>(BoundsOf(all)));
  }

  void ClipToRegion(const TEmrExtSelectClipRgn& r) {
    if (!r.hasRegion) {
      if (r.mode == RGN_COPY) state_.clip.reset();
      return;
    }
    // Regions are in device pixels, untouched by the world transform.
    const TRectL& b = r.region.bounds;
    SetClip(r.mode, TBox{b.left * scale_, b.top * scale_, b.right * scale_, b.bottom * scale_});
  }

  void IntersectClip(const TRectL& r) {
    std::vector<TPointD> corners{Map(r.left, r.top), Map(r.right, r.top), Map(r.left, r.bottom), Map(r.right, r.bottom)};
    SetClip(RGN_AND, BoundsOf(corners));
  }

  // Paths, in output coordinates as they are added.
  TFigure& OpenFigure() {
    if (figures_.empty() || figures_.back().closed) {
      TFigure f;
      f.points.push_back(current_);
      figures_.push_back(std::move(f));
    }
    return figures_.back();
  }

  void MoveTo(TPointL p) {
    current_ = Map(p);
    if (!inPath_) return;
    if (!figures_.empty() && figures_.back().points.size() == 1) figures_.pop_back();
    figures_.push_back({{current_}, false});
  }

  void LineTo(TPointL p) {
    if (inPath_) OpenFigure().points.push_back(Map(p));
    current_ = Map(p);
  }

  void PolylineTo(const std::vector<TPointL>& points) {
    if (!inPath_ || points.empty()) return;
    TFigure& f = OpenFigure();
    for (TPointL p : points) f.points.push_back(Map(p));
    current_ = f.points.back();
  }

  void PolyBezierTo(const std::vector<TPointL>& points) {
    if (!inPath_) return;
    TFigure& f = OpenFigure();
    for (size_t i = 0; i + 2 < points.size(); i += 3)
      FlattenBezier(f.points, f.points.back(), Map(points[i]), Map(points[i + 1]), Map(points[i + 2]));
    current_ = f.points.back();
  }

  void CloseFigure() {
    if (!inPath_ || figures_.empty()) return;
    figures_.back().closed = true;
    current_ = figures_.back().points.front();
  }

  void PaintPath(bool fill, bool stroke) {
    std::vector<TFigure> figures = std::move(figures_);
    figures_.clear();
    inPath_ = false;
    if (fill) for (auto& f : figures) f.closed = true;
    Polygons(std::move(figures), fill, stroke);
  }

  TFigure ToFigure(const std::vector<TPointL>& points, bool closed) const {
    TFigure f;
    for (TPointL p : points) f.points.push_back(Map(p));
    f.closed = closed;
    return f;
  }

  void PolyPolygon(const TEmrPolyPoly& pp) {
    std::vector<TFigure> figures;
    size_t at = 0;
    for (uint32_t count : pp.counts) {
      if (count > pp.points.size() - at) break;
      figures.push_back(ToFigure({pp.points.begin() + at, pp.points.begin() + at + count}, true));
      at += count;
    }
    Polygons(std::move(figures), true, true);
  }

  static void Points(TWmfRecordBuilder& b, const std::vector<TPointD>& points, size_t count) {
    for (size_t i = 0; i < count; ++i) b.I16(Clamp16(points[i].x)).I16(Clamp16(points[i].y));
  }

  // Fills the closed figures as one polygon set and strokes every figure;
  // a fill alone is drawn with no outline.
  void Polygons(std::vector<TFigure> figures, bool fill, bool stroke) {
    std::erase_if(figures, [](const TFigure& f) { return f.points.size() < 2; });
    if (figures.empty()) return;
    std::vector<TPointD> all;
    for (const auto& f : figures) all.insert(all.end(), f.points.begin(), f.points.end());
    TBox touched = BoundsOf(all);
    Clipped(touched, [&] {
      if (fill) {
        if (!stroke) SelectSlot(StockObject(NULL_PEN)->first);
        TWmfRecordBuilder b(META_POLYPOLYGON);
        std::vector<size_t> counts;
        for (const auto& f : figures) counts.push_back(std::min<size_t>(f.points.size(), 0xFFFF));
        b.U16(static_cast<uint16_t>(std::min<size_t>(counts.size(), 0xFFFF)));
        for (size_t i = 0; i < counts.size() && i < 0xFFFF; ++i) b.U16(static_cast<uint16_t>(counts[i]));
        for (size_t i = 0; i < counts.size() && i < 0xFFFF; ++i) Points(b, figures[i].points, counts[i]);
        Emit(b);
        if (!stroke) SelectSlot(state_.pen ? *state_.pen : StockObject(BLACK_PEN)->first);
      }
      if (stroke && !fill) {
        for (auto& f : figures) {
          if (f.closed) f.points.push_back(f.points.front());
          size_t count = std::min<size_t>(f.points.size(), 0x7FFF);
          TWmfRecordBuilder b(META_POLYLINE);
          b.I16(static_cast<int16_t>(count));
          Points(b, f.points, count);
          Emit(b);
        }
      }
    });
  }

  void TextOut(const TEmrExtTextOut& t) {
    size_t n = std::min<size_t>(t.text.size(), 0x7FFF);
    if (n == 0) return;
    TPointD at = Map(t.reference);
    uint16_t options = static_cast<uint16_t>(t.options & (ETO_OPAQUE | ETO_CLIPPED));
    std::optional<TBox> rect;
    if (options) {
      std::vector<TPointD> corners{Map(t.rect.left, t.rect.top), Map(t.rect.right, t.rect.bottom),
                                   Map(t.rect.left, t.rect.bottom), Map(t.rect.right, t.rect.top)};
      rect = BoundsOf(corners);
    }
    // Advances along the baseline, rounded without drifting.
    std::vector<int16_t> dx;
    size_t step = (t.options & ETO_PDY) ? 2 : 1;
    if (t.dx.size() >= n * step) {
      double sum = 0;
      int16_t placed = 0;
      for (size_t i = 0; i < n; ++i) {
        sum += t.dx[i * step] * ScaleX();
        int16_t next = Clamp16(sum);
        dx.push_back(static_cast<int16_t>(next - placed));
        placed = next;
      }
    }
    std::string text(n, '?');
    for (size_t i = 0; i < n; ++i) {
      int c = WideCharToAnsi(t.text[i]);
      if (c >= 0) text[i] = static_cast<char>(c);
    }
    // Text without a rectangle may reach anywhere: a clip always applies to it.
    TBox touched = rect ? *rect : TBox{-1e9, -1e9, 1e9, 1e9};
    Clipped(touched, [&] {
      TWmfRecordBuilder b(META_EXTTEXTOUT);
      b.I16(Clamp16(at.y)).I16(Clamp16(at.x)).I16(static_cast<int16_t>(n)).U16(options);
      if (rect) b.I16(Clamp16(rect->left)).I16(Clamp16(rect->top)).I16(Clamp16(rect->right)).I16(Clamp16(rect->bottom));
      b.Bytes({reinterpret_cast<const uint8_t*>(text.data()), text.size()});
      if (n % 2) b.U8(0);
      for (int16_t d : dx) b.I16(d);
      Emit(b);
    });
  }

  void StretchDib(const TEmrBitmap& bm) {
    if (!bm.dib.Present()) return;
    auto fits = [](int32_t v) { return v >= -32768 && v <= 32767; };
    if (!fits(bm.xSrc) || !fits(bm.ySrc) || !fits(bm.cxSrc) || !fits(bm.cySrc)) return;
    TPointD a = Map(bm.xDest, bm.yDest);
    TPointD b = Map(static_cast<double>(bm.xDest) + bm.cxDest, static_cast<double>(bm.yDest) + bm.cyDest);
    TBox touched{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
    Clipped(touched, [&] {
      int16_t x = Clamp16(a.x), y = Clamp16(a.y);
      TWmfRecordBuilder r(META_STRETCHDIB);
      r.U32(bm.rop).U16(static_cast<uint16_t>(bm.usageSrc));
      r.I16(static_cast<int16_t>(bm.cySrc)).I16(static_cast<int16_t>(bm.cxSrc));
      r.I16(static_cast<int16_t>(bm.ySrc)).I16(static_cast<int16_t>(bm.xSrc));
      r.I16(Clamp16(b.y - y)).I16(Clamp16(b.x - x)).I16(y).I16(x);
      r.Bytes(bm.dib.info).Bytes(bm.dib.bits);
      Emit(r);
    });
  }

  TWmfAssembler& out_;
  double scale_;
  TDcState state_;
  std::vector<TDcState> saved_;
  std::map<uint32_t, std::pair<uint16_t, TObjectKind>> objects_;
  std::map<uint32_t, std::pair<uint16_t, TObjectKind>> stock_;
  std::vector<TFigure> figures_;
  bool inPath_ = false;
  TPointD current_;
};

}  // namespace

TWindowsMetafile ToWindowsMetafile(const TMetafile& metafile) {
  TWindowsMetafile result;
  std::vector<TEmfRecord> records = metafile.Records();  // raises before anything is written
  int width = metafile.Width(), height = metafile.Height();
  if (!records.empty() && (width <= 0 || height <= 0)) {
    TEmrHeader header = ReadHeader(records.front());
    width = std::max(1, header.bounds.right + 1);
    height = std::max(1, header.bounds.bottom + 1);
  }
  width = std::max(width, 1);
  height = std::max(height, 1);
  double scale = std::min(1.0, 32767.0 / std::max(width, height));
  result.width = static_cast<int16_t>(std::clamp<long>(std::lround(width * scale), 1, 32767));
  result.height = static_cast<int16_t>(std::clamp<long>(std::lround(height * scale), 1, 32767));

  TWmfAssembler out;
  out.Append(TWmfRecordBuilder(META_SETMAPMODE).U16(MM_ANISOTROPIC).Finish());
  out.Append(TWmfRecordBuilder(META_SETWINDOWORG).I16(0).I16(0).Finish());
  out.Append(TWmfRecordBuilder(META_SETWINDOWEXT).I16(result.height).I16(result.width).Finish());
  TConverter converter(out, scale);
  for (const auto& r : records) converter.Play(r);
  result.bytes = out.Finish();
  return result;
}

}  // namespace vs
