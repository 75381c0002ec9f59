#include "xls/workbook_walker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <fstream>
#include <sstream>

namespace vs::testdata {

namespace {

uint16_t U16At(std::string_view bytes, size_t at) {
  return static_cast<uint16_t>(static_cast<uint8_t>(bytes[at]) | static_cast<uint8_t>(bytes[at + 1]) << 8);
}

uint32_t U32At(std::string_view bytes, size_t at) {
  return U16At(bytes, at) | static_cast<uint32_t>(U16At(bytes, at + 2)) << 16;
}

// Records from at up to and including the next EOF.
std::vector<WalkedRecord> Substream(std::string_view book, size_t at) {
  std::vector<WalkedRecord> records;
  while (true) {
    if (at + 4 > book.size()) {
      ADD_FAILURE() << "substream runs past the end of the book at " << at;
      return records;
    }
    WalkedRecord r;
    r.Number = U16At(book, at);
    const size_t length = U16At(book, at + 2);
    EXPECT_LE(length, 2080u) << "record 0x" << std::hex << r.Number;
    if (at + 4 + length > book.size()) {
      ADD_FAILURE() << "record runs past the end of the book";
      return records;
    }
    r.Data = std::string(book.substr(at + 4, length));
    at += 4 + length;
    records.push_back(std::move(r));
    if (records.back().Number == 0x000A) return records;
  }
}

}  // namespace

uint16_t WalkedRecord::U16(size_t at) const { return at + 2 <= Data.size() ? U16At(Data, at) : 0; }

int WalkedSheet::Count(uint16_t number) const {
  int n = 0;
  for (const WalkedRecord& r : Records) n += r.Number == number;
  return n;
}

const WalkedRecord* WalkedSheet::Find(uint16_t number) const {
  for (const WalkedRecord& r : Records) {
    if (r.Number == number) return &r;
  }
  return nullptr;
}

int WalkedBook::Count(uint16_t number) const {
  int n = 0;
  for (const WalkedRecord& r : Globals) n += r.Number == number;
  return n;
}

std::vector<const WalkedRecord*> WalkedBook::All(uint16_t number) const {
  std::vector<const WalkedRecord*> out;
  for (const WalkedRecord& r : Globals) {
    if (r.Number == number) out.push_back(&r);
  }
  return out;
}

WalkedBook WalkWorkbook(std::string_view file) {
  WalkedBook book;
  if (file.size() < 512 + 4096 || file.substr(0, 4) != "\xD0\xCF\x11\xE0") {
    ADD_FAILURE() << "not a compound file";
    return book;
  }
  // The "Book" stream fills the sectors from 0 on, right after the header.
  const std::string_view stream = file.substr(512);
  book.Globals = Substream(stream, 0);
  EXPECT_FALSE(book.Globals.empty() || book.Globals.front().Number != 0x0809) << "globals without BOF";
  for (const WalkedRecord& bound : book.Globals) {
    if (bound.Number != 0x0085) continue;
    WalkedSheet sheet;
    const uint32_t offset = U32At(bound.Data, 0);
    sheet.Name = bound.Data.substr(7, static_cast<uint8_t>(bound.Data[6]));
    EXPECT_EQ(static_cast<size_t>(static_cast<uint8_t>(bound.Data[6])) + 7, bound.Data.size());
    if (offset + 4 > stream.size() || U16At(stream, offset) != 0x0809) {
      ADD_FAILURE() << "BOUNDSHEET of " << sheet.Name << " does not point at a BOF";
      continue;
    }
    sheet.Records = Substream(stream, offset);
    EXPECT_EQ(sheet.Records.front().U16(2), 0x0010) << sheet.Name << ": not a worksheet BOF";
    for (const WalkedRecord& r : sheet.Records) {
      if (r.Number == 0x0204) {
        const uint16_t n = r.U16(6);
        EXPECT_EQ(r.Data.size(), 8u + n);
        sheet.Cells.push_back({r.U16(0), r.U16(2), r.U16(4), r.Data.substr(8, n)});
      } else if (r.Number == 0x0203) {
        EXPECT_EQ(r.Data.size(), 14u);
        uint64_t bits = U32At(r.Data, 6) | static_cast<uint64_t>(U32At(r.Data, 10)) << 32;
        sheet.Cells.push_back({r.U16(0), r.U16(2), r.U16(4), std::bit_cast<double>(bits)});
      }
    }
    const WalkedRecord* dims = sheet.Find(0x0200);
    EXPECT_NE(dims, nullptr) << sheet.Name << " without DIMENSIONS";
    for (const WalkedCell& cell : sheet.Cells) {
      EXPECT_LT(cell.Row, 16384) << sheet.Name;
      EXPECT_LT(cell.Column, 256) << sheet.Name;
      if (dims) {
        EXPECT_TRUE(cell.Row >= dims->U16(0) && cell.Row < dims->U16(2) && cell.Column >= dims->U16(4) &&
                    cell.Column < dims->U16(6))
            << sheet.Name << ": cell " << cell.Row << "," << cell.Column << " outside DIMENSIONS";
      }
    }
    // DIMENSIONS holds exactly the used range.
    if (dims) {
      int firstRow = 0, lastRow = -1, firstColumn = 0, lastColumn = -1;
      for (const WalkedCell& cell : sheet.Cells) {
        if (lastRow < 0) firstRow = lastRow = cell.Row, firstColumn = lastColumn = cell.Column;
        firstRow = std::min(firstRow, cell.Row), lastRow = std::max(lastRow, cell.Row);
        firstColumn = std::min(firstColumn, cell.Column), lastColumn = std::max(lastColumn, cell.Column);
      }
      EXPECT_EQ(dims->U16(0), firstRow) << sheet.Name;
      EXPECT_EQ(dims->U16(2), lastRow + 1) << sheet.Name;
      EXPECT_EQ(dims->U16(4), firstColumn) << sheet.Name;
      EXPECT_EQ(dims->U16(6), lastColumn + 1) << sheet.Name;
    }
    book.Sheets.push_back(std::move(sheet));
  }
  return book;
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace vs::testdata
