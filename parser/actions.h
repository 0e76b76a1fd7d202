// Translation actions, grouped by construct in the actions_*.cpp files.
//
// The grammar names every action beside its production; the generated header declares them and
// dispatches them by rule number. Every action appends Handel-C text to the tail of the Fragment
// list, in the order in which the parse reaches it, reading the scanner's token texts and the
// translation's switches. Openers come from embedded actions right after a construct's keyword or
// the INDENT of its body, closers from the rule that completes the construct.
#pragma once

#include <string_view>

#include "parser/action_context.h"
#include "parser/generated_actions.h"
#include "support/string.h"

namespace vrk::actions {

inline void append(ActionContext& c, const string::rep& fixed_text) { c.translation.fragments.append(string(fixed_text)); }
inline void append(ActionContext& c, std::string_view text) {
  c.translation.fragments.append(c.translation.texts.get(text));
}
inline std::string_view current_token_text(ActionContext& c) { return c.translation.scanner.current_token_text(); }
inline std::string_view operator_text(ActionContext& c) { return c.translation.scanner.operator_text(); }

// Runs after every push of a parse stack entry (not a rule's action): records the last fragment
// in the entry, and starts a later condition of an IF chain with "\nelse if (".
void entry_pushed(ActionContext& c);

}  // namespace vrk::actions
