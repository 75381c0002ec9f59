#include "python/binding/keyword_options.h"

#include <functional>
#include <map>
#include <string>

#include "app/conversion/engine_settings.h"

namespace py = pybind11;

namespace vs {
namespace {

bool Flag(const std::string& name, py::handle value) {
  if (!py::isinstance<py::bool_>(value)) throw py::type_error(name + " takes True or False");
  return value.cast<bool>();
}

int64_t Whole(const std::string& name, py::handle value) {
  if (py::isinstance<py::bool_>(value) || !py::isinstance<py::int_>(value))
    throw py::type_error(name + " takes a whole number");
  return value.cast<int64_t>();
}

std::string Text(const std::string& name, py::handle value) {
  if (!py::isinstance<py::str>(value)) throw py::type_error(name + " takes a text");
  return value.cast<std::string>();
}

using Setter = std::function<void(const std::string&, py::handle, ConversionOptions&)>;

const std::map<std::string, Setter>& Setters() {
  static const std::map<std::string, Setter> setters = {
      {"pages_per_sheet",
       [](const std::string& name, py::handle value, ConversionOptions& options) {
         const int64_t n = Whole(name, value);
         if (n < 0 || n > 2147483647)
           throw py::value_error(name + " takes a whole number, 0 or more: " + std::to_string(n));
         options.pages_per_worksheet = static_cast<int32_t>(n);
       }},
      {"paper",
       [](const std::string& name, py::handle value, ConversionOptions& options) {
         const std::string text = Text(name, value);
         auto paper = PaperNameIgnoringCase(text);
         if (!paper) throw py::value_error("unknown paper " + text + " (A3, A4, A5, B4, B5, ISO-B4, Letter)");
         options.paper = *paper;
       }},
      {"image_quality",
       [](const std::string& name, py::handle value, ConversionOptions& options) {
         const int64_t n = Whole(name, value);
         if (n < 1 || n > 100) throw py::value_error(name + " takes a number from 1 to 100: " + std::to_string(n));
         options.image_quality = static_cast<int>(n);
       }},
      {"csv_values", [](const std::string& name, py::handle value,
                        ConversionOptions& options) { options.csv_values = Flag(name, value); }},
      {"force", [](const std::string& name, py::handle value,
                   ConversionOptions& options) { options.replace_protected = Flag(name, value); }},
      {"text_cells", [](const std::string& name, py::handle value,
                        ConversionOptions& options) { options.auto_format_cells = !Flag(name, value); }},
      {"cells_as_drawn", [](const std::string& name, py::handle value,
                            ConversionOptions& options) { options.cells_from_geometry = !Flag(name, value); }},
      {"page_grid", [](const std::string& name, py::handle value,
                       ConversionOptions& options) { options.table_layout = !Flag(name, value); }},
      {"plain_sheet", [](const std::string& name, py::handle value,
                         ConversionOptions& options) { options.sheet_from_page = !Flag(name, value); }},
      // Every version opens; taken as the command line takes it.
      {"any_version", [](const std::string& name, py::handle value, ConversionOptions&) { Flag(name, value); }},
  };
  return setters;
}

}  // namespace

ConversionOptions CommandLineDefaults() {
  ConversionOptions options;
  options.auto_format_cells = true;
  options.any_version = true;
  options.sheet_from_page = true;
  options.table_layout = true;
  options.paper.clear();  // the paper nearest to the page unless one is named
  return options;
}

void ApplyKeywordOptions(const py::dict& keywords, ConversionOptions& options) {
  for (const auto& [key, value] : keywords) {
    const std::string name = py::str(key);
    auto setter = Setters().find(name);
    if (setter == Setters().end()) throw py::type_error("unknown option " + name);
    setter->second(name, value, options);
  }
}

}  // namespace vs
