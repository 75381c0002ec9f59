#include "app/conversion/run.h"

namespace vs {

void RunControl::Pause() {
  std::lock_guard lock(mutex_);
  paused_ = true;
}

void RunControl::Resume() {
  {
    std::lock_guard lock(mutex_);
    paused_ = false;
  }
  changed_.notify_all();
}

void RunControl::Stop() {
  {
    std::lock_guard lock(mutex_);
    stopped_ = true;
  }
  changed_.notify_all();
}

bool RunControl::Paused() const {
  std::lock_guard lock(mutex_);
  return paused_;
}

bool RunControl::Stopped() const {
  std::lock_guard lock(mutex_);
  return stopped_;
}

bool RunControl::ContinueAfterPage() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return !paused_ || stopped_; });
  return !stopped_;
}

int ConversionResult::ExitStatus() const {
  switch (outcome) {
    case ConversionOutcome::Converted: return 0;
    case ConversionOutcome::PagesFailed: return 3;
    case ConversionOutcome::BadRequest: return 2;
    default: return 1;
  }
}

}  // namespace vs
