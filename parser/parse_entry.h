// What the translation keeps beside every state on the parse stack.
//
// Every entry records the last fragment at the moment it was pushed, so an action can insert text
// where one of its symbols began. An action may also mark the entry of its own construct with what
// that construct needs later: a kind, and the fragment the kind keeps. The entry is trivially
// copyable, so the engine's push is a plain copy of a few words; what a replicator hands to its
// construct lives in the translation's state (ReplicatorState::kept), by the entry's stack index.
#pragma once

#include <cstdint>
#include <type_traits>

#include "output/fragments.h"
#include "scanner/diagnostics.h"

namespace vrk {

enum class MarkKind : std::uint8_t {
  none,
  // A PAR body opens here (the body of a plain PAR, or the first index marker of a replicated
  // PAR, which the expansion needs: `kept`, null for a plain PAR). Blocks inside it may need braces.
  par_body,
  // An IF's chain of choices: "if (" before the first condition, "\nelse if (" before every later
  // one. `kept` is the IF's "if (", null for a replicated IF, whose chain lives on its replicator's
  // entry; a plain IF's chain lives on its opener's.
  if_chain,
  // The process of an IF choice begins here; an IF inside it starts a chain of its own.
  choice_process,
  // A replicated SEQ's "for (": its replicator bounds the loop by base and count.
  replicated_seq,
  // The start marker of a replicated PAR (`kept`).
  replicated_par_start,
  // A completed replicator of a replicated SEQ, PAR or ALT; its values are kept by stack index.
  replicator,
};

struct ParseEntry {
  FragmentList::node* tail = nullptr;  // the last fragment when the entry was pushed
  SourcePosition position;             // where the symbol begins: its token, or its first symbol's
  MarkKind mark = MarkKind::none;
  bool has_condition = false;          // if_chain: a condition of the chain has begun
  FragmentList::node* kept = nullptr;  // the fragment the mark keeps (see MarkKind)

  bool is(MarkKind kind) const { return mark == kind; }
  void set_mark(MarkKind kind, FragmentList::node* fragment = nullptr) {
    mark = kind;
    kept = fragment;
    has_condition = false;
  }
};

static_assert(std::is_trivially_copyable_v<ParseEntry>, "the engine copies entries at every push");

}  // namespace vrk
