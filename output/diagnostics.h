// The one funnel for what vrk reports about a translation, each kind in its one format.
//
// The token trace, syntax errors and the lines on which the scanner gives up go to the debug log
// and then, identically, to standard error; problems that are not about the source text (a
// template that cannot be read) go to standard error alone.
#pragma once

#include <string>
#include <string_view>

#include "output/streams.h"

namespace vrk {

class Diagnostics {
 public:
  Diagnostics(OutputBuffer& debug_log, OutputBuffer& standard_error)
      : debug_log_(debug_log), standard_error_(standard_error) {}

  // A token trace line, already formatted.
  void trace(std::string_view line) { to_both(line); }
  // "ERROR <message> near <lexeme> on line N"
  void syntax_error(std::string_view message, std::string_view lexeme, int line) {
    to_both(format_syntax_error(message, lexeme, line));
  }
  // "ERROR <message> on line N": the scanner cannot go on.
  void fatal_line(std::string_view message, int line) {
    to_both("ERROR <" + std::string(message) + "> on line " + std::to_string(line) + "\n");
  }
  // A problem outside the source text, as one line on standard error.
  void problem(std::string_view message) {
    standard_error_.write(message);
    standard_error_.write("\n");
  }

  static std::string format_syntax_error(std::string_view message, std::string_view lexeme, int line) {
    std::string text = "ERROR <";
    text += message;
    text += "> near <";
    text += lexeme;
    text += "> on line ";
    text += std::to_string(line);
    text += "\n";
    return text;
  }

 private:
  void to_both(std::string_view line) {
    debug_log_.write(line);
    standard_error_.write(line);
  }

  OutputBuffer& debug_log_;
  OutputBuffer& standard_error_;
};

}  // namespace vrk
