// The scanner: `yylex` hands the parse engine one occam token per call.
//
// Line level (read line, count indentation, scan, end of input): source lines are read one at a
// time; blank lines vanish; whole-line comments go straight into the Fragment list as C comments;
// indentation in steps of two spaces becomes INDENT and OUTDENT tokens, one per call; each line
// ends with an EOL token; at end of input the open blocks are closed with OUTDENTs and then 0.
//
// Token level: keywords, names, numbers, character and string constants and operators are
// recognised, and each token's Handel-C spelling is left in the `current token text` or the
// `operator text` for the translation actions to copy. The scanner appends nothing for ordinary
// tokens. Every token is traced to the debug log and then to standard error.
#pragma once

#include <cstring>
#include <string>
#include <string_view>

#include "driver/fragments.h"
#include "driver/streams.h"

namespace vrk {

// The Handel-C text of a hexadecimal constant wider than 32 bits, in place of its value.
inline constexpr std::string_view kHexOverflowBanner = "\n\n##### Error: too long value (max = 32 bits) ! #####\n\n";

// The two streams that receive the token trace and the syntax error lines. Each line is made once,
// in the debug log's buffer, whose blocks go to the debug log and then, the same bytes, to
// standard error.
class DiagnosticStreams {
 public:
  DiagnosticStreams(OutputBuffer& debug_log, OutputBuffer& diagnostics) : debug_log_(debug_log), diagnostics_(diagnostics) {
    debug_log_.mirror_to(&diagnostics_);
  }
  ~DiagnosticStreams() { debug_log_.mirror_to(nullptr); }
  DiagnosticStreams(const DiagnosticStreams&) = delete;
  DiagnosticStreams& operator=(const DiagnosticStreams&) = delete;

  // Writes one line to the debug log and, identically, to standard error.
  void report(std::string_view line) { debug_log_.write(line); }
  // The same for a line of at most OutputBuffer::kBlock bytes formatted in place: reserve room,
  // fill it, commit what was filled.
  char* reserve(std::size_t length) { return debug_log_.reserve(length); }
  void commit(std::size_t length) { debug_log_.commit(length); }
  // A line for standard error alone, after every line reported before it.
  void report_diagnostic(std::string_view line) {
    flush();
    diagnostics_.write(line);
  }
  // Hands every reported line to both streams' buffers.
  void flush() { debug_log_.flush(); }

 private:
  OutputBuffer& debug_log_;
  OutputBuffer& diagnostics_;
};

// One of the scanner's token text buffers: at most 255 bytes, replaced as a whole.
class TokenText {
 public:
  static constexpr std::size_t kCapacity = 255;
  void assign(std::string_view text) {
    size_ = text.size() < kCapacity ? text.size() : kCapacity;
    std::memcpy(data_, text.data(), size_);
  }
  TokenText& operator=(std::string_view text) {
    assign(text);
    return *this;
  }
  std::string_view view() const { return {data_, size_}; }

 private:
  char data_[kCapacity];
  std::size_t size_ = 0;
};

class Scanner {
 public:
  Scanner(SourceReader& source, FragmentList& fragments, DiagnosticStreams& streams)
      : source_(source), fragments_(fragments), streams_(streams) {}

  // Returns the next token's code (0 at the end of the input), with its texts in the buffers below.
  int yylex();

  // The source characters of the most recent token (empty for INDENT, OUTDENT and 0).
  std::string_view token_lexeme() const { return lexeme_; }
  // Handel-C text of the most recent name, number, FALSE, string, NOW, shift or relational operator.
  std::string_view current_token_text() const { return current_text_.view(); }
  // Handel-C text of the most recent name, NOT, AND/OR, character constant or arithmetic/bit operator.
  std::string_view operator_text() const { return operator_text_.view(); }
  // The source line being scanned; advanced at each line end, blank line and comment line.
  int line_number() const { return line_number_; }

  // Non-zero once the scanner had to give up (an over-long line: 1; an unreadable source: 2).
  // yylex then returns 0 and the translation must stop without writing the Fragment list.
  int stop_status() const { return stop_status_; }

 private:
  enum class LineState { read_line, count_indentation, scan, end_of_input };
  enum class Number { decimal, hexadecimal };

  bool read_next_line();
  bool consume_comment_or_blank_line();
  int scan_token();
  int scan_trailing_comment_or_minus();
  int scan_comma();
  int scan_string();
  int scan_hex_number();
  int scan_character();
  int scan_less_than();
  int scan_greater_than();
  int scan_number();
  int scan_word();
  int end_line();
  void stop_on_overlong_line();
  void complete(int code);
  void trace(int code);
  char at(std::size_t offset) const;

  SourceReader& source_;
  FragmentList& fragments_;
  DiagnosticStreams& streams_;

  std::string line_;
  std::size_t position_ = 0;
  std::size_t token_start_ = 0;
  LineState state_ = LineState::read_line;
  int line_level_ = 0;
  int block_level_ = 0;
  int line_number_ = 1;
  int stop_status_ = 0;
  Number number_kind_ = Number::decimal;

  std::string_view lexeme_;  // within line_, which stays until the next call
  TokenText current_text_;
  TokenText operator_text_;
};

}  // namespace vrk
