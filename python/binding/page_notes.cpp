#include "python/binding/page_notes.h"

#include "app/conversion/message_cause.h"
#include "platform/numbers.h"

namespace vs {
namespace {

std::string Counted(int64_t count, const std::string& one, const std::string& many) {
  return IntToText(count) + " " + (count == 1 ? one : many);
}

}  // namespace

std::vector<std::string> NoteTexts(const ConversionResult& result) {
  std::vector<std::string> notes(result.document_notes);  // the document's own, first, as the command line says them
  for (const PageNotes& page : result.page_notes) {
    const std::string on = "page " + IntToText(page.page) + ": ";
    if (page.skipped_operators > 0)
      notes.push_back(on +
                      Counted(page.skipped_operators, "drawing operation was skipped because it",
                              "drawing operations were skipped because they") +
                      " could not be carried out");
    if (page.unwritable_characters > 0)
      notes.push_back(on + Counted(page.unwritable_characters, "character", "characters") +
                      " could not be written to the workbook");
    if (page.cut_texts > 0)
      notes.push_back(on + Counted(page.cut_texts, "text was", "texts were") + " cut to the " +
                      IntToText(result.cell_text_limit) + " characters a cell holds");
    if (page.cells_outside_sheet > 0)
      notes.push_back(on + Counted(page.cells_outside_sheet, "text lay", "texts lay") +
                      " beyond the worksheet's last row or column and " +
                      (page.cells_outside_sheet == 1 ? "was" : "were") + " left out");
    if (page.joined_at_edge > 0)
      notes.push_back(on + Counted(page.joined_at_edge, "text lay", "texts lay") +
                      " beyond the worksheet's last row or column and " +
                      (page.joined_at_edge == 1 ? "was joined into a cell" : "were joined into cells") + " at its edge");
    if (page.pictures_left_out > 0)
      notes.push_back(on + Counted(page.pictures_left_out, "picture or drawing was", "pictures or drawings were") +
                      " left out: the file format cannot hold " + (page.pictures_left_out == 1 ? "it" : "them"));
  }
  return notes;
}

std::vector<std::string> FailedPageTexts(const ConversionResult& result) {
  std::vector<std::string> lines;
  for (const PageFailure& failure : result.failed_pages)
    lines.push_back("page " + IntToText(failure.page) + " failed: " + ShownCause(failure.reason));
  return lines;
}

}  // namespace vs
