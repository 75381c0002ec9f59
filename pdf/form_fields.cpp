#include "pdf/form_fields.h"

#include <cmath>
#include <sstream>

#include "pdf/object_store.h"
#include "platform/numbers.h"

namespace vs {

namespace {

std::vector<std::string> Tokens(std::string_view text) {
  std::vector<std::string> tokens;
  std::string token;
  for (char c : text) {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      if (!token.empty()) tokens.push_back(std::move(token));
      token.clear();
    } else {
      token += c;
    }
  }
  if (!token.empty()) tokens.push_back(token);
  return tokens;
}

int FindToken(const std::vector<std::string>& tokens, std::string_view token) {
  for (size_t i = 0; i < tokens.size(); ++i)
    if (tokens[i] == token) return static_cast<int>(i);
  return -1;
}

}  // namespace

std::unique_ptr<TqxFontInfo> TqxFontInfo::Copy() const {
  auto copy = std::make_unique<TqxFontInfo>();
  copy->resource_name = resource_name;
  if (font_reference)
    copy->font_reference.reset(static_cast<TqxPDFIndirectReference*>(font_reference->Clone().release()));
  copy->font = font;
  copy->size = size;
  copy->color_text = color_text;
  return copy;
}

std::unique_ptr<TqxFontInfo> ParseDefaultAppearance(const std::string& text, const TqxPDFDictObject* fonts,
                                                    const TqxPDFObjectStore& store) {
  if (text.empty() || !fonts) return nullptr;
  auto info = std::make_unique<TqxFontInfo>();
  std::vector<std::string> tokens = Tokens(text);
  if (int rg = FindToken(tokens, "rg"); rg >= 3)
    info->color_text = tokens[rg - 3] + " " + tokens[rg - 2] + " " + tokens[rg - 1] + " rg";
  else if (int g = FindToken(tokens, "g"); g >= 1)
    info->color_text = tokens[g - 1] + " g";
  int tf = FindToken(tokens, "Tf");
  if (tf < 2) return info;
  info->resource_name = tokens[tf - 2];
  const auto* reference = As<TqxPDFIndirectReference>(fonts->Lookup(info->resource_name));
  if (!reference) return info;
  info->font_reference.reset(static_cast<TqxPDFIndirectReference*>(reference->Clone().release()));
  info->size = TryParseFloat(tokens[tf - 1]).value_or(0);
  info->font.Size = static_cast<int32_t>(std::nearbyint(info->size));
  const TqxPDFDictObject* font = nullptr;
  try {
    font = store.ResolveDict(const_cast<TqxPDFIndirectReference*>(reference));
  } catch (const Exception&) {
  }
  const auto* base_font = font ? As<TqxPDFNameObject>(font->Lookup("/BaseFont")) : nullptr;
  if (base_font) {
    std::string name = base_font->NameWithoutSlash();
    info->font.Name = name.substr(0, name.find_first_of(",-"));
    info->font.Bold = name.find("Bold") != std::string::npos;
    info->font.Italic = name.find("Italic") != std::string::npos;
  }
  return info;
}

uint32_t ColorFromText(std::string_view text) {
  std::vector<std::string> tokens = Tokens(text);
  std::vector<double> numbers;
  auto component = [](double value) { return static_cast<uint32_t>(std::nearbyint(value * 255)) & 0xFF; };
  for (const std::string& token : tokens) {
    if (token == "rg") {
      if (numbers.size() < 3) return 0;
      size_t n = numbers.size();
      return component(numbers[n - 3]) | component(numbers[n - 2]) << 8 | component(numbers[n - 1]) << 16;
    }
    if (token == "g") {
      if (numbers.empty()) return 0;
      uint32_t gray = component(numbers.back());
      return gray | gray << 8 | gray << 16;
    }
    auto number = TryParseFloat(token);
    if (!number) return 0;
    numbers.push_back(*number);
  }
  return 0;
}

}  // namespace vs
