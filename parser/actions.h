// Translation actions, grouped by construct in the actions_*.cpp files.
//
// The grammar names every action beside its production; the generated header declares them and
// dispatches them by rule number. Every action appends Handel-C text to the tail of the Fragment
// list, in the order in which the parse reaches it, reading the scanner's token texts and the
// translation's switches. Openers come from embedded actions right after a construct's keyword or
// the INDENT of its body, closers from the rule that completes the construct.
#pragma once

#include <string_view>
#include <vector>

#include "parser/action_context.h"
#include "parser/generated_actions.h"
#include "scanner/tokens.h"
#include "support/string.h"

namespace vrk::actions {

inline void append(ActionContext& c, const string::rep& fixed_text) { c.translation.fragments.append(string(fixed_text)); }
inline void append(ActionContext& c, std::string_view text) {
  c.translation.fragments.append(c.translation.texts.get(text));
}
inline std::string_view current_token_text(ActionContext& c) { return c.translation.scanner.current_token_text(); }
inline std::string_view operator_text(ActionContext& c) { return c.translation.scanner.operator_text(); }

// Reports a construct without Handel-C counterpart, whose banner the action writes, at the k-th
// symbol of the rule.
inline void report_unsupported(ActionContext& c, int k, std::string_view construct) {
  c.translation.diagnostics.unsupported(c.rhs(k).position, construct);
}
// Reports the construct whose error banner a scanner token text holds in place of a translation.
inline void report_banner_in(ActionContext& c, bool text_is_banner, const BannerOrigin& origin) {
  if (text_is_banner) c.translation.diagnostics.unsupported(origin.position, origin.construct);
}

// The first token of an IF choice's condition may just have been pushed: a later condition of a
// chain gets "\nelse if (" before it.
void begin_condition_if_choice_starts(ActionContext& c);

// Runs after every push of a parse stack entry (not a rule's action): records the last fragment
// in the entry, and for a token where it stands. Only a token pushed where a choice may begin
// (above an IF's opener, the choices so far or an INDENT) can begin a condition; the test stays
// here, out of the way of the rest.
inline void entry_pushed(ActionContext& c) {
  c.result().tail = c.translation.fragments.last();
  int below = c.below();
  int symbol = c.stack.accessing_symbol(below + 1);
  if (symbol >= 0) c.result().position = c.translation.scanner.token_position();  // a token
  if (below < 0 || symbol <= 0) return;
  int below_symbol = c.stack.accessing_symbol(below);
  if (below_symbol == token::INDENT || below_symbol == -symbol::choice_list ||
      c.stack.entry(below).is(MarkKind::if_chain)) {
    begin_condition_if_choice_starts(c);
  }
}

// The stack entry of the IF chain that a choice above entry `index` belongs to, or -1.
int owning_if_chain(ActionContext& c, int index);

// True when the nearest block enclosing stack entry `index` is a PAR body (plain or replicated).
bool nearest_block_is_par_body(StackView<ParseEntry>& stack, int index);

// The fragments a later action may still reach (keep, insert after, walk from), given the parse
// stack up to its top entry; everything before the first of them in the list is settled.
void collect_held_fragments(TranslationState& translation, StackView<ParseEntry>& stack,
                            std::vector<const FragmentList::node*>& held);

}  // namespace vrk::actions
