// Dates and times of a .csv of plain values as ISO 8601.
#include <gtest/gtest.h>

#include "xls/writers/csv_dates.h"

namespace vs {
namespace {

TEST(IsoDateTimeText, DatesTimesAndBothByTheirFormat) {
  struct Case {
    double serial;
    const char* code;
    std::optional<std::string> expected;
  };
  const Case cases[] = {
      {45399, "m/d/yyyy", "2024-04-17"},
      {45399, "dd\\.mm\\.yyyy", "2024-04-17"},
      {45399, "[$-409]d mmm yy;@", "2024-04-17"},
      {0.3958333333333333, "h:mm:ss", "09:30:00"},
      {0.3958333333333333, "h:mm AM/PM", "09:30:00"},
      {45399.3958333333333, "yyyy-mm-dd hh:mm", "2024-04-17T09:30:00"},
      {45399.99999999, "m/d/yyyy", "2024-04-18"},  // rounds to the next midnight
      {1, "m/d/yyyy", "1900-01-01"},
      {59, "m/d/yyyy", "1900-02-28"},
      {61, "m/d/yyyy", "1900-03-01"},
      {2958465, "yyyy-mm-dd", "9999-12-31"},
      // Not dates: plain numbers, durations, days that never were, out of range.
      {45399, "0.00", std::nullopt},
      {45399, "General", std::nullopt},
      {45399, "\"day\" 0", std::nullopt},
      {1.5, "[h]:mm", std::nullopt},
      {60, "m/d/yyyy", std::nullopt},
      {0, "m/d/yyyy", std::nullopt},
      {-1, "h:mm", std::nullopt},
      {2958466, "yyyy", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.code) + " " + std::to_string(c.serial));
    EXPECT_EQ(IsoDateTimeText(c.serial, c.code), c.expected);
  }
}

}  // namespace
}  // namespace vs
