// LALR(1) automaton construction for vrk-lalrgen.
//
// The automaton is the LR(0) collection of item sets, numbered in the order
// the states are discovered (state 0 holds $accept -> . start $end), with
// transitions on every symbol except end of input: the state reached on the
// start symbol accepts on end of input instead of shifting it. Lookaheads
// are attached to kernel items by the classic spontaneous-generation and
// propagation method and then spread to the closure items, so every
// completed item carries its LALR(1) lookahead set.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "tools/lalrgen/grammar.h"

namespace vrk::lalrgen {

// Fixed-capacity set of terminal indices (plus one spare bit used as the
// propagation marker while lookaheads are computed).
class TerminalSet {
public:
    explicit TerminalSet(int size = 0) : words_((size + 63) / 64, 0) {}
    bool contains(int i) const { return (words_[i / 64] >> (i % 64)) & 1U; }
    void insert(int i) { words_[i / 64] |= std::uint64_t{1} << (i % 64); }
    void erase(int i) { words_[i / 64] &= ~(std::uint64_t{1} << (i % 64)); }
    // Adds every member of other; returns whether anything was new.
    bool merge(const TerminalSet& other);
    bool empty() const;
    std::vector<int> members() const;

private:
    std::vector<std::uint64_t> words_;
};

struct Item {
    int production = 0;  // index into Grammar::productions
    int dot = 0;
    auto operator<=>(const Item&) const = default;
};

struct State {
    std::vector<Item> kernel;                 // sorted
    std::vector<TerminalSet> kernel_lookahead;  // parallel to kernel
    std::map<int, int> transitions;           // symbol -> target state
    int accessing_symbol = -1;                // -1 for state 0
    // Completed items (production index) with their lookaheads, after LALR.
    std::vector<std::pair<int, TerminalSet>> reductions;
    bool accepts = false;                     // holds $accept -> start . $end
};

struct FirstSets {
    std::vector<bool> nullable;        // per nonterminal
    std::vector<TerminalSet> first;    // per nonterminal
};

struct Automaton {
    std::vector<State> states;
};

FirstSets compute_first_sets(const Grammar& g);
Automaton build_lr0_states(const Grammar& g);
void compute_lalr_lookaheads(const Grammar& g, const FirstSets& first, Automaton& automaton);

}  // namespace vrk::lalrgen
