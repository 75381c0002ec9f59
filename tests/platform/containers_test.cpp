#include <gtest/gtest.h>

#include "platform/big_endian_stream.h"
#include "platform/wide_strings.h"

namespace vs {

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
