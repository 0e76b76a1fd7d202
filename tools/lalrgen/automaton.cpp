// LR(0) states and LALR(1) lookaheads.
//
// Closures are computed on demand from kernels. For lookaheads each kernel
// item is closed once with the marker terminal '#' (index terminal_count):
// a real terminal reaching an item of a successor kernel is generated
// spontaneously there, the marker means the kernel item's own lookaheads
// propagate there. Propagation then runs to a fixed point, and a last LR(1)
// closure of every state with its final kernel lookaheads yields the
// lookaheads of all completed items, including the empty productions of the
// embedded actions, which never appear in kernels.
#include "tools/lalrgen/automaton.h"

#include <algorithm>
#include <deque>
#include <set>

namespace vrk::lalrgen {

bool TerminalSet::merge(const TerminalSet& other) {
    bool grew = false;
    for (std::size_t i = 0; i < words_.size(); ++i) {
        std::uint64_t next = words_[i] | other.words_[i];
        grew = grew || next != words_[i];
        words_[i] = next;
    }
    return grew;
}

bool TerminalSet::empty() const {
    return std::all_of(words_.begin(), words_.end(), [](std::uint64_t w) { return w == 0; });
}

std::vector<int> TerminalSet::members() const {
    std::vector<int> out;
    for (std::size_t i = 0; i < words_.size() * 64; ++i)
        if (contains(static_cast<int>(i))) out.push_back(static_cast<int>(i));
    return out;
}

namespace {

int marker(const Grammar& g) { return g.terminal_count(); }
int set_size(const Grammar& g) { return g.terminal_count() + 1; }

std::vector<std::vector<int>> productions_by_lhs(const Grammar& g) {
    std::vector<std::vector<int>> by_lhs(g.nonterminal_count());
    for (int i = 0; i < static_cast<int>(g.productions.size()); ++i) by_lhs[g.productions[i].lhs].push_back(i);
    return by_lhs;
}

// Symbol after the dot, or -1 when the item is complete.
int next_symbol(const Grammar& g, const Item& item) {
    const std::vector<int>& rhs = g.productions[item.production].rhs;
    return item.dot < static_cast<int>(rhs.size()) ? rhs[item.dot] : -1;
}

std::vector<Item> lr0_closure(const Grammar& g, const std::vector<std::vector<int>>& by_lhs,
                              const std::vector<Item>& kernel) {
    std::vector<Item> items = kernel;
    std::vector<bool> added(g.nonterminal_count(), false);
    for (std::size_t i = 0; i < items.size(); ++i) {
        int symbol = next_symbol(g, items[i]);
        if (symbol < 0 || g.is_terminal(symbol) || added[g.nonterminal_of(symbol)]) continue;
        added[g.nonterminal_of(symbol)] = true;
        for (int p : by_lhs[g.nonterminal_of(symbol)]) items.push_back({p, 0});
    }
    return items;
}

// FIRST of rhs[from..] followed by `tail`.
TerminalSet first_of_sequence(const Grammar& g, const FirstSets& first, const std::vector<int>& rhs,
                              std::size_t from, const TerminalSet& tail) {
    TerminalSet out(set_size(g));
    for (std::size_t i = from; i < rhs.size(); ++i) {
        if (g.is_terminal(rhs[i])) {
            out.insert(rhs[i]);
            return out;
        }
        int n = g.nonterminal_of(rhs[i]);
        out.merge(first.first[n]);
        if (!first.nullable[n]) return out;
    }
    out.merge(tail);
    return out;
}

struct LookaheadItem {
    Item item;
    TerminalSet lookahead;
};

std::vector<LookaheadItem> lr1_closure(const Grammar& g, const FirstSets& first,
                                       const std::vector<std::vector<int>>& by_lhs,
                                       std::vector<LookaheadItem> items) {
    std::map<Item, std::size_t> index;
    for (std::size_t i = 0; i < items.size(); ++i) index.emplace(items[i].item, i);
    std::deque<std::size_t> work;
    for (std::size_t i = 0; i < items.size(); ++i) work.push_back(i);
    while (!work.empty()) {
        std::size_t i = work.front();
        work.pop_front();
        int symbol = next_symbol(g, items[i].item);
        if (symbol < 0 || g.is_terminal(symbol)) continue;
        const Production& p = g.productions[items[i].item.production];
        TerminalSet spread = first_of_sequence(g, first, p.rhs, items[i].item.dot + 1, items[i].lookahead);
        for (int q : by_lhs[g.nonterminal_of(symbol)]) {
            Item added{q, 0};
            auto found = index.find(added);
            if (found == index.end()) {
                index.emplace(added, items.size());
                items.push_back({added, spread});
                work.push_back(items.size() - 1);
            } else if (items[found->second].lookahead.merge(spread)) {
                work.push_back(found->second);
            }
        }
    }
    return items;
}

int kernel_position(const State& state, const Item& item) {
    auto it = std::lower_bound(state.kernel.begin(), state.kernel.end(), item);
    return static_cast<int>(it - state.kernel.begin());
}

struct Link {
    int from_state, from_item, to_state, to_item;
};

// Closes every kernel item with the marker and records what it generates.
std::vector<Link> find_lookahead_sources(const Grammar& g, const FirstSets& first,
                                         const std::vector<std::vector<int>>& by_lhs, Automaton& automaton) {
    std::vector<Link> links;
    for (int s = 0; s < static_cast<int>(automaton.states.size()); ++s) {
        for (int k = 0; k < static_cast<int>(automaton.states[s].kernel.size()); ++k) {
            TerminalSet probe(set_size(g));
            probe.insert(marker(g));
            std::vector<LookaheadItem> closure = lr1_closure(g, first, by_lhs, {{automaton.states[s].kernel[k], probe}});
            for (LookaheadItem& entry : closure) {
                int symbol = next_symbol(g, entry.item);
                auto target = automaton.states[s].transitions.find(symbol);
                if (symbol < 0 || target == automaton.states[s].transitions.end()) continue;
                State& to = automaton.states[target->second];
                int to_item = kernel_position(to, {entry.item.production, entry.item.dot + 1});
                if (entry.lookahead.contains(marker(g))) {
                    links.push_back({s, k, target->second, to_item});
                    entry.lookahead.erase(marker(g));
                }
                to.kernel_lookahead[to_item].merge(entry.lookahead);
            }
        }
    }
    return links;
}

void propagate_lookaheads(const std::vector<Link>& links, Automaton& automaton) {
    for (bool changed = true; changed;) {
        changed = false;
        for (const Link& link : links) {
            const TerminalSet& from = automaton.states[link.from_state].kernel_lookahead[link.from_item];
            TerminalSet& to = automaton.states[link.to_state].kernel_lookahead[link.to_item];
            if (to.merge(from)) changed = true;
        }
    }
}

void collect_reductions(const Grammar& g, const FirstSets& first, const std::vector<std::vector<int>>& by_lhs,
                        State& state) {
    std::vector<LookaheadItem> kernel;
    for (std::size_t k = 0; k < state.kernel.size(); ++k) kernel.push_back({state.kernel[k], state.kernel_lookahead[k]});
    for (const LookaheadItem& entry : lr1_closure(g, first, by_lhs, kernel)) {
        const Production& p = g.productions[entry.item.production];
        if (p.number == 0 && entry.item.dot == 1) state.accepts = true;
        if (next_symbol(g, entry.item) < 0) state.reductions.emplace_back(entry.item.production, entry.lookahead);
    }
    std::sort(state.reductions.begin(), state.reductions.end(),
              [&](const auto& a, const auto& b) { return a.first < b.first; });
}

}  // namespace

FirstSets compute_first_sets(const Grammar& g) {
    FirstSets sets{std::vector<bool>(g.nonterminal_count(), false),
                   std::vector<TerminalSet>(g.nonterminal_count(), TerminalSet(set_size(g)))};
    for (bool changed = true; changed;) {
        changed = false;
        for (const Production& p : g.productions) {
            TerminalSet none(set_size(g));
            if (sets.first[p.lhs].merge(first_of_sequence(g, sets, p.rhs, 0, none))) changed = true;
            bool all_nullable = std::all_of(p.rhs.begin(), p.rhs.end(), [&](int s) {
                return !g.is_terminal(s) && sets.nullable[g.nonterminal_of(s)];
            });
            if (all_nullable && !sets.nullable[p.lhs]) sets.nullable[p.lhs] = changed = true;
        }
    }
    return sets;
}

Automaton build_lr0_states(const Grammar& g) {
    std::vector<std::vector<int>> by_lhs = productions_by_lhs(g);
    Automaton automaton;
    std::map<std::vector<Item>, int> known;
    auto add_state = [&](std::vector<Item> kernel, int accessing) {
        auto [it, fresh] = known.emplace(kernel, static_cast<int>(automaton.states.size()));
        if (fresh) {
            State state;
            state.kernel = std::move(kernel);
            state.kernel_lookahead.assign(state.kernel.size(), TerminalSet(set_size(g)));
            state.accessing_symbol = accessing;
            automaton.states.push_back(std::move(state));
        }
        return it->second;
    };
    add_state({{0, 0}}, -1);
    for (std::size_t s = 0; s < automaton.states.size(); ++s) {
        std::map<int, std::vector<Item>> successors;  // by symbol, in symbol order
        for (const Item& item : lr0_closure(g, by_lhs, automaton.states[s].kernel)) {
            int symbol = next_symbol(g, item);
            if (symbol < 0 || symbol == kEndSymbol) continue;
            successors[symbol].push_back({item.production, item.dot + 1});
        }
        for (auto& [symbol, kernel] : successors) {
            std::sort(kernel.begin(), kernel.end());
            kernel.erase(std::unique(kernel.begin(), kernel.end()), kernel.end());
            int target = add_state(std::move(kernel), symbol);
            automaton.states[s].transitions[symbol] = target;
        }
    }
    return automaton;
}

void compute_lalr_lookaheads(const Grammar& g, const FirstSets& first, Automaton& automaton) {
    std::vector<std::vector<int>> by_lhs = productions_by_lhs(g);
    automaton.states[0].kernel_lookahead[0].insert(kEndSymbol);
    std::vector<Link> links = find_lookahead_sources(g, first, by_lhs, automaton);
    propagate_lookaheads(links, automaton);
    for (State& state : automaton.states) collect_reductions(g, first, by_lhs, state);
}

}  // namespace vrk::lalrgen
