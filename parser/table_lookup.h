// Reading the packed LALR(1) parse tables.
//
// The tables come in the classic yacc layout, written by vrk-lalrgen from a grammar file. Every
// lookup the parse engine makes is one of the functions below; the generator's self-check and the
// tests use the same functions, so all three read the tables one way.
//
// The encoding (all entries are ints):
//   yyact   the packed array: shift rows and goto columns share it. An entry is a state number.
//   yypact  per state, the base of its shift row in yyact, or YYFLAG (or less) for a state without
//           shifts. Token t shifts to yyact[i], i = yypact[s] + t, only when 0 <= i < size(yyact)
//           and yychk[yyact[i]] == t: the check rejects entries that belong to another row.
//   yypgo   per nonterminal n, the base of its goto column. From state s the goto is yyact[j],
//           j = yypgo[n] + s + 1, when j is in range and yychk[yyact[j]] == -n; otherwise it is the
//           column's default target, yyact[yypgo[n]]. Entry 0 (the accept symbol) is never read.
//   yyr1    per rule, its left-hand nonterminal; yyr2 per rule, the length of its right side.
//   yychk   per state, the symbol by which it is entered: a token code after a shift, minus the
//           nonterminal's number after a goto, YYFLAG for state 0.
//   yydef   per state, the action when no shift applies: 0 error, n > 0 reduce by rule n, -2 look
//           the lookahead up in the state's exception block.
//   yyexca  the exception blocks, one after another: a pair (-1, state), then pairs (token code,
//           action), closed by (-2, default action). An action of -1 accepts, 0 is an error and
//           n > 0 reduces by rule n.
//
// The generator also writes, from the packed arrays above, a direct lookup that the engine reads
// for every token:
//   yyclass      per token code 0..highest, its column in yyaction: each terminal of the grammar
//                has a column of its own; column 0 stands for every code that is no terminal
//                (codes above the highest read as column 0 too).
//   yyaction     per state, a row of the columns: what the state does with a lookahead of that
//                column, shift or otherwise: n > 0 shift to state n, -n reduce by rule n, 0 error,
//                kDirectAccept accept. A row costs no more than a look-up in yyact and yyexca.
//   yyimmediate  per state, kReadsAhead when the state reads a lookahead before acting; otherwise
//                the one thing it does without one (its yydef: 0 error, n reduce by rule n).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace vrk {

inline constexpr int YYFLAG = -1000;     // yypact of a state without shifts
inline constexpr int YYERRCODE = 256;    // token code of `error`
inline constexpr int YYMAXDEPTH = 200;   // entries of the parse stack
inline constexpr int kExceptionLookup = -2;  // yydef of a state with an exception block
inline constexpr int kAcceptAction = -1;     // an exception block's action that accepts
inline constexpr int kReadsAhead = -1;       // yyimmediate of a state that reads a lookahead first
inline constexpr int kDirectAccept = -32768;  // yyaction's accept

// One grammar's tables, as views of arrays that outlive it.
struct ParseTables {
  std::span<const int> yyact, yypact, yypgo, yyr1, yyr2, yychk, yydef, yyexca;
  std::span<const std::uint8_t> yyclass;
  std::span<const std::int16_t> yyaction, yyimmediate;
};

namespace table_lookup {

// A negative index converts to a huge unsigned one, so one comparison checks both ends.
inline bool in_packed_range(const ParseTables& t, int index) {
  return static_cast<std::size_t>(static_cast<unsigned>(index)) < t.yyact.size();
}

inline bool has_shifts(const ParseTables& t, int state) { return t.yypact[state] > YYFLAG; }

// The state that `token` shifts to from `state`, or -1 when it does not shift.
inline int shift_target(const ParseTables& t, int state, int token) {
  if (!has_shifts(t, state)) return -1;
  int i = t.yypact[state] + token;
  if (in_packed_range(t, i) && t.yychk[t.yyact[i]] == token) return t.yyact[i];
  return -1;
}

// The state reached from `state` over nonterminal `nonterminal` after a reduction.
inline int goto_state(const ParseTables& t, int state, int nonterminal) {
  int base = t.yypgo[nonterminal];
  int j = base + state + 1;
  if (in_packed_range(t, j) && t.yychk[t.yyact[j]] == -nonterminal) return t.yyact[j];
  return t.yyact[base];
}

// Where `state`'s exception block begins in yyexca (the pair after its (-1, state) marker), or -1.
inline int exception_block_start(const ParseTables& t, int state) {
  for (std::size_t i = 0; i + 1 < t.yyexca.size(); i += 2) {
    if (t.yyexca[i] == -1 && t.yyexca[i + 1] == state) return static_cast<int>(i + 2);
  }
  return -1;
}

// The action for `token` of the exception block that begins at `start`: the first pair for the
// token, or the closing pair's default.
inline int exception_action_at(const ParseTables& t, int start, int token) {
  if (start < 0) return 0;
  for (std::size_t i = static_cast<std::size_t>(start); i + 1 < t.yyexca.size(); i += 2) {
    if (t.yyexca[i] == token || t.yyexca[i] < 0) return t.yyexca[i + 1];
  }
  return 0;
}

// The action of `state`'s exception block for `token`; 0 (error) when the state has no block.
inline int exception_action(const ParseTables& t, int state, int token) {
  return exception_action_at(t, exception_block_start(t, state), token);
}

// What `state` does with `token` when it does not shift it: accept, error (0) or a rule.
inline int default_action(const ParseTables& t, int state, int token) {
  int action = t.yydef[state];
  return action == kExceptionLookup ? exception_action(t, state, token) : action;
}

// Whether the engine reads a lookahead token in `state` before acting: a state whose only action
// is one reduction reduces without reading.
inline bool reads_ahead(const ParseTables& t, int state) {
  return has_shifts(t, state) || t.yydef[state] == kExceptionLookup;
}

// The direct lookup. A default action (accept, error or a rule) as yyaction holds it.
inline int encode_reduction(int action) { return action == kAcceptAction ? kDirectAccept : -action; }
// The columns of a row of yyaction.
inline int action_columns(const ParseTables& t) { return static_cast<int>(t.yyaction.size() / t.yyimmediate.size()); }
// The column of a token code.
inline int action_column(const ParseTables& t, int token) {
  const auto code = static_cast<std::size_t>(static_cast<unsigned>(token));
  return code < t.yyclass.size() ? t.yyclass[code] : 0;
}
// What `state` does with `token` as lookahead: shift_target if it shifts, else the encoded
// default_action.
inline int direct_action(const ParseTables& t, int state, int token) {
  return t.yyaction[static_cast<std::size_t>(state * action_columns(t) + action_column(t, token))];
}

}  // namespace table_lookup
}  // namespace vrk
