// The occam 2 scanner's substitution of preprocessor values: ##NAME stands for the value #DEFINE
// or -D gave NAME, as the token that value is (an integer, TRUE or FALSE, a string).
#include <string>

#include "occam2/scanner/literals.h"
#include "occam2/scanner/scanner.h"
#include "occam2/scanner/tokens.h"

namespace vrk {

using namespace occam2::token;

// ##NAME at `p`: the token of NAME's value (a negative integer is '-', then token_after_ holds the
// number). A name nobody defined, or defined without a value, stands for the empty string "", with
// a warning: an operand still stands where the value would.
std::size_t Occam2Scanner::scan_substitution(std::size_t p) {
  std::size_t end = p + 2;
  while (occam2::is_name_character(at(end))) ++end;
  const std::string name = line_.substr(p + 2, end - p - 2);
  const occam2::SymbolValue* value = symbols_.find(name);
  const SourcePosition where = here(p);
  using Kind = occam2::SymbolValue::Kind;
  if (value == nullptr || value->kind == Kind::none) {
    warn(where, line_file_, "##" + name + (value == nullptr ? " is not defined" : " has no value") + "; it stands for \"\"");
    make_token(STRING, fixed("\"\""), where, line_file_);
    return end;
  }
  switch (value->kind) {
    case Kind::integer: {
      // The magnitude of the most negative value does not fit a long long: spelt from unsigned.
      const unsigned long long magnitude = value->number < 0 ? 0ULL - static_cast<unsigned long long>(value->number)
                                                             : static_cast<unsigned long long>(value->number);
      substituted_number_ = std::to_string(magnitude);  // kept apart: it may outlive own_'s contents
      make_token(NUMBER, fixed(substituted_number_), where, line_file_);
      if (value->number < 0) {
        token_after_ = token_;
        has_token_after_ = true;
        make_token('-', fixed("-"), where, line_file_);
      }
      break;
    }
    case Kind::boolean: {
      make_token(BOOLEAN, fixed(value->number != 0 ? "TRUE" : "FALSE"), where, line_file_);
      break;
    }
    case Kind::string: {
      make_token(STRING, owned(value->text), where, line_file_);
      break;
    }
    case Kind::none: break;
  }
  return end;
}

}  // namespace vrk
