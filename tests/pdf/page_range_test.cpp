#include "pdf/page_range.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "pdf/errors.h"

namespace vs {
namespace {

using ::testing::ElementsAre;

TEST(PageRange, ItemsInTheOrderWritten) {
  EXPECT_THAT(ParsePageRange("2-", 5), ElementsAre(2, 3, 4, 5));
  EXPECT_THAT(ParsePageRange("", 3), ElementsAre(1, 2, 3));
  EXPECT_THAT(ParsePageRange("3,1-2", 4), ElementsAre(3, 1, 2));
  EXPECT_THAT(ParsePageRange("4,4", 4), ElementsAre(4, 4));
}

TEST(PageRange, BadItemsNameThemselves) {
  struct Case {
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {"0", "Invalid page number (0)"},
      {"6", "Invalid page number (6)"},
      {"3-2", "Invalid page range (3-2)"},
      {"2-9", "Invalid page range (2-9)"},
      {"x", "Invalid page range (x)"},
      {"1-b", "Invalid page range (1-b)"},
  };
  for (const Case& c : cases) {
    try {
      ParsePageRange(c.text, 5);
      ADD_FAILURE() << c.text;
    } catch (const EInvalidPageError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
}

}  // namespace
}  // namespace vs
