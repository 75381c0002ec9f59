#include "xls/cell_texts/text_items.h"

#include <utility>

namespace vs {
namespace {

// A font's Height is its em when negative, its line height when positive.
constexpr double kEmPerLineHeight = 0.87;
// Fonts whose space width is remembered on one page.
constexpr size_t kMaxRememberedFonts = 64;

bool Regroupable(const TqxFmTextItem& item) {
  if (dynamic_cast<const TqxSheetTextItem*>(&item)) return false;
  if (!item.FromMetafile || item.Rotation != 0 || item.HasRect || item.Lines.Count() != 1) return false;
  return item.CharAdvances.size() == item.Lines.Get(0).size() && !item.CharAdvances.empty();
}

double EmOf(const TFont& font) {
  const int h = font.Height();
  return h < 0 ? -static_cast<double>(h) : h * kEmPerLineHeight;
}

}  // namespace

size_t RegroupTextItems(std::vector<std::unique_ptr<TqxFmTextItem>>& items, const TqxTextMeasurer& measure,
                        const std::vector<TqxRuling>& rulings, std::vector<std::string>* trace) {
  std::vector<std::pair<TFont, double>> spaces;
  auto spaceWidth = [&](const TFont& font) {
    for (const auto& [known, width] : spaces) {
      if (known == font) return width;
    }
    // Ten spaces, so that rounding to whole pixels hardly shows.
    const double width = measure.Width(u"          ", font) / 10;
    if (spaces.size() < kMaxRememberedFonts) spaces.emplace_back(font, width);
    return width;
  };

  std::vector<std::unique_ptr<TqxFmTextItem>> sources, kept;
  std::vector<TqxSourceText> texts;
  for (auto& item : items) {
    if (!Regroupable(*item)) {
      kept.push_back(std::move(item));
      continue;
    }
    // The advances move: the source keeps only what its cell texts take from it.
    texts.push_back({item->X, item->Y, EmOf(item->Font), spaceWidth(item->Font), item->Lines.Get(0),
                     std::move(item->CharAdvances)});
    sources.push_back(std::move(item));
  }
  items.clear();
  size_t beyond = 0;
  for (TqxCellText& cell : CellTextsFromGeometry(texts, rulings, trace, &beyond)) {
    const TqxFmTextItem& source = *sources[static_cast<size_t>(cell.Source)];
    auto item = std::make_unique<TqxFmTextItem>();
    item->X = cell.X;
    item->Y = cell.Y;
    item->Font = source.Font;
    item->Brush = source.Brush;
    item->Alignment = source.Alignment;
    item->FromMetafile = source.FromMetafile;
    for (char16_t c : cell.Text) item->WideChars |= c > 255;
    item->Lines.Add(std::move(cell.Text));
    item->CharAdvances = std::move(cell.Advances);
    items.push_back(std::move(item));
  }
  for (auto& item : kept) items.push_back(std::move(item));
  return beyond;
}

}  // namespace vs
