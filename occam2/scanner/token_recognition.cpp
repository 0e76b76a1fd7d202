// The occam 2 scanner's token recognition: one physical line into tokens, each with its code and
// its characters as occam wrote them.
#include <array>
#include <string>

#include "occam2/scanner/keywords.h"
#include "occam2/scanner/literals.h"
#include "occam2/scanner/scanner.h"
#include "occam2/scanner/tokens.h"

namespace vrk {

using namespace occam2::token;
using occam2::is_name_character;

namespace {

constexpr bool no_keyword_has(int code) {
  for (const Keyword& k : kKeywords) {
    if (k.code == code) return false;
  }
  return true;
}
// The grammar leaves the NUL byte's code free (its own tokens start above it).
static_assert(kNulByteToken < ASSIGN && no_keyword_has(kNulByteToken), "the NUL byte's code must be no grammar token's");

struct Spelling {
  std::string_view source;
  int code;
};

// Operators of two characters, tried before the single characters.
constexpr Spelling kPairs[] = {
    {":=", ASSIGN}, {"::", COUNTED}, {"??", XINPUT}, {"<<", SHIFT_OP}, {">>", SHIFT_OP}, {"<=", RELATIONAL_OP},
    {">=", RELATIONAL_OP}, {"<>", RELATIONAL_OP}, {"><", BIT_OP}, {"/\\", BIT_OP}, {"\\/", BIT_OP},
    // The symbols that have no meaning but that of a FUNCTION named by them ("@", "**", ...).
    {"@@", USER_OP}, {"@>", USER_OP}, {"<@", USER_OP}, {"**", USER_OP}, {"$$", USER_OP}, {"%%", USER_OP},
    {"%>", USER_OP}, {"<%", USER_OP}, {"[>", USER_OP}, {"<]", USER_OP}, {"<&", USER_OP}, {"&>", USER_OP},
    {"&&", USER_OP}, {"++", USER_OP}, {"!!", USER_OP}, {"==", USER_OP},
};

// Single characters whose code is a token's rather than the character's own.
constexpr Spelling kSingles[] = {
    {"<", RELATIONAL_OP}, {">", RELATIONAL_OP}, {"@", USER_OP}, {"%", USER_OP}, {"^", USER_OP},
};

// The operators listed above by their first byte: the pairs that start with it (a range of
// kPairsByFirst) and the code of the byte alone, so that an operator is found with no walk through
// the lists; a byte that starts none is an operator of its own, whose code is the byte.
struct OperatorsFrom {
  unsigned char first_pair = 0, pairs = 0;
  bool single = false;
  int single_code = 0;
};
constexpr std::size_t kPairCount = std::size(kPairs);
constexpr std::array<Spelling, kPairCount> kPairsByFirst = [] {
  std::array<Spelling, kPairCount> sorted{};
  std::size_t n = 0;
  for (int c = 0; c < 256; ++c) {
    for (const Spelling& s : kPairs) {
      if (static_cast<unsigned char>(s.source[0]) == c) sorted[n++] = s;
    }
  }
  return sorted;
}();
constexpr std::array<OperatorsFrom, 256> kOperatorsFrom = [] {
  std::array<OperatorsFrom, 256> from{};
  for (std::size_t i = kPairCount; i-- > 0;) {
    OperatorsFrom& f = from[static_cast<unsigned char>(kPairsByFirst[i].source[0])];
    f.first_pair = static_cast<unsigned char>(i);
    ++f.pairs;
  }
  for (const Spelling& s : kSingles) {
    OperatorsFrom& f = from[static_cast<unsigned char>(s.source[0])];
    f.single = true;
    f.single_code = s.code;
  }
  return from;
}();

}  // namespace

// Scans the next token of the current line into token_; false at the line's end (a line feed or
// a comment). The blanks before it, and the tokens delivered before, are dropped from the window.
bool Occam2Scanner::next_token_in_line() {
  own_.clear();
  for (;;) {
    for (;;) {
      while (next_ < line_.size() && occam2::is_blank(line_[next_])) ++next_;
      drop_before(next_);
      if (next_ < line_.size() || line_whole_) break;
      extend_line();
    }
    if (at_line_end(next_)) {
      eol_position_ = here(next_);
      eol_file_ = line_file_;
      return false;
    }
    if (scan_token(next_, true)) {
      last_code_ = has_token_after_ ? token_after_.code : token_.code;
      return true;
    }
  }
}

// Scans one token at `p` into token_ and moves `p` past it; false when the characters there make
// none (a malformed character literal, reported and skipped). With `joining_strings`, a string
// that ends its line with '*' goes on over the next lines.
bool Occam2Scanner::scan_token(std::size_t& p, bool joining_strings) {
  char c = at(p);
  bool made = true;
  if (is_letter(c)) {
    p = scan_word(p);
  } else if (is_digit(c)) {
    p = scan_number(p);
  } else if (c == '#' && is_hex_digit(at(p + 1))) {
    p = scan_hex_number(p);
  } else if (c == '#' && at(p + 1) == '#' && is_letter(at(p + 2))) {
    p = scan_substitution(p);
  } else if (c == '\'') {
    p = scan_character(p, made);
  } else if (c == '"') {
    p = scan_string(p, joining_strings);
  } else {
    p = scan_operator(p);
  }
  return made;
}

// A keyword (looked up whole: PRI.ALT is a name) or a name.
std::size_t Occam2Scanner::scan_word(std::size_t p) {
  std::size_t end = p + 1;
  const char* const bytes = line_.data();
  while (end < line_.size() && is_name_character(bytes[end])) ++end;
  if (end == line_.size()) {  // the word may go on beyond the window
    for (char c = at(end); is_name_character(c); c = at(++end)) {
    }
  }
  int code = occam2_keyword_code(std::string_view(line_).substr(p, end - p));
  make_token(code == 0 ? int{NAME} : code, in_line(p, end - p), here(p), line_file_);
  return end;
}

// Digits, or digits '.' digits with an optional exponent E, sign, digits: a REAL_NUMBER.
std::size_t Occam2Scanner::scan_number(std::size_t p) {
  std::size_t end = p;
  while (is_digit(at(end))) ++end;
  int code = NUMBER;
  if (at(end) == '.' && is_digit(at(end + 1))) {
    code = REAL_NUMBER;
    for (++end; is_digit(at(end));) ++end;
    std::size_t sign = at(end + 1) == '+' || at(end + 1) == '-' ? 1 : 0;
    if (at(end) == 'E' && is_digit(at(end + 1 + sign))) {
      for (end += 1 + sign; is_digit(at(end));) ++end;
    }
  }
  make_token(code, in_line(p, end - p), here(p), line_file_);
  return end;
}

std::size_t Occam2Scanner::scan_hex_number(std::size_t p) {
  std::size_t end = p + 1;
  while (is_hex_digit(at(end))) ++end;
  make_token(NUMBER, in_line(p, end - p), here(p), line_file_);
  return end;
}

// 'c', '*c' or '*#hh'. Anything else is reported and its quote skipped.
std::size_t Occam2Scanner::scan_character(std::size_t p, bool& made) {
  char c1 = at(p + 1), c2 = at(p + 2);
  if (c1 != '*' && c1 != '\'' && c1 != '\n' && c2 == '\'') {
    make_token(CHARACTER, in_line(p, 3), here(p), line_file_);
    return p + 3;
  }
  if (c1 == '*' && c2 == '#' && is_hex_digit(at(p + 3)) && is_hex_digit(at(p + 4)) && at(p + 5) == '\'') {
    make_token(CHARACTER, in_line(p, 6), here(p), line_file_);
    return p + 6;
  }
  int value = c1 == '*' ? occam2::escape_value(c2) : -1;
  if (value >= 0 && at(p + 3) == '\'') {
    make_token(CHARACTER, in_line(p, 4), here(p), line_file_);
    return p + 4;
  }
  error(here(p), line_file_, "malformed character literal", "'");
  made = false;
  return p + 1;
}

// A string literal, as written but for the line breaks of a continued one. A string not closed on its line (nor continued) is reported
// and closed at the line's end, so that the rest of the line is not read as code.
std::size_t Occam2Scanner::scan_string(std::size_t p, bool joining_strings) {
  SourcePosition where = here(p);
  int file = line_file_;
  std::string lexeme = "\"";
  std::size_t q = p + 1;
  for (;;) {
    if (joining_strings) drop_before(q);  // what was read of the string is in `lexeme`
    char c = at(q);
    if (c == '"') {
      lexeme += '"';
      ++q;
      break;
    }
    if (c == '\n') {
      error(where, file, "string not closed", lexeme);
      break;
    }
    if (c != '*') {
      lexeme += c;
      ++q;
      continue;
    }
    std::size_t after = skip_blanks(q + 1);
    if (at(after) == '\n' && joining_strings) {
      if (continue_string(q)) continue;
      q = after;  // the line feed: reported as not closed above
      continue;
    }
    char e = at(q + 1);
    if ((e == 'l' || e == 'L') && lexeme.size() == 1) {  // *l: the length byte, known at the end
      lexeme.append(line_, q, 2);
      q += 2;
    } else if (e == '#' && is_hex_digit(at(q + 2)) && is_hex_digit(at(q + 3))) {
      lexeme.append(line_, q, 4);
      q += 4;
    } else if (occam2::escape_value(e) >= 0) {
      lexeme.append(line_, q, 2);
      q += 2;
    } else {
      error(here(q), file, "unknown escape in a string", lexeme);
      lexeme += '*';
      ++q;
    }
  }
  make_token(STRING, owned(lexeme), where, file);
  return q;
}

// Moves to the line that continues a string: the next non-blank line of the same file, which
// must start with '*'; `resume` is then the byte after it. Otherwise what was read of that line is
// given back, to be read again as the next line.
bool Occam2Scanner::continue_string(std::size_t& resume) {
  Frame& frame = *frames_.back();
  if (stopped() || frame.has_pushed_back) return false;
  bool whole = false;
  for (std::string next; read_part(frame, next, whole) == SourceReader::Result::line; next.clear()) {
    if (stopped()) return false;
    frame.line = next_count(frame.line);
    std::size_t start = 0;
    for (;;) {
      while (start < next.size() && occam2::is_blank(next[start])) ++start;
      if (start < next.size() || whole) break;
      if (read_part(frame, next, whole) != SourceReader::Result::line) {
        next += '\n';
        whole = true;
      }
    }
    if (next[start] == '\n') continue;
    if (next[start] != '*') {
      frame.pushed_back = std::move(next);
      frame.pushed_back_whole = whole;
      frame.has_pushed_back = true;
      --frame.line;
      return false;
    }
    line_ = std::move(next);
    pad_window();
    line_whole_ = whole;
    dropped_ = 0;
    column_offset_ = 0;
    column_at_offset_ = 0;
    line_no_ = frame.line;
    resume = start + 1;
    return true;
  }
  return false;
}

std::size_t Occam2Scanner::scan_operator(std::size_t p) {
  const char c = at(p);
  const OperatorsFrom& from = kOperatorsFrom[static_cast<unsigned char>(c)];
  if (from.pairs != 0) {
    const char c1 = at(p + 1);
    for (std::size_t i = from.first_pair; i < from.first_pair + std::size_t{from.pairs}; ++i) {
      if (kPairsByFirst[i].source[1] == c1) {
        make_token(kPairsByFirst[i].code, in_line(p, 2), here(p), line_file_);
        return p + 2;
      }
    }
  }
  if (from.single) {
    make_token(from.single_code, in_line(p, 1), here(p), line_file_);
    return p + 1;
  }
  int code = c == '\0' ? int{kNulByteToken} : int{static_cast<unsigned char>(c)};
  make_token(code, in_line(p, 1), here(p), line_file_);
  return p + 1;
}

}  // namespace vrk
