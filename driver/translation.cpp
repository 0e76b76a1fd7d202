#include "driver/translation.h"

#include <string>

#include "parser/engine.h"
#include "parser/actions.h"
#include "parser/generated_tables.h"

namespace vrk {

void Translation::reduce(int rule, StackView<ParseEntry>& view) {
  ActionContext context{*this, view};
  actions::run_action(rule, context);
}

void Translation::pushed(StackView<ParseEntry>& view) {
  ActionContext context{*this, view};
  actions::entry_pushed(context);
}

void Translation::syntax_error(std::string_view message, std::string_view lexeme, int line) {
  std::string text = "ERROR <";
  text += message;
  text += "> near <";
  text += lexeme;
  text += "> on line ";
  text += std::to_string(line);
  text += "\n";
  streams.report(text);
}

int Translation::run() {
  Engine<Translation, Translation> engine(tables::kTables, *this, *this);
  int result = engine.yyparse();
  if (stop_status() != 0) return stop_status();
  if (result == 0) {
    fragments.append(string(kMainClosing));
    fragments.write(output);
    // The recovered translation is written, but a program with syntax errors is not a success.
    if (engine.yynerrs > 0) return 1;
  }
  return result;
}

}  // namespace vrk
