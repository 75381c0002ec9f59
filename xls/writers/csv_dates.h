#pragma once
// Dates and times in a .csv of plain values: ISO 8601 text ("2024-04-17",
// "09:30:00", "2024-04-17T09:30:00") rather than the serial number a
// spreadsheet keeps, which means nothing to other programs.
#include <optional>
#include <string>
#include <string_view>

namespace vs {

// The ISO 8601 text of a serial date-time (days since 1899-12-30, the 1900
// date system) when its number format code shows a date, a time or both;
// nothing for other formats, durations ([h]) and serials outside 1900-9999.
std::optional<std::string> IsoDateTimeText(double serial, std::string_view formatCode);

}  // namespace vs
