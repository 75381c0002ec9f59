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
// What the document keeps for later pages: the fonts used last, and their
// programs within a byte budget, so that memory stays flat however long the
// document and however many fonts its pages use.
constexpr size_t kKeptFonts = 64;
constexpr int64_t kKeptProgramBytes = int64_t{32} << 20;

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
  ++page_;
  programBytes_ = 0;
  // The fonts used last are kept, with their programs, within the budgets. A
  // program that could not be registered is tried again on the next page
  // that needs it, within that page's cap, and so are the fonts using it.
  std::vector<DictFonts*> recent;
  for (auto& [dict, fonts] : dicts_) recent.push_back(&fonts);
  std::sort(recent.begin(), recent.end(), [](const DictFonts* a, const DictFonts* b) { return a->LastPage > b->LastPage; });
  for (auto& [stream, program] : programs_) program.Kept = false;
  size_t keptFonts = 0;
  int64_t keptBytes = 0;
  for (DictFonts* fonts : recent) {
    Program* program = fonts->Measure;
    fonts->Kept = keptFonts < kKeptFonts && !(program && program->Handle == 0) &&
                  !(program && !program->Kept && keptBytes + program->Bytes > kKeptProgramBytes);
    if (!fonts->Kept) continue;
    ++keptFonts;
    if (program && !program->Kept) {
      program->Kept = true;
      keptBytes += program->Bytes;
    }
  }
  std::erase_if(dicts_, [](const auto& entry) { return !entry.second.Kept; });
  // The fonts kept hold the codes they use; the rest are read again if needed.
  programCodes_.clear();
  for (auto it = programs_.begin(); it != programs_.end();) {
    if (it->second.Kept) {
      ++it;
      continue;
    }
    if (it->second.Handle != 0) TFontService::Instance().UnregisterFont(it->second.Handle);
    it = programs_.erase(it);
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
  auto known = dicts_.find(&dict);
  if (known != dicts_.end()) {
    known->second.LastPage = page_;
    if (const auto& selected = known->second.Selected[checkBoxGlyphs]) return selected;
  }
  std::shared_ptr<const TqxPDFFontObject> font =
      LoadFont(store, resourceName, dict, checkBoxGlyphs,
               [this](const TqxPDFObjectStore& s, const TqxPDFStreamObject& stream) { return ProgramCodes(s, stream); });
  if (known == dicts_.end()) {
    DictFonts fonts;
    if (font->Subtype != "/Type3") fonts.Measure = RegisterEmbedded(store, dict);
    known = dicts_.emplace(&dict, std::move(fonts)).first;
    known->second.LastPage = page_;
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

std::shared_ptr<const TProgramCodes> TPageFonts::ProgramCodes(const TqxPDFObjectStore& store,
                                                              const TqxPDFStreamObject& stream) {
  auto [known, added] = programCodes_.emplace(&stream, nullptr);
  if (!added) return known->second;
  // Read like a program registered: what fails or is too large costs all it may.
  const int64_t limit = std::min(kMaxProgramSize, kMaxProgramBytesPerPage - programBytes_);
  if (limit <= 0) return nullptr;
  std::string bytes = StreamBytesOrEmpty(store, &stream, limit);
  if (static_cast<int64_t>(bytes.size()) > limit) bytes.clear();
  programBytes_ += bytes.empty() ? limit : static_cast<int64_t>(bytes.size());
  if (bytes.empty()) return nullptr;
  if (auto codes = ReadProgramCodes(bytes)) known->second = std::make_shared<const TProgramCodes>(std::move(*codes));
  return known->second;
}

std::vector<std::string> TPageFonts::RegisteredNames() const {
  std::vector<std::string> names;
  for (const auto& [stream, program] : programs_)
    if (program.Handle != 0) names.push_back(program.Family);
  return names;
}

}  // namespace vs
