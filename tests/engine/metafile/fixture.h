#pragma once
// Hand-built metafile records and a fixture that replays them through the
// metafile processor into an open test engine.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

#include "engine/metafile/processor.h"
#include "platform/emf/record_builder.h"
#include "platform/raster/bitmap.h"
#include "tests/engine/test_engine.h"
#include "tests/platform/emf/emf_helpers.h"

namespace vs::testing {

using Records = std::vector<std::vector<uint8_t>>;

inline std::vector<uint8_t> Value(uint32_t type, uint32_t value) {
  return TEmfRecordBuilder(type).U32(value).Finish();
}
inline std::vector<uint8_t> Pair(uint32_t type, int32_t x, int32_t y) {
  return TEmfRecordBuilder(type).I32(x).I32(y).Finish();
}
inline std::vector<uint8_t> Empty(uint32_t type) { return TEmfRecordBuilder(type).Finish(); }

inline std::vector<uint8_t> Font(uint32_t ih, int32_t height, std::u16string face = u"Arial",
                                 int32_t escapement = 0, int32_t weight = 400, uint8_t charSet = 0) {
  TLogFontW lf;
  lf.height = height;
  lf.escapement = lf.orientation = escapement;
  lf.weight = weight;
  lf.charSet = charSet;
  lf.faceName = std::move(face);
  return TEmfRecordBuilder(EMR_EXTCREATEFONTINDIRECTW).U32(ih).LogFont(lf).Finish();
}

// EXTTEXTOUTW at a reference point; every character advances by 10.
inline std::vector<uint8_t> Text(int32_t x, int32_t y, std::u16string_view text, uint32_t options = 0,
                                 TRectL rect = {0, 0, -1, -1}) {
  const uint32_t chars = static_cast<uint32_t>(text.size());
  const uint32_t offDx = 76 + (chars * 2 + 3) / 4 * 4;
  TEmfRecordBuilder b(EMR_EXTTEXTOUTW);
  b.Rect({x, y, x + 100, y + 20}).U32(GM_COMPATIBLE).F32(1).F32(1);
  b.Point({x, y}).U32(chars).U32(76).U32(options).Rect(rect).U32(offDx);
  for (char16_t c : text) b.U16(c);
  b.Align4();
  for (uint32_t i = 0; i < chars; ++i) b.I32(10);
  return b.Finish();
}

// STRETCHDIBITS of a bitmap onto dest (left, top, width, height) with a raster operation.
inline std::vector<uint8_t> StretchDibits(const TBitmap& bitmap, TRectL dest, uint32_t rop) {
  std::vector<uint8_t> info = bitmap.InfoHeader();
  const std::vector<uint8_t>& bits = bitmap.Bits();
  TEmfRecordBuilder b(EMR_STRETCHDIBITS);
  b.Rect({dest.left, dest.top, dest.left + dest.right - 1, dest.top + dest.bottom - 1});
  b.I32(dest.left).I32(dest.top).I32(0).I32(0).I32(bitmap.Width()).I32(bitmap.Height());
  b.U32(80).U32(static_cast<uint32_t>(info.size())).U32(80 + static_cast<uint32_t>(info.size()));
  b.U32(static_cast<uint32_t>(bits.size())).U32(DIB_RGB_COLORS).U32(rop).I32(dest.right).I32(dest.bottom);
  b.Bytes(info).Bytes(bits);
  return b.Finish();
}

class ReplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    engine.ReferencePoint = TqxReferencePoint::rpPage;
    engine.BeginDoc();
  }
  void TearDown() override { engine.EndDoc(); }

  // Replays header, records and EOF; returns the processor for its state.
  TqxMetafileProcessor& Replay(const Records& records, double x = 0, double y = 0) {
    processor = std::make_unique<TqxMetafileProcessor>(engine);
    processor->Process(WrapRecords(records), x, y);
    return *processor;
  }

  template <class T>
  std::vector<T*> ItemsOf() {
    std::vector<T*> found;
    for (auto& item : *engine.CurrentItems())
      if (auto* t = dynamic_cast<T*>(item.get()); t && typeid(*t) == typeid(T)) found.push_back(t);
    return found;
  }

  RecordingEngine engine;
  std::unique_ptr<TqxMetafileProcessor> processor;
};

}  // namespace vs::testing
