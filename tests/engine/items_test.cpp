#include <gtest/gtest.h>

#include "engine/items/draw_attributes.h"
#include "engine/items/items.h"

namespace vs {
namespace {

TEST(Items, ImageItemFromCornersInAnyOrder) {
  TqxImageItem item(TFloatRect{30, 40, 10, 10});
  EXPECT_DOUBLE_EQ(item.X, 10);
  EXPECT_DOUBLE_EQ(item.Y, 10);
  EXPECT_DOUBLE_EQ(item.Width, 20);
  EXPECT_DOUBLE_EQ(item.Height, 30);
  EXPECT_EQ(item.Bounds, (TFloatRect{10, 10, 30, 40}));
}

TEST(Items, TextRectAndShapePoints) {
  TqxTextItem text;
  text.SetRect(TFloatRect{1, 2, 3, 4});
  text.SetHasRect(true);
  EXPECT_EQ(text.Rect, (TFloatRect{1, 2, 3, 4}));
  text.SetHasRect(false);
  EXPECT_EQ(text.Rect, TFloatRect{});

  TqxShapeItem open;
  EXPECT_FALSE(open.Brush.has_value());
  TqxShapeItem filled(true);
  ASSERT_TRUE(filled.Brush.has_value());
  std::vector<TqxFloatPoint> points{{1, 1}, {2, 2}, {3, 3}};
  filled.SetPoints(points, 1);
  EXPECT_EQ(filled.PointCount, 2);
  filled.SetPoints(points, 9);  // never reads past the points given
  EXPECT_EQ(filled.PointCount, 3);
  filled.SetPoints(points, -1);
  EXPECT_EQ(filled.PointCount, 0);
}

TEST(Graphics, FontSizeFollowsHeight) {
  TFont font;
  EXPECT_EQ(font.Height(), -11);
  EXPECT_EQ(font.Size(), 8);
  font.SetSize(10);
  EXPECT_EQ(font.Height(), -13);
  font.SetHeight(-16);
  EXPECT_EQ(font.Size(), 12);
  EXPECT_EQ(MulDiv(-3, 1, 2), -2);  // halves away from zero
}

}  // namespace
}  // namespace vs
