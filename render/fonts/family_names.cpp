#include "render/fonts/family_names.h"

#include <cctype>

#include "platform/fonts/font_service.h"

namespace vs {
namespace {

std::string Folded(std::string_view s) {
  std::string out;
  for (char c : s)
    if (std::isalnum(static_cast<unsigned char>(c))) out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

bool ContainsNoCase(std::string_view s, std::string_view part) { return Folded(s).find(part) != std::string::npos; }

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

struct Known {
  const char* Folded;  // family name folded: lower case, letters and digits only
  const char* Family;
};
// Exact folded names first; then prefixes, longest first.
constexpr Known kExact[] = {
    {"times", "Times New Roman"},         {"timesroman", "Times New Roman"},
    {"timesnewroman", "Times New Roman"}, {"timesnewromanps", "Times New Roman"},
    {"timesnewromanpsmt", "Times New Roman"}, {"helvetica", "Arial"},
    {"helveticaneue", "Arial"},           {"helv", "Arial"},
    {"arial", "Arial"},                   {"arialmt", "Arial"},
    {"arialps", "Arial"},                 {"arialpsmt", "Arial"},
    {"courier", "Courier New"},           {"couriernew", "Courier New"},
    {"couriernewps", "Courier New"},      {"couriernewpsmt", "Courier New"},
    {"symbol", "Symbol"},                 {"symbolmt", "Symbol"},
    {"symbolps", "Symbol"},               {"symbolpsmt", "Symbol"},
    {"zapfdingbats", "Wingdings 2"},      {"dingbats", "Wingdings 2"},
    {"calibri", "Calibri"},               {"cambria", "Cambria"},
    {"cambriamath", "Cambria"},           {"wingdings", "Wingdings"},
    {"wingdings2", "Wingdings 2"},        {"wingdings3", "Wingdings 3"},
};
constexpr Known kPrefixes[] = {
    {"arialnarrow", "Arial Narrow"},   {"helveticanarrow", "Arial Narrow"},
    {"helveticacondensed", "Arial Narrow"}, {"liberationsansnarrow", "Arial Narrow"},
    {"liberationsans", "Arial"},       {"liberationserif", "Times New Roman"},
    {"liberationmono", "Courier New"}, {"arimo", "Arial"},
    {"tinos", "Times New Roman"},      {"cousine", "Courier New"},
    {"carlito", "Calibri"},            {"caladea", "Cambria"},
    {"calibri", "Calibri"},            {"cambria", "Cambria"},
    {"timesnewroman", "Times New Roman"}, {"couriernew", "Courier New"},
    {"helvetica", "Arial"},            {"arial", "Arial"},
    {"wingdings", "Wingdings"},
};

}  // namespace

TBaseFontName ParseBaseFontName(std::string_view baseFont) {
  TBaseFontName out;
  if (!baseFont.empty() && baseFont[0] == '/') baseFont.remove_prefix(1);
  if (size_t plus = baseFont.find('+'); plus != std::string_view::npos) {
    baseFont.remove_prefix(plus + 1);
    out.Subset = true;
  }
  size_t end = baseFont.find(',');
  if (end == std::string_view::npos) end = baseFont.find('-');
  for (char c : baseFont.substr(0, end))
    if (c != '/') out.Family += c;
  std::string folded = Folded(baseFont);
  bool italic = folded.find("italic") != std::string::npos, bold = folded.find("bold") != std::string::npos;
  out.Bold = bold || folded.find("black") != std::string::npos || folded.find("heavy") != std::string::npos ||
             folded.find("semibold") != std::string::npos || folded.find("demi") != std::string::npos;
  out.Italic = italic || folded.find("oblique") != std::string::npos || folded.find("slanted") != std::string::npos;
  if (end != std::string_view::npos) {
    const std::string style = Folded(baseFont.substr(end + 1));
    auto says = [&](std::initializer_list<std::string_view> words) {
      for (std::string_view word : words)
        if (style.find(word) != std::string::npos) return true;
      return false;
    };
    out.NotBold = !out.Bold && says({"regular", "roman", "book", "light", "thin", "medium", "normal", "plain"});
    out.Upright = !out.Italic && says({"regular", "roman", "upright"});
  }
  // Typesetters' faces say their weight and shape in a short code before
  // the design size: CMBX10 is bold, CMTI10 italic, CMBXTI10 both; the EC
  // faces (SFBX1000) alike.
  const std::string face = Folded(out.Family);
  for (std::string_view family : {"cm", "sf"}) {
    if (!StartsWith(face, family)) continue;
    std::string_view code = std::string_view(face).substr(family.size());
    const size_t digits = code.find_first_of("0123456789");
    if (digits == std::string_view::npos || digits == 0 ||
        code.find_first_not_of("0123456789", digits) != std::string_view::npos)
      continue;
    code = code.substr(0, digits);
    for (std::string_view bold : {"b", "bx", "bxti", "bxsl", "ssbx", "ssbxi", "ttb"})
      if (code == bold) out.Bold = true;
    for (std::string_view italic : {"ti", "sl", "bxti", "bxsl", "ssi", "ssbxi", "mi", "itt"})
      if (code == italic) out.Italic = true;
  }
  if (out.Family == "Monotype Corsiva" || ContainsNoCase(out.Family, "corsiva")) {
    out.Italic = true;
    out.Bold = false;
  }
  return out;
}

std::string SubstituteFontName(std::string_view family, std::string_view fallback) {
  std::string folded = Folded(family);
  for (const Known& k : kExact)
    if (folded == k.Folded) return k.Family;
  for (const Known& k : kPrefixes)
    if (StartsWith(folded, k.Folded)) return k.Family;
  // A family installed here under the same name, written with spaces.
  try {
    for (const std::string& installed : TFontService::Instance().Families()) {
      std::string compact;
      for (char c : installed)
        if (c != ' ') compact += c;
      if (compact == family) return installed;
    }
  } catch (const Exception&) {
  }
  return std::string(fallback);
}

}  // namespace vs
