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
#include "scanner/diagnostics.h"

namespace vrk {

// The Handel-C text of a hexadecimal constant wider than 32 bits, in place of its value.
inline constexpr std::string_view kHexOverflowBanner = "\n\n##### Error: too long value (max = 32 bits) ! #####\n\n";

// True when a token text holds an error banner in place of a translation.
inline bool is_error_banner(std::string_view text) { return text.starts_with("\n\n####"); }

// The token that put an error banner into one of the token text buffers.
struct BannerOrigin {
  SourcePosition position;
  std::string_view construct;  // what has no Handel-C counterpart, as a warning names it
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
  Scanner(SourceReader& source, FragmentList& fragments, Diagnostics& streams)
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
  // The most recent token: its code, lexeme and where it stands (an end of line on its own line,
  // the end of the input and its OUTDENTs at column 1 of the line after the last).
  TokenSpot last_token() const { return {code_, lexeme_, position_of_token_}; }
  SourcePosition token_position() const { return position_of_token_; }
  // Where the error banner now in the current token text (NOW, a too long hexadecimal value) or
  // in the operator text (AND, OR) came from; meaningful only while the text is that banner.
  const BannerOrigin& current_text_banner() const { return current_text_banner_; }
  const BannerOrigin& operator_text_banner() const { return operator_text_banner_; }

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
  void locate_token(int code);
  void trace(int code);
  char at(std::size_t offset) const;

  SourceReader& source_;
  FragmentList& fragments_;
  Diagnostics& streams_;

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
  int code_ = 0;
  SourcePosition position_of_token_;
  BannerOrigin current_text_banner_;
  BannerOrigin operator_text_banner_;
  TokenText current_text_;
  TokenText operator_text_;
};

}  // namespace vrk
