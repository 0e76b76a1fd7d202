// Conflict resolution and default reductions.
//
// Conflicts are grouped per state and per set of competing rules, so that a
// conflict met on several lookahead tokens is reported once with all of
// them. Terminal indices follow token order, which makes "first in token
// order" simply "lowest terminal index".
#include "tools/lalrgen/state_actions.h"

#include <algorithm>
#include <map>

namespace vrk::lalrgen {

namespace {

struct Candidates {
    bool shift = false;
    std::vector<int> rules;  // ascending rule numbers
};

void record_conflict(std::map<std::pair<int, std::vector<int>>, Conflict>& groups, Conflict::Kind kind, int state,
                     int token_code, const std::vector<int>& rules, int chosen) {
    auto key = std::make_pair(kind == Conflict::Kind::shift_reduce ? -1 : 1, rules);
    auto [it, fresh] = groups.emplace(key, Conflict{kind, state, {}, rules, chosen});
    it->second.tokens.push_back(token_code);
}

StateActions resolve_state(const Grammar& g, const State& state, int number, std::vector<Conflict>& conflicts) {
    StateActions out;
    out.by_terminal.assign(g.terminal_count(), Action{});
    out.accepts = state.accepts;
    std::vector<Candidates> candidates(g.terminal_count());
    for (const auto& [symbol, target] : state.transitions)
        if (g.is_terminal(symbol)) candidates[symbol].shift = true;
    for (const auto& [production, lookahead] : state.reductions)
        for (int t : lookahead.members())
            if (t < g.terminal_count()) candidates[t].rules.push_back(g.productions[production].number);

    std::map<std::pair<int, std::vector<int>>, Conflict> groups;
    for (int t = 0; t < g.terminal_count(); ++t) {
        Candidates& c = candidates[t];
        std::sort(c.rules.begin(), c.rules.end());
        int code = g.terminals[t].code;
        if (c.shift) {
            out.by_terminal[t] = {Action::Kind::shift, state.transitions.at(t)};
            out.has_shift = true;
            if (!c.rules.empty()) record_conflict(groups, Conflict::Kind::shift_reduce, number, code, c.rules, 0);
        } else if (!c.rules.empty()) {
            out.by_terminal[t] = {Action::Kind::reduce, c.rules.front()};
            if (c.rules.size() > 1)
                record_conflict(groups, Conflict::Kind::reduce_reduce, number, code, c.rules, c.rules.front());
        } else if (t == kEndSymbol && state.accepts) {
            out.by_terminal[t] = {Action::Kind::accept, 0};
        }
    }
    for (auto& [key, conflict] : groups) conflicts.push_back(std::move(conflict));
    return out;
}

// The reduction covering the most tokens; ties go to the one whose first
// covered token comes first in token order.
int choose_default_rule(StateActions& actions) {
    std::map<int, std::pair<int, int>> coverage;  // rule -> (count, first terminal)
    for (int t = 0; t < static_cast<int>(actions.by_terminal.size()); ++t) {
        const Action& a = actions.by_terminal[t];
        if (a.kind != Action::Kind::reduce) continue;
        auto [it, fresh] = coverage.emplace(a.value, std::make_pair(0, t));
        ++it->second.first;
    }
    int best = 0;
    std::pair<int, int> best_key{0, 0};
    for (const auto& [rule, key] : coverage) {
        actions.reduced_rules.push_back(rule);
        if (best == 0 || key.first > best_key.first || (key.first == best_key.first && key.second < best_key.second)) {
            best = rule;
            best_key = key;
        }
    }
    return best;
}

}  // namespace

int ActionTable::shift_reduce_count() const {
    return static_cast<int>(std::count_if(conflicts.begin(), conflicts.end(),
                                          [](const Conflict& c) { return c.kind == Conflict::Kind::shift_reduce; }));
}

int ActionTable::reduce_reduce_count() const {
    return static_cast<int>(conflicts.size()) - shift_reduce_count();
}

ActionTable resolve_actions(const Grammar& g, const Automaton& automaton) {
    ActionTable table;
    for (int s = 0; s < static_cast<int>(automaton.states.size()); ++s) {
        StateActions actions = resolve_state(g, automaton.states[s], s, table.conflicts);
        actions.default_rule = choose_default_rule(actions);
        table.states.push_back(std::move(actions));
    }
    return table;
}

}  // namespace vrk::lalrgen
