#include "occam2/scanner/scanner.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "occam2/scanner/literals.h"
#include "occam2/scanner/tokens.h"
#include "support/bytes.h"

namespace vrk {

using namespace occam2::token;

namespace {

// "256 MiB", or the bytes when the limit is no whole number of MiB.
std::string size_text(std::uint64_t bytes) {
  constexpr std::uint64_t kMiB = std::uint64_t{1} << 20;
  if (bytes != 0 && bytes % kMiB == 0) return std::to_string(bytes / kMiB) + " MiB";
  return std::to_string(bytes) + " bytes";
}

constexpr char kEightSpaces[8] = {' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};

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
  line_.reserve(kWindowPart + 2 * kCopyBlock);
  for (const std::string& define : options_.defines) symbols_.define_from_option(define);
}

Occam2Scanner::~Occam2Scanner() = default;

// Makes `token` the most recent one and traces it (inline: every token comes through here).
[[gnu::always_inline]] inline void Occam2Scanner::deliver(const Token& token) {
  code_ = token.code;
  lexeme_ = view(token.lexeme);
  position_ = token.position;
  file_ = token.file;
  line_number_ = token.code == EOL ? next_count(token.position.line) : token.position.line;
  use_file_for_messages(token.file);
  if (padded(token.lexeme)) [[likely]] return diagnostics_.trace_token(code_, lexeme_, Diagnostics::LexemeBytes::padded);
  trace_unpadded(code_, lexeme_);
}

// Delivers what is due: the queued tokens, or the end; otherwise scans on.
int Occam2Scanner::yylex() {
  for (;;) {
    if (stopped()) {
      code_ = END_OF_INPUT;
      lexeme_ = std::string_view();
      return END_OF_INPUT;
    }
    if (queue_next_ < queue_end_) {
      deliver(queue_[queue_next_++]);
      return code_;
    }
    queue_next_ = queue_end_ = 0;
    if (finished_) {
      deliver({END_OF_INPUT, frames_.front()->file, end_position_, {}});
      return code_;
    }
    if (in_line_ && next_token_in_line()) {
      // Most tokens need nothing before them and go out at once, without the queue.
      follow_brackets(token_, line_open_);
      if (queue_end_ == 0 && !has_token_after_ && !stopped()) [[likely]] {
        deliver(token_);
        return code_;
      }
      queue_scanned_token();
      continue;
    }
    advance();
  }
}

void Occam2Scanner::grow_queue() { queue_.resize(std::max<std::size_t>(16, 2 * queue_.size())); }

// Queues what is due next once the current line has no more tokens: the EOL after its last one,
// the first token of the next line (with its layout tokens), or the closing of the open levels.
void Occam2Scanner::advance() {
  if (!in_line_) return start_logical_or_continued_line();
  end_physical_line();
}

// The token just scanned, after what the brackets it closes need; then the second token the same
// characters stood for, if any.
void Occam2Scanner::queue_scanned() {
  follow_brackets(token_, line_open_);
  queue_scanned_token();
}

// The token just scanned, its brackets followed; then the second token, if any.
void Occam2Scanner::queue_scanned_token() {
  queue(token_);
  if (has_token_after_) {
    has_token_after_ = false;
    follow_brackets(token_after_, true);
    queue(token_after_);
  }
}

// The first token of the next line that holds tokens, after the layout tokens a new logical line
// needs (a continuation line needs none, nor one that begins by closing the brackets its lines
// stand in: it goes on with the line that opened them); or the end.
void Occam2Scanner::start_logical_or_continued_line() {
  if (!next_content_line()) return finish_input();
  in_line_ = true;
  if (!failed_include_.why.empty()) return stand_in_for_failed_include();
  const bool new_line = !continues_ && !closes_bracket_level();
  next_ = content_start_;
  if (!next_token_in_line()) {  // nothing but malformed literals, already reported
    in_line_ = false;
    return;
  }
  if (new_line) {
    lay_out(layout_for(content_column_));
    line_start_brackets_ = brackets_.size();
  }
  queue_scanned();
  line_open_ = true;
}

// The line of an #INCLUDE that failed: one MISSING_INCLUDE token at the directive, its lexeme
// saying why, then the line's EOL.
void Occam2Scanner::stand_in_for_failed_include() {
  FailedInclude failed = std::exchange(failed_include_, {});
  own_.clear();
  next_ = line_.size() - 1;  // the directive's line is whole: this is its line feed
  make_token(MISSING_INCLUDE, owned(failed.why), failed.where, line_file_);
  last_code_ = MISSING_INCLUDE;
  lay_out(layout_for(content_column_));
  line_start_brackets_ = brackets_.size();
  queue(token_);
  line_open_ = true;
}

// After the last token of a physical line: its logical line ends with EOL unless that token
// joins the next line; brackets it leaves open lay out the lines up to their closing.
void Occam2Scanner::end_physical_line() {
  in_line_ = false;
  continues_ = joins_next_line(last_code_);
  if (continues_) return;
  line_open_ = false;
  queue({EOL, eol_file_, eol_position_, line_feed()});
  open_bracket_level();
}

// The EOL of a last line that would go on, then an OUTDENT for each open level but those of
// brackets, then the end.
void Occam2Scanner::finish_input() {
  if (stopped()) return;
  close_conditions_of_file();
  finished_ = true;
  if (line_open_) {
    line_open_ = false;
    queue({EOL, eol_file_, eol_position_, line_feed()});
  }
  const int file = frames_.front()->file;
  const std::size_t silent = drop_bracket_levels_from(1);
  for (std::size_t level = 1 + silent; level < columns_.size(); ++level) queue({OUTDENT, file, end_position_, {}});
  columns_.resize(1);
}

// Reads up to the next line that holds tokens, handling the blank, comment, directive and
// skipped lines on the way; false at the end of the input.
bool Occam2Scanner::next_content_line() {
  while (read_physical_line()) {
    find_content();
    std::size_t start = content_start_;
    if (!continues_ && at(start) == '#') {
      read_whole_line();  // a directive's operands and text are read from the whole line
      std::string_view word = directive_word(start);
      if (!word.empty()) {
        handle_directive(start, word);
        if (!failed_include_.why.empty()) return true;
        continue;
      }
    }
    if (!active() || at(start) == '\n' || under_library(start)) continue;
    if (at(start) == '-' && at(start + 1) == '-') {
      keep_comment(start);
      continue;
    }
    return true;
  }
  return false;
}

// Starts the next physical line of the innermost open file, leaving files at their end; false at
// the end of the main source, when it cannot be read, or once the input is over its limit.
bool Occam2Scanner::read_physical_line() {
  drop_rest_of_line();
  for (;;) {
    Frame& frame = *frames_.back();
    line_.clear();
    dropped_ = 0;
    column_offset_ = 0;
    column_at_offset_ = 0;
    if (frame.has_pushed_back) {
      frame.has_pushed_back = false;
      line_.swap(frame.pushed_back);
      pad_window();
      line_whole_ = frame.pushed_back_whole;
      line_no_ = frame.line = next_count(frame.line);
      line_file_ = frame.file;
      return true;
    }
    bool whole = false;
    switch (frame.reader->read_part(line_, kWindowPart, whole)) {
      case SourceReader::Result::line:
        pad_window();
        line_whole_ = whole;
        line_no_ = frame.line = next_count(frame.line);
        line_file_ = frame.file;
        count_input(line_.size());
        return !stopped();
      case SourceReader::Result::end_of_input:
        break;
      case SourceReader::Result::read_error:
      case SourceReader::Result::overlong:
        line_whole_ = true;
        if (frames_.size() == 1) {
          use_file_for_messages(frame.file);
          diagnostics_.read_error(next_count(frame.line));
          stop(ExitStatus::unusable_input);
          return false;
        }
        error({next_count(frame.line), 0}, frame.file, "cannot read the included file any further", "#INCLUDE");
        break;
    }
    line_whole_ = true;
    if (!leave_file()) return false;
  }
}

// Reads the next part of `frame`'s current line into `into`, counting it against the limit.
SourceReader::Result Occam2Scanner::read_part(Frame& frame, std::string& into, bool& whole) {
  std::size_t before = into.size();
  SourceReader::Result result = frame.reader->read_part(into, kWindowPart, whole);
  if (result == SourceReader::Result::line) count_input(into.size() - before);
  return result;
}

// Reads more of the current line into the window (the line of the innermost file: no file is
// entered or left while a line is being read). Once the scan has stopped the line ends at once.
void Occam2Scanner::extend_line() {
  bool whole = true;
  if (stopped() || read_part(*frames_.back(), line_, whole) != SourceReader::Result::line) line_ += '\n';
  pad_window();
  line_whole_ = whole;
}

char Occam2Scanner::beyond_window(std::size_t i) {
  while (i >= line_.size() && !line_whole_) extend_line();
  return i < line_.size() ? line_[i] : '\n';
}

void Occam2Scanner::read_whole_line() {
  while (!line_whole_) extend_line();
}

// What is left of the current line after its last token: a comment, blanks.
void Occam2Scanner::drop_rest_of_line() {
  while (!line_whole_) {
    dropped_ += line_.size();
    line_.clear();
    extend_line();
  }
  dropped_ += line_.size();
  line_.clear();
}

// drop_before once there are bytes to drop.
void Occam2Scanner::drop_window_before(std::size_t& offset) {
  count_inner_columns_of_line();
  layout_column(offset);  // the count of columns goes on from the new start of the window
  column_offset_ = 0;
  line_.erase(0, offset);
  dropped_ += offset;
  offset = 0;
}

void Occam2Scanner::count_input(std::size_t bytes) {
  input_bytes_ += bytes;
  if (input_bytes_ <= options_.max_input || stopped()) return;
  use_file_for_messages(line_file_);
  diagnostics_.input_stop(line_no_, "the source with its included files is larger than " + size_text(options_.max_input) +
                                        " (raise the limit with --max-input)");
  stop(ExitStatus::unusable_input);
}

// Ends the innermost file; false when it was the main source.
bool Occam2Scanner::leave_file() {
  Frame& frame = *frames_.back();
  if (frames_.size() == 1) {
    end_position_ = {next_count(frame.line), 1};
    return false;
  }
  close_conditions_of_file();
  frames_.pop_back();
  return true;
}

// A whole-line comment is kept as its text after "--", one line feed after each.
void Occam2Scanner::keep_comment(std::size_t start) {
  read_whole_line();
  std::string_view text(line_);
  comments_ += text.substr(start + 2, line_.size() - 1 - (start + 2));
  comments_ += '\n';
}

// The first non-blank byte of the current line and the layout column it stands in, in one pass
// over the blanks: tabs expanded to the next multiple of eight, carriage returns and form feeds
// taking no room, plus the column of the #INCLUDE of its file.
void Occam2Scanner::find_content() {
  long long column = 0;
  std::size_t i = 0;
  for (;;) {
    const char* const bytes = line_.data();
    const std::size_t size = line_.size();
    while (i < size) {
      const std::size_t spaces = i;  // a run of spaces is counted at once, eight at a time first
      while (i + sizeof(kEightSpaces) <= size && std::memcmp(bytes + i, kEightSpaces, sizeof(kEightSpaces)) == 0) {
        i += sizeof(kEightSpaces);
      }
      while (i < size && bytes[i] == ' ') ++i;
      if (column < kMaxCount) column = std::min(column + static_cast<long long>(i - spaces), kMaxCount);
      if (i == size) break;
      const char c = bytes[i];
      if (c == '\t') {
        column = column < kMaxCount ? (column / kTabWidth + 1) * kTabWidth : column;
      } else if (!occam2::is_blank(c)) {
        content_start_ = i;
        content_column_ = capped(column + frames_.back()->base_column);
        return;
      }
      ++i;
    }
    drop_before(i);
    extend_line();  // a whole line ends in a line feed, which is no blank: this one is not whole
  }
}

Occam2Scanner::Layout Occam2Scanner::layout_for(int column) const {
  Layout layout;
  std::size_t level = columns_.size() - 1;
  for (; column < columns_[level]; --level) ++layout.outdents;  // columns_[0] is 0: no column is less
  layout.indent = column > columns_[level];
  return layout;
}

// The INDENT or OUTDENTs a new logical line needs before its first token, which was just scanned.
// An indent is two columns; a deeper one, or an outdent to a column between two open levels, is
// reported and taken as one level (an outdent to the level below, then one indent).
void Occam2Scanner::lay_out(Layout layout) {
  if (layout.outdents == 0 && !layout.indent) return;  // a line at the level of the one before
  const SourcePosition where = token_.position;
  const int file = token_.file;
  int column = content_column_;
  if (column > columns_.back() && column != columns_.back() + 2) error(where, file, "bad indentation", lexeme_of(token_));
  if (layout.indent && layout.outdents > 0) error(where, file, "bad indentation", lexeme_of(token_));
  // Levels of brackets left open behind this line have no OUTDENT of their own.
  const std::size_t silent = drop_bracket_levels_from(columns_.size() - layout.outdents);
  columns_.resize(columns_.size() - layout.outdents);
  if (layout.indent) columns_.push_back(column);
  for (std::size_t i = silent; i < layout.outdents; ++i) queue({OUTDENT, file, where, {}});
  if (layout.indent) queue({INDENT, file, where, {}});
}

Occam2Scanner::Chars Occam2Scanner::owned(std::string_view text) {
  std::size_t start = own_.size();
  own_ += text;
  return owned_since(start);
}

std::size_t Occam2Scanner::skip_blanks(std::size_t p) {
  while (occam2::is_blank(at(p))) ++p;
  return p;
}

// A short lexeme is traced by the copy of whole blocks, which reads a block from its start: one
// that is not padded is copied into a block of its own first.
void Occam2Scanner::trace_unpadded(int code, std::string_view lexeme) {
  if (lexeme.size() <= kCopyBlock) {
    char block[kCopyBlock] = {};
    std::memcpy(block, lexeme.data(), lexeme.size());
    diagnostics_.trace_token(code, std::string_view(block, lexeme.size()), Diagnostics::LexemeBytes::padded);
    return;
  }
  diagnostics_.trace_token(code, lexeme);
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

void Occam2Scanner::stop(ExitStatus status) {
  if (!stopped()) stop_status_ = status;
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
