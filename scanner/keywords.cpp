#include "scanner/keywords.h"

#include "scanner/tokens.h"

namespace vrk {

int keyword_code(std::string_view word) {
  for (const token::Keyword& k : token::kKeywords) {
    if (k.word == word) return k.code;
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
