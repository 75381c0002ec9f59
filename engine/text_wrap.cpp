#include "engine/text_wrap.h"

namespace vs {

std::vector<std::u16string> WrapText(const std::u16string& text, double width,
                                     const std::function<int(const std::u16string&)>& measure) {
  std::vector<std::u16string> lines;
  std::u16string line;
  const size_t n = text.size();
  size_t i = 0;
  while (i < n) {
    if (text[i] == u'\r' || text[i] == u'\n') {
      i += (text[i] == u'\r' && i + 1 < n && text[i + 1] == u'\n') ? 2 : 1;
      lines.push_back(line + u"\r\n");
      line.clear();
      continue;
    }
    size_t end = i;
    while (end < n && text[end] != u' ' && text[end] != u'\r' && text[end] != u'\n') ++end;
    if (end < n && text[end] == u' ') ++end;
    std::u16string word = text.substr(i, end - i);
    i = end;
    if (measure(line + word) <= width) {
      line += word;
      continue;
    }
    if (!line.empty()) lines.push_back(std::move(line));
    line.clear();
    while (!word.empty() && measure(word) > width) {
      size_t fit = 1;
      while (fit < word.size() && measure(word.substr(0, fit + 1)) <= width) ++fit;
      lines.push_back(word.substr(0, fit));
      word.erase(0, fit);
    }
    line = std::move(word);
  }
  if (!line.empty()) lines.push_back(std::move(line));
  return lines;
}

}  // namespace vs
