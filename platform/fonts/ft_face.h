#pragma once
// One opened font program and the screen metrics derived from it. Internal
// to the font service, which serialises every call.
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/fonts/font_metrics.h"

struct FT_LibraryRec_;
struct FT_FaceRec_;
struct TT_OS2_;
struct TT_HoriHeader_;
struct TT_Postscript_;

namespace vs::fonts {

class TFtFace {
 public:
  // Nothing when FreeType cannot read the program.
  static std::unique_ptr<TFtFace> OpenFile(FT_LibraryRec_* library, const std::string& file, int index);
  static std::unique_ptr<TFtFace> OpenMemory(FT_LibraryRec_* library,
                                             std::shared_ptr<const std::vector<uint8_t>> program);
  ~TFtFace();
  TFtFace(const TFtFace&) = delete;
  TFtFace& operator=(const TFtFace&) = delete;

  // Family and style names from the program's name table.
  std::string Family() const;
  std::string StyleName() const;
  bool IsBold() const;
  bool IsItalic() const;
  int WeightClass() const;

  TDesignMetrics Design() const;
  // Pixels per em for a logical height (negative: em size; positive: cell height).
  int EmPixels(int logHeight) const;
  TTextMetric Metrics(int ppem) const;
  TOutlineMetrics Outline(int ppem) const;
  // Hinted advance of a character in whole pixels.
  int Advance(char32_t ch, int ppem);
  std::vector<int> CharSets() const;

  // The glyph a character is drawn with; 0 (.notdef) when the face lacks it.
  unsigned GlyphIndex(char32_t ch) const;

 private:
  explicit TFtFace(FT_FaceRec_* face, std::shared_ptr<const std::vector<uint8_t>> program);
  int Scale(long designUnits, int ppem) const;
  TTextMetric MeasureMetrics(int ppem) const;
  bool VdmxExtent(int ppem, int& ascent, int& descent) const;

  FT_FaceRec_* face_;
  // The face's OS/2, hhea and post tables, or nullptr where it has none.
  const TT_OS2_* os2_ = nullptr;
  const TT_HoriHeader_* hhea_ = nullptr;
  const TT_Postscript_* post_ = nullptr;
  std::shared_ptr<const std::vector<uint8_t>> program_;  // FreeType reads it in place
  bool symbolMap_ = false;
  int sizedPpem_ = 0;
  std::unordered_map<uint64_t, int> advances_;  // (ppem, glyph) -> pixels
  mutable std::unordered_map<int, TTextMetric> metrics_;  // by ppem
  std::vector<uint8_t> vdmx_;
};

}  // namespace vs::fonts
