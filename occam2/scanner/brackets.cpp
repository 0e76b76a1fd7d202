// The occam 2 scanner's layout inside brackets that stay open at the end of a logical line: a
// VALOF as an operand, with the declarations before it,
//
//   x := (INT r :          -- the level of the bracket's first token: INT, and VALOF under it
//         VALOF
//           r := 1
//           RESULT r
//        )                 -- EOL (when a line is open), an OUTDENT per level inside, then ')'
//
// The bracket's level takes no INDENT or OUTDENT of its own; a line that begins with the
// closing bracket goes on with the line that opened it.
#include "occam2/scanner/literals.h"
#include "occam2/scanner/scanner.h"
#include "occam2/scanner/tokens.h"

namespace vrk {

using namespace occam2::token;

namespace {
bool is_opening(int code) { return code == '(' || code == '['; }
bool is_closing(int code) { return code == ')' || code == ']'; }
bool is_closing_character(char c) { return c == ')' || c == ']'; }
}  // namespace

// Whether the current line begins with the bracket that closes the innermost bracket level.
bool Occam2Scanner::closes_bracket_level() {
  if (bracket_levels_.empty() || bracket_levels_.back().bracket + 1 != brackets_.size()) return false;
  return is_closing_character(at(content_start_));
}

// Follows the brackets of `token`, which is to be delivered next: the first token after an open
// bracket is noted, and a bracket that closes a bracket level gets the tokens that end the lines
// inside it queued before it (an EOL when `line_open`, a line holding tokens not yet ended).
void Occam2Scanner::follow_open_brackets(const Token& token, bool line_open) {
  if (!brackets_.empty() && brackets_.back().inner.line < 0) {
    OpenBracket& bracket = brackets_.back();
    bracket.inner = token.position;
    bracket.inner_file = token.file;
    bracket.inner_column = kNotCounted;  // most brackets close on their line, and never need it
  }
  if (is_closing(token.code) && !brackets_.empty()) {
    if (!bracket_levels_.empty() && bracket_levels_.back().bracket + 1 == brackets_.size()) {
      if (line_open) queue({EOL, token.file, token.position, line_feed()});
      close_bracket_level(token);
    }
    brackets_.pop_back();
  } else if (is_opening(token.code)) {
    brackets_.push_back({});
  }
}

// Ends the innermost bracket level before the bracket `closing`: an OUTDENT for each level inside
// it.
void Occam2Scanner::close_bracket_level(const Token& closing) {
  BracketLevel level = bracket_levels_.back();
  bracket_levels_.pop_back();
  for (std::size_t inside = columns_.size() - 1 - level.column_index; inside > 0; --inside) {
    queue({OUTDENT, closing.file, closing.position, {}});
  }
  columns_.resize(level.column_index);
  line_start_brackets_ = level.line_start_brackets;
}

// At the end of a logical line that left brackets open: the innermost one's level, at the column
// of its first token. Brackets that cannot have one (that token is not deeper than the level the
// line stands in) are forgotten, and the parser reports what follows.
void Occam2Scanner::open_inner_bracket_level() {
  OpenBracket& bracket = brackets_.back();
  bool on_this_line = bracket.inner.line == line_no_ && bracket.inner_file == line_file_;
  int column = on_this_line ? inner_column(bracket) : -1;
  if (column <= columns_.back()) {
    brackets_.resize(line_start_brackets_);
    return;
  }
  bracket_levels_.push_back({brackets_.size() - 1, columns_.size(), line_start_brackets_});
  columns_.push_back(column);
}

// Forgets the bracket levels at `column_index` and above, whose lines a line less deep has left
// behind; returns how many there were.
std::size_t Occam2Scanner::drop_some_bracket_levels_from(std::size_t column_index) {
  std::size_t dropped = 0;
  while (!bracket_levels_.empty() && bracket_levels_.back().column_index >= column_index) {
    brackets_.resize(bracket_levels_.back().line_start_brackets);
    bracket_levels_.pop_back();
    ++dropped;
  }
  return dropped;
}

// The layout column of the first token inside `bracket`, which stands on the current line.
int Occam2Scanner::inner_column(OpenBracket& bracket) {
  if (bracket.inner_column == kNotCounted) {
    // Where the token starts in the window (a long string may have begun before it).
    const auto start = static_cast<std::size_t>(bracket.inner.column - 1);
    bracket.inner_column = layout_column(start > dropped_ ? start - dropped_ : 0);
  }
  return bracket.inner_column;
}

// Before the window drops bytes of the current line: the columns of the brackets' first tokens on
// it, which may lie among those bytes, in the order they stand on the line.
void Occam2Scanner::count_inner_columns_of_line() {
  for (OpenBracket& bracket : brackets_) {
    if (bracket.inner.line == line_no_ && bracket.inner_file == line_file_) inner_column(bracket);
  }
}

// The layout column of the byte at `offset` of the window, as find_content counts columns. The
// bytes are counted on from the last offset asked for on this line, so that each is counted once
// however many brackets the line holds; offsets are asked for in order along the line.
int Occam2Scanner::layout_column(std::size_t offset) {
  if (offset < column_offset_) column_offset_ = offset;  // not expected: the count stays as it was
  long long column = column_at_offset_;
  for (std::size_t i = column_offset_; i < offset && i < line_.size(); ++i) {
    char c = line_[i];
    if (c == '\t') {
      column = column < kMaxCount ? (column / kTabWidth + 1) * kTabWidth : column;
    } else if (c != '\r' && c != '\f' && c != '\v') {
      column = column < kMaxCount ? column + 1 : column;
    }
  }
  column_offset_ = offset;
  column_at_offset_ = capped(column);
  return capped(column_at_offset_ + static_cast<long long>(frames_.back()->base_column));
}

}  // namespace vrk
