// Helpers shared by the vrk-lalrgen tests: finding states by their kernel
// items, spelling token sequences, and a run of the translator's own parse
// engine over packed tables that records every reduction together with
// whether a lookahead token was pending when it ran, up to the first error.
#pragma once

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "parser/engine.h"
#include "tools/lalrgen/generator.h"

namespace vrk::lalrgen::testing {

inline std::string item_text(const Grammar& g, const Item& item) {
    const Production& p = g.productions[item.production];
    std::string text = g.nonterminals[p.lhs].name + " :";
    for (std::size_t i = 0; i <= p.rhs.size(); ++i) {
        if (static_cast<int>(i) == item.dot) text += " .";
        if (i < p.rhs.size()) text += " " + g.symbol_name(p.rhs[i]);
    }
    return text;
}

inline std::vector<std::string> kernel_texts(const Generation& gen, int state) {
    std::vector<std::string> texts;
    for (const Item& item : gen.automaton.states[state].kernel) texts.push_back(item_text(gen.grammar, item));
    std::sort(texts.begin(), texts.end());
    return texts;
}

// States whose kernel contains every given item ("lhs : a . b").
inline std::vector<int> states_with_items(const Generation& gen, std::vector<std::string> items) {
    std::vector<int> found;
    for (int s = 0; s < static_cast<int>(gen.automaton.states.size()); ++s) {
        std::vector<std::string> kernel = kernel_texts(gen, s);
        bool all = std::all_of(items.begin(), items.end(), [&](const std::string& item) {
            return std::find(kernel.begin(), kernel.end(), item) != kernel.end();
        });
        if (all) found.push_back(s);
    }
    return found;
}

// The one state whose kernel is exactly the given items, or -1.
inline int state_with_kernel(const Generation& gen, std::vector<std::string> items) {
    std::sort(items.begin(), items.end());
    for (int s = 0; s < static_cast<int>(gen.automaton.states.size()); ++s)
        if (kernel_texts(gen, s) == items) return s;
    return -1;
}

// Token code of a word: a declared token name, or a single character.
inline int token_code(const Grammar& g, const std::string& word) {
    for (const Terminal& t : g.terminals)
        if (t.name == word || t.name == "'" + word + "'") return t.code;
    if (word == "\\") return '\\';
    return word.size() == 1 ? static_cast<unsigned char>(word[0]) : -1000;
}

inline std::vector<int> token_codes(const Grammar& g, const std::string& words) {
    std::istringstream in(words);
    std::vector<int> codes;
    for (std::string word; in >> word;) codes.push_back(token_code(g, word));
    return codes;
}

struct Reduction {
    int rule;
    bool token_pending;
    bool operator==(const Reduction&) const = default;
};

struct ParseRun {
    enum class Outcome { accepted, syntax_error, overflow } outcome = Outcome::syntax_error;
    std::size_t tokens_read = 0;  // how many tokens yylex had delivered at the end
    std::vector<Reduction> reductions;
};

// Token source and action sink of a test run: tokens from a list (then end of input), reductions
// recorded until the first error report, after which the run counts as stopped.
class RecordingRun {
public:
    using Entry = int;  // no bookkeeping beside the states

    RecordingRun(const std::vector<int>& input, ParseRun& run) : input_(input), run_(run) {}
    void watch(const int& lookahead) { lookahead_ = &lookahead; }

    int next_token() {
        if (next_ >= input_.size()) return 0;
        if (!stopped_) ++run_.tokens_read;
        return input_[next_++];
    }
    bool stopped() const { return stopped_; }

    bool reduce(int rule, StackView<Entry>&) {
        if (!stopped_) run_.reductions.push_back({rule, *lookahead_ >= 0});
        return !stopped_;
    }
    void pushed(StackView<Entry>&) {}
    void syntax_error(std::string_view message) {
        if (stopped_) return;
        stopped_ = true;
        run_.outcome = message == "syntax error" ? ParseRun::Outcome::syntax_error : ParseRun::Outcome::overflow;
    }

private:
    const std::vector<int>& input_;
    ParseRun& run_;
    std::size_t next_ = 0;
    const int* lookahead_ = nullptr;
    bool stopped_ = false;
};

// The parse engine over the packed tables; the run ends at the first syntax error.
inline ParseRun run_engine(const Tables& t, const std::vector<int>& input) {
    ParseRun run;
    ParseTables tables = t.view();
    RecordingRun recorder(input, run);
    Engine<RecordingRun, RecordingRun> engine(tables, recorder, recorder);
    recorder.watch(engine.yychar);
    if (engine.yyparse() == 0 && !recorder.stopped()) run.outcome = ParseRun::Outcome::accepted;
    return run;
}

inline std::vector<int> rules_reduced(const ParseRun& run) {
    std::vector<int> rules;
    for (const Reduction& r : run.reductions) rules.push_back(r.rule);
    return rules;
}

inline bool reduced(const ParseRun& run, int rule) {
    std::vector<int> rules = rules_reduced(run);
    return std::find(rules.begin(), rules.end(), rule) != rules.end();
}

}  // namespace vrk::lalrgen::testing
