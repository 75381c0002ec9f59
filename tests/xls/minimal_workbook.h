#pragma once
// A small, complete BIFF5 workbook stream for tests: the globals a reader
// needs, one worksheet and one LABEL cell in A1.
#include <cstdint>
#include <string>
#include <string_view>

namespace vs::testdata {

// Appends one record: 16-bit number, 16-bit length, then the data.
void AppendBiffRecord(std::string& out, uint16_t number, std::string_view data);

// Little-endian field helpers for building record data.
void AppendU8(std::string& out, uint8_t value);
void AppendU16(std::string& out, uint16_t value);
void AppendU32(std::string& out, uint32_t value);

// The "Book" stream of a one-sheet workbook whose cell A1 holds label (at most
// 255 code page 1252 characters).
std::string MinimalBiff5Workbook(std::string_view label = "Hello", std::string_view sheetName = "Sheet1");

}  // namespace vs::testdata
