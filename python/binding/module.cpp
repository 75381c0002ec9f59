// The compiled part of the vellumsheet Python package: one conversion run
// per call, with the interpreter's lock released while it runs. The Python
// side turns its answer into a Result, exceptions and tables.
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <optional>
#include <string>
#include <vector>

#include "app/conversion/errors.h"
#include "app/conversion/excel_pipeline_engine.h"
#include "app/conversion/message_cause.h"
#include "app/conversion/page_selection.h"
#include "app/conversion/pipeline.h"
#include "app/conversion/run.h"
#include "app/conversion/source_file.h"
#include "python/binding/cell_places.h"
#include "python/binding/keyword_options.h"
#include "python/binding/page_notes.h"
#include "xls/excel_engine.h"

namespace py = pybind11;

namespace vs {
namespace {

const char* OutcomeName(ConversionOutcome outcome) {
  switch (outcome) {
    case ConversionOutcome::Converted: return "converted";
    case ConversionOutcome::PagesFailed: return "pages_failed";
    case ConversionOutcome::ReadFailed: return "read_failed";
    case ConversionOutcome::WriteFailed: return "write_failed";
    case ConversionOutcome::BadRequest: return "bad_request";
    case ConversionOutcome::Stopped: return "stopped";
  }
  return "read_failed";
}

bool StartsWith(const std::string& text, const std::string& head) { return text.rfind(head, 0) == 0; }

// Which exception a failure becomes: "file" (the file itself cannot be
// read), "password", "unsupported", "damaged", "write", "request", or none.
std::string FailureKind(const ConversionResult& result, bool source_unreadable) {
  switch (result.outcome) {
    case ConversionOutcome::ReadFailed:
      if (source_unreadable) return "file";
      if (result.remedy == ConversionRemedy::GivePassword || result.cause == "the password is not correct")
        return "password";
      if (StartsWith(result.cause, "Invalid PDF Header") || StartsWith(result.cause, "Unsupported"))
        return "unsupported";
      return "damaged";
    case ConversionOutcome::WriteFailed: return "write";
    case ConversionOutcome::BadRequest: return "request";
    case ConversionOutcome::Stopped: return "stopped";
    default: return "";
  }
}

// The original page number of each page the engine was given, from 1.
std::vector<int> ConvertedPages(const std::string& pages, int32_t count) {
  std::vector<int> list;
  const PageSelection selection(pages);
  for (int32_t page = 1; static_cast<int32_t>(list.size()) < count && page < INT32_MAX; ++page)
    if (selection.Contains(page)) list.push_back(page);
  return list;
}

py::dict Convert(const std::string& source, const std::string& destination, const std::string& format,
                 const std::string& pages, const std::optional<std::string>& password, const py::dict& keywords,
                 bool record_places) {
  ConversionOptions options = CommandLineDefaults();
  ApplyKeywordOptions(keywords, options);
  if (format != "xls" && format != "xlsx" && format != "csv")
    throw py::value_error("format takes xls, xlsx or csv: " + format);
  if (!pages.empty()) {
    if (pages.find_first_not_of(" ,") == std::string::npos)
      throw py::value_error("pages needs pages, e.g. 1-3,5,7- (leave it out for every page)");
    if (auto problem = CheckPageRange(pages)) throw py::value_error(*problem);
  }
  options.input = source;
  options.output = destination;
  options.format = format;
  options.pages = pages;

  ConversionCallbacks callbacks;
  if (password) callbacks.password = [&](int attempt) { return attempt == 1 ? password : std::nullopt; };
  std::vector<TCellPlace> places;
  Pipeline pipeline = DefaultPipeline();
  if (record_places)
    pipeline.make_engine = [&] { return MakeExcelPipelineEngine(MakePlaceRecordingEngine(places)); };

  ConversionResult result;
  bool source_unreadable = false;
  {
    py::gil_scoped_release unlocked;
    try {
      CheckSourceFile(source);
      result = RunConversion(options, callbacks, nullptr, pipeline);
    } catch (const EReadFailure& error) {
      source_unreadable = true;
      result.outcome = ConversionOutcome::ReadFailed;
      result.message = kReadFailedMessage;
      result.cause = error.what();
    }
  }

  py::dict answer;
  answer["outcome"] = OutcomeName(result.outcome);
  answer["kind"] = FailureKind(result, source_unreadable);
  answer["cause"] = ShownCause(result.cause);
  answer["remedy"] = result.remedy == ConversionRemedy::GivePassword       ? "password"
                     : result.remedy == ConversionRemedy::ReplaceProtected ? "force"
                                                                           : "";
  answer["status"] = result.ExitStatus();
  answer["pages_total"] = result.pages_total;
  answer["pages_converted"] = result.pages_converted;
  py::list failed;
  for (const PageFailure& failure : result.failed_pages) failed.append(py::make_tuple(failure.page, ShownCause(failure.reason)));
  answer["failed_pages"] = failed;
  answer["failed_page_lines"] = FailedPageTexts(result);
  answer["notes"] = NoteTexts(result);
  answer["worksheets"] = result.worksheets;
  answer["written_to"] = result.written_to;
  if (record_places && result.Written()) {
    const std::vector<int> original = ConvertedPages(pages, result.pages_converted);
    py::list list;
    for (const TCellPlace& place : places) {
      const bool known = place.page >= 1 && static_cast<size_t>(place.page) <= original.size();
      list.append(py::make_tuple(place.sheet, place.row, place.column, place.span,
                                 known ? original[static_cast<size_t>(place.page - 1)] : place.page, place.table,
                                 place.left, place.top, place.width, place.height));
    }
    answer["places"] = list;
  }
  return answer;
}

}  // namespace
}  // namespace vs

PYBIND11_MODULE(_vellumsheet, module) {
  module.doc() = "The compiled conversion of the vellumsheet package; use the package's functions instead.";
  module.def("convert", &vs::Convert, py::arg("source"), py::arg("destination"), py::arg("format"),
             py::arg("pages"), py::arg("password"), py::arg("options"), py::arg("record_places"),
             "Converts one PDF file; returns what the run reports as a dict. The interpreter's lock is "
             "released while the run converts.");
}
