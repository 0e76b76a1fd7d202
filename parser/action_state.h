// State that the translation actions keep between the rules of one declaration or replicator.
#pragma once

#include "output/fragments.h"
#include "output/replicated_par.h"
#include "support/string.h"

namespace vrk {

struct DeclarationState {
  // On from an array type's '[' until the first declared name has rewritten "int " into "ram ".
  bool ram_rewrite = false;
  // On inside CHAN OF: the element type then adds no type word of its own.
  bool channel_declaration = false;
  // The fragment that was last when the array type began: the type word search stops there.
  FragmentList::node* array_type_start = nullptr;
};

// The replicator being read (replicators never nest while one is read).
struct ReplicatorState {
  // The fragment after which the base (then the count) expression's fragments begin; null once
  // the count has been read.
  FragmentList::node* expression_start = nullptr;
  // Whether the replicator belongs to a replicated SEQ, whose loop bound must include a base
  // other than the literal 0; every other loop text bounds the index by the count alone.
  bool in_replicated_seq = false;
  bool bound_by_count_alone = true;
  // What the replicated construct will need, filled in as the replicator is read.
  ReplicatorValues values;
  bool base_literal = false;
};

}  // namespace vrk
