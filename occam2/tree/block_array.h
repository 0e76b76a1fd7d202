// An array that grows in fixed blocks and is addressed by index: growing never moves or copies
// what it holds, so a tree the size of the program needs the memory of its nodes and no more
// (a vector would need twice that while it reallocates).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace vrk::occam2 {

template <class T, unsigned kBlockBits = 14>
class BlockArray {
 public:
  static constexpr std::uint32_t kBlockSize = 1u << kBlockBits;

  std::uint32_t size() const { return size_; }
  T& operator[](std::uint32_t index) { return blocks_[index >> kBlockBits][index & (kBlockSize - 1)]; }
  const T& operator[](std::uint32_t index) const { return blocks_[index >> kBlockBits][index & (kBlockSize - 1)]; }

  std::uint32_t push_back(const T& value) {
    if (size_ == capacity_) [[unlikely]] add_block();
    (*this)[size_] = value;
    return size_++;
  }
  // Whether `wanted` holds for any element from `first` on, read a block at a time.
  template <class Predicate>
  bool any_from(std::uint32_t first, Predicate wanted) const {
    for (std::uint32_t i = first; i < size_;) {
      const T* block = blocks_[i >> kBlockBits].get();
      std::uint32_t block_end = (i | (kBlockSize - 1)) + 1;
      std::uint32_t end = block_end < size_ ? block_end : size_;
      for (; i < end; ++i) {
        if (wanted(block[i & (kBlockSize - 1)])) return true;
      }
    }
    return false;
  }
  // Forgets the elements from `size` on; the blocks they filled are kept for reuse.
  void truncate(std::uint32_t size) {
    if (size < size_) size_ = size;
  }
  // Forgets everything and gives the blocks back.
  void clear() {
    blocks_.clear();
    size_ = capacity_ = 0;
  }

 private:
  [[gnu::noinline]] void add_block() {
    blocks_.push_back(std::make_unique_for_overwrite<T[]>(kBlockSize));
    capacity_ += kBlockSize;
  }
  std::vector<std::unique_ptr<T[]>> blocks_;
  std::uint32_t size_ = 0;
  std::uint32_t capacity_ = 0;  // the elements the blocks hold
};

}  // namespace vrk::occam2
