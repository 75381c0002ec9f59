#pragma once
// The process-wide font service: which families are installed, which font
// program a family name resolves to, and the metrics the screen device
// reports for a logical font. Every layer that measures or names fonts goes
// through it. All operations are safe to call from several threads.
//
// Names resolve in this order: font programs registered from memory, the
// Windows families mapped to metric-compatible faces (Arial, Times New
// Roman, Courier New and Arial Narrow to Liberation, Calibri to Carlito,
// Cambria to Caladea, Symbol and the Wingdings families to OpenSymbol), then
// families installed on the system.
// A name matches case-insensitively, as family names do on Windows.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/exception.h"
#include "platform/fonts/font_metrics.h"
#include "platform/fonts/logfont.h"

namespace vs {

// Raised when a family cannot be resolved where one is required, or when the
// faces the core-font aliases need are not installed.
class EFontError : public Exception {
 public:
  using Exception::Exception;
};

// A font program registered from memory.
struct TRegisteredFont {
  int Handle = 0;
  std::string Family;  // family name from the program's own name table
};

class TFontService {
 public:
  static TFontService& Instance();

  // Family names installed on the system, the core-font aliases whose faces
  // are present, and registered programs; sorted, each once.
  std::vector<std::string> Families();
  bool HasFamily(std::string_view family);

  // The face a family resolves to for a style (kFontStyle* bits), or nothing
  // when the family is unknown. Raises EFontError when an alias's face is missing.
  std::optional<TFaceInfo> FindFace(std::string_view family, int style);

  // The face a logical font is drawn with. Like the screen's font mapper, an
  // unknown face name falls back to Arial.
  TFaceInfo ResolveFace(const TLogFont& font);

  // Design-unit metrics of a family for a style. Raises EFontError when the
  // family is unknown.
  TDesignMetrics DesignMetrics(std::string_view family, int style);

  // Pixel metrics of a logical font on the 96-dpi screen.
  TTextMetric TextMetrics(const TLogFont& font);
  TOutlineMetrics OutlineMetrics(const TLogFont& font);
  // Hinted advance of each UTF-16 unit of the text, in whole pixels.
  std::vector<int> Advances(const TLogFont& font, std::u16string_view text);
  // Width (sum of the advances) and height (text-metric height) in pixels.
  TTextSize TextExtent(const TLogFont& font, std::u16string_view text);

  // Whether the face of a family has a glyph for every character of the
  // text (white space aside); false for an unknown family.
  bool CoversText(std::string_view family, int style, std::u16string_view text);

  // The character sets a family's face offers (code-page ranges of its OS/2
  // table, a symbol character map), as charset numbers, ascending, each once.
  // Empty for an unknown family.
  std::vector<int> CharSets(std::string_view family);

  // Registers a TrueType/OpenType program held in memory under the given
  // family name, or the family name of its name table when none is given;
  // nothing when the program cannot be read.
  std::optional<TRegisteredFont> RegisterFont(std::vector<uint8_t> program, std::string_view family = {});
  // Removes a registered program; false when the handle is unknown.
  bool UnregisterFont(int handle);

  TFontService(const TFontService&) = delete;
  TFontService& operator=(const TFontService&) = delete;

  class Impl;

 private:
  TFontService();
  ~TFontService();
  std::unique_ptr<Impl> impl_;
};

}  // namespace vs
