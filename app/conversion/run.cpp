#include "app/conversion/run.h"

#include <malloc.h>
#include <sys/stat.h>

#include <exception>
#include <utility>

#include "app/conversion/atomic_write.h"
#include "app/conversion/engine_settings.h"
#include "app/conversion/errors.h"
#include "app/conversion/page_selection.h"
#include "app/conversion/pipeline.h"
#include "app/conversion/temp_dir.h"
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

// Returns memory freed by the page just converted (and the page deleted) to
// the system, so a long document does not keep its peak.
void ReturnFreedMemory() { malloc_trim(0); }

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
  std::string Refusal() const {
    if (calls_ <= 1) return "The document could not be read.";
    if (!callbacks_.password) return "The file is encrypted and no password was given.";
    if (cancelled_ && calls_ == 2) return "The file is encrypted and no password was given.";
    return "The password is not correct.";
  }

 private:
  const ConversionCallbacks& callbacks_;
  int calls_ = 0;
  bool cancelled_ = false;
};

// Puts the finished workbook where the caller wants it, asking for another
// name while that fails and the caller offers one.
ConversionResult Deliver(const std::string& workbook, const ConversionOptions& options,
                         const ConversionCallbacks& callbacks, ConversionResult result) {
  if (options.output_fd >= 0) {
    try {
      CopyFileToDescriptor(workbook, options.output_fd);
    } catch (const std::exception& error) {
      return Failed(ConversionOutcome::WriteFailed, error.what(), std::move(result));
    }
    return result;
  }
  std::string destination = options.output;
  for (int attempt = 1;; ++attempt) {
    std::string cause;
    if (SameFile(destination, options.input)) {
      cause = "The workbook would replace the PDF file it is converted from.";
    } else {
      try {
        result.written_to = ReplaceFileAtomically(workbook, destination);
        return result;
      } catch (const std::exception& error) {
        cause = error.what();
      }
    }
    std::optional<std::string> next;
    if (callbacks.retry_destination) next = callbacks.retry_destination(destination, cause, attempt);
    if (!next) return Failed(ConversionOutcome::WriteFailed, cause, std::move(result));
    destination = *next;
  }
}

}  // namespace

ConversionResult RunConversion(const ConversionOptions& options, const ConversionCallbacks& callbacks,
                               RunControl* control, const Pipeline& pipeline) {
  ConversionResult result;
  PageSelection selection;
  try {
    selection = PageSelection(options.pages);
  } catch (const std::exception& error) {
    return Failed(ConversionOutcome::BadRequest, error.what());
  }
  if (options.output_fd < 0 && SameFile(options.output, options.input))
    return Failed(ConversionOutcome::BadRequest, "The workbook would replace the PDF file it is converted from.");

  std::optional<PrivateTempDir> temp;
  try {
    temp.emplace();
  } catch (const std::exception& error) {
    return Failed(ConversionOutcome::WriteFailed, error.what());
  }

  // Loading.
  std::unique_ptr<PipelineDocument> document = pipeline.make_document();
  PasswordHandshake handshake(callbacks);
  try {
    bool loaded = document->Load(options.input, options.any_version, [&] { return handshake.Next(); });
    if (!loaded) return Failed(ConversionOutcome::ReadFailed, handshake.Refusal());
  } catch (const std::exception& error) {
    return Failed(ConversionOutcome::ReadFailed, error.what());
  }
  ReturnFreedMemory();
  const int32_t page_count = document->PageCount();
  if (page_count <= 0) return Failed(ConversionOutcome::ReadFailed, "The document has no pages.");
  if (auto item = selection.ItemBeyond(page_count))
    return Failed(ConversionOutcome::BadRequest,
                  "Invalid page range (" + *item + "): the document has " + IntToText(page_count) + " pages.");
  result.pages_total = selection.CountIn(page_count);
  if (callbacks.progress) callbacks.progress(0, result.pages_total);

  // The page loop: the next page to convert is always page 1, because each
  // page is deleted once converted. It runs at most once per page counted at
  // the start.
  std::unique_ptr<PipelineEngine> engine = pipeline.make_engine();
  try {
    engine->Configure(SettingsFor(options, kScreenPixelsPerInch, kScreenPixelsPerInch, temp->Path() + "/workbook"));
    engine->SetLandscape(IsLandscapeRotation(document->PageRotation(1)));
    engine->BeginDoc();
    for (int32_t page = 1; page <= page_count; ++page) {
      if (document->PageCount() != page_count - page + 1)
        throw EDocumentFailure("Page " + IntToText(page - 1) + " could not be removed after converting it.");
      const bool selected = selection.Contains(page);
      if (selected) {
        engine->SetLandscape(IsLandscapeRotation(document->PageRotation(1)));
        const auto [width, height] = document->PageSize(1);
        engine->SetSourcePage(width, height);
        if (result.pages_converted > 0) engine->NewPage();
        engine->SetCurrentPage(result.pages_converted + 1);
        try {
          document->RenderPage(1, engine->Canvas());
        } catch (const std::exception& error) {
          // The page keeps what was drawn before the failure; the run goes on.
          result.failed_pages.push_back({page, error.what()});
        }
        result.skipped_operators += document->SkippedOperators();
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
        return Failed(ConversionOutcome::Stopped, "The conversion was stopped.", std::move(result));
      }
    }
    if (document->PageCount() != 0) throw EDocumentFailure("The document kept pages that were converted.");
    engine->EndDoc();
  } catch (const EDocumentFailure& error) {
    return Failed(ConversionOutcome::ReadFailed, error.what(), std::move(result));
  } catch (const EPDFException& error) {
    return Failed(ConversionOutcome::ReadFailed, error.what(), std::move(result));
  } catch (const std::exception& error) {
    return Failed(ConversionOutcome::WriteFailed, error.what(), std::move(result));
  }
  result.lost_characters = engine->LostCharacters();
  result.worksheets = engine->Worksheets();
  const std::string workbook = engine->OutputFile();
  engine.reset();
  document.reset();
  if (!result.failed_pages.empty()) result.outcome = ConversionOutcome::PagesFailed;
  return Deliver(workbook, options, callbacks, std::move(result));
}

std::optional<std::string> CheckPageRange(const std::string& text) {
  try {
    PageSelection selection(text);
  } catch (const std::exception& error) {
    return std::string(error.what());
  }
  return std::nullopt;
}

}  // namespace vs
