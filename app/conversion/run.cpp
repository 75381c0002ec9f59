#include "app/conversion/run.h"

#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

#include <exception>
#include <map>
#include <utility>

#include "app/conversion/atomic_write.h"
#include "app/conversion/engine_settings.h"
#include "app/conversion/errors.h"
#include "app/conversion/page_selection.h"
#include "app/conversion/pipeline.h"
#include "app/conversion/workbook_destination.h"
#include "pdf/errors.h"
#include "platform/numbers.h"
#include "platform/screen.h"

namespace vs {
namespace {

constexpr int kPasswordPrompts = 3;

// A failure of the document while pages are converted (as opposed to the engine's).
class EDocumentFailure : public Exception {
 public:
  using Exception::Exception;
};

constexpr char kReplacesInput[] = "the workbook would replace the PDF file it is converted from";

ConversionResult Failed(ConversionOutcome outcome, std::string cause, ConversionResult result = {}) {
  result.outcome = outcome;
  result.message = outcome == ConversionOutcome::ReadFailed    ? kReadFailedMessage
                   : outcome == ConversionOutcome::WriteFailed ? kWriteFailedMessage
                                                               : "";
  result.cause = std::move(cause);
  return result;
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat first {}, second {};
  return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
         first.st_ino == second.st_ino;
}

// Free heap memory kept between pages. The next page reuses it; trimming
// it after every page only had the next page fault it back in.
constexpr size_t kFreeHeapKept = size_t{16} << 20;

// Returns memory freed by the page just converted (and the page deleted) to
// the system once the heap holds much of it, so that a long document does
// not keep the peak of its largest page.
void ReturnFreedMemory() {
  if (mallinfo2().fordblks > kFreeHeapKept) malloc_trim(0);
}

// The password handshake: the empty password first, without asking; then
// the caller's answers, at most three; a cancelled question ends it.
class PasswordHandshake {
 public:
  explicit PasswordHandshake(const ConversionCallbacks& callbacks) : callbacks_(callbacks) {}

  std::optional<std::string> Next() {
    ++calls_;
    if (calls_ == 1) return std::string();
    if (cancelled_ || calls_ > kPasswordPrompts + 1 || !callbacks_.password) {
      cancelled_ = cancelled_ || !callbacks_.password;
      return std::nullopt;
    }
    std::optional<std::string> answer = callbacks_.password(calls_ - 1);
    if (!answer) cancelled_ = true;
    return answer;
  }

  // Why the document stayed locked.
  ConversionResult Refusal() const {
    if (calls_ <= 1) return Failed(ConversionOutcome::ReadFailed, "the document could not be read");
    if (!callbacks_.password || (cancelled_ && calls_ == 2)) {
      ConversionResult result = Failed(ConversionOutcome::ReadFailed, "encrypted, and no password was given");
      result.remedy = ConversionRemedy::GivePassword;
      return result;
    }
    return Failed(ConversionOutcome::ReadFailed, "the password is not correct");
  }

 private:
  const ConversionCallbacks& callbacks_;
  int calls_ = 0;
  bool cancelled_ = false;
};

DestinationRules RulesFor(const ConversionOptions& options) {
  return {options.replace_protected, options.format == "csv"};
}

// Puts the finished workbook where the caller wants it, asking for another
// name while that fails and the caller offers one. To standard output the
// files of a .csv follow one another.
ConversionResult Deliver(const std::vector<std::string>& files, const ConversionOptions& options,
                         const ConversionCallbacks& callbacks, TWorkbookDestination& prepared,
                         ConversionResult result) {
  if (options.output_fd >= 0) {
    try {
      for (const std::string& file : files) CopyFileToDescriptor(file, options.output_fd);
    } catch (const std::exception& error) {
      return Failed(ConversionOutcome::WriteFailed, error.what(), std::move(result));
    }
    return result;
  }
  std::string destination = options.output;
  std::optional<TWorkbookDestination> other;
  for (int attempt = 1;; ++attempt) {
    std::string cause;
    if (SameFile(destination, options.input)) {
      cause = kReplacesInput;
    } else {
      try {
        TWorkbookDestination& into = attempt == 1 ? prepared : other.emplace(destination, RulesFor(options));
        result.written_to = into.Commit(files);
        result.remedy = ConversionRemedy::None;
        return result;
      } catch (const EWriteProtected& error) {
        cause = error.what();
        result.remedy = ConversionRemedy::ReplaceProtected;
      } catch (const std::exception& error) {
        cause = error.what();
        result.remedy = ConversionRemedy::None;
      }
    }
    std::optional<std::string> next;
    if (callbacks.retry_destination) next = callbacks.retry_destination(destination, cause, attempt);
    if (!next) return Failed(ConversionOutcome::WriteFailed, cause, std::move(result));
    destination = *next;
  }
}

// Checks the destination and makes the folder the workbook is written in
// beside it. Without a way to ask for another name, a destination that
// cannot be written fails the run before any work; with one, the workbook is
// written in TMPDIR until a name is found.
std::optional<ConversionResult> Prepared(TWorkbookDestination& destination, const ConversionOptions& options,
                                         const ConversionCallbacks& callbacks) {
  if (options.output_fd >= 0) return std::nullopt;
  try {
    destination.Prepare();
  } catch (const EWriteProtected& error) {
    if (callbacks.retry_destination) return std::nullopt;
    ConversionResult result = Failed(ConversionOutcome::WriteFailed, error.what());
    result.remedy = ConversionRemedy::ReplaceProtected;
    return result;
  } catch (const std::exception& error) {
    if (callbacks.retry_destination) return std::nullopt;
    return Failed(ConversionOutcome::WriteFailed, error.what());
  }
  return std::nullopt;
}

// The notes of each page: skipped operators as the pages were drawn, then
// what the engine could not hold of them (engine page n is the n-th page
// converted).
std::vector<PageNotes> CollectNotes(const std::map<int32_t, int64_t>& skipped,
                                    const std::map<int32_t, TqxOcrPageCounts>& read,
                                    const std::vector<PageLosses>& losses, const std::vector<int32_t>& converted) {
  std::map<int32_t, PageNotes> notes;
  for (const auto& [page, count] : skipped) notes[page].skipped_operators = count;
  for (const auto& [page, counts] : read) notes[page].ocr = counts;
  for (const PageLosses& lost : losses) {
    if (lost.page < 1 || static_cast<size_t>(lost.page) > converted.size()) continue;
    PageNotes& note = notes[converted[static_cast<size_t>(lost.page - 1)]];
    note.unwritable_characters += lost.unwritable_characters;
    note.cut_texts += lost.cut_texts;
    note.cells_outside_sheet += lost.cells_outside_sheet;
    note.pictures_left_out += lost.pictures_left_out;
    note.joined_at_edge += lost.joined_at_edge;
  }
  std::vector<PageNotes> list;
  for (auto& [page, note] : notes) {
    note.page = page;
    list.push_back(note);
  }
  return list;
}

}  // namespace

ConversionResult RunConversion(const ConversionOptions& options, const ConversionCallbacks& callbacks,
                               RunControl* control, const Pipeline& pipeline) {
  ConversionResult result;
  PageSelection selection;
  try {
    selection = PageSelection(options.pages, options.page_words);
  } catch (const std::exception& error) {
    return Failed(ConversionOutcome::BadRequest, error.what());
  }
  if (options.output_fd < 0 && SameFile(options.output, options.input))
    return Failed(ConversionOutcome::BadRequest, kReplacesInput);
  TWorkbookDestination destination(options.output, RulesFor(options));
  if (auto failed = Prepared(destination, options, callbacks)) return *failed;
  std::string staging;
  try {
    staging = destination.StagingFolder();
  } catch (const std::exception& error) {
    return Failed(ConversionOutcome::WriteFailed, error.what());
  }

  // Loading.
  std::unique_ptr<PipelineDocument> document = pipeline.make_document();
  if (options.ocr.Mode != TqxOcrMode::omNever) document->SetOcr(options.ocr);
  PasswordHandshake handshake(callbacks);
  try {
    bool loaded = document->Load(options.input, options.any_version, [&] { return handshake.Next(); });
    if (!loaded) return handshake.Refusal();
  } catch (const std::exception& error) {
    return Failed(ConversionOutcome::ReadFailed, error.what());
  }
  ReturnFreedMemory();
  const int32_t page_count = document->PageCount();
  if (page_count <= 0) return Failed(ConversionOutcome::ReadFailed, "the document has no pages");
  if (auto item = selection.ItemBeyond(page_count))
    return Failed(ConversionOutcome::BadRequest, "invalid page range (" + *item + "): the document has " +
                                                     IntToText(page_count) + (page_count == 1 ? " page" : " pages"));
  result.pages_total = selection.CountIn(page_count);
  if (callbacks.progress) callbacks.progress(0, result.pages_total);

  // The page loop: the next page to convert is always page 1, because each
  // page is deleted once converted. It runs at most once per page counted at
  // the start.
  std::unique_ptr<PipelineEngine> engine = pipeline.make_engine();
  std::vector<int32_t> converted;      // original page number of each engine page
  std::map<int32_t, int64_t> skipped;  // page -> drawing operators skipped
  std::map<int32_t, TqxOcrPageCounts> read;  // page -> what reading its pictures found
  try {
    engine->Configure(SettingsFor(options, kScreenPixelsPerInch, kScreenPixelsPerInch, staging + "/workbook"));
    engine->SetLandscape(IsLandscapeRotation(document->PageRotation(1)));
    engine->SetTitle(document->Title());
    engine->BeginDoc();
    result.cell_text_limit = engine->CellTextLimit();
    for (int32_t page = 1; page <= page_count; ++page) {
      if (document->PageCount() != page_count - page + 1)
        throw EDocumentFailure("page " + IntToText(page - 1) + " could not be removed after converting it");
      const bool selected = selection.Contains(page, page_count);
      if (selected) {
        engine->SetLandscape(IsLandscapeRotation(document->PageRotation(1)));
        const auto [width, height] = document->PageSize(1);
        engine->SetSourcePage(width, height);
        if (result.pages_converted > 0) engine->NewPage();
        engine->SetCurrentPage(result.pages_converted + 1);
        converted.push_back(page);
        try {
          document->RenderPage(1, engine->Canvas());
        } catch (const std::exception& error) {
          // The page keeps what was drawn before the failure; the run goes on.
          result.failed_pages.push_back({page, error.what()});
        }
        if (const int64_t count = document->SkippedOperators(); count > 0) skipped[page] = count;
        if (const TqxOcrPageCounts counts = document->LastOcr(); counts.Read) {
          read[page] = counts;
          if (callbacks.page_read) callbacks.page_read(page);
        }
        ++result.pages_converted;
      }
      document->DeletePages("1");
      ReturnFreedMemory();
      if (!selected) continue;
      if (callbacks.progress) callbacks.progress(result.pages_converted, result.pages_total);
      if (control && !control->ContinueAfterPage()) {
        // Ends the engine's document once; its file goes with the temporary directory.
        try {
          engine->EndDoc();
        } catch (const std::exception&) {
        }
        return Failed(ConversionOutcome::Stopped, "the conversion was stopped", std::move(result));
      }
    }
    if (document->PageCount() != 0) throw EDocumentFailure("the document kept pages that were converted");
    engine->EndDoc();
  } catch (const EDocumentFailure& error) {
    return Failed(ConversionOutcome::ReadFailed, error.what(), std::move(result));
  } catch (const EPDFException& error) {
    return Failed(ConversionOutcome::ReadFailed, error.what(), std::move(result));
  } catch (const std::exception& error) {
    return Failed(ConversionOutcome::WriteFailed, error.what(), std::move(result));
  }
  result.page_notes = CollectNotes(skipped, read, engine->Losses(), converted);
  result.document_notes = document->Notes();
  result.worksheets = engine->Worksheets();
  const std::vector<std::string> files = engine->OutputFiles();
  engine.reset();
  document.reset();
  if (!result.failed_pages.empty()) result.outcome = ConversionOutcome::PagesFailed;
  return Deliver(files, options, callbacks, destination, std::move(result));
}

std::optional<std::string> CheckPageRange(const std::string& text, bool page_words) {
  try {
    PageSelection selection(text, page_words);
  } catch (const std::exception& error) {
    return std::string(error.what());
  }
  return std::nullopt;
}

}  // namespace vs
