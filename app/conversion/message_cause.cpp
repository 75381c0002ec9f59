#include "app/conversion/message_cause.h"

#include <cctype>

namespace vs {

std::string ShownCause(std::string text) {
  const auto upper = [](char c) { return std::isupper(static_cast<unsigned char>(c)) != 0; };
  if (!text.empty() && upper(text[0]) && (text.size() == 1 || !upper(text[1])))
    text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
  return text;
}

}  // namespace vs
