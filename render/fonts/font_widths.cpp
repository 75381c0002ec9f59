#include "render/fonts/font_widths.h"

#include <algorithm>
#include <cmath>

#include "render/text/font_decoder.h"
#include "render/text/object_lookup.h"
#include "resources/core_fonts.h"

namespace vs {
namespace {

constexpr int64_t kMaxCid = 0xFFFF;

// Helvetica of the font's style stands in for fonts of unknown metrics.
std::string_view CoreFontFor(std::string_view baseFont, bool bold, bool italic) {
  if (auto core = CoreFontName(baseFont)) return *core;
  static constexpr std::string_view kHelvetica[] = {"Helvetica", "Helvetica-Bold", "Helvetica-Oblique",
                                                    "Helvetica-BoldOblique"};
  return kHelvetica[(bold ? 1 : 0) + (italic ? 2 : 0)];
}

double Finite(double v) { return std::isfinite(v) ? v : 0; }

}  // namespace

TFontWidths TFontWidths::Build(const TqxPDFObjectStore& store, const TqxPDFDictObject& font,
                               const TFontDecoder& decoder, bool bold, bool italic) {
  if (decoder.Composite()) {
    auto* descendants = LookupAs<TqxPDFArrayObject>(store, &font, "/DescendantFonts");
    TqxPDFDictObject* cidFont = descendants ? DictOf(store, descendants->Item(0)) : nullptr;
    double dw = LookupNumber(store, cidFont, "/DW").value_or(1000);
    TFontWidths widths = FromW(store, cidFont ? cidFont->Lookup("/W") : nullptr, dw);
    if (decoder.Vertical()) widths.ReadVertical(store, cidFont);
    return widths;
  }

  TFontWidths widths;
  TqxPDFDictObject* descriptor = DictOf(store, font.Lookup("/FontDescriptor"));
  double missing = Finite(LookupNumber(store, descriptor, "/MissingWidth").value_or(0));
  double scale = 1;
  if (LookupName(store, &font, "/Subtype") == "Type3") {
    auto* matrix = LookupAs<TqxPDFArrayObject>(store, &font, "/FontMatrix");
    double a = matrix ? NumberOf(store, matrix->Item(0)).value_or(0.001) : 0.001;
    scale = Finite(std::abs(a) * 1000);
  }
  auto* list = LookupAs<TqxPDFArrayObject>(store, &font, "/Widths");
  if (list) {
    int64_t first = static_cast<int64_t>(Finite(LookupNumber(store, &font, "/FirstChar").value_or(0)));
    widths.simple_.fill(missing * scale);
    for (int32_t i = 0; i < list->Count(); ++i) {
      int64_t code = first + i;
      if (code < 0 || code > 255) continue;
      widths.simple_[static_cast<size_t>(code)] = Finite(NumberOf(store, list->Item(i)).value_or(missing)) * scale;
    }
    return widths;
  }
  std::string_view core = CoreFontFor(LookupName(store, &font, "/BaseFont"), bold, italic);
  for (uint32_t code = 0; code < 256; ++code) {
    std::string name = decoder.GlyphName(code);
    widths.simple_[code] = (name.empty() ? missing : CoreGlyphWidth(core, name).value_or(missing)) * scale;
  }
  return widths;
}

TFontWidths TFontWidths::FromW(const TqxPDFObjectStore& store, const TqxPDFObject* wObject, double defaultWidth) {
  TFontWidths widths;
  widths.composite_ = true;
  widths.defaultWidth_ = Finite(defaultWidth);
  auto* w = As<TqxPDFArrayObject>(store.Resolve(const_cast<TqxPDFObject*>(wObject)));
  if (!w) return widths;
  for (int32_t i = 0; i < w->Count();) {
    auto first = NumberOf(store, w->Item(i));
    if (!first) {
      ++i;
      continue;
    }
    TqxPDFObject* next = store.Resolve(w->Item(i + 1));
    if (auto* list = As<TqxPDFArrayObject>(next)) {
      // c [w1 w2 ...]: widths of c, c+1, ...
      Range range{0, 0, 0, {}};
      if (*first >= 0 && *first <= kMaxCid) {
        range.First = static_cast<uint32_t>(*first);
        for (int32_t k = 0; k < list->Count() && range.First + range.Widths.size() <= kMaxCid; ++k)
          range.Widths.push_back(Finite(NumberOf(store, list->Item(k)).value_or(widths.defaultWidth_)));
        if (!range.Widths.empty()) {
          range.Last = range.First + static_cast<uint32_t>(range.Widths.size()) - 1;
          widths.ranges_.push_back(std::move(range));
        }
      }
      i += 2;
      continue;
    }
    // c1 c2 w: one width for c1 ... c2.
    auto last = NumberOf(store, next);
    auto width = NumberOf(store, w->Item(i + 2));
    if (!last || !width) break;
    if (*first <= *last && *last >= 0 && *first <= kMaxCid)
      widths.ranges_.push_back({static_cast<uint32_t>(std::max(0.0, *first)),
                                static_cast<uint32_t>(std::min<double>(*last, kMaxCid)), Finite(*width), {}});
    i += 3;
  }
  std::stable_sort(widths.ranges_.begin(), widths.ranges_.end(),
                   [](const Range& a, const Range& b) { return a.First < b.First; });
  return widths;
}

double TFontWidths::Width(uint32_t codeOrCid) const {
  if (!composite_) return codeOrCid < 256 ? simple_[codeOrCid] : 0;
  auto it = std::upper_bound(ranges_.begin(), ranges_.end(), codeOrCid,
                             [](uint32_t c, const Range& r) { return c < r.First; });
  // The nearest ranges before the CID; overlapping ranges are rare.
  for (int n = 0; n < 64 && it != ranges_.begin(); ++n) {
    const Range& r = *--it;
    if (codeOrCid > r.Last) continue;
    return r.Widths.empty() ? r.Width : r.Widths[codeOrCid - r.First];
  }
  return defaultWidth_;
}

void TFontWidths::ReadVertical(const TqxPDFObjectStore& store, const TqxPDFDictObject* cidFont) {
  if (auto* dw2 = LookupAs<TqxPDFArrayObject>(store, cidFont, "/DW2"); dw2 && dw2->Count() >= 2) {
    defaultOriginY_ = Finite(NumberOf(store, dw2->Item(0)).value_or(880));
    defaultVerticalAdvance_ = Finite(NumberOf(store, dw2->Item(1)).value_or(-1000));
  }
  auto* w2 = LookupAs<TqxPDFArrayObject>(store, cidFont, "/W2");
  if (!w2) return;
  auto number = [&](TqxPDFObject* item) { return Finite(NumberOf(store, item).value_or(0)); };
  for (int32_t i = 0; i < w2->Count();) {
    auto first = NumberOf(store, w2->Item(i));
    if (!first) {
      ++i;
      continue;
    }
    TqxPDFObject* next = store.Resolve(w2->Item(i + 1));
    if (auto* list = As<TqxPDFArrayObject>(next)) {
      // c [w1y vx vy w1y vx vy ...]: c, c+1, ...
      if (*first >= 0 && *first <= kMaxCid) {
        auto cid = static_cast<uint32_t>(*first);
        for (int32_t k = 0; k + 2 < list->Count() && cid <= kMaxCid; k += 3, ++cid)
          vertical_.push_back({cid, cid, number(list->Item(k)), number(list->Item(k + 1)), number(list->Item(k + 2))});
      }
      i += 2;
      continue;
    }
    // c1 c2 w1y vx vy: one set for c1 ... c2.
    auto last = NumberOf(store, next);
    if (!last || i + 4 >= w2->Count()) break;
    if (*first <= *last && *last >= 0 && *first <= kMaxCid)
      vertical_.push_back({static_cast<uint32_t>(std::max(0.0, *first)),
                           static_cast<uint32_t>(std::min<double>(*last, kMaxCid)), number(w2->Item(i + 2)),
                           number(w2->Item(i + 3)), number(w2->Item(i + 4))});
    i += 5;
  }
  std::stable_sort(vertical_.begin(), vertical_.end(),
                   [](const VerticalRange& a, const VerticalRange& b) { return a.First < b.First; });
}

TFontWidths::TVertical TFontWidths::Vertical(uint32_t cid) const {
  auto it = std::upper_bound(vertical_.begin(), vertical_.end(), cid,
                             [](uint32_t c, const VerticalRange& r) { return c < r.First; });
  for (int n = 0; n < 64 && it != vertical_.begin(); ++n) {
    const VerticalRange& r = *--it;
    if (cid <= r.Last) return {r.Advance, r.OriginX, r.OriginY};
  }
  return {defaultVerticalAdvance_, Width(cid) / 2, defaultOriginY_};
}

}  // namespace vs
