#include "render/text/font_decoder.h"

#include <cmath>

#include "platform/codepage.h"
#include "render/text/glyph_names.h"
#include "render/text/object_lookup.h"
#include "render/text/unicode_cids.h"
#include "resources/collections.h"

namespace vs {
namespace {

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

// Base font names whose glyphs are not letters: their codes name symbols.
std::optional<TBaseEncoding> SymbolEncodingOf(std::string_view baseFont) {
  if (size_t plus = baseFont.find('+'); plus != std::string_view::npos) baseFont.remove_prefix(plus + 1);
  if (StartsWith(baseFont, "Symbol")) return TBaseEncoding::Symbol;
  if (StartsWith(baseFont, "ZapfDingbats") || StartsWith(baseFont, "Dingbats")) return TBaseEncoding::ZapfDingbats;
  return std::nullopt;
}

std::vector<std::string> ReadDifferences(const TqxPDFObjectStore& store, const TqxPDFDictObject* encoding) {
  std::vector<std::string> names;
  auto* differences = LookupAs<TqxPDFArrayObject>(store, encoding, "/Differences");
  if (!differences) return names;
  names.resize(256);
  int64_t code = 0;
  for (int32_t i = 0; i < differences->Count(); ++i) {
    TqxPDFObject* item = store.Resolve(differences->Item(i));
    if (auto value = IntegerValueOf(item)) {
      code = *value;
    } else if (auto* name = As<TqxPDFNameObject>(item)) {
      if (code >= 0 && code < 256) names[static_cast<size_t>(code)] = name->NameWithoutSlash();
      ++code;
    }
  }
  return names;
}

// Programs larger than this are not read for their codes; no real embedded
// simple font comes near it.
constexpr int64_t kMaxProgramSize = int64_t{16} << 20;

// The embedded program of a simple font, and whether its own encoding is
// the base: where the font names no base encoding (a TrueType font's
// symbol or Macintosh cmap only where the font is marked symbolic or has no
// Unicode cmap to find glyphs by their standard names).
void ReadProgram(const TqxPDFObjectStore& store, const TqxPDFDictObject& font, bool namedBase,
                 const TProgramCodesReader& readProgram, TFontDecoder& d) {
  TqxPDFDictObject* descriptor = DictOf(store, font.Lookup("/FontDescriptor"));
  TqxPDFStreamObject* stream = nullptr;
  bool trueType = false;
  for (std::string_view key : {"/FontFile", "/FontFile2", "/FontFile3"}) {
    if (auto* s = LookupAs<TqxPDFStreamObject>(store, descriptor, key)) {
      stream = s;
      trueType = key == "/FontFile2";
      break;
    }
  }
  if (!stream) return;
  auto codes = readProgram ? readProgram(store, *stream) : ReadStreamProgramCodes(store, *stream);
  if (!codes) return;
  const auto flags = LookupNumber(store, descriptor, "/Flags");
  const bool symbolic = flags && std::isfinite(*flags) && (static_cast<int64_t>(std::fmod(*flags, 4294967296.0)) & 4);
  d.SetProgram(codes, codes->OwnEncoding && !namedBase && (!trueType || symbolic || !codes->UnicodeCmap));
}

// A CMap program's "/WMode 1 def".
bool WritesVertically(std::string_view program) {
  const size_t at = program.find("/WMode");
  if (at == std::string_view::npos) return false;
  const size_t value = program.find_first_not_of(" \t\r\n", at + 6);
  return value != std::string_view::npos && program[value] == '1';
}

std::shared_ptr<const TCMap> ReadCMap(const TqxPDFObjectStore& store, TqxPDFObject* object) {
  auto* stream = As<TqxPDFStreamObject>(store.Resolve(object));
  if (!stream) return nullptr;
  std::string program = StreamBytesOrEmpty(store, stream);
  if (program.empty()) return nullptr;
  return std::make_shared<const TCMap>(TCMap::Parse(program));
}

}  // namespace

std::shared_ptr<const TProgramCodes> ReadStreamProgramCodes(const TqxPDFObjectStore& store,
                                                            const TqxPDFStreamObject& stream) {
  std::string bytes = StreamBytesOrEmpty(store, &stream, kMaxProgramSize);
  if (bytes.empty() || static_cast<int64_t>(bytes.size()) > kMaxProgramSize) return nullptr;
  auto codes = ReadProgramCodes(bytes);
  return codes ? std::make_shared<const TProgramCodes>(std::move(*codes)) : nullptr;
}

TFontDecoder TFontDecoder::Build(const TqxPDFObjectStore& store, const TqxPDFDictObject& font,
                                 const TProgramCodesReader& readProgram) {
  TFontDecoder d;
  std::string subtype = LookupName(store, &font, "/Subtype");
  std::string baseFont = LookupName(store, &font, "/BaseFont");
  d.composite_ = subtype == "Type0";
  d.toUnicode_ = ReadCMap(store, font.Lookup("/ToUnicode"));
  if (d.toUnicode_ && !d.toUnicode_->HasUnicode()) d.toUnicode_.reset();

  TqxPDFObject* encoding = store.Resolve(font.Lookup("/Encoding"));
  if (d.composite_) {
    if (auto* name = As<TqxPDFNameObject>(encoding)) {
      std::string cmap = name->NameWithoutSlash();
      d.identity_ = StartsWith(cmap, "Identity");
      d.unicodeCodes_ = StartsWith(cmap, "Uni") && (cmap.find("UCS2") != std::string::npos || cmap.find("UTF16") != std::string::npos);
      d.vertical_ = cmap.size() > 2 && cmap.substr(cmap.size() - 2) == "-V";
    } else if (auto* stream = As<TqxPDFStreamObject>(encoding)) {
      d.encodingCMap_ = ReadCMap(store, encoding);
      d.identity_ = false;
      d.vertical_ = LookupNumber(store, stream->Dictionary(), "/WMode").value_or(0) == 1 ||
                    WritesVertically(StreamBytesOrEmpty(store, stream));
    }
    if (auto* descendants = LookupAs<TqxPDFArrayObject>(store, &font, "/DescendantFonts")) {
      TqxPDFDictObject* cidFont = DictOf(store, descendants->Item(0));
      TqxPDFDictObject* info = DictOf(store, cidFont ? cidFont->Lookup("/CIDSystemInfo") : nullptr);
      auto text = [&](std::string_view key) {
        auto* s = LookupAs<TqxPDFStringObject>(store, info, key);
        return s ? s->Content() : std::string();
      };
      d.collection_ = text("/Registry") + text("/Ordering");
    }
    return d;
  }

  bool namedBase = false;
  if (auto symbolic = SymbolEncodingOf(baseFont)) d.base_ = *symbolic;
  if (auto* name = As<TqxPDFNameObject>(encoding)) {
    if (auto base = BaseEncodingByName(name->NameWithoutSlash())) {
      d.base_ = *base;
      namedBase = true;
    }
  } else if (auto* dict = As<TqxPDFDictObject>(encoding)) {
    if (auto base = BaseEncodingByName(LookupName(store, dict, "/BaseEncoding"))) {
      d.base_ = *base;
      namedBase = true;
    }
    d.differences_ = ReadDifferences(store, dict);
  }
  if (subtype != "Type3") ReadProgram(store, font, namedBase, readProgram, d);
  return d;
}

TFontDecoder TFontDecoder::Simple(TBaseEncoding base, std::vector<std::pair<int, std::string>> differences,
                                  std::string_view toUnicode) {
  TFontDecoder d;
  d.base_ = base;
  if (!differences.empty()) {
    d.differences_.resize(256);
    for (auto& [code, name] : differences)
      if (code >= 0 && code < 256) d.differences_[static_cast<size_t>(code)] = name;
  }
  if (!toUnicode.empty()) d.toUnicode_ = std::make_shared<const TCMap>(TCMap::Parse(toUnicode));
  return d;
}

void TFontDecoder::SetProgram(std::shared_ptr<const TProgramCodes> program, bool ownEncoding) {
  program_ = std::move(program);
  programEncoding_ = program_ && ownEncoding;
  simpleTexts_.reset();
}

std::vector<TCMap::TCode> TFontDecoder::Codes(std::string_view bytes) const {
  if (!composite_) return TCMap().SplitCodes(bytes, 1);
  if (encodingCMap_) return encodingCMap_->SplitCodes(bytes, 2);
  return TCMap().SplitCodes(bytes, 2);
}

std::string TFontDecoder::GlyphName(uint32_t code) const {
  if (composite_ || code > 255) return {};
  if (!differences_.empty() && !differences_[code].empty()) return differences_[code];
  if (programEncoding_ && !program_->Names[code].empty()) return program_->Names[code];
  const char* name = EncodingGlyphName(base_, static_cast<uint8_t>(code));
  return name ? name : std::string();
}

uint32_t TFontDecoder::Cid(uint32_t code) const {
  if (encodingCMap_) {
    int32_t cid = encodingCMap_->Cid(code);
    return cid >= 0 ? static_cast<uint32_t>(cid) : 0;
  }
  if (unicodeCodes_) return UnicodeToCid(collection_, code);
  return code;
}

std::u16string TFontDecoder::Text(uint32_t code) const {
  // Composite fonts keep the private-use range: their own characters live there.
  if (composite_ || code > 255) return CodeText(code);
  auto lookUp = [&] {
    std::u16string text = CodeText(code);
    FoldSmallForms(text);
    return text;
  };
  if (!simpleTexts_) simpleTexts_ = std::make_shared<SimpleTexts>();
  std::optional<std::u16string>& text = (*simpleTexts_)[code];
  if (!text) text = lookUp();
  return *text;
}

std::u16string TFontDecoder::CodeText(uint32_t code) const {
  std::u16string unnamed;  // what the ToUnicode map gives when the glyph name says nothing more
  if (toUnicode_) {
    if (auto text = toUnicode_->Unicode(code); text && !text->empty()) {
      // Controls of 0x80 to 0x9F are the code page's characters of those
      // bytes, written by producers that took it for Latin-1 ("\x92" is "’").
      for (char16_t& c : *text) {
        if (c >= 0x80 && c <= 0x9F) c = AnsiToWideChar(static_cast<unsigned char>(c));
      }
      // A glyph the map leaves empty (a ligature, often) may still have a name.
      if (text->find_first_not_of(u'\0') != std::u16string::npos || composite_) return *text;
      unnamed = *text;
    }
  }
  if (composite_) {
    if (unicodeCodes_) return std::u16string(1, static_cast<char16_t>(code));
    if (identity_ || encodingCMap_) {
      std::u16string text = CollectionCidToUnicode(collection_, Cid(code));
      if (!text.empty()) return text;
    }
    return std::u16string(1, static_cast<char16_t>(code));
  }
  std::string name = GlyphName(code);
  // The dingbat names a1, a2, ... mean dingbats only in the dingbat font;
  // elsewhere (Type 3 fonts name glyphs after their codes) the code decides.
  bool dingbatName = name.size() > 1 && name[0] == 'a' &&
                     name.find_first_not_of("0123456789", 1) == std::string::npos;
  if (!name.empty() && (!dingbatName || base_ == TBaseEncoding::ZapfDingbats)) {
    std::u16string text = GlyphNameToUnicode(name);
    if (!text.empty()) return text;
  }
  // A code the file leaves unnamed ("fi" drawn by a code of no encoding)
  // may be named by the program that draws it.
  if (program_) {
    if (const std::string& own = program_->Names[code]; !own.empty() && own != name) {
      std::u16string text = GlyphNameToUnicode(own);
      if (!text.empty()) return text;
    }
    if (char32_t c = program_->Unicode[code]; c != 0 && c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF)) {
      if (c < 0x10000) return std::u16string(1, static_cast<char16_t>(c));
      c -= 0x10000;
      return {static_cast<char16_t>(0xD800 + (c >> 10)), static_cast<char16_t>(0xDC00 + (c & 0x3FF))};
    }
  }
  if (!unnamed.empty()) return unnamed;
  return std::u16string(1, AnsiToWideChar(static_cast<unsigned char>(code)));
}

std::u16string TFontDecoder::Decode(std::string_view bytes) const {
  std::u16string text;
  for (const TCMap::TCode& code : Codes(bytes)) text += Text(code.Code);
  return text;
}

}  // namespace vs
