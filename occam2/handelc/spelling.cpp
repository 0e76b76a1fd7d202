// The target's words: type names, operators, literals, comments and banners.
#include <array>
#include <limits>

#include "occam2/handelc/writer_internal.h"

namespace vrk::occam2 {

std::string type_spelling(HcType type) {
  return (type.is_signed ? "int " : "unsigned ") + std::to_string(type.width);
}

std::string_view operator_text(Operator op) {
  switch (op) {
    case Operator::add: case Operator::plus: return "+";
    case Operator::subtract: case Operator::minus: case Operator::negate: case Operator::modulo_negate: return "-";
    case Operator::multiply: case Operator::times: return "*";
    case Operator::divide: return "/";
    case Operator::remainder: return "%";
    case Operator::bit_and: return "&";
    case Operator::bit_or: return "|";
    case Operator::bit_xor: return "^";
    case Operator::bit_not: return "~";
    case Operator::shift_left: return "<<";
    case Operator::shift_right: return ">>";
    case Operator::equal: return "==";
    case Operator::not_equal: return "!=";
    case Operator::less: return "<";
    case Operator::greater: return ">";
    case Operator::less_equal: return "<=";
    case Operator::greater_equal: return ">=";
    case Operator::after: return ">";
    case Operator::and_: return "&&";
    case Operator::or_: return "||";
    case Operator::not_: return "!";
    default: break;  // the user-definable operators are written as calls of their FUNCTION
  }
  return "?";
}

std::string number_text(std::int64_t value, HcType type, bool hexadecimal) {
  if (value == std::numeric_limits<std::int64_t>::min()) return "(-9223372036854775807 - 1)";
  if (hexadecimal && value >= 0) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    std::string digits;
    auto v = static_cast<std::uint64_t>(value);
    do {
      digits.insert(digits.begin(), kDigits[v & 15]);
      v >>= 4;
    } while (v != 0);
    return "0x" + digits;
  }
  (void)type;
  return std::to_string(value);
}

std::string character_text(unsigned char byte) {
  if (byte < 0x20 || byte >= 0x7f) return std::to_string(byte);
  if (byte == '\'' || byte == '\\') return std::string("'\\") + static_cast<char>(byte) + "'";
  return std::string{'\'', static_cast<char>(byte), '\''};
}


namespace {
// A byte of a comment written as it stands: not a control character (but tab), not a '#'.
// Looked up in a table: comments are copied byte by byte.
constexpr std::array<bool, 256> kPlainInComment = [] {
  std::array<bool, 256> plain{};
  for (int byte = 0; byte < 256; ++byte) {
    plain[static_cast<std::size_t>(byte)] = byte != '#' && (byte >= 0x20 || byte == '\t') && byte != 0x7f;
  }
  return plain;
}();
bool plain_in_comment(char c) { return kPlainInComment[static_cast<unsigned char>(c)]; }
}  // namespace

// occam comment lines as // comments. A run of four #s would read as a banner and a backslash at
// the end of a line would join the next line to the comment: both are broken up.
void append_comment_text(std::string& out, std::string_view text, int indent) {
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view content = text.substr(start, end - start);
    out.append(static_cast<std::size_t>(indent), '\t');
    out += "//";
    int hashes = 0;
    for (std::size_t i = 0; i < content.size();) {
      std::size_t run = i;
      while (run < content.size() && plain_in_comment(content[run])) ++run;
      if (run > i) {
        out.append(content.substr(i, run - i));
        hashes = 0;
        i = run;
        continue;
      }
      char c = content[i++];
      if (c == '#' && ++hashes == 4) {
        out += ' ';
        hashes = 1;
      } else if (c != '#') {
        hashes = 0;
      }
      out += c == '#' ? '#' : '?';
    }
    while (!out.empty() && (out.back() == ' ' || out.back() == '\t')) out.pop_back();
    if (!out.empty() && out.back() == '\\') out += '.';
    out += '\n';
    start = end + 1;
  }
}

std::string banner_text(std::string_view what, std::string_view where) {
  std::string text = "#### Error: ";
  text += what;
  text += " (";
  text += where;
  text += ") ####";
  return text;
}

}  // namespace vrk::occam2
