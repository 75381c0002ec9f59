#pragma once
// The conversion's options by the command line's names, as Python keywords:
// pages_per_sheet=1, text_cells=True, paper="letter", ...
#include <pybind11/pybind11.h>

#include "app/conversion/run.h"

namespace vs {

// The options a conversion starts from: the command line's defaults.
ConversionOptions CommandLineDefaults();

// Applies each keyword; raises TypeError for an unknown name or a value of
// the wrong kind, ValueError for a value out of range (with the command
// line's words, the keyword's name for the option's).
void ApplyKeywordOptions(const pybind11::dict& keywords, ConversionOptions& options);

}  // namespace vs
