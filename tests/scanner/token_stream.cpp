#include "tests/scanner/token_stream.h"

#include <gtest/gtest.h>

#include "driver/fragments.h"
#include "driver/streams.h"
#include "scanner/scanner.h"

namespace vrk::testing {

std::vector<int> ScanResult::codes() const {
  std::vector<int> result;
  for (const ScannedToken& t : tokens) result.push_back(t.code);
  return result;
}

const ScannedToken& ScanResult::at(std::size_t index) const {
  static const ScannedToken kNone{-1, "", "", "", 0, 0, 0};
  EXPECT_LT(index, tokens.size()) << "the scanner delivered only " << tokens.size() << " tokens";
  return index < tokens.size() ? tokens[index] : kNone;
}

ScanResult scan(std::string_view source) {
  ScanResult result;
  SourceReader reader(source);
  FragmentList fragments;
  OutputBuffer debug_log, diagnostics;
  Diagnostics streams{debug_log, diagnostics};
  Scanner scanner(reader, fragments, streams);
  // Every call consumes at least one character or closes one block; allow generous slack.
  const std::size_t limit = 4 * source.size() + 64;
  for (std::size_t calls = 0;; ++calls) {
    if (calls == limit) {
      ADD_FAILURE() << "no end of input after " << limit << " tokens";
      break;
    }
    int code = scanner.yylex();
    result.tokens.push_back({code, std::string(scanner.token_lexeme()), std::string(scanner.current_token_text()),
                             std::string(scanner.operator_text()), scanner.line_number(),
                             scanner.token_position().line, scanner.token_position().column});
    if (code == 0) break;
  }
  for (const FragmentList::node* n = fragments.first(); n != nullptr; n = n->next) {
    result.fragments.emplace_back(n->element.view());
  }
  result.debug_log = debug_log.contents();
  result.diagnostics = diagnostics.contents();
  result.stop_status = scanner.stop_status();
  return result;
}

std::string trace_line(int code, std::string_view lexeme) {
  return "yylex: token " + std::to_string(code) + " <" + std::string(lexeme) + ">\n";
}

}  // namespace vrk::testing
