// Which fragments a later action may still reach, for writing the Fragment list's front early.
//
// Actions touch fragments other than the last in a few ways only, and each leaves its trace on
// the parse stack or in the translation's state while it can still happen:
// - a fragment an entry's mark keeps (a replicated PAR's markers, an IF's "if ("), which a closing
//   action removes or rewrites the stretch from;
// - the tail of a plain SEQ's INDENT when the SEQ stands directly in a PAR body: its "{" is
//   inserted there when the SEQ completes;
// - the tails within an IF's chain of choices, where "\nelse if (" is inserted: all of them lie
//   at or after the IF's "if (", which its entry keeps, or after the tail of a replicated IF's
//   replicator, which holds that IF's chain;
// - the start of an array type while its "int " may still become "ram ", and the start of a
//   replicator's base or count while it is being read.
// Stack entries never change below the top, and the tails of the entries run in list order, so
// the first of these fragments bounds what can still change: everything before it is settled.
#include "parser/actions.h"
#include "scanner/tokens.h"

namespace vrk::actions {

namespace {

// The INDENT of `construct: SEQ eols INDENT process_list OUTDENT`, whose tail close_seq uses.
bool is_seq_indent_in_par_body(StackView<ParseEntry>& stack, int index) {
  return index >= 3 && stack.accessing_symbol(index) == token::INDENT &&
         stack.accessing_symbol(index - 2) == token::SEQ && nearest_block_is_par_body(stack, index - 3);
}

// The fragment an entry's mark keeps for a later rewrite, or null.
const FragmentList::node* kept_fragment(const ParseEntry& entry) {
  switch (entry.mark) {
    case MarkKind::if_chain: return entry.kept != nullptr ? entry.kept : entry.tail;
    case MarkKind::replicated_par_start:
    case MarkKind::par_body: return entry.kept;
    default: return nullptr;
  }
}

}  // namespace

void collect_held_fragments(TranslationState& translation, StackView<ParseEntry>& stack,
                            std::vector<const FragmentList::node*>& held) {
  held.clear();
  int top = stack.below() + 1;
  for (int i = 0; i <= top; ++i) {
    const ParseEntry& entry = stack.entry(i);
    if (const FragmentList::node* kept = kept_fragment(entry)) held.push_back(kept);
    if (is_seq_indent_in_par_body(stack, i)) held.push_back(entry.tail);
  }
  if (translation.declarations.ram_rewrite) held.push_back(translation.declarations.array_type_start);
  if (translation.replicator.expression_start != nullptr) held.push_back(translation.replicator.expression_start);
}

}  // namespace vrk::actions
