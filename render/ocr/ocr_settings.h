#pragma once
// When and how pages are read from their pictures by optical character
// recognition, and what one page's reading found.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vs {

enum class TqxOcrMode {
  omNever,   // pages are drawn as they are
  omAuto,    // pages without text whose pictures cover most of them are read
  omAlways,  // every page with pictures is read
};

struct TqxOcrSettings {
  TqxOcrMode Mode = TqxOcrMode::omNever;
  std::string Languages = "eng";  // language packs joined by '+', as "eng+deu"
  bool KeepImage = false;         // the scan stays on the page under the words read
  double Dpi = 300;               // resolution the page is read at
};

// What reading one page found.
struct TqxOcrPageCounts {
  bool Read = false;      // the page went through recognition
  int64_t Words = 0;      // words placed on the page
  int64_t Uncertain = 0;  // of them, read below the confidence threshold
  bool TimedOut = false;  // recognition stopped at the time budget
  bool PictureKept = false;  // hardly a word was read with certainty: the picture stays instead
};

std::optional<TqxOcrMode> OcrModeFromText(std::string_view text);

}  // namespace vs
