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

  // A range with count 0 ends the ranges; widths above 8 bytes are refused.
  TqxXRefEntries stopped;
  ReadXRefStreamEntries(data, {1, 2, 1}, {{0, 0}, {1, 1}}, stopped);
  EXPECT_FALSE(stopped.HasStreamEntries());
  EXPECT_THROW(ReadXRefStreamEntries(data, {1, 9, 1}, {{0, 1}}, stopped), ECrossReferenceError);
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

TEST(XRefEntries, ClassicEntryWinsOverStreamEntry) {
  TqxXRefEntries entries;
  entries.SetStreamEntry(4, {1, 500, 0});
  EXPECT_EQ(entries.GetObjectOffset(4), 500);
  entries.SetTableEntry(4, {0, 'n', 4, 900});
  EXPECT_EQ(entries.GetObjectOffset(4), 900);
  entries.SetTableEntry(4, {0, 'n', 4, 0});
  EXPECT_EQ(entries.GetObjectOffset(4), 500);
  EXPECT_EQ(entries.GetObjectOffset(2000000000), 0);
}

}  // namespace
}  // namespace vs
