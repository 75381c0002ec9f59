#pragma once
// Turning the codes of shown strings into text, for one font. Built once per
// font resource; every string shown in the font goes through the same path,
// whether it was written as a literal or a hex string.
//
// Order for each code: the font's /ToUnicode map; then, for simple fonts,
// the glyph name the code has through /Differences or the base encoding
// (the embedded program's own encoding where the font names none), then
// the name or character the embedded program gives the glyph;
// for composite fonts, the code itself when the font's CMap is a Unicode one,
// else the CID through its character collection; last the code read as a
// code-page 1252 byte.
#include <array>
#include <functional>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/fonts/program_codes.h"
#include "render/text/cmap.h"
#include "resources/core_fonts.h"

namespace vs {

class TqxPDFDictObject;
class TqxPDFObjectStore;
class TqxPDFStreamObject;

// Reads the codes of an embedded font program (ReadProgramCodes), or gives
// nothing; a caller sharing programs between fonts may answer from a cache.
using TProgramCodesReader =
    std::function<std::shared_ptr<const TProgramCodes>(const TqxPDFObjectStore&, const TqxPDFStreamObject&)>;

// The codes of a program stream read directly, up to a size no real
// embedded simple font comes near.
std::shared_ptr<const TProgramCodes> ReadStreamProgramCodes(const TqxPDFObjectStore& store,
                                                            const TqxPDFStreamObject& stream);

class TFontDecoder {
 public:
  // Reads /Subtype, /Encoding (a name, a dictionary with /BaseEncoding and
  // /Differences, or an embedded CMap), /ToUnicode and, for composite fonts,
  // the /CIDSystemInfo of /DescendantFonts, and an embedded simple font's
  // program through readProgram (read directly when empty). Damaged or
  // missing parts are left out; nothing raises.
  static TFontDecoder Build(const TqxPDFObjectStore& store, const TqxPDFDictObject& font,
                            const TProgramCodesReader& readProgram = {});

  // A decoder for tests: a simple font with a base encoding, differences by
  // code and an optional ToUnicode program.
  static TFontDecoder Simple(TBaseEncoding base, std::vector<std::pair<int, std::string>> differences = {},
                             std::string_view toUnicode = {});
  // The codes of an embedded program (ReadProgramCodes); its own encoding
  // is the base where ownEncoding is set.
  void SetProgram(std::shared_ptr<const TProgramCodes> program, bool ownEncoding);

  bool Composite() const { return composite_; }
  // Composite fonts written top to bottom: a CMap named "...-V", or one of
  // /WMode 1.
  bool Vertical() const { return vertical_; }
  // Codes named through the Symbol or dingbat encoding: their text is
  // Unicode, not the bytes a symbol face draws.
  bool SymbolNames() const {
    return !composite_ && (base_ == TBaseEncoding::Symbol || base_ == TBaseEncoding::ZapfDingbats);
  }
  // The codes of a shown string's bytes: one byte each in simple fonts; by
  // the CMap's code-space ranges (two bytes by default) in composite fonts.
  std::vector<TCMap::TCode> Codes(std::string_view bytes) const;
  // The text of one code; never empty for a code that shows something.
  std::u16string Text(uint32_t code) const;
  // The glyph name of a code of a simple font, or empty.
  std::string GlyphName(uint32_t code) const;
  // The CID of a code of a composite font.
  uint32_t Cid(uint32_t code) const;
  // Registry and ordering joined ("AdobeJapan1"), composite fonts only.
  const std::string& Collection() const { return collection_; }

  // The text of a whole string, code by code.
  std::u16string Decode(std::string_view bytes) const;

 private:
  // The text of a code, looked up.
  std::u16string CodeText(uint32_t code) const;

  bool composite_ = false;
  bool vertical_ = false;
  TBaseEncoding base_ = TBaseEncoding::WinAnsi;
  std::vector<std::string> differences_;  // 256 names, empty where none
  std::shared_ptr<const TCMap> toUnicode_;
  std::shared_ptr<const TProgramCodes> program_;  // an embedded simple font's own codes
  bool programEncoding_ = false;                  // its encoding is the base
  std::shared_ptr<const TCMap> encodingCMap_;  // an embedded /Encoding CMap
  bool identity_ = true;                       // Identity-H/V: CID = code
  bool unicodeCodes_ = false;                  // Uni...-UCS2 / -UTF16 CMaps: code = Unicode
  std::string collection_;
  // A simple font's codes, each looked up the first time it is shown; copies
  // of the decoder share them, so a font is decoded by one thread at a time.
  using SimpleTexts = std::array<std::optional<std::u16string>, 256>;
  mutable std::shared_ptr<SimpleTexts> simpleTexts_;
};

}  // namespace vs
