#include "platform/gdiplus/font.h"

#include <algorithm>

#include "platform/codepage.h"
#include "platform/fonts/font_service.h"

namespace vs {
namespace {

// Design metrics of a family; raises nothing (errors become a status).
GpStatus Design(const GpFontFamily* family, int style, TDesignMetrics* out) {
  if (!family || !out) return InvalidParameter;
  try {
    *out = TFontService::Instance().DesignMetrics(WideToUtf8(family->name), style & FontStyleBoldItalic);
    return Ok;
  } catch (const Exception&) {
    return FontFamilyNotFound;
  }
}

GpStatus Metric(const GpFontFamily* family, int style, uint16_t* value, int TDesignMetrics::*field) {
  if (!value) return InvalidParameter;
  TDesignMetrics m;
  GpStatus status = Design(family, style, &m);
  if (status == Ok) *value = static_cast<uint16_t>(std::clamp(m.*field, 0, 0xFFFF));
  return status;
}

}  // namespace

GpStatus GdipNewInstalledFontCollection(GpFontCollection** collection) {
  if (!collection) return InvalidParameter;
  static GpFontCollection installed;
  installed.families.clear();
  try {
    for (const auto& name : TFontService::Instance().Families()) {
      std::u16string wide = Utf8ToWide(name);
      auto it = std::find_if(installed.pool.begin(), installed.pool.end(),
                             [&](const auto& f) { return f->name == wide; });
      if (it == installed.pool.end()) {
        installed.pool.push_back(std::make_unique<GpFontFamily>(GpFontFamily{wide, true}));
        it = installed.pool.end() - 1;
      }
      installed.families.push_back(it->get());
    }
  } catch (const Exception&) {
    return GenericError;
  }
  *collection = &installed;
  return Ok;
}

GpStatus GdipGetFontCollectionFamilyCount(GpFontCollection* collection, int* count) {
  if (!collection || !count) return InvalidParameter;
  *count = static_cast<int>(collection->families.size());
  return Ok;
}

GpStatus GdipGetFontCollectionFamilyList(GpFontCollection* collection, int sought, GpFontFamily** families,
                                         int* found) {
  if (!collection || !families || !found || sought < 0) return InvalidParameter;
  int n = std::min(sought, static_cast<int>(collection->families.size()));
  std::copy_n(collection->families.begin(), n, families);
  *found = n;
  return Ok;
}

GpStatus GdipCreateFontFamilyFromName(const char16_t* name, GpFontCollection* collection,
                                      GpFontFamily** family) {
  if (!name || !family) return InvalidParameter;
  *family = nullptr;
  std::u16string wide(name);
  try {
    if (!TFontService::Instance().HasFamily(WideToUtf8(wide))) return FontFamilyNotFound;
  } catch (const Exception&) {
    return FontFamilyNotFound;
  }
  *family = new GpFontFamily{wide, false};
  return Ok;
}

GpStatus GdipCloneFontFamily(GpFontFamily* family, GpFontFamily** clone) {
  if (!family || !clone) return InvalidParameter;
  *clone = new GpFontFamily{family->name, false};
  return Ok;
}

GpStatus GdipDeleteFontFamily(GpFontFamily* family) {
  if (family && !family->ownedByCollection) delete family;
  return Ok;
}

GpStatus GdipGetFamilyName(const GpFontFamily* family, char16_t* name, uint16_t) {
  if (!family || !name) return InvalidParameter;
  size_t n = std::min<size_t>(family->name.size(), 31);
  std::copy_n(family->name.begin(), n, name);
  name[n] = 0;
  return Ok;
}

GpStatus GdipGetEmHeight(const GpFontFamily* family, int style, uint16_t* v) {
  return Metric(family, style, v, &TDesignMetrics::EmHeight);
}
GpStatus GdipGetCellAscent(const GpFontFamily* family, int style, uint16_t* v) {
  return Metric(family, style, v, &TDesignMetrics::CellAscent);
}
GpStatus GdipGetCellDescent(const GpFontFamily* family, int style, uint16_t* v) {
  return Metric(family, style, v, &TDesignMetrics::CellDescent);
}
GpStatus GdipGetLineSpacing(const GpFontFamily* family, int style, uint16_t* v) {
  return Metric(family, style, v, &TDesignMetrics::LineSpacing);
}

GpStatus GdipCreateFont(const GpFontFamily* family, REAL emSize, int style, Unit unit, GpFont** font) {
  if (!font) return InvalidParameter;
  *font = nullptr;
  if (!family || !(emSize > 0) || unit == UnitDisplay) return InvalidParameter;
  *font = new GpFont{family->name, emSize, style, unit};
  return Ok;
}

GpStatus GdipCloneFont(GpFont* font, GpFont** clone) {
  if (!font || !clone) return InvalidParameter;
  *clone = new GpFont(*font);
  return Ok;
}

GpStatus GdipDeleteFont(GpFont* font) {
  delete font;
  return Ok;
}

GpStatus GdipGetFontSize(GpFont* font, REAL* size) {
  if (!font || !size) return InvalidParameter;
  *size = font->emSize;
  return Ok;
}

GpStatus GdipGetFontStyle(GpFont* font, int* style) {
  if (!font || !style) return InvalidParameter;
  *style = font->style;
  return Ok;
}

GpStatus GdipGetFamily(GpFont* font, GpFontFamily** family) {
  if (!font || !family) return InvalidParameter;
  *family = new GpFontFamily{font->family, false};
  return Ok;
}

GpStatus GdipStringFormatGetGenericTypographic(GpStringFormat** format) {
  if (!format) return InvalidParameter;
  *format = new GpStringFormat();
  (*format)->typographic = true;
  return Ok;
}

GpStatus GdipCreateStringFormat(int flags, uint16_t, GpStringFormat** format) {
  if (!format) return InvalidParameter;
  *format = new GpStringFormat();
  (*format)->flags = flags;
  return Ok;
}

GpStatus GdipDeleteStringFormat(GpStringFormat* format) {
  delete format;
  return Ok;
}

GpStatus GdipSetStringFormatAlign(GpStringFormat* format, StringAlignment align) {
  if (!format) return InvalidParameter;
  format->align = align;
  return Ok;
}

GpStatus GdipGetStringFormatAlign(GpStringFormat* format, StringAlignment* align) {
  if (!format || !align) return InvalidParameter;
  *align = format->align;
  return Ok;
}

GpStatus GdipSetStringFormatLineAlign(GpStringFormat* format, StringAlignment align) {
  if (!format) return InvalidParameter;
  format->lineAlign = align;
  return Ok;
}

}  // namespace vs
