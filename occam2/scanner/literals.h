// The Handel-C spelling of occam 2 names and literals, and the character classes of occam 2
// source, for the occam 2 mode's scanner.
#pragma once

#include <string>
#include <string_view>

#include "scanner/characters.h"

namespace vrk::occam2 {

// Appends a name's Handel-C spelling to `out`: its dots as underscores, and a trailing underscore
// when it is a C or Handel-C word (or main): out.ready -> out_ready, main -> main_.
void append_handel_c_name(std::string& out, std::string_view name);

// The byte an occam escape `*c` stands for (c, n, t, s, ', ", * in either case), or -1 when `c`
// makes no escape (`*#hh` is read separately).
int escape_value(char c);

// Whether a string literal (quotes included) begins with *l, which stands for a byte that holds
// the length of the rest of the string.
bool starts_with_length(std::string_view literal);

// The bytes a string literal (quotes included, as scanned) stands for.
std::string string_value(std::string_view literal);

// The C character constant for a byte: 'a', '\n', '\'', '\\', or 0xhh for bytes without a
// printable form.
std::string c_character(unsigned char byte);

// Builds the body of a C string literal from a string's bytes. A hexadecimal escape in C takes
// every hex digit after it, so a hex digit that follows one is escaped too; "??" is written
// "?\?" so that no trigraph can form.
class CStringBuilder {
 public:
  void add(unsigned char byte);
  // A byte written in the source as *#hh: "\xhh" with the digits as written.
  void add_hex_escape(std::string_view two_digits);
  const std::string& text() const { return text_; }

 private:
  void add_escaped_hex(unsigned char byte);
  std::string text_;
  bool after_hex_escape_ = false;
  bool after_question_mark_ = false;
};

inline bool is_name_character(char c) { return is_letter(c) || is_digit(c) || c == '.'; }
// White space within a line: carriage returns and form feeds count as blanks.
inline bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }
// The first byte of `line` at or after `from` that is not blank (the line feed at the latest).
inline std::size_t skip_blanks(std::string_view line, std::size_t from) {
  while (from < line.size() && is_blank(line[from])) ++from;
  return from;
}

}  // namespace vrk::occam2
