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
#include <vector>

#include "output/fragments.h"
#include "output/streams.h"
#include "scanner/characters.h"
#include "scanner/diagnostics.h"
#include "scanner/line_reader.h"
#include "support/bytes.h"
#include "support/exit_status.h"

namespace vrk {

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
    holds_banner_ = false;
  }
  // An error banner in place of a token's translation.
  void assign_banner(std::string_view banner) {
    assign(banner);
    holds_banner_ = true;
  }
  bool holds_banner() const { return holds_banner_; }
  TokenText& operator=(std::string_view text) {
    assign(text);
    return *this;
  }
  // The same for a text in the scanner's padded line, copied in whole blocks.
  void assign_from_line(std::string_view text) {
    size_ = text.size() < kCapacity ? text.size() : kCapacity;
    copy_in_blocks(data_, text.data(), size_);
    holds_banner_ = false;
  }
  std::string_view view() const { return {data_, size_}; }

 private:
  char data_[kCapacity + kCopyBlock];
  std::size_t size_ = 0;
  bool holds_banner_ = false;
};

// The source line being scanned, followed by NUL bytes: the recognisers look a few characters
// ahead without checking where the line ends, and find NULs there, which match none of the
// characters they look for.
class PaddedLine {
 public:
  // More than any recogniser looks past a line feed, and what the trace copies at once.
  static constexpr std::size_t kPadding = kCopyBlock;

  void assign(std::string_view line) {
    if (line.size() + kPadding > storage_.size()) storage_.resize(line.size() + kPadding);
    std::memcpy(storage_.data(), line.data(), line.size());
    std::memset(storage_.data() + line.size(), 0, kPadding);
    size_ = line.size();
  }
  std::size_t size() const { return size_; }
  // The character at `i`, which may lie up to kPadding characters past the end.
  char operator[](std::size_t i) const { return storage_[i]; }
  const char* data() const { return storage_.data(); }
  std::string_view view() const { return {storage_.data(), size_}; }

 private:
  std::vector<char> storage_ = std::vector<char>(SourceReader::kOverlongKept + kPadding);
  std::size_t size_ = 0;
};

class Scanner {
 public:
  Scanner(SourceReader& source, FragmentList& fragments, Diagnostics& diagnostics)
      : source_(source), fragments_(fragments), diagnostics_(diagnostics) {}

  // Returns the next token's code (0 at the end of the input), with its texts in the buffers below.
  int yylex();

  // The source characters of the most recent token (empty for INDENT, OUTDENT and 0).
  std::string_view token_lexeme() const { return lexeme_; }
  // Handel-C text of the most recent name, number, FALSE, string, NOW, shift or relational operator.
  std::string_view current_token_text() const { return current_text_.view(); }
  // Handel-C text of the most recent name, NOT, AND/OR, character constant or arithmetic/bit operator.
  std::string_view operator_text() const { return operator_text_.view(); }
  // True when the most recent token is a hexadecimal number wider than 32 bits, whose Handel-C
  // text is then the too-long-value banner instead of a value.
  bool number_overflowed() const { return number_overflowed_; }
  // The source line being scanned; advanced at each line end, blank line and comment line.
  int line_number() const { return line_number_; }
  // The most recent token: its code, lexeme and where it stands (an end of line on its own line,
  // the end of the input and its OUTDENTs at column 1 of the line after the last).
  TokenSpot last_token() const { return {code_, lexeme_, position_of_token_}; }
  SourcePosition token_position() const { return position_of_token_; }
  // Whether the current token text (NOW, a too long hexadecimal value) or the operator text (AND,
  // OR) holds an error banner, and where that banner came from (meaningful only while it does).
  bool current_text_is_banner() const { return current_text_.holds_banner(); }
  bool operator_text_is_banner() const { return operator_text_.holds_banner(); }
  const BannerOrigin& current_text_banner() const { return current_text_banner_; }
  const BannerOrigin& operator_text_banner() const { return operator_text_banner_; }

  // True once the scanner had to give up (an over-long line, an unreadable source); yylex then
  // returns 0 and the translation must stop without writing the Fragment list.
  bool stopped() const { return stop_status_ != ExitStatus::success; }
  ExitStatus stop_status() const { return stop_status_; }

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
  Diagnostics& diagnostics_;

  PaddedLine line_;
  std::size_t position_ = 0;
  std::size_t token_start_ = 0;
  LineState state_ = LineState::read_line;
  int line_level_ = 0;
  int block_level_ = 0;
  int line_number_ = 1;
  ExitStatus stop_status_ = ExitStatus::success;
  Number number_kind_ = Number::decimal;
  bool number_overflowed_ = false;

  std::string_view lexeme_;  // within line_, which stays until the next call
  int code_ = 0;
  SourcePosition position_of_token_;
  BannerOrigin current_text_banner_;
  BannerOrigin operator_text_banner_;
  TokenText current_text_;
  TokenText operator_text_;
};

}  // namespace vrk
