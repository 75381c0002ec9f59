#pragma once
// Replays one recorded page into document items for an engine.
#include "engine/recording.h"

namespace vs {

class TqxCustomDocumentEngine;

class TqxMetafileProcessor {
 public:
  explicit TqxMetafileProcessor(TqxCustomDocumentEngine& engine) : engine_(engine) {}
  // Turns the recording's drawing into items on the engine's current lists,
  // moved by (offsetX, offsetY) pixels.
  void Process(const TqxRecording& recording, double offsetX, double offsetY);

 private:
  TqxCustomDocumentEngine& engine_;
};

}  // namespace vs
