#include "resources/collections.h"

#include <map>
#include <memory>
#include <mutex>

#include "resources/builtin.h"
#include "resources/text_lines.h"

namespace vs {
namespace {

// The hex digits of the next <...> group from pos on; false when there is none.
bool NextHexGroup(std::string_view line, size_t& pos, uint32_t& value, size_t& digits) {
  size_t open = line.find('<', pos);
  if (open == std::string_view::npos) return false;
  size_t close = line.find('>', open);
  if (close == std::string_view::npos) return false;
  value = 0;
  digits = 0;
  for (size_t i = open + 1; i < close; ++i) {
    char c = line[i];
    int d = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    if (d < 0) continue;
    if (digits < 8) value = value * 16 + d;
    ++digits;
  }
  pos = close + 1;
  return true;
}

uint32_t NextDecimal(std::string_view line, size_t pos) {
  while (pos < line.size() && (line[pos] < '0' || line[pos] > '9')) ++pos;
  uint32_t value = 0;
  for (; pos < line.size() && line[pos] >= '0' && line[pos] <= '9'; ++pos) value = std::min<uint32_t>(value * 10 + (line[pos] - '0'), 0xFFFFFF);
  return value;
}

// CID to text for one collection, parsed from its "-UCS2" resource.
struct CidTable {
  std::vector<std::u16string> Text;  // indexed by CID
};

std::u16string UnitsOf(std::string_view line, size_t open) {
  std::u16string units;
  size_t close = line.find('>', open);
  if (close == std::string_view::npos) return units;
  uint16_t unit = 0;
  int count = 0;
  for (size_t i = open + 1; i < close; ++i) {
    char c = line[i];
    int d = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    if (d < 0) continue;
    unit = static_cast<uint16_t>(unit * 16 + d);
    if (++count == 4) {
      units.push_back(unit);
      unit = 0;
      count = 0;
    }
  }
  return units;
}

std::unique_ptr<CidTable> LoadCidTable(std::string_view collection) {
  std::string text = LoadBuiltinText(std::string(collection) + "-UCS2");
  auto table = std::make_unique<CidTable>();
  for (const std::string& line : SplitResourceLines(text)) {
    size_t pos = 0, digits = 0;
    uint32_t first = 0, last = 0;
    if (!NextHexGroup(line, pos, first, digits)) continue;
    size_t valueStart = line.find('<', pos);
    size_t afterSecond = pos;
    if (!NextHexGroup(line, afterSecond, last, digits)) continue;
    if (line.find('<', afterSecond) != std::string::npos) {
      valueStart = line.find('<', afterSecond);  // a range: <first> <last> <value>
    } else {
      last = first;  // a single: <cid> <value>
    }
    if (first > 0xFFFF || last > 0xFFFF || last < first) continue;
    std::u16string value = UnitsOf(line, valueStart);
    if (value.empty()) continue;
    if (table->Text.size() <= last) table->Text.resize(last + 1);
    for (uint32_t cid = first; cid <= last; ++cid) {
      table->Text[cid] = value;
      ++value.back();  // consecutive CIDs of a range map to consecutive values
    }
  }
  return table;
}

}  // namespace

TCollectionTable LoadCollection(std::string_view name) {
  TCollectionTable table;
  for (const std::string& line : SplitResourceLines(LoadBuiltinText(name))) {
    size_t pos = 0, digits = 0;
    uint32_t first = 0, last = 0;
    if (!NextHexGroup(line, pos, first, digits)) continue;
    size_t afterFirst = pos;
    bool range = NextHexGroup(line, pos, last, digits);
    if (!range) {
      pos = afterFirst;
      last = first;
    }
    uint32_t cid = NextDecimal(line, pos);
    first = std::min<uint32_t>(first, 0xFFFF);
    last = std::min<uint32_t>(last, 0xFFFF);
    for (uint32_t u = first; u <= last; ++u, ++cid) {
      table.CodePoints.push_back(static_cast<uint16_t>(u));
      table.Cids.push_back(static_cast<uint16_t>(cid));
    }
  }
  return table;
}

std::u16string CollectionCidToUnicode(std::string_view collection, uint32_t cid) {
  if (collection == "AdobeIdentity") return cid <= 0xFFFF ? std::u16string(1, static_cast<char16_t>(cid)) : std::u16string();
  if (collection != "AdobeJapan1" && collection != "AdobeKorea1" && collection != "AdobeCNS1" &&
      collection != "AdobeGB1")
    return {};
  static std::mutex mutex;
  static std::map<std::string, std::unique_ptr<CidTable>, std::less<>> tables;
  std::lock_guard lock(mutex);
  auto it = tables.find(collection);
  if (it == tables.end()) it = tables.emplace(std::string(collection), LoadCidTable(collection)).first;
  const CidTable& table = *it->second;
  return cid < table.Text.size() ? table.Text[cid] : std::u16string();
}

}  // namespace vs
