// Recognition of occam's reserved words (the keyword table itself is generated from the grammar).
#pragma once

#include <string_view>

namespace vrk {

// The token code of `word` if it is a keyword, otherwise 0.
int keyword_code(std::string_view word);

// True when `text` begins with one of the words that make a preceding comma a TYPE_COMMA.
bool begins_with_type_word(std::string_view text);

}  // namespace vrk
