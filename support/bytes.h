// Copying the few bytes of a token, a fragment or a trace line.
//
// Most texts the translator moves are shorter than 16 bytes: for those two overlapping loads and
// stores of a word (or of half a word) cost less than a call of memcpy, which the compiler cannot
// inline for a length it does not know.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace vrk {

// Copies `length` bytes from `from` to `to` (the ranges do not overlap); returns `to + length`.
inline char* copy_bytes(char* to, const char* from, std::size_t length) {
  if (length >= 8) {
    if (length > 16) {
      std::memcpy(to, from, length);
      return to + length;
    }
    std::uint64_t head, tail;
    std::memcpy(&head, from, 8);
    std::memcpy(&tail, from + length - 8, 8);
    std::memcpy(to, &head, 8);
    std::memcpy(to + length - 8, &tail, 8);
  } else if (length >= 4) {
    std::uint32_t head, tail;
    std::memcpy(&head, from, 4);
    std::memcpy(&tail, from + length - 4, 4);
    std::memcpy(to, &head, 4);
    std::memcpy(to + length - 4, &tail, 4);
  } else if (length > 0) {
    // 1 to 3 bytes: the first, the middle one and the last (some of them the same).
    to[0] = from[0];
    to[length / 2] = from[length / 2];
    to[length - 1] = from[length - 1];
  }
  return to + length;
}

// Bytes a copy in blocks may read and write past the end of what it copies.
inline constexpr std::size_t kCopyBlock = 16;

// Copies `length` bytes in blocks of kCopyBlock: reads up to kCopyBlock - 1 bytes past the end of
// `from` and writes as many past the end of `to`, both of which must be there to be read and
// overwritten. Returns `to + length`.
inline char* copy_in_blocks(char* to, const char* from, std::size_t length) {
  for (std::size_t i = 0; i < length; i += kCopyBlock) std::memcpy(to + i, from + i, kCopyBlock);
  return to + length;
}

}  // namespace vrk
