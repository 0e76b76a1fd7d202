// Grammar model and reader for vrk-lalrgen.
//
// A grammar file lists token declarations with their codes and one numbered
// production per line, in rule-number order. Embedded actions written {n}
// inside a right-hand side become nonterminals of their own, each with a
// single empty production numbered n. Actions written {ext n} are translator
// extensions: they are numbered above the grammar's %core-limit and are left
// out when the grammar is read in core mode. The reader checks the file
// thoroughly (unknown symbols, duplicate or missing rule numbers, misplaced
// numbers) and throws GrammarError with the file line on the first fault.
//
// Each production may name its action: `=> name` after the right side, or
// `{n name}` for an embedded action. The generated dispatch calls that
// function for the rule. %keyword lists the words that are tokens, for the
// generated keyword table; %namespace, %expect-rr and %action-context say
// where generated code lives, how many reduce-reduce conflicts the grammar
// must have, and what the actions take. A grammar that declares %auto-number
// writes its productions without numbers: each takes the next rule number in
// the order written, and actions are named with => only. %copy-action NAME says
// that the action NAME only hands on its rule's first symbol: the generated
// header then lists the rules that have it, so that a sink can do that copy
// without dispatching.
//
// Symbols are dense integers: terminals first (index 0 is end of input,
// index 1 the error token, then the named tokens in code order, then the
// character tokens in order of first appearance), then nonterminals, where
// nonterminal 0 is $accept and 1 the start symbol. This terminal order is the
// token order the table generator uses for tie-breaking and listing.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace vrk::lalrgen {

class GrammarError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct Terminal {
    std::string name;  // as written: INT, 'x', $end, error
    int code = 0;      // token code delivered by the scanner
};

struct Nonterminal {
    std::string name;         // program, {5}, $accept
    int action_rule = -1;     // rule number of an embedded action, else -1
};

struct Production {
    int number = 0;            // rule number by which actions are dispatched
    int lhs = 0;               // nonterminal index (0 = $accept)
    std::vector<int> rhs;      // symbol ids
    int line = 0;              // grammar file line (0 for generated rules)
    bool extension = false;    // an extension embedded action
    std::string action;        // name of the rule's action function, empty for none
};

// A word the scanner turns into a token, and that token's code.
struct Keyword {
    std::string word;
    int code = 0;
};

struct Grammar {
    std::vector<Terminal> terminals;
    std::vector<Nonterminal> nonterminals;
    std::vector<Production> productions;  // sorted by number; [0] is rule 0
    int highest_rule = 0;
    int core_limit = 0;                   // highest rule number of the core grammar
    std::string source_name;              // shown in generated files
    std::vector<Keyword> keywords;        // in declaration order
    std::string name_space = "vrk";       // C++ namespace of everything generated
    int expected_reduce_reduce = 0;       // %expect-rr: the count the grammar must have
    std::string action_context;           // %action-context: the type every action takes
    std::string action_include;           // the header that declares that type
    std::string copy_action;              // %copy-action: the action that copies the first symbol's entry

    int terminal_count() const { return static_cast<int>(terminals.size()); }
    int nonterminal_count() const { return static_cast<int>(nonterminals.size()); }
    int symbol_count() const { return terminal_count() + nonterminal_count(); }
    bool is_terminal(int symbol) const { return symbol < terminal_count(); }
    int nonterminal_symbol(int nonterminal) const { return terminal_count() + nonterminal; }
    int nonterminal_of(int symbol) const { return symbol - terminal_count(); }
    const std::string& symbol_name(int symbol) const;
    int max_token_code() const;
    // Index into productions of rule `number`, or -1 for a gap.
    int production_index(int number) const;
    // Terminal index of a token code, or -1 when the grammar has no such token.
    int terminal_index(int code) const;
};

struct ReadOptions {
    // Leave out every embedded action numbered above the grammar's core limit.
    bool core = false;
};

Grammar read_grammar(const std::string& text, const std::string& source_name,
                     const ReadOptions& options = {});
Grammar read_grammar_file(const std::string& path, const ReadOptions& options = {});

inline constexpr int kEndSymbol = 0;    // terminal index of end of input
inline constexpr int kErrorSymbol = 1;  // terminal index of the error token
inline constexpr int kErrorCode = 256;

}  // namespace vrk::lalrgen
