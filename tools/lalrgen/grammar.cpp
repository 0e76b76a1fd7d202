// Grammar file reader.
//
// Reading happens in three steps: every line is split into words and turned
// into a raw declaration or production (syntax faults are reported with the
// line), the rule numbering is checked as a whole (order, duplicates, gaps
// that were not declared %unused, embedded actions outside the slot before
// their production), and the symbol tables are built in the fixed token
// order before the productions are resolved to symbol ids. Core mode drops
// the extension actions before symbols are numbered, so a core grammar is
// exactly what it would be had the extensions never been written.
#include "tools/lalrgen/grammar.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <sstream>

namespace vrk::lalrgen {

namespace {

struct RawSymbol {
    enum class Kind { name, character, action } kind = Kind::name;
    std::string text;      // identifier, or the quoted character as written
    int code = 0;          // character code or action rule number
    bool extension = false;
    std::string action;    // an embedded action's function name
};

struct RawProduction {
    int number = 0;
    std::string lhs;
    std::vector<RawSymbol> rhs;
    int line = 0;
    std::string action;  // after =>
};

struct RawKeyword {
    std::string word, token;
    int line = 0;
};

struct RawGrammar {
    std::vector<std::pair<std::string, int>> tokens;  // name, code
    std::vector<int> token_lines;
    std::vector<RawProduction> productions;
    struct Range { int first, last, line; };
    std::vector<Range> unused;  // inclusive ranges
    std::optional<int> core_limit;
    std::string start;
    int start_line = 0;
    std::vector<RawKeyword> keywords;
    std::string name_space = "vrk";
    int expected_reduce_reduce = 0;
    std::string action_context, action_include;
    std::string copy_action;
    bool auto_number = false;  // %auto-number: productions are numbered in the order written
};

[[noreturn]] void fail(const std::string& source, int line, const std::string& message) {
    std::ostringstream out;
    out << source;
    if (line > 0) out << ':' << line;
    out << ": " << message;
    throw GrammarError(out.str());
}

std::string strip_comment(const std::string& line) {
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\'' ) quoted = !quoted;
        else if (line[i] == '\\' && quoted) ++i;
        else if (line[i] == '#' && !quoted) return line.substr(0, i);
    }
    return line;
}

// Splits a line into words: names, numbers, ':', quoted characters and
// brace groups are each one word.
std::vector<std::string> split_words(const std::string& line, const std::string& source, int line_no) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < line.size()) {
        char c = line[i];
        if (std::isspace(static_cast<unsigned char>(c))) { ++i; continue; }
        std::size_t end = i + 1;
        if (c == '\'') {
            if (end < line.size() && line[end] == '\\') ++end;
            ++end;
            if (end >= line.size() || line[end] != '\'')
                fail(source, line_no, "unterminated character token starting at column " + std::to_string(i + 1));
            ++end;
        } else if (c == '{') {
            end = line.find('}', i);
            if (end == std::string::npos) fail(source, line_no, "unterminated action braces");
            ++end;
        } else if (c != ':') {
            while (end < line.size() && !std::isspace(static_cast<unsigned char>(line[end])) &&
                   line[end] != ':' && line[end] != '\'' && line[end] != '{')
                ++end;
        }
        words.push_back(line.substr(i, end - i));
        i = end;
    }
    return words;
}

std::optional<int> parse_number(const std::string& word) {
    if (word.empty() || word.size() > 9) return std::nullopt;
    for (char c : word)
        if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
    return std::stoi(word);
}

bool is_identifier(const std::string& word) {
    if (word.empty() || !(std::isalpha(static_cast<unsigned char>(word[0])) || word[0] == '_')) return false;
    return std::all_of(word.begin(), word.end(),
                       [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; });
}

// A namespace name: identifiers joined by "::".
bool is_cpp_namespace(const std::string& text) {
    std::size_t start = 0;
    for (;;) {
        std::size_t sep = text.find("::", start);
        if (!is_identifier(text.substr(start, sep - start))) return false;
        if (sep == std::string::npos) return true;
        start = sep + 2;
    }
}

int character_code(const std::string& word) {
    // word is 'c' or '\c'
    char c = word.size() == 4 ? word[2] : word[1];
    return static_cast<unsigned char>(c);
}

RawSymbol parse_action(const std::string& word, const std::string& source, int line_no) {
    std::istringstream in(word.substr(1, word.size() - 2));
    std::vector<std::string> parts;
    for (std::string part; in >> part;) parts.push_back(part);
    RawSymbol symbol;
    symbol.kind = RawSymbol::Kind::action;
    symbol.text = word;
    if (!parts.empty() && parts[0] == "ext") {
        symbol.extension = true;
        parts.erase(parts.begin());
    }
    if (parts.size() == 2 && is_identifier(parts[1])) {
        symbol.action = parts[1];
        parts.pop_back();
    }
    std::optional<int> number = parts.size() == 1 ? parse_number(parts[0]) : std::nullopt;
    if (!number || *number == 0)
        fail(source, line_no, "malformed embedded action " + word + " (expected {n name} or {ext n name})");
    symbol.code = *number;
    return symbol;
}

RawSymbol parse_rhs_word(const std::string& word, const std::string& source, int line_no) {
    if (word.front() == '{') return parse_action(word, source, line_no);
    RawSymbol symbol;
    symbol.text = word;
    if (word.front() == '\'') {
        symbol.kind = RawSymbol::Kind::character;
        symbol.code = character_code(word);
        if (symbol.code == 0) fail(source, line_no, "character token " + word + " has code 0");
        return symbol;
    }
    if (!is_identifier(word)) fail(source, line_no, "unexpected '" + word + "' in right-hand side");
    return symbol;
}

void read_token_directive(const std::vector<std::string>& words, RawGrammar& raw, const std::string& source,
                          int line_no) {
    if (words.size() < 3 || words.size() % 2 == 0)
        fail(source, line_no, "%token expects pairs of NAME CODE");
    for (std::size_t i = 1; i < words.size(); i += 2) {
        std::optional<int> code = parse_number(words[i + 1]);
        if (!is_identifier(words[i]) || !code)
            fail(source, line_no, "%token expects pairs of NAME CODE, got '" + words[i] + " " + words[i + 1] + "'");
        raw.tokens.emplace_back(words[i], *code);
        raw.token_lines.push_back(line_no);
    }
}

void read_unused_directive(const std::vector<std::string>& words, RawGrammar& raw, const std::string& source,
                           int line_no) {
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::string& word = words[i];
        std::size_t dash = word.find('-');
        std::optional<int> first = parse_number(word.substr(0, dash));
        std::optional<int> last = dash == std::string::npos ? first : parse_number(word.substr(dash + 1));
        if (!first || !last || *last < *first) fail(source, line_no, "%unused expects N or A-B, got '" + word + "'");
        raw.unused.push_back({*first, *last, line_no});
    }
    if (words.size() < 2) fail(source, line_no, "%unused expects rule numbers");
}

void read_directive(const std::vector<std::string>& words, RawGrammar& raw, const std::string& source,
                    int line_no) {
    const std::string& name = words[0];
    if (name == "%token") {
        read_token_directive(words, raw, source, line_no);
    } else if (name == "%unused") {
        read_unused_directive(words, raw, source, line_no);
    } else if (name == "%start") {
        if (words.size() != 2 || !is_identifier(words[1])) fail(source, line_no, "%start expects one name");
        raw.start = words[1];
        raw.start_line = line_no;
    } else if (name == "%keyword") {
        if (words.size() < 2 || words.size() > 3 || !is_identifier(words[1]) ||
            (words.size() == 3 && !is_identifier(words[2])))
            fail(source, line_no, "%keyword expects WORD [TOKEN]");
        raw.keywords.push_back({words[1], words.size() == 3 ? words[2] : words[1], line_no});
    } else if (name == "%namespace") {
        // The word splitter takes ':' apart, so a nested namespace arrives in pieces.
        std::string joined;
        for (std::size_t i = 1; i < words.size(); ++i) joined += words[i];
        if (joined.empty() || !is_cpp_namespace(joined)) fail(source, line_no, "%namespace expects one C++ namespace");
        raw.name_space = joined;
    } else if (name == "%expect-rr") {
        std::optional<int> count = words.size() == 2 ? parse_number(words[1]) : std::nullopt;
        if (!count) fail(source, line_no, "%expect-rr expects a number of conflicts");
        raw.expected_reduce_reduce = *count;
    } else if (name == "%action-context") {
        if (words.size() != 3) fail(source, line_no, "%action-context expects TYPE HEADER");
        raw.action_context = words[1];
        raw.action_include = words[2];
    } else if (name == "%copy-action") {
        if (words.size() != 2 || !is_identifier(words[1])) fail(source, line_no, "%copy-action expects one action name");
        raw.copy_action = words[1];
    } else if (name == "%auto-number") {
        if (words.size() != 1 || !raw.productions.empty())
            fail(source, line_no, "%auto-number takes no arguments and comes before the productions");
        raw.auto_number = true;
    } else if (name == "%core-limit") {
        std::optional<int> limit = words.size() == 2 ? parse_number(words[1]) : std::nullopt;
        if (!limit) fail(source, line_no, "%core-limit expects one rule number");
        raw.core_limit = *limit;
    } else {
        fail(source, line_no, "unknown directive " + name);
    }
}

void read_production(std::vector<std::string> words, RawGrammar& raw, const std::string& source,
                     int line_no) {
    if (raw.auto_number) {
        // The rule number is the next one; the words read on as if it had been written.
        words.insert(words.begin(), std::to_string(raw.productions.empty() ? 1 : raw.productions.back().number + 1));
    }
    std::optional<int> number = parse_number(words[0]);
    if (!number || *number == 0) fail(source, line_no, "a production starts with its rule number (1 or more)");
    if (words.size() < 3 || !is_identifier(words[1]) || words[2] != ":")
        fail(source, line_no, "expected 'N lhs : right side'");
    RawProduction production{*number, words[1], {}, line_no, {}};
    bool empty_marker = false;
    for (std::size_t i = 3; i < words.size(); ++i) {
        if (words[i] == "%empty") { empty_marker = true; continue; }
        if (words[i] == "=>") {
            if (i + 2 != words.size() || !is_identifier(words[i + 1]))
                fail(source, line_no, "=> must be followed by the action's name, last on the line");
            production.action = words[i + 1];
            break;
        }
        production.rhs.push_back(parse_rhs_word(words[i], source, line_no));
        if (raw.auto_number && production.rhs.back().kind == RawSymbol::Kind::action)
            fail(source, line_no, "an embedded action needs numbered rules; %auto-number grammars name rule actions with =>");
    }
    if (empty_marker && !production.rhs.empty())
        fail(source, line_no, "%empty in a right side that is not empty");
    if (!empty_marker && production.rhs.empty())
        fail(source, line_no, "write an empty right side as %empty");
    raw.productions.push_back(std::move(production));
}

RawGrammar read_raw(const std::string& text, const std::string& source) {
    RawGrammar raw;
    std::istringstream in(text);
    int line_no = 0;
    for (std::string line; std::getline(in, line);) {
        ++line_no;
        std::vector<std::string> words = split_words(strip_comment(line), source, line_no);
        if (words.empty()) continue;
        if (words[0].front() == '%') read_directive(words, raw, source, line_no);
        else read_production(words, raw, source, line_no);
    }
    if (raw.productions.empty()) fail(source, 0, "the grammar has no productions");
    return raw;
}

// --- numbering -------------------------------------------------------------

void claim_number(std::map<int, int>& owner, int number, int line, const std::string& source) {
    auto [it, inserted] = owner.emplace(number, line);
    if (!inserted)
        fail(source, line, "duplicate rule number " + std::to_string(number) + " (first used on line " +
                               std::to_string(it->second) + ")");
}

int effective_core_limit(const RawGrammar& raw) {
    if (raw.core_limit) return *raw.core_limit;
    int limit = 0;
    for (const RawProduction& p : raw.productions) {
        limit = std::max(limit, p.number);
        for (const RawSymbol& s : p.rhs)
            if (s.kind == RawSymbol::Kind::action && !s.extension) limit = std::max(limit, s.code);
    }
    return limit;
}

void check_action_placement(const RawSymbol& action, const RawProduction& production, int previous_number,
                            int core_limit, const std::string& source) {
    const std::string number = std::to_string(action.code);
    if (action.extension) {
        if (action.code <= core_limit)
            fail(source, production.line, "extension action {ext " + number + "} must be numbered above the core limit " +
                                              std::to_string(core_limit));
        return;
    }
    if (action.code <= previous_number || action.code >= production.number)
        fail(source, production.line, "embedded action {" + number + "} must be numbered between rules " +
                                          std::to_string(previous_number) + " and " +
                                          std::to_string(production.number));
}

void check_numbering(const RawGrammar& raw, int core_limit, const std::string& source) {
    std::map<int, int> owner;  // rule number -> line that claims it
    int previous = 0;
    for (const RawProduction& p : raw.productions) {
        claim_number(owner, p.number, p.line, source);
        if (p.number <= previous)
            fail(source, p.line, "rule " + std::to_string(p.number) + " is out of order (after rule " +
                                     std::to_string(previous) + ")");
        if (p.number > core_limit)
            fail(source, p.line, "rule " + std::to_string(p.number) + " is above the core limit " +
                                     std::to_string(core_limit));
        for (const RawSymbol& s : p.rhs) {
            if (s.kind != RawSymbol::Kind::action) continue;
            check_action_placement(s, p, previous, core_limit, source);
            claim_number(owner, s.code, p.line, source);
        }
        previous = p.number;
    }
    for (const RawGrammar::Range& range : raw.unused)
        for (int n = range.first; n <= range.last; ++n) claim_number(owner, n, range.line, source);
    int highest = owner.rbegin()->first;
    for (int n = 1; n <= highest; ++n)
        if (!owner.count(n))
            fail(source, 0, "rule number " + std::to_string(n) + " has no production and is not declared %unused");
}

// --- symbols -----------------------------------------------------------------

void drop_extensions(RawGrammar& raw, int core_limit) {
    for (RawProduction& p : raw.productions)
        std::erase_if(p.rhs, [&](const RawSymbol& s) {
            return s.kind == RawSymbol::Kind::action && s.code > core_limit;
        });
}

void add_declared_terminals(const RawGrammar& raw, Grammar& g, const std::string& source) {
    g.terminals.push_back({"$end", 0});
    g.terminals.push_back({"error", kErrorCode});
    std::vector<std::pair<std::string, int>> named;
    std::set<std::string> names;
    std::map<int, std::string> codes;
    for (std::size_t i = 0; i < raw.tokens.size(); ++i) {
        const auto& [name, code] = raw.tokens[i];
        int line = raw.token_lines[i];
        if (!names.insert(name).second) fail(source, line, "token " + name + " declared twice");
        if (name == "error") {
            if (code != kErrorCode) fail(source, line, "the error token must have code 256");
            continue;
        }
        if (code <= kErrorCode) fail(source, line, "token " + name + " needs a code above 256");
        auto [it, fresh] = codes.emplace(code, name);
        if (!fresh) fail(source, line, "tokens " + it->second + " and " + name + " share code " + std::to_string(code));
        named.emplace_back(name, code);
    }
    std::sort(named.begin(), named.end(), [](const auto& a, const auto& b) { return a.second < b.second; });
    for (const auto& [name, code] : named) g.terminals.push_back({name, code});
}

void add_character_terminals(const RawGrammar& raw, Grammar& g) {
    std::set<int> seen;
    for (const RawProduction& p : raw.productions)
        for (const RawSymbol& s : p.rhs)
            if (s.kind == RawSymbol::Kind::character && seen.insert(s.code).second)
                g.terminals.push_back({s.text, s.code});
}

struct SymbolTable {
    std::map<std::string, int> terminals;     // name -> terminal index
    std::map<std::string, int> nonterminals;  // name -> nonterminal index
};

int add_nonterminal(Grammar& g, SymbolTable& table, const std::string& name, int action_rule) {
    auto [it, fresh] = table.nonterminals.emplace(name, g.nonterminal_count());
    if (fresh) g.nonterminals.push_back({name, action_rule});
    return it->second;
}

// Numbers the nonterminals: $accept, the start symbol, then every other one
// in order of first appearance in rule-number order.
void add_nonterminals(const RawGrammar& raw, Grammar& g, SymbolTable& table, const std::string& source) {
    std::set<std::string> defined;
    for (const RawProduction& p : raw.productions) {
        if (table.terminals.count(p.lhs)) fail(source, p.line, "token " + p.lhs + " used as a left-hand side");
        defined.insert(p.lhs);
    }
    std::string start = raw.start.empty() ? raw.productions.front().lhs : raw.start;
    if (!defined.count(start)) fail(source, raw.start_line, "start symbol " + start + " has no production");
    add_nonterminal(g, table, "$accept", -1);
    add_nonterminal(g, table, start, -1);
    for (const RawProduction& p : raw.productions) {
        add_nonterminal(g, table, p.lhs, -1);
        for (const RawSymbol& s : p.rhs) {
            if (s.kind == RawSymbol::Kind::action) {
                add_nonterminal(g, table, "{" + std::to_string(s.code) + "}", s.code);
            } else if (s.kind == RawSymbol::Kind::name && !table.terminals.count(s.text)) {
                if (!defined.count(s.text)) fail(source, p.line, "unknown symbol " + s.text);
                add_nonterminal(g, table, s.text, -1);
            }
        }
    }
}

int resolve_symbol(const RawSymbol& s, const Grammar& g, const SymbolTable& table) {
    switch (s.kind) {
        case RawSymbol::Kind::action:
            return g.nonterminal_symbol(table.nonterminals.at("{" + std::to_string(s.code) + "}"));
        case RawSymbol::Kind::character:
            return table.terminals.at(s.text);
        case RawSymbol::Kind::name:
            break;
    }
    auto terminal = table.terminals.find(s.text);
    if (terminal != table.terminals.end()) return terminal->second;
    return g.nonterminal_symbol(table.nonterminals.at(s.text));
}

void add_productions(const RawGrammar& raw, Grammar& g, const SymbolTable& table) {
    g.productions.push_back({0, 0, {g.nonterminal_symbol(1), kEndSymbol}, 0, false, {}});
    for (const RawProduction& p : raw.productions) {
        Production production{p.number, table.nonterminals.at(p.lhs), {}, p.line, false, p.action};
        for (const RawSymbol& s : p.rhs) {
            int symbol = resolve_symbol(s, g, table);
            production.rhs.push_back(symbol);
            if (s.kind == RawSymbol::Kind::action) {
                int action_nt = g.nonterminal_of(symbol);
                g.productions.push_back({s.code, action_nt, {}, p.line, s.extension, s.action});
            }
        }
        g.productions.push_back(std::move(production));
    }
    std::stable_sort(g.productions.begin(), g.productions.end(),
                     [](const Production& a, const Production& b) { return a.number < b.number; });
    g.highest_rule = g.productions.back().number;
}

void add_keywords(const RawGrammar& raw, Grammar& g, const std::string& source) {
    std::set<std::string> words;
    for (const RawKeyword& k : raw.keywords) {
        int ti = -1;
        for (int i = 0; i < g.terminal_count(); ++i)
            if (g.terminals[i].name == k.token) ti = i;
        if (ti < 0) fail(source, k.line, "keyword " + k.word + " names the unknown token " + k.token);
        if (!words.insert(k.word).second) fail(source, k.line, "keyword " + k.word + " listed twice");
        g.keywords.push_back({k.word, g.terminals[ti].code});
    }
}

// Every nonterminal must be reachable from the start symbol and derive some
// string of tokens; either fault means a misspelt or forgotten production.
void check_useful(const Grammar& g, const std::string& source) {
    std::vector<bool> productive(g.nonterminal_count(), false);
    for (bool changed = true; changed;) {
        changed = false;
        for (const Production& p : g.productions) {
            if (productive[p.lhs]) continue;
            bool all = std::all_of(p.rhs.begin(), p.rhs.end(),
                                   [&](int s) { return g.is_terminal(s) || productive[g.nonterminal_of(s)]; });
            if (all) productive[p.lhs] = changed = true;
        }
    }
    // $accept last: when it is unproductive, a nonterminal it uses is the cause.
    for (int n = 1; n <= g.nonterminal_count(); ++n)
        if (!productive[n % g.nonterminal_count()])
            fail(source, 0, "nonterminal " + g.nonterminals[n % g.nonterminal_count()].name + " derives no string of tokens");
    std::vector<bool> reached(g.nonterminal_count(), false);
    std::vector<int> work{0};
    reached[0] = true;
    while (!work.empty()) {
        int n = work.back();
        work.pop_back();
        for (const Production& p : g.productions) {
            if (p.lhs != n) continue;
            for (int s : p.rhs)
                if (!g.is_terminal(s) && !reached[g.nonterminal_of(s)]) {
                    reached[g.nonterminal_of(s)] = true;
                    work.push_back(g.nonterminal_of(s));
                }
        }
    }
    for (int n = 0; n < g.nonterminal_count(); ++n)
        if (!reached[n]) fail(source, 0, "nonterminal " + g.nonterminals[n].name + " is unreachable from the start symbol");
}

}  // namespace

const std::string& Grammar::symbol_name(int symbol) const {
    return is_terminal(symbol) ? terminals[symbol].name : nonterminals[nonterminal_of(symbol)].name;
}

int Grammar::max_token_code() const {
    int most = 0;
    for (const Terminal& t : terminals) most = std::max(most, t.code);
    return most;
}

int Grammar::production_index(int number) const {
    auto it = std::lower_bound(productions.begin(), productions.end(), number,
                               [](const Production& p, int n) { return p.number < n; });
    return it != productions.end() && it->number == number ? static_cast<int>(it - productions.begin()) : -1;
}

int Grammar::terminal_index(int code) const {
    for (int i = 0; i < terminal_count(); ++i)
        if (terminals[i].code == code) return i;
    return -1;
}

Grammar read_grammar(const std::string& text, const std::string& source_name, const ReadOptions& options) {
    RawGrammar raw = read_raw(text, source_name);
    int core_limit = effective_core_limit(raw);
    check_numbering(raw, core_limit, source_name);
    if (options.core) drop_extensions(raw, core_limit);

    Grammar g;
    g.source_name = source_name;
    g.core_limit = core_limit;
    add_declared_terminals(raw, g, source_name);
    add_character_terminals(raw, g);
    SymbolTable table;
    for (int i = 0; i < g.terminal_count(); ++i) table.terminals.emplace(g.terminals[i].name, i);
    add_nonterminals(raw, g, table, source_name);
    add_productions(raw, g, table);
    add_keywords(raw, g, source_name);
    g.name_space = raw.name_space;
    g.expected_reduce_reduce = raw.expected_reduce_reduce;
    g.action_context = raw.action_context;
    g.action_include = raw.action_include;
    g.copy_action = raw.copy_action;
    check_useful(g, source_name);
    return g;
}

Grammar read_grammar_file(const std::string& path, const ReadOptions& options) {
    std::ifstream in(path);
    if (!in) throw GrammarError("cannot open grammar file " + path);
    std::ostringstream text;
    text << in.rdbuf();
    return read_grammar(text.str(), path, options);
}

}  // namespace vrk::lalrgen
