// Small readers over a translation run, shared by the engine and table tests.
#pragma once

#include <string>
#include <vector>

#include "tests/common/translate.h"

namespace vrk::testing {

// The syntax error and stack overflow lines of the debug log, in order. A lexeme may hold a line
// feed (an EOL token), so a line ends at the first line feed after "> on line ".
inline std::vector<std::string> error_lines(const TranslationRun& run) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < run.debug_log.size()) {
    std::size_t at = run.debug_log.find("ERROR <", start);
    if (at == std::string::npos) break;
    std::size_t end = run.debug_log.find("> on line ", at);
    end = run.debug_log.find('\n', end == std::string::npos ? at : end);
    lines.push_back(run.debug_log.substr(at, end + 1 - at));
    start = end + 1;
  }
  return lines;
}

inline std::string syntax_error(const std::string& lexeme, int line) {
  return "ERROR <syntax error> near <" + lexeme + "> on line " + std::to_string(line) + "\n";
}

// What the output file holds when the parse was abandoned: the two header templates only.
inline std::string abandoned_output() { return std::string(kTestHeader) + std::string(kTestBoard); }

}  // namespace vrk::testing
