// The occam 2 scanner's layout inside brackets that stay open at the end of a logical line: a
// VALOF as an operand, with the specifications before it,
//
//   x := (INT r :          -- the level of the bracket's first token: INT, and VALOF under it
//         VALOF
//           r := 1
//           RESULT r
//        )                 -- EOL (when a line is open), an OUTDENT per level inside, then ')'
//
// The bracket's level takes no INDENT or OUTDENT of its own; a line that begins with the
// closing bracket goes on with the line that opened it.
#include "scanner/occam2_scanner.h"
#include "scanner/occam2_tokens.h"

namespace vrk {

using namespace occam2::token;

namespace {
bool is_opening(int code) { return code == '(' || code == '['; }
bool is_closing(int code) { return code == ')' || code == ']'; }
bool is_layout(int code) { return code == EOL || code == INDENT || code == OUTDENT; }
}  // namespace

// Whether the current line begins with the bracket that closes the innermost bracket level.
bool Occam2Scanner::closes_bracket_level() const {
  if (bracket_levels_.empty() || bracket_levels_.back().bracket + 1 != brackets_.size()) return false;
  return is_closing(at(content_start_));
}

// Follows the brackets of the tokens queued from `first`; a bracket that closes a bracket level
// gets the tokens that end the lines inside it before it.
void Occam2Scanner::follow_brackets(std::size_t first) {
  bool open = line_open_;
  for (std::size_t i = first; i < queue_.size(); ++i) {
    int code = queue_[i].code;
    if (!brackets_.empty() && brackets_.back().inner.line < 0) {
      brackets_.back().inner = queue_[i].position;
      brackets_.back().inner_file = queue_[i].file;
    }
    if (is_closing(code) && !brackets_.empty()) {
      if (!bracket_levels_.empty() && bracket_levels_.back().bracket + 1 == brackets_.size()) {
        if (open) {
          queue_.insert(queue_.begin() + static_cast<std::ptrdiff_t>(i), {EOL, queue_[i].file, queue_[i].position, fixed("\n"), fixed("\n")});
          ++i;
        }
        close_bracket_level(i);
      }
      brackets_.pop_back();
    } else if (is_opening(code)) {
      brackets_.push_back({});
    }
    open = !is_layout(queue_[i].code);
  }
}

// Ends the innermost bracket level before the bracket at `at`: an OUTDENT for each level inside
// it; `at` moves past them.
void Occam2Scanner::close_bracket_level(std::size_t& at) {
  BracketLevel level = bracket_levels_.back();
  bracket_levels_.pop_back();
  const Token closing = queue_[at];
  std::size_t inside = columns_.size() - 1 - level.column_index;
  queue_.insert(queue_.begin() + static_cast<std::ptrdiff_t>(at), inside, Token{OUTDENT, closing.file, closing.position, {}, {}});
  at += inside;
  columns_.resize(level.column_index);
  line_start_brackets_ = level.line_start_brackets;
}

// At the end of a logical line that left brackets open: the innermost one's level, at the column
// of its first token. Brackets that cannot have one (that token is not deeper than the level the
// line stands in) are forgotten, and the parser reports what follows.
void Occam2Scanner::open_bracket_level() {
  if (brackets_.size() <= line_start_brackets_) return;
  const OpenBracket& bracket = brackets_.back();
  bool on_this_line = bracket.inner.line == line_no_ && bracket.inner_file == line_file_;
  int column = on_this_line ? layout_column(static_cast<std::size_t>(bracket.inner.column - 1)) : -1;
  if (column <= columns_.back()) {
    brackets_.resize(line_start_brackets_);
    return;
  }
  bracket_levels_.push_back({brackets_.size() - 1, columns_.size(), line_start_brackets_});
  columns_.push_back(column);
}

// Forgets the bracket levels at `column_index` and above, whose lines a line less deep has left
// behind; returns how many there were.
std::size_t Occam2Scanner::drop_bracket_levels_from(std::size_t column_index) {
  std::size_t dropped = 0;
  while (!bracket_levels_.empty() && bracket_levels_.back().column_index >= column_index) {
    brackets_.resize(bracket_levels_.back().line_start_brackets);
    bracket_levels_.pop_back();
    ++dropped;
  }
  return dropped;
}

// The layout column of the byte at `offset` of the current line, as find_content counts columns.
int Occam2Scanner::layout_column(std::size_t offset) const {
  int column = 0;
  for (std::size_t i = 0; i < offset && i < line_.size(); ++i) {
    char c = line_[i];
    if (c == '\t') {
      column = (column / kTabWidth + 1) * kTabWidth;
    } else if (c != '\r' && c != '\f' && c != '\v') {
      ++column;
    }
  }
  return column + frames_.back()->base_column;
}

}  // namespace vrk
