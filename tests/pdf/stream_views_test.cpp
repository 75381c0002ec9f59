#include <gtest/gtest.h>

#include "pdf/errors.h"
#include "pdf/object_list.h"
#include "pdf/stream_views.h"
#include "platform/stream.h"

namespace vs {

TEST(RandomAccessFilter, LookAheadPeekAndSeek) {
  TMemoryStream source("abcd");
  TqxRandomAccessFilter f(&source);
  EXPECT_EQ(f.Size(), 4);
  f.SetPosition(2);
  EXPECT_EQ(f.Peek(4), "cd");  // fewer bytes at the end, position kept
  EXPECT_EQ(f.Position(), 2);
  f.SetPosition(3);
  EXPECT_EQ(f.LookAhead(), 'd');
  EXPECT_TRUE(f.AtEnd());
  EXPECT_EQ(f.ReadByte(), 'd');  // the look-ahead did not consume it
  EXPECT_EQ(f.ReadByte(), -1);
  EXPECT_EQ(f.LookAhead(), -1);
  EXPECT_EQ(f.Position(), 4);
  EXPECT_EQ(f.Seek(-1, SeekOrigin::soCurrent), -1);  // -1 answers -1 and stays
  EXPECT_EQ(f.Position(), 4);
  f.StepBack();
  EXPECT_EQ(f.Position(), 3);
  EXPECT_EQ(f.ReadText(100), "d");
}

TEST(RandomAccessFilter, RefusesWritesAndAbsentSource) {
  EXPECT_THROW(TqxReadOnlyFilter(nullptr), EInvalidStream);
  TMemoryStream source("x");
  TqxReadOnlyFilter f(&source);
  try {
    f.WriteBytes("y");
    FAIL();
  } catch (const EReadError& e) {
    EXPECT_STREQ(e.what(), "A write-only filter cannot read");
  }
}

TEST(ObjectList, GrowthLookupAndErrors) {
  TqxObjectList list;
  int values[3];
  // Capacity steps: +4 while at most 8, +16 from 9 to 64, then a quarter.
  std::vector<int> capacities;
  for (int i = 0; i < 100; ++i) {
    list.Add(i % 50, &values[i % 3]);
    if (capacities.empty() || capacities.back() != list.Capacity()) capacities.push_back(list.Capacity());
  }
  EXPECT_EQ(capacities, (std::vector<int>{4, 8, 12, 28, 44, 60, 76, 95, 118}));
  EXPECT_EQ(list.IndexOf(7), 7);  // first match wins
  EXPECT_EQ(list.IndexOf(999), -1);
  list.Insert(0, 999, &values[2]);
  EXPECT_EQ(list.Get(0), &values[2]);
  EXPECT_EQ(list.KeyAt(1), 0);

  try {
    list.Insert(0, -5, nullptr);
    FAIL();
  } catch (const EInvalidID& e) {
    EXPECT_STREQ(e.what(), "Invalid unique ID (-5)");
  }
  try {
    list.Get(101);
    FAIL();
  } catch (const EListError& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (101)");
  }
  EXPECT_THROW(list.Get(-1), EListError);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Capacity(), 0);
}

}  // namespace vs
