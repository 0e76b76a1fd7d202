#include "driver/translation.h"

#include <string>

#include "parser/engine.h"
#include "parser/actions.h"
#include "parser/generated_tables.h"

namespace vrk {

[[gnu::always_inline]] inline bool Translation::reduce(int rule, StackView<ParseEntry>& view) {
  ActionContext context{*this, view};
  // The left-hand side begins where its first symbol does; an empty one at the current token.
  view.result().position = view.rhs_length() > 0 ? view.rhs(1).position : scanner.token_position();
  actions::run_action(rule, context);
  return !action_stopped();
}

// Runs at every push: kept inline in the parse loop, the early write out of it.
[[gnu::always_inline]] inline void Translation::pushed(StackView<ParseEntry>& view) {
  ActionContext context{*this, view};
  actions::entry_pushed(context);
  if (fragments.size() >= next_early_write_) [[unlikely]] write_settled_fragments(view);
}

// Hands the settled front of the Fragment list to the output, when the output can take it back.
void Translation::write_settled_fragments(StackView<ParseEntry>& view) {
  if (writes_early()) {
    actions::collect_held_fragments(*this, view, held_);
    fragments.write_front(output, held_);
  }
  next_early_write_ = fragments.size() + early_write_interval;
}

void Translation::syntax_error(std::string_view message) {
  diagnostics.parse_error(message, scanner.last_token(), scanner.line_number());
}

// A translation that is not written leaves the output with the header templates only: what was
// written early goes again.
ExitStatus Translation::finish_unwritten(ExitStatus status) {
  if (writes_early()) output.truncate_to_mark();
  return status;
}

ExitStatus Translation::run() {
  Engine<Translation, Translation> engine(tables::kTables, *this, *this);
  next_early_write_ = early_write_interval;
  int result = engine.yyparse();
  if (stopped()) return finish_unwritten(stop_status());
  if (result != 0) return finish_unwritten(ExitStatus::translation_failed);  // abandoned
  fragments.append(string(kMainClosing));
  fragments.write(output);
  // The recovered translation is written, but a program with syntax errors is not a success.
  return engine.yynerrs > 0 ? ExitStatus::translation_failed : ExitStatus::success;
}

}  // namespace vrk
