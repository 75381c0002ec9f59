#pragma once
// The fonts of one page: each font dictionary read once however many
// streams use it, and the embedded TrueType programs registered with the
// font service for the page. Destroying the set unregisters the programs, so
// a page that ends in an error cleans up as well.
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "render/fonts/selected_font.h"

namespace vs {

class TqxPDFDictObject;
class TqxPDFObjectStore;
class TqxPDFStreamObject;

class TPageFonts {
 public:
  TPageFonts() = default;
  TPageFonts(const TPageFonts&) = delete;
  TPageFonts& operator=(const TPageFonts&) = delete;
  ~TPageFonts();

  // The selected font for a font dictionary under a resource name; the
  // dictionary is read, and an embedded TrueType program registered, the
  // first time. checkBoxGlyphs: selected for the mark of a check box or
  // radio button (see LoadFont).
  std::shared_ptr<const TqxSelectedFont> Select(const TqxPDFObjectStore& store, const std::string& resourceName,
                                                const TqxPDFDictObject& dict, bool checkBoxGlyphs = false);

  // The font used before any Tf, or after one naming no font: Arial-drawn
  // text in WinAnsi with Helvetica widths.
  std::shared_ptr<const TqxSelectedFont> Default();

  // Names the embedded programs of this page are registered under.
  std::vector<std::string> RegisteredNames() const;

 private:
  std::shared_ptr<const TqxSelectedFont> Make(std::shared_ptr<const TqxPDFFontObject> font,
                                              const std::string& measureFamily);
  std::string RegisterEmbedded(const TqxPDFObjectStore& store, const TqxPDFDictObject& dict);

  std::map<std::pair<const TqxPDFDictObject*, bool>, std::shared_ptr<const TqxSelectedFont>> fonts_;
  std::map<const TqxPDFDictObject*, std::string> measureFamilies_;  // registered once per dictionary
  // The family of each program stream, decoded and registered once however
  // many dictionaries share it (empty when it could not be).
  std::map<const TqxPDFStreamObject*, std::string> programs_;
  int64_t programBytes_ = 0;  // decoded for this page, within a cap
  std::shared_ptr<const TqxSelectedFont> default_;
  std::vector<int> handles_;
  std::vector<std::string> names_;
};

}  // namespace vs
