#include "cli/convert_json.h"

#include "cli/convert_report.h"
#include "cli/item_listing.h"
#include "cli/messages.h"
#include "platform/numbers.h"

namespace vs::cli {

std::string JsonReport(const ConvertJob& job, const std::string& format, const ConversionResult& result, int status) {
  std::string failed, notes;
  for (const PageFailure& failure : result.failed_pages)
    failed += std::string(failed.empty() ? "" : ", ") + "{\"page\": " + IntToText(failure.page) +
              ", \"cause\": " + JsonString(Cause(failure.reason)) + "}";
  for (const PageNotes& page : result.page_notes)
    for (const std::string& note : Notes(page, result.cell_text_limit))
      notes += std::string(notes.empty() ? "" : ", ") + "{\"page\": " + IntToText(page.page) +
               ", \"note\": " + JsonString(note) + "}";
  for (const std::string& note : result.document_notes)  // of the document, not of one page
    notes += std::string(notes.empty() ? "" : ", ") + "{\"page\": null, \"note\": " + JsonString(note) + "}";
  const std::string error = result.Written() ? "null" : JsonString(Cause(result.cause));
  return "{\"input\": " + JsonString(job.input) + ", \"output\": " + JsonString(job.output) +
         ", \"format\": " + JsonString(format) + ", \"status\": " + IntToText(status) +
         ", \"written\": " + (result.Written() ? "true" : "false") +
         ", \"pages_selected\": " + IntToText(result.pages_total) +
         ", \"pages_converted\": " + IntToText(result.pages_converted) + ", \"failed_pages\": [" + failed +
         "], \"notes\": [" + notes + "], \"error\": " + error + "}";
}

}  // namespace vs::cli
