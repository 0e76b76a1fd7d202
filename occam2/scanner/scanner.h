// The occam 2 mode's scanner: `yylex` hands the occam 2 grammar one token per call.
//
// Line level: physical lines are read from the source and from the files #INCLUDE names (an
// included file's lines stand at the directive's column); blank and comment-only lines are left
// out of the layout, the text of whole-line comments is kept until the parser takes it; a line that
// ends in an operator, a separator or an opening bracket is joined with the next one; the other
// directives (#IF, #DEFINE, #USE, ...) are handled here and never reach the grammar. Each logical
// line gives EOL at its end and, before its first token, one INDENT for a deeper column or one
// OUTDENT per level it leaves. At the end the open levels are closed and 0 follows.
//
// Token level: names, keywords, integer, real, character and string literals (a string may go on
// over lines) and operators by longest match, each delivered as occam wrote it (the parser decodes
// the literals). Every delivered token is traced like the default scanner's.
//
// Tokens are scanned one at a time as the parser asks for them, from a window over the physical
// line that is dropped behind the scanned tokens: memory does not grow with a line's length, only
// with its longest token (a name, a number, a string) and with a directive or comment line, which
// is read whole. The lookahead is the first token of a logical line, held while the layout tokens
// before it are delivered.
#pragma once

#include <climits>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "occam2/scanner/conditions.h"
#include "occam2/scanner/includes.h"
#include "scanner/diagnostics.h"
#include "scanner/line_reader.h"
#include "support/bytes.h"
#include "support/exit_status.h"

namespace vrk {

struct Occam2ScannerOptions {
  Occam2ScannerOptions() = default;
  Occam2ScannerOptions(std::string source, std::vector<std::string> dirs)
      : source_path(std::move(source)), include_dirs(std::move(dirs)) {}

  std::string source_path;                // as given ("-" or "<stdin>" for standard input); includes are looked up beside it
  std::vector<std::string> include_dirs;  // each -I DIR, in order
  // How many bytes the source and every file it includes may hold together; reading beyond
  // stops the scan with status unusable_input.
  std::uint64_t max_input = kDefaultMaxInput;
  // Asked about each file about to be included (opened as `fd`, found at `path`): a message
  // when the run must not read it, which stops the scan with status unusable_input.
  std::function<std::string(int fd, const std::string& path)> refuse_include;

  static constexpr std::uint64_t kDefaultMaxInput = std::uint64_t{256} << 20;
  std::vector<std::string> defines;       // each -D NAME[=VALUE], in order: names #IF and ##NAME see
};

class Occam2Scanner {
 public:
  // How deep #INCLUDEs may nest.
  static constexpr std::size_t kMaxIncludeDepth = 64;
  // Tabs stop at every eighth column.
  static constexpr int kTabWidth = 8;
  // A line is read this many bytes at a time, and the bytes scanned before a token are dropped
  // from the window once there are this many.
  static constexpr std::size_t kWindowPart = std::size_t{1} << 16;

  // Messages name the main source as `diagnostics` does when the scanner is made, and an included
  // file by the path it was found under.
  Occam2Scanner(SourceReader& source, Diagnostics& diagnostics, Occam2ScannerOptions options);
  ~Occam2Scanner();
  Occam2Scanner(const Occam2Scanner&) = delete;
  Occam2Scanner& operator=(const Occam2Scanner&) = delete;

  // The next token's code (0 at the end of the input).
  int yylex();

  // The token's source characters (a continued string: the joined literal, quotes included);
  // empty for INDENT, OUTDENT and the end. Valid until the next call of yylex.
  std::string_view token_lexeme() const { return lexeme_; }
  // The most recent token: code, lexeme and where it stands in the file it came from (an EOL
  // after the last token of its line, INDENT and OUTDENT at the first token of the line they come
  // before, the end of the input at column 1 of the line after the last).
  TokenSpot last_token() const { return {code_, lexeme_, position_}; }
  SourcePosition token_position() const { return position_; }
  // The file the most recent token came from: 0 for the main source, then one number for each
  // file included, in the order they were first met; file_name gives how messages name it.
  int token_file() const { return file_; }
  std::string_view file_name(int file) const { return file_names_.at(static_cast<std::size_t>(file)); }
  // The line being scanned in the current file: the token's line, or the next one after an EOL.
  int line_number() const { return line_number_; }
  // The whole-line comments met since they were last taken: the text after each "--", each ending
  // in a line feed; empty if none. Valid until the next token is asked for.
  std::string_view comments() const { return comments_; }
  // The comments have been taken: the next ones start afresh (in the same storage).
  void comments_taken() { comments_.clear(); }
  // Whether there are comments to take (asked after every token).
  bool has_comments() const { return !comments_.empty(); }

  // True once the source could not be read any further; yylex then returns 0.
  bool stopped() const { return stop_status_ != ExitStatus::success; }
  ExitStatus stop_status() const { return stop_status_; }
  // The errors the scanner itself reported (bad indentation, literals, includes, directives).
  int error_count() const { return error_count_; }

 private:
  // A source file being read: the main source or an included file.
  struct Frame {
    SourceReader* reader = nullptr;
    std::unique_ptr<SourceReader> own_reader;  // an included file's
    occam2::IncludeFile opened;
    int file = 0;                  // its name for messages
    std::string directory;         // where its own includes are looked up first
    occam2::FileIdentity identity;
    int line = 0;                  // lines read so far
    int base_column = 0;           // the column of the #INCLUDE that opened it
    std::size_t conditions_at_entry = 0;
    std::string pushed_back;       // the start of a line read ahead and given back
    bool pushed_back_whole = false;  // it holds the whole line
    bool has_pushed_back = false;
  };
  // The lexemes of the layout tokens and of EOL, with kCopyBlock bytes that the trace may read.
  static constexpr char kNoText[kCopyBlock] = {};
  static constexpr char kLineFeed[kCopyBlock] = "\n";
  // Where a token's lexeme is kept: static characters, a stretch of the line window, or a stretch
  // of own_ (a joined string, a substituted value), looked up when the token is delivered.
  struct Chars {
    enum class In : unsigned char { fixed, line, own };
    In in = In::fixed;
    std::size_t size = 0;
    union {
      const char* fixed = kNoText;  // never null, so that an empty lexeme may be copied like any other
      std::size_t at;          // in the line window or in own_
    };
  };
  struct Token {
    int code = 0;
    int file = 0;
    SourcePosition position;
    Chars lexeme;
  };
  // The layout tokens a logical line needs before its own: an OUTDENT for each open level deeper
  // than its column, then an INDENT when it stands deeper than the level it comes back to.
  struct Layout {
    std::size_t outdents = 0;
    bool indent = false;
  };
  struct Condition {
    bool enclosing_active = true;  // the lines around the #IF are scanned
    bool taken = false;            // a branch has been chosen
    bool in_else = false;
    bool active = true;            // the lines of the current branch are scanned
    SourcePosition where;
    int file = 0;
  };

  // What comes next.
  // Inline, as a store: a token is queued at the start and the end of every line.
  void queue(const Token& token) {
    if (queue_end_ == queue_.size()) [[unlikely]] grow_queue();
    queue_[queue_end_++] = token;
  }
  void grow_queue();
  void queue_scanned();
  void queue_scanned_token();
  void advance();
  void start_logical_or_continued_line();
  void end_physical_line();
  void finish_input();

  // Lines.
  bool next_content_line();
  bool read_physical_line();
  SourceReader::Result read_part(Frame& frame, std::string& into, bool& whole);
  void extend_line();
  void read_whole_line();
  void drop_rest_of_line();
  // Forgets the bytes of the window before `offset` once they are many; `offset` then counts from
  // the new start. Only while no other offset into the window is held.
  void drop_before(std::size_t& offset) {
    if (offset >= kWindowPart) [[unlikely]] drop_window_before(offset);
  }
  void drop_window_before(std::size_t& offset);
  bool leave_file();
  void keep_comment(std::size_t start);
  Layout layout_for(int column) const;
  void lay_out(Layout layout);
  void find_content();
  void count_input(std::size_t bytes);

  // Brackets that stay open at the end of a logical line (a VALOF in brackets, with the
  // declarations before it): the lines up to the closing bracket are laid out from the column
  // of the bracket's first token, a level that takes no INDENT or OUTDENT of its own; the bracket
  // that closes it ends the open line and the levels inside it first.
  struct OpenBracket {
    SourcePosition inner{-1, 0};  // the first token after it, on its own line
    int inner_file = 0;
    int inner_column = kNotCounted;  // the layout column of that token, counted when a level needs it
  };
  static constexpr int kNotCounted = -2;
  struct BracketLevel {
    std::size_t bracket = 0;            // the open bracket it belongs to
    std::size_t column_index = 0;       // its level in columns_
    std::size_t line_start_brackets = 0;  // the brackets open when the line that opened it began
  };
  bool closes_bracket_level();
  // Most tokens are no bracket and come after the first token inside the open brackets.
  void follow_brackets(const Token& token, bool line_open) {
    if (brackets_.empty() && token.code != '(' && token.code != '[') [[likely]] return;
    follow_open_brackets(token, line_open);
  }
  void follow_open_brackets(const Token& token, bool line_open);
  void close_bracket_level(const Token& closing);
  // Most lines leave no bracket open, and most programs have no bracket levels.
  void open_bracket_level() {
    if (brackets_.size() > line_start_brackets_) [[unlikely]] open_inner_bracket_level();
  }
  void open_inner_bracket_level();
  std::size_t drop_bracket_levels_from(std::size_t column_index) {
    return bracket_levels_.empty() ? 0 : drop_some_bracket_levels_from(column_index);
  }
  std::size_t drop_some_bracket_levels_from(std::size_t column_index);
  int layout_column(std::size_t offset);
  int inner_column(OpenBracket& bracket);
  void count_inner_columns_of_line();

  // Tokens.
  bool next_token_in_line();
  bool at_line_end(std::size_t p) {
    const char c = at(p);
    return c == '\n' || (c == '-' && at(p + 1) == '-');
  }
  bool scan_token(std::size_t& p, bool joining_strings);
  std::size_t scan_word(std::size_t p);
  std::size_t scan_number(std::size_t p);
  std::size_t scan_hex_number(std::size_t p);
  std::size_t scan_character(std::size_t p, bool& made);
  std::size_t scan_string(std::size_t p, bool joining_strings);
  bool continue_string(std::size_t& resume);
  std::size_t scan_operator(std::size_t p);
  std::size_t scan_substitution(std::size_t p);
  void make_token(int code, Chars lexeme, SourcePosition where, int file) { token_ = {code, file, where, lexeme}; }
  void deliver(const Token& token);
  // Whether kCopyBlock bytes past the lexeme's end may be read: most lexemes lie in the line
  // window, whose storage has room for them (see pad_window); EOL's and the layout tokens' are
  // padded.
  static bool padded(const Chars& chars) {
    if (chars.in == Chars::In::line) [[likely]] return true;
    return chars.in == Chars::In::fixed && (chars.fixed == kNoText || chars.fixed == kLineFeed);
  }
  // Keeps kCopyBlock bytes of storage past the window's end, whenever it grows or is replaced.
  void pad_window() {
    if (line_.capacity() < line_.size() + kCopyBlock) [[unlikely]] line_.reserve(line_.size() + kCopyBlock);
  }
  void trace_unpadded(int code, std::string_view lexeme);

  // Columns and line numbers stop growing at kMaxCount, far beyond any real program, so that they
  // never overflow on a hostile one.
  static constexpr long long kMaxCount = INT_MAX / 2;
  static int capped(long long n) { return static_cast<int>(n < kMaxCount ? n : kMaxCount); }
  static int next_count(int n) { return capped(static_cast<long long>(n) + 1); }

  // Token characters.
  static Chars fixed(std::string_view text) {
    Chars chars;
    chars.size = text.size();
    chars.fixed = text.data();
    return chars;
  }
  static Chars line_feed() { return fixed({kLineFeed, 1}); }
  static Chars stretch(Chars::In in, std::size_t at, std::size_t size) {
    Chars chars;
    chars.in = in;
    chars.size = size;
    chars.at = at;
    return chars;
  }
  static Chars in_line(std::size_t at, std::size_t size) { return stretch(Chars::In::line, at, size); }
  Chars owned(std::string_view text);
  Chars owned_since(std::size_t start) const { return stretch(Chars::In::own, start, own_.size() - start); }
  std::string_view view(const Chars& chars) const {
    if (chars.in == Chars::In::fixed) return {chars.fixed, chars.size};
    return {(chars.in == Chars::In::line ? line_.data() : own_.data()) + chars.at, chars.size};
  }
  std::string_view lexeme_of(const Token& token) const { return view(token.lexeme); }
  // The byte at `i` of the line window, reading more of the line when `i` lies beyond what was
  // read; the line feed at and after the line's end.
  char at(std::size_t i) {
    if (i < line_.size()) [[likely]] return line_[i];
    return beyond_window(i);
  }
  char beyond_window(std::size_t i);
  std::size_t skip_blanks(std::size_t p);
  SourcePosition here(std::size_t offset) const {
    return {line_no_, capped(static_cast<long long>(dropped_ + offset) + 1)};
  }

  // Directives.
  std::string_view directive_word(std::size_t start);
  void handle_directive(std::size_t start, std::string_view word);
  std::size_t collect_directive_operands(std::size_t start);
  bool next_directive_operand(std::size_t& p);
  void handle_condition(std::string_view word, std::size_t rest, SourcePosition where);
  bool condition_value(std::size_t rest, SourcePosition where);
  bool has_open_condition() const;
  bool active() const { return conditions_.empty() || conditions_.back().active; }
  void close_conditions_of_file();
  void include(SourcePosition where, std::size_t operands);
  void enter_file(occam2::IncludeFile file);
  void include_failed(SourcePosition where, const std::string& message);
  std::string include_loop(const occam2::IncludeFile& file) const;
  void stand_in_for_failed_include();
  void define(SourcePosition where, std::size_t operands);
  void undefine(SourcePosition where, std::size_t operands);
  void skip_directive(std::string_view word, std::size_t rest, SourcePosition where);
  // Whether the line is indented under a #LIBRARY directive (comment lines stay comments).
  bool under_library(std::size_t start) {
    if (library_column_ < 0 || (line_[start] == '-' && at(start + 1) == '-')) return false;
    if (content_column_ > library_column_) return true;
    library_column_ = -1;
    return false;
  }

  // Messages.
  void error(SourcePosition where, int file, std::string_view message, std::string_view near);
  void warn(SourcePosition where, int file, std::string_view message);
  void stop(ExitStatus status);
  // Switches the name the diagnostics give the source only when the file changes.
  void use_file_for_messages(int file) {
    if (file != message_file_) name_file_for_messages(file);
  }
  void name_file_for_messages(int file);
  int file_id(const std::string& name);

  SourceReader& source_;
  Diagnostics& diagnostics_;
  Occam2ScannerOptions options_;

  std::vector<std::unique_ptr<Frame>> frames_;  // the main source, then each open include
  std::vector<std::string> file_names_;         // how messages name each file met
  std::unordered_map<std::string, int> file_ids_;
  int message_file_ = 0;                        // the file the diagnostics name now
  std::uint64_t input_bytes_ = 0;               // read so far from every file

  // The physical line being scanned, as a window: bytes [dropped_, dropped_ + line_.size()) of
  // it, the whole rest of the line once line_whole_ (it then ends in the line feed). Its storage
  // goes on for kCopyBlock bytes past the window's end, which the trace of a lexeme near the end
  // reads in a block copy (what lies there is not used).
  std::string line_;
  std::size_t dropped_ = 0;
  bool line_whole_ = true;
  int line_file_ = 0;
  int line_no_ = 0;
  std::size_t content_start_ = 0;  // its first non-blank byte
  int content_column_ = 0;         // the column that byte stands in, tabs expanded
  std::size_t next_ = 0;           // where its next token is looked for
  bool in_line_ = false;           // its tokens are being delivered
  int last_code_ = 0;              // the code of its last token so far

  Token token_;                    // the token just scanned
  Token token_after_;              // a second token the same characters stand for (##NAME of a negative value)
  bool has_token_after_ = false;
  std::string substituted_number_;  // the digits of that value
  std::string own_;                // the characters of lexemes not found in the line
  // What is due before anything more is scanned: the layout tokens of a line, then its first token;
  // an EOL and OUTDENTs before a closing bracket; each token of the line in turn. It holds a few
  // tokens at a time (layout tokens for each open level at most), whose characters stay where
  // they are until it is empty.
  std::vector<Token> queue_;       // its storage: the tokens due are [queue_next_, queue_end_)
  std::size_t queue_next_ = 0;
  std::size_t queue_end_ = 0;
  // Where the layout column of a byte of the window was last worked out (within its file, before
  // the #INCLUDE's column is added): columns are counted on from there.
  std::size_t column_offset_ = 0;
  int column_at_offset_ = 0;
  std::vector<Token> operands_;    // a directive's first operands
  struct FailedInclude {
    std::string why;               // empty when no include failed on the current line
    SourcePosition where;
  };
  FailedInclude failed_include_;

  std::vector<int> columns_{0};  // the indentation stack
  std::vector<OpenBracket> brackets_;
  std::vector<BracketLevel> bracket_levels_;
  std::size_t line_start_brackets_ = 0;  // brackets open when the current logical line began
  bool line_open_ = false;       // tokens of a logical line were queued, its EOL not yet
  bool continues_ = false;       // the last physical line ended in a token that joins the next
  bool finished_ = false;        // the input ended: once the queue is empty, 0 follows
  SourcePosition eol_position_;
  int eol_file_ = 0;
  SourcePosition end_position_;

  std::vector<Condition> conditions_;
  int library_column_ = -1;  // the column of the #LIBRARY whose indented lines are being skipped
  occam2::PreprocessorSymbols symbols_;
  std::string comments_;
  int error_count_ = 0;
  ExitStatus stop_status_ = ExitStatus::success;

  int code_ = 0;
  std::string_view lexeme_;
  SourcePosition position_;
  int file_ = 0;
  int line_number_ = 1;
};

}  // namespace vrk
