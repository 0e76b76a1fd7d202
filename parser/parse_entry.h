// What the translation keeps beside every state on the parse stack.
//
// Every entry records the last fragment at the moment it was pushed, so an action can insert text
// where one of its symbols began. An action may also mark the entry of its own construct with what
// that construct needs later; the mark is one of the kinds below, each with its own fields.
#pragma once

#include <variant>

#include "output/fragments.h"
#include "output/replicated_par.h"
#include "scanner/diagnostics.h"

namespace vrk {

// A PAR body opens here (the body of a plain PAR, or the first index marker of a replicated
// PAR, whose marker the expansion needs). Blocks inside it may need braces.
struct ParBody {
  FragmentList::node* first_index_marker = nullptr;  // null for a plain PAR
};

// An IF's chain of choices: "if (" before the first condition, "\nelse if (" before every later
// one. A plain IF's chain lives on its opener's entry; a replicated IF's on its replicator's.
struct IfChain {
  FragmentList::node* opener = nullptr;  // the IF's "if (", null for a replicated IF
  bool has_condition = false;            // a condition of the chain has begun
};

// The process of an IF choice begins here; an IF inside it starts a chain of its own.
struct ChoiceProcess {};

// A replicated SEQ's "for (": its replicator bounds the loop by base and count.
struct ReplicatedSeq {};

// The start marker of a replicated PAR.
struct ReplicatedParStart {
  FragmentList::node* marker = nullptr;
};

// A completed replicator of a replicated SEQ, PAR or ALT, with the values its construct needs.
struct Replicator {
  ReplicatorValues values;
};

using ConstructMark =
    std::variant<std::monostate, ParBody, IfChain, ChoiceProcess, ReplicatedSeq, ReplicatedParStart, Replicator>;

struct ParseEntry {
  FragmentList::node* tail = nullptr;  // the last fragment when the entry was pushed
  SourcePosition position;             // where the symbol begins: its token, or its first symbol's
  ConstructMark mark;

  ParseEntry() = default;
  ParseEntry(const ParseEntry&) = delete;
  ParseEntry& operator=(const ParseEntry&) = delete;
  // The engine moves an entry at every push: most carry no mark, so that costs no visit.
  ParseEntry& operator=(ParseEntry&& other) noexcept {
    tail = other.tail;
    position = other.position;
    if (mark.index() != 0 || other.mark.index() != 0) mark = std::move(other.mark);
    return *this;
  }
};

}  // namespace vrk
