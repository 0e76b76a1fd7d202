// The values of occam 2 literals and the character classes of occam 2 source, for the occam 2
// mode's scanner and parser.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "scanner/characters.h"

namespace vrk::occam2 {

// The byte an occam escape `*c` stands for (c, n, t, s, ', ", * in either case), or -1 when `c`
// makes no escape (`*#hh` is read separately).
int escape_value(char c);

// The bytes a string literal (quotes included, as scanned) stands for.
std::string string_value(std::string_view literal);

// The bytes of a name after its first letter: letters, digits and dots. Looked up in a table: the
// scanner asks it of every byte of every name.
inline constexpr std::array<bool, 256> kNameCharacters = [] {
  std::array<bool, 256> name{};
  for (int c = 0; c < 256; ++c) {
    name[static_cast<std::size_t>(c)] = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.';
  }
  return name;
}();
inline bool is_name_character(char c) { return kNameCharacters[static_cast<unsigned char>(c)]; }
// White space within a line: carriage returns and form feeds count as blanks.
inline bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }
// The first byte of `line` at or after `from` that is not blank (the line feed at the latest).
inline std::size_t skip_blanks(std::string_view line, std::size_t from) {
  while (from < line.size() && is_blank(line[from])) ++from;
  return from;
}

}  // namespace vrk::occam2
