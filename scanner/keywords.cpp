#include "scanner/keywords.h"

#include <cstddef>

#include "scanner/characters.h"
#include "scanner/tokens.h"
#include "scanner/word_table.h"

namespace vrk {

namespace {

const WordTable<64> kTable(token::kKeywords);

}  // namespace

int keyword_code(std::string_view word) {
  if (word.empty() || !is_upper(word.front())) return 0;  // every keyword is an upper-case word
  return kTable.code_of(word);
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
