// Recognition of the occam 2 grammar's reserved words (the table is generated from
// occam2/parser/grammar.y).
#pragma once

#include <string_view>

namespace vrk {

// The token code of `word` if it is one of the occam 2 mode's keywords, otherwise 0.
int occam2_keyword_code(std::string_view word);

}  // namespace vrk
