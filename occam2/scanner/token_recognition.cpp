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

// Whether a byte starts one of the operators above; the other operators are single characters
// whose code is the character.
constexpr std::array<bool, 256> kStartsListedOperator = [] {
  std::array<bool, 256> starts{};
  for (const Spelling& s : kPairs) starts[static_cast<unsigned char>(s.source[0])] = true;
  for (const Spelling& s : kSingles) starts[static_cast<unsigned char>(s.source[0])] = true;
  return starts;
}();

// The operator of two characters `c0` `c1`, if any.
const Spelling* pair_at(char c0, char c1) {
  for (const Spelling& s : kPairs) {
    if (s.source[0] == c0 && s.source[1] == c1) return &s;
  }
  return nullptr;
}

const Spelling* single_at(char c) {
  for (const Spelling& s : kSingles) {
    if (s.source[0] == c) return &s;
  }
  return nullptr;
}

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

bool Occam2Scanner::at_line_end(std::size_t p) { return at(p) == '\n' || (at(p) == '-' && at(p + 1) == '-'); }

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
  std::size_t end = p;
  for (char c = at(end); is_name_character(c); c = at(++end)) {
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
  char c = at(p);
  if (kStartsListedOperator[static_cast<unsigned char>(c)]) {
    if (const Spelling* pair = pair_at(c, at(p + 1))) {
      make_token(pair->code, fixed(pair->source), here(p), line_file_);
      return p + 2;
    }
    if (const Spelling* single = single_at(c)) {
      make_token(single->code, fixed(single->source), here(p), line_file_);
      return p + 1;
    }
  }
  int code = c == '\0' ? int{kNulByteToken} : int{static_cast<unsigned char>(c)};
  make_token(code, in_line(p, 1), here(p), line_file_);
  return p + 1;
}

}  // namespace vrk
