// Runs the occam 2 scanner alone over an in-memory source or a file and records what it delivers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "occam2/scanner/scanner.h"

namespace vrk::testing {

struct Occam2Token {
  int code = 0;
  std::string lexeme;
  int line = 0, column = 0;  // where the scanner says the token stands
  std::string file;          // the source name messages use while it is the current token
  int file_id = 0;           // the scanner's number of that file (0: the main source)
};

struct Occam2Scan {
  std::vector<Occam2Token> tokens;  // up to and including the first 0
  std::string comments;             // every comment taken after each token
  std::string debug_log;
  std::string diagnostics;          // standard error
  int errors = 0;

  std::vector<int> codes() const;
  std::vector<std::string> lexemes() const;
  // The lines of the errors reported on standard error in the quiet style ("NAME:LINE:..: error").
  std::vector<int> quiet_error_lines() const;
  ExitStatus stop_status = ExitStatus::success;
};

struct Occam2ScanSettings {
  bool quiet = false;
  std::string source_path = "main.occ";   // also the name quiet messages use for it
  std::vector<std::string> include_dirs;
  std::uint64_t max_input = Occam2ScannerOptions::kDefaultMaxInput;
};


inline Occam2ScanSettings quiet_style() {
  Occam2ScanSettings settings;
  settings.quiet = true;
  return settings;
}

Occam2Scan scan_occam2(std::string_view source, const Occam2ScanSettings& settings = {});
// Scans the file at `settings.source_path`.
Occam2Scan scan_occam2_file(const Occam2ScanSettings& settings);

}  // namespace vrk::testing
