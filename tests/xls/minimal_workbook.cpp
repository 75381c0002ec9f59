#include "xls/minimal_workbook.h"

#include <initializer_list>

namespace vs::testdata {

namespace {

constexpr uint16_t kBof = 0x0809;
constexpr uint16_t kEof = 0x000A;

std::string Bof(uint16_t version, uint16_t type) {
  std::string data;
  AppendU16(data, version);
  AppendU16(data, type);
  AppendU16(data, 0x126B);  // build
  AppendU16(data, 0x07CC);  // year
  return data;
}

std::string Words(std::initializer_list<uint16_t> values) {
  std::string data;
  for (uint16_t v : values) AppendU16(data, v);
  return data;
}

// MS Sans Serif 8 pt, regular, automatic colour.
std::string DefaultFont() {
  const std::string_view face = "MS Sans Serif";
  std::string data = Words({160, 0, 0x7FFF, 400, 0});
  AppendU8(data, 0);  // underline
  AppendU8(data, 0);  // family
  AppendU8(data, 0);  // character set
  AppendU8(data, 0);
  AppendU8(data, static_cast<uint8_t>(face.size()));
  data += face;
  return data;
}

std::string Globals(std::string_view sheetName, uint32_t sheetOffset) {
  std::string out;
  AppendBiffRecord(out, kBof, Bof(0x0500, 0x0005));
  AppendBiffRecord(out, 0x0042, Words({1252}));  // CODEPAGE
  AppendBiffRecord(out, 0x003D, Words({0, 0x0069, 0x339F, 0x1B5D, 0x0038, 0, 0, 1, 0x0258}));  // WINDOW1
  for (int i = 0; i < 4; ++i) AppendBiffRecord(out, 0x0031, DefaultFont());
  const std::string styleXf("\x00\x00\x00\x00\xF5\xFF\x20\xF4\xC0\x00\x00\x00\x00\x00\x00\x00", 16);
  for (int i = 0; i < 15; ++i) AppendBiffRecord(out, 0x00E0, styleXf);
  // XF 15: the cell format of every cell here (font 0, General, left to the reader).
  const std::string cellXf("\x00\x00\x00\x00\x01\x00\x00\x00\xC0\x20\x00\x00\x00\x00\x00\x00", 16);
  AppendBiffRecord(out, 0x00E0, cellXf);
  AppendBiffRecord(out, 0x0293, std::string("\x00\x80\x00\xFF", 4));  // STYLE "Normal"
  std::string boundSheet;
  AppendU32(boundSheet, sheetOffset);
  AppendU16(boundSheet, 0);  // visible worksheet
  AppendU8(boundSheet, static_cast<uint8_t>(sheetName.size()));
  boundSheet += sheetName;
  AppendBiffRecord(out, 0x0085, boundSheet);
  AppendBiffRecord(out, kEof, {});
  return out;
}

std::string Worksheet(std::string_view label) {
  std::string out;
  AppendBiffRecord(out, kBof, Bof(0x0000, 0x0010));
  AppendBiffRecord(out, 0x0200, Words({0, 1, 0, 1, 0}));                    // DIMENSIONS
  AppendBiffRecord(out, 0x023E, Words({0x02B6, 0, 0, 0, 0}));               // WINDOW2
  std::string cell = Words({0, 0, 15, static_cast<uint16_t>(label.size())});  // LABEL at A1
  cell += label;
  AppendBiffRecord(out, 0x0204, cell);
  AppendBiffRecord(out, kEof, {});
  return out;
}

}  // namespace

void AppendU8(std::string& out, uint8_t value) { out += static_cast<char>(value); }

void AppendU16(std::string& out, uint16_t value) {
  AppendU8(out, static_cast<uint8_t>(value));
  AppendU8(out, static_cast<uint8_t>(value >> 8));
}

void AppendU32(std::string& out, uint32_t value) {
  AppendU16(out, static_cast<uint16_t>(value));
  AppendU16(out, static_cast<uint16_t>(value >> 16));
}

void AppendBiffRecord(std::string& out, uint16_t number, std::string_view data) {
  AppendU16(out, number);
  AppendU16(out, static_cast<uint16_t>(data.size()));
  out += data;
}

std::string MinimalBiff5Workbook(std::string_view label, std::string_view sheetName) {
  // The sheet directory points at the worksheet's BOF, which follows the
  // globals; their size does not depend on the offset written into them.
  const uint32_t globalsSize = static_cast<uint32_t>(Globals(sheetName, 0).size());
  return Globals(sheetName, globalsSize) + Worksheet(label.substr(0, 255));
}

}  // namespace vs::testdata
