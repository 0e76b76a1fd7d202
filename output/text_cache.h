// A small cache of shared texts for the fragments the actions append.
//
// A program repeats the same names, numbers and operators over and over. Each short text is
// looked up in a direct-mapped table before a new string is made, so repeated texts share one
// representation: on large programs this saves most string allocations and their memory. The
// table is fixed in size, so a flood of distinct texts costs no more than plain allocation.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

#include "support/string.h"

namespace vrk {

class TextCache {
 public:
  static constexpr std::size_t kLongestCached = 32;
  static constexpr std::size_t kEntries = 1024;

  TextCache() : entries_(std::make_unique<string[]>(kEntries)) {}

  // A string holding `text`, shared with earlier calls for the same text where possible.
  string get(std::string_view text) {
    if (text.size() > kLongestCached) return string(text);
    if (text.size() == 1) return string(text.front());  // the static one-character texts
    string& entry = entries_[hash(text) & (kEntries - 1)];
    if (entry.view() != text) entry = string(text);
    return entry;
  }

 private:
  // From the first and the last eight bytes (four, or three single ones, for shorter texts) and the
  // length: a few loads and multiplications, whatever the length. Texts alike at both ends share
  // a slot, which costs a fresh string, never a wrong one.
  static std::size_t hash(std::string_view text) {
    const char* p = text.data();
    const std::size_t n = text.size();
    std::uint64_t head = 0, tail = 0;
    if (n >= 8) {
      std::memcpy(&head, p, 8);
      std::memcpy(&tail, p + n - 8, 8);
    } else if (n >= 4) {
      std::uint32_t h4, t4;
      std::memcpy(&h4, p, 4);
      std::memcpy(&t4, p + n - 4, 4);
      head = h4;
      tail = t4;
    } else if (n > 0) {
      head = static_cast<unsigned char>(p[0]) | static_cast<unsigned>(static_cast<unsigned char>(p[n / 2])) << 8 |
             static_cast<unsigned>(static_cast<unsigned char>(p[n - 1])) << 16;
    }
    const std::uint64_t mixed = (head * 0x9E3779B97F4A7C15u) ^ ((tail + n) * 0xC2B2AE3D27D4EB4Fu);
    return static_cast<std::size_t>(mixed >> 40);
  }

  std::unique_ptr<string[]> entries_;
};

}  // namespace vrk
