#pragma once
// The fonts of the pages a document draws: each font dictionary read once
// however many streams use it, and the embedded TrueType programs registered
// with the font service. A document keeps one set for all its pages, so
// that the fonts pages share are read and registered once; the fonts used
// longest ago are let go when a page starts, which keeps a long document's
// memory flat. Destroying the set unregisters the programs, so a page that
// ends in an error cleans up as well.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/fonts/program_codes.h"
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

  // Begins the next page: only the fonts and programs used last are kept,
  // and the page may decode programs anew up to its cap.
  void StartPage();

  // The selected font for a font dictionary under a resource name; the
  // dictionary is read, and an embedded TrueType program registered, the
  // first time. checkBoxGlyphs: selected for the mark of a check box or
  // radio button (see LoadFont).
  std::shared_ptr<const TqxSelectedFont> Select(const TqxPDFObjectStore& store, const std::string& resourceName,
                                                const TqxPDFDictObject& dict, bool checkBoxGlyphs = false);

  // The font used before any Tf, or after one naming no font: Arial-drawn
  // text in WinAnsi with Helvetica widths.
  std::shared_ptr<const TqxSelectedFont> Default();

  // Names the embedded programs held are registered under.
  std::vector<std::string> RegisteredNames() const;

 private:
  // A program stream, decoded and registered once however many dictionaries
  // share it (no family when it could not be).
  struct Program {
    std::string Family;
    int Handle = 0;  // 0: not registered
    int64_t Bytes = 0;
    bool Kept = false;
  };
  // What a font dictionary gave: its selected fonts (drawn normally, and as
  // a check-box mark) and the program that measures its text.
  struct DictFonts {
    std::shared_ptr<const TqxSelectedFont> Selected[2];
    Program* Measure = nullptr;
    int64_t LastPage = 0;  // the page that used it last
    bool Kept = false;
  };

  std::shared_ptr<const TqxSelectedFont> Make(std::shared_ptr<const TqxPDFFontObject> font,
                                              const std::string& measureFamily);
  Program* RegisterEmbedded(const TqxPDFObjectStore& store, const TqxPDFDictObject& dict);
  // The codes of a simple font's program, read once per stream within the page's cap.
  std::shared_ptr<const TProgramCodes> ProgramCodes(const TqxPDFObjectStore& store, const TqxPDFStreamObject& stream);

  std::map<const TqxPDFDictObject*, DictFonts> dicts_;
  std::map<const TqxPDFStreamObject*, Program> programs_;
  std::map<const TqxPDFStreamObject*, std::shared_ptr<const TProgramCodes>> programCodes_;
  int64_t page_ = 0;          // pages started
  int64_t programBytes_ = 0;  // decoded for this page, within a cap
  std::shared_ptr<const TqxSelectedFont> default_;
};

}  // namespace vs
