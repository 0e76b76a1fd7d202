// The parse engine: a table-driven LALR(1) shift-reduce parser.
//
// `yyparse` pulls tokens from a token source only when a state needs a lookahead, reduces by the
// grammar's rules and hands each reduction to an action sink, which runs the rule's action. A
// syntax error is reported once; the engine then pops back to the nearest state that can shift
// `error` and discards tokens until the parse can go on. The engine knows no grammar: it reads the
// tables it is given (see table_lookup.h for their encoding), so one engine serves every grammar.
//
// The token source provides:
//   int next_token();                      the next token's code (negative reads as 0, the end)
//   bool stopped() const;                  true once reading tokens had to stop
// The action sink provides:
//   using Entry = ...;                     the bookkeeping kept beside every state on the stack
//   bool reduce(int rule, StackView<Entry>& view);  run the action of `rule`, if it has one;
//                                          false when the translation must end at once
//   void pushed(StackView<Entry>& view);   an entry was pushed (its view's top)
//   void syntax_error(std::string_view message);  report on the most recent token
// and may provide:
//   bool keeps_first_symbol(int rule);     true when the rule's left-hand side carries the entry of
//                                          its first symbol, untouched: a rule of one symbol then
//                                          just changes the state of that entry
//
// Both are template parameters, so the calls per token and per reduction cost no indirection.
// Beside each state sits an Entry. Actions use it to tie data to their own construct; error
// recovery pops entries together with states, so nothing a construct recorded outlives it.
#pragma once

#include <cstdint>
#include <string_view>

#include "parser/table_lookup.h"

namespace vrk {

template <class Entry>
class ParseStack {
 public:
  static constexpr int kCapacity = YYMAXDEPTH;

  ParseStack(const ParseTables& tables, int& yyerrflag) : yychk_(tables.yychk.data()), yyerrflag_(yyerrflag) {}

  int size() const { return top_ + 1; }
  int top() const { return top_; }
  int state(int index) const { return states_[index]; }
  Entry& entry(int index) { return entries_[index]; }
  // The grammar symbol by which entry `index` was reached: a token code, or minus a nonterminal.
  int accessing_symbol(int index) const { return yychk_[states_[index]]; }
  // Declares the recovery from a syntax error complete.
  void end_error_recovery() { yyerrflag_ = 0; }

 private:
  template <class, class>
  friend class Engine;
  const int* yychk_;  // the tables' accessing symbols, read for every push
  int& yyerrflag_;
  int top_ = -1;
  int states_[kCapacity] = {};
  Entry entries_[kCapacity];
};

// What an action may see of the stack: its rule's popped right-hand side, the entries below it,
// and the entry that the rule's left-hand side will carry once it is pushed.
template <class Entry>
class StackView {
 public:
  StackView(ParseStack<Entry>& stack, int rhs_base, int rhs_length, Entry& result)
      : stack_(stack), rhs_base_(rhs_base), rhs_length_(rhs_length), result_(result) {}

  // The entry of the k-th right-hand-side symbol, counting from 1.
  Entry& rhs(int k) { return stack_.entry(rhs_base_ + k - 1); }
  Entry& entry(int index) { return stack_.entry(index); }
  // Stack index of the entry just below the right-hand side.
  int below() const { return rhs_base_ - 1; }
  // The number of right-hand-side symbols (0 for an empty rule, and in pushed()).
  int rhs_length() const { return rhs_length_; }
  // The grammar symbol by which entry `index` was reached: a token code, or minus a nonterminal.
  int accessing_symbol(int index) const { return stack_.accessing_symbol(index); }
  // The entry that the left-hand side will carry (for pushed(): the entry just pushed).
  Entry& result() { return result_; }
  // Declares the recovery from a syntax error complete.
  void end_error_recovery() { stack_.end_error_recovery(); }

 private:
  ParseStack<Entry>& stack_;
  int rhs_base_;
  int rhs_length_;
  Entry& result_;
};

template <class TokenSource, class ActionSink>
class Engine {
 public:
  using Entry = typename ActionSink::Entry;

  Engine(const ParseTables& tables, TokenSource& source, ActionSink& sink)
      : tables_(tables), source_(source), sink_(sink), stack_(tables_, yyerrflag) {}

  // Runs one parse: 0 when the input was accepted, 1 when it was abandoned.
  int yyparse();

  int yychar = -1;    // the lookahead token, -1 when none is pending
  int yyerrflag = 0;  // 3 after a syntax error, down by one per shift; 0 when not recovering
  int yynerrs = 0;    // syntax errors reported

 private:
  // Reads the next token; false when the translation had to stop.
  bool fetch_lookahead() {
    yychar = source_.next_token();
    if (yychar < 0) yychar = 0;
    return !source_.stopped();
  }
  void yyerror(std::string_view message) { sink_.syntax_error(message); }
  // Pushes `state` with its entry and tells the sink; false (reported) when the stack is full.
  [[gnu::always_inline]] bool push(int state, const Entry& entry) {
    if (stack_.top_ + 1 >= ParseStack<Entry>::kCapacity) [[unlikely]] {
      yyerror("pcyacc internal stack overflow");
      return false;
    }
    int top = ++stack_.top_;
    stack_.states_[top] = state;
    stack_.entries_[top] = entry;
    StackView<Entry> view(stack_, top, 0, stack_.entries_[top]);
    sink_.pushed(view);
    return true;
  }

  const ParseTables tables_;
  TokenSource& source_;
  ActionSink& sink_;
  ParseStack<Entry> stack_;
};

template <class TokenSource, class ActionSink>
int Engine<TokenSource, ActionSink>::yyparse() {
  using namespace table_lookup;
  const ParseTables t = tables_;  // a local copy the compiler may keep in registers
  const std::int16_t* const actions = t.yyaction.data();
  const int columns = action_columns(t);
  int state = 0;
  yychar = -1;
  yynerrs = 0;
  yyerrflag = 0;
  stack_.top_ = -1;
  if (!push(state, Entry{})) return 1;

act:
  {
    // One look-up decides: shift, reduce, accept or error.
    int action = t.yyimmediate[state];
    if (action == kReadsAhead) {
      if (yychar < 0 && !fetch_lookahead()) return 1;
      const int direct = actions[state * columns + action_column(t, yychar)];
      if (direct > 0) {
        yychar = -1;
        state = direct;
        if (yyerrflag > 0) --yyerrflag;
        if (!push(state, Entry{})) return 1;
        goto act;
      }
      if (direct == kDirectAccept) return 0;
      action = -direct;
    }
    if (action > 0) {
      int length = t.yyr2[action];
      if constexpr (requires(ActionSink& sink) { sink.keeps_first_symbol(action); }) {
        if (length == 1 && sink_.keeps_first_symbol(action)) {
          state = goto_state(t, stack_.states_[stack_.top_ - 1], t.yyr1[action]);
          stack_.states_[stack_.top_] = state;
          goto act;
        }
      }
      stack_.top_ -= length;
      int next = goto_state(t, stack_.states_[stack_.top_], t.yyr1[action]);
      Entry result{};
      StackView<Entry> view(stack_, stack_.top_ + 1, length, result);
      if (!sink_.reduce(action, view)) return 1;
      state = next;
      if (!push(state, result)) return 1;
      goto act;
    }
  }

  // A syntax error.
  switch (yyerrflag) {
    case 0:
      yyerror("syntax error");
      ++yynerrs;
      [[fallthrough]];
    case 1:
    case 2:
      yyerrflag = 3;
      // Pop back to a state that can shift `error`; the lookahead stays pending.
      while (stack_.top_ >= 0) {
        int target = shift_target(t, stack_.states_[stack_.top_], YYERRCODE);
        if (target >= 0) {
          state = target;
          if (!push(state, Entry{})) return 1;
          goto act;
        }
        --stack_.top_;
      }
      return 1;
    default:
      // No token shifted since the error: drop the lookahead and try again in the same state.
      if (yychar == 0) return 1;
      yychar = -1;
      goto act;
  }
}

}  // namespace vrk
