// The occam 2 grammar's actions, grouped by construct in the actions_*.cpp files beside this
// header; the grammar names each beside its production and the generated header dispatches them
// by rule number. Every action makes its left-hand side's node from its right-hand side's
// entries: it reads c.rhs(k) and writes c.result().
#pragma once

#include <initializer_list>

#include "occam2/parser/context.h"
#include "occam2/parser/generated_actions.h"

namespace vrk::occam2::actions {

// Helpers the action files share.
NodeId make(TreeContext& c, Kind kind, NodeId a = kNone, NodeId b = kNone, std::uint8_t detail = 0);
NodeId make_slots(TreeContext& c, Kind kind, std::initializer_list<NodeId> children, std::uint8_t detail = 0);
// The list an entry holds, as a node.
NodeId list_of(TreeContext& c, const Entry& list);
// A list node of `first` followed by the elements of the list `rest` holds.
NodeId list_with_first(TreeContext& c, NodeId first, const Entry& rest);
// Makes the left-hand side an unsupported construct, declaring the names in `declared` (name or
// name_def nodes, or lists of them).
void unsupported(TreeContext& c, Construct construct, std::initializer_list<NodeId> declared = {});
// A name node turned into the definition of that name.
NodeId defining(TreeContext& c, NodeId name, Direction direction = Direction::none);

void pass(TreeContext& c);

}  // namespace vrk::occam2::actions
