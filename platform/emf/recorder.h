#pragma once
// The recording device context: drawing calls become metafile records in
// device pixels of the 96-dpi reference screen (mapping mode MM_TEXT). It
// hands out object-table indices, widens the picture bounds as drawing
// records arrive and produces the header and EOF records at the end.
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "platform/emf/emf_types.h"
#include "platform/emf/record_builder.h"

namespace vs {

class TEmfRecorder {
 public:
  TEmfRecorder(int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Finished() const { return finished_; }

  // Pixels a picture keeps per device pixel it covers, in each direction:
  // more are averaged away as it is recorded. By default 192 dpi, twice the
  // sheet's own: sharp at 200 % zoom; at least 1.
  static constexpr double kDefaultPictureScale = 2;
  double PictureScale() const { return pictureScale_; }
  void SetPictureScale(double scale) { pictureScale_ = scale >= 1 ? scale : 1; }

  // Appends one finished record; drawing records pass the device area they touch.
  void Append(std::span<const uint8_t> record);
  void Append(std::span<const uint8_t> record, const TRectL& touched);
  void AddBounds(const TRectL& touched);

  // Object-table indices, from 1; freed ones are reused.
  uint32_t AllocateHandle();
  void ReleaseHandle(uint32_t handle);

  // State records.
  void SaveDC();
  void RestoreDC(int32_t relative);
  void SetMapMode(uint32_t mode);
  void SetTextColor(uint32_t color);
  void SetBkMode(uint32_t mode);
  void SetTextAlign(uint32_t align);
  void SetPolyFillMode(uint32_t mode);
  void SetWorldTransform(const TXForm& xform);
  void ModifyWorldTransform(const TXForm& xform, uint32_t mode);

  // Object records; the create calls return the new object's index.
  uint32_t ExtCreateFontIndirectW(const TLogFontW& font);
  uint32_t CreatePen(uint32_t style, int32_t width, uint32_t color);
  uint32_t ExtCreatePen(uint32_t style, uint32_t width, uint32_t color,
                        std::span<const uint32_t> styleEntries);
  uint32_t CreateBrushIndirect(uint32_t style, uint32_t color, uint32_t hatch = 0);
  void SelectObject(uint32_t handle);  // an index or a stock object (high bit set)
  void DeleteObject(uint32_t handle);

  // Text at a reference point with one advance per character.
  void ExtTextOutW(TPointL reference, std::u16string_view text, std::span<const int32_t> dx,
                   const TRectL& bounds);

  // Paths. The 16-bit record forms are used when every coordinate fits.
  void BeginPath();
  void EndPath();
  void CloseFigure();
  void MoveToEx(TPointL p);
  void PolylineTo(std::span<const TPointL> points);
  void PolyBezierTo(std::span<const TPointL> points);
  // Paint or clip with the path ended last; `inflate` widens the drawn area (strokes).
  void FillPath();
  void StrokePath(int32_t inflate);
  void SelectClipPath(uint32_t mode);
  // EXTSELECTCLIPRGN without region: back to no clipping.
  void ResetClip();

  // A DIB (information block and bits) stretched onto a device rectangle.
  void StretchDIBits(const TRectL& dest, int32_t srcWidth, int32_t srcHeight,
                     std::span<const uint8_t> info, std::span<const uint8_t> bits, uint32_t rop);

  // Ends the recording: header, records, EOF. The recorder takes no more records.
  std::vector<uint8_t> Finish();

 private:
  // A record built in place at the end of the recording; the caller closes it.
  TEmfRecordBuilder Record(uint32_t type);
  void Value(uint32_t type, uint32_t value);
  void Poly(uint32_t type16, uint32_t type32, std::span<const TPointL> points);
  void WidenPath(TPointL p);

  int width_, height_;
  bool finished_ = false;
  double pictureScale_ = kDefaultPictureScale;
  // Room for the header, then the records in the order they came.
  std::vector<uint8_t> bytes_;
  uint32_t records_ = 0;
  std::optional<TRectL> bounds_;
  std::optional<TRectL> pathBounds_;
  std::vector<uint32_t> freeHandles_;
  uint32_t nextHandle_ = 1;
};

// The device-context handle drawing code receives: the recorder itself.
using HDC = TEmfRecorder*;

// The rectangle covering both (inclusive bounds).
TRectL UnionRect(const TRectL& a, const TRectL& b);

// Reference device of every recording: the 96-dpi screen.
inline constexpr TSizeL kReferenceDevicePixels{1920, 1080};
inline constexpr TSizeL kReferenceDeviceMillimeters{508, 286};
inline constexpr TSizeL kReferenceDeviceMicrometers{508000, 285750};
inline constexpr uint32_t kHeaderSize = 108;

}  // namespace vs
