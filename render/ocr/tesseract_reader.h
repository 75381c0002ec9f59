#pragma once
// Words of a page image through Tesseract, each with its box and how sure
// the engine is of it.
#include <memory>
#include <string>
#include <vector>

#include "platform/exception.h"
#include "render/ocr/page_raster.h"

namespace vs {

// Raised when recognition cannot start (a language pack missing).
class EOcrError : public Exception {
 public:
  using Exception::Exception;
};

struct TqxOcrWord {
  std::u16string Text;
  int Left = 0, Top = 0, Right = 0, Bottom = 0;  // image pixels
  double Baseline = 0;        // y of the line's baseline under the word, image pixels
  int Line = 0;               // text lines counted from 0 in reading order
  float Confidence = 0;       // of the word, 0 to 100
  float LeastSymbolConfidence = 0;  // of its least certain character
};

struct TqxOcrReading {
  std::vector<TqxOcrWord> Words;
  bool TimedOut = false;
};

// Processor time one page's recognition may take (all its threads); the
// words found by then are kept.
inline constexpr int kOcrPageMilliseconds = 6000;

// The language packs of a "eng+deu" list that are not installed.
std::vector<std::string> MissingOcrLanguages(const std::string& languages);
// The Debian package that holds a language pack.
std::string OcrLanguagePackage(const std::string& language);
// The languages read when none are named: English, with the language of the
// locale (LC_ALL, LC_MESSAGES, LANG: "de_DE.UTF-8" adds "deu") where its
// pack is installed.
std::string DefaultOcrLanguages();

class TqxTesseractReader {
 public:
  // Raises EOcrError when the languages cannot be loaded.
  explicit TqxTesseractReader(const std::string& languages);
  ~TqxTesseractReader();
  TqxTesseractReader(const TqxTesseractReader&) = delete;
  TqxTesseractReader& operator=(const TqxTesseractReader&) = delete;

  TqxOcrReading Read(const TqxGreyImage& image, int milliseconds = kOcrPageMilliseconds);

 private:
  struct Api;
  std::unique_ptr<Api> api_;
};

}  // namespace vs
