#include "scanner/diagnostics.h"

#include <array>
#include <charconv>
#include <cstring>

#include "scanner/tokens.h"
#include "support/bytes.h"

namespace vrk {

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

bool is_control_byte(unsigned char c) { return c < 0x20 || c == 0x7f; }

constexpr std::string_view kTracePrefix = "yylex: token ";

constexpr int kTabledCodes = TraceStart::kTabledCodes;
static_assert(sizeof(TraceStart::text) >= kTracePrefix.size() + 3 + 2);

}  // namespace

constexpr std::array<TraceStart, kTabledCodes> kTraceStarts = [] {
  std::array<TraceStart, kTabledCodes> starts{};
  for (int code = 0; code < kTabledCodes; ++code) {
    TraceStart& start = starts[static_cast<std::size_t>(code)];
    std::size_t n = 0;
    for (char c : kTracePrefix) start.text[n++] = c;
    if (code >= 100) start.text[n++] = static_cast<char>('0' + code / 100);
    if (code >= 10) start.text[n++] = static_cast<char>('0' + code / 10 % 10);
    start.text[n++] = static_cast<char>('0' + code % 10);
    start.text[n++] = ' ';
    start.text[n++] = '<';
    start.size = static_cast<unsigned char>(n);
  }
  return starts;
}();

std::string readable_lexeme(const TokenSpot& token) {
  switch (token.code) {
    case token::END_OF_INPUT: return "end of input";
    case token::EOL: return "end of line";
    case token::INDENT: return "indent";
    case token::OUTDENT: return "outdent";
    default: break;
  }
  std::string text;
  append_readable(text, token.lexeme);
  return text;
}

void append_readable(std::string& out, std::string_view text) {
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    if (is_control_byte(byte)) {
      out += "\\x";
      out += kHexDigits[byte >> 4];
      out += kHexDigits[byte & 0xf];
    } else {
      out += c;
    }
  }
}

void Diagnostics::classic(std::string_view line) {
  debug_log_.write(line);
  standard_error_.write(line);
}

// "SOURCE:LINE:COLUMN: severity: message", or without the column when it is 0. The source is named
// as the user gave it; the message may quote the program's text.
void Diagnostics::located(SourcePosition where, std::string_view severity, std::string_view message) {
  located_in(style_.source_name, where, severity, message);
}

void Diagnostics::located_in(std::string_view file, SourcePosition where, std::string_view severity,
                             std::string_view message) {
  std::string line(file);
  line += ':';
  line += std::to_string(where.line);
  if (where.column > 0) {
    line += ':';
    line += std::to_string(where.column);
  }
  line += ": ";
  line += severity;
  line += ": ";
  append_readable(line, message);
  line += '\n';
  standard_error_.write(line);
}

void Diagnostics::parse_error(std::string_view message, const TokenSpot& token, int current_line) {
  std::string line = "ERROR <";
  line += message;
  line += "> near <";
  line += token.lexeme;
  line += "> on line ";
  line += std::to_string(current_line);
  line += "\n";
  if (!style_.quiet) return classic(line);
  debug_log_.write(line);
  located(token.position, "error", std::string(message) + " near '" + readable_lexeme(token) + "'");
}

void Diagnostics::overlong_line(int line, std::size_t max_length) {
  std::string limit = std::to_string(max_length);
  std::string report = "ERROR <line longer than " + limit + " characters> on line " + std::to_string(line) + "\n";
  if (!style_.quiet) return classic(report);
  debug_log_.write(report);
  located({line, static_cast<int>(max_length) + 1}, "error", "line longer than " + limit + " characters");
}

void Diagnostics::read_error(int line) { input_stop(line, "cannot read the source file"); }

void Diagnostics::input_stop(int line, std::string_view reason) {
  std::string report = "ERROR <";
  append_readable(report, reason);
  report += "> on line " + std::to_string(line) + "\n";
  if (!style_.quiet) return classic(report);
  debug_log_.write(report);
  located({line, 0}, "error", reason);
}

void Diagnostics::unsupported(SourcePosition where, std::string_view construct) {
  unsupported_in(style_.source_name, where, construct);
}

void Diagnostics::trace_any_token(int code, std::string_view lexeme, LexemeBytes bytes) {
  // Most lines: a tabled code and a short lexeme, made with copies of known bounds, with room to
  // copy in blocks in both buffers. The line is made once, in the debug log's buffer.
  constexpr std::size_t kShortLexeme = 64;
  constexpr std::size_t kRoom = sizeof(TraceStart::text) + kShortLexeme + 2 + kCopyBlock;
  if (static_cast<unsigned>(code) < kTabledCodes && lexeme.size() <= kShortLexeme) [[likely]] {
    const TraceStart& start = kTraceStarts[static_cast<std::size_t>(code)];
    char* const line = debug_log_.reserve(kRoom);
    std::memcpy(line, start.text, sizeof start.text);
    char* end = line + start.size;
    end = bytes == LexemeBytes::padded ? copy_in_blocks(end, lexeme.data(), lexeme.size())
                                       : copy_bytes(end, lexeme.data(), lexeme.size());
    end[0] = '>';
    end[1] = '\n';
    const auto length = static_cast<std::size_t>(end + 2 - line);
    debug_log_.commit(length);
    if (!style_.quiet) {
      copy_in_blocks(standard_error_.reserve(kRoom), line, length);
      standard_error_.commit(length);
    }
    return;
  }
  constexpr std::size_t kFixed = kTracePrefix.size() + 11 + 2 + 2;  // prefix, code, " <", ">\n"
  static_assert(sizeof(TraceStart::text) <= kFixed);
  if (lexeme.size() > OutputBuffer::kBlock - kFixed) {
    trace(std::string(kTracePrefix) + std::to_string(code) + " <" + std::string(lexeme) + ">\n");
    return;
  }
  char* const line = reserve(kFixed + lexeme.size());
  char* end = line;
  if (code >= 0 && code < kTabledCodes) {
    const TraceStart& start = kTraceStarts[static_cast<std::size_t>(code)];
    std::memcpy(line, start.text, sizeof start.text);
    end += start.size;
  } else {
    std::memcpy(line, kTracePrefix.data(), kTracePrefix.size());
    end = std::to_chars(line + kTracePrefix.size(), line + kTracePrefix.size() + 11, code).ptr;
    *end++ = ' ';
    *end++ = '<';
  }
  std::memcpy(end, lexeme.data(), lexeme.size());
  end += lexeme.size();
  *end++ = '>';
  *end++ = '\n';
  commit(static_cast<std::size_t>(end - line));
}

void Diagnostics::scanner_error(SourcePosition where, std::string_view message, std::string_view near) {
  error_in(style_.source_name, where, message, near);
}

void Diagnostics::warning(SourcePosition where, std::string_view message) { located(where, "warning", message); }

void Diagnostics::error_in(std::string_view file, SourcePosition where, std::string_view message, std::string_view near) {
  std::string line = "ERROR <";
  append_readable(line, message);
  line += "> near <";
  append_readable(line, near);
  line += "> on line ";
  line += std::to_string(where.line);
  line += "\n";
  if (!style_.quiet) return classic(line);
  debug_log_.write(line);
  located_in(file, where, "error", message);
}

void Diagnostics::warning_in(std::string_view file, SourcePosition where, std::string_view message) {
  located_in(file, where, "warning", message);
}

void Diagnostics::unsupported_in(std::string_view file, SourcePosition where, std::string_view construct) {
  if (!style_.quiet) return;
  located_in(file, where, "warning",
             std::string(construct) + " has no Handel-C counterpart; an error banner stands in its place in the output");
}

void Diagnostics::program_message(std::string_view message) {
  standard_error_.write(message);
  standard_error_.write("\n");
}

}  // namespace vrk
