#include "parser/engine.h"

#include <array>

#include "driver/translation.h"
#include "parser/generated_tables.h"

namespace vrk {

using namespace tables;

static_assert(YYMAXDEPTH == ParseStack::kCapacity);

namespace {

bool in_table(int index) { return index >= 0 && index < YYLAST; }

// The state reached from `state` over nonterminal `lhs`.
int goto_state(int lhs, int state) {
  int j = yypgo[lhs] + state + 1;
  if (in_table(j) && yychk[yyact[j]] == -lhs) return yyact[j];
  return yyact[yypgo[lhs]];
}

// Where each state's exception block begins (after its (-1, state) pair), or -1.
constexpr auto kExceptionBlockStart = [] {
  std::array<int, YYNSTATES> start{};
  start.fill(-1);
  for (int i = 0; i + 1 < YYEXCA_SIZE; i += 2) {
    if (yyexca[i] == -1 && start[yyexca[i + 1]] < 0) start[yyexca[i + 1]] = i + 2;
  }
  return start;
}();

}  // namespace

int ParseStack::accessing_symbol(int index) const { return yychk[states_[index]]; }

// Reads the next token; false when the scanner had to stop the translation.
bool Parser::fetch_lookahead() {
  yychar = translation_.scanner.yylex();
  if (yychar < 0) yychar = 0;
  return translation_.scanner.stop_status() == 0;
}

// The action of `state`'s exception block for the current lookahead.
int Parser::exception_action(int state) const {
  int start = kExceptionBlockStart[state];
  if (start < 0) return 0;
  for (int i = start; i + 1 < YYEXCA_SIZE; i += 2) {
    if (yyexca[i] < 0 || yyexca[i] == yychar) return yyexca[i + 1];
  }
  return 0;
}

// Hands the settled front of the Fragment list to the output, when the output can take it back.
void Parser::write_settled_fragments() {
  FragmentList& fragments = translation_.fragments;
  if (translation_.writes_early()) {
    collect_held_fragments(translation_, stack_, held_);
    fragments.write_front(translation_.output, held_);
  }
  next_early_write_ = fragments.size() + translation_.early_write_interval;
}

void Parser::yyerror(std::string_view message) {
  const Scanner& scanner = translation_.scanner;
  translation_.streams.parse_error(message, scanner.last_token(), scanner.line_number());
}

int Parser::yyparse() {
  int state = 0;
  yychar = -1;
  yynerrs = 0;
  yyerrflag = 0;
  stack_.top_ = -1;
  next_early_write_ = translation_.early_write_interval;
  Slot pushed;
  SourcePosition pushed_position;

push:
  if (stack_.top_ + 1 >= YYMAXDEPTH) {
    yyerror("pcyacc internal stack overflow");
    return 1;
  }
  ++stack_.top_;
  stack_.states_[stack_.top_] = state;
  pushed.tail = translation_.fragments.last();
  stack_.slots_[stack_.top_] = pushed;
  stack_.positions_[stack_.top_] = pushed_position;
  pushed = Slot{};
  if (translation_.fragments.size() >= next_early_write_) [[unlikely]] write_settled_fragments();

shift_test:
  if (yypact[state] > YYFLAG) {
    if (yychar < 0 && !fetch_lookahead()) return 1;
    int i = yypact[state] + yychar;
    if (in_table(i) && yychk[yyact[i]] == yychar) {
      pushed_position = translation_.scanner.token_position();
      yychar = -1;
      state = yyact[i];
      if (yyerrflag > 0) --yyerrflag;
      goto push;
    }
  }
  {
    int action = yydef[state];
    if (action == -2) {
      if (yychar < 0 && !fetch_lookahead()) return 1;
      action = exception_action(state);
      if (action < 0) return 0;
    }
    if (action > 0) {
      stack_.top_ -= yyr2[action];
      pushed_position = yyr2[action] > 0 ? stack_.positions_[stack_.top_ + 1] : translation_.scanner.token_position();
      int lhs = yyr1[action];
      int next = goto_state(lhs, stack_.states_[stack_.top_]);
      ActionContext context{translation_, stack_, stack_.top_ + 1, pushed, yyerrflag};
      run_action(action, context);
      if (translation_.stopped()) return 1;
      state = next;
      goto push;
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
      // Pop back to a state that can shift `error`.
      while (stack_.top_ >= 0) {
        int j = yypact[stack_.states_[stack_.top_]] + YYERRCODE;
        if (in_table(j) && yychk[yyact[j]] == YYERRCODE) {
          pushed_position = translation_.scanner.token_position();
          state = yyact[j];
          goto push;
        }
        --stack_.top_;
      }
      return 1;
    default:
      // No token shifted since the error: drop the lookahead and try again in the same state.
      if (yychar == 0) return 1;
      yychar = -1;
      goto shift_test;
  }
}

}  // namespace vrk
