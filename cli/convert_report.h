#pragma once
// What `vellumsheet convert` says about one finished file on standard error:
// "vellumsheet: FILE: cause" for a failure, where FILE is the PDF for a read
// failure and the workbook for a write failure; each failed page with its
// cause; and notes naming the page of every loss.
#include <string>
#include <vector>

#include "app/conversion/run.h"
#include "cli/convert_request.h"

namespace vs::cli {

// The lines for a file that was not written.
std::vector<std::string> FailureLines(const ConvertJob& job, const ConversionResult& result);

// The lines for the pages of a written file that failed (shown even with -q).
std::vector<std::string> FailedPageLines(const ConvertJob& job, const ConversionResult& result);

// The notes of a written file, at most a screenful.
std::vector<std::string> NoteLines(const ConvertJob& job, const ConversionResult& result);

// One page's notes, each a phrase.
std::vector<std::string> Notes(const PageNotes& page, int64_t cell_text_limit);

// "1 page", "2 pages".
std::string Counted(int64_t count, const std::string& one, const std::string& many);

// Writes one whole line with one call, so lines of parallel processes do not
// mix, and on a terminal never onto an open password question.
void WriteErrorLine(const std::string& text);

}  // namespace vs::cli
