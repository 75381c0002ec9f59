#include "app/conversion/page_selection.h"

#include <gtest/gtest.h>

#include "pdf/errors.h"

namespace vs {
namespace {

std::vector<int32_t> Selected(const PageSelection& selection, int32_t count) {
  std::vector<int32_t> pages;
  for (int32_t page = 1; page <= count; ++page)
    if (selection.Contains(page)) pages.push_back(page);
  return pages;
}

TEST(PageSelection, SelectsThePagesWrittenWithOpenEnds) {
  struct Case {
    const char* text;
    std::vector<int32_t> pages;  // of a 9-page document
  };
  const Case cases[] = {
      {"", {1, 2, 3, 4, 5, 6, 7, 8, 9}},       {"1-3,5,7-", {1, 2, 3, 5, 7, 8, 9}},
      {" 2 - 4 ", {2, 3, 4}},                  {"-2, 9", {1, 2, 9}},
      {"5 3,3", {3, 5}},                       {"8-100", {8, 9}},
      {"1- ,", {1, 2, 3, 4, 5, 6, 7, 8, 9}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    PageSelection selection(c.text);
    EXPECT_EQ(Selected(selection, 9), c.pages);
    EXPECT_EQ(selection.CountIn(9), static_cast<int32_t>(c.pages.size()));
  }
  // An open end costs nothing however long the document.
  EXPECT_TRUE(PageSelection("7-").Contains(2000000000));
}

TEST(PageSelection, RefusesBadItemsAndKnowsItemsPastTheEnd) {
  for (const char* text : {"0", "3-2", "a", "1-b", "1-2-3", "--", "99999999999", "1.5"}) {
    SCOPED_TRACE(text);
    EXPECT_THROW(PageSelection{text}, EInvalidPageError);
  }
  EXPECT_EQ(PageSelection("1,7-").ItemBeyond(5), "7-");
  EXPECT_EQ(PageSelection("4-9").ItemBeyond(5), std::nullopt);
}

TEST(PageSelection, PageWordsNameEveryPageAndTheLast) {
  struct Case {
    const char* text;
    std::vector<int32_t> pages;  // of a 5-page document
  };
  const Case cases[] = {
      {"all", {1, 2, 3, 4, 5}}, {"3-end", {3, 4, 5}}, {"1,z", {1, 5}},
      {"End", {5}},             {"z-z", {5}},         {"-end, 2", {1, 2, 3, 4, 5}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    PageSelection selection(c.text, true);
    std::vector<int32_t> pages;
    for (int32_t page = 1; page <= 5; ++page)
      if (selection.Contains(page, 5)) pages.push_back(page);
    EXPECT_EQ(pages, c.pages);
    EXPECT_EQ(selection.CountIn(5), static_cast<int32_t>(c.pages.size()));
    EXPECT_EQ(selection.ItemBeyond(5), std::nullopt);
  }
  // Words are refused without page words, and backwards or mixed with numbers.
  EXPECT_THROW(PageSelection("end"), EInvalidPageError);
  for (const char* text : {"end-2", "all-3", "0-end", "1-ends", "x"}) {
    SCOPED_TRACE(text);
    EXPECT_THROW(PageSelection(text, true), EInvalidPageError);
  }
  EXPECT_EQ(PageSelection("7-end", true).ItemBeyond(5), "7-end");
}

}  // namespace
}  // namespace vs
