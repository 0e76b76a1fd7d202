#include "driver/options.h"

#include <getopt.h>

#include <cstring>
#include <string_view>
#include <vector>

#include "occam2/scanner/conditions.h"

namespace vrk {

namespace {

enum LongOnly { kLogOption = 256, kNoLogOption, kTemplatesOption, kOccam2Option, kMaxInputOption, kGraphOption };

constexpr const char* kShortOptions = ":D:hI:o:qV";
constexpr option kLongOptions[] = {
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, 'V'},
    {"quiet", no_argument, nullptr, 'q'},
    {"output", required_argument, nullptr, 'o'},
    {"log", required_argument, nullptr, kLogOption},
    {"no-log", no_argument, nullptr, kNoLogOption},
    {"templates", required_argument, nullptr, kTemplatesOption},
    {"occam2", no_argument, nullptr, kOccam2Option},
    {"include-dir", required_argument, nullptr, 'I'},
    {"max-input", required_argument, nullptr, kMaxInputOption},
    {"define", required_argument, nullptr, 'D'},
    {"graph", required_argument, nullptr, kGraphOption},
    {nullptr, 0, nullptr, 0},
};

CommandLine usage_error(std::string problem) {
  CommandLine line;
  line.action = CommandLine::Action::usage_error;
  line.problem = std::move(problem);
  return line;
}

// The long option as the user typed it, without an attached "=value".
std::string long_option_name(const char* argument) {
  const char* equals = std::strchr(argument, '=');
  return equals == nullptr ? std::string(argument) : std::string(argument, equals);
}

bool is_long_option(const char* argument) { return std::strncmp(argument, "--", 2) == 0; }

// getopt_long's own messages are off; these are worded the way GNU tools word them.
std::string bad_option_message(int code, const char* argument) {
  if (code == ':') {
    if (is_long_option(argument)) return "option '" + long_option_name(argument) + "' requires an argument";
    return std::string("option requires an argument -- '") + static_cast<char>(optopt) + "'";
  }
  if (optopt == 0) return "unrecognized option '" + long_option_name(argument) + "'";
  if (is_long_option(argument)) return "option '" + long_option_name(argument) + "' doesn't allow an argument";
  return std::string("invalid option -- '") + static_cast<char>(optopt) + "'";
}

// A size: digits, optionally followed by K, M or G (KiB, MiB, GiB); at least one byte and no
// more than 2^62.
bool parse_size(const char* text, std::uint64_t& size) {
  constexpr std::uint64_t kMax = std::uint64_t{1} << 62;
  std::uint64_t value = 0;
  const char* p = text;
  for (; *p >= '0' && *p <= '9'; ++p) {
    value = value * 10 + static_cast<std::uint64_t>(*p - '0');
    if (value > kMax) return false;
  }
  if (p == text) return false;
  int shift = 0;
  if (*p != '\0') {
    const char* units = "KMG";
    const char* unit = std::strchr(units, *p);
    if (unit == nullptr || p[1] != '\0') return false;
    shift = 10 * static_cast<int>(unit - units + 1);
  }
  if (value == 0 || value > (kMax >> shift)) return false;
  size = value << shift;
  return true;
}

}  // namespace

CommandLine parse_command_line(int argc, char** argv) {
  CommandLine line;
  Options& options = line.options;
  bool output_given = false;
  opterr = 0;
  optind = 0;  // a full restart of getopt_long, so a process may parse more than one command line
  for (;;) {
    int before = optind;
    int code = getopt_long(argc, argv, kShortOptions, kLongOptions, nullptr);
    if (code == -1) break;
    switch (code) {
      case 'h':
        line.action = CommandLine::Action::help;
        return line;
      case 'V':
        line.action = CommandLine::Action::version;
        return line;
      case 'q':
        options.quiet = true;
        break;
      case 'o':
        options.output = optarg;
        output_given = true;
        break;
      case kLogOption:
        options.log = optarg;
        options.write_log = true;
        break;
      case kNoLogOption:
        options.write_log = false;
        break;
      case kTemplatesOption:
        options.templates = optarg;
        break;
      case kOccam2Option:
        options.occam2 = true;
        break;
      case 'I':
        options.include_dirs.push_back(optarg);
        break;
      case kMaxInputOption:
        if (!parse_size(optarg, options.max_input)) {
          return usage_error("invalid size '" + std::string(optarg) + "' for --max-input (a number of bytes, or with K, M or G)");
        }
        break;
      case 'D': {
        std::string_view define = optarg;
        std::string_view name = define.substr(0, define.find('='));
        if (!occam2::is_occam_name(name)) {
          return usage_error("option -D needs NAME or NAME=VALUE with an occam name, not '" + std::string(define) + "'");
        }
        options.defines.emplace_back(define);
        break;
      }
      case kGraphOption:
        options.graph = optarg;
        options.draw_graph = true;
        break;
      default:
        // optind has moved past the offending argument, or stays on it inside a bundle (-xq).
        return usage_error(bad_option_message(code, optind == before ? argv[optind] : argv[optind - 1]));
    }
  }
  // Only the occam 2 mode knows a program's processes; the default mode's output stays as it is.
  if (options.draw_graph && !options.occam2) {
    return usage_error("option '--graph' needs --occam2: the default mode draws no process network");
  }
  std::vector<std::string> operands(argv + optind, argv + argc);
  if (operands.empty()) return usage_error("missing source file operand");
  options.source = operands[0];
  if (!output_given) {
    if (operands.size() < 2) return usage_error("missing output file operand after '" + options.source + "'");
    options.output = operands[1];
  }
  return line;
}

}  // namespace vrk
