// Every message a translation writes about the source: the token trace, syntax errors, the stops
// on an over-long line or an unreadable source, and the constructs that have no Handel-C
// counterpart.
//
// The debug log always receives the classic lines ("yylex: token ...", "ERROR <...> near <...> on
// line N"). Standard error receives the same lines, or, in the quiet style, no trace and one
// compiler-style line per problem, "SOURCE:LINE:COLUMN: error: ..." or "...: warning: ...", which
// names the line and column where the token or construct stands.
#pragma once

#include <array>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

#include "output/streams.h"
#include "support/bytes.h"

namespace vrk {

// A place in the source: 1-based line number and 1-based column, counted in bytes.
struct SourcePosition {
  int line = 1;
  int column = 1;
};

// A token as the scanner delivered it, for a message about it.
struct TokenSpot {
  int code = 0;
  std::string_view lexeme;
  SourcePosition position;
};

struct DiagnosticStyle {
  bool quiet = false;
  std::string source_name;  // how quiet messages name the source
};

// The start of a token's trace line, "yylex: token CODE <", made once for every code below
// kTabledCodes (each byte and every token code of both grammars): a line then starts with one
// copy of a fixed size instead of a conversion of the code.
struct TraceStart {
  static constexpr int kTabledCodes = 1000;
  char text[24];  // the prefix, up to three digits, " <"; a whole number of words
  unsigned char size = 0;
};
extern const std::array<TraceStart, TraceStart::kTabledCodes> kTraceStarts;

class Diagnostics {
 public:
  Diagnostics(OutputBuffer& debug_log, OutputBuffer& standard_error, DiagnosticStyle style = {})
      : debug_log_(debug_log), standard_error_(standard_error), style_(std::move(style)) {}

  // One token trace line: to the debug log, and to standard error unless quiet.
  void trace(std::string_view line) {
    debug_log_.write(line);
    if (!style_.quiet) standard_error_.write(line);
  }
  // The same for a trace line made in place, in the debug log's buffer: reserve room for at most
  // OutputBuffer::kBlock bytes, fill it, commit what was filled; the same bytes then go to
  // standard error unless quiet.
  char* reserve(std::size_t length) {
    reserved_ = debug_log_.reserve(length);
    return reserved_;
  }
  void commit(std::size_t length) {
    debug_log_.commit(length);
    if (!style_.quiet) standard_error_.write(std::string_view(reserved_, length));
  }
  // Whether kCopyBlock bytes past a lexeme's end may be read (a scanner's padded line buffer).
  enum class LexemeBytes { exact, padded };
  // The trace line of one delivered token, "yylex: token CODE <LEXEME>\n", made in place when it
  // fits the debug log's buffer; a lexeme of any length is traced whole.
  void trace_token(int code, std::string_view lexeme, LexemeBytes bytes = LexemeBytes::exact) {
    if (bytes == LexemeBytes::padded && static_cast<unsigned>(code) < TraceStart::kTabledCodes &&
        lexeme.size() <= kCopyBlock) [[likely]] {
      trace_short_token(kTraceStarts[static_cast<std::size_t>(code)], lexeme);
    } else {
      trace_any_token(code, lexeme, bytes);
    }
  }

  // "ERROR <message> near <lexeme> on line N", N being the scanner's current line number
  // (already past the line of an end-of-line token).
  void parse_error(std::string_view message, const TokenSpot& token, int current_line);
  // A source line longer than `max_length` characters, on line `line`.
  void overlong_line(int line, std::size_t max_length);
  // The source could not be read any further, on line `line`.
  void read_error(int line);
  // Reading stops on line `line` for `reason`: "ERROR <reason> on line N", or in the quiet style
  // the log gets that line and standard error "SOURCE:LINE: error: reason".
  void input_stop(int line, std::string_view reason);
  // A construct that has no Handel-C counterpart, whose translation is an error banner: a
  // warning in the quiet style only (otherwise the banner in the output is the only report).
  // `construct` names it ("the occam keyword NOW").
  void unsupported(SourcePosition where, std::string_view construct);

  // An error the scanner finds at `where` (bad indentation, an include loop, ...): the classic
  // "ERROR <message> near <near> on line N" line, or in the quiet style the log gets that line and
  // standard error "SOURCE:LINE:COLUMN: error: message". The message and `near` may quote the
  // source: their control bytes are written as \xNN, as in every located message.
  void scanner_error(SourcePosition where, std::string_view message, std::string_view near);
  // "SOURCE:LINE:COLUMN: warning: message" on standard error, in both styles.
  void warning(SourcePosition where, std::string_view message);

  // The same three for a place in a named file, found once the source has been read (by the
  // passes over a program's tree): the file is named as given, whatever the scanner names now.
  void error_in(std::string_view file, SourcePosition where, std::string_view message, std::string_view near);
  void warning_in(std::string_view file, SourcePosition where, std::string_view message);
  void unsupported_in(std::string_view file, SourcePosition where, std::string_view construct);

  // How located messages name the source from now on (the scanner switches it as it enters and
  // leaves included files).
  void set_source_name(std::string name) { style_.source_name = std::move(name); }
  const std::string& source_name() const { return style_.source_name; }

  // A message of the program's own (a file problem), on standard error only.
  void program_message(std::string_view message);

  bool quiet() const { return style_.quiet; }

 private:
  // A line of at most kShortLine bytes: its start, a lexeme of at most kCopyBlock bytes that may
  // be read in one block, ">\n". Made once, in the debug log's buffer, and copied to standard
  // error in whole blocks.
  static constexpr std::size_t kShortLine = sizeof(TraceStart::text) + kCopyBlock + 2;
  static constexpr std::size_t kShortLineBlocks = (kShortLine + kCopyBlock - 1) / kCopyBlock * kCopyBlock;
  void trace_short_token(const TraceStart& start, std::string_view lexeme) {
    char* const line = debug_log_.reserve(kShortLineBlocks);
    std::memcpy(line, start.text, sizeof start.text);
    char* end = line + start.size;
    std::memcpy(end, lexeme.data(), kCopyBlock);
    end += lexeme.size();
    end[0] = '>';
    end[1] = '\n';
    const auto length = static_cast<std::size_t>(end + 2 - line);
    debug_log_.commit(length);
    if (!style_.quiet) {
      std::memcpy(standard_error_.reserve(kShortLineBlocks), line, kShortLineBlocks);
      standard_error_.commit(length);
    }
  }
  void trace_any_token(int code, std::string_view lexeme, LexemeBytes bytes);
  void classic(std::string_view line);
  void located(SourcePosition where, std::string_view severity, std::string_view message);
  void located_in(std::string_view file, SourcePosition where, std::string_view severity, std::string_view message);

  OutputBuffer& debug_log_;
  OutputBuffer& standard_error_;
  DiagnosticStyle style_;
  char* reserved_ = nullptr;
};

// The lexeme as a message shows it: layout tokens by name, control bytes as \xNN.
std::string readable_lexeme(const TokenSpot& token);
// Appends `text` with its control bytes as \xNN, so that no message can steer a terminal.
void append_readable(std::string& out, std::string_view text);

}  // namespace vrk
