// Helpers shared by the end-to-end suites: reading case files and looking at a run's debug log.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tests/common/files.h"

namespace vrk::testing {

// Every file under `root` (recursively) whose extension is `extension`, sorted by path.
std::vector<std::filesystem::path> files_with_extension(const std::filesystem::path& root,
                                                        const std::string& extension);

// The debug log without its token trace: what remains are the syntax error lines. A trace entry
// runs from "yylex: token " to the first ">\n" after its "<", so lexemes holding a line feed
// (an end of line, a trailing comment) are taken out whole.
std::string log_without_trace(const std::string& debug_log);

// A name usable as a test name: letters and digits kept, everything else becomes '_'.
std::string test_name_from(const std::string& text);

}  // namespace vrk::testing
