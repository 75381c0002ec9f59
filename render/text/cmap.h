#pragma once
// Character maps as PDF fonts carry them: a /ToUnicode stream (codes to
// text) or an embedded /Encoding CMap (codes to CIDs), with the code-space
// ranges that say how many bytes each code takes.
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vs {

class TCMap {
 public:
  // Reads the sections of a CMap program: begincodespacerange, beginbfchar,
  // beginbfrange (a start value or an array of values), begincidchar and
  // begincidrange. Malformed entries are skipped; ranges beyond 65536 codes
  // and reversed ranges are ignored. Never raises.
  static TCMap Parse(std::string_view program);

  // The text of a code (one or more UTF-16 units), or nothing.
  std::optional<std::u16string> Unicode(uint32_t code) const;
  // The CID of a code, or -1.
  int32_t Cid(uint32_t code) const;

  bool HasUnicode() const { return !unicode_.empty() || !unicodeRanges_.empty(); }
  bool HasCodeSpace() const;

  // Splits bytes into codes by the code-space ranges: at each position the
  // shortest range that matches the next bytes decides; bytes no range
  // matches are taken one at a time. Without ranges every code has
  // defaultBytes bytes (a short last code is padded with zeros).
  struct TCode {
    uint32_t Code;
    int Bytes;
  };
  std::vector<TCode> SplitCodes(std::string_view bytes, int defaultBytes) const;

 private:
  void Finish();

  // Whether the code space holds the value as a code of this many bytes.
  bool InCodeSpace(int bytes, uint32_t value) const;

  struct CodeRange {
    uint32_t Low, High;
  };
  struct UnicodeRange {
    uint32_t Low, High;
    std::u16string First;                // start value, last unit increasing
    std::vector<std::u16string> Values;  // or one value per code
  };
  struct CidRange {
    uint32_t Low, High;
    int32_t First;
  };
  // Code-space ranges by byte count (one to four), sorted and merged so
  // that a lookup is one binary search however many ranges a CMap lists.
  std::array<std::vector<CodeRange>, 4> codeSpace_;
  std::map<uint32_t, std::u16string> unicode_;
  std::vector<UnicodeRange> unicodeRanges_;
  std::vector<CidRange> cidRanges_;
};

// UTF-16 units of hex digits, four to a unit ("00660069" -> "fi"); a last
// group of one to three digits is one unit.
std::u16string HexToUnits(std::string_view hex);

}  // namespace vs
