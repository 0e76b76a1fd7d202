#include "scanner/keywords.h"

#include <cstddef>

#include "scanner/characters.h"
#include "scanner/tokens.h"
#include "scanner/word_table.h"

namespace vrk {

namespace {

const WordTable<64> kTable(token::kKeywords);

// The words a name must not be spelt as in Handel-C: the C89/C99 keywords, Handel-C's own words,
// and main, which the translation defines itself.
struct ReservedWord {
  std::string_view word;
  int code = 1;
};
constexpr ReservedWord kHandelCWords[] = {
    {"auto"}, {"break"}, {"case"}, {"char"}, {"const"}, {"continue"}, {"default"}, {"do"}, {"double"},
    {"else"}, {"enum"}, {"extern"}, {"float"}, {"for"}, {"goto"}, {"if"}, {"int"}, {"long"},
    {"register"}, {"return"}, {"short"}, {"signed"}, {"sizeof"}, {"static"}, {"struct"}, {"switch"},
    {"typedef"}, {"union"}, {"unsigned"}, {"void"}, {"volatile"}, {"while"}, {"inline"}, {"restrict"},
    {"par"}, {"seq"}, {"chan"}, {"chanin"}, {"chanout"}, {"ram"}, {"rom"}, {"wom"}, {"mpram"},
    {"signal"}, {"prialt"}, {"ifselect"}, {"select"}, {"width"}, {"macro"}, {"expr"}, {"proc"},
    {"shared"}, {"let"}, {"in"}, {"set"}, {"interface"}, {"with"}, {"sema"}, {"try"}, {"reset"},
    {"typeof"}, {"assert"}, {"delay"}, {"undefined"}, {"external"}, {"internal"}, {"clock"}, {"main"},
};
const WordTable<256> kHandelCTable(kHandelCWords);


// Every word a name must avoid starts with a lower-case letter: the names in upper case or with
// a capital first letter are turned away before any look-up.
constexpr bool all_start_in_lower_case() {
  for (const ReservedWord& r : kHandelCWords) {
    if (r.word.empty() || r.word.front() < 'a' || r.word.front() > 'z') return false;
  }
  return true;
}
static_assert(all_start_in_lower_case());

}  // namespace

int keyword_code(std::string_view word) {
  if (word.empty() || !is_upper(word.front())) return 0;  // every keyword is an upper-case word
  return kTable.code_of(word);
}

bool is_handel_c_reserved(std::string_view word) {
  return !word.empty() && is_lower(word.front()) && kHandelCTable.code_of(word) != 0;
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
