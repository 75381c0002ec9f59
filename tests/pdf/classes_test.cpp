#include "pdf/classes.h"

#include <gtest/gtest.h>

#include "pdf/errors.h"

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

TEST(ExtMemStream, BigEndianAndAlignment) {
  TqxExtMemStream s;
  s.WriteUInt32BE(0x01020304);
  s.WriteUInt16BE(0xA0B0);
  s.WriteText("z");
  EXPECT_EQ(s.View(), std::string_view("\x01\x02\x03\x04\xA0\xB0z", 7));
  s.SetPosition(0);
  EXPECT_EQ(s.ReadUInt32BE(), 0x01020304u);
  EXPECT_EQ(s.ReadUInt16BE(), 0xA0B0);
  s.Skip(-100);
  EXPECT_EQ(s.Position(), 0);
  s.Skip(100);
  EXPECT_EQ(s.Position(), 7);
  EXPECT_EQ(s.ReadUInt16BE(), 0);  // nothing left: zeros

  struct Case { int size; int appended; };
  for (Case c : {Case{5, 3}, Case{8, 0}, Case{0, 0}, Case{7, 1}}) {
    TqxExtMemStream a(std::string(static_cast<size_t>(c.size), 'x'));
    a.AlignTo4();
    EXPECT_EQ(a.AlignedBytes(), c.appended) << c.size;
    EXPECT_EQ(a.Size(), c.size + c.appended) << c.size;
    if (c.appended) EXPECT_EQ(a.Bytes().back(), 0) << c.size;
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

TEST(WideStrings, PutInsertDeleteOutsideTheList) {
  TWideStrings s;
  s.Add(u"a");
  s.Put(1, u"b");    // appends at Count
  s.Put(5, u"x");    // ignored
  s.Insert(0, u"c");
  s.Insert(9, u"y");  // ignored
  s.Put(2, u"");     // entries may be empty
  ASSERT_EQ(s.Count(), 3);
  EXPECT_EQ(s.Get(0), u"c");
  EXPECT_EQ(s.Get(1), u"a");
  EXPECT_EQ(s.Get(2), u"");
  EXPECT_EQ(s.Get(-1), u"");
  s.Delete(7);
  s.Delete(0);
  EXPECT_EQ(s.Count(), 2);
  EXPECT_EQ(s.Get(0), u"a");
}

}  // namespace vs
