#include "app/wizard/run_notes.h"

#include <functional>

namespace vs {
namespace {

// Pages named beyond these are counted instead.
constexpr int kPagesNamed = 8;

QString Counted(int64_t count, const QString& one, const QString& many) {
  return QString::number(count) + " " + (count == 1 ? one : many);
}

QString PageList(const std::vector<int32_t>& pages) {
  QStringList named;
  for (size_t i = 0; i < pages.size() && i < kPagesNamed; ++i) named << QString::number(pages[i]);
  QString text = (pages.size() == 1 ? "page " : "pages ") + named.join(", ");
  if (pages.size() > kPagesNamed) text += " and " + Counted(static_cast<int64_t>(pages.size() - kPagesNamed), "more", "more");
  return text;
}

// The sum of one count over the pages, with the pages that have it.
QString Loss(const ConversionResult& result, const std::function<int64_t(const PageNotes&)>& count,
             const QString& one, const QString& many) {
  int64_t total = 0;
  std::vector<int32_t> pages;
  for (const PageNotes& page : result.page_notes) {
    if (count(page) <= 0) continue;
    total += count(page);
    pages.push_back(page.page);
  }
  if (total == 0) return {};
  return Counted(total, one, many) + " (" + PageList(pages) + ").";
}

}  // namespace

QStringList RunNotes(const ConversionResult& result, bool onePerSheet) {
  QStringList notes;
  if (!result.failed_pages.empty()) {
    std::vector<int32_t> pages;
    for (const PageFailure& failure : result.failed_pages) pages.push_back(failure.page);
    notes << Counted(static_cast<int64_t>(pages.size()), "page", "pages") + " of " + QString::number(result.pages_total) +
                 " could not be converted completely (" + PageList(pages) +
                 "): the workbook holds what could be drawn.";
  }
  const QString limit = QString::number(result.cell_text_limit);
  const QString losses[] = {
      Loss(result, [](const PageNotes& p) { return p.unwritable_characters; },
           "character could not be written to the workbook and shows as \"?\"",
           "characters could not be written to the workbook and show as \"?\""),
      Loss(result, [](const PageNotes& p) { return p.cut_texts; }, "text was cut to the " + limit + " characters a cell holds",
           "texts were cut to the " + limit + " characters a cell holds"),
      Loss(result, [](const PageNotes& p) { return p.cells_outside_sheet; },
           "text lay beyond the worksheet's last row or column and was left out",
           "texts lay beyond the worksheet's last row or column and were left out"),
      Loss(result, [](const PageNotes& p) { return p.joined_at_edge; },
           "text lay beyond the worksheet's last row or column and was joined into a cell at its edge",
           "texts lay beyond the worksheet's last row or column and were joined into cells at its edge"),
      Loss(result, [](const PageNotes& p) { return p.pictures_left_out; },
           "picture or drawing was left out: the file format cannot hold it",
           "pictures or drawings were left out: the file format cannot hold them"),
      Loss(result, [](const PageNotes& p) { return p.skipped_operators; },
           "drawing operation could not be carried out", "drawing operations could not be carried out"),
  };
  for (const QString& loss : losses)
    if (!loss.isEmpty()) notes << loss;
  for (const std::string& note : result.document_notes) {
    QString sentence = QString::fromStdString(note);
    if (!sentence.isEmpty()) sentence[0] = sentence[0].toUpper();
    notes << sentence + ".";
  }
  if (!onePerSheet && result.worksheets > 1)
    notes << "The pages did not fit on one worksheet (more rows than a worksheet of this file format holds): "
             "they fill " + QString::number(result.worksheets) + " worksheets.";
  return notes;
}

}  // namespace vs
