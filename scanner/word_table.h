// A fixed set of words with a code each, looked up in an open-addressed table: the keywords of
// each mode's grammar, and other small sets of words.
#pragma once

#include <cstddef>
#include <string_view>

namespace vrk {

// A set of words with a code each in an open-addressed table, so that a word costs one or two
// probes instead of a walk through the whole list. kSlots is a power of two, over twice the
// number of words, so every probe sequence ends at an empty slot. The hash takes every character,
// so that words alike at their ends (INT16, INT32, INT64) do not pile up in one run of slots,
// which every word that is not in the table would have to walk to its end.
template <std::size_t kSlots>
class WordTable {
 public:
  template <typename Entry, std::size_t kCount>
  explicit WordTable(const Entry (&entries)[kCount]) {
    static_assert(kCount * 2 < kSlots);
    for (const Entry& e : entries) insert(e.word, e.code);
  }
  // The code of `word`, or 0 when it is not in the table.
  int code_of(std::string_view word) const {
    if (word.size() > longest_) return 0;
    for (std::size_t i = slot_of(word); !words_[i].empty(); i = (i + 1) & (kSlots - 1)) {
      if (same(words_[i], word)) return codes_[i];
    }
    return 0;
  }

 private:
  static std::size_t slot_of(std::string_view word) {
    std::size_t h = word.size();
    for (char c : word) h = h * 31 + static_cast<unsigned char>(c);
    return (h ^ (h >> 6)) & (kSlots - 1);
  }
  // The words are short: comparing them here costs less than a call of memcmp.
  static bool same(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
      if (a[i] != b[i]) return false;
    }
    return true;
  }
  void insert(std::string_view word, int code) {
    std::size_t i = slot_of(word);
    while (!words_[i].empty()) i = (i + 1) & (kSlots - 1);
    words_[i] = word;
    codes_[i] = code;
    if (word.size() > longest_) longest_ = word.size();
  }
  std::string_view words_[kSlots] = {};
  int codes_[kSlots] = {};
  std::size_t longest_ = 0;
};

}  // namespace vrk
