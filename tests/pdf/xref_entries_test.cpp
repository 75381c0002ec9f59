#include "pdf/xref_entries.h"

#include <gtest/gtest.h>

#include "pdf/errors.h"

namespace vs {
namespace {

TEST(PNGRows, EachTagUndoesItsPrediction) {
  // Two rows of three columns; the second row is predicted from the first.
  struct Case {
    int tag;
    std::string second_raw, expected_second;
  };
  const std::string first("\x00\x0A\x14\x1E", 4);  // tag 0: 10 20 30
  const Case cases[] = {
      {0, "\x01\x02\x03", "\x01\x02\x03"},
      {1, "\x01\x02\x03", "\x01\x03\x06"},              // + left
      {2, "\x01\x02\x03", "\x0B\x16\x21"},              // + above
      {3, "\x01\x02\x03", "\x06\x0F\x19"},              // + (left + above) / 2
      {4, "\x01\x02\x03", "\x0B\x16\x21"},              // Paeth picks above here
      {2, "\xFF\xFF\xFF", "\x09\x13\x1D"},              // sums wrap at 256
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tag);
    std::string data = first + static_cast<char>(c.tag) + c.second_raw;
    EXPECT_EQ(DecodePNGRows(data, 3), std::string("\x0A\x14\x1E", 3) + c.expected_second);
  }
  EXPECT_THROW(DecodePNGRows(std::string("\x05\x00\x00\x00", 4), 3), EImproperPNGAlgorithm);
  EXPECT_EQ(DecodePNGRows(std::string("\x02\x01", 2), 3), "\x01");  // a short last row
}

TEST(XRefStreamEntries, IndexRangesWidthsAndShortData) {
  // /W [1 2 1] /Index [0 2 10 1]: free 0, object 1 at 0x0102, object 10 in stream 7 index 3.
  std::string data("\x00\x00\x00\xFF" "\x01\x01\x02\x00" "\x02\x00\x07\x03", 12);
  TqxXRefEntries entries;
  ReadXRefStreamEntries(data, {1, 2, 1}, {{0, 2}, {10, 1}}, entries);
  ASSERT_NE(entries.StreamEntry(10), nullptr);
  EXPECT_EQ(entries.StreamEntry(0)->type, 0);
  EXPECT_EQ(entries.GetObjectOffset(1), 0x0102);
  EXPECT_EQ(entries.StreamEntry(10)->type, 2);
  EXPECT_EQ(entries.StreamEntry(10)->field2, 7);
  EXPECT_EQ(entries.StreamEntry(10)->field3, 3);
  EXPECT_EQ(entries.StreamSlots(), 11);
  EXPECT_EQ(entries.GetObjectOffset(10), 0);

  // A first width of 0 makes every entry type 1; data that ends early stops reading.
  TqxXRefEntries typed;
  ReadXRefStreamEntries(std::string("\x03\x0A\x03", 3), {0, 2, 0}, {{7, 1}, {9, 1}}, typed);
  EXPECT_EQ(typed.GetObjectOffset(7), 0x030A);
  EXPECT_EQ(typed.StreamEntry(9), nullptr);

  // A range with count 0 is passed over and the ranges after it still
  // count; widths above 8 bytes are refused.
  TqxXRefEntries skipped;
  ReadXRefStreamEntries(data, {1, 2, 1}, {{0, 0}, {5, 2}}, skipped);
  EXPECT_EQ(skipped.StreamEntry(0), nullptr);
  EXPECT_EQ(skipped.GetObjectOffset(6), 0x0102);
  EXPECT_THROW(ReadXRefStreamEntries(data, {1, 9, 1}, {{0, 1}}, skipped), ECrossReferenceError);
}

TEST(XRefStreamEntries, NumbersOutsideThe32BitRangeAreDropped) {
  // Ranges that start near the ends of the 64-bit range, or reach the
  // largest 32-bit number, keep no entry and leave the slot count in range.
  const std::string rows("\x01\x00\x10\x00" "\x01\x00\x20\x00", 8);
  const std::vector<TqxXRefRange> cases[] = {
      {{INT64_MAX, 2}}, {{INT64_MIN, 2}}, {{INT32_MAX - 1, 2}}, {{INT32_MAX, 1}, {5, 1}}};
  for (const auto& ranges : cases) {
    SCOPED_TRACE(ranges.front().first);
    TqxXRefEntries entries;
    ReadXRefStreamEntries(rows, {1, 2, 1}, ranges, entries);
    EXPECT_GE(entries.StreamSlots(), 0);
    EXPECT_EQ(entries.StreamEntry(INT32_MAX), nullptr);
  }
  TqxXRefEntries entries;
  ReadXRefStreamEntries(rows, {1, 2, 1}, {{INT32_MAX - 2, 2}}, entries);
  EXPECT_EQ(entries.StreamSlots(), INT32_MAX);
  EXPECT_EQ(entries.GetObjectOffset(INT32_MAX - 1), 0x20);
}

TEST(XRefEntries, NewestInUseEntryWinsWhateverItsKind) {
  // Entries are set oldest section first; each step names the kind set
  // and the offset object 4 then has.
  struct Step {
    char kind;  // 't' classic, 's' stream type 1, 'c' stream type 2, 'z' stream type 0
    int64_t offset;
    int64_t expected;
  };
  const std::vector<Step> cases[] = {
      {{'s', 500, 500}, {'t', 900, 900}},              // a classic update over a stream base
      {{'t', 900, 900}, {'s', 500, 500}},              // a stream update over a classic base
      {{'t', 900, 900}, {'c', 0, 0}},                  // compressed in the update: no file offset
      {{'s', 500, 500}, {'t', 0, 500}},                // a classic entry without an offset
      {{'t', 900, 900}, {'z', 0, 900}},                // a free stream entry leaves the classic one
  };
  for (const auto& steps : cases) {
    TqxXRefEntries entries;
    for (const Step& step : steps) {
      SCOPED_TRACE(std::string(1, step.kind) + " " + std::to_string(step.offset));
      if (step.kind == 't')
        entries.SetTableEntry(4, {0, 'n', 4, step.offset});
      else
        entries.SetStreamEntry(4, {step.kind == 's' ? 1 : step.kind == 'c' ? 2 : 0, step.offset, 0});
      EXPECT_EQ(entries.GetObjectOffset(4), step.expected);
    }
  }
  TqxXRefEntries entries;
  EXPECT_EQ(entries.GetObjectOffset(2000000000), 0);
}

}  // namespace
}  // namespace vs
