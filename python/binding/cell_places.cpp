#include "python/binding/cell_places.h"

#include <map>
#include <utility>

#include "xls/excel_engine.h"
#include "xls/layout/sheet_items.h"

namespace vs {
namespace {

constexpr double kPointsPerPixel = 72.0 / 96.0;

class TPlaceRecordingEngine : public TqxExcelEngine {
 public:
  explicit TPlaceRecordingEngine(std::vector<TCellPlace>& places) : places_(places) {}

 protected:
  void SortItems(TqxItemList& list) override {
    const TqxPageItem* page = CurrentPageItem();
    const bool pageTexts = page && &list == &page->Texts && BandState() == TqxBand::bsPage;
    const size_t sheets = Sheets().size();
    const int offset = RowOffset();
    TqxExcelEngine::SortItems(list);
    if (!pageTexts) return;
    // The layout starts a page that does not go on with the table before
    // after a blank row, on the same worksheet; one that goes on follows it.
    continues_ = offset > 0 && RowOffset() == offset && Sheets().size() == sheets;
    previousLast_ = lastOnPage_;
    lastOnPage_ = {-1, -1};
  }

  void RenderTextItem(TqxTextItem& item) override {
    TqxExcelEngine::RenderTextItem(item);
    const auto* placed = dynamic_cast<const TqxFmTextItem*>(&item);
    if (!placed || dynamic_cast<const TqxSheetTextItem*>(&item)) return;
    TCellPlace place;
    place.sheet = static_cast<int>(Sheets().size());
    place.row = RowOffset() + placed->Row;
    place.column = placed->Col;
    place.span = placed->Span;
    place.page = CurrentPage();
    // A page laid out turned has its table cells without a table number.
    if (placed->InTable) place.table = TableNumber(std::max(0, placed->Table));
    place.left = placed->X * kPointsPerPixel;
    place.top = placed->Y * kPointsPerPixel;
    place.width = placed->TextWidth * kPointsPerPixel;
    place.height = placed->TextHeight * kPointsPerPixel;
    places_.push_back(place);
  }

 private:
  int TableNumber(int onPage) {
    const std::pair<int, int> key{CurrentPage(), onPage};
    auto found = numbers_.find(key);
    if (found == numbers_.end()) {
      const bool goesOn = continues_ && onPage == 0 && previousLast_.first >= 0;
      found = numbers_.emplace(key, goesOn ? previousLast_.second : next_++).first;
    }
    if (onPage >= lastOnPage_.first) lastOnPage_ = {onPage, found->second};
    return found->second;
  }

  std::vector<TCellPlace>& places_;
  std::map<std::pair<int, int>, int> numbers_;  // (page, table on the page) -> run's table number
  int next_ = 0;
  bool continues_ = false;
  std::pair<int, int> lastOnPage_{-1, -1};    // (table on the page, number) of the page's last table
  std::pair<int, int> previousLast_{-1, -1};  // the same of the page before
};

}  // namespace

std::unique_ptr<TqxExcelEngine> MakePlaceRecordingEngine(std::vector<TCellPlace>& places) {
  return std::make_unique<TPlaceRecordingEngine>(places);
}

}  // namespace vs
