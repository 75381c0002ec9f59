#include "pdf/object_pool.h"

#include <array>
#include <memory>
#include <mutex>
#include <new>
#include <vector>

namespace vs {

namespace {

#if defined(__SANITIZE_ADDRESS__)
#define VS_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VS_ADDRESS_SANITIZER 1
#endif
#endif

#ifdef VS_ADDRESS_SANITIZER
constexpr bool kPooled = false;
#else
constexpr bool kPooled = true;
#endif

constexpr std::size_t kGrain = 16;           // sizes are rounded up to this
constexpr std::size_t kLargestPooled = 128;  // larger objects use the general allocator
constexpr std::size_t kBlockSize = 256 * 1024;

class Pool {
 public:
  void* Allocate(std::size_t size) {
    const std::size_t slot = SlotOf(size);
    std::lock_guard lock(mutex_);
    if (FreeCell* cell = free_[slot]) {
      free_[slot] = cell->next;
      return cell;
    }
    const std::size_t rounded = (slot + 1) * kGrain;
    if (left_ < rounded) {
      blocks_.push_back(std::make_unique<Block>());
      next_ = blocks_.back()->bytes;
      left_ = kBlockSize;
    }
    void* cell = next_;
    next_ += rounded;
    left_ -= rounded;
    return cell;
  }

  void Free(void* object, std::size_t size) noexcept {
    const std::size_t slot = SlotOf(size);
    std::lock_guard lock(mutex_);
    auto* cell = static_cast<FreeCell*>(object);
    cell->next = free_[slot];
    free_[slot] = cell;
  }

 private:
  struct FreeCell {
    FreeCell* next;
  };
  struct Block {
    alignas(std::max_align_t) unsigned char bytes[kBlockSize];
  };
  static std::size_t SlotOf(std::size_t size) { return (size + kGrain - 1) / kGrain - 1; }

  std::mutex mutex_;
  std::array<FreeCell*, kLargestPooled / kGrain> free_{};
  std::vector<std::unique_ptr<Block>> blocks_;
  unsigned char* next_ = nullptr;
  std::size_t left_ = 0;
};

// Never destroyed: objects may still be freed while the process ends.
Pool& ThePool() {
  static Pool* pool = new Pool();
  return *pool;
}

}  // namespace

void* AllocatePDFObject(std::size_t size) {
  if (!kPooled || size == 0 || size > kLargestPooled) return ::operator new(size);
  return ThePool().Allocate(size);
}

void FreePDFObject(void* object, std::size_t size) noexcept {
  if (!object) return;
  if (!kPooled || size == 0 || size > kLargestPooled) return ::operator delete(object);
  ThePool().Free(object, size);
}

}  // namespace vs
