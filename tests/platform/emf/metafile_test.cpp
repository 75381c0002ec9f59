#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/emf/metafile.h"
#include "platform/raster/bitmap.h"
#include "tests/platform/emf/emf_helpers.h"

namespace vs {
namespace {

using ::testing::ElementsAre;
using testing::Body;
using testing::Types;

// A US Letter page at 96 dpi with a little of everything the graphics layer writes.
TMetafile RecordSample() {
  TMetafile m(816, 1056);
  TMetafileCanvas canvas(m);
  HDC dc = canvas.Handle();
  TLogFontW lf;
  lf.height = -16;
  lf.escapement = 900;
  lf.weight = 700;
  lf.faceName = u"Arial";
  uint32_t font = dc->ExtCreateFontIndirectW(lf);
  dc->SelectObject(font);
  std::vector<int32_t> dx = {9, 9};
  dc->ExtTextOutW({100, 200}, u"Hi", dx, {100, 182, 118, 200});
  dc->SelectObject(DEVICE_DEFAULT_FONT);
  dc->DeleteObject(font);
  uint32_t brush = dc->CreateBrushIndirect(BS_SOLID, Rgb(255, 0, 0));
  dc->SelectObject(brush);
  dc->BeginPath();
  dc->MoveToEx({10, 10});
  std::vector<TPointL> line = {{50, 10}, {50, 40000}};
  dc->PolylineTo(line);
  std::vector<TPointL> curve = {{40, 40}, {20, 40}, {10, 10}};
  dc->PolyBezierTo(curve);
  dc->CloseFigure();
  dc->EndPath();
  dc->FillPath();
  canvas.EndRecording();
  return m;
}

TEST(Metafile, HeaderDescribesA96DpiPictureOfTheCanvasSize) {
  TMetafile m = RecordSample();
  EXPECT_EQ(m.Width(), 816);
  EXPECT_EQ(m.Height(), 1056);
  TEmrHeader h = m.Header();
  EXPECT_EQ(h.signature, kEmfSignature);
  EXPECT_EQ(h.version, 0x10000u);
  EXPECT_EQ(h.bytes, m.Bytes().size());
  EXPECT_EQ(h.records, m.Records().size());
  EXPECT_EQ(h.handles, 2) << "one index in use at a time; index 0 is reserved";
  EXPECT_EQ(h.frame, (TRectL{0, 0, 21590, 27940})) << "8.5 x 11 inches in .01 mm";
  EXPECT_EQ(h.bounds, (TRectL{10, 10, 118, 40000})) << "what the text and the fill touched";
  // The reference device resolves to 96 pixels per inch both ways.
  EXPECT_NEAR(h.device.cx * 25.4 / h.millimeters.cx, 96.0, 0.1);
  EXPECT_NEAR(h.device.cy * 25.4 / h.millimeters.cy, 96.0, 0.2);
  EXPECT_NEAR(h.device.cy * 25400.0 / h.micrometers.cy, 96.0, 1e-9);
}

TEST(Metafile, RecordedRecordsReadBackInOrder) {
  TMetafile m = RecordSample();
  auto body = Body(m);
  EXPECT_THAT(Types(body),
              ElementsAre(EMR_EXTCREATEFONTINDIRECTW, EMR_SELECTOBJECT, EMR_EXTTEXTOUTW, EMR_SELECTOBJECT,
                          EMR_DELETEOBJECT, EMR_CREATEBRUSHINDIRECT, EMR_SELECTOBJECT, EMR_BEGINPATH,
                          EMR_MOVETOEX, EMR_POLYLINETO, EMR_POLYBEZIERTO16, EMR_CLOSEFIGURE, EMR_ENDPATH,
                          EMR_FILLPATH));
  auto font = ReadExtCreateFontIndirectW(body[0]);
  EXPECT_EQ(font.ihFont, 1u);
  EXPECT_EQ(font.font.faceName, u"Arial");
  EXPECT_EQ(font.font.height, -16);
  EXPECT_EQ(font.font.escapement, 900);
  EXPECT_EQ(font.font.weight, 700);
  auto text = ReadExtTextOut(body[2]);
  EXPECT_EQ(text.text, u"Hi");
  EXPECT_EQ(text.reference, (TPointL{100, 200}));
  EXPECT_THAT(text.dx, ElementsAre(9, 9));
  EXPECT_EQ(ReadCreateBrushIndirect(body[5]).ihBrush, 1u) << "the deleted font's index is reused";
  EXPECT_EQ(ReadPoly(body[9]).points[1], (TPointL{50, 40000})) << "32-bit form when a value does not fit";
  EXPECT_THAT(ReadPoly(body[10]).points, ElementsAre(TPointL{40, 40}, TPointL{20, 40}, TPointL{10, 10}));
  EXPECT_EQ(ReadRect(body[13]), (TRectL{10, 10, 50, 40000}));
}

TEST(Metafile, SavesAndLoadsEmfFiles) {
  TMetafile m = RecordSample();
  auto path = std::filesystem::path(VS_BINARY_DIR) / "metafile_roundtrip.emf";
  m.SaveToFile(path.string());
  TMetafile loaded;
  loaded.LoadFromFile(path.string());
  EXPECT_EQ(loaded.Bytes(), m.Bytes());
  EXPECT_EQ(loaded.Width(), 816);
  EXPECT_EQ(loaded.Height(), 1056);

  TMetafile blank(30, 20);
  TMemoryStream stream;
  blank.SaveToStream(stream);
  stream.SetPosition(0);
  loaded.LoadFromStream(stream);
  EXPECT_EQ(Types(loaded.Records()), (std::vector<uint32_t>{EMR_HEADER, EMR_EOF}));
  EXPECT_EQ(loaded.Header().bounds, (TRectL{0, 0, -1, -1}));
  EXPECT_EQ(loaded.Width(), 30);
}

TEST(Metafile, LoadRejectsWhatIsNotAWholeMetafile) {
  auto bytes = RecordSample().Bytes();
  auto truncated = std::vector<uint8_t>(bytes.begin(), bytes.end() - 40);
  auto badSignature = bytes;
  badSignature[40] = 'X';
  auto longer = bytes;
  longer.insert(longer.end(), 3, 0);  // trailing bytes past the header's size are dropped
  TMetafile m;
  EXPECT_THROW(m.SetBytes(truncated), EMetafileError);
  EXPECT_THROW(m.SetBytes(badSignature), EMetafileError);
  EXPECT_THROW(m.SetBytes({'%', 'P', 'D', 'F', '-', '1', '.', '4'}), EMetafileError);
  EXPECT_THROW(m.SetBytes({}), EMetafileError);
  m.SetBytes(longer);
  EXPECT_EQ(m.Bytes().size(), bytes.size());
}

TEST(Metafile, PlaybackScalesIntoTheRectangleWithItsOwnObjectIndices) {
  TMetafile source = RecordSample();
  TMetafile target(408, 528);
  TMetafileCanvas canvas(target);
  uint32_t pen = canvas.Handle()->CreatePen(PS_SOLID, 1, 0);  // occupies index 1 in the target
  canvas.StretchDraw({10, 20, 418, 548}, source);
  canvas.EndRecording();

  auto body = Body(target);
  ASSERT_GT(body.size(), 4u);
  EXPECT_EQ(body[1].Type(), EMR_SAVEDC);
  ASSERT_EQ(body[2].Type(), EMR_SETWORLDTRANSFORM);
  EXPECT_EQ(ReadSetWorldTransform(body[2]), (TXForm{0.5f, 0, 0, 0.5f, 10, 20}));
  auto font = ReadExtCreateFontIndirectW(body[3]);
  EXPECT_NE(font.ihFont, pen);
  EXPECT_EQ(ReadValue(body[4]), font.ihFont) << "the selection follows the renumbered font";
  EXPECT_EQ(body[body.size() - 2].Type(), EMR_RESTOREDC);
  EXPECT_EQ(static_cast<int32_t>(ReadValue(body[body.size() - 2])), -1);
  EXPECT_EQ(body.back().Type(), EMR_DELETEOBJECT) << "the brush the source left alive is deleted";
  EXPECT_EQ(target.Header().bounds, (TRectL{15, 25, 69, 20020}));
}

TEST(Metafile, RecordingEndsOnce) {
  TMetafile m(10, 10);
  TMetafileCanvas canvas(m);
  canvas.Handle()->SaveDC();
  canvas.EndRecording();
  canvas.EndRecording();
  EXPECT_FALSE(canvas.Recording());
  EXPECT_THROW(canvas.Handle()->SaveDC(), EMetafileError);
  EXPECT_EQ(Types(Body(m)), (std::vector<uint32_t>{EMR_SAVEDC}));
}

}  // namespace
}  // namespace vs
