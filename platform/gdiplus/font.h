#pragma once
// Font families, fonts, the installed font collection and string formats,
// backed by the font service.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/gdiplus/types.h"

namespace vs {

class GpFontFamily {
 public:
  std::u16string name;  // as requested
  bool ownedByCollection = false;
};

class GpFont {
 public:
  std::u16string family;
  REAL emSize = 0;
  int style = FontStyleRegular;
  Unit unit = UnitPoint;
  // A face that measures the text in place of the family's (a font program
  // the document embeds); the records still name the family.
  std::u16string measureFamily;
};

class GpFontCollection {
 public:
  std::vector<GpFontFamily*> families;
  std::vector<std::unique_ptr<GpFontFamily>> pool;  // every family ever listed stays valid
};

class GpStringFormat {
 public:
  StringAlignment align = StringAlignmentNear;
  StringAlignment lineAlign = StringAlignmentNear;
  int flags = 0;
  bool typographic = false;
};

// The system collection, refreshed (families registered since are added) at each call.
GpStatus GdipNewInstalledFontCollection(GpFontCollection** collection);
GpStatus GdipGetFontCollectionFamilyCount(GpFontCollection* collection, int* count);
// The families stay owned by the collection.
GpStatus GdipGetFontCollectionFamilyList(GpFontCollection* collection, int sought, GpFontFamily** families,
                                         int* found);

// FontFamilyNotFound, and no family, when the name is not installed.
GpStatus GdipCreateFontFamilyFromName(const char16_t* name, GpFontCollection* collection,
                                      GpFontFamily** family);
GpStatus GdipCloneFontFamily(GpFontFamily* family, GpFontFamily** clone);
GpStatus GdipDeleteFontFamily(GpFontFamily* family);
// name receives up to 31 characters and a terminating zero (32 units).
GpStatus GdipGetFamilyName(const GpFontFamily* family, char16_t* name, uint16_t language);
GpStatus GdipGetEmHeight(const GpFontFamily* family, int style, uint16_t* emHeight);
GpStatus GdipGetCellAscent(const GpFontFamily* family, int style, uint16_t* ascent);
GpStatus GdipGetCellDescent(const GpFontFamily* family, int style, uint16_t* descent);
GpStatus GdipGetLineSpacing(const GpFontFamily* family, int style, uint16_t* spacing);

GpStatus GdipCreateFont(const GpFontFamily* family, REAL emSize, int style, Unit unit, GpFont** font);
GpStatus GdipCloneFont(GpFont* font, GpFont** clone);
GpStatus GdipDeleteFont(GpFont* font);
GpStatus GdipGetFontSize(GpFont* font, REAL* size);
GpStatus GdipGetFontStyle(GpFont* font, int* style);
GpStatus GdipGetFamily(GpFont* font, GpFontFamily** family);

// A new format each call; the caller deletes it.
GpStatus GdipStringFormatGetGenericTypographic(GpStringFormat** format);
GpStatus GdipCreateStringFormat(int flags, uint16_t language, GpStringFormat** format);
GpStatus GdipDeleteStringFormat(GpStringFormat* format);
GpStatus GdipSetStringFormatAlign(GpStringFormat* format, StringAlignment align);
GpStatus GdipGetStringFormatAlign(GpStringFormat* format, StringAlignment* align);
GpStatus GdipSetStringFormatLineAlign(GpStringFormat* format, StringAlignment align);

}  // namespace vs
