#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/emf/metafile.h"
#include "platform/emf/wmf_builder.h"
#include "platform/emf/wmf_conversion.h"
#include "platform/raster/bitmap.h"

namespace vs {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

struct TWmfRecord {
  uint16_t function = 0;
  std::vector<uint8_t> params;
  int16_t I16(size_t at) const { return static_cast<int16_t>(params.at(at) | params.at(at + 1) << 8); }
  uint32_t U32(size_t at) const { return static_cast<uint16_t>(I16(at)) | static_cast<uint32_t>(static_cast<uint16_t>(I16(at + 2))) << 16; }
};

uint32_t U32At(const std::vector<uint8_t>& b, size_t at) {
  return b.at(at) | b.at(at + 1) << 8 | b.at(at + 2) << 16 | static_cast<uint32_t>(b.at(at + 3)) << 24;
}
uint16_t U16At(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b.at(at) | b.at(at + 1) << 8); }

// Walks the records after the header, checking that their sizes tile the file
// and that it ends with the EOF record; the EOF record is left out.
std::vector<TWmfRecord> Walk(const std::vector<uint8_t>& wmf) {
  std::vector<TWmfRecord> records;
  size_t at = kWmfHeaderBytes;
  uint32_t largest = 0;
  while (at < wmf.size()) {
    uint32_t words = U32At(wmf, at);
    EXPECT_GE(words, 3u);
    if (words < 3 || at + words * 2 > wmf.size()) {
      ADD_FAILURE() << "record at " << at << " runs past the end";
      break;
    }
    largest = std::max(largest, words);
    TWmfRecord r{U16At(wmf, at + 4), {wmf.begin() + at + 6, wmf.begin() + at + words * 2}};
    at += words * 2;
    if (r.function == META_EOF) {
      EXPECT_EQ(at, wmf.size()) << "EOF is the last record";
      EXPECT_EQ(U32At(wmf, 12), largest) << "largest record in the header";
      return records;
    }
    records.push_back(std::move(r));
  }
  ADD_FAILURE() << "no EOF record";
  return records;
}

std::vector<uint16_t> Functions(const std::vector<TWmfRecord>& records) {
  std::vector<uint16_t> f;
  for (const auto& r : records) f.push_back(r.function);
  return f;
}

const TWmfRecord& Find(const std::vector<TWmfRecord>& records, uint16_t function, int nth = 0) {
  for (const auto& r : records)
    if (r.function == function && nth-- == 0) return r;
  throw std::runtime_error("record missing");
}

TEST(WindowsMetafile, HeaderAndMappingDescribeThePicture) {
  TMetafile m(300, 200);
  { TMetafileCanvas canvas(m); }
  TWindowsMetafile w = ToWindowsMetafile(m);
  ASSERT_GE(w.bytes.size(), kWmfHeaderBytes);
  EXPECT_EQ(U16At(w.bytes, 0), 1) << "memory metafile";
  EXPECT_EQ(U16At(w.bytes, 2), 9) << "header words";
  EXPECT_EQ(U16At(w.bytes, 4), 0x0300);
  EXPECT_EQ(U32At(w.bytes, 6) * 2, w.bytes.size()) << "file size in words";
  auto records = Walk(w.bytes);
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].function, META_SETMAPMODE);
  EXPECT_EQ(records[0].I16(0), MM_ANISOTROPIC);
  EXPECT_EQ(records[1].function, META_SETWINDOWORG);
  EXPECT_EQ(records[2].function, META_SETWINDOWEXT);
  EXPECT_EQ(records[2].I16(0), 200) << "y first";
  EXPECT_EQ(records[2].I16(2), 300);
  EXPECT_EQ(w.width, 300);
  EXPECT_EQ(w.height, 200);
}

// A page drawn the way the graphics layer draws, placed through a world
// transform (scale 2, offset 5,7) as a picture played into a page is.
TMetafile TransformedDrawing() {
  TMetafile m(400, 300);
  TMetafileCanvas canvas(m);
  HDC dc = canvas.Handle();
  dc->SetWorldTransform({2, 0, 0, 2, 5, 7});
  uint32_t brush = dc->CreateBrushIndirect(BS_SOLID, Rgb(255, 0, 0));
  dc->SelectObject(brush);
  uint32_t pen = dc->CreatePen(PS_SOLID, 3, Rgb(0, 0, 255));
  dc->SelectObject(pen);
  dc->BeginPath();
  dc->MoveToEx({10, 10});
  std::vector<TPointL> box = {{20, 10}, {20, 30}, {10, 30}};
  dc->PolylineTo(box);
  dc->CloseFigure();
  dc->EndPath();
  dc->FillPath();
  dc->BeginPath();
  dc->MoveToEx({0, 0});
  std::vector<TPointL> curve = {{0, 40}, {40, 40}, {40, 0}};
  dc->PolyBezierTo(curve);
  dc->EndPath();
  dc->StrokePath(2);
  TLogFontW lf;
  lf.height = -12;
  lf.faceName = u"Arial";
  dc->SelectObject(dc->ExtCreateFontIndirectW(lf));
  std::vector<int32_t> dx = {5, 5, 5, 5, 5};
  dc->ExtTextOutW({30, 40}, u"Gr\u00FC\u00DFe", dx, {0, 0, -1, -1});
  TBitmap bitmap(2, 2, Rgb(0, 128, 0));
  dc->StretchDIBits({50, 60, 60, 65}, 2, 2, bitmap.InfoHeader(), bitmap.Bits(), SRCCOPY);
  canvas.EndRecording();
  return m;
}

TEST(WindowsMetafile, CoordinatesPassThroughTheWorldTransform) {
  auto records = Walk(ToWindowsMetafile(TransformedDrawing()).bytes);
  const auto& fill = Find(records, META_POLYPOLYGON);
  EXPECT_EQ(fill.I16(0), 1) << "one figure";
  EXPECT_EQ(fill.I16(2), 4);
  std::vector<int16_t> points;
  for (size_t i = 0; i < 8; ++i) points.push_back(fill.I16(4 + 2 * i));
  EXPECT_THAT(points, ElementsAre(25, 27, 45, 27, 45, 67, 25, 67));

  const auto& text = Find(records, META_EXTTEXTOUT);
  EXPECT_EQ(text.I16(0), 87) << "y";
  EXPECT_EQ(text.I16(2), 65) << "x";
  EXPECT_EQ(text.I16(4), 5) << "characters";
  EXPECT_EQ(text.I16(6), 0) << "no rectangle";
  EXPECT_THAT(std::vector<uint8_t>(text.params.begin() + 8, text.params.begin() + 13),
              ElementsAre('G', 'r', 0xFC, 0xDF, 'e'))
      << "8-bit text in the system code page";
  for (int i = 0; i < 5; ++i) EXPECT_EQ(text.I16(14 + 2 * i), 10) << "advance " << i << " scaled";

  const auto& font = Find(records, META_CREATEFONTINDIRECT);
  EXPECT_EQ(font.I16(0), -24) << "height scaled";
  EXPECT_EQ(std::string(font.params.begin() + 18, font.params.begin() + 23), "Arial");

  const auto& pen = Find(records, META_CREATEPENINDIRECT);
  EXPECT_EQ(pen.I16(2), 6) << "width scaled";
  EXPECT_EQ(pen.U32(6), Rgb(0, 0, 255));

  const auto& dib = Find(records, META_STRETCHDIB);
  EXPECT_EQ(dib.U32(0), SRCCOPY);
  EXPECT_EQ(dib.I16(6), 2) << "source height";
  EXPECT_EQ(dib.I16(8), 2) << "source width";
  EXPECT_EQ(dib.I16(14), 10) << "destination height";
  EXPECT_EQ(dib.I16(16), 20) << "destination width";
  EXPECT_EQ(dib.I16(18), 127) << "y";
  EXPECT_EQ(dib.I16(20), 105) << "x";
  TBitmap bitmap(2, 2, Rgb(0, 128, 0));
  std::vector<uint8_t> packed = bitmap.InfoHeader();
  packed.insert(packed.end(), bitmap.Bits().begin(), bitmap.Bits().end());
  EXPECT_THAT(std::vector<uint8_t>(dib.params.begin() + 22, dib.params.end()), ElementsAreArray(packed));
}

TEST(WindowsMetafile, CurvesAreFlattenedAndFillsHaveNoOutline) {
  auto records = Walk(ToWindowsMetafile(TransformedDrawing()).bytes);
  const auto& curve = Find(records, META_POLYLINE);
  int count = curve.I16(0);
  EXPECT_GT(count, 8) << "the curve became many short lines";
  EXPECT_EQ(curve.I16(2), 5);
  EXPECT_EQ(curve.I16(4), 7);
  EXPECT_EQ(curve.I16(2 + 4 * (count - 1)), 85) << "ends where the curve ends";
  EXPECT_EQ(curve.I16(4 + 4 * (count - 1)), 7);

  // FILLPATH paints no outline: a pen-less pen around the polygon, then the
  // drawing's own pen again.
  auto functions = Functions(records);
  auto fill = std::find(functions.begin(), functions.end(), META_POLYPOLYGON) - functions.begin();
  ASSERT_GE(fill, 2);
  ASSERT_EQ(records[fill - 1].function, META_SELECTOBJECT);
  uint16_t nullPen = records[fill - 1].I16(0);
  ASSERT_EQ(records[fill + 1].function, META_SELECTOBJECT);
  uint16_t ownPen = records[fill + 1].I16(0);
  EXPECT_NE(nullPen, ownPen);
  int slot = 0;
  for (const auto& r : records) {
    if (r.function != META_CREATEPENINDIRECT && r.function != META_CREATEBRUSHINDIRECT &&
        r.function != META_CREATEFONTINDIRECT)
      continue;
    if (slot == nullPen) EXPECT_EQ(r.I16(0), PS_NULL);
    if (slot == ownPen) EXPECT_EQ(r.U32(6), Rgb(0, 0, 255));
    ++slot;  // nothing was deleted before the fill, so slots are handed out in order
  }
}

TEST(WindowsMetafile, ClipKeepsDrawingInsideTheClipPathsBounds) {
  TMetafile m(200, 200);
  {
    TMetafileCanvas canvas(m);
    HDC dc = canvas.Handle();
    dc->BeginPath();
    dc->MoveToEx({10, 10});
    std::vector<TPointL> clip = {{100, 10}, {100, 100}, {10, 100}};
    dc->PolylineTo(clip);
    dc->CloseFigure();
    dc->EndPath();
    dc->SelectClipPath(RGN_AND);
    auto fill = [&](std::vector<TPointL> corners) {
      dc->BeginPath();
      dc->MoveToEx(corners[0]);
      dc->PolylineTo({corners.begin() + 1, corners.end()});
      dc->EndPath();
      dc->FillPath();
    };
    fill({{20, 20}, {30, 20}, {30, 30}});      // inside: drawn as it is
    fill({{50, 50}, {150, 50}, {150, 150}});   // across the edge: drawn clipped
    fill({{150, 150}, {190, 150}, {190, 190}});  // outside: left out
    dc->ResetClip();
    fill({{150, 150}, {190, 150}, {190, 190}});  // no clip any more
    canvas.EndRecording();
  }
  auto functions = Functions(Walk(ToWindowsMetafile(m).bytes));
  std::vector<uint16_t> drawing(functions.begin() + 3, functions.end());
  std::erase(drawing, META_SELECTOBJECT);
  std::erase(drawing, META_CREATEPENINDIRECT);
  EXPECT_THAT(drawing, ElementsAre(META_POLYPOLYGON, META_SAVEDC, 0x0416, META_POLYPOLYGON, META_RESTOREDC,
                                   META_POLYPOLYGON));
  auto records = Walk(ToWindowsMetafile(m).bytes);
  const auto& clip = Find(records, 0x0416);
  EXPECT_THAT((std::vector<int16_t>{clip.I16(0), clip.I16(2), clip.I16(4), clip.I16(6)}),
              ElementsAre(100, 100, 10, 10))
      << "bottom, right, top, left";
}

TEST(WindowsMetafile, PicturesWiderThan16BitsAreScaledDown) {
  TMetafile m(70000, 100);
  {
    TMetafileCanvas canvas(m);
    HDC dc = canvas.Handle();
    dc->BeginPath();
    dc->MoveToEx({0, 0});
    std::vector<TPointL> line = {{70000, 100}};
    dc->PolylineTo(line);
    dc->EndPath();
    dc->StrokePath(1);
    canvas.EndRecording();
  }
  TWindowsMetafile w = ToWindowsMetafile(m);
  EXPECT_EQ(w.width, 32767);
  EXPECT_EQ(w.height, 47);
  auto records = Walk(w.bytes);
  const auto& line = Find(records, META_POLYLINE);
  EXPECT_EQ(line.I16(6), 32767);
  EXPECT_EQ(line.I16(8), 47);
}

}  // namespace
}  // namespace vs
