#pragma once
// The password questions of a batch in the order of the command line: a
// file's process asks only once every file before it is past its password
// (opened, asked, or finished), whichever process was quicker.
#include <atomic>
#include <cstddef>
#include <cstdint>

namespace vs::cli {

class PromptOrder {
 public:
  // Shared with the processes forked after it is made.
  explicit PromptOrder(size_t files);
  ~PromptOrder();
  PromptOrder(const PromptOrder&) = delete;
  PromptOrder& operator=(const PromptOrder&) = delete;

  // Waits until every file before `file` is past its password.
  void WaitForTurn(size_t file) const;
  // `file` is past its password; later files may ask.
  void Passed(size_t file);

 private:
  std::atomic<uint8_t>* passed_ = nullptr;
  size_t files_ = 0;
};

}  // namespace vs::cli
