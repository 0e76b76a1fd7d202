#include "driver/translation.h"

#include <string>

#include "parser/engine.h"
#include "parser/actions.h"
#include "parser/generated_tables.h"

namespace vrk {

void Translation::reduce(int rule, StackView<ParseEntry>& view) {
  ActionContext context{*this, view};
  // The left-hand side begins where its first symbol does; an empty one at the current token.
  view.result().position = view.rhs_length() > 0 ? view.rhs(1).position : scanner.token_position();
  actions::run_action(rule, context);
}

void Translation::pushed(StackView<ParseEntry>& view) {
  ActionContext context{*this, view};
  actions::entry_pushed(context);
}

void Translation::syntax_error(std::string_view message) {
  diagnostics.parse_error(message, scanner.last_token(), scanner.line_number());
}

ExitStatus Translation::run() {
  Engine<Translation, Translation> engine(tables::kTables, *this, *this);
  int result = engine.yyparse();
  if (stopped()) return stop_status();
  if (result != 0) return ExitStatus::translation_failed;  // abandoned: the list is not written
  fragments.append(string(kMainClosing));
  fragments.write(output);
  // The recovered translation is written, but a program with syntax errors is not a success.
  return engine.yynerrs > 0 ? ExitStatus::translation_failed : ExitStatus::success;
}

}  // namespace vrk
