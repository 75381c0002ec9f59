#include "engine/recording.h"

namespace vs {

std::unique_ptr<TqxRecording> ScaledRecording(const TqxRecording&, int width, int height) {
  return std::make_unique<TqxRecording>(width, height);
}

}  // namespace vs
