#pragma once
// The faces installed on the system, as fontconfig knows them. Internal to
// the font service.
#include <string>
#include <string_view>
#include <vector>

namespace vs::fonts {

struct TCatalogFace {
  std::string File;
  int Index = 0;
  std::string Style;
  int Weight = 400;  // OpenType weight class
  int Width = 100;   // fontconfig width, 100 = normal
  bool Italic = false;
};

// Every family name of the scalable TrueType/OpenType faces installed.
std::vector<std::string> CatalogFamilies();
// The installed faces one of whose family names equals the given one,
// ignoring ASCII case.
std::vector<TCatalogFace> CatalogFaces(std::string_view family);

// Family names match ignoring ASCII case, as they do on Windows.
inline char FoldFamilyChar(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
bool SameFamilyName(std::string_view a, std::string_view b);

}  // namespace vs::fonts
