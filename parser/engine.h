// The parse engine: a table-driven LALR(1) shift-reduce parser over the generated tables.
//
// `yyparse` pulls tokens from the scanner only when a state needs a lookahead, reduces by the
// grammar's productions and runs each rule's translation action, dispatched by rule number. A
// syntax error is reported as one line on the debug log and standard error; the engine then pops
// back to the nearest point where a process may begin, shifts `error` and skips to the next line.
//
// Beside each state on the stack sits a bookkeeping slot. Actions use it to tie data to their own
// construct (the fragment a construct opened with, a replicator's values, ...); error recovery pops
// slots together with states, so nothing a construct recorded outlives it.
#pragma once

#include <string_view>
#include <vector>

#include "driver/rep_par.h"
#include "parser/slot.h"
#include "scanner/diagnostics.h"

namespace vrk {

class Translation;

class ParseStack {
 public:
  static constexpr int kCapacity = 200;

  int size() const { return top_ + 1; }
  int state(int index) const { return states_[index]; }
  Slot& slot(int index) { return slots_[index]; }
  int top() const { return top_; }
  // The grammar symbol by which the entry's state was reached: a token code, or minus a
  // nonterminal's number.
  int accessing_symbol(int index) const;
  // A replicator's values, kept beside the entry of its `replicator` symbol (only that entry's
  // are meaningful: they are written when the replicator is reduced).
  ReplicatorValues& replicator(int index) { return replicators_[index]; }
  // Where the entry's symbol begins in the source: its token, or the first token of its
  // right-hand side.
  SourcePosition position(int index) const { return positions_[index]; }

 private:
  friend class Parser;
  int top_ = -1;
  int states_[kCapacity] = {};
  Slot slots_[kCapacity];
  ReplicatorValues replicators_[kCapacity];
  SourcePosition positions_[kCapacity];
};

// What a translation action may see: the translation, its rule's popped right-hand side, the
// entries below it, and the slot of the state about to be pushed for its left-hand side.
struct ActionContext {
  Translation& translation;
  ParseStack& stack;
  int rhs_base;  // stack index of the first right-hand-side symbol
  Slot& result;
  int& yyerrflag;

  // The slot of the k-th right-hand-side symbol, counting from 1.
  Slot& rhs(int k) { return stack.slot(rhs_base + k - 1); }
  // Stack index of the entry just below the right-hand side.
  int below() const { return rhs_base - 1; }
  // The replicator values of the k-th right-hand-side symbol, and those the rule's left-hand side
  // will carry (it is pushed where the right-hand side began).
  ReplicatorValues& rhs_replicator(int k) { return stack.replicator(rhs_base + k - 1); }
  ReplicatorValues& result_replicator() { return stack.replicator(rhs_base); }
  // Where the k-th right-hand-side symbol begins in the source.
  SourcePosition rhs_position(int k) const { return stack.position(rhs_base + k - 1); }
};

class Parser {
 public:
  explicit Parser(Translation& translation) : translation_(translation) {}

  // Runs one parse: 0 when the input was accepted, 1 when it was abandoned.
  int yyparse();

  int yychar = -1;
  int yyerrflag = 0;
  int yynerrs = 0;

 private:
  bool fetch_lookahead();
  void write_settled_fragments();
  int exception_action(int state) const;
  void yyerror(std::string_view message);

  Translation& translation_;
  ParseStack stack_;
  long next_early_write_ = 0;  // list length at which the settled front is next written out
  std::vector<const FragmentList::node*> held_;
};

// Runs the translation action of `rule`, if it has one.
void run_action(int rule, ActionContext& context);

// The fragments a later action may still reach (keep, insert after, walk from); everything before
// the first of them in the list is settled.
void collect_held_fragments(Translation& translation, ParseStack& stack, std::vector<const FragmentList::node*>& held);

}  // namespace vrk
