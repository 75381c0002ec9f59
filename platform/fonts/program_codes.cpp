#include "platform/fonts/program_codes.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_IDS_H

#include <unordered_map>

namespace vs {
namespace {

// Characters read back from a Unicode cmap: enough for any real font.
constexpr int kMaxCmapEntries = 1 << 17;

struct Library {
  FT_Library handle = nullptr;
  Library() {
    if (FT_Init_FreeType(&handle) != 0) handle = nullptr;
  }
  ~Library() {
    if (handle) FT_Done_FreeType(handle);
  }
};

struct Face {
  FT_Face handle = nullptr;
  ~Face() {
    if (handle) FT_Done_Face(handle);
  }
};

bool IsProgramEncoding(FT_Encoding encoding) {
  return encoding == FT_ENCODING_ADOBE_CUSTOM || encoding == FT_ENCODING_ADOBE_STANDARD ||
         encoding == FT_ENCODING_ADOBE_EXPERT || encoding == FT_ENCODING_ADOBE_LATIN_1;
}

}  // namespace

std::optional<TProgramCodes> ReadProgramCodes(std::string_view program) {
  if (program.empty()) return std::nullopt;
  Library library;
  if (!library.handle) return std::nullopt;
  Face face;
  if (FT_New_Memory_Face(library.handle, reinterpret_cast<const FT_Byte*>(program.data()),
                         static_cast<FT_Long>(program.size()), 0, &face.handle) != 0)
    return std::nullopt;
  FT_Face f = face.handle;

  FT_CharMap own = nullptr, symbol = nullptr, mac = nullptr, unicode = nullptr;
  for (int i = 0; i < f->num_charmaps; ++i) {
    FT_CharMap map = f->charmaps[i];
    if (IsProgramEncoding(map->encoding)) {
      if (!own || map->encoding == FT_ENCODING_ADOBE_CUSTOM) own = map;
    } else if (map->platform_id == TT_PLATFORM_MICROSOFT && map->encoding_id == TT_MS_ID_SYMBOL_CS) {
      symbol = map;
    } else if (map->platform_id == TT_PLATFORM_MACINTOSH && map->encoding_id == TT_MAC_ID_ROMAN) {
      mac = map;
    } else if (map->encoding == FT_ENCODING_UNICODE && FT_IS_SFNT(f)) {
      unicode = map;  // a Type 1 or CFF font's is made up from its names
    }
  }

  TProgramCodes out;
  out.UnicodeCmap = unicode != nullptr;
  std::array<FT_UInt, 256> glyphs{};
  if (FT_CharMap map = own ? own : symbol ? symbol : mac) {
    out.OwnEncoding = true;
    FT_Set_Charmap(f, map);
    for (FT_ULong code = 0; code < 256; ++code) {
      FT_UInt glyph = FT_Get_Char_Index(f, code);
      // Symbol cmaps put the codes at 0xF000 and up, some at the codes themselves.
      if (glyph == 0 && map == symbol) glyph = FT_Get_Char_Index(f, 0xF000 + code);
      glyphs[code] = glyph;
    }
  }
  if (FT_HAS_GLYPH_NAMES(f)) {
    for (size_t code = 0; code < 256; ++code) {
      char name[64] = {};
      if (glyphs[code] != 0 && FT_Get_Glyph_Name(f, glyphs[code], name, sizeof name) == 0 && name[0] &&
          std::string_view(name) != ".notdef")
        out.Names[code] = name;
    }
  }
  if (unicode && FT_Set_Charmap(f, unicode) == 0) {
    std::unordered_map<FT_UInt, char32_t> byGlyph;
    FT_UInt glyph = 0;
    FT_ULong ch = FT_Get_First_Char(f, &glyph);
    for (int n = 0; glyph != 0 && n < kMaxCmapEntries; ++n) {
      byGlyph.emplace(glyph, static_cast<char32_t>(ch));  // the lowest character of a glyph
      ch = FT_Get_Next_Char(f, ch, &glyph);
    }
    for (size_t code = 0; code < 256; ++code)
      if (auto it = byGlyph.find(glyphs[code]); glyphs[code] != 0 && it != byGlyph.end()) out.Unicode[code] = it->second;
  }
  return out;
}

}  // namespace vs
