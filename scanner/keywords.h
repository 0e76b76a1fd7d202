// The keyword table: occam's reserved words and their token codes.
#pragma once

#include <string_view>

namespace vrk {

struct Keyword {
  const char* text;
  int code;
  int length;  // compared first: an entry matches only a word of exactly this length
};

// The entries in lookup order, ending with an entry whose text is null.
extern const Keyword kKeywords[];

// The token code of `word` if it is a keyword, otherwise 0.
int keyword_code(std::string_view word);

// True when `text` begins with one of the words that make a preceding comma a TYPE_COMMA.
bool begins_with_type_word(std::string_view text);

}  // namespace vrk
