#include "platform/fonts/font_catalog.h"

#include <fontconfig/fontconfig.h>

#include <cstdlib>
#include <memory>

namespace vs::fonts {
namespace {

// Where fonts and their caches are, as the system's configuration names
// them, and the administrator's local additions.
constexpr char kShortConfiguration[] =
    "<?xml version=\"1.0\"?><fontconfig>"
    "<dir>/usr/share/fonts</dir><dir>/usr/local/share/fonts</dir>"
    "<dir prefix=\"xdg\">fonts</dir><dir>~/.fonts</dir>"
    "<cachedir>/var/cache/fontconfig</cachedir><cachedir prefix=\"xdg\">fontconfig</cachedir>"
    "<include ignore_missing=\"yes\">/etc/fonts/local.conf</include>"
    "</fontconfig>";

bool HasFaces(FcConfig* config) {
  FcFontSet* faces = FcConfigGetFonts(config, FcSetSystem);
  return faces && faces->nfont > 0;
}

// The catalogue only lists faces, so it needs no matching rules: the
// system's whole configuration parses dozens of rule files, which costs more
// than converting a small page. A configuration the user names through
// FONTCONFIG_FILE or FONTCONFIG_PATH is loaded whole, and so is the
// system's when the short one finds no faces.
FcConfig* LoadConfiguration() {
  if (!std::getenv("FONTCONFIG_FILE") && !std::getenv("FONTCONFIG_PATH")) {
    FcConfig* config = FcConfigCreate();
    if (config && FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(kShortConfiguration),
                                                 FcFalse) &&
        FcConfigBuildFonts(config) && HasFaces(config))
      return config;
    if (config) FcConfigDestroy(config);
  }
  return FcInitLoadConfigAndFonts();
}

FcConfig* Config() {
  // Loaded once for the process and released at its end.
  static FcConfig* config = [] {
    FcConfig* loaded = LoadConfiguration();
    std::atexit([] {
      if (config) FcConfigDestroy(config);
      FcFini();
    });
    return loaded;
  }();
  return config;
}

struct FontSetDeleter {
  void operator()(FcFontSet* set) const { FcFontSetDestroy(set); }
};
using FontSetPtr = std::unique_ptr<FcFontSet, FontSetDeleter>;

// Scalable faces FreeType can measure the way the screen does: TrueType
// outlines and OpenType (CFF) programs.
FontSetPtr ListFaces(const char* family) {
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  if (family) FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
  FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_STYLE, FC_FILE, FC_INDEX, FC_WEIGHT,
                                          FC_WIDTH, FC_SLANT, FC_FONTFORMAT, nullptr);
  FontSetPtr set(FcFontList(Config(), pattern, objects));
  FcObjectSetDestroy(objects);
  FcPatternDestroy(pattern);
  return set;
}

bool IsOutlineFormat(FcPattern* font) {
  FcChar8* format = nullptr;
  if (FcPatternGetString(font, FC_FONTFORMAT, 0, &format) != FcResultMatch) return false;
  std::string_view f(reinterpret_cast<const char*>(format));
  return f == "TrueType" || f == "CFF";
}

}  // namespace

bool SameFamilyName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (FoldFamilyChar(a[i]) != FoldFamilyChar(b[i])) return false;
  return true;
}

std::vector<std::string> CatalogFamilies() {
  std::vector<std::string> names;
  FontSetPtr set = ListFaces(nullptr);
  if (!set) return names;
  for (int i = 0; i < set->nfont; ++i) {
    FcPattern* font = set->fonts[i];
    if (!IsOutlineFormat(font)) continue;
    FcChar8* name = nullptr;
    for (int n = 0; FcPatternGetString(font, FC_FAMILY, n, &name) == FcResultMatch; ++n)
      names.emplace_back(reinterpret_cast<const char*>(name));
  }
  return names;
}

std::vector<TCatalogFace> CatalogFaces(std::string_view family) {
  std::vector<TCatalogFace> faces;
  std::string name(family);
  FontSetPtr set = ListFaces(name.c_str());
  if (!set) return faces;
  for (int i = 0; i < set->nfont; ++i) {
    FcPattern* font = set->fonts[i];
    if (!IsOutlineFormat(font)) continue;
    // fontconfig also ignores blanks when it compares names; we do not.
    bool named = false;
    FcChar8* value = nullptr;
    for (int n = 0; !named && FcPatternGetString(font, FC_FAMILY, n, &value) == FcResultMatch; ++n)
      named = SameFamilyName(reinterpret_cast<const char*>(value), family);
    FcChar8* file = nullptr;
    if (!named || FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch) continue;
    TCatalogFace face;
    face.File = reinterpret_cast<const char*>(file);
    FcPatternGetInteger(font, FC_INDEX, 0, &face.Index);
    if (FcPatternGetString(font, FC_STYLE, 0, &value) == FcResultMatch)
      face.Style = reinterpret_cast<const char*>(value);
    int weight = FC_WEIGHT_REGULAR;
    FcPatternGetInteger(font, FC_WEIGHT, 0, &weight);
    face.Weight = FcWeightToOpenType(weight);
    FcPatternGetInteger(font, FC_WIDTH, 0, &face.Width);
    int slant = FC_SLANT_ROMAN;
    FcPatternGetInteger(font, FC_SLANT, 0, &slant);
    face.Italic = slant != FC_SLANT_ROMAN;
    faces.push_back(std::move(face));
  }
  return faces;
}

}  // namespace vs::fonts
