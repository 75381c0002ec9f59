// Replays arbitrary bytes as a metafile record stream into an open engine:
// every record, count and offset comes from the input.
#include <cstddef>
#include <cstdint>
#include <span>

#include "engine/engine.h"
#include "engine/metafile/processor.h"

namespace {

class Engine : public vs::TqxCustomDocumentEngine {
 public:
  Engine() {
    Preferences().SetShowSetupDialog(false);
    Preferences().SetOpenAfterCreate(false);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Engine engine;
  engine.BeginDoc();
  {
    vs::TqxMetafileProcessor processor(engine);
    processor.Process(std::span<const uint8_t>(data, size), 0, 0);
  }
  engine.EndDoc();
  return 0;
}
