// The vrk command line: GNU-style options and the two file operands.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "driver/files.h"
#include "occam2/scanner/scanner.h"

namespace vrk {

// What one run of vrk was asked to do.
struct Options {
  std::string source;                 // kStandardStream: standard input
  std::string output;                 // kStandardStream: standard output
  std::string log = kDebugLogName;    // the debug log, unless write_log is off
  bool write_log = true;
  std::string templates;              // looked in first for the templates, when not empty
  bool quiet = false;                 // compiler-style messages on standard error, no trace
  bool occam2 = false;                // the occam 2 mode: its grammar, scanner and translation
  std::vector<std::string> include_dirs;  // -I DIR: where the occam 2 mode looks for #INCLUDE files
  std::uint64_t max_input = Occam2ScannerOptions::kDefaultMaxInput;  // --max-input: the occam 2 mode's source and includes
  std::vector<std::string> defines;       // -D NAME[=VALUE]: names the occam 2 mode's #IF and ##NAME see
  bool draw_graph = false;                // --graph: the occam 2 mode also writes the process network
  std::string graph;                      // where, kStandardStream: standard output
};

// The operand that names standard input (as SOURCE) or standard output (as OUTPUT).
inline constexpr const char* kStandardStream = "-";

struct CommandLine {
  enum class Action { translate, help, version, usage_error };
  Action action = Action::translate;
  Options options;
  std::string problem;  // for usage_error: the message, without the hint to --help
};

// Parses the arguments the GNU way: options anywhere before "--", short options bundled, long
// options abbreviated, `-o OUTPUT SOURCE` or `SOURCE OUTPUT`; further operands are ignored.
CommandLine parse_command_line(int argc, char** argv);

}  // namespace vrk
