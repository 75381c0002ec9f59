#include "pdf/stream_views.h"

#include <algorithm>
#include <limits>

#include "pdf/errors.h"

namespace vs {

TqxReadOnlyFilter::TqxReadOnlyFilter(TStream* source) : source_(source), size_(0) {
  if (!source) throw EInvalidStream();
  // Sizes are 32-bit; anything larger is seen as its first 2 GB.
  size_ = static_cast<int32_t>(std::clamp<int64_t>(source->Size(), 0, std::numeric_limits<int32_t>::max()));
}

TqxReadOnlyFilter::TqxReadOnlyFilter(int64_t size)
    : source_(nullptr), size_(static_cast<int32_t>(std::clamp<int64_t>(size, 0, std::numeric_limits<int32_t>::max()))) {}

int64_t TqxReadOnlyFilter::Read(void* buffer, int64_t count) {
  int64_t left = size_ - source_->Position();
  if (count <= 0 || left <= 0) return 0;
  return source_->Read(buffer, std::min(count, left));
}

int64_t TqxReadOnlyFilter::Write(const void*, int64_t) { throw EReadError(); }

int64_t TqxReadOnlyFilter::Seek(int64_t offset, SeekOrigin origin) {
  if (offset == -1) return -1;
  return source_->Seek(offset, origin);
}

void TqxReadOnlyFilter::Skip(int64_t count) { source_->Seek(count, SeekOrigin::soCurrent); }

std::string TqxReadOnlyFilter::Peek(int64_t count) {
  std::string text = ReadText(count);
  source_->Seek(-static_cast<int64_t>(text.size()), SeekOrigin::soCurrent);
  return text;
}

int TqxReadOnlyFilter::ReadByte() {
  uint8_t byte = 0;
  return Read(&byte, 1) == 1 ? byte : -1;
}

std::string TqxReadOnlyFilter::ReadText(int64_t count) {
  // Never allocate more than what is left in the data.
  int64_t left = std::max<int64_t>(0, size_ - source_->Position());
  std::string text(static_cast<size_t>(std::clamp<int64_t>(count, 0, left)), '\0');
  text.resize(static_cast<size_t>(Read(text.data(), static_cast<int64_t>(text.size()))));
  return text;
}

int TqxRandomAccessFilter::LookAhead() {
  int byte = ReadByte();
  if (byte < 0) {
    at_end_ = true;
    return -1;
  }
  at_end_ = source_->Position() >= size_;
  StepBack();
  return byte;
}

void TqxRandomAccessFilter::StepBack() { source_->Seek(-1, SeekOrigin::soCurrent); }

}  // namespace vs
