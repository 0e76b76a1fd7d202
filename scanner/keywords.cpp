#include "scanner/keywords.h"

#include <cstddef>

#include "scanner/characters.h"
#include "scanner/occam2_tokens.h"
#include "scanner/tokens.h"

namespace vrk {

namespace {

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

const WordTable<64> kTable(token::kKeywords);
const WordTable<256> kOccam2Table(occam2::token::kKeywords);

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

int occam2_keyword_code(std::string_view word) {
  if (word.empty() || !is_upper(word.front())) return 0;
  return kOccam2Table.code_of(word);
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
