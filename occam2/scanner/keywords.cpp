#include "occam2/scanner/keywords.h"

#include "occam2/scanner/tokens.h"
#include "scanner/characters.h"
#include "scanner/word_table.h"

namespace vrk {

namespace {

const WordTable<256> kOccam2Table(occam2::token::kKeywords);

}  // namespace

int occam2_keyword_code(std::string_view word) {
  if (word.empty() || !is_upper(word.front())) return 0;  // every keyword is an upper-case word
  return kOccam2Table.code_of(word);
}

}  // namespace vrk
