// Table packing and the decoding self-check.
//
// Shift rows (one per state, indexed by token code) and goto columns (one
// per nonterminal, indexed by state + 1, with the default target at offset
// 0) share the yyact array. Rows are placed largest first at the lowest base
// where all their slots are free and where no lookup can be misread: a
// lookup that should fail must never land on a state whose accessing symbol
// is the symbol looked up. That is checked both ways, for the row being
// placed against what is already in yyact, and for its new entries against
// the rows already placed. Shift rows with identical contents share a base,
// which is the only safe way for two rows to share one.
#include "tools/lalrgen/tables.h"

#include <algorithm>
#include <map>
#include <set>
#include <sstream>
#include <string>

namespace vrk::lalrgen {

namespace {

struct Row {
    bool is_goto = false;
    int id = 0;                                 // state (shift row) or nonterminal (goto column)
    std::vector<std::pair<int, int>> entries;   // offset from the base, target state
};

class Packer {
public:
    Packer(const Tables& tables, int nstates, int max_token)
        : chk_(tables.yychk), nstates_(nstates), max_token_(max_token) {}

    // Places a row and returns its base.
    int place(const Row& row) {
        if (!row.is_goto) {
            auto shared = shared_rows_.find(row.entries);
            if (shared != shared_rows_.end()) return shared->second;
        }
        int base = lowest_base(row);
        while (!fits(row, base)) ++base;
        commit(row, base);
        return base;
    }

    std::vector<int> take_act() {
        std::vector<int> act = act_;
        if (act.empty()) act.push_back(0);
        return act;
    }

private:
    int lowest_base(const Row& row) const {
        int lowest_offset = row.entries.front().first;
        for (const auto& [offset, target] : row.entries) lowest_offset = std::min(lowest_offset, offset);
        return -lowest_offset;
    }

    bool used(int index) const { return index >= 0 && index < static_cast<int>(act_.size()) && used_[index]; }

    // Accessing symbol of the state stored at index, or YYFLAG for a free slot
    // (a free slot reads as state 0, whose accessing symbol matches nothing).
    int chk_at(int index) const { return used(index) ? chk_[act_[index]] : YYFLAG; }

    bool fits(const Row& row, int base) const {
        for (const auto& [offset, target] : row.entries)
            if (used(base + offset) || misreads_existing_row(base + offset, target)) return false;
        return !row.is_goto ? !shift_row_misreads(row, base) : !goto_column_misreads(row, base);
    }

    // A shift row must not find a state of accessing symbol c at base + c for
    // a token c that the state does not shift.
    bool shift_row_misreads(const Row& row, int base) const {
        std::set<int> shifted;
        for (const auto& [code, target] : row.entries) shifted.insert(code);
        for (int code = 0; code <= max_token_; ++code)
            if (!shifted.count(code) && chk_at(base + code) == code) return true;
        return false;
    }

    bool goto_column_misreads(const Row& row, int base) const {
        std::set<int> explicit_states;
        for (const auto& [offset, target] : row.entries)
            if (offset > 0) explicit_states.insert(offset - 1);
        for (int s = 0; s < nstates_; ++s)
            if (!explicit_states.count(s) && chk_at(base + s + 1) == -row.id) return true;
        return false;
    }

    // Would a new entry at index be misread by a row already placed?
    bool misreads_existing_row(int index, int target) const {
        int symbol = chk_[target];
        if (symbol >= 0) {
            auto rows = shift_bases_.find(index - symbol);
            return rows != shift_bases_.end() && !rows->second.count(symbol);
        }
        auto column = goto_bases_.find(-symbol);
        if (column == goto_bases_.end()) return false;
        int s = index - column->second.first - 1;
        return s >= 0 && s < nstates_ && !column->second.second.count(s);
    }

    void commit(const Row& row, int base) {
        std::set<int> symbols;
        for (const auto& [offset, target] : row.entries) {
            int index = base + offset;
            if (index >= static_cast<int>(act_.size())) {
                act_.resize(index + 1, 0);
                used_.resize(index + 1, false);
            }
            act_[index] = target;
            used_[index] = true;
            symbols.insert(row.is_goto ? offset - 1 : offset);
        }
        if (row.is_goto) {
            symbols.erase(-1);
            goto_bases_[row.id] = {base, symbols};
        } else {
            shift_bases_[base] = symbols;
            shared_rows_[row.entries] = base;
        }
    }

    const std::vector<int>& chk_;
    int nstates_;
    int max_token_;
    std::vector<int> act_;
    std::vector<bool> used_;
    std::map<int, std::set<int>> shift_bases_;                     // base -> shifted codes
    std::map<int, std::pair<int, std::set<int>>> goto_bases_;      // nonterminal -> base, explicit states
    std::map<std::vector<std::pair<int, int>>, int> shared_rows_;  // row contents -> base
};

std::vector<int> accessing_symbols(const Grammar& g, const Automaton& automaton) {
    std::vector<int> chk;
    for (const State& state : automaton.states) {
        if (state.accessing_symbol < 0) chk.push_back(YYFLAG);
        else if (g.is_terminal(state.accessing_symbol)) chk.push_back(g.terminals[state.accessing_symbol].code);
        else chk.push_back(-g.nonterminal_of(state.accessing_symbol));
    }
    return chk;
}

void fill_rules(const Grammar& g, Tables& t) {
    t.yyr1.assign(t.nrules, 0);
    t.yyr2.assign(t.nrules, 0);
    for (const Production& p : g.productions) {
        t.yyr1[p.number] = p.lhs;
        t.yyr2[p.number] = static_cast<int>(p.rhs.size());
    }
}

void append_exception_block(const Grammar& g, const StateActions& a, int state, int default_action, Tables& t) {
    t.yyexca.insert(t.yyexca.end(), {-1, state});
    for (std::size_t ti = 0; ti < a.by_terminal.size(); ++ti) {
        const Action& action = a.by_terminal[ti];
        int value = action.kind == Action::Kind::reduce ? action.value : action.kind == Action::Kind::accept ? kAccept : 0;
        if (action.kind == Action::Kind::shift || action.kind == Action::Kind::error || value == default_action) continue;
        t.yyexca.insert(t.yyexca.end(), {g.terminals[ti].code, value});
    }
    t.yyexca.insert(t.yyexca.end(), {-2, default_action});
    ++t.exception_blocks;
}

void fill_defaults(const Grammar& g, const ActionTable& actions, Tables& t) {
    for (int s = 0; s < t.nstates; ++s) {
        const StateActions& a = actions.states[s];
        if (!a.accepts && a.reduced_rules.size() <= 1) {
            t.yydef.push_back(a.default_rule);
            continue;
        }
        t.yydef.push_back(-2);
        append_exception_block(g, a, s, a.default_rule, t);
    }
}

std::vector<Row> shift_rows(const Grammar& g, const Automaton& automaton) {
    std::vector<Row> rows;
    for (int s = 0; s < static_cast<int>(automaton.states.size()); ++s) {
        Row row{false, s, {}};
        for (const auto& [symbol, target] : automaton.states[s].transitions)
            if (g.is_terminal(symbol)) row.entries.emplace_back(g.terminals[symbol].code, target);
        std::sort(row.entries.begin(), row.entries.end());
        if (!row.entries.empty()) rows.push_back(std::move(row));
    }
    return rows;
}

int most_frequent_target(const std::vector<std::pair<int, int>>& gotos) {
    std::map<int, int> count;
    for (const auto& [state, target] : gotos) ++count[target];
    int best = gotos.front().second;
    for (const auto& [target, n] : count)
        if (n > count[best]) best = target;
    return best;
}

std::vector<Row> goto_columns(const Grammar& g, const Automaton& automaton) {
    std::vector<std::vector<std::pair<int, int>>> gotos(g.nonterminal_count());
    for (int s = 0; s < static_cast<int>(automaton.states.size()); ++s)
        for (const auto& [symbol, target] : automaton.states[s].transitions)
            if (!g.is_terminal(symbol)) gotos[g.nonterminal_of(symbol)].emplace_back(s, target);
    std::vector<Row> columns;
    for (int n = 1; n < g.nonterminal_count(); ++n) {
        if (gotos[n].empty()) continue;
        int fallback = most_frequent_target(gotos[n]);
        Row column{true, n, {{0, fallback}}};
        for (const auto& [state, target] : gotos[n])
            if (target != fallback) column.entries.emplace_back(state + 1, target);
        columns.push_back(std::move(column));
    }
    return columns;
}

void pack_rows(const Grammar& g, const Automaton& automaton, Tables& t) {
    std::vector<Row> rows = shift_rows(g, automaton);
    std::vector<Row> columns = goto_columns(g, automaton);
    rows.insert(rows.end(), columns.begin(), columns.end());
    std::stable_sort(rows.begin(), rows.end(),
                     [](const Row& a, const Row& b) { return a.entries.size() > b.entries.size(); });
    t.yypact.assign(t.nstates, YYFLAG);
    t.yypgo.assign(t.nnonterms + 1, 0);
    Packer packer(t, t.nstates, t.max_token);
    for (const Row& row : rows) {
        int base = packer.place(row);
        (row.is_goto ? t.yypgo : t.yypact)[row.id] = base;
    }
    t.yyact = packer.take_act();
    t.yylast = static_cast<int>(t.yyact.size());
}

[[noreturn]] void mismatch(const std::string& what) { throw TableError("table self-check failed: " + what); }

std::string at(int state, const std::string& symbol) {
    return "state " + std::to_string(state) + ", " + symbol;
}

void check_terminal_lookups(const Grammar& g, const ActionTable& actions, const Tables& t, int s) {
    const StateActions& a = actions.states[s];
    for (int code = 0; code <= t.max_token; ++code) {
        int ti = g.terminal_index(code);
        Action intended = ti >= 0 ? a.by_terminal[ti] : Action{};
        int shifted = decode_shift(t, s, code);
        int expected_shift = intended.kind == Action::Kind::shift ? intended.value : -1;
        if (shifted != expected_shift)
            mismatch(at(s, "token " + std::to_string(code)) + ": shift decodes to " + std::to_string(shifted) +
                     ", expected " + std::to_string(expected_shift));
        if (intended.kind == Action::Kind::shift) continue;
        int decoded = decode_default(t, s, code);
        bool ok = intended.kind == Action::Kind::reduce   ? decoded == intended.value
                  : intended.kind == Action::Kind::accept ? decoded == kAccept
                                                          : decoded == 0 || decoded == a.default_rule;
        if (!ok)
            mismatch(at(s, "token " + std::to_string(code)) + ": default action decodes to " + std::to_string(decoded));
    }
    if (decode_reads_ahead(t, s) != a.reads_ahead()) mismatch(at(s, "read-ahead differs"));
}

// Gotos that exist must decode exactly; the others are never consulted by
// the engine, but must still land on a real state.
void check_goto_lookups(const Grammar& g, const Automaton& automaton, const Tables& t, int s) {
    for (int n = 1; n <= t.nnonterms; ++n) {
        int target = decode_goto(t, s, n);
        if (target < 0 || target >= t.nstates) mismatch(at(s, "nonterminal " + g.nonterminals[n].name) + ": goto out of range");
    }
    for (const auto& [symbol, target] : automaton.states[s].transitions) {
        if (g.is_terminal(symbol)) continue;
        int n = g.nonterminal_of(symbol);
        if (decode_goto(t, s, n) != target)
            mismatch(at(s, "nonterminal " + g.nonterminals[n].name) + ": goto decodes to " +
                     std::to_string(decode_goto(t, s, n)) + ", expected " + std::to_string(target));
        if (t.yychk[target] != -n) mismatch(at(target, "accessing symbol differs from its goto"));
    }
}

// The direct lookup, from the packed tables: every state's action on every column, and what a state
// does without a lookahead. Column 0 stands for every code that is no terminal of the grammar.
void fill_direct_lookup(const Grammar& g, Tables& t) {
    const ParseTables packed = t.view();
    std::vector<int> representative = {t.max_token + 1};  // no terminal's code
    t.yyclass.assign(static_cast<std::size_t>(t.max_token) + 1, 0);
    for (const Terminal& terminal : g.terminals) {
        t.yyclass[static_cast<std::size_t>(terminal.code)] = static_cast<std::uint8_t>(representative.size());
        representative.push_back(terminal.code);
    }
    t.nclasses = static_cast<int>(representative.size());
    if (t.nclasses > 256 || t.nstates > 32767 || t.nrules > 32767) throw TableError("too large for the direct lookup");
    t.yyaction.clear();
    t.yyimmediate.clear();
    for (int s = 0; s < t.nstates; ++s) {
        for (int code : representative) {
            int target = table_lookup::shift_target(packed, s, code);
            int action = target >= 0 ? target : table_lookup::encode_reduction(table_lookup::default_action(packed, s, code));
            t.yyaction.push_back(static_cast<std::int16_t>(action));
        }
        t.yyimmediate.push_back(static_cast<std::int16_t>(table_lookup::reads_ahead(packed, s) ? kReadsAhead : t.yydef[s]));
    }
}

// The direct lookup agrees with the packed tables for every state and code.
void check_direct_lookup(const Tables& t, int s) {
    const ParseTables view = t.view();
    for (int code = 0; code <= t.max_token + 1; ++code) {
        int shifted = decode_shift(t, s, code);
        int expected = shifted >= 0 ? shifted : table_lookup::encode_reduction(decode_default(t, s, code));
        if (table_lookup::direct_action(view, s, code) != expected)
            mismatch(at(s, "token " + std::to_string(code)) + ": direct action differs");
    }
    int immediate = decode_reads_ahead(t, s) ? kReadsAhead : t.yydef[s];
    if (t.yyimmediate[s] != immediate) mismatch(at(s, "direct read-ahead differs"));
}

}  // namespace

int decode_shift(const Tables& t, int state, int token) { return table_lookup::shift_target(t.view(), state, token); }

int decode_goto(const Tables& t, int state, int nonterminal) {
    int base = t.yypgo[nonterminal];
    if (base < 0 || base >= t.yylast) return -1;
    return table_lookup::goto_state(t.view(), state, nonterminal);
}

int decode_default(const Tables& t, int state, int token) {
    if (t.yydef[state] != kExceptionLookup) return t.yydef[state];
    std::size_t i = 0;
    while (i + 1 < t.yyexca.size() && !(t.yyexca[i] == -1 && t.yyexca[i + 1] == state)) i += 2;
    if (i + 1 >= t.yyexca.size()) throw TableError("no exception block for state " + std::to_string(state));
    for (i += 2; i + 1 < t.yyexca.size() && t.yyexca[i] >= 0; i += 2) {}
    if (i + 1 >= t.yyexca.size()) throw TableError("unterminated exception block for state " + std::to_string(state));
    return table_lookup::default_action(t.view(), state, token);
}

bool decode_reads_ahead(const Tables& t, int state) { return table_lookup::reads_ahead(t.view(), state); }

Tables pack_tables(const Grammar& g, const Automaton& automaton, const ActionTable& actions) {
    Tables t;
    t.nstates = static_cast<int>(automaton.states.size());
    t.nrules = g.highest_rule + 1;
    t.nnonterms = g.nonterminal_count() - 1;
    t.max_token = std::max(g.max_token_code(), YYERRCODE);
    t.yychk = accessing_symbols(g, automaton);
    fill_rules(g, t);
    fill_defaults(g, actions, t);
    pack_rows(g, automaton, t);
    fill_direct_lookup(g, t);
    return t;
}

void self_check_tables(const Grammar& g, const Automaton& automaton, const ActionTable& actions, const Tables& t) {
    if (t.yypact.size() != static_cast<std::size_t>(t.nstates) || t.yydef.size() != t.yypact.size() ||
        t.yychk.size() != t.yypact.size() || t.yyact.size() != static_cast<std::size_t>(t.yylast))
        mismatch("table sizes disagree");
    for (int s = 0; s < t.nstates; ++s) {
        if (actions.states[s].has_shift != (t.yypact[s] > YYFLAG)) mismatch(at(s, "yypact flag"));
        check_terminal_lookups(g, actions, t, s);
        check_goto_lookups(g, automaton, t, s);
        check_direct_lookup(t, s);
    }
}

}  // namespace vrk::lalrgen
