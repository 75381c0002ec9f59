#include "render/fonts/pdf_font.h"

#include <cmath>

#include "render/fonts/family_names.h"
#include "render/text/check_box_marks.h"
#include "render/text/object_lookup.h"

namespace vs {
namespace {

// Font descriptor marks of a bold or italic face.
constexpr double kBoldWeight = 600;     // /FontWeight: 400 regular, 700 bold
constexpr double kBoldStem = 130;       // /StemV: about 85 in regular faces, 140 in bold ones
constexpr int64_t kForceBoldFlag = 1 << 18;  // /Flags bit 19
constexpr int64_t kItalicFlag = 1 << 6;      // /Flags bit 7
constexpr double kItalicAngle = 5;      // degrees of slant; upright faces give 0

}  // namespace

double TqxPDFFontObject::Advance(uint32_t code) const {
  return Widths.Width(Composite() ? Decoder.Cid(code) : code);
}

double TqxPDFFontObject::SpaceWidth() const {
  double space = Composite() ? 0 : Widths.Width(32);
  return space > 0 ? space : 250;
}

std::unique_ptr<TqxPDFFontObject> LoadFont(const TqxPDFObjectStore& store, std::string_view resourceName,
                                           const TqxPDFDictObject& font, bool checkBoxGlyphs,
                                           const TProgramCodesReader& readProgram) {
  auto f = std::make_unique<TqxPDFFontObject>();
  f->ResourceName = std::string(resourceName);
  if (auto* subtype = LookupAs<TqxPDFNameObject>(store, &font, "/Subtype")) f->Subtype = subtype->Text();
  if (auto* base = LookupAs<TqxPDFNameObject>(store, &font, "/BaseFont")) f->BaseFont = base->Text();
  TBaseFontName name = ParseBaseFontName(f->BaseFont);
  f->FamilyName = name.Family;
  f->Bold = name.Bold;
  f->Italic = name.Italic;

  TqxPDFDictObject* descriptor = DictOf(store, font.Lookup("/FontDescriptor"));
  if (f->Subtype == "/Type0") {
    auto* descendants = LookupAs<TqxPDFArrayObject>(store, &font, "/DescendantFonts");
    TqxPDFDictObject* cidFont = descendants ? DictOf(store, descendants->Item(0)) : nullptr;
    descriptor = cidFont ? DictOf(store, cidFont->Lookup("/FontDescriptor")) : nullptr;
  }
  if (descriptor) {
    bool program = descriptor->Lookup("/FontFile") || descriptor->Lookup("/FontFile2") || descriptor->Lookup("/FontFile3");
    f->Embedding = program ? (name.Subset ? 2 : 1) : 0;
    // The name decides where it speaks. A name silent on the weight leaves
    // it to /FontWeight, or to a forced bold that a heavy stem confirms: a
    // stem alone varies too much between faces (a condensed regular face,
    // or a rewritten one, has stems as heavy as a bold one's). A slant or the
    // italic flag marks an italic face unless its name says it is upright.
    const auto flags = LookupNumber(store, descriptor, "/Flags");
    const int64_t bits = flags && std::isfinite(*flags) && std::fabs(*flags) < 4.3e9 ? static_cast<int64_t>(*flags) : 0;
    if (!name.Bold && !name.NotBold) {
      if (auto weight = LookupNumber(store, descriptor, "/FontWeight")) {
        f->Bold = *weight >= kBoldWeight;
      } else if (bits & kForceBoldFlag) {
        auto stem = LookupNumber(store, descriptor, "/StemV");
        f->Bold = stem && *stem >= kBoldStem;
      }
    }
    if (!name.Italic && !name.Upright) {
      auto angle = LookupNumber(store, descriptor, "/ItalicAngle");
      f->Italic = (bits & kItalicFlag) || (angle && std::fabs(*angle) >= kItalicAngle && std::fabs(*angle) <= 45);
    }
  }

  f->Decoder = TFontDecoder::Build(store, font, readProgram);
  f->Widths = TFontWidths::Build(store, font, f->Decoder, f->Bold, f->Italic);
  if (f->Subtype == "/Type3") {
    // The font matrix scales the widths (see TFontWidths). The glyphs are
    // drawn at the Tf size: their procedures are made for an em of one
    // text-space unit whatever units the matrix maps from.
    f->SizeScale = 1;
    f->WindowsFamily = "Arial";  // a stand-in face: Type 3 glyphs are drawings
  } else {
    f->WindowsFamily = SubstituteFontName(f->FamilyName, checkBoxGlyphs ? kCheckBoxFace : "Arial");
    // Symbols decoded by their names are text ("•", "χ"): drawn in a symbol
    // face, they would read as that face's glyphs of their code bytes. The
    // marks of check boxes keep the dingbat face.
    if (!checkBoxGlyphs && f->Decoder.SymbolNames()) f->WindowsFamily = "Arial";
  }
  return f;
}

}  // namespace vs
