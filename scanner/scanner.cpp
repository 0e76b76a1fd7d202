#include "output/banners.h"
#include "scanner/scanner.h"

#include "scanner/characters.h"
#include "scanner/keywords.h"
#include "scanner/tokens.h"
#include "support/string.h"

namespace vrk {

using namespace token;

namespace {


using Result = SourceReader::Result;

constexpr std::size_t kMaxHexDigits = 8;

static_assert(kNulByteToken > token::kHighestCode, "the NUL byte's code must be no grammar token's");

// The lexeme of INDENT, OUTDENT and the end of the input. Unlike an empty default view it points
// at real storage, padded like the line, so the trace may copy it like any other lexeme.
constexpr char kNoLexemeBytes[PaddedLine::kPadding] = {};
constexpr std::string_view kNoLexeme(kNoLexemeBytes, 0);


}  // namespace

// The character `offset` places after the position; past the end of the line it reads as NUL.
char Scanner::at(std::size_t offset) const {
  return line_[position_ + offset];
}

int Scanner::yylex() {
  token_start_ = position_;
  number_overflowed_ = false;
  int code = -1;
  while (code < 0) {
    switch (state_) {
      case LineState::read_line:
        if (!read_next_line()) state_ = LineState::end_of_input;
        break;
      case LineState::count_indentation:
        if (at(0) == ' ' && at(1) == ' ') {
          ++line_level_;
          position_ += 2;
          token_start_ += 2;
        } else {
          state_ = LineState::scan;
        }
        break;
      case LineState::scan:
        if (line_level_ < block_level_) {
          --block_level_;
          code = OUTDENT;
        } else if (line_level_ > block_level_) {
          ++block_level_;
          code = INDENT;
        } else {
          code = scan_token();
        }
        break;
      case LineState::end_of_input:
        if (block_level_ >= 1) {
          --block_level_;
          code = OUTDENT;
        } else {
          code = END_OF_INPUT;
        }
        break;
    }
    if (stopped()) {
      lexeme_ = kNoLexeme;  // the previous token's characters may be gone with the line buffer
      return END_OF_INPUT;
    }
  }
  complete(code);
  return code;
}

// Reads the next line that holds tokens; false at the end of the input.
bool Scanner::read_next_line() {
  for (;;) {
    std::string_view line;
    Result result = source_.read_line(line);
    line_.assign(line);
    switch (result) {
      case Result::end_of_input:
        return false;
      case Result::read_error:
        diagnostics_.read_error(line_number_);
        stop_status_ = ExitStatus::unusable_input;
        return false;
      case Result::overlong:
        stop_on_overlong_line();
        return false;
      case Result::line:
        break;
    }
    position_ = token_start_ = 0;
    line_level_ = 0;
    if (consume_comment_or_blank_line()) continue;
    state_ = (at(0) == ' ' && at(1) == ' ') ? LineState::count_indentation : LineState::scan;
    return true;
  }
}

// A whole-line comment becomes a C comment, one fragment; a blank line
// vanishes. Both count as a line. Returns true when the line was consumed.
bool Scanner::consume_comment_or_blank_line() {
  std::size_t p = 0;
  while (line_[p] == ' ') ++p;  // the line ends in a line feed
  if (p + 1 < line_.size() && line_[p] == '-' && line_[p + 1] == '-') {
    ++line_number_;
    std::string_view text = line_.view().substr(p + 2, line_.size() - 1 - (p + 2));  // up to the line feed
    fragments_.append(comment_fragment(text));
    return true;
  }
  if (line_[p] == '\n') {
    ++line_number_;
    return true;
  }
  return false;
}

// The message fragment names the line as read; it never reaches the output file, because the
// Fragment list is not written when the scanner gives up.
void Scanner::stop_on_overlong_line() {
  fragments_.append(string("\n\n line <" + std::string(line_.view()) + "> longer than 256 \n\n"));
  diagnostics_.overlong_line(line_number_, SourceReader::kMaxLineLength);
  stop_status_ = ExitStatus::translation_failed;
}

int Scanner::end_line() {
  ++line_number_;
  position_ = line_.size();
  state_ = LineState::read_line;
  return EOL;
}

int Scanner::scan_token() {
  number_kind_ = Number::decimal;
  while (at(0) == ' ') {
    ++position_;
    ++token_start_;
  }
  const char c = at(0);
  switch (c) {
    case '\n': return end_line();
    case '-': return scan_trailing_comment_or_minus();
    case ',': return scan_comma();
    case '"': return scan_string();
    case '#':
      if (is_hex_digit(at(1))) return scan_hex_number();
      break;
    case '\'': return scan_character();
    case '<': return scan_less_than();
    case '>': return scan_greater_than();
    case '/':
      if (at(1) != '\\') break;
      position_ += 2;
      operator_text_ = "&";
      return BIT_OP;
    case '\\':
      if (at(1) != '/') break;
      position_ += 2;
      operator_text_ = "|";
      return BIT_OP;
    case '0': case '1': case '2': case '3': case '4': case '5': case '6': case '7': case '8': case '9':
      return scan_number();
    default:
      if (is_letter(c)) return scan_word();
      break;
  }
  ++position_;
  return c == '\0' ? int{kNulByteToken} : int{static_cast<unsigned char>(c)};
}

int Scanner::scan_trailing_comment_or_minus() {
  if (at(1) == '-') return end_line();
  ++position_;
  return '-';
}

// A comma followed by a type word is a TYPE_COMMA; only the comma is consumed either way.
int Scanner::scan_comma() {
  std::size_t next = line_.view().find_first_not_of(' ', position_ + 1);
  std::string_view rest = next == std::string_view::npos ? std::string_view() : line_.view().substr(next);
  ++position_;
  return begins_with_type_word(rest) ? int{TYPE_COMMA} : int{','};
}

// A string constant closes on its own line; an unclosed quote is just the character.
int Scanner::scan_string() {
  std::size_t text_end = line_.size() - 1;
  std::size_t close = line_.view().find('"', position_ + 1);
  if (close == std::string_view::npos || close >= text_end) {
    ++position_;
    return '"';
  }
  position_ = close + 1;
  return STRING;
}

// '#' and up to eight hexadecimal digits; a ninth digit means the value is wider than 32 bits,
// and any further digits are left for the next token.
int Scanner::scan_hex_number() {
  ++position_;
  std::size_t first = position_;
  while (position_ - first < kMaxHexDigits + 1 && is_hex_digit(at(0))) ++position_;
  std::size_t digits = position_ - first;
  if (digits > kMaxHexDigits) {
    current_text_.assign_banner(banners::text_of(banners::kHexOverflow));
    number_overflowed_ = true;
    current_text_banner_ = {{line_number_, static_cast<int>(token_start_) + 1}, "a hexadecimal value wider than 32 bits"};
  } else {
    char hex[2 + kMaxHexDigits] = {'0', 'x'};
    std::memcpy(hex + 2, line_.data() + first, digits);
    current_text_.assign(std::string_view(hex, 2 + digits));
  }
  number_kind_ = Number::hexadecimal;
  return NUMBER;
}

// 'c', '*c' (becomes the C escape '\c') and '*#hh' (becomes 0xhh).
int Scanner::scan_character() {
  char c1 = at(1), c2 = at(2), c3 = at(3);
  if (c1 != '*' && c2 == '\'') {
    const char text[] = {'\'', c1, '\''};
    operator_text_.assign(std::string_view(text, sizeof text));
    position_ += 3;
    return CHARACTER;
  }
  if (c1 == '*' && c2 != '#' && c3 == '\'') {
    const char text[] = {'\'', '\\', c2, '\''};
    operator_text_.assign(std::string_view(text, sizeof text));
    position_ += 4;
    return CHARACTER;
  }
  if (c1 == '*' && c2 == '#' && is_hex_digit(c3) && is_hex_digit(at(4)) && at(5) == '\'') {
    const char text[] = {'0', 'x', c3, at(4)};
    operator_text_.assign(std::string_view(text, sizeof text));
    position_ += 6;
    return CHARACTER;
  }
  ++position_;
  return '\'';
}

int Scanner::scan_less_than() {
  char c1 = at(1);
  if (c1 == '<') {
    position_ += 2;
    current_text_ = " << ";
    return SHIFT_OP;
  }
  if (c1 == '=' || c1 == '>') {
    position_ += 2;
    current_text_ = c1 == '=' ? " <= " : " != ";
    return RELATIONAL_OP;
  }
  ++position_;
  current_text_ = " < ";
  return RELATIONAL_OP;
}

int Scanner::scan_greater_than() {
  char c1 = at(1);
  if (c1 == '>') {
    position_ += 2;
    current_text_ = " >> ";
    return SHIFT_OP;
  }
  if (c1 == '<') {
    position_ += 2;
    operator_text_ = "^";
    return BIT_OP;
  }
  if (c1 == '=') {
    position_ += 2;
    current_text_ = " >= ";
    return RELATIONAL_OP;
  }
  ++position_;
  current_text_ = " > ";
  return RELATIONAL_OP;
}

int Scanner::scan_number() {
  while (is_digit(at(0))) ++position_;
  return NUMBER;
}

int Scanner::scan_word() {
  std::size_t start = position_;
  while (is_letter(at(0)) || is_digit(at(0)) || at(0) == '.') ++position_;
  int code = keyword_code(line_.view().substr(start, position_ - start));
  return code != 0 ? code : NAME;
}

// Sets the lexeme and the Handel-C texts that depend on the token code, then traces the token.
void Scanner::complete(int code) {
  bool layout = code == INDENT || code == OUTDENT || code == END_OF_INPUT;
  lexeme_ = layout ? kNoLexeme : line_.view().substr(token_start_, position_ - token_start_);
  locate_token(code);
  switch (code) {
    case NAME:
      current_text_.assign_from_line(lexeme_);
      operator_text_.assign_from_line(lexeme_);
      break;
    case NUMBER:
      if (number_kind_ == Number::decimal) current_text_.assign_from_line(lexeme_);
      break;
    case BOOLEAN:
    case STRING:
      current_text_.assign_from_line(lexeme_);
      break;
    case NOW:
      current_text_.assign_banner(banners::text_of(banners::kNow));
      current_text_banner_ = {position_of_token_, "the occam keyword NOW"};
      break;
    case NOT:
      operator_text_ = "~";
      break;
    case LOGICAL_OP:
      operator_text_.assign_banner(banners::text_of(banners::kLogicalOperator));
      operator_text_banner_ = {position_of_token_, lexeme_ == "AND" ? "the logical operator AND" : "the logical operator OR"};
      break;
    case '+':
    case '*':
    case '-':
      operator_text_.assign_from_line(lexeme_);
      break;
    case '/':
      operator_text_ = "div";
      break;
    case '\\':
      operator_text_ = "mod";
      break;
    default:
      break;
  }
  trace(code);
}

// The line of an end of line is the one it ends, already counted when the token was made.
void Scanner::locate_token(int code) {
  code_ = code;
  if (state_ == LineState::end_of_input) {
    position_of_token_ = {line_number_, 1};
  } else {
    position_of_token_ = {code == EOL ? line_number_ - 1 : line_number_, static_cast<int>(token_start_) + 1};
  }
}

// "yylex: token %d <%s>\n", to the debug log and then, unless quiet, to standard error.
// The lexeme lies in the padded line (or is empty).
void Scanner::trace(int code) { diagnostics_.trace_token(code, lexeme_, Diagnostics::LexemeBytes::padded); }

}  // namespace vrk
