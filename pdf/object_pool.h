#pragma once
// Storage for PDF values. A loaded document holds hundreds of thousands of
// small objects that are made one after another and freed together; taking
// them from large blocks, with a free list per size, costs far less than the
// general allocator on both ends. Blocks stay with the process for the next
// document. Builds with the address sanitizer use the general allocator, so
// that it still sees every object.
#include <cstddef>

namespace vs {

void* AllocatePDFObject(std::size_t size);
void FreePDFObject(void* object, std::size_t size) noexcept;

}  // namespace vs
