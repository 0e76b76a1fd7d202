// Large blocks of storage. A block of a huge page or more is aligned to one and marked for huge
// pages, so that filling it costs one page fault per 2 MiB instead of one per 4 KiB.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <memory>

namespace vrk {

inline constexpr std::size_t kHugePageBytes = std::size_t{2} << 20;

// `size` bytes, or nullptr when there is no memory for them; give them back with std::free.
void* allocate_block(std::size_t size);

struct BlockRelease {
  void operator()(void* block) const { std::free(block); }
};
// A block that gives itself back; throws std::bad_alloc when there is no memory for it.
std::unique_ptr<char[], BlockRelease> make_block(std::size_t size);

}  // namespace vrk
