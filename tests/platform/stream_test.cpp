#include "platform/stream.h"

#include <gtest/gtest.h>

namespace vs {

TEST(MemoryStream, ReadWriteSeekAndShortReads) {
  TMemoryStream s;
  s.WriteBytes("hello");
  EXPECT_EQ(s.Size(), 5);
  EXPECT_EQ(s.Seek(-2, SeekOrigin::soEnd), 3);
  char buf[8] = {};
  EXPECT_EQ(s.Read(buf, 8), 2);
  EXPECT_EQ(std::string(buf, 2), "lo");
  EXPECT_EQ(s.Read(buf, 8), 0);
  s.SetPosition(4);
  EXPECT_THROW(s.ReadBuffer(buf, 2), EStreamError);
  EXPECT_EQ(s.Seek(-10, SeekOrigin::soBeginning), 0);
}

TEST(MemoryStream, WritingPastTheEndFillsWithZeros) {
  TMemoryStream s;
  s.SetPosition(3);
  s.WriteBytes("x");
  EXPECT_EQ(s.View(), std::string_view("\0\0\0x", 4));
  s.SetSize(2);
  EXPECT_EQ(s.Position(), 2);
}

TEST(MemoryStream, CopyFromWholeSource) {
  TMemoryStream a("abcdef"), b;
  a.SetPosition(4);
  EXPECT_EQ(b.CopyFrom(a, 0), 6);
  EXPECT_EQ(b.View(), "abcdef");
}

}  // namespace vs
