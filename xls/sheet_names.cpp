#include "xls/sheet_names.h"

#include <algorithm>

namespace vs {

namespace {

std::string Folded(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    // Accented letters of code page 1252 fold with their capitals too.
    if (static_cast<unsigned char>(c) >= 0xE0 && static_cast<unsigned char>(c) != 0xF7 &&
        static_cast<unsigned char>(c) != 0xFF) {
      c = static_cast<char>(static_cast<unsigned char>(c) - 32);
    }
  }
  return out;
}

bool Taken(const std::string& name, const std::vector<std::string>& taken) {
  const std::string folded = Folded(name);
  return std::any_of(taken.begin(), taken.end(), [&](const std::string& t) { return Folded(t) == folded; });
}

std::string Sanitised(std::string name) {
  for (char& c : name) {
    if (static_cast<unsigned char>(c) < 32 || std::string_view(":\\/?*[]").find(c) != std::string_view::npos) c = '_';
  }
  if (name.size() > kMaxSheetNameLength) name.resize(kMaxSheetNameLength);
  // Readers take an apostrophe neither first nor last.
  if (!name.empty() && name.front() == '\'') name.front() = '_';
  if (!name.empty() && name.back() == '\'') name.back() = '_';
  if (name.find_first_not_of(' ') == std::string::npos) name.clear();
  return name;
}

}  // namespace

std::string SheetName(std::string requested, int sheetNo, const std::vector<std::string>& taken) {
  std::string name = Sanitised(std::move(requested));
  if (!name.empty() && !Taken(name, taken)) return name;
  const std::string fallback = "Sheet" + std::to_string(sheetNo);
  name = fallback;
  for (int n = 2; Taken(name, taken); ++n) name = fallback + " (" + std::to_string(n) + ")";
  return name;
}

}  // namespace vs
