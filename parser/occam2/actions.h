// The occam 2 mode's translation actions, grouped by construct in the actions_*.cpp files beside
// this header; the grammar names each beside its production and the generated header dispatches
// them by rule number. Every action builds its left-hand side's text from its right-hand side's.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "parser/occam2/context.h"
#include "parser/occam2/generated_actions.h"

namespace vrk::occam2::actions {

// "\n\n##### Error: occam CONSTRUCT not included yet in this vrk version ! #####\n\n"
std::string occam_banner(std::string_view construct);

// Makes the left-hand side an error banner for `construct`, reported at the k-th symbol.
void banner(Occam2Context& c, int k, std::string_view construct);
// Reports a banner that an action writes, at the k-th symbol.
void report(Occam2Context& c, int k, std::string_view construct);

// The items of a list entry joined, in order.
std::string joined(Entry& list);
// Moves the comment lines of the rule's first symbol to the front of `text`.
inline void prepend_lead(Occam2Context& c, std::string& text) {
  if (!c.lead.empty()) text.insert(0, std::exchange(c.lead, {}));
}

}  // namespace vrk::occam2::actions
