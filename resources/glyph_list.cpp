#include "resources/glyph_list.h"

#include <algorithm>

#include "resources/builtin.h"
#include "resources/text_lines.h"

namespace vs {
namespace {

std::string_view NameOf(std::string_view line) { return line.substr(0, line.find(';')); }

}  // namespace

const std::vector<std::string>& GlyphList() {
  static const std::vector<std::string> list = SplitResourceLines(LoadBuiltinText("qxPDFGLYPH"));
  return list;
}

std::string FindGlyph(std::string_view name) {
  const std::vector<std::string>& list = GlyphList();
  auto it = std::lower_bound(list.begin(), list.end(), name,
                             [](const std::string& line, std::string_view n) { return NameOf(line) < n; });
  if (it == list.end() || NameOf(*it) != name || it->find(';') == std::string::npos) return {};
  return it->substr(it->find(';') + 1);
}

}  // namespace vs
