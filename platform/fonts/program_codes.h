#pragma once
// What an embedded simple font's own program says its 256 codes draw: the
// program's encoding (a Type 1 or CFF font's own, a TrueType font's symbol
// or Macintosh cmap), the glyph names, and the character a TrueType font's
// Unicode cmap gives the same glyph. Read with the font engine, which checks
// the program; a program it cannot read gives nothing.
#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace vs {

struct TProgramCodes {
  // The program has an encoding of its own by which codes pick glyphs.
  bool OwnEncoding = false;
  // A TrueType program with a Unicode cmap, through which standard glyph names find their glyphs.
  bool UnicodeCmap = false;
  std::array<std::string, 256> Names;   // empty where the code draws nothing or the glyph has no name
  std::array<char32_t, 256> Unicode{};  // 0 where the program's Unicode cmap does not reach the glyph
};

std::optional<TProgramCodes> ReadProgramCodes(std::string_view program);

}  // namespace vs
