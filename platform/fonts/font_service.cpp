#include "platform/fonts/font_service.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_DRIVER_H
#include FT_MODULE_H

#include <algorithm>
#include <cstdint>
#include <limits>
#include <map>
#include <mutex>
#include <unordered_map>

#include "platform/codepage.h"
#include "platform/fonts/font_catalog.h"
#include "platform/fonts/ft_face.h"

namespace vs {
namespace {

// The Windows core families documents name most, drawn with faces of the
// same metrics.
struct CoreAlias {
  const char* Family;
  const char* Face;
  const char* Package;  // the Debian package that installs the face
};
constexpr CoreAlias kCoreAliases[] = {
    {"Arial", "Liberation Sans", "fonts-liberation2"},
    {"Times New Roman", "Liberation Serif", "fonts-liberation2"},
    {"Courier New", "Liberation Mono", "fonts-liberation2"},
    {"Arial Narrow", "Liberation Sans Narrow", "fonts-liberation"},
    {"Calibri", "Carlito", "fonts-crosextra-carlito"},
    {"Cambria", "Caladea", "fonts-crosextra-caladea"},
    // Symbol families: a face that reports the symbol character set.
    {"Symbol", "OpenSymbol", "fonts-opensymbol"},
    {"Wingdings", "OpenSymbol", "fonts-opensymbol"},
    {"Wingdings 2", "OpenSymbol", "fonts-opensymbol"},
    {"Wingdings 3", "OpenSymbol", "fonts-opensymbol"},
    {"Webdings", "OpenSymbol", "fonts-opensymbol"},
};
constexpr const char* kFallbackFamily = "Arial";

const CoreAlias* FindAlias(std::string_view family) {
  for (const CoreAlias& alias : kCoreAliases)
    if (fonts::SameFamilyName(alias.Family, family)) return &alias;
  return nullptr;
}

// How far a face is from the asked style: italics first, then weight, then width.
int StyleDistance(bool italic, int weight, int width, int style) {
  int wantWeight = (style & kFontStyleBold) ? kFwBold : kFwNormal;
  bool wantItalic = (style & kFontStyleItalic) != 0;
  return (italic != wantItalic ? 100000 : 0) + std::abs(weight - wantWeight) * 10 + std::abs(width - 100);
}

}  // namespace

class TFontService::Impl {
 public:
  Impl() {
    if (FT_Init_FreeType(&library_) != 0) throw EFontError("The font engine could not be started.");
    // The classic TrueType interpreter hints widths the way the screen's
    // rasteriser does (and honours the fonts' device-width tables).
    FT_UInt version = TT_INTERPRETER_VERSION_35;
    FT_Property_Set(library_, "truetype", "interpreter-version", &version);
  }

  struct Registered {
    int Handle;
    std::string Family;
    bool Bold;
    bool Italic;
    int Weight;
  };

  // A resolved face: what callers see, and where its FreeType face is kept.
  struct Resolved {
    TFaceInfo Info;
    std::string Key;
    mutable fonts::TFtFace* Opened = nullptr;  // the face under Key, once opened
  };

  std::recursive_mutex mutex;

  // The cached resolution, or nullptr for an unknown family; valid until a
  // program of that family name is registered or removed.
  const Resolved* Find(std::string_view family, int style) {
    auto it = resolved_.find(FamilyStyleView{family, style});
    if (it == resolved_.end())
      it = resolved_.emplace(FamilyStyle{std::string(family), style}, FindUncached(family, style)).first;
    return it->second ? &*it->second : nullptr;
  }

  fonts::TFtFace& Face(const Resolved& resolved) {
    if (resolved.Opened) return *resolved.Opened;
    auto it = faces_.find(resolved.Key);
    if (it == faces_.end() || !it->second) {
      auto face = fonts::TFtFace::OpenFile(library_, resolved.Info.File, fileIndex_[resolved.Key]);
      if (!face) throw EFontError(FormatText("The font file \"%s\" cannot be read.", {resolved.Info.File}));
      it = faces_.insert_or_assign(resolved.Key, std::move(face)).first;
    }
    return *(resolved.Opened = it->second.get());
  }

  // The face a logical font is drawn with; an unknown name falls back to Arial.
  const Resolved& ResolveLog(const TLogFont& font) {
    // Text is measured in runs of one font: the last answer is usually the next.
    if (lastLog_ && font.Style() == lastLogStyle_ && font.FaceName == lastLogFace_) return *lastLog_;
    std::string name = WideToUtf8(font.FaceName);
    const Resolved* found = Find(name, font.Style());
    if (!found) found = Find(kFallbackFamily, font.Style());
    if (!found) throw EFontError(FormatText("No font is installed to draw \"%s\".", {name}));
    lastLog_ = found;
    lastLogFace_ = font.FaceName;
    lastLogStyle_ = font.Style();
    return *found;
  }

  // The hinted advance of each UTF-16 unit into advances (when given) and
  // their sum into width (when given).
  void Advances(const TLogFont& font, std::u16string_view text, int* advances, int64_t* width = nullptr) {
    const Resolved& resolved = ResolveLog(font);
    fonts::TFtFace& face = Face(resolved);
    int ppem = face.EmPixels(font.Height);
    int extra = resolved.Info.SimulatedBold ? 1 : 0;  // emboldening widens each glyph by a pixel
    for (size_t i = 0; i < text.size(); ++i) {
      char32_t ch = text[i];
      int advance = 0;
      // A surrogate pair is one character: its advance goes to the first unit.
      if (ch >= 0xD800 && ch < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
        ch = 0x10000 + ((ch - 0xD800) << 10) + (text[i + 1] - 0xDC00);
        advance = face.Advance(ch, ppem) + extra;
      } else {
        advance = face.Advance(ch, ppem);
        advance = advance > 0 ? advance + extra : 0;
      }
      if (advances) advances[i] = advance;
      if (width) *width += advance;
      if (ch >= 0x10000) ++i;
    }
  }

  std::vector<std::string> Families() {
    if (installedFamilies_.empty()) {
      installedFamilies_ = fonts::CatalogFamilies();
      for (const CoreAlias& alias : kCoreAliases)
        if (!fonts::CatalogFaces(alias.Face).empty()) installedFamilies_.emplace_back(alias.Family);
    }
    if (families_.empty()) {
      std::vector<std::string> names = installedFamilies_;
      for (const Registered& r : registered_) names.push_back(r.Family);
      std::sort(names.begin(), names.end());
      names.erase(std::unique(names.begin(), names.end()), names.end());
      families_ = std::move(names);
    }
    return families_;
  }

  std::optional<TRegisteredFont> Register(std::vector<uint8_t> program, std::string_view name) {
    auto data = std::make_shared<const std::vector<uint8_t>>(std::move(program));
    auto face = fonts::TFtFace::OpenMemory(library_, data);
    if (!face) return std::nullopt;
    std::string family = name.empty() ? face->Family() : std::string(name);
    if (family.empty()) return std::nullopt;
    int handle = ++lastHandle_;
    registered_.push_back({handle, family, face->IsBold(), face->IsItalic(), face->WeightClass()});
    faces_[MemoryKey(handle)] = std::move(face);
    Forget(family);
    return TRegisteredFont{handle, family};
  }

  bool Unregister(int handle) {
    auto it = std::find_if(registered_.begin(), registered_.end(),
                           [&](const Registered& r) { return r.Handle == handle; });
    if (it == registered_.end()) return false;
    const std::string family = it->Family;
    registered_.erase(it);
    faces_.erase(MemoryKey(handle));
    Forget(family);
    return true;
  }

 private:
  // A family name and a style, the key of a resolution: names match ignoring ASCII case.
  struct FamilyStyle {
    std::string Family;
    int Style;
  };
  struct FamilyStyleView {
    std::string_view Family;
    int Style;
  };
  struct FamilyStyleHash {
    using is_transparent = void;
    template <typename Key>
    size_t operator()(const Key& key) const {
      size_t hash = static_cast<size_t>(key.Style);
      for (char c : key.Family) hash = hash * 131 + static_cast<unsigned char>(fonts::FoldFamilyChar(c));
      return hash;
    }
  };
  struct FamilyStyleEqual {
    using is_transparent = void;
    template <typename A, typename B>
    bool operator()(const A& a, const B& b) const {
      return a.Style == b.Style && fonts::SameFamilyName(a.Family, b.Family);
    }
  };

  static std::string MemoryKey(int handle) { return "memory:" + std::to_string(handle); }

  // A program registered or removed changes what its family name resolves
  // to, and nothing else: installed faces are looked up once per process.
  void Forget(std::string_view family) {
    std::erase_if(resolved_, [&](const auto& entry) { return fonts::SameFamilyName(entry.first.Family, family); });
    families_.clear();
    lastLog_ = nullptr;
  }

  std::optional<Resolved> FindUncached(std::string_view family, int style) {
    if (family.empty()) return std::nullopt;
    if (auto r = FindRegistered(family, style)) return r;
    if (const CoreAlias* alias = FindAlias(family)) {
      std::optional<Resolved> r = FindInstalled(alias->Face, style);
      if (!r)
        throw EFontError(FormatText(
            "The font \"%s\" is drawn with %s, which is not installed (Debian package %s).",
            {alias->Family, alias->Face, alias->Package}));
      r->Info.Alias = true;
      r->Info.RequestedName = std::string(family);
      return r;
    }
    return FindInstalled(family, style);
  }

  std::optional<Resolved> FindRegistered(std::string_view family, int style) {
    const Registered* best = nullptr;
    for (const Registered& r : registered_) {
      if (!fonts::SameFamilyName(r.Family, family)) continue;
      if (!best || StyleDistance(r.Italic, r.Weight, 100, style) < StyleDistance(best->Italic, best->Weight, 100, style))
        best = &r;
    }
    if (!best) return std::nullopt;
    Resolved out;
    out.Key = MemoryKey(best->Handle);
    out.Info.RequestedName = std::string(family);
    out.Info.FaceFamily = best->Family;
    out.Info.FaceStyle = faces_[out.Key]->StyleName();
    out.Info.Registered = true;
    Simulate(out.Info, best->Weight, best->Italic, style);
    return out;
  }

  std::optional<Resolved> FindInstalled(std::string_view family, int style) {
    std::vector<fonts::TCatalogFace> faces = fonts::CatalogFaces(family);
    if (faces.empty()) return std::nullopt;
    auto best = std::min_element(faces.begin(), faces.end(), [&](const auto& a, const auto& b) {
      return StyleDistance(a.Italic, a.Weight, a.Width, style) < StyleDistance(b.Italic, b.Weight, b.Width, style);
    });
    Resolved out;
    out.Key = best->File + '#' + std::to_string(best->Index);
    fileIndex_[out.Key] = best->Index;
    out.Info.RequestedName = std::string(family);
    out.Info.FaceFamily = std::string(family);
    out.Info.FaceStyle = best->Style;
    out.Info.File = best->File;
    Simulate(out.Info, best->Weight, best->Italic, style);
    return out;
  }

  // A family without a bold or italic face is emboldened or slanted instead.
  static void Simulate(TFaceInfo& info, int weight, bool italic, int style) {
    info.SimulatedBold = (style & kFontStyleBold) && weight < 600;
    info.SimulatedItalic = (style & kFontStyleItalic) && !italic;
  }

  FT_Library library_ = nullptr;
  int lastHandle_ = 0;
  std::vector<Registered> registered_;
  std::map<std::string, std::unique_ptr<fonts::TFtFace>> faces_;
  std::map<std::string, int> fileIndex_;
  std::unordered_map<FamilyStyle, std::optional<Resolved>, FamilyStyleHash, FamilyStyleEqual> resolved_;
  const Resolved* lastLog_ = nullptr;  // what ResolveLog found last, for this face and style
  std::u16string lastLogFace_;
  int lastLogStyle_ = 0;
  std::vector<std::string> installedFamilies_;  // and the core aliases whose faces are there
  std::vector<std::string> families_;           // with the registered programs, sorted
};

TFontService::TFontService() : impl_(std::make_unique<Impl>()) {}
TFontService::~TFontService() = default;

TFontService& TFontService::Instance() {
  // Kept for the whole process: font programs stay loaded until exit.
  static TFontService* service = new TFontService();
  return *service;
}

std::vector<std::string> TFontService::Families() {
  std::lock_guard lock(impl_->mutex);
  return impl_->Families();
}

bool TFontService::HasFamily(std::string_view family) {
  std::lock_guard lock(impl_->mutex);
  return impl_->Find(family, kFontStyleRegular) != nullptr;
}

std::optional<TFaceInfo> TFontService::FindFace(std::string_view family, int style) {
  std::lock_guard lock(impl_->mutex);
  const Impl::Resolved* found = impl_->Find(family, style);
  if (!found) return std::nullopt;
  impl_->Face(*found);  // a face that cannot be opened is reported here
  TFaceInfo info = found->Info;
  info.RequestedName = std::string(family);
  return info;
}

TFaceInfo TFontService::ResolveFace(const TLogFont& font) {
  std::lock_guard lock(impl_->mutex);
  const Impl::Resolved& resolved = impl_->ResolveLog(font);
  impl_->Face(resolved);
  TFaceInfo info = resolved.Info;
  info.RequestedName = WideToUtf8(font.FaceName);
  return info;
}

TDesignMetrics TFontService::DesignMetrics(std::string_view family, int style) {
  std::lock_guard lock(impl_->mutex);
  const Impl::Resolved* found = impl_->Find(family, style);
  if (!found) throw EFontError(FormatText("The font family \"%s\" is not installed.", {family}));
  return impl_->Face(*found).Design();
}

TTextMetric TFontService::TextMetrics(const TLogFont& font) {
  std::lock_guard lock(impl_->mutex);
  const Impl::Resolved& resolved = impl_->ResolveLog(font);
  fonts::TFtFace& face = impl_->Face(resolved);
  TTextMetric m = face.Metrics(face.EmPixels(font.Height));
  if (resolved.Info.SimulatedBold) {
    m.AveCharWidth += 1;
    m.MaxCharWidth += 1;
  }
  return m;
}

TOutlineMetrics TFontService::OutlineMetrics(const TLogFont& font) {
  std::lock_guard lock(impl_->mutex);
  const Impl::Resolved& resolved = impl_->ResolveLog(font);
  fonts::TFtFace& face = impl_->Face(resolved);
  return face.Outline(face.EmPixels(font.Height));
}

std::vector<int> TFontService::Advances(const TLogFont& font, std::u16string_view text) {
  std::lock_guard lock(impl_->mutex);
  std::vector<int> advances(text.size(), 0);
  impl_->Advances(font, text, advances.data());
  return advances;
}

TTextSize TFontService::TextExtent(const TLogFont& font, std::u16string_view text) {
  std::lock_guard lock(impl_->mutex);
  // A long line in a large font can be wider than an int holds.
  int64_t width = 0;
  impl_->Advances(font, text, nullptr, &width);
  TTextSize size;
  size.Width = static_cast<int>(std::min<int64_t>(width, std::numeric_limits<int>::max()));
  size.Height = TextMetrics(font).Height;
  return size;
}

bool TFontService::CoversText(std::string_view family, int style, std::u16string_view text) {
  std::lock_guard lock(impl_->mutex);
  const Impl::Resolved* found = impl_->Find(family, style);
  if (!found) return false;
  fonts::TFtFace& face = impl_->Face(*found);
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t ch = text[i];
    if (ch >= 0xD800 && ch < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000)
      ch = 0x10000 + ((ch - 0xD800) << 10) + (text[++i] - 0xDC00);
    if (ch != u' ' && ch != u'\t' && ch != 0xA0 && face.GlyphIndex(ch) == 0) return false;
  }
  return true;
}

std::vector<int> TFontService::CharSets(std::string_view family) {
  std::lock_guard lock(impl_->mutex);
  const Impl::Resolved* found = impl_->Find(family, kFontStyleRegular);
  if (!found) return {};
  return impl_->Face(*found).CharSets();
}

std::optional<TRegisteredFont> TFontService::RegisterFont(std::vector<uint8_t> program, std::string_view family) {
  std::lock_guard lock(impl_->mutex);
  return impl_->Register(std::move(program), family);
}

bool TFontService::UnregisterFont(int handle) {
  std::lock_guard lock(impl_->mutex);
  return impl_->Unregister(handle);
}

}  // namespace vs
