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
// Program bytes kept registered for the next page: more than real pages
// share, so that a page of huge programs does not double the peak.
constexpr int64_t kMaxKeptProgramBytes = int64_t{32} << 20;

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
  for (const auto& [stream, program] : programs_) {
    if (program.Handle == 0) continue;
    try {
      TFontService::Instance().UnregisterFont(program.Handle);
    } catch (...) {
    }
  }
}

void TPageFonts::StartPage() {
  int64_t kept = 0;
  for (const auto& [stream, program] : programs_)
    if (program.Used) kept += program.Bytes;
  const bool keepAny = kept <= kMaxKeptProgramBytes;
  // A program that could not be registered is tried again on the next page
  // that needs it, within that page's cap, and so are the dictionaries using it.
  std::erase_if(dicts_, [&](const auto& entry) {
    const DictFonts& fonts = entry.second;
    return !keepAny || !fonts.Used || (fonts.Measure && fonts.Measure->Handle == 0);
  });
  for (auto it = programs_.begin(); it != programs_.end();) {
    Program& program = it->second;
    if (keepAny && program.Used && program.Handle != 0) {
      program.Used = false;
      ++it;
      continue;
    }
    if (program.Handle != 0) TFontService::Instance().UnregisterFont(program.Handle);
    it = programs_.erase(it);
  }
  for (auto& [dict, fonts] : dicts_) fonts.Used = false;
  programBytes_ = 0;
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

void TPageFonts::Use(DictFonts& fonts) {
  fonts.Used = true;
  if (fonts.Measure) fonts.Measure->Used = true;
}

std::shared_ptr<const TqxSelectedFont> TPageFonts::Select(const TqxPDFObjectStore& store,
                                                          const std::string& resourceName,
                                                          const TqxPDFDictObject& dict, bool checkBoxGlyphs) {
  auto known = dicts_.find(&dict);
  if (known != dicts_.end()) {
    Use(known->second);
    if (const auto& selected = known->second.Selected[checkBoxGlyphs]) return selected;
  }
  std::shared_ptr<const TqxPDFFontObject> font = LoadFont(store, resourceName, dict, checkBoxGlyphs);
  if (known == dicts_.end()) {
    DictFonts fonts;
    if (font->Subtype != "/Type3") fonts.Measure = RegisterEmbedded(store, dict);
    known = dicts_.emplace(&dict, std::move(fonts)).first;
    Use(known->second);
  }
  const Program* measure = known->second.Measure;
  auto selected = Make(std::move(font), measure ? measure->Family : std::string());
  known->second.Selected[checkBoxGlyphs] = selected;
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

TPageFonts::Program* TPageFonts::RegisterEmbedded(const TqxPDFObjectStore& store, const TqxPDFDictObject& dict) {
  TqxPDFDictObject* descriptor = DescriptorOf(store, dict);
  auto* stream = descriptor ? As<TqxPDFStreamObject>(store.Resolve(descriptor->Lookup("/FontFile2"))) : nullptr;
  if (!stream) return nullptr;
  auto [known, added] = programs_.emplace(stream, Program());
  Program& program = known->second;
  if (!added) return &program;
  // A program that decodes to nothing, or to too much, costs all it may.
  const int64_t limit = std::min(kMaxProgramSize, kMaxProgramBytesPerPage - programBytes_);
  if (limit <= 0) return &program;
  std::string bytes = StreamBytesOrEmpty(store, stream, limit);
  if (static_cast<int64_t>(bytes.size()) > limit) bytes.clear();  // unfiltered data is not bounded by the decoding
  programBytes_ += bytes.empty() ? limit : static_cast<int64_t>(bytes.size());
  if (bytes.empty()) return &program;
  // A name no document can ask for: a subset "Arial" must never stand in
  // for the full face in other text.
  static std::atomic<int> serial{0};
  std::string name = "vs-embedded-" + std::to_string(++serial);
  try {
    auto registered =
        TFontService::Instance().RegisterFont(std::vector<uint8_t>(bytes.begin(), bytes.end()), name);
    if (!registered) return &program;
    program.Handle = registered->Handle;
    program.Family = registered->Family;
    program.Bytes = static_cast<int64_t>(bytes.size());
  } catch (const Exception&) {
  }
  return &program;
}

std::vector<std::string> TPageFonts::RegisteredNames() const {
  std::vector<std::string> names;
  for (const auto& [stream, program] : programs_)
    if (program.Handle != 0) names.push_back(program.Family);
  return names;
}

}  // namespace vs
