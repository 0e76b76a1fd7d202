// A small cache of shared texts for the fragments the actions append.
//
// A program repeats the same names, numbers and operators over and over. Each short text is
// looked up in a direct-mapped table before a new string is made, so repeated texts share one
// representation: on large programs this saves most string allocations and their memory. The
// table is fixed in size, so a flood of distinct texts costs no more than plain allocation.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "support/string.h"

namespace vrk {

class TextCache {
 public:
  static constexpr std::size_t kLongestCached = 32;
  static constexpr std::size_t kEntries = 256;

  TextCache() : entries_(std::make_unique<string[]>(kEntries)) {}

  // A string holding `text`, shared with earlier calls for the same text where possible.
  string get(std::string_view text) {
    if (text.size() > kLongestCached) return string(text);
    string& entry = entries_[hash(text) & (kEntries - 1)];
    if (entry.view() != text) entry = string(text);
    return entry;
  }

 private:
  static std::uint32_t hash(std::string_view text) {
    std::uint32_t h = 2166136261u;
    for (char c : text) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
    return h;
  }

  std::unique_ptr<string[]> entries_;
};

}  // namespace vrk
