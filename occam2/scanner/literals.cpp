#include "occam2/scanner/literals.h"

namespace vrk::occam2 {

namespace {

int hex_value(char c) {
  if (is_digit(c)) return c - '0';
  return (c >= 'a' ? c - 'a' : c - 'A') + 10;
}

// Whether a string literal (quotes included) begins with *l, which stands for a byte that holds
// the length of the rest of the string.
bool starts_with_length(std::string_view literal) {
  return literal.size() >= 3 && literal[1] == '*' && (literal[2] == 'l' || literal[2] == 'L');
}

}  // namespace

int escape_value(char c) {
  switch (c) {
    case 'c': case 'C': return '\r';
    case 'n': case 'N': return '\n';
    case 't': case 'T': return '\t';
    case 's': case 'S': return ' ';
    case '\'': case '"': case '*': return c;
    default: return -1;
  }
}

std::string string_value(std::string_view literal) {
  std::string value;
  std::size_t end = literal.size() >= 2 && literal.back() == '"' ? literal.size() - 1 : literal.size();
  bool counted = starts_with_length(literal);
  for (std::size_t i = counted ? 3 : 1; i < end; ++i) {
    if (literal[i] != '*' || i + 1 >= end) {
      value += literal[i];
    } else if (literal[i + 1] == '#' && i + 3 < end && is_hex_digit(literal[i + 2]) && is_hex_digit(literal[i + 3])) {
      value += static_cast<char>(hex_value(literal[i + 2]) * 16 + hex_value(literal[i + 3]));
      i += 3;
    } else {
      int v = escape_value(literal[i + 1]);
      value += v >= 0 ? static_cast<char>(v) : literal[i + 1];
      ++i;
    }
  }
  if (counted) value.insert(value.begin(), static_cast<char>(value.size() & 0xff));
  return value;
}

}  // namespace vrk::occam2
