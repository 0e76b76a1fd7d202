#include "tests/occam2/scanner/token_stream.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <sstream>

#include "occam2/scanner/scanner.h"
#include "output/streams.h"

namespace vrk::testing {

std::vector<int> Occam2Scan::codes() const {
  std::vector<int> result;
  for (const Occam2Token& t : tokens) result.push_back(t.code);
  return result;
}

std::vector<std::string> Occam2Scan::lexemes() const {
  std::vector<std::string> result;
  for (const Occam2Token& t : tokens) result.push_back(t.lexeme);
  return result;
}

std::vector<int> Occam2Scan::quiet_error_lines() const {
  std::vector<int> lines;
  std::istringstream in(diagnostics);
  for (std::string line; std::getline(in, line);) {
    if (line.find(": error: ") == std::string::npos) continue;
    std::size_t first = line.find(':');
    lines.push_back(std::stoi(line.substr(first + 1)));
  }
  return lines;
}

namespace {

Occam2Scan run(SourceReader& reader, const Occam2ScanSettings& settings, std::size_t limit) {
  Occam2Scan result;
  OutputBuffer debug_log, standard_error;
  Diagnostics diagnostics{debug_log, standard_error, DiagnosticStyle{settings.quiet, settings.source_path}};
  Occam2ScannerOptions options{settings.source_path, settings.include_dirs};
  options.max_input = settings.max_input;
  Occam2Scanner scanner(reader, diagnostics, std::move(options));
  for (std::size_t calls = 0;; ++calls) {
    if (calls == limit) {
      ADD_FAILURE() << "no end of input after " << limit << " tokens";
      break;
    }
    int code = scanner.yylex();
    result.tokens.push_back({code, std::string(scanner.token_lexeme()),
                             scanner.token_position().line, scanner.token_position().column,
                             diagnostics.source_name(), scanner.token_file()});
    // Messages about a token name the file it came from.
    EXPECT_EQ(scanner.file_name(scanner.token_file()), diagnostics.source_name());
    result.comments += scanner.comments();
    scanner.comments_taken();
    if (code == 0) break;
  }
  result.debug_log = debug_log.contents();
  result.diagnostics = standard_error.contents();
  result.errors = scanner.error_count();
  result.stop_status = scanner.stop_status();
  return result;
}

}  // namespace

Occam2Scan scan_occam2(std::string_view source, const Occam2ScanSettings& settings) {
  SourceReader reader(source, SourceReader::LineLimit::none);
  return run(reader, settings, 4 * source.size() + 1000);
}

Occam2Scan scan_occam2_file(const Occam2ScanSettings& settings) {
  int fd = ::open(settings.source_path.c_str(), O_RDONLY | O_CLOEXEC);
  EXPECT_GE(fd, 0) << settings.source_path;
  SourceReader reader(fd, SourceReader::LineLimit::none);
  Occam2Scan result = run(reader, settings, 1u << 22);
  if (fd >= 0) ::close(fd);
  return result;
}

}  // namespace vrk::testing
