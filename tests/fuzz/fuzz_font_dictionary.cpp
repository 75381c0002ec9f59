// A font dictionary built from the input: the first bytes choose the font
// kind, encoding and widths, the rest is split into a /ToUnicode (or
// embedded /Encoding CMap) program and a string shown in the font.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "pdf/object_store.h"
#include "pdf/objects.h"
#include "render/fonts/pdf_font.h"
#include "render/text/show_layout.h"

namespace {

using namespace vs;

std::unique_ptr<TqxPDFStreamObject> Stream(std::string_view bytes) {
  return std::make_unique<TqxPDFStreamObject>(std::make_unique<TqxPDFDictObject>(),
                                              std::make_unique<TMemoryStream>(bytes));
}

std::unique_ptr<TqxPDFObject> Number(int32_t value) { return std::make_unique<TqxPDFIntegerObject>(value); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 12) return 0;
  std::string_view input(reinterpret_cast<const char*>(data), size);
  uint8_t kind = data[0], flags = data[1];
  // Ten numbers for /W, /Widths and /Differences, from bytes 2..11.
  int32_t numbers[10];
  for (int i = 0; i < 10; ++i) numbers[i] = static_cast<int8_t>(data[2 + i]) * ((flags & 0x80) ? 65793 : 1);
  std::string_view rest = input.substr(12);
  size_t split = rest.find('\xFF');
  std::string_view program = rest.substr(0, split);
  std::string_view shown = split == std::string_view::npos ? std::string_view() : rest.substr(split + 1);

  TqxPDFObjectStore store;
  TqxPDFDictObject font;
  static const char* kSubtypes[] = {"/Type1", "/TrueType", "/Type3", "/Type0"};
  font.AddName("/Subtype", kSubtypes[kind & 3]);
  static const char* kBases[] = {"/Helvetica", "/ABCDEF+Arial,Bold", "/Symbol", "/Times-Italic"};
  font.AddName("/BaseFont", kBases[(kind >> 2) & 3]);
  if (flags & 1) font.AddObject("/ToUnicode", Stream(program));
  auto array = std::make_unique<TqxPDFArrayObject>();
  for (int32_t n : numbers) array->Add(Number(n));
  if ((kind & 3) == 3) {
    if (flags & 2) font.AddObject("/Encoding", Stream(program));
    else font.AddName("/Encoding", (flags & 4) ? "/Identity-H" : "/UniJIS-UCS2-H");
    auto cidFont = std::make_unique<TqxPDFDictObject>();
    auto info = std::make_unique<TqxPDFDictObject>();
    info->AddObject("/Registry", std::make_unique<TqxPDFStringObject>("(Adobe)"));
    static const char* kOrderings[] = {"(Japan1)", "(GB1)", "(Identity)", "(Korea1)"};
    info->AddObject("/Ordering", std::make_unique<TqxPDFStringObject>(kOrderings[(flags >> 3) & 3]));
    cidFont->AddObject("/CIDSystemInfo", std::move(info));
    if (flags & 0x20) {  // a nested array inside /W
      auto inner = std::make_unique<TqxPDFArrayObject>();
      inner->Add(Number(numbers[0]));
      array->Insert(1, std::move(inner));
    }
    cidFont->AddObject("/W", std::move(array));
    auto descendants = std::make_unique<TqxPDFArrayObject>();
    descendants->Add(std::move(cidFont));
    font.AddObject("/DescendantFonts", std::move(descendants));
  } else {
    font.AddInteger("/FirstChar", numbers[0]);
    if (flags & 0x40) font.AddObject("/Widths", std::move(array));
    auto encoding = std::make_unique<TqxPDFDictObject>();
    encoding->AddName("/BaseEncoding", (flags & 4) ? "/MacRomanEncoding" : "/StandardEncoding");
    auto differences = std::make_unique<TqxPDFArrayObject>();
    differences->Add(Number(numbers[1]));
    differences->Add(std::make_unique<TqxPDFNameObject>("/f_f_i.alt"));
    differences->Add(std::make_unique<TqxPDFNameObject>("/uni00410042"));
    differences->Add(Number(numbers[2]));
    differences->Add(std::make_unique<TqxPDFNameObject>("/u1F600"));
    encoding->AddObject("/Differences", std::move(differences));
    font.AddObject("/Encoding", std::move(encoding));
    if ((kind & 3) == 2) {
      auto matrix = std::make_unique<TqxPDFArrayObject>();
      for (int i = 0; i < 6; ++i) matrix->Add(std::make_unique<TqxPDFRealObject>(numbers[3 + i] / 1000.0));
      font.AddObject("/FontMatrix", std::move(matrix));
    }
  }

  auto record = LoadFont(store, "/F1", font);
  TTextParams params{12, 0.5, 1, 1};
  std::vector<TShowPiece> pieces = {{false, 0, std::string(shown)}, {true, -4000, {}}, {false, 0, std::string(program.substr(0, 64))}};
  (void)LayOutText(*record, params, pieces);
  (void)record->Decoder.Decode(shown);
  return 0;
}
