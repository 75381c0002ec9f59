#include "render/ocr/ocr_settings.h"

namespace vs {

std::optional<TqxOcrMode> OcrModeFromText(std::string_view text) {
  if (text == "never") return TqxOcrMode::omNever;
  if (text == "auto") return TqxOcrMode::omAuto;
  if (text == "always") return TqxOcrMode::omAlways;
  return std::nullopt;
}

}  // namespace vs
