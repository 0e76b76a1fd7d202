// Generation pipeline, output formatting and command line.
//
// The header is written only when the grammar is free of shift-reduce
// conflicts and the packed tables have passed the self-check; the report is
// written whenever the automaton could be built, so a failing grammar can be
// diagnosed from it. Files are written through a temporary name and renamed,
// so a failed run never leaves a half-written header for the build to pick up.
#include "tools/lalrgen/generator.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iomanip>
#include <ostream>
#include <set>
#include <sstream>

namespace vrk::lalrgen {

Generation generate(Grammar grammar) {
    Generation out;
    out.grammar = std::move(grammar);
    FirstSets first = compute_first_sets(out.grammar);
    out.automaton = build_lr0_states(out.grammar);
    compute_lalr_lookaheads(out.grammar, first, out.automaton);
    out.actions = resolve_actions(out.grammar, out.automaton);
    out.tables = pack_tables(out.grammar, out.automaton, out.actions);
    self_check_tables(out.grammar, out.automaton, out.actions, out.tables);
    return out;
}

std::string ReadAhead::label() const {
    if (reading_states.empty() && silent_states.empty()) return "-";
    if (reading_states.empty()) return "no";
    if (silent_states.empty()) return "yes";
    return "no / yes";
}

ReadAhead read_ahead_of_rule(const Generation& generation, int rule) {
    ReadAhead out;
    for (int s = 0; s < static_cast<int>(generation.actions.states.size()); ++s) {
        const StateActions& a = generation.actions.states[s];
        if (std::find(a.reduced_rules.begin(), a.reduced_rules.end(), rule) == a.reduced_rules.end()) continue;
        (a.reads_ahead() ? out.reading_states : out.silent_states).push_back(s);
    }
    return out;
}

namespace {

std::string display_name(const std::string& path) {
    std::size_t last = path.find_last_of('/');
    if (last == std::string::npos || last == 0) return path;
    std::size_t before = path.find_last_of('/', last - 1);
    return before == std::string::npos ? path : path.substr(before + 1);
}

template <class Value>
void write_array(std::ostream& out, const std::string& comment, const std::string& declaration,
                 const std::vector<Value>& values, const std::string& type = "int") {
    out << "// " << comment << "\n";
    out << "inline constexpr " << type << " " << declaration << " = {";
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i % 12 == 0) out << "\n   ";
        out << ' ' << static_cast<int>(values[i]) << (i + 1 < values.size() ? "," : "");
    }
    out << "\n};\n";
}

std::string token_name(const Grammar& g, int code) {
    int ti = g.terminal_index(code);
    return ti >= 0 ? g.terminals[ti].name : std::to_string(code);
}

std::string rule_text(const Grammar& g, int rule) {
    const Production& p = g.productions[g.production_index(rule)];
    std::string text = g.nonterminals[p.lhs].name + " :";
    if (p.rhs.empty()) text += " (empty)";
    for (int s : p.rhs) text += " " + g.symbol_name(s);
    return text;
}

// A kernel item with its dot: "element : element . '[' expression ']'".
std::string item_text(const Grammar& g, const Item& item) {
    const Production& p = g.productions[item.production];
    std::string text = g.nonterminals[p.lhs].name + " :";
    for (int i = 0; i <= static_cast<int>(p.rhs.size()); ++i) {
        if (i == item.dot) text += " .";
        if (i < static_cast<int>(p.rhs.size())) text += " " + g.symbol_name(p.rhs[i]);
    }
    return text;
}

std::string join_tokens(const Grammar& g, const std::vector<int>& codes) {
    std::string text;
    for (int code : codes) text += (text.empty() ? "" : " ") + token_name(g, code);
    return text;
}

void report_conflicts(std::ostream& out, const Generation& gen) {
    const Grammar& g = gen.grammar;
    out << "shift-reduce conflicts: " << gen.actions.shift_reduce_count() << '\n';
    out << "reduce-reduce conflicts: " << gen.actions.reduce_reduce_count() << '\n';
    for (const Conflict& c : gen.actions.conflicts) {
        bool sr = c.kind == Conflict::Kind::shift_reduce;
        out << "  state " << c.state << (sr ? ": shift-reduce" : ": reduce-reduce") << " on "
            << join_tokens(g, c.tokens) << " between " << (sr ? "shift and rule" : "rules");
        for (int r : c.rules) out << ' ' << r;
        if (sr) out << "; shift kept (grammar rejected)\n";
        else out << "; resolved as rule " << c.chosen_rule << '\n';
        for (const Item& item : gen.automaton.states[c.state].kernel) out << "      " << item_text(g, item) << '\n';
    }
}

void report_exception_blocks(std::ostream& out, const Generation& gen) {
    const std::vector<int>& exca = gen.tables.yyexca;
    out << "exception blocks: " << gen.tables.exception_blocks << " (" << exca.size() / 2 << " pairs)\n";
    for (std::size_t i = 0; i + 1 < exca.size(); i += 2) {
        if (exca[i] == -1) out << "  state " << exca[i + 1] << ':';
        else if (exca[i] == -2) out << " otherwise " << exca[i + 1] << '\n';
        else out << ' ' << token_name(gen.grammar, exca[i]) << "->" << exca[i + 1];
    }
}

void report_sizes(std::ostream& out, const Generation& gen) {
    const Tables& t = gen.tables;
    out << "tables: YYLAST " << t.yylast << ", YYNSTATES " << t.nstates << ", YYNRULES " << t.nrules
        << ", YYNNONTERMS " << t.nnonterms << ", YYEXCA_SIZE " << t.yyexca.size() << '\n';
    int used = 0;
    for (int v : t.yyact) used += v != 0;
    out << "yyact entries in use: " << used << " of " << t.yylast << '\n';
}

void report_read_ahead(std::ostream& out, const Generation& gen) {
    out << "read-ahead of the states reducing each rule (yes: the next token is read first):\n";
    for (const Production& p : gen.grammar.productions) {
        if (p.number == 0) continue;
        ReadAhead r = read_ahead_of_rule(gen, p.number);
        out << "  " << std::setw(4) << p.number << "  " << std::left << std::setw(9) << r.label() << std::right
            << rule_text(gen.grammar, p.number) << (p.extension ? "   [extension]" : "") << '\n';
    }
}

void write_file_atomically(const std::string& path, const std::string& text) {
    std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::trunc);
        out << text;
        if (!out.flush()) throw std::runtime_error("cannot write " + temporary);
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) throw std::runtime_error("cannot create " + path);
}

struct CommandLine {
    std::string grammar, header, report, tokens, actions;
    bool core = false;
    bool stats = false;
};

bool parse_command_line(const std::vector<std::string>& args, CommandLine& line, std::ostream& err) {
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--core") {
            line.core = true;
        } else if (args[i] == "--stats") {
            line.stats = true;
        } else if (args[i] == "--report" && i + 1 < args.size()) {
            line.report = args[++i];
        } else if (args[i] == "--tokens" && i + 1 < args.size()) {
            line.tokens = args[++i];
        } else if (args[i] == "--actions" && i + 1 < args.size()) {
            line.actions = args[++i];
        } else if (!args[i].empty() && args[i][0] == '-') {
            err << "vrk-lalrgen: unknown or incomplete option " << args[i] << '\n';
            return false;
        } else {
            positional.push_back(args[i]);
        }
    }
    if (positional.size() != 2) {
        err << "usage: vrk-lalrgen GRAMMAR OUTPUT_HEADER [--tokens FILE] [--actions FILE] [--core] [--report FILE]"
               " [--stats]\n";
        return false;
    }
    line.grammar = positional[0];
    line.header = positional[1];
    return true;
}

}  // namespace

std::string format_header(const Generation& gen) {
    const Tables& t = gen.tables;
    std::ostringstream out;
    out << "#pragma once\n";
    out << "// Generated by vrk-lalrgen from " << display_name(gen.grammar.source_name) << ". Do not edit.\n";
    out << "// The packed LALR(1) tables of the grammar; parser/table_lookup.h describes the encoding.\n";
    out << "#include \"parser/table_lookup.h\"\n";
    out << "namespace " << gen.grammar.name_space << "::tables {\n";
    out << "inline constexpr int YYLAST = " << t.yylast << ";\n";
    out << "inline constexpr int YYNSTATES = " << t.nstates << ";\n";
    out << "inline constexpr int YYNRULES = " << t.nrules << ";\n";
    out << "inline constexpr int YYNNONTERMS = " << t.nnonterms << ";\n";
    write_array(out, "shift rows and goto columns, packed; an entry is a state", "yyact[YYLAST]", t.yyact);
    write_array(out, "per state: base of its shift row in yyact, YYFLAG for none", "yypact[YYNSTATES]", t.yypact);
    write_array(out, "per nonterminal: base of its goto column; yyact there is the default target",
                "yypgo[YYNNONTERMS + 1]", t.yypgo);
    write_array(out, "per rule: its left-hand nonterminal", "yyr1[YYNRULES]", t.yyr1);
    write_array(out, "per rule: the length of its right side", "yyr2[YYNRULES]", t.yyr2);
    write_array(out, "per state: its accessing symbol (token code, or minus a nonterminal)", "yychk[YYNSTATES]",
                t.yychk);
    write_array(out, "per state: 0 error, n reduce by rule n, -2 see yyexca", "yydef[YYNSTATES]", t.yydef);
    write_array(out, "exception blocks: (-1, state), (token, action)..., (-2, default action)", "yyexca[]",
                t.yyexca);
    out << "inline constexpr int YYEXCA_SIZE = " << t.yyexca.size() << ";\n";
    out << "inline constexpr int YYNCOLUMNS = " << t.nclasses << ";\n";
    write_array(out, "per token code: its column in yyaction, 0 for a code of no terminal", "yyclass[]", t.yyclass,
                "std::uint8_t");
    write_array(out, "per state and column: n > 0 shift to n, -n reduce by rule n, 0 error, kDirectAccept accept",
                "yyaction[YYNSTATES * YYNCOLUMNS]", t.yyaction, "std::int16_t");
    write_array(out, "per state: kReadsAhead, or the action taken without a lookahead (0 error, n reduce)",
                "yyimmediate[YYNSTATES]", t.yyimmediate, "std::int16_t");
    out << "// The tables as the parse engine takes them.\n";
    out << "inline constexpr ParseTables kTables{yyact, yypact, yypgo, yyr1, yyr2, yychk, yydef, yyexca,\n"
        << "                                     yyclass, yyaction, yyimmediate};\n";
    out << "}  // namespace " << gen.grammar.name_space << "::tables\n";
    return out.str();
}

namespace {

// A C++ name for a terminal: the declared name, or a fixed one for end of input and error.
std::string token_enumerator(const Terminal& t) {
    if (t.code == 0) return "END_OF_INPUT";
    if (t.code == kErrorCode) return "ERROR_TOKEN";
    return t.name;
}

bool is_named_nonterminal(const std::string& name) { return !name.empty() && name[0] != '{' && name[0] != '$'; }

// The production that contains embedded action `rule`.
const Production* production_containing(const Grammar& g, int rule) {
    const Production& action = g.productions[g.production_index(rule)];
    int symbol = g.nonterminal_symbol(action.lhs);
    for (const Production& p : g.productions)
        if (std::find(p.rhs.begin(), p.rhs.end(), symbol) != p.rhs.end()) return &p;
    return nullptr;
}

std::string action_comment(const Grammar& g, const Production& p) {
    if (!g.nonterminals[p.lhs].name.starts_with("{")) return rule_text(g, p.number);
    const Production* host = production_containing(g, p.number);
    return g.nonterminals[p.lhs].name + (host ? ": " + rule_text(g, host->number) : "");
}

}  // namespace

std::string format_tokens_header(const Generation& gen) {
    const Grammar& g = gen.grammar;
    std::ostringstream out;
    out << "#pragma once\n";
    out << "// Generated by vrk-lalrgen from " << display_name(g.source_name) << ". Do not edit.\n";
    out << "// Token codes, keyword spellings and nonterminal numbers of the grammar.\n";
    out << "#include <string_view>\n";
    out << "namespace " << g.name_space << "::token {\n";
    out << "// Codes 1 to 255 are single characters and stand for themselves.\n";
    out << "enum Code : int {\n";
    int highest = 0;
    for (const Terminal& t : g.terminals) {
        if (t.name.starts_with("'")) continue;
        out << "  " << token_enumerator(t) << " = " << t.code << ",\n";
        highest = std::max(highest, t.code);
    }
    out << "};\n";
    out << "// The highest code of a named token.\n";
    out << "inline constexpr int kHighestCode = " << highest << ";\n";
    out << "struct Keyword {\n  std::string_view word;\n  int code;\n};\n";
    out << "// The words that are tokens, in lookup order.\n";
    out << "inline constexpr Keyword kKeywords[] = {\n";
    for (const Keyword& k : g.keywords) {
        const Terminal& t = g.terminals[g.terminal_index(k.code)];
        out << "  {\"" << k.word << "\", " << token_enumerator(t) << "},\n";
    }
    out << "};\n";
    out << "}  // namespace " << g.name_space << "::token\n";
    out << "namespace " << g.name_space << "::symbol {\n";
    out << "// Nonterminal numbers, as yyr1 holds them and yychk negates them.\n";
    out << "enum Nonterminal : int {\n";
    for (int n = 1; n < g.nonterminal_count(); ++n)
        if (is_named_nonterminal(g.nonterminals[n].name)) out << "  " << g.nonterminals[n].name << " = " << n << ",\n";
    out << "};\n";
    out << "}  // namespace " << g.name_space << "::symbol\n";
    return out.str();
}

std::string format_actions_header(const Generation& gen) {
    const Grammar& g = gen.grammar;
    if (g.action_context.empty()) throw std::runtime_error("the grammar declares no %action-context");
    std::ostringstream out;
    out << "#pragma once\n";
    out << "// Generated by vrk-lalrgen from " << display_name(g.source_name) << ". Do not edit.\n";
    out << "// The action function of every rule that names one, and their dispatch by rule number.\n";
    out << "#include \"" << g.action_include << "\"\n";
    out << "namespace " << g.name_space << "::actions {\n";
    std::set<std::string> declared;
    for (const Production& p : g.productions)
        if (!p.action.empty() && declared.insert(p.action).second)
            out << "void " << p.action << "(" << g.action_context << "& c);\n";
    if (!g.copy_action.empty()) {
        out << "// Per rule: whether its action, " << g.copy_action << ", only hands on the first symbol's entry.\n";
        out << "inline constexpr bool kCopiesFirstSymbol[" << g.highest_rule + 1 << "] = {";
        std::vector<bool> copies(static_cast<std::size_t>(g.highest_rule) + 1, false);
        for (const Production& p : g.productions)
            if (p.action == g.copy_action && !p.rhs.empty()) copies[static_cast<std::size_t>(p.number)] = true;
        for (std::size_t i = 0; i < copies.size(); ++i) out << (i % 32 == 0 ? "\n  " : " ") << (copies[i] ? 1 : 0) << ",";
        out << "\n};\n";
    }
    out << "// Runs the action of `rule`, if it has one.\n";
    out << "inline void run_action(int rule, " << g.action_context << "& c) {\n";
    out << "  switch (rule) {\n";
    for (const Production& p : g.productions)
        if (!p.action.empty())
            out << "    case " << p.number << ": return " << p.action << "(c);  // " << action_comment(g, p) << "\n";
    out << "    default: return;\n";
    out << "  }\n}\n";
    out << "}  // namespace " << g.name_space << "::actions\n";
    return out.str();
}

std::string format_report(const Generation& gen) {
    const Grammar& g = gen.grammar;
    std::ostringstream out;
    out << "vrk-lalrgen report for " << display_name(g.source_name) << '\n';
    out << "states: " << gen.automaton.states.size() << '\n';
    out << "terminals: " << g.terminal_count() << ", nonterminals: " << g.nonterminal_count() - 1
        << ", productions: " << g.productions.size() << " (highest rule " << g.highest_rule << ")\n";
    report_conflicts(out, gen);
    report_exception_blocks(out, gen);
    report_sizes(out, gen);
    report_read_ahead(out, gen);
    return out.str();
}

int run_lalrgen(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CommandLine line;
    if (!parse_command_line(args, line, err)) return 2;
    try {
        Grammar grammar = read_grammar_file(line.grammar, ReadOptions{line.core});
        Generation gen = generate(std::move(grammar));
        std::string report = format_report(gen);
        if (!line.report.empty()) write_file_atomically(line.report, report);
        if (line.stats) out << report;
        if (gen.actions.shift_reduce_count() > 0) {
            err << "vrk-lalrgen: " << line.grammar << ": " << gen.actions.shift_reduce_count()
                << " shift-reduce conflict(s); no tables written\n";
            return 1;
        }
        if (gen.actions.reduce_reduce_count() != gen.grammar.expected_reduce_reduce) {
            err << "vrk-lalrgen: " << line.grammar << ": " << gen.actions.reduce_reduce_count()
                << " reduce-reduce conflict(s), but %expect-rr says " << gen.grammar.expected_reduce_reduce
                << "; no tables written\n";
            return 1;
        }
        if (!line.tokens.empty()) write_file_atomically(line.tokens, format_tokens_header(gen));
        if (!line.actions.empty()) write_file_atomically(line.actions, format_actions_header(gen));
        write_file_atomically(line.header, format_header(gen));
    } catch (const std::exception& e) {
        err << "vrk-lalrgen: " << e.what() << '\n';
        return 1;
    }
    return 0;
}

}  // namespace vrk::lalrgen
