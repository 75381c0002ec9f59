// Turns arbitrary bytes into the drawn texts and vertical rules of a page
// and gathers them into cell texts, with the trace on: positions, sizes and
// advances of any value (negative, huge, not finite), characters of any code
// (surrogates, ligatures, accents, blanks) and rules anywhere.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "xls/cell_texts/cell_texts.h"

namespace {

class Reader {
 public:
  Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool Done() const { return at_ >= size_; }
  uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  char16_t Char() { return static_cast<char16_t>(Byte() << 8 | Byte()); }
  // Mostly ordinary page values, sometimes extreme ones.
  double Value() {
    const uint8_t kind = Byte();
    switch (kind) {
      case 0: return std::numeric_limits<double>::quiet_NaN();
      case 1: return std::numeric_limits<double>::infinity();
      case 2: return -1e300;
      case 3: return 1e300;
      case 4: return -static_cast<double>(Byte());
      default: return static_cast<double>((kind - 5) << 8 | Byte()) / 16;
    }
  }

 private:
  const uint8_t* data_;
  size_t size_, at_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Reader in(data, size);
  std::vector<vs::TqxSourceText> texts;
  std::vector<vs::TqxRuling> rulings;
  while (!in.Done() && texts.size() < 4096) {
    if (in.Byte() % 8 == 0) {
      rulings.push_back({in.Value(), in.Value(), in.Value()});
      continue;
    }
    vs::TqxSourceText t{in.Value(), in.Value(), in.Value(), in.Value(), {}, {}};
    const size_t length = in.Byte() % 48;
    for (size_t i = 0; i < length; ++i) {
      const uint8_t kind = in.Byte();
      // Plain letters and digits mostly, so that words and numbers form.
      t.Text += kind < 160 ? static_cast<char16_t>(u' ' + kind % 95) : in.Char();
      t.Advances.push_back(kind % 16 == 0 ? in.Value() : (in.Byte() % 16) * 0.75);
    }
    if (in.Byte() == 0 && !t.Advances.empty()) t.Advances.pop_back();  // an advance missing
    texts.push_back(std::move(t));
  }
  std::vector<std::string> trace;
  size_t beyond = 0;
  std::vector<vs::TqxCellText> cells = vs::CellTextsFromGeometry(texts, rulings, &trace, &beyond);
  for (const vs::TqxCellText& cell : cells) {
    if (cell.Text.size() != cell.Advances.size()) __builtin_trap();
    if (cell.Source < 0 || static_cast<size_t>(cell.Source) >= texts.size()) __builtin_trap();
  }
  return 0;
}
