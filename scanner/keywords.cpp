#include "scanner/keywords.h"

#include <cstddef>

#include "scanner/tokens.h"

namespace vrk {

namespace {

// The keywords (generated from the grammar) in an open-addressed table, so that a word costs one
// or two probes instead of a walk through the whole list.
constexpr std::size_t kSlots = 64;  // a power of two, over twice the number of keywords
static_assert(std::size(token::kKeywords) * 2 < kSlots);

std::size_t slot_of(std::string_view word) {
  return (word.size() * 7 + static_cast<unsigned char>(word.front()) * 3 +
          static_cast<unsigned char>(word.back())) & (kSlots - 1);
}

struct KeywordTable {
  const token::Keyword* slots[kSlots] = {};
  KeywordTable() {
    for (const token::Keyword& k : token::kKeywords) {
      std::size_t i = slot_of(k.word);
      while (slots[i] != nullptr) i = (i + 1) & (kSlots - 1);
      slots[i] = &k;
    }
  }
};

const KeywordTable kTable;

bool is_upper(char c) { return c >= 'A' && c <= 'Z'; }

}  // namespace

int keyword_code(std::string_view word) {
  if (word.empty() || !is_upper(word.front())) return 0;  // every keyword is an upper-case word
  for (std::size_t i = slot_of(word); kTable.slots[i] != nullptr; i = (i + 1) & (kSlots - 1)) {
    if (kTable.slots[i]->word == word) return kTable.slots[i]->code;
  }
  return 0;
}

bool begins_with_type_word(std::string_view text) {
  static constexpr std::string_view kTypeWords[] = {"CHAN",  "OF",     "INT",    "INT16", "INT32",
                                                    "INT64", "BYTE",   "BOOL",   "REAL32", "REAL64",
                                                    "CASE",  "ELSE",   "VALUE"};
  for (std::string_view word : kTypeWords) {
    if (text.substr(0, word.size()) == word) return true;
  }
  return false;
}

}  // namespace vrk
