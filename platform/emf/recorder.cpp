#include "platform/emf/recorder.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/emf/record_builder.h"
#include "platform/screen.h"

namespace vs {
namespace {

TRectL PointRect(TPointL p) { return {p.x, p.y, p.x, p.y}; }

bool Fits16(std::span<const TPointL> points) {
  auto fits = [](int32_t v) {
    return v >= std::numeric_limits<int16_t>::min() && v <= std::numeric_limits<int16_t>::max();
  };
  return std::all_of(points.begin(), points.end(), [&](TPointL p) { return fits(p.x) && fits(p.y); });
}

TRectL PointsBounds(std::span<const TPointL> points) {
  TRectL r = PointRect(points.front());
  for (TPointL p : points) r = UnionRect(r, PointRect(p));
  return r;
}

// Frame in .01 mm of a size in reference-screen pixels.
int32_t PixelsToHundredthsMm(int pixels) {
  return static_cast<int32_t>(std::lround(pixels * 2540.0 / kScreenPixelsPerInch));
}

}  // namespace

TRectL UnionRect(const TRectL& a, const TRectL& b) {
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

// The header goes in front of the records once they are all there.
TEmfRecorder::TEmfRecorder(int width, int height) : width_(width), height_(height), bytes_(kHeaderSize, 0) {}

TEmfRecordBuilder TEmfRecorder::Record(uint32_t type) {
  if (finished_) throw EMetafileError("The metafile recording has ended");
  ++records_;
  return TEmfRecordBuilder(bytes_, type);
}

void TEmfRecorder::Append(std::span<const uint8_t> record) {
  if (finished_) throw EMetafileError("The metafile recording has ended");
  ++records_;
  bytes_.insert(bytes_.end(), record.begin(), record.end());
}

void TEmfRecorder::Append(std::span<const uint8_t> record, const TRectL& touched) {
  Append(record);
  AddBounds(touched);
}

void TEmfRecorder::AddBounds(const TRectL& touched) {
  bounds_ = bounds_ ? UnionRect(*bounds_, touched) : touched;
}

uint32_t TEmfRecorder::AllocateHandle() {
  if (!freeHandles_.empty()) {
    // Lowest free index first, as the reference device does.
    auto lowest = std::min_element(freeHandles_.begin(), freeHandles_.end());
    uint32_t h = *lowest;
    freeHandles_.erase(lowest);
    return h;
  }
  if (nextHandle_ >= 0xFFFF) throw EMetafileError("Too many metafile objects");
  return nextHandle_++;
}

void TEmfRecorder::ReleaseHandle(uint32_t handle) {
  if (handle != 0 && handle < nextHandle_ &&
      std::find(freeHandles_.begin(), freeHandles_.end(), handle) == freeHandles_.end())
    freeHandles_.push_back(handle);
}

void TEmfRecorder::Value(uint32_t type, uint32_t value) { Record(type).U32(value).Close(); }

void TEmfRecorder::SaveDC() { Record(EMR_SAVEDC).Close(); }
void TEmfRecorder::RestoreDC(int32_t relative) { Value(EMR_RESTOREDC, static_cast<uint32_t>(relative)); }
void TEmfRecorder::SetMapMode(uint32_t mode) { Value(EMR_SETMAPMODE, mode); }
void TEmfRecorder::SetTextColor(uint32_t color) { Value(EMR_SETTEXTCOLOR, color); }
void TEmfRecorder::SetBkMode(uint32_t mode) { Value(EMR_SETBKMODE, mode); }
void TEmfRecorder::SetTextAlign(uint32_t align) { Value(EMR_SETTEXTALIGN, align); }
void TEmfRecorder::SetPolyFillMode(uint32_t mode) { Value(EMR_SETPOLYFILLMODE, mode); }

void TEmfRecorder::SetWorldTransform(const TXForm& xform) {
  Record(EMR_SETWORLDTRANSFORM).XForm(xform).Close();
}

void TEmfRecorder::ModifyWorldTransform(const TXForm& xform, uint32_t mode) {
  Record(EMR_MODIFYWORLDTRANSFORM).XForm(xform).U32(mode).Close();
}

uint32_t TEmfRecorder::ExtCreateFontIndirectW(const TLogFontW& font) {
  uint32_t h = AllocateHandle();
  Record(EMR_EXTCREATEFONTINDIRECTW).U32(h).LogFont(font).Close();
  return h;
}

uint32_t TEmfRecorder::CreatePen(uint32_t style, int32_t width, uint32_t color) {
  uint32_t h = AllocateHandle();
  Record(EMR_CREATEPEN).U32(h).U32(style).Point({width, 0}).U32(color).Close();
  return h;
}

uint32_t TEmfRecorder::ExtCreatePen(uint32_t style, uint32_t width, uint32_t color,
                                    std::span<const uint32_t> styleEntries) {
  uint32_t h = AllocateHandle();
  TEmfRecordBuilder b = Record(EMR_EXTCREATEPEN);
  b.U32(h).U32(0).U32(0).U32(0).U32(0);  // no brush bitmap
  b.U32(style).U32(width).U32(BS_SOLID).U32(color).U32(0);
  b.U32(static_cast<uint32_t>(styleEntries.size()));
  for (uint32_t entry : styleEntries) b.U32(entry);
  b.Close();
  return h;
}

uint32_t TEmfRecorder::CreateBrushIndirect(uint32_t style, uint32_t color, uint32_t hatch) {
  uint32_t h = AllocateHandle();
  Record(EMR_CREATEBRUSHINDIRECT).U32(h).U32(style).U32(color).U32(hatch).Close();
  return h;
}

void TEmfRecorder::SelectObject(uint32_t handle) { Value(EMR_SELECTOBJECT, handle); }

void TEmfRecorder::DeleteObject(uint32_t handle) {
  Value(EMR_DELETEOBJECT, handle);
  ReleaseHandle(handle);
}

void TEmfRecorder::ExtTextOutW(TPointL reference, std::u16string_view text,
                               std::span<const int32_t> dx, const TRectL& bounds) {
  constexpr uint32_t kFixedSize = 76;
  uint32_t chars = static_cast<uint32_t>(text.size());
  uint32_t offDx = kFixedSize + (chars * 2 + 3) / 4 * 4;
  TEmfRecordBuilder b = Record(EMR_EXTTEXTOUTW);
  b.Rect(bounds).U32(GM_COMPATIBLE);
  // Page units to .01 mm, which readers use in the compatible graphics mode.
  float scale = 2540.0f / kScreenPixelsPerInch;
  b.F32(scale).F32(scale);
  b.Point(reference).U32(chars).U32(kFixedSize).U32(0).Rect({0, 0, -1, -1}).U32(offDx);
  for (char16_t ch : text) b.U16(ch);
  b.Align4();
  for (size_t i = 0; i < chars; ++i) b.I32(i < dx.size() ? dx[i] : 0);
  b.Close();
  AddBounds(bounds);
}

void TEmfRecorder::BeginPath() {
  pathBounds_.reset();
  Record(EMR_BEGINPATH).Close();
}

void TEmfRecorder::EndPath() { Record(EMR_ENDPATH).Close(); }
void TEmfRecorder::CloseFigure() { Record(EMR_CLOSEFIGURE).Close(); }

void TEmfRecorder::WidenPath(TPointL p) {
  pathBounds_ = pathBounds_ ? UnionRect(*pathBounds_, PointRect(p)) : PointRect(p);
}

void TEmfRecorder::MoveToEx(TPointL p) {
  WidenPath(p);
  Record(EMR_MOVETOEX).Point(p).Close();
}

void TEmfRecorder::Poly(uint32_t type16, uint32_t type32, std::span<const TPointL> points) {
  if (points.empty()) return;
  TRectL bounds = PointsBounds(points);
  WidenPath({bounds.left, bounds.top});
  WidenPath({bounds.right, bounds.bottom});
  bool small = Fits16(points);
  TEmfRecordBuilder b = Record(small ? type16 : type32);
  b.Rect(bounds).U32(static_cast<uint32_t>(points.size()));
  for (TPointL p : points) {
    if (small)
      b.I16(static_cast<int16_t>(p.x)).I16(static_cast<int16_t>(p.y));
    else
      b.Point(p);
  }
  b.Close();
}

void TEmfRecorder::PolylineTo(std::span<const TPointL> points) { Poly(EMR_POLYLINETO16, EMR_POLYLINETO, points); }
void TEmfRecorder::PolyBezierTo(std::span<const TPointL> points) {
  Poly(EMR_POLYBEZIERTO16, EMR_POLYBEZIERTO, points);
}

void TEmfRecorder::FillPath() {
  TRectL bounds = pathBounds_.value_or(TRectL{0, 0, -1, -1});
  Record(EMR_FILLPATH).Rect(bounds).Close();
  if (pathBounds_) AddBounds(bounds);
}

void TEmfRecorder::StrokePath(int32_t inflate) {
  TRectL bounds = pathBounds_.value_or(TRectL{0, 0, -1, -1});
  if (pathBounds_)
    bounds = {bounds.left - inflate, bounds.top - inflate, bounds.right + inflate, bounds.bottom + inflate};
  Record(EMR_STROKEPATH).Rect(bounds).Close();
  if (pathBounds_) AddBounds(bounds);
}

void TEmfRecorder::SelectClipPath(uint32_t mode) { Value(EMR_SELECTCLIPPATH, mode); }

void TEmfRecorder::ResetClip() { Record(EMR_EXTSELECTCLIPRGN).U32(0).U32(RGN_COPY).Close(); }

void TEmfRecorder::StretchDIBits(const TRectL& dest, int32_t srcWidth, int32_t srcHeight,
                                 std::span<const uint8_t> info, std::span<const uint8_t> bits,
                                 uint32_t rop) {
  constexpr uint32_t kFixedSize = 80;
  uint32_t cbInfo = static_cast<uint32_t>(info.size());
  uint32_t offBits = kFixedSize + (cbInfo + 3) / 4 * 4;
  int32_t cx = dest.right - dest.left, cy = dest.bottom - dest.top;
  TRectL bounds{dest.left, dest.top, dest.right - 1, dest.bottom - 1};
  TEmfRecordBuilder b = Record(EMR_STRETCHDIBITS);
  b.Rect(bounds).I32(dest.left).I32(dest.top).I32(0).I32(0).I32(srcWidth).I32(srcHeight);
  b.U32(kFixedSize).U32(cbInfo).U32(offBits).U32(static_cast<uint32_t>(bits.size()));
  b.U32(DIB_RGB_COLORS).U32(rop).I32(cx).I32(cy);
  b.Bytes(info).Align4().Bytes(bits);
  b.Close();
  AddBounds(bounds);
}

std::vector<uint8_t> TEmfRecorder::Finish() {
  Record(EMR_EOF).U32(0).U32(16).U32(20).Close();
  finished_ = true;

  const uint64_t total = bytes_.size();
  if (total > std::numeric_limits<uint32_t>::max()) throw EMetafileError("The metafile is too large");

  TEmfRecordBuilder h(EMR_HEADER);
  h.Rect(bounds_.value_or(TRectL{0, 0, -1, -1}));
  h.Rect({0, 0, PixelsToHundredthsMm(width_), PixelsToHundredthsMm(height_)});
  h.U32(kEmfSignature).U32(0x10000).U32(static_cast<uint32_t>(total));
  h.U32(records_ + 1).U16(static_cast<uint16_t>(nextHandle_)).U16(0);
  h.U32(0).U32(0).U32(0);  // no description, no palette
  h.I32(kReferenceDevicePixels.cx).I32(kReferenceDevicePixels.cy);
  h.I32(kReferenceDeviceMillimeters.cx).I32(kReferenceDeviceMillimeters.cy);
  h.U32(0).U32(0).U32(0);  // no pixel format, no OpenGL
  h.I32(kReferenceDeviceMicrometers.cx).I32(kReferenceDeviceMicrometers.cy);
  const std::vector<uint8_t> header = h.Finish();
  std::copy(header.begin(), header.end(), bytes_.begin());
  return std::move(bytes_);
}

}  // namespace vs
