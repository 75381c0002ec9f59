#include "cli/prompt_order.h"

#include <sys/mman.h>
#include <time.h>

#include <new>

namespace vs::cli {
namespace {

constexpr long kPollNanoseconds = 20'000'000;

}  // namespace

PromptOrder::PromptOrder(size_t files) : files_(files) {
  static_assert(std::atomic<uint8_t>::is_always_lock_free);
  void* shared = files > 0 ? mmap(nullptr, files, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0)
                           : MAP_FAILED;
  // Without the mapping every file asks when it gets there, as before.
  if (shared == MAP_FAILED) return;
  passed_ = static_cast<std::atomic<uint8_t>*>(shared);
  for (size_t i = 0; i < files; ++i) new (&passed_[i]) std::atomic<uint8_t>(0);
}

PromptOrder::~PromptOrder() {
  if (passed_) munmap(passed_, files_);
}

void PromptOrder::WaitForTurn(size_t file) const {
  if (!passed_) return;
  // The batch marks a file passed when its process ends, however it ends,
  // so every wait here has an end.
  for (size_t earlier = 0; earlier < file && earlier < files_; ++earlier) {
    while (passed_[earlier].load() == 0) {
      const timespec pause{0, kPollNanoseconds};
      nanosleep(&pause, nullptr);
    }
  }
}

void PromptOrder::Passed(size_t file) {
  if (passed_ && file < files_) passed_[file].store(1);
}

}  // namespace vs::cli
