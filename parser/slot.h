// The bookkeeping slot kept beside every state on the parse stack.
#pragma once

#include <cstdint>

#include "driver/fragments.h"

namespace vrk {

// What the action that pushed an entry marked it as.
enum class SlotKind : std::uint8_t {
  none,
  par_body,         // a PAR body opened here (plain or replicated)
  if_chain,         // an IF opened its chain of choices here
  choice_process,   // a choice's process begins here
  replicated_seq,   // a replicated SEQ's replicator follows
};

struct Slot {
  SlotKind kind = SlotKind::none;
  bool flag = false;                   // meaning depends on the kind (see the actions)
  FragmentList::node* node = nullptr;  // a fragment the construct keeps (its opener, a marker)
  FragmentList::node* tail = nullptr;  // the last fragment when the entry was pushed (set by the engine)
};

}  // namespace vrk
