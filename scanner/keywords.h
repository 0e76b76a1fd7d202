// Recognition of occam's reserved words (the keyword tables themselves are generated from the
// grammars) and of the words a Handel-C name must avoid.
#pragma once

#include <string_view>

namespace vrk {

// The token code of `word` if it is a keyword, otherwise 0.
int keyword_code(std::string_view word);
// True when `word` is a C or Handel-C keyword, or main: a name spelt so needs another spelling.
bool is_handel_c_reserved(std::string_view word);

// True when `text` begins with one of the words that make a preceding comma a TYPE_COMMA.
bool begins_with_type_word(std::string_view text);

}  // namespace vrk
