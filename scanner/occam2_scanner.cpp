#include "scanner/occam2_scanner.h"

#include <utility>

#include "scanner/occam2_literals.h"
#include "scanner/occam2_tokens.h"

namespace vrk {

using namespace occam2::token;

namespace {

bool is_standard_input(const std::string& path) { return path.empty() || path == "-" || path == "<stdin>"; }

// A token that cannot end a statement: the line after it continues the statement.
bool joins_next_line(int code) {
  switch (code) {
    case '+': case '-': case '*': case '/': case '\\': case '=': case ',': case ';':
    case '(': case '[': case '&': case '|':
    case BIT_OP: case SHIFT_OP: case RELATIONAL_OP: case AND: case OR: case AFTER:
    case ARITH_WORD: case MINUS: case ASSIGN: case IS: case FROM: case FOR:
      return true;
    default:
      return false;
  }
}

}  // namespace

Occam2Scanner::Occam2Scanner(SourceReader& source, Diagnostics& diagnostics, Occam2ScannerOptions options)
    : source_(source), diagnostics_(diagnostics), options_(std::move(options)) {
  auto main = std::make_unique<Frame>();
  main->reader = &source_;
  main->file = file_id(diagnostics_.source_name());
  if (!is_standard_input(options_.source_path)) {
    main->directory = occam2::directory_of(options_.source_path);
    main->identity = occam2::identity_of(options_.source_path);
  }
  frames_.push_back(std::move(main));
  for (const std::string& define : options_.defines) symbols_.define_from_option(define);
}

Occam2Scanner::~Occam2Scanner() = default;

int Occam2Scanner::yylex() {
  while (next_ >= queue_.size()) {
    if (stopped()) {
      code_ = END_OF_INPUT;
      lexeme_ = text_ = std::string_view();
      return END_OF_INPUT;
    }
    fill_queue();
  }
  deliver(queue_[next_++]);
  return code_;
}

// Called after every token: most have no comment before them, and cost no string moves then.
std::string Occam2Scanner::take_comments() {
  if (comments_.empty()) return {};
  return std::exchange(comments_, std::string());
}

// Queues what follows the tokens delivered so far: the next physical line's tokens, after the
// layout tokens a new logical line needs and before the EOL of a line that ends one; or the end.
void Occam2Scanner::fill_queue() {
  queue_.clear();
  next_ = 0;
  own_.clear();
  if (finished_) return push_layout(END_OF_INPUT, end_position_, frames_.front()->file);
  if (!next_content_line()) return finish_input();
  // The layout tokens get their places first, so that the line's tokens need not be moved to
  // make room for them; they are filled in once the first token is known.
  // A line that begins by closing the brackets its lines stand in goes on with the line that
  // opened them.
  bool new_line = !continues_ && !closes_bracket_level();
  Layout layout = new_line ? layout_for(content_column_) : Layout{};
  queue_.resize(layout.size());
  tokenize(content_start_, true);
  if (queue_.size() == layout.size()) {  // nothing but malformed literals, already reported
    queue_.clear();
    return;
  }
  std::size_t line_tokens = queue_.size() - layout.size();
  if (new_line) {
    lay_out(layout);
    line_start_brackets_ = brackets_.size();
  }
  follow_brackets(queue_.size() - line_tokens);
  line_open_ = true;
  continues_ = joins_next_line(queue_.back().code);
  if (!continues_) {
    end_logical_line();
    open_bracket_level();
  }
}

// The EOL of a logical line, queued after its last token as soon as that token shows that the
// next line does not continue it.
void Occam2Scanner::end_logical_line() {
  line_open_ = false;
  push_token(EOL, fixed("\n"), fixed("\n"), eol_position_, eol_file_);
}

// The EOL of the last line, an OUTDENT for each open level, then the end.
void Occam2Scanner::finish_input() {
  if (stopped()) return;
  close_conditions_of_file();
  finished_ = true;
  int file = frames_.front()->file;
  if (line_open_) end_logical_line();  // a last line that would go on
  std::size_t silent = drop_bracket_levels_from(1);
  for (std::size_t level = 1 + silent; level < columns_.size(); ++level) push_layout(OUTDENT, end_position_, file);
  columns_.resize(1);
  push_layout(END_OF_INPUT, end_position_, file);
}

// Reads up to the next line that holds tokens, handling the blank, comment, directive and
// skipped lines on the way; false at the end of the input.
bool Occam2Scanner::next_content_line() {
  while (read_physical_line()) {
    find_content();
    std::size_t start = content_start_;
    std::string_view word = continues_ ? std::string_view() : directive_word(start);
    if (!word.empty()) {
      handle_directive(start, word);
    } else if (!active() || line_[start] == '\n' || under_library(start)) {
      continue;
    } else if (line_[start] == '-' && at(start + 1) == '-') {
      keep_comment(start);
    } else {
      return true;
    }
  }
  return false;
}

// The next physical line of the innermost open file, leaving files at their end; false at the
// end of the main source or when it cannot be read.
bool Occam2Scanner::read_physical_line() {
  for (;;) {
    Frame& frame = *frames_.back();
    if (frame.has_pushed_back) {
      frame.has_pushed_back = false;
      line_ = std::move(frame.pushed_back);
      line_no_ = ++frame.line;
      line_file_ = frame.file;
      return true;
    }
    switch (frame.reader->read_line(line_)) {
      case SourceReader::Result::line:
        line_no_ = ++frame.line;
        line_file_ = frame.file;
        return true;
      case SourceReader::Result::end_of_input:
        break;
      case SourceReader::Result::read_error:
        if (frames_.size() == 1) {
          use_file_for_messages(frame.file);
          diagnostics_.read_error(frame.line + 1);
          stop_status_ = ExitStatus::unusable_input;
          return false;
        }
        error({frame.line + 1, 0}, frame.file, "cannot read the included file any further", "#INCLUDE");
        break;
      case SourceReader::Result::overlong:
        use_file_for_messages(frame.file);
        diagnostics_.overlong_line(frame.line + 1, SourceReader::kMaxLineLength);
        stop_status_ = ExitStatus::translation_failed;
        return false;
    }
    if (!leave_file()) return false;
  }
}

// Ends the innermost file; false when it was the main source.
bool Occam2Scanner::leave_file() {
  Frame& frame = *frames_.back();
  if (frames_.size() == 1) {
    end_position_ = {frame.line + 1, 1};
    return false;
  }
  close_conditions_of_file();
  frames_.pop_back();
  return true;
}

// The next physical line of `frame` alone (a string goes on only within its file).
bool Occam2Scanner::read_line_of(Frame& frame, std::string& line) {
  if (frame.has_pushed_back) {
    frame.has_pushed_back = false;
    line = std::move(frame.pushed_back);
    ++frame.line;
    return true;
  }
  if (frame.reader->read_line(line) != SourceReader::Result::line) return false;
  ++frame.line;
  return true;
}

void Occam2Scanner::push_back_line(Frame& frame, std::string line) {
  frame.pushed_back = std::move(line);
  frame.has_pushed_back = true;
  --frame.line;
}

// A whole-line comment as a C comment; a "*/" in its text would end the C comment early, so it is
// written "* /". The text goes over in stretches between those.
// A whole-line comment is kept as its text after "--", one line feed after each.
void Occam2Scanner::keep_comment(std::size_t start) {
  std::string_view text(line_);
  comments_ += text.substr(start + 2, line_.size() - 1 - (start + 2));
  comments_ += '\n';
}

// The first non-blank byte of the current line and the layout column it stands in, in one pass
// over the blanks: tabs expanded to the next multiple of eight, carriage returns and form feeds
// taking no room, plus the column of the #INCLUDE of its file.
void Occam2Scanner::find_content() {
  const char* line = line_.data();  // it ends in a line feed, which is no blank
  int column = 0;
  std::size_t i = 0;
  for (;; ++i) {
    if (line[i] == ' ') {
      ++column;
    } else if (line[i] == '\t') {
      column = (column / kTabWidth + 1) * kTabWidth;
    } else if (!occam2::is_blank(line[i])) {
      break;
    }
  }
  content_start_ = i;
  content_column_ = column + frames_.back()->base_column;
}

Occam2Scanner::Layout Occam2Scanner::layout_for(int column) const {
  Layout layout;
  std::size_t level = columns_.size() - 1;
  for (; column < columns_[level]; --level) ++layout.outdents;  // columns_[0] is 0: no column is less
  layout.indent = column > columns_[level];
  return layout;
}

// The INDENT or OUTDENTs a new logical line needs, in the places left for them before its tokens.
// An indent is two columns; a deeper one, or an outdent to a column between two open levels, is
// reported and taken as one level (an outdent to the level below, then one indent).
void Occam2Scanner::lay_out(Layout layout) {
  const Token& first = queue_[layout.size()];
  const SourcePosition where = first.position;
  const int file = first.file;
  int column = content_column_;
  if (column > columns_.back() && column != columns_.back() + 2) error(where, file, "bad indentation", lexeme_of(first));
  if (layout.indent && layout.outdents > 0) error(where, file, "bad indentation", lexeme_of(first));
  // Levels of brackets left open behind this line have no OUTDENT of their own.
  std::size_t silent = drop_bracket_levels_from(columns_.size() - layout.outdents);
  columns_.resize(columns_.size() - layout.outdents);
  if (layout.indent) columns_.push_back(column);
  for (std::size_t i = 0; i < layout.outdents; ++i) queue_[i] = {OUTDENT, file, where, {}, {}};
  if (layout.indent) queue_[layout.outdents] = {INDENT, file, where, {}, {}};
  queue_.erase(queue_.begin(), queue_.begin() + static_cast<std::ptrdiff_t>(silent));
}

void Occam2Scanner::push_layout(int code, SourcePosition where, int file) { push_token(code, {}, {}, where, file); }

Occam2Scanner::Chars Occam2Scanner::owned(std::string_view text) {
  std::size_t start = own_.size();
  own_ += text;
  return owned_since(start);
}

// A string that goes on over lines replaces the current line with the next one: the tokens queued
// from it before the string get their own copy of what they keep of it first.
void Occam2Scanner::keep_queued_line_characters() {
  for (Token& token : queue_) {
    if (token.lexeme.in == Chars::In::line) token.lexeme = owned(view(token.lexeme));
    if (token.text.in == Chars::In::line) token.text = owned(view(token.text));
  }
}

void Occam2Scanner::deliver(const Token& token) {
  code_ = token.code;
  lexeme_ = view(token.lexeme);
  text_ = view(token.text);
  position_ = token.position;
  token_file_ = token.file;
  line_number_ = token.code == EOL ? token.position.line + 1 : token.position.line;
  use_file_for_messages(token.file);
  diagnostics_.trace_token(code_, lexeme_);
}

void Occam2Scanner::error(SourcePosition where, int file, std::string_view message, std::string_view near) {
  use_file_for_messages(file);
  diagnostics_.scanner_error(where, message, near);
  ++error_count_;
}

void Occam2Scanner::warn(SourcePosition where, int file, std::string_view message) {
  use_file_for_messages(file);
  diagnostics_.warning(where, message);
}

void Occam2Scanner::name_file_for_messages(int file) {
  diagnostics_.set_source_name(file_names_[static_cast<std::size_t>(file)]);
  message_file_ = file;
}

int Occam2Scanner::file_id(const std::string& name) {
  auto [it, added] = file_ids_.try_emplace(name, static_cast<int>(file_names_.size()));
  if (added) file_names_.push_back(name);
  return it->second;
}

}  // namespace vrk
