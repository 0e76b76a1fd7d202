// One translation: the parse engine over the scanner's tokens and the translation actions.
//
// A Translation is the engine's token source (the scanner) and its action sink (the actions of
// the generated dispatch); run() parses the whole source once and writes the output.
#pragma once

#include <string_view>
#include <vector>

#include "parser/action_context.h"
#include "parser/translation_state.h"

namespace vrk {

inline constexpr std::string_view kMainClosing = "\n\n}  /* main */\n";

class Translation final : public TranslationState {
 public:
  explicit Translation(const TranslationFiles& files) : TranslationState(files) {}

  // Parses the whole source once. On acceptance the closing text of `main` is appended and the
  // Fragment list written to the output. Returns success when the program was accepted with no
  // syntax error; translation_failed after syntax errors, an abandoned parse or an over-long line;
  // unusable_input when a template or the source could not be read.
  ExitStatus run();

  // The token source.
  int next_token() { return scanner.yylex(); }

  // The action sink.
  using Entry = ParseEntry;
  bool reduce(int rule, StackView<ParseEntry>& view);
  void pushed(StackView<ParseEntry>& view);
  void syntax_error(std::string_view message);

 private:
  void write_settled_fragments(StackView<ParseEntry>& view);
  ExitStatus finish_unwritten(ExitStatus status);

  long next_early_write_ = 0;  // list length at which the settled front is next written out
  std::vector<const FragmentList::node*> held_;
};

}  // namespace vrk
