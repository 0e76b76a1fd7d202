#include "occam2/scanner/literals.h"

#include "scanner/keywords.h"

namespace vrk::occam2 {

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

bool is_printable(unsigned char c) { return c >= 0x20 && c < 0x7f; }

int hex_value(char c) {
  if (is_digit(c)) return c - '0';
  return (c >= 'a' ? c - 'a' : c - 'A') + 10;
}

}  // namespace

void append_handel_c_name(std::string& out, std::string_view name) {
  std::size_t start = out.size();
  out += name;
  for (std::size_t i = start; i < out.size(); ++i) {
    if (out[i] == '.') out[i] = '_';
  }
  if (is_handel_c_reserved(std::string_view(out).substr(start))) out += '_';
}

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

bool starts_with_length(std::string_view literal) {
  return literal.size() >= 3 && literal[1] == '*' && (literal[2] == 'l' || literal[2] == 'L');
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

std::string c_character(unsigned char byte) {
  switch (byte) {
    case '\n': return "'\\n'";
    case '\r': return "'\\r'";
    case '\t': return "'\\t'";
    case '\'': return "'\\''";
    case '\\': return "'\\\\'";
    default: break;
  }
  if (!is_printable(byte)) return std::string{'0', 'x', kHexDigits[byte >> 4], kHexDigits[byte & 0xf]};
  return std::string{'\'', static_cast<char>(byte), '\''};
}

void CStringBuilder::add_escaped_hex(unsigned char byte) {
  text_ += "\\x";
  text_ += kHexDigits[byte >> 4];
  text_ += kHexDigits[byte & 0xf];
  after_hex_escape_ = true;
  after_question_mark_ = false;
}

void CStringBuilder::add(unsigned char byte) {
  if (!is_printable(byte) && byte != '\n' && byte != '\r' && byte != '\t') return add_escaped_hex(byte);
  if (after_hex_escape_ && is_hex_digit(static_cast<char>(byte))) return add_escaped_hex(byte);
  bool question_mark = byte == '?';
  switch (byte) {
    case '\n': text_ += "\\n"; break;
    case '\r': text_ += "\\r"; break;
    case '\t': text_ += "\\t"; break;
    case '"': text_ += "\\\""; break;
    case '\\': text_ += "\\\\"; break;
    case '?': text_ += after_question_mark_ ? "\\?" : "?"; break;
    default: text_ += static_cast<char>(byte); break;
  }
  after_hex_escape_ = false;
  after_question_mark_ = question_mark;
}

void CStringBuilder::add_hex_escape(std::string_view two_digits) {
  text_ += "\\x";
  text_ += two_digits;
  after_hex_escape_ = true;
  after_question_mark_ = false;
}

}  // namespace vrk::occam2
