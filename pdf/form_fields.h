#pragma once
// The interactive form's fields as the document lists them, and the
// default-appearance texts that give their font and colour.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "pdf/objects.h"

namespace vs {

class TqxPDFObjectStore;

// The font a default appearance names.
struct TqxFieldFont {
  std::string Name;  // face name, up to the first "," or "-" of /BaseFont
  int32_t Size = 0;
  bool Bold = false;
  bool Italic = false;
};

// Font and colour of a default appearance ("/Helv 12 Tf 0 0 1 rg").
struct TqxFontInfo {
  std::string resource_name;
  std::unique_ptr<TqxPDFIndirectReference> font_reference;
  TqxFieldFont font;
  double size = 0;
  std::string color_text;  // "0 0 1 rg" or "0.5 g"

  std::unique_ptr<TqxFontInfo> Copy() const;
};

// The font description of /DA text, or nullptr when the text or the font
// dictionary is absent. The store resolves the font's /BaseFont.
std::unique_ptr<TqxFontInfo> ParseDefaultAppearance(const std::string& text, const TqxPDFDictObject* fonts,
                                                    const TqxPDFObjectStore& store);

// The colour of a colour text as 0x00BBGGRR: "r g b rg" or "gray g"; 0 for
// anything else.
uint32_t ColorFromText(std::string_view text);

enum TqxFieldKind : uint8_t { fkPushButton, fkRadioButton, fkCheckBox, fkText, fkChoice, fkSignature };

struct TqxAcroFormField {
  TqxPDFObjectStore* store = nullptr;          // not owned
  TqxPDFIndirectObject* object = nullptr;      // not owned
  std::string value, full_name, default_value;
  TqxFieldKind kind = fkText;
  std::unique_ptr<TqxFontInfo> font;
  bool read_only = false;
  int32_t annotation_flags = 0;
  bool multiline = false;
  int32_t max_length = 0;
  std::vector<std::string> states;
  int32_t flags = 0;
  uint8_t quadding = 0;
};

}  // namespace vs
