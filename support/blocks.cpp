#include "support/blocks.h"

#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace vrk {

void* allocate_block(std::size_t size) {
  const bool huge = size >= kHugePageBytes;
  void* block = huge ? std::aligned_alloc(kHugePageBytes, (size + kHugePageBytes - 1) / kHugePageBytes * kHugePageBytes)
                     : std::malloc(size);
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  if (block != nullptr && huge) ::madvise(block, size, MADV_HUGEPAGE);
#endif
  return block;
}

std::unique_ptr<char[], BlockRelease> make_block(std::size_t size) {
  void* block = allocate_block(size);
  if (block == nullptr) throw std::bad_alloc();
  return std::unique_ptr<char[], BlockRelease>(static_cast<char*>(block));
}

}  // namespace vrk
