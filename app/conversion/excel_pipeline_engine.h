#pragma once
// The Excel engine a run converts with, set up as the program sets it up.
#include <memory>

#include "app/conversion/pipeline.h"

namespace vs {

class TqxExcelEngine;

// The program's engine.
std::unique_ptr<PipelineEngine> MakeExcelPipelineEngine();
// Another engine class (one that also watches what the pages become), set
// up the same way.
std::unique_ptr<PipelineEngine> MakeExcelPipelineEngine(std::unique_ptr<TqxExcelEngine> engine);

}  // namespace vs
