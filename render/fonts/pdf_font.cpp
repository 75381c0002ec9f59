#include "render/fonts/pdf_font.h"

#include <cmath>

#include "render/fonts/family_names.h"
#include "render/text/check_box_marks.h"
#include "render/text/object_lookup.h"

namespace vs {

double TqxPDFFontObject::Advance(uint32_t code) const {
  return Widths.Width(Composite() ? Decoder.Cid(code) : code);
}

double TqxPDFFontObject::SpaceWidth() const {
  double space = Composite() ? 0 : Widths.Width(32);
  return space > 0 ? space : 250;
}

std::unique_ptr<TqxPDFFontObject> LoadFont(const TqxPDFObjectStore& store, std::string_view resourceName,
                                           const TqxPDFDictObject& font, bool checkBoxGlyphs) {
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
    // A heavy stem or weight marks bold faces whose names do not say so.
    if (auto weight = LookupNumber(store, descriptor, "/FontWeight"); weight && *weight >= 600) f->Bold = true;
    if (auto flags = LookupNumber(store, descriptor, "/Flags"); flags && (static_cast<int64_t>(*flags) & 0x40)) f->Italic = true;
  }

  f->Decoder = TFontDecoder::Build(store, font);
  f->Widths = TFontWidths::Build(store, font, f->Decoder, f->Bold, f->Italic);
  if (f->Subtype == "/Type3") {
    // The font matrix scales the widths (see TFontWidths). The glyphs are
    // drawn at the Tf size: their procedures are made for an em of one
    // text-space unit whatever units the matrix maps from.
    f->SizeScale = 1;
    f->WindowsFamily = "Arial";  // a stand-in face: Type 3 glyphs are drawings
  } else {
    f->WindowsFamily = SubstituteFontName(f->FamilyName, checkBoxGlyphs ? kCheckBoxFace : "Arial");
  }
  return f;
}

}  // namespace vs
