#include "platform/fonts/ft_face.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_IDS_H
#include FT_TRUETYPE_TABLES_H
#include FT_TRUETYPE_TAGS_H
#include FT_SFNT_NAMES_H

#include <algorithm>
#include <cmath>

#include "platform/codepage.h"

namespace vs::fonts {
namespace {

// Beyond this size hinting brings nothing and the interpreter may give up.
constexpr int kMaxHintedPpem = 2000;
constexpr int kMaxPpem = 0x7FFF;
// The screen's default font when a logical height of 0 is asked for (12 pt).
constexpr int kDefaultPpem = 16;

int RoundHalfEven(double v) { return static_cast<int>(std::nearbyint(v)); }

uint16_t U16(const std::vector<uint8_t>& d, size_t at) { return static_cast<uint16_t>(d[at] << 8 | d[at + 1]); }
int16_t S16(const std::vector<uint8_t>& d, size_t at) { return static_cast<int16_t>(U16(d, at)); }

struct WinExtent {
  long Ascent;
  long Descent;
};

WinExtent WinAscentDescent(FT_Face face, const TT_OS2* os2) {
  if (os2 && (os2->usWinAscent || os2->usWinDescent)) return {os2->usWinAscent, os2->usWinDescent};
  return {face->ascender, -face->descender};
}

std::string NameFromTable(FT_Face face, FT_UShort nameId) {
  // The Windows (UTF-16BE) record, US English first, as the screen reads it.
  std::string found;
  FT_UInt count = FT_Get_Sfnt_Name_Count(face);
  for (FT_UInt i = 0; i < count; ++i) {
    FT_SfntName name;
    if (FT_Get_Sfnt_Name(face, i, &name) || name.platform_id != TT_PLATFORM_MICROSOFT || name.name_id != nameId)
      continue;
    std::u16string text;
    for (FT_UInt k = 0; k + 1 < name.string_len; k += 2)
      text.push_back(static_cast<char16_t>(name.string[k] << 8 | name.string[k + 1]));
    if (text.empty()) continue;
    if (name.language_id == TT_MS_LANGID_ENGLISH_UNITED_STATES) return WideToUtf8(text);
    if (found.empty()) found = WideToUtf8(text);
  }
  return found;
}

}  // namespace

TFtFace::TFtFace(FT_Face face, std::shared_ptr<const std::vector<uint8_t>> program)
    : face_(face), program_(std::move(program)) {
  // Looked up once: FreeType finds each table by its module's name.
  os2_ = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face_, FT_SFNT_OS2));
  hhea_ = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face_, FT_SFNT_HHEA));
  post_ = static_cast<const TT_Postscript*>(FT_Get_Sfnt_Table(face_, FT_SFNT_POST));
  for (int i = 0; i < face_->num_charmaps; ++i) {
    FT_CharMap map = face_->charmaps[i];
    if (map->platform_id == TT_PLATFORM_MICROSOFT && map->encoding_id == TT_MS_ID_SYMBOL_CS) symbolMap_ = true;
  }
  if (FT_Select_Charmap(face_, FT_ENCODING_UNICODE) != 0 && symbolMap_)
    FT_Select_Charmap(face_, FT_ENCODING_MS_SYMBOL);
  FT_ULong length = 0;
  if (FT_Load_Sfnt_Table(face_, TTAG_VDMX, 0, nullptr, &length) == 0 && length > 0 && length < (1u << 20)) {
    vdmx_.resize(length);
    if (FT_Load_Sfnt_Table(face_, TTAG_VDMX, 0, vdmx_.data(), &length) != 0) vdmx_.clear();
  }
}

TFtFace::~TFtFace() { FT_Done_Face(face_); }

std::unique_ptr<TFtFace> TFtFace::OpenFile(FT_Library library, const std::string& file, int index) {
  FT_Face face = nullptr;
  if (FT_New_Face(library, file.c_str(), index, &face) != 0) return nullptr;
  if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0) {
    FT_Done_Face(face);
    return nullptr;
  }
  return std::unique_ptr<TFtFace>(new TFtFace(face, nullptr));
}

std::unique_ptr<TFtFace> TFtFace::OpenMemory(FT_Library library,
                                             std::shared_ptr<const std::vector<uint8_t>> program) {
  FT_Face face = nullptr;
  if (!program || program->empty() ||
      FT_New_Memory_Face(library, program->data(), static_cast<FT_Long>(program->size()), 0, &face) != 0)
    return nullptr;
  if (!FT_IS_SCALABLE(face) || !FT_IS_SFNT(face) || face->units_per_EM == 0) {
    FT_Done_Face(face);
    return nullptr;
  }
  return std::unique_ptr<TFtFace>(new TFtFace(face, std::move(program)));
}

std::string TFtFace::Family() const {
  std::string name = NameFromTable(face_, TT_NAME_ID_FONT_FAMILY);
  if (name.empty() && face_->family_name) name = face_->family_name;
  return name;
}

std::string TFtFace::StyleName() const {
  std::string name = NameFromTable(face_, TT_NAME_ID_FONT_SUBFAMILY);
  if (name.empty() && face_->style_name) name = face_->style_name;
  return name;
}

bool TFtFace::IsBold() const { return (face_->style_flags & FT_STYLE_FLAG_BOLD) != 0; }
bool TFtFace::IsItalic() const { return (face_->style_flags & FT_STYLE_FLAG_ITALIC) != 0; }

int TFtFace::WeightClass() const {
  if (os2_ && os2_->usWeightClass >= 100 && os2_->usWeightClass <= 1000) return os2_->usWeightClass;
  return IsBold() ? 700 : 400;
}

TDesignMetrics TFtFace::Design() const {
  WinExtent win = WinAscentDescent(face_, os2_);
  TDesignMetrics m;
  m.EmHeight = face_->units_per_EM;
  m.CellAscent = static_cast<int>(win.Ascent);
  m.CellDescent = static_cast<int>(win.Descent);
  const TT_HoriHeader* hhea = hhea_;
  long spacing = hhea ? hhea->Ascender - hhea->Descender + hhea->Line_Gap : 0;
  m.LineSpacing = static_cast<int>(spacing > 0 ? spacing : win.Ascent + win.Descent);
  return m;
}

int TFtFace::Scale(long designUnits, int ppem) const {
  return RoundHalfEven(static_cast<double>(designUnits) * ppem / face_->units_per_EM);
}

int TFtFace::EmPixels(int logHeight) const {
  long ppem;
  if (logHeight < 0) {
    ppem = -static_cast<long>(logHeight);
  } else if (logHeight == 0) {
    ppem = kDefaultPpem;
  } else {
    // A cell height: ascent + descent fill it.
    WinExtent win = WinAscentDescent(face_, os2_);
    long cell = std::max<long>(1, win.Ascent + win.Descent);
    ppem = std::lround(static_cast<double>(logHeight) * face_->units_per_EM / cell);
  }
  return static_cast<int>(std::clamp<long>(ppem, 1, kMaxPpem));
}

bool TFtFace::VdmxExtent(int ppem, int& ascent, int& descent) const {
  // Header: version, numRecs, numRatios; ratio ranges of 4 bytes; group offsets.
  const std::vector<uint8_t>& d = vdmx_;
  if (d.size() < 6) return false;
  size_t ratios = U16(d, 4);
  size_t offsets = 6 + ratios * 4;
  if (offsets + ratios * 2 > d.size()) return false;
  for (size_t r = 0; r < ratios; ++r) {
    uint8_t x = d[6 + r * 4 + 1], yStart = d[6 + r * 4 + 2], yEnd = d[6 + r * 4 + 3];
    // The screen's pixels are square: a 1:1 ratio, or the catch-all 0:0.
    if (x != 0 && !(yStart <= x && x <= yEnd)) continue;
    size_t group = U16(d, offsets + r * 2);
    if (group + 4 > d.size()) return false;
    size_t recs = U16(d, group);
    for (size_t e = 0; e < recs; ++e) {
      size_t at = group + 4 + e * 6;
      if (at + 6 > d.size()) return false;
      if (U16(d, at) == ppem) {
        ascent = S16(d, at + 2);
        descent = -S16(d, at + 4);
        return true;
      }
    }
    return false;
  }
  return false;
}

TTextMetric TFtFace::Metrics(int ppem) const {
  if (auto known = metrics_.find(ppem); known != metrics_.end()) return known->second;
  return metrics_.emplace(ppem, MeasureMetrics(ppem)).first->second;
}

TTextMetric TFtFace::MeasureMetrics(int ppem) const {
  WinExtent win = WinAscentDescent(face_, os2_);
  TTextMetric m;
  m.EmPixels = ppem;
  if (!VdmxExtent(ppem, m.Ascent, m.Descent)) {
    m.Ascent = Scale(win.Ascent, ppem);
    m.Descent = Scale(win.Descent, ppem);
  }
  m.Height = m.Ascent + m.Descent;
  m.InternalLeading = m.Height - ppem;
  const TT_HoriHeader* hhea = hhea_;
  if (hhea) {
    long gap = hhea->Line_Gap - ((win.Ascent + win.Descent) - (hhea->Ascender - hhea->Descender));
    m.ExternalLeading = std::max(0, Scale(gap, ppem));
    m.MaxCharWidth = Scale(hhea->advance_Width_Max, ppem);
  }
  if (os2_) m.AveCharWidth = Scale(os2_->xAvgCharWidth, ppem);
  return m;
}

TOutlineMetrics TFtFace::Outline(int ppem) const {
  TOutlineMetrics m;
  const TT_Postscript* post = post_;
  long thickness = post ? post->underlineThickness : face_->underline_thickness;
  long position = post ? post->underlinePosition : face_->underline_position;
  m.UnderscoreSize = std::max(1, Scale(thickness, ppem));
  m.UnderscorePosition = Scale(position, ppem);
  const TT_OS2* os2 = os2_;
  if (os2 && os2->yStrikeoutSize > 0) {
    m.StrikeoutSize = std::max(1, Scale(os2->yStrikeoutSize, ppem));
    m.StrikeoutPosition = Scale(os2->yStrikeoutPosition, ppem);
  } else {
    // No OS/2 values: a bar as thick as the underline, at about half the x-height.
    m.StrikeoutSize = m.UnderscoreSize;
    m.StrikeoutPosition = Scale(face_->units_per_EM / 4, ppem);
  }
  return m;
}

unsigned TFtFace::GlyphIndex(char32_t ch) const {
  unsigned glyph = FT_Get_Char_Index(face_, ch);
  // Symbol fonts map their characters into U+F020..U+F0FF; plain bytes reach them there.
  if (glyph == 0 && symbolMap_ && ch < 0x100) glyph = FT_Get_Char_Index(face_, 0xF000 + ch);
  return glyph;
}

int TFtFace::Advance(char32_t ch, int ppem) {
  unsigned glyph = GlyphIndex(ch);
  uint64_t key = static_cast<uint64_t>(ppem) << 32 | glyph;
  if (auto it = advances_.find(key); it != advances_.end()) return it->second;
  int advance = 0;
  if (sizedPpem_ != ppem) {
    sizedPpem_ = FT_Set_Pixel_Sizes(face_, ppem, ppem) == 0 ? ppem : 0;
  }
  FT_Int32 flags = FT_LOAD_NO_BITMAP | (ppem > kMaxHintedPpem ? FT_LOAD_NO_HINTING : FT_LOAD_DEFAULT);
  if (sizedPpem_ == ppem && FT_Load_Glyph(face_, glyph, flags) == 0) {
    advance = static_cast<int>((face_->glyph->advance.x + 32) >> 6);
  } else {
    // The glyph program failed: fall back to the scaled design advance.
    FT_Fixed design = 0;
    if (FT_Load_Glyph(face_, glyph, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING) == 0) design = face_->glyph->advance.x;
    advance = Scale(design, ppem);
  }
  advances_.emplace(key, advance);
  return advance;
}

std::vector<int> TFtFace::CharSets() const {
  // OS/2 code-page range bits and the character sets they stand for. The
  // Macintosh and OEM bits are left out: the screen's font enumeration does
  // not offer outline faces in those sets.
  static constexpr struct {
    int Bit;
    int CharSet;
  } kRanges[] = {{0, 0},    {1, 238},  {2, 204},  {3, 161},  {4, 162},  {5, 177},
                 {6, 178},  {7, 186},  {8, 163},  {16, 222}, {17, 128}, {18, 134},
                 {19, 129}, {20, 136}, {21, 130}, {31, 2}};
  std::vector<int> sets;
  const TT_OS2* os2 = os2_;
  if (os2 && os2->version >= 1 && os2->version != 0xFFFF) {
    for (auto range : kRanges)
      if (os2->ulCodePageRange1 & (1ul << range.Bit)) sets.push_back(range.CharSet);
  } else if (!symbolMap_) {
    sets.push_back(0);
  }
  if (symbolMap_) sets.push_back(2);
  std::sort(sets.begin(), sets.end());
  sets.erase(std::unique(sets.begin(), sets.end()), sets.end());
  return sets;
}

}  // namespace vs::fonts
