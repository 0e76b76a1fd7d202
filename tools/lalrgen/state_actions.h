// Parse actions per state, with conflicts resolved and defaults chosen.
//
// Every state gets one action per terminal: shift, reduce, accept or error.
// A reduce-reduce conflict goes to the lower-numbered rule; a shift-reduce
// conflict keeps the shift but is recorded, and the tool refuses to emit
// tables for a grammar that has one. The default reduction of each state is
// chosen here too, because it decides the exception blocks: a single
// reduction is the default; among several, the one covering the most
// lookahead tokens wins, ties going to the token met first in token order.
#pragma once

#include <string>
#include <vector>

#include "tools/lalrgen/automaton.h"
#include "tools/lalrgen/grammar.h"

namespace vrk::lalrgen {

struct Action {
    enum class Kind { error, shift, reduce, accept } kind = Kind::error;
    int value = 0;  // target state or rule number
    bool operator==(const Action&) const = default;
};

struct Conflict {
    enum class Kind { shift_reduce, reduce_reduce } kind = Kind::reduce_reduce;
    int state = 0;
    std::vector<int> tokens;  // token codes, in token order
    std::vector<int> rules;   // the rules reduced on those tokens
    int chosen_rule = 0;      // the winning rule; 0 when the shift wins
};

struct StateActions {
    std::vector<Action> by_terminal;  // indexed by terminal index
    std::vector<int> reduced_rules;   // distinct rules the state reduces by, ascending
    int default_rule = 0;             // 0: no default reduction
    bool has_shift = false;
    bool accepts = false;
    // Whether the state reads the next token before acting.
    bool reads_ahead() const { return has_shift || accepts || reduced_rules.size() > 1; }
};

struct ActionTable {
    std::vector<StateActions> states;
    std::vector<Conflict> conflicts;
    int shift_reduce_count() const;
    int reduce_reduce_count() const;
};

ActionTable resolve_actions(const Grammar& g, const Automaton& automaton);

}  // namespace vrk::lalrgen
