// Strings drawn one after another along a line: a string that starts where
// the previous one ended, in the same font and colours, extends its item.
#include <gtest/gtest.h>

#include <string>

#include "tests/engine/metafile/fixture.h"

namespace vs {
namespace {

using namespace vs::testing;
using MetafileTextRuns = ReplayTest;

// EXTTEXTOUTW at a reference point without advances.
std::vector<uint8_t> TextWithoutAdvances(int32_t x, int32_t y, std::u16string_view text) {
  TEmfRecordBuilder b(EMR_EXTTEXTOUTW);
  b.Rect({x, y, x + 100, y + 20}).U32(GM_COMPATIBLE).F32(1).F32(1);
  b.Point({x, y}).U32(static_cast<uint32_t>(text.size())).U32(76).U32(0).Rect({0, 0, -1, -1}).U32(0);
  for (char16_t c : text) b.U16(c);
  b.Align4();
  return b.Finish();
}

// A 16-pixel Arial: strings may start up to 2.6 pixels from where the last one ended.
Records Fonts() {
  return {Font(1, -16), Font(2, -16, u"Times New Roman"), Font(3, -20), Font(4, -16, u"Arial", 0, 700),
          Font(5, -16, u"Arial", 900), Value(EMR_SELECTOBJECT, 1)};
}

TEST_F(MetafileTextRuns, AStringThatStartsWhereTheLastEndedExtendsIt) {
  struct Case {
    const char* name;
    Records between;  // records between "ab" at (100, 200) and "cd"
    int32_t x, y = 200;  // where "cd" is drawn
    bool joins = false;
    uint32_t options = 0;
    bool advances = true;
  } cases[] = {
      {"right after", {}, 120, 200, true},
      {"a small move back", {}, 118, 200, true},
      {"a small move on", {}, 122, 200, true},
      {"a narrow word space", {}, 123},
      {"a word's gap", {}, 126},
      {"over the last string", {}, 110},
      {"another face", {Value(EMR_SELECTOBJECT, 2)}, 120},
      {"another size", {Value(EMR_SELECTOBJECT, 3)}, 120},
      {"bold", {Value(EMR_SELECTOBJECT, 4)}, 120},
      {"turned", {Value(EMR_SELECTOBJECT, 5)}, 120},
      {"another colour", {Value(EMR_SETTEXTCOLOR, 0x0000FF)}, 120},
      {"another background", {Value(EMR_SETBKMODE, TRANSPARENT)}, 120},
      {"another baseline", {}, 120, 201},
      {"a shape between", {TEmfRecordBuilder(EMR_RECTANGLE).Rect({0, 0, 5, 5}).Finish()}, 120},
      {"right-aligned", {Value(EMR_SETTEXTALIGN, 2)}, 140},
      {"right-to-left", {}, 120, 200, false, 0x80},
      {"clipped", {}, 120, 200, false, ETO_CLIPPED},
      {"no advances", {}, 120, 200, false, 0, false},
  };
  for (const Case& c : cases) {
    Records records = Fonts();
    records.push_back(Text(100, 200, u"ab"));
    records.insert(records.end(), c.between.begin(), c.between.end());
    records.push_back(c.advances ? Text(c.x, c.y, u"cd", c.options, {0, 0, 500, 500})
                                 : TextWithoutAdvances(c.x, c.y, u"cd"));
    engine.CurrentItems()->clear();
    Replay(records, 5, 7);
    auto texts = ItemsOf<TqxTextItem>();
    if (!c.joins) {
      ASSERT_EQ(texts.size(), 2u) << c.name;
      EXPECT_EQ(texts[0]->Lines.Get(0), u"ab") << c.name;
      EXPECT_EQ(texts[0]->CharAdvances, (std::vector<double>{10, 10})) << c.name;
      EXPECT_EQ(texts[1]->Lines.Get(0), u"cd") << c.name;
      continue;
    }
    ASSERT_EQ(texts.size(), 1u) << c.name;
    const TqxTextItem& t = *texts[0];
    EXPECT_EQ(t.Lines.Count(), 1) << c.name;
    EXPECT_EQ(t.Lines.Get(0), u"abcd") << c.name;
    EXPECT_EQ(t.X, 105) << c.name << ": the first string's place";
    EXPECT_EQ(t.Y, 207) << c.name;
    // The advances still lead from the first string's start to the second's.
    EXPECT_EQ(t.CharAdvances, (std::vector<double>{10, c.x - 110.0, 10, 10})) << c.name;
  }
}

TEST_F(MetafileTextRuns, ARunKeepsGrowingStringByString) {
  // Each string starts a pixel after the last one ended; the fourth is a word away.
  Records records = Fonts();
  for (int32_t x : {100, 121, 142, 170}) records.push_back(Text(x, 200, u"ab"));
  Replay(records, 0, 0);
  auto texts = ItemsOf<TqxTextItem>();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0]->Lines.Get(0), u"ababab");
  EXPECT_EQ(texts[0]->CharAdvances, (std::vector<double>{10, 11, 10, 11, 10, 10}));
  EXPECT_EQ(texts[1]->Lines.Get(0), u"ab");
}

// With text kept in a list of its own, a shape drawn between two strings
// does not show in that list, yet still ends the run.
TEST(MetafileTextRunsApart, AShapeBetweenEndsTheRunWhenTextIsListedApart) {
  class SplitEngine : public RecordingEngine {
   public:
    SplitEngine() { separateTextList_ = true; }
  } engine;
  engine.ReferencePoint = TqxReferencePoint::rpPage;
  engine.BeginDoc();
  Records records = Fonts();
  records.push_back(Text(100, 200, u"ab"));
  records.push_back(Text(120, 200, u"cd"));
  records.push_back(TEmfRecordBuilder(EMR_RECTANGLE).Rect({0, 0, 5, 5}).Finish());
  records.push_back(Text(140, 200, u"ef"));
  TqxMetafileProcessor processor(engine);
  processor.Process(WrapRecords(records), 0, 0);
  std::vector<std::u16string> shown;
  for (auto& item : *engine.CurrentTexts()) shown.push_back(static_cast<TqxTextItem&>(*item).Lines.Get(0));
  EXPECT_EQ(shown, (std::vector<std::u16string>{u"abcd", u"ef"}));
  engine.EndDoc();
}

}  // namespace
}  // namespace vs
