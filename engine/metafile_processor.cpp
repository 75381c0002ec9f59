#include "engine/metafile_processor.h"

namespace vs {

void TqxMetafileProcessor::Process(const TqxRecording&, double, double) {
  // Record replay comes with the metafile reader; until then a page holds
  // only the items the engine's own operations made.
}

}  // namespace vs
