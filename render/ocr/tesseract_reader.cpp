#include "render/ocr/tesseract_reader.h"

#include <tesseract/baseapi.h>
#include <tesseract/ocrclass.h>
#include <tesseract/resultiterator.h>

// OpenMP, which Tesseract runs on: no parallel region gets a team.
extern "C" void omp_set_max_active_levels(int levels);

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <sstream>
#include <string_view>
#include <utility>

#include "platform/codepage.h"

namespace vs {
namespace {

// Where the Debian packages put the language packs, unless TESSDATA_PREFIX says otherwise.
constexpr const char* kDebianTessdata = "/usr/share/tesseract-ocr/5/tessdata";

std::filesystem::path TessdataFolder() {
  if (const char* prefix = std::getenv("TESSDATA_PREFIX"); prefix && *prefix) return prefix;
  return kDebianTessdata;
}

std::vector<std::string> SplitLanguages(const std::string& languages) {
  std::vector<std::string> list;
  std::stringstream in(languages);
  for (std::string item; std::getline(in, item, '+');)
    if (!item.empty()) list.push_back(item);
  return list;
}

bool SafeName(const std::string& language) {
  for (char c : language)
    if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-')) return false;
  return !language.empty();
}

int64_t ProcessCpuMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return int64_t{now.tv_sec} * 1000 + now.tv_nsec / 1'000'000;
}

// Recognition's cancel check: asked once a word, true once the page has
// used its processor time.
struct CpuBudget {
  int64_t endMilliseconds;
  bool spent;
  static bool Spent(void* self, int) {
    auto* budget = static_cast<CpuBudget*>(self);
    if (ProcessCpuMilliseconds() > budget->endMilliseconds) budget->spent = true;
    return budget->spent;
  }
};

// The wall clock a page may wait, as a multiple of its processor time.
constexpr int kWallClockFactor = 10;

}  // namespace

std::vector<std::string> MissingOcrLanguages(const std::string& languages) {
  std::vector<std::string> missing;
  const std::vector<std::string> list = SplitLanguages(languages);
  if (list.empty()) return {languages};
  std::error_code error;
  for (const std::string& language : list)
    if (!SafeName(language) || !std::filesystem::is_regular_file(TessdataFolder() / (language + ".traineddata"), error))
      missing.push_back(language);
  return missing;
}

std::string OcrLanguagePackage(const std::string& language) {
  std::string name;
  for (char c : language) name += c == '_' ? '-' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return "tesseract-ocr-" + name;
}

std::string DefaultOcrLanguages() {
  // ISO 639-1 codes of locales and the names of their language packs.
  static constexpr std::pair<std::string_view, std::string_view> kPacks[] = {
      {"de", "deu"}, {"fr", "fra"}, {"es", "spa"}, {"it", "ita"}, {"nl", "nld"}, {"pt", "por"},
      {"pl", "pol"}, {"sv", "swe"}, {"da", "dan"}, {"nb", "nor"}, {"no", "nor"}, {"fi", "fin"},
      {"cs", "ces"}, {"sk", "slk"}, {"hu", "hun"}, {"ro", "ron"}, {"hr", "hrv"}, {"sl", "slv"},
      {"el", "ell"}, {"tr", "tur"}, {"ru", "rus"}, {"uk", "ukr"}, {"bg", "bul"}, {"et", "est"},
      {"lv", "lav"}, {"lt", "lit"}, {"ca", "cat"}};
  std::string locale;
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"})
    if (const char* value = std::getenv(name); value && *value) {
      locale = value;
      break;
    }
  const std::string code = locale.substr(0, locale.find_first_of("_.@"));
  for (const auto& [iso, pack] : kPacks)
    if (code == iso && MissingOcrLanguages(std::string(pack)).empty()) return "eng+" + std::string(pack);
  return "eng";
}

struct TqxTesseractReader::Api {
  tesseract::TessBaseAPI tess;
};

TqxTesseractReader::TqxTesseractReader(const std::string& languages) : api_(std::make_unique<Api>()) {
  // Recognition runs on one thread unless the user sets OpenMP's limit: its
  // threads spin against each other and against the files converted side
  // by side, and a page took three times as long on a busy machine.
  if (!std::getenv("OMP_THREAD_LIMIT")) omp_set_max_active_levels(0);
  const std::vector<std::string> missing = MissingOcrLanguages(languages);
  if (!missing.empty())
    throw EOcrError("the OCR language " + missing.front() + " is not installed (Debian package " +
                    OcrLanguagePackage(missing.front()) + ")");
  // Tesseract's own diagnostics would mix with the program's messages.
  api_->tess.SetVariable("debug_file", "/dev/null");
  if (api_->tess.Init(nullptr, languages.c_str(), tesseract::OEM_DEFAULT) != 0)
    throw EOcrError("the OCR languages " + languages + " could not be loaded");
  // Tables are sparse text: words in columns rather than paragraphs.
  api_->tess.SetPageSegMode(tesseract::PSM_SPARSE_TEXT);
  // Gaps between columns must stay gaps, not spaces inside one word.
  api_->tess.SetVariable("preserve_interword_spaces", "1");
}

TqxTesseractReader::~TqxTesseractReader() { api_->tess.End(); }

TqxOcrReading TqxTesseractReader::Read(const TqxGreyImage& image, int milliseconds) {
  TqxOcrReading reading;
  tesseract::TessBaseAPI& tess = api_->tess;
  if (image.Width <= 0 || image.Height <= 0) return reading;
  tess.SetImage(image.Pixels.data(), image.Width, image.Height, 1, image.Width);
  tess.SetSourceResolution(static_cast<int>(image.Dpi));
  // The budget is processor time, so that a busy machine does not cut a
  // page short; the wall clock only stops a page that waits far longer.
  CpuBudget budget{ProcessCpuMilliseconds() + milliseconds, false};
  tesseract::ETEXT_DESC monitor;
  monitor.cancel = &CpuBudget::Spent;
  monitor.cancel_this = &budget;
  monitor.set_deadline_msecs(milliseconds * kWallClockFactor);
  if (tess.Recognize(&monitor) != 0 || budget.spent || monitor.deadline_exceeded()) reading.TimedOut = true;
  std::unique_ptr<tesseract::ResultIterator> it(tess.GetIterator());
  if (!it) {
    tess.Clear();
    return reading;
  }
  const auto word = tesseract::RIL_WORD;
  const auto symbol = tesseract::RIL_SYMBOL;
  double baseline_a = 0, baseline_b = 0;  // y = a + b x of the current line
  int line = -1;
  do {
    if (it->IsAtBeginningOf(tesseract::RIL_TEXTLINE)) {
      int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
      if (it->Baseline(tesseract::RIL_TEXTLINE, &x1, &y1, &x2, &y2)) {
        baseline_b = x2 != x1 ? double(y2 - y1) / (x2 - x1) : 0;
        baseline_a = y1 - baseline_b * x1;
      }
      ++line;
    }
    if (!it->IsAtBeginningOf(word)) continue;
    std::unique_ptr<char[]> text(it->GetUTF8Text(word));
    TqxOcrWord w;
    if (!text || !it->BoundingBox(word, &w.Left, &w.Top, &w.Right, &w.Bottom)) continue;
    w.Text = Utf8ToWide(text.get());
    if (w.Text.empty() || w.Right <= w.Left || w.Bottom <= w.Top) continue;
    w.Confidence = it->Confidence(word);
    w.Baseline = baseline_a + baseline_b * (w.Left + w.Right) / 2.0;
    if (!(w.Baseline > w.Top && w.Baseline <= w.Bottom + (w.Bottom - w.Top))) w.Baseline = w.Bottom;
    w.Line = std::max(line, 0);
    w.LeastSymbolConfidence = 100;
    // The characters of the word, each with its own confidence.
    for (;;) {
      w.LeastSymbolConfidence = std::min(w.LeastSymbolConfidence, it->Confidence(symbol));
      if (it->IsAtFinalElement(word, symbol)) break;
      if (!it->Next(symbol)) break;
    }
    reading.Words.push_back(std::move(w));
  } while (it->Next(symbol));
  it.reset();
  tess.Clear();
  return reading;
}

}  // namespace vs
