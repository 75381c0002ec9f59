#include "cli/convert_report.h"

#include <unistd.h>

#include "cli/messages.h"
#include "cli/terminal_prompt.h"
#include "platform/numbers.h"

namespace vs::cli {
namespace {

// Notes beyond these are summed up in one line.
constexpr size_t kMaxNoteLines = 20;

std::string Prefix(const std::string& file) { return "vellumsheet: " + file + ": "; }

// The remedy the command line offers for a failure.
std::string Remedy(ConversionRemedy remedy) {
  switch (remedy) {
    case ConversionRemedy::GivePassword: return "; give it with --password or --password-file";
    case ConversionRemedy::ReplaceProtected: return " (the workbook is write-protected; --force replaces it)";
    case ConversionRemedy::None: break;
  }
  return "";
}

}  // namespace

std::vector<std::string> Notes(const PageNotes& page, int64_t cell_text_limit) {
  std::vector<std::string> notes;
  if (page.ocr.Read)
    notes.push_back("read from its scan: " + Counted(page.ocr.Words, "word", "words") + ", " +
                    IntToText(page.ocr.Uncertain) + " uncertain" +
                    (page.ocr.TimedOut ? " (recognition stopped at the time a page may take)" : "") +
                    (page.ocr.PictureKept ? "; too few words were read with certainty, so the picture stays" : ""));
  if (page.skipped_operators > 0)
    notes.push_back(Counted(page.skipped_operators, "drawing operation was skipped because it",
                            "drawing operations were skipped because they") +
                    " could not be carried out");
  if (page.unwritable_characters > 0)
    notes.push_back(Counted(page.unwritable_characters, "character", "characters") +
                    " could not be written to the workbook");
  if (page.cut_texts > 0)
    notes.push_back(Counted(page.cut_texts, "text was", "texts were") + " cut to the " + IntToText(cell_text_limit) +
                    " characters a cell holds");
  if (page.cells_outside_sheet > 0)
    notes.push_back(Counted(page.cells_outside_sheet, "text lay", "texts lay") +
                    " beyond the worksheet's last row or column and " +
                    (page.cells_outside_sheet == 1 ? "was" : "were") + " left out");
  if (page.joined_at_edge > 0)
    notes.push_back(Counted(page.joined_at_edge, "text lay", "texts lay") +
                    " beyond the worksheet's last row or column and " +
                    (page.joined_at_edge == 1 ? "was joined into a cell" : "were joined into cells") + " at its edge");
  if (page.pictures_left_out > 0)
    notes.push_back(Counted(page.pictures_left_out, "picture or drawing was", "pictures or drawings were") +
                    " left out: the file format cannot hold " + (page.pictures_left_out == 1 ? "it" : "them"));
  return notes;
}

std::string Counted(int64_t count, const std::string& one, const std::string& many) {
  return IntToText(count) + " " + (count == 1 ? one : many);
}

std::vector<std::string> FailureLines(const ConvertJob& job, const ConversionResult& result) {
  const bool write = result.outcome == ConversionOutcome::WriteFailed;
  return {Prefix(write ? ShownName(job.output) : ShownInput(job.input)) + Cause(result.cause) + Remedy(result.remedy)};
}

std::vector<std::string> FailedPageLines(const ConvertJob& job, const ConversionResult& result) {
  std::vector<std::string> lines;
  if (result.failed_pages.empty()) return lines;
  for (const PageFailure& failure : result.failed_pages)
    lines.push_back(Prefix(ShownInput(job.input)) + "page " + IntToText(failure.page) + " failed: " + Cause(failure.reason));
  lines.push_back(Prefix(ShownInput(job.input)) + IntToText(static_cast<int64_t>(result.failed_pages.size())) + " of " +
                  Counted(result.pages_total, "page", "pages") +
                  " failed; the workbook holds what could be drawn");
  return lines;
}

std::vector<std::string> NoteLines(const ConvertJob& job, const ConversionResult& result) {
  std::vector<std::string> lines;
  for (const std::string& note : result.document_notes) lines.push_back(Prefix(ShownInput(job.input)) + note);
  size_t left_out = 0;
  // Pictures a format cannot hold are left out on every page alike: one line for all.
  int64_t pictures = 0, picture_pages = 0;
  for (PageNotes page : result.page_notes) {
    pictures += page.pictures_left_out;
    picture_pages += page.pictures_left_out > 0;
    page.pictures_left_out = 0;
    for (const std::string& note : Notes(page, result.cell_text_limit)) {
      if (lines.size() < kMaxNoteLines) lines.push_back(Prefix(ShownInput(job.input)) + "page " + IntToText(page.page) + ": " + note);
      else ++left_out;
    }
  }
  if (left_out > 0)
    lines.push_back(Prefix(ShownInput(job.input)) + Counted(static_cast<int64_t>(left_out), "more note", "more notes") +
                    " on later pages left out");
  if (pictures > 0)
    lines.push_back(Prefix(ShownInput(job.input)) + Counted(pictures, "picture or drawing", "pictures or drawings") +
                    " on " + Counted(picture_pages, "page", "pages") + (pictures == 1 ? " was" : " were") +
                    " left out: the file format cannot hold " + (pictures == 1 ? "it" : "them"));
  return lines;
}

void WriteErrorLine(const std::string& text) {
  // On a terminal the line waits for a password question of another process
  // of the batch to be answered rather than land on it.
  const TerminalTurn turn;
  std::string line = text + "\n";
  for (size_t done = 0; done < line.size();) {
    ssize_t n = write(STDERR_FILENO, line.data() + done, line.size() - done);
    if (n <= 0) return;
    done += static_cast<size_t>(n);
  }
}

}  // namespace vs::cli
