// Runs a whole translation in memory, for the test suites.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vrk::testing {

// Templates used by in-memory runs: short, so that expected outputs stay readable.
inline constexpr std::string_view kTestHeader = "/* header */\n";
inline constexpr std::string_view kTestBoard = "/* board */\n";
inline constexpr std::string_view kTestMain = "void main(void)\n{\n";

// The text that precedes a translated program in the output file with the test templates.
std::string expected_prologue();
// The output file of an accepted program whose translation is `body`.
std::string expected_output(std::string_view body);

struct TranslationRun {
  int status = 0;
  std::string output;       // the Handel-C file
  std::string debug_log;    // vrk.deb without the banner
  std::string diagnostics;  // standard error
  std::vector<std::string> fragments;  // the Fragment list at the end, written or not
  std::string graph;                   // the process network, when the run drew it
  // The fragments after the main template (the program's own translation), up to the end.
  std::vector<std::string> program_fragments() const;
  // The program's translation as one text, without the closing of main.
  std::string program_text() const;
};

// With `early_write_interval` above 0 the output can be cut back, so the settled front of the
// Fragment list is written early, each time the list has grown by that many fragments.
TranslationRun translate(std::string_view source, long early_write_interval = 0);

// The same in the occam 2 mode. `source_path` names the source for messages and for #INCLUDE
// files looked up beside it; `include_dirs` are the -I directories, `defines` the -D options. With
// `graph`, the process network is drawn too (as --graph does).
TranslationRun translate_occam2(std::string_view source, std::string source_path = "test.occ",
                                std::vector<std::string> include_dirs = {}, bool quiet = false,
                                std::vector<std::string> defines = {}, bool graph = false);

// The output file of an occam 2 mode translation with the test templates: the templates, the
// standard library's include, `definitions` (all that stands before main), main's opening
// template, `main_statements` (indented a tab, a delay when empty) and main's closing.
std::string occam2_output(std::string_view definitions, std::string_view main_statements);

// An occam 2 mode output split at main's opening: what stands between the include of the standard
// library and main (the definitions), and main's statements without its closing. Both empty when
// the output is not a whole translation.
struct Occam2Output {
  std::string definitions;
  std::string body;
};
Occam2Output split_occam2_output(const std::string& output);

// Whether a translation holds `part` somewhere.
inline bool contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

}  // namespace vrk::testing
