// The packed tables of the full grammar, read the way the parse engine
// reads them.
//
// An independent decode of every (state, token) and (state, nonterminal)
// pair is compared with the automaton, token sequences for the language's
// tricky corners are run through a copy of the engine loop, and the
// generated header is read back to make sure it carries the same numbers.
#include <gtest/gtest.h>

#include <iterator>

#include "parser/generated_tables.h"
#include "tests/tools/lalrgen_test_support.h"

namespace vrk::lalrgen {
namespace {

using testing::ParseRun;
using testing::Reduction;
using testing::reduced;
using testing::run_engine;
using testing::token_codes;

const Generation& core_grammar() {
    static const Generation gen = generate(read_grammar_file(VRK_GRAMMAR_PATH, ReadOptions{true}));
    return gen;
}

const Generation& extended_grammar() {
    static const Generation gen = generate(read_grammar_file(VRK_GRAMMAR_PATH));
    return gen;
}

ParseRun parse(const Generation& gen, const std::string& words) {
    return run_engine(gen.tables, token_codes(gen.grammar, words));
}

bool accepts(const std::string& words) {
    return parse(core_grammar(), words).outcome == ParseRun::Outcome::accepted;
}

void expect_every_lookup_decodes(const Generation& gen) {
    const Grammar& g = gen.grammar;
    for (int s = 0; s < gen.tables.nstates; ++s) {
        const State& state = gen.automaton.states[s];
        for (int code = 0; code <= 300; ++code) {
            int ti = g.terminal_index(code);
            auto shift = ti >= 0 ? state.transitions.find(ti) : state.transitions.end();
            int expected = shift != state.transitions.end() ? shift->second : -1;
            ASSERT_EQ(decode_shift(gen.tables, s, code), expected) << "state " << s << " token " << code;
        }
        for (const auto& [symbol, target] : state.transitions) {
            if (g.is_terminal(symbol)) continue;
            ASSERT_EQ(decode_goto(gen.tables, s, g.nonterminal_of(symbol)), target) << "state " << s;
        }
    }
}

TEST(PackedTables, EveryShiftAndGotoDecodesWithoutFalsePositives) {
    expect_every_lookup_decodes(core_grammar());
    expect_every_lookup_decodes(extended_grammar());
}

// Codes of no terminal (a character the grammar lacks, the scanner's NUL byte, codes above every
// table) share the direct lookup's column 0: each state does with them what it does with any token
// it neither shifts nor names, so they end a parse where the packed tables would.
TEST(DirectLookup, CodesOfNoTerminalShareOneColumn) {
    const Tables& t = extended_grammar().tables;
    const ParseTables view = t.view();
    for (int s = 0; s < t.nstates; ++s) {
        const int expected = table_lookup::encode_reduction(table_lookup::default_action(view, s, 7));
        for (int code : {7, 301, 5000}) EXPECT_EQ(table_lookup::direct_action(view, s, code), expected) << s << " " << code;
    }
    const std::vector<int> input = token_codes(extended_grammar().grammar, "PAR EOL INDENT NAME ! NUMBER");
    ParseRun reference = run_engine(t, [&] { auto codes = input; codes.push_back(7); return codes; }());
    for (int code : {301, 5000}) {
        std::vector<int> codes = input;
        codes.push_back(code);
        ParseRun run = run_engine(t, codes);
        EXPECT_EQ(run.outcome, ParseRun::Outcome::syntax_error);
        EXPECT_EQ(run.reductions, reference.reductions);
        EXPECT_EQ(run.tokens_read, reference.tokens_read);
    }
}

TEST(EngineRun, SimpleProcessesAndTheStartAction) {
    ParseRun skip = parse(core_grammar(), "SKIP EOL");
    ASSERT_EQ(skip.outcome, ParseRun::Outcome::accepted);
    // The start action runs in state 0 after the first token was fetched.
    EXPECT_EQ(skip.reductions.front(), (Reduction{2, true}));
    // Empty input: the start action still runs, then end of input is an error.
    ParseRun empty = parse(core_grammar(), "");
    EXPECT_EQ(empty.outcome, ParseRun::Outcome::syntax_error);
    EXPECT_TRUE(reduced(empty, 2));
    // A first token EOL selects rule 1, and the start action does not run.
    ParseRun leading_eol = parse(core_grammar(), "EOL SKIP EOL");
    EXPECT_EQ(leading_eol.outcome, ParseRun::Outcome::accepted);
    EXPECT_FALSE(reduced(leading_eol, 2));
    EXPECT_TRUE(reduced(leading_eol, 1));
}

TEST(EngineRun, NameAtProcessStart) {
    EXPECT_TRUE(accepts("NAME ! NAME EOL"));
    EXPECT_TRUE(accepts("NAME ? NAME EOL"));
    EXPECT_TRUE(accepts("NAME [ NAME ] : = NUMBER EOL"));
    EXPECT_TRUE(accepts("NAME EOL"));
    EXPECT_TRUE(accepts("NAME ( NUMBER , NAME ) EOL"));
    // A subscripted name at the start of a process is an assignment target.
    ParseRun subscripted_output = parse(core_grammar(), "NAME [ NAME ] ! NAME EOL");
    EXPECT_EQ(subscripted_output.outcome, ParseRun::Outcome::syntax_error);
    EXPECT_EQ(subscripted_output.tokens_read, 5U);  // stopped at '!'
    EXPECT_FALSE(accepts("NAME [ NAME ] ? NAME EOL"));
}

TEST(EngineRun, Declarations) {
    EXPECT_TRUE(accepts("INT NAME , NAME : EOL SKIP EOL"));
    EXPECT_TRUE(accepts("INT NAME [ NUMBER ] , NAME : EOL SKIP EOL"));
    EXPECT_TRUE(accepts("INT NAME , EOL NAME : EOL SKIP EOL"));
    EXPECT_TRUE(accepts("[ NUMBER ] CHAN OF BYTE NAME : EOL SKIP EOL"));
    // A list that begins with a plain name stays a name list.
    EXPECT_FALSE(accepts("INT NAME , NAME [ NUMBER ] : EOL SKIP EOL"));
    // An element list may not break the line after a comma.
    EXPECT_FALSE(accepts("INT NAME [ NUMBER ] , EOL NAME : EOL SKIP EOL"));
    EXPECT_FALSE(accepts("INT NAME TYPE_COMMA : EOL SKIP EOL"));
    // A declaration needs a process after it.
    ParseRun last_line = parse(core_grammar(), "INT NAME : EOL");
    EXPECT_EQ(last_line.outcome, ParseRun::Outcome::syntax_error);
    EXPECT_EQ(last_line.tokens_read, 4U);
}

TEST(EngineRun, Expressions) {
    EXPECT_TRUE(accepts("NAME : = NAME - NAME EOL"));
    EXPECT_FALSE(accepts("NAME : = NAME - NAME - NAME EOL"));
    EXPECT_TRUE(accepts("NAME : = ( NAME - NAME ) - NAME EOL"));
    EXPECT_TRUE(accepts("NAME : = NAME + NAME * NAME BIT_OP NAME LOGICAL_OP NAME EOL"));
    EXPECT_FALSE(accepts("NAME : = - NAME + NAME EOL"));
    EXPECT_TRUE(accepts("NAME : = TABLE [ NUMBER , NUMBER ] [ NUMBER ] EOL"));
    EXPECT_FALSE(accepts("NAME : = TABLE [ NUMBER , NUMBER ] EOL"));
    EXPECT_TRUE(accepts("NAME : = STRING EOL STRING [ NUMBER ] EOL"));
    EXPECT_FALSE(accepts("NAME : = STRING EOL"));
}

TEST(EngineRun, AltGuards) {
    const std::string body = " EOL INDENT SKIP EOL OUTDENT OUTDENT";
    EXPECT_TRUE(accepts("ALT EOL INDENT NAME & NAME ? NAME" + body));
    EXPECT_TRUE(accepts("ALT EOL INDENT NAME [ NAME ] ? NAME" + body));
    EXPECT_TRUE(accepts("ALT EOL INDENT NAME & SKIP" + body));
    EXPECT_TRUE(accepts("ALT EOL INDENT NAME & WAIT NAME" + body));
    EXPECT_TRUE(accepts("ALT EOL INDENT NAME & NAME [ NUMBER ] ? NAME" + body));
    // A subscripted name at the start of a guard is a channel.
    EXPECT_FALSE(accepts("ALT EOL INDENT NAME [ NAME ] & NAME ? NAME" + body));
}

std::string nested_seqs(int levels) {
    std::string words;
    for (int i = 0; i < levels; ++i) words += "SEQ EOL INDENT ";
    words += "SKIP EOL";
    for (int i = 0; i < levels; ++i) words += " OUTDENT";
    return words;
}

// Each nested SEQ costs three stack entries (SEQ, eols, INDENT): 65 levels fit in 200 entries.
TEST(EngineRun, NestingDepthLimit) {
    for (const Generation* gen : {&core_grammar(), &extended_grammar()}) {
        EXPECT_EQ(parse(*gen, nested_seqs(65)).outcome, ParseRun::Outcome::accepted);
        EXPECT_EQ(parse(*gen, nested_seqs(66)).outcome, ParseRun::Outcome::overflow);
    }
}

template <class Value, std::size_t N>
std::vector<Value> to_vector(const Value (&values)[N]) {
    return std::vector<Value>(values, values + N);
}

// The tables as compiled from a header that vrk-lalrgen wrote at build time.
Tables compiled_tables() {
    namespace gen = vrk::tables;
    Tables t;
    t.yylast = gen::YYLAST;
    t.nstates = gen::YYNSTATES;
    t.nrules = gen::YYNRULES;
    t.nnonterms = gen::YYNNONTERMS;
    t.yyact = to_vector(gen::yyact);
    t.yypact = to_vector(gen::yypact);
    t.yypgo = to_vector(gen::yypgo);
    t.yyr1 = to_vector(gen::yyr1);
    t.yyr2 = to_vector(gen::yyr2);
    t.yychk = to_vector(gen::yychk);
    t.yydef = to_vector(gen::yydef);
    t.yyexca = to_vector(gen::yyexca);
    t.nclasses = gen::YYNCOLUMNS;
    t.yyclass = to_vector(gen::yyclass);
    t.yyaction = to_vector(gen::yyaction);
    t.yyimmediate = to_vector(gen::yyimmediate);
    return t;
}

static_assert(vrk::YYFLAG == -1000 && vrk::YYERRCODE == 256 && vrk::YYMAXDEPTH == 200);
static_assert(vrk::tables::YYEXCA_SIZE == static_cast<int>(std::size(vrk::tables::yyexca)));

TEST(GeneratedHeader, CompiledTablesMatchTheGeneratorAndParse) {
    const Generation& gen = extended_grammar();
    Tables compiled = compiled_tables();
    EXPECT_EQ(compiled.yyact, gen.tables.yyact);
    EXPECT_EQ(compiled.yypact, gen.tables.yypact);
    EXPECT_EQ(compiled.yypgo, gen.tables.yypgo);
    EXPECT_EQ(compiled.yyr1, gen.tables.yyr1);
    EXPECT_EQ(compiled.yyr2, gen.tables.yyr2);
    EXPECT_EQ(compiled.yychk, gen.tables.yychk);
    EXPECT_EQ(compiled.yydef, gen.tables.yydef);
    EXPECT_EQ(compiled.yyexca, gen.tables.yyexca);
    EXPECT_EQ(compiled.yyclass, gen.tables.yyclass);
    EXPECT_EQ(compiled.yyaction, gen.tables.yyaction);
    EXPECT_EQ(compiled.yyimmediate, gen.tables.yyimmediate);
    ParseRun run = run_engine(compiled, token_codes(gen.grammar, "PAR EOL INDENT NAME ! NUMBER EOL SKIP EOL OUTDENT"));
    EXPECT_EQ(run.outcome, ParseRun::Outcome::accepted);
}

TEST(GeneratedHeader, HasTheExpectedFrame) {
    std::string header = format_header(core_grammar());
    EXPECT_EQ(header.rfind("#pragma once\n// Generated by vrk-lalrgen from parser/grammar.y. Do not edit.\n", 0), 0U);
    EXPECT_NE(header.find("#include \"parser/table_lookup.h\"\nnamespace vrk::tables {\n"), std::string::npos);
    // Every array has its comment on the line above.
    for (const char* array : {"yyact[", "yypact[", "yypgo[", "yyr1[", "yyr2[", "yychk[", "yydef[", "yyexca["}) {
        std::size_t at = header.find(std::string("inline constexpr int ") + array);
        ASSERT_NE(at, std::string::npos) << array;
        EXPECT_EQ(header.rfind("\n// ", at - 1), header.rfind('\n', at - 2)) << array;
    }
    EXPECT_NE(header.find("inline constexpr int YYNSTATES = 311;\n"), std::string::npos);
    EXPECT_NE(header.find("inline constexpr int YYNRULES = 206;\n"), std::string::npos);
    EXPECT_NE(header.find("inline constexpr int YYEXCA_SIZE = 68;\n"), std::string::npos);
    for (const char* array : {"std::uint8_t yyclass[", "std::int16_t yyaction[", "std::int16_t yyimmediate["}) {
        std::size_t at = header.find(std::string("inline constexpr ") + array);
        ASSERT_NE(at, std::string::npos) << array;
        EXPECT_EQ(header.rfind("\n// ", at - 1), header.rfind('\n', at - 2)) << array;
    }
    EXPECT_TRUE(header.ends_with("}  // namespace vrk::tables\n"));
}

}  // namespace
}  // namespace vrk::lalrgen
