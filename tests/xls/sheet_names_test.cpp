// Worksheet names readers accept.
#include <gtest/gtest.h>

#include "xls/sheet_names.h"

namespace vs {
namespace {

TEST(SheetName, SanitisedShortNonEmptyAndUnique) {
  struct Case {
    std::string requested;
    int sheetNo;
    std::vector<std::string> taken;
    std::string name;
  };
  const Case cases[] = {
      {"Sheet1", 1, {}, "Sheet1"},
      {"Q1: a/b\\c?d*e[f]", 1, {}, "Q1_ a_b_c_d_e_f_"},
      {std::string(40, 'x'), 1, {}, std::string(31, 'x')},
      {"", 3, {}, "Sheet3"},
      {"   ", 3, {}, "Sheet3"},
      {"'quoted'", 1, {}, "_quoted_"},
      {"Totals", 2, {"TOTALS"}, "Sheet2"},
      {"Sheet1", 2, {"Sheet1"}, "Sheet2"},
      // The fallback is checked too.
      {"Sheet1", 2, {"sheet1", "SHEET2"}, "Sheet2 (2)"},
      {"\xE9t\xE9", 2, {"\xC9T\xC9"}, "Sheet2"},
  };
  for (const Case& c : cases) EXPECT_EQ(SheetName(c.requested, c.sheetNo, c.taken), c.name) << c.requested;
}

}  // namespace
}  // namespace vs
