#pragma once
// Reads a workbook file we wrote back into its records, checking on the way
// what every reader relies on: records within 2 080 bytes, each BOUNDSHEET
// pointing at a worksheet's BOF, substreams closed by EOF, cells inside the
// worksheet and inside its DIMENSIONS. Problems are reported as test failures.
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace vs::testdata {

struct WalkedRecord {
  uint16_t Number = 0;
  std::string Data;
  uint16_t U16(size_t at) const;
};

struct WalkedCell {
  int Row = 0, Column = 0, Xf = 0;
  std::variant<std::string, double> Value;  // LABEL text or NUMBER value
};

struct WalkedSheet {
  std::string Name;
  std::vector<WalkedRecord> Records;
  std::vector<WalkedCell> Cells;
  int Count(uint16_t number) const;
  const WalkedRecord* Find(uint16_t number) const;
};

struct WalkedBook {
  std::vector<WalkedRecord> Globals;
  std::vector<WalkedSheet> Sheets;
  int Count(uint16_t number) const;
  std::vector<const WalkedRecord*> All(uint16_t number) const;
};

// file: the whole compound file.
WalkedBook WalkWorkbook(std::string_view file);

std::string ReadWholeFile(const std::string& path);

}  // namespace vs::testdata
