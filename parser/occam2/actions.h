// The occam 2 mode's translation actions, grouped by construct in the actions_*.cpp files beside
// this header; the grammar names each beside its production and the generated header dispatches
// them by rule number. Every action builds its left-hand side's text from its right-hand side's,
// joining texts of the translation's Rope, so that no text is copied as constructs nest.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "parser/occam2/context.h"
#include "parser/occam2/generated_actions.h"

namespace vrk::occam2::actions {

inline constexpr std::string_view kSeqOpen = "{\n";
inline constexpr std::string_view kSeqClose = "}  /* seq */\n";

// "\n\n##### Error: occam CONSTRUCT not included yet in this vrk version ! #####\n\n"
std::string occam_banner(std::string_view construct);

// Makes the left-hand side an error banner for `construct`, reported at the k-th symbol.
void banner(Occam2Context& c, int k, std::string_view construct);
// Reports a banner that an action writes, at the k-th symbol.
void report(Occam2Context& c, int k, std::string_view construct);

// The items of a list, joined in order.
Text joined(Occam2Context& c, const List& list);
// Names joined with ", " between them: a PROC's formals, in its macro and in a call of it.
std::string comma_separated(const std::vector<std::string>& names);
// The items of a list joined with ", " between them.
Text comma_separated(Occam2Context& c, const List& list);
// Moves the comment lines of the rule's first symbol to the front of `text`.
inline void prepend_lead(Occam2Context& c, Text& text) { text = c.join(std::exchange(c.lead, {}), text); }

// The value of a number's Handel-C text, decimal or "0x" hexadecimal; false for anything else.
bool integer_value(std::string_view text, long long& value);

// Rules whose left-hand side is their first symbol as it stands.
void pass(Occam2Context& c);

}  // namespace vrk::occam2::actions
