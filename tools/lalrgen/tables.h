// Packed parse tables in the classic yacc layout, and their decoding.
//
// pack_tables turns the resolved actions into the arrays the parse engine
// reads (parser/table_lookup.h describes the encoding); decode_shift,
// decode_goto and decode_default are the engine's own lookups from that
// header, with range checks for tables still under test, so the self-check
// and the tests see the tables the way the engine does. self_check_tables decodes every state against every
// token code and nonterminal and throws TableError on the first mismatch.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "parser/table_lookup.h"
#include "tools/lalrgen/state_actions.h"
#include "tools/lalrgen/automaton.h"
#include "tools/lalrgen/grammar.h"

namespace vrk::lalrgen {

class TableError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct Tables {
    int yylast = 0;
    int nstates = 0;
    int nrules = 0;       // highest rule number + 1
    int nnonterms = 0;    // nonterminals are 1..nnonterms
    int max_token = 0;    // lookups are checked for codes 0..max_token
    std::vector<int> yyact, yypact, yypgo, yyr1, yyr2, yychk, yydef, yyexca;
    int exception_blocks = 0;
    // The direct action lookup, made from the packed tables above (table_lookup.h).
    int nclasses = 0;
    std::vector<std::uint8_t> yyclass;
    std::vector<std::int16_t> yyaction, yyimmediate;
    // The tables as the parse engine reads them (valid while this object lives unchanged).
    ParseTables view() const {
        return {yyact, yypact, yypgo, yyr1, yyr2, yychk, yydef, yyexca, yyclass, yyaction, yyimmediate};
    }
};

// Result of the engine's default-action step for one lookahead token:
// -1 accept, 0 error, n > 0 reduce by rule n.
inline constexpr int kAccept = kAcceptAction;

Tables pack_tables(const Grammar& g, const Automaton& automaton, const ActionTable& actions);
void self_check_tables(const Grammar& g, const Automaton& automaton, const ActionTable& actions, const Tables& t);

// Engine lookups. decode_shift returns the target state or -1; decode_goto
// returns -1 only for a base outside yyact.
int decode_shift(const Tables& t, int state, int token);
int decode_goto(const Tables& t, int state, int nonterminal);
// The default action of a state for a token it does not shift.
int decode_default(const Tables& t, int state, int token);
// Whether the engine fetches a lookahead in this state before acting.
bool decode_reads_ahead(const Tables& t, int state);

}  // namespace vrk::lalrgen
