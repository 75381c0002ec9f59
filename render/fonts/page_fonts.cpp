#include "render/fonts/page_fonts.h"

#include <algorithm>
#include <atomic>

#include "platform/codepage.h"
#include "platform/fonts/font_service.h"
#include "render/text/object_lookup.h"

namespace vs {
namespace {

// Programs larger than this are not registered; no real embedded font comes near it.
constexpr int64_t kMaxProgramSize = int64_t{64} << 20;
// Program bytes one page may decode, all its fonts together.
constexpr int64_t kMaxProgramBytesPerPage = int64_t{256} << 20;

TqxPDFDictObject* DescriptorOf(const TqxPDFObjectStore& store, const TqxPDFDictObject& dict) {
  if (auto* descendants = LookupAs<TqxPDFArrayObject>(store, &dict, "/DescendantFonts")) {
    TqxPDFDictObject* cidFont = DictOf(store, descendants->Item(0));
    return cidFont ? DictOf(store, cidFont->Lookup("/FontDescriptor")) : nullptr;
  }
  return DictOf(store, dict.Lookup("/FontDescriptor"));
}

int StyleOf(const TqxPDFFontObject& font) {
  return (font.Bold ? kFontStyleBold : 0) | (font.Italic ? kFontStyleItalic : 0);
}

}  // namespace

TPageFonts::~TPageFonts() {
  for (int handle : handles_) {
    try {
      TFontService::Instance().UnregisterFont(handle);
    } catch (...) {
    }
  }
}

std::shared_ptr<const TqxSelectedFont> TPageFonts::Make(std::shared_ptr<const TqxPDFFontObject> font,
                                                        const std::string& measureFamily) {
  auto selected = std::make_shared<TqxSelectedFont>();
  selected->Family = Utf8ToWide(font->WindowsFamily);
  selected->MeasureFamily = Utf8ToWide(measureFamily);
  selected->Style = StyleOf(*font);
  try {
    // The line box is placed by the face the records name, whichever face measures.
    TDesignMetrics metrics = TFontService::Instance().DesignMetrics(font->WindowsFamily, selected->Style);
    if (metrics.EmHeight > 0) selected->AscentPerEm = static_cast<double>(metrics.CellAscent) / metrics.EmHeight;
  } catch (const Exception&) {
  }
  selected->Font = std::move(font);
  return selected;
}

std::shared_ptr<const TqxSelectedFont> TPageFonts::Select(const TqxPDFObjectStore& store,
                                                          const std::string& resourceName,
                                                          const TqxPDFDictObject& dict, bool checkBoxGlyphs) {
  auto key = std::make_pair(&dict, checkBoxGlyphs);
  auto it = fonts_.find(key);
  if (it != fonts_.end()) return it->second;
  std::shared_ptr<const TqxPDFFontObject> font = LoadFont(store, resourceName, dict, checkBoxGlyphs);
  auto measure = measureFamilies_.find(&dict);
  if (measure == measureFamilies_.end()) {
    std::string family = font->Subtype == "/Type3" ? std::string() : RegisterEmbedded(store, dict);
    measure = measureFamilies_.emplace(&dict, family).first;
  }
  auto selected = Make(std::move(font), measure->second);
  fonts_.emplace(key, selected);
  return selected;
}

std::shared_ptr<const TqxSelectedFont> TPageFonts::Default() {
  if (!default_) {
    auto font = std::make_shared<TqxPDFFontObject>();
    font->Subtype = "/Type1";
    font->BaseFont = "/Helvetica";
    font->FamilyName = "Helvetica";
    font->WindowsFamily = "Arial";
    font->Decoder = TFontDecoder::Simple(TBaseEncoding::WinAnsi);
    TqxPDFObjectStore store;
    TqxPDFDictObject dict;
    dict.AddName("/BaseFont", "/Helvetica");
    font->Widths = TFontWidths::Build(store, dict, font->Decoder, false, false);
    default_ = Make(std::move(font), {});
  }
  return default_;
}

std::string TPageFonts::RegisterEmbedded(const TqxPDFObjectStore& store, const TqxPDFDictObject& dict) {
  TqxPDFDictObject* descriptor = DescriptorOf(store, dict);
  auto* program = descriptor ? As<TqxPDFStreamObject>(store.Resolve(descriptor->Lookup("/FontFile2"))) : nullptr;
  if (!program) return {};
  auto [known, added] = programs_.emplace(program, std::string());
  if (!added) return known->second;
  // A program that decodes to nothing, or to too much, costs all it may.
  const int64_t limit = std::min(kMaxProgramSize, kMaxProgramBytesPerPage - programBytes_);
  if (limit <= 0) return {};
  std::string bytes = StreamBytesOrEmpty(store, program, limit);
  if (static_cast<int64_t>(bytes.size()) > limit) bytes.clear();  // unfiltered data is not bounded by the decoding
  programBytes_ += bytes.empty() ? limit : static_cast<int64_t>(bytes.size());
  if (bytes.empty()) return {};
  // A name no document can ask for: a subset "Arial" must never stand in
  // for the full face in other text.
  static std::atomic<int> serial{0};
  std::string name = "vs-embedded-" + std::to_string(++serial);
  try {
    auto registered =
        TFontService::Instance().RegisterFont(std::vector<uint8_t>(bytes.begin(), bytes.end()), name);
    if (!registered) return {};
    handles_.push_back(registered->Handle);
    names_.push_back(registered->Family);
    known->second = registered->Family;
    return registered->Family;
  } catch (const Exception&) {
    return {};
  }
}

std::vector<std::string> TPageFonts::RegisteredNames() const { return names_; }

}  // namespace vs
