#pragma once
// One conversion run: a PDF file in, a workbook at its destination out.
//
// The run has no user interface of its own. Whoever starts it (the convert
// command, the wizard's worker thread) supplies the choices in
// ConversionOptions, hears about progress and answers password and retry
// questions through ConversionCallbacks, and pauses or stops it through a
// RunControl. Nothing here pumps an event loop; callbacks are called on the
// thread that runs the conversion.
//
// The workbook is built in a private folder hidden beside its destination
// (workbook_destination.h) and only reaches the destination once it is
// complete: its files are renamed into place as a unit, and a run that fails
// or is stopped leaves every file there untouched.
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "render/ocr/ocr_settings.h"

namespace vs {

class PipelineDocument;
class PipelineEngine;

// The program's own texts for the two ways a run can fail.
inline constexpr char kReadFailedMessage[] = "Impossible to read selected PDF file.";
inline constexpr char kWriteFailedMessage[] = "Impossible to write selected Excel file.  It may be in use.";

struct ConversionOptions {
  std::string input;   // the PDF file, opened exactly as named
  std::string output;  // the workbook to write (a symlink writes its target)
  // When >= 0 the finished workbook is written to this descriptor (standard
  // output) instead of `output`.
  int output_fd = -1;
  std::string pages;                // range text "1-3,5,7-"; empty: every page
  bool page_words = false;          // the range may also say "all", and "end" or "z" for the last page
  int32_t pages_per_worksheet = 0;  // 0: all pages on one worksheet; n: n pages per worksheet
  std::string paper = "A4";         // "A3", "A4", "A5", "B4", "B5", "ISO-B4", "Letter"; any other text keeps the engine's
  int image_quality = 100;          // JPEG quality, 1 to 100
  bool auto_format_cells = false;   // numbers, currency amounts, dates and times written as numbers
  bool any_version = false;         // also open files whose header says 1.7 or 2.0
  bool cells_from_geometry = true;  // cell texts from where the characters stand (false: one per drawn string)
  // The worksheet shaped after the page: a cell's wrapped lines joined, column
  // widths and row heights from the page, orientation from each sheet's first
  // page, and, when `paper` names none, the standard paper nearest to it.
  bool sheet_from_page = false;
  bool table_layout = false;        // a grid per table found on a page, tables continued over pages (false: one page-wide grid)
  bool numbers_as_shown = true;     // with auto_format_cells, numbers keep the look of their text (false: fixed formats)
  bool replace_protected = false;   // replace an existing workbook that has no write permission
  std::string format = "xls";       // "xls", "xlsx" or "csv"
  bool csv_values = false;          // .csv: numbers as plain values, not as the page shows them
  bool csv_raw = false;             // .csv: text that reads as a formula without its leading quote
  TqxOcrSettings ocr;               // pages read from their pictures (default: never)
};

struct ConversionCallbacks {
  // Called once the document is loaded with (0, pages to convert) and after
  // every page with (pages done, pages to convert).
  std::function<void(int32_t done, int32_t total)> progress;
  // Asked when the empty password did not open the file; attempt is 1, 2 or
  // 3 (2 and 3 follow a wrong password). Nothing (or no callback) gives up,
  // and the run fails with kReadFailedMessage.
  std::function<std::optional<std::string>(int attempt)> password;
  // Asked when the workbook could not be written to `failed` (cause says
  // why); attempt counts from 1. A new name tries again, nothing gives up.
  // Without the callback a failed write ends the run, so the destination is
  // checked before the PDF is read and a destination that cannot be written
  // ends the run at once.
  std::function<std::optional<std::string>(const std::string& failed, const std::string& cause, int attempt)>
      retry_destination;
  // Called before progress for each page that was read from its pictures
  // (original page number).
  std::function<void(int32_t page)> page_read;
  // The reader's status texts while loading (optional).
  std::function<void(const std::string& text)> status;
};

// Pause and stop, set from any thread. The run looks at them after each page:
// while paused it waits there; once stopped it ends without writing anything.
class RunControl {
 public:
  void Pause();
  void Resume();
  void Stop();
  bool Paused() const;
  bool Stopped() const;
  // Used by the run: waits while paused; false once stopped.
  bool ContinueAfterPage();

 private:
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  bool paused_ = false;
  bool stopped_ = false;
};

enum class ConversionOutcome {
  Converted,    // written, every page rendered
  PagesFailed,  // written, but some pages failed to render (see failed_pages)
  ReadFailed,   // the PDF could not be opened: missing, damaged, wrong or no password, no pages
  WriteFailed,  // the workbook could not be built or written
  BadRequest,   // the options do not fit the document (a page range beyond its pages)
  Stopped,      // stopped through RunControl; nothing written
};

struct PageFailure {
  int32_t page = 0;  // page number in the original document
  std::string reason;
};

// What a page lost on its way into the workbook without failing.
struct PageNotes {
  int32_t page = 0;                   // page number in the original document
  int64_t skipped_operators = 0;      // drawing operators the renderer had to skip
  int64_t unwritable_characters = 0;  // characters with no code page 1252 form, written as "?"
  int64_t cut_texts = 0;              // texts cut to the characters a cell holds (cell_text_limit)
  int64_t cells_outside_sheet = 0;    // texts beyond the worksheet's last row or column, dropped
  int64_t pictures_left_out = 0;      // pictures and drawing objects the file format cannot hold
  int64_t joined_at_edge = 0;         // texts beyond the worksheet's last row or column, joined into its edge cells
  TqxOcrPageCounts ocr;               // what reading the page from its pictures found
};

// What whoever started the run can offer against a failure.
enum class ConversionRemedy {
  None,
  GivePassword,      // the file is encrypted and no password was given
  ReplaceProtected,  // the workbook is write-protected; replace_protected replaces it
};

struct ConversionResult {
  ConversionOutcome outcome = ConversionOutcome::Converted;
  std::string message;  // kReadFailedMessage, kWriteFailedMessage or empty
  // Why, for the failures: a short phrase without the file's name, which is
  // the PDF for a read failure and the destination for a write failure.
  std::string cause;
  ConversionRemedy remedy = ConversionRemedy::None;
  int32_t pages_total = 0;      // pages selected for conversion
  int32_t pages_converted = 0;  // pages that went through the page loop
  std::vector<PageFailure> failed_pages;
  std::vector<PageNotes> page_notes;  // the pages with something to note, in order
  std::vector<std::string> document_notes;  // what the document itself lost or doubted
  int32_t worksheets = 0;             // worksheets in the workbook
  int64_t cell_text_limit = 255;      // characters a text cell holds in the format written
  std::string written_to;             // the file written (a symlink's target), empty otherwise

  bool Written() const {
    return outcome == ConversionOutcome::Converted || outcome == ConversionOutcome::PagesFailed;
  }
  // 0 converted, 1 failed, 2 bad request, 3 written with failed pages.
  int ExitStatus() const;
};

// Makes the document and engine of one run; tests hand in their own.
struct Pipeline {
  std::function<std::unique_ptr<PipelineDocument>()> make_document;
  std::function<std::unique_ptr<PipelineEngine>()> make_engine;
};
// The real PDF document and Excel engine.
Pipeline DefaultPipeline();

// Checks a page range text without a document ("1-3,5,7-"); the error text
// for a bad one, nothing for a good one.
std::optional<std::string> CheckPageRange(const std::string& text, bool page_words = false);

ConversionResult RunConversion(const ConversionOptions& options, const ConversionCallbacks& callbacks,
                               RunControl* control = nullptr, const Pipeline& pipeline = DefaultPipeline());

// Removes the run's temporary files when the process is interrupted (SIGINT,
// SIGTERM, SIGHUP, SIGQUIT, and SIGPIPE from a reader that went away), then
// lets the signal end the process as it would have. Programs call it once
// at start.
void InstallInterruptCleanup();

}  // namespace vs
