#include "scanner/keywords.h"

#include "scanner/tokens.h"

namespace vrk {

using namespace token;

// TRUE carries the length 5, so it never matches: TRUE is scanned as a name and reaches the
// output through the name operand action, which makes sure the boolean constants are declared.
const Keyword kKeywords[] = {
    {"AFTER", RELATIONAL_OP, 5}, {"ALT", ALT, 3},     {"AND", LOGICAL_OP, 3}, {"ANY", ANY, 3},
    {"BYTEA", BYTEA, 5},         {"CHAN", CHAN, 4},   {"OF", OF, 2},          {"DEF", DEF, 3},
    {"FALSE", BOOLEAN, 5},       {"FOR", FOR, 3},     {"IF", IF, 2},          {"NOT", NOT, 3},
    {"NOW", NOW, 3},             {"OR", LOGICAL_OP, 2}, {"PAR", PAR, 3},      {"PROC", PROC, 4},
    {"SEQ", SEQ, 3},             {"SKIP", SKIP, 4},   {"STOP", STOP, 4},      {"TABLE", TABLE, 5},
    {"TRUE", BOOLEAN, 5},        {"VALUE", VALUE, 5}, {"INT", INT, 3},        {"BOOL", BOOL, 4},
    {"BYTE", BYTE, 4},           {"REAL32", REAL32, 6}, {"REAL64", REAL64, 6}, {"WAIT", WAIT, 4},
    {"WHILE", WHILE, 5},         {"CASE", CASE, 4},   {"ELSE", ELSE, 4},      {nullptr, 0, 0},
};

namespace {

// The keywords in an open-addressed table, so that a word costs one or two probes instead of a
// walk through the whole list.
constexpr std::size_t kSlots = 64;  // a power of two, over twice the number of keywords

std::size_t slot_of(std::string_view word) {
  return (word.size() * 7 + static_cast<unsigned char>(word.front()) * 3 +
          static_cast<unsigned char>(word.back())) & (kSlots - 1);
}

struct KeywordTable {
  const Keyword* slots[kSlots] = {};
  KeywordTable() {
    for (const Keyword* k = kKeywords; k->text != nullptr; ++k) {
      std::size_t i = slot_of(k->text);
      while (slots[i] != nullptr) i = (i + 1) & (kSlots - 1);
      slots[i] = k;
    }
  }
};

const KeywordTable kTable;

bool is_upper(char c) { return c >= 'A' && c <= 'Z'; }

}  // namespace

int keyword_code(std::string_view word) {
  if (word.empty() || !is_upper(word.front())) return 0;  // every keyword is an upper-case word
  for (std::size_t i = slot_of(word); kTable.slots[i] != nullptr; i = (i + 1) & (kSlots - 1)) {
    const Keyword* k = kTable.slots[i];
    if (static_cast<std::size_t>(k->length) == word.size() && word == k->text) return k->code;
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
