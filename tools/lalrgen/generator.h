// vrk-lalrgen: the table generator as a library.
//
// generate() runs the construction phases in order on a grammar that has
// been read: FIRST sets and nullability, LR(0) states, LALR(1) lookaheads,
// action resolution, table packing and the self-check. The formatting
// functions turn the result into the generated C++ header and the plain-text
// report; run_lalrgen() is the command line around all of it.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "tools/lalrgen/state_actions.h"
#include "tools/lalrgen/automaton.h"
#include "tools/lalrgen/grammar.h"
#include "tools/lalrgen/tables.h"

namespace vrk::lalrgen {

struct Generation {
    Grammar grammar;
    Automaton automaton;
    ActionTable actions;
    Tables tables;
};

Generation generate(Grammar grammar);

// States that reduce a rule, split by whether they read the next token first.
struct ReadAhead {
    std::vector<int> reading_states;
    std::vector<int> silent_states;
    // "yes", "no", "no / yes" (both kinds of state), or "-" (never reduced).
    std::string label() const;
};
ReadAhead read_ahead_of_rule(const Generation& generation, int rule);

std::string format_header(const Generation& generation);
// The token codes, keyword table and nonterminal numbers, for the scanner and the actions.
std::string format_tokens_header(const Generation& generation);
// The declarations of the named actions and the dispatch switch on the rule number.
std::string format_actions_header(const Generation& generation);
std::string format_report(const Generation& generation);

// Command line: GRAMMAR OUTPUT_HEADER [--tokens FILE] [--actions FILE] [--core]
// [--report FILE] [--stats]. --stats prints the report to out. A grammar whose
// reduce-reduce conflicts differ in number from its %expect-rr gets no output. Returns the process exit status
// (0 success, 1 failure, 2 usage); messages go to err.
int run_lalrgen(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace vrk::lalrgen
