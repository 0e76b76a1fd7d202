// vrk-lalrgen on small grammars: the reader's diagnostics, conflict
// handling, the default-reduction and exception-block conventions, the
// packing self-check, and the command line.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/common/files.h"
#include "tests/tools/lalrgen_test_support.h"

namespace vrk::lalrgen {
namespace {

using testing::state_with_kernel;
using testing::token_code;

Generation generate_text(const std::string& text, bool core = false) {
    return generate(read_grammar(text, "test.y", ReadOptions{core}));
}

std::string reader_error(const std::string& text) {
    try {
        read_grammar(text, "test.y");
    } catch (const GrammarError& e) {
        return e.what();
    }
    return "(accepted)";
}

TEST(GrammarReader, RejectsMalformedGrammarsWithTheLine) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"%token A 257\n1 s : A foo\n", "test.y:2: unknown symbol foo"},
        {"%token A 257\n1 s : A\n1 s : A A\n", "test.y:3: duplicate rule number 1"},
        {"%token A 257\n%unused 1\n1 s : A\n", "duplicate rule number 1"},
        {"%token A 257\n2 s : A\n1 s : A A\n", "test.y:3: rule 1 is out of order"},
        {"%token A 257\n1 s : A\n3 s : A A\n", "rule number 2 has no production"},
        {"%token A 257\n2 s : {3} A\n", "embedded action {3} must be numbered between rules 0 and 2"},
        {"%token A 257\n%core-limit 5\n1 s : {ext 3} A\n", "must be numbered above the core limit 5"},
        {"%token A 257\n%core-limit 1\n1 s : A\n2 s : A A\n", "rule 2 is above the core limit 1"},
        {"%token A 257\n%token B 257\n1 s : A B\n", "tokens A and B share code 257"},
        {"%token A 200\n1 s : A\n", "needs a code above 256"},
        {"%token error 300\n1 s : error\n", "the error token must have code 256"},
        {"%token A 257\n1 A : A\n", "token A used as a left-hand side"},
        {"%token A 257\ns : A\n", "test.y:2: a production starts with its rule number"},
        {"%token A 257\n1 s : A 'x\n", "unterminated character token"},
        {"%token A 257\n1 s :\n", "write an empty right side as %empty"},
        {"%token A 257\n1 s : A {x}\n", "malformed embedded action {x}"},
        {"%token A 257\n1 s : A\n2 t : A\n", "nonterminal t is unreachable"},
        {"%token A 257\n1 s : s A\n", "nonterminal s derives no string of tokens"},
        {"%bogus 1\n1 s : A\n", "unknown directive %bogus"},
        {"%token A 257\n", "the grammar has no productions"},
        {"%token A 257\n1 s : A => \n", "=> must be followed by the action's name"},
        {"%token A 257\n1 s : A => f B\n", "=> must be followed by the action's name, last on the line"},
        {"%token A 257\n%keyword B\n1 s : A\n", "test.y:2: keyword B names the unknown token B"},
        {"%token A 257\n%keyword A\n%keyword A\n1 s : A\n", "test.y:3: keyword A listed twice"},
        {"%token A 257\n%expect-rr x\n1 s : A\n", "%expect-rr expects a number"},
        {"%token A 257\n%auto-number\ns : A {1 f}\n", "test.y:3: an embedded action needs numbered rules"},
        {"%token A 257\n1 s : A\n%auto-number\n", "test.y:3: %auto-number takes no arguments and comes before"},
        {"%token A 257\n%namespace vrk::\n1 s : A\n", "%namespace expects one C++ namespace"},
        {"%token A 257\n%copy-action\n1 s : A\n", "test.y:2: %copy-action expects one action name"},
    };
    for (const auto& [text, message] : cases)
        EXPECT_NE(reader_error(text).find(message), std::string::npos)
            << "grammar:\n" << text << "error: " << reader_error(text);
}

// Without written numbers the rules are numbered in the order written, so a second grammar file
// needs no bookkeeping of free numbers.
TEST(GrammarReader, AutoNumberingFollowsTheOrderWritten) {
    Grammar g = read_grammar("%token A 257\n%namespace vrk::second\n%auto-number\ns : t A => f\nt : %empty => g\nt : A\n",
                             "test.y");
    ASSERT_EQ(g.productions.size(), 4U);
    EXPECT_EQ(g.productions[1].number, 1);
    EXPECT_EQ(g.productions[1].action, "f");
    EXPECT_EQ(g.productions[2].number, 2);
    EXPECT_EQ(g.productions[2].action, "g");
    EXPECT_TRUE(g.productions[3].rhs.size() == 1 && g.productions[3].number == 3);
    EXPECT_EQ(g.name_space, "vrk::second");
}

TEST(GrammarReader, NumbersSymbolsInTokenOrder) {
    Grammar g = read_grammar(
        "%token B 258\n%token A 257\n%unused 2\n"
        "1 s : B 'y' t 'x'   # characters by first appearance\n"
        "4 t : {3} A '#'\n",  // '#' inside quotes is a token, not a comment
        "test.y");
    std::vector<std::string> names;
    for (const Terminal& t : g.terminals) names.push_back(t.name);
    EXPECT_EQ(names, (std::vector<std::string>{"$end", "error", "A", "B", "'y'", "'x'", "'#'"}));
    EXPECT_EQ(g.nonterminals[1].name, "s");
    EXPECT_EQ(g.nonterminals[2].name, "t");
    EXPECT_EQ(g.nonterminals[3].name, "{3}");
    EXPECT_EQ(g.highest_rule, 4);
    ASSERT_GE(g.production_index(3), 0);
    EXPECT_TRUE(g.productions[g.production_index(3)].rhs.empty());
    EXPECT_EQ(g.production_index(2), -1);
}

TEST(GrammarReader, CoreModeDropsOnlyExtensionActions) {
    const std::string text =
        "%token A 257\n%core-limit 3\n"
        "1 s : A {ext 4} t\n"
        "3 t : {2} A\n";
    Grammar full = read_grammar(text, "test.y");
    Grammar core = read_grammar(text, "test.y", ReadOptions{true});
    EXPECT_EQ(full.highest_rule, 4);
    EXPECT_TRUE(full.productions[full.production_index(4)].extension);
    EXPECT_EQ(full.productions[full.production_index(1)].rhs.size(), 3U);
    EXPECT_EQ(core.highest_rule, 3);
    EXPECT_EQ(core.production_index(4), -1);
    EXPECT_EQ(core.productions[core.production_index(1)].rhs.size(), 2U);
    EXPECT_GE(core.production_index(2), 0);
}

TEST(Generator, ShiftReduceConflictKeepsTheShiftAndIsReported) {
    Generation gen = generate_text(
        "%token IF 257\n%token ELSE 258\n%token X 259\n"
        "1 s : IF s\n2 s : IF s ELSE s\n3 s : X\n");
    ASSERT_EQ(gen.actions.conflicts.size(), 1U);
    const Conflict& c = gen.actions.conflicts.front();
    EXPECT_EQ(c.kind, Conflict::Kind::shift_reduce);
    EXPECT_EQ(c.state, state_with_kernel(gen, {"s : IF s .", "s : IF s . ELSE s"}));
    EXPECT_EQ(c.tokens, std::vector<int>{258});
    EXPECT_EQ(c.rules, std::vector<int>{1});
    EXPECT_NE(decode_shift(gen.tables, c.state, 258), -1);
    EXPECT_NE(format_report(gen).find("shift-reduce conflicts: 1"), std::string::npos);
}

TEST(Generator, SeveralReductionsGetAnExceptionBlockAroundTheWidestOne) {
    Generation gen = generate_text(
        "%token A 257\n%token B 258\n"
        "1 s : a 'x'\n2 s : b 'x'\n3 s : c B\n4 s : c 'y'\n5 s : d 'z'\n"
        "6 a : A\n7 b : A\n8 c : A\n9 d : A\n");
    int s = state_with_kernel(gen, {"a : A .", "b : A .", "c : A .", "d : A ."});
    ASSERT_GE(s, 0);
    ASSERT_EQ(gen.actions.conflicts.size(), 1U);
    EXPECT_EQ(gen.actions.conflicts[0].rules, (std::vector<int>{6, 7}));
    EXPECT_EQ(gen.actions.conflicts[0].chosen_rule, 6);
    EXPECT_EQ(gen.tables.yydef[s], -2);
    EXPECT_EQ(gen.tables.yypact[s], YYFLAG);
    // Rule 8 covers B and 'y'; the others are listed in token order.
    std::vector<int> block = {-1, s, 'x', 6, 'z', 9, -2, 8};
    EXPECT_NE(std::search(gen.tables.yyexca.begin(), gen.tables.yyexca.end(), block.begin(), block.end()),
              gen.tables.yyexca.end());
    EXPECT_EQ(read_ahead_of_rule(gen, 7).label(), "-");  // lost every token
}

int default_after_a(const std::string& text) {
    Generation gen = generate_text(text);
    int s = state_with_kernel(gen, {"a : A .", "b : A ."});
    return s < 0 ? -1 : decode_default(gen.tables, s, YYERRCODE);
}

TEST(Generator, DefaultTiesGoToTheFirstTokenInTokenOrder) {
    // Named tokens come before character tokens.
    EXPECT_EQ(default_after_a("%token A 257\n%token B 258\n1 s : a 'x'\n2 s : b B\n3 a : A\n4 b : A\n"), 4);
    // Character tokens by first appearance, not by code.
    EXPECT_EQ(default_after_a("%token A 257\n1 s : a 'y'\n2 s : b 'x'\n3 a : A\n4 b : A\n"), 3);
    EXPECT_EQ(default_after_a("%token A 257\n1 s : b 'x'\n2 s : a 'y'\n3 a : A\n4 b : A\n"), 4);
}

TEST(Generator, DefaultReductionsAndTheAcceptState) {
    Generation gen = generate_text("%token A 257\n%token B 258\n%token C 259\n1 s : A opt B\n2 opt : %empty\n3 opt : C\n");
    const Tables& t = gen.tables;
    int after_a = state_with_kernel(gen, {"s : A . opt B"});
    int after_c = state_with_kernel(gen, {"opt : C ."});
    int complete = state_with_kernel(gen, {"s : A opt B ."});
    // Shifts plus one reduction: the reduction is the default for every other token.
    EXPECT_NE(t.yypact[after_a], YYFLAG);
    EXPECT_EQ(t.yydef[after_a], 2);
    EXPECT_EQ(decode_default(t, after_a, 'q'), 2);
    // A lone reduction is made without reading a token.
    EXPECT_EQ(t.yypact[after_c], YYFLAG);
    EXPECT_EQ(t.yydef[after_c], 3);
    EXPECT_FALSE(decode_reads_ahead(t, complete));
    // Accept on end of input only.
    int accept = decode_goto(t, 0, 1);
    std::vector<int> block = {-1, accept, 0, kAccept, -2, 0};
    EXPECT_EQ(t.yyexca, block);
    EXPECT_EQ(t.yychk[accept], -1);
    EXPECT_EQ(t.yychk[after_c], 259);
    // States without any reduction report an error by default.
    EXPECT_EQ(t.yydef[0], 0);
    EXPECT_EQ(t.yychk[0], YYFLAG);
}

TEST(SelfCheck, CatchesTablesThatDecodeWrongly) {
    Generation gen = generate_text(
        "%token A 257\n%token B 258\n%token C 259\n"
        "1 s : A x\n2 s : B x\n3 x : C\n4 x : A B\n");
    auto check = [&](const Tables& t) { self_check_tables(gen.grammar, gen.automaton, gen.actions, t); };
    EXPECT_NO_THROW(check(gen.tables));

    int after_a = state_with_kernel(gen, {"s : A . x"});
    int start = 0;
    Tables shared_base = gen.tables;  // state after A reads the shifts of state 0
    shared_base.yypact[after_a] = shared_base.yypact[start];
    EXPECT_THROW(check(shared_base), TableError);

    Tables wrong_default = gen.tables;
    int after_c = state_with_kernel(gen, {"x : C ."});
    wrong_default.yydef[after_c] = 4;
    EXPECT_THROW(check(wrong_default), TableError);

    Tables wrong_goto = gen.tables;
    for (int& base : wrong_goto.yypgo) base = wrong_goto.yylast - 1;
    EXPECT_THROW(check(wrong_goto), TableError);
}

// A grammar with named actions, keywords and its own namespace, as a second grammar would be.
const char* const kNamedGrammar =
    "%token A 257\n%token B 258\n%keyword A\n%keyword BEE B\n%namespace demo\n"
    "%action-context Ctx demo/ctx.h\n"
    "2 s : A {1 begin_t} t => finish_s\n3 t : B => finish_t\n4 t : '+' => finish_t\n";

TEST(Generator, TokenHeaderHasCodesKeywordsAndNonterminals) {
    std::string header = format_tokens_header(generate_text(kNamedGrammar));
    EXPECT_NE(header.find("namespace demo::token {"), std::string::npos);
    EXPECT_NE(header.find("  END_OF_INPUT = 0,\n  ERROR_TOKEN = 256,\n  A = 257,\n  B = 258,\n};"), std::string::npos);
    EXPECT_EQ(header.find("'+'"), std::string::npos);  // character tokens are their own codes
    EXPECT_NE(header.find("kHighestCode = 258;"), std::string::npos);
    EXPECT_NE(header.find("kKeywords[] = {\n  {\"A\", A},\n  {\"BEE\", B},\n};"), std::string::npos);
    EXPECT_NE(header.find("namespace demo::symbol {\n// Nonterminal numbers, as yyr1 holds them and yychk negates them.\n"
                          "enum Nonterminal : int {\n  s = 1,\n  t = 3,\n};"),
              std::string::npos)
        << header;
}

TEST(Generator, ActionsHeaderDeclaresAndDispatchesEveryNamedAction) {
    std::string header = format_actions_header(generate_text(kNamedGrammar));
    EXPECT_NE(header.find("#include \"demo/ctx.h\"\nnamespace demo::actions {\n"
                          "void begin_t(Ctx& c);\nvoid finish_s(Ctx& c);\nvoid finish_t(Ctx& c);\n"),
              std::string::npos)
        << header;
    EXPECT_NE(header.find("    case 1: return begin_t(c);  // {1}: s : A {1} t\n"
                          "    case 2: return finish_s(c);  // s : A {1} t\n"
                          "    case 3: return finish_t(c);  // t : B\n"
                          "    case 4: return finish_t(c);  // t : '+'\n"
                          "    default: return;\n"),
              std::string::npos)
        << header;
    EXPECT_THROW(format_actions_header(generate_text("%token A 257\n1 s : A => f\n")), std::runtime_error);
}

// A sink may copy the first symbol's entry itself for the rules whose action only does that; an
// empty rule with that action has no first symbol and is not listed.
TEST(Generator, ActionsHeaderListsTheRulesOfTheCopyAction) {
    const std::string grammar = "%token A 257\n%auto-number\n%copy-action keep\n%action-context Ctx ctx.h\n"
                                "s : t A => keep\nt : %empty => keep\nt : A => other\n";
    std::string header = format_actions_header(generate_text(grammar));
    EXPECT_NE(header.find("inline constexpr bool kCopiesFirstSymbol[4] = {\n  0, 1, 0, 0,\n};\n"), std::string::npos)
        << header;
    EXPECT_EQ(format_actions_header(generate_text(kNamedGrammar)).find("kCopiesFirstSymbol"), std::string::npos);
}

class CommandLine : public vrk::testing::TempDirTest {
protected:
    CommandLine() : TempDirTest("lalrgen") {}

    std::string write(const std::string& name, const std::string& text) {
        vrk::testing::write_file(dir_ / name, text);
        return (dir_ / name).string();
    }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    static std::string read(const std::string& file) { return vrk::testing::read_file(file); }
    int run(const std::vector<std::string>& args) {
        out_.str("");
        err_.str("");
        return run_lalrgen(args, out_, err_);
    }

    std::ostringstream out_;
    std::ostringstream err_;
};

TEST_F(CommandLine, WritesHeaderAndReport) {
    std::string grammar = write("g.y", "%token A 257\n%core-limit 2\n1 s : A {ext 3} t\n2 t : A\n");
    EXPECT_EQ(run({grammar, path("full.h"), "--report", path("full.txt")}), 0) << err_.str();
    EXPECT_NE(read(path("full.h")).find("YYNRULES = 4;"), std::string::npos);
    EXPECT_NE(read(path("full.txt")).find("[extension]"), std::string::npos);
    EXPECT_EQ(run({grammar, path("core.h"), "--core", "--stats"}), 0) << err_.str();
    EXPECT_NE(out_.str().find("shift-reduce conflicts: 0"), std::string::npos);
    EXPECT_NE(read(path("core.h")).find("YYNRULES = 3;"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(path("core.h.tmp")));
}

TEST_F(CommandLine, FailsWithoutHeaderOnConflictsOrBadInput) {
    std::string conflicting = write("if.y", "%token IF 257\n%token ELSE 258\n%token X 259\n"
                                            "1 s : IF s\n2 s : IF s ELSE s\n3 s : X\n");
    EXPECT_EQ(run({conflicting, path("if.h"), "--report", path("if.txt")}), 1);
    EXPECT_NE(err_.str().find("1 shift-reduce conflict"), std::string::npos) << err_.str();
    EXPECT_FALSE(std::filesystem::exists(path("if.h")));
    EXPECT_NE(read(path("if.txt")).find("state"), std::string::npos);

    std::string malformed = write("bad.y", "%token A 257\n1 s : A B\n");
    EXPECT_EQ(run({malformed, path("bad.h")}), 1);
    EXPECT_NE(err_.str().find("bad.y:2: unknown symbol B"), std::string::npos) << err_.str();
    EXPECT_FALSE(std::filesystem::exists(path("bad.h")));

    // Reduce-reduce conflicts must be exactly as many as the grammar expects.
    const std::string two_ways = "%token A 257\n1 s : x\n2 s : y\n3 x : A\n4 y : A\n";
    std::string unexpected = write("rr.y", two_ways);
    EXPECT_EQ(run({unexpected, path("rr.h")}), 1);
    EXPECT_NE(err_.str().find("1 reduce-reduce conflict(s), but %expect-rr says 0"), std::string::npos) << err_.str();
    EXPECT_FALSE(std::filesystem::exists(path("rr.h")));
    std::string expected = write("rr1.y", "%expect-rr 1\n" + two_ways);
    EXPECT_EQ(run({expected, path("rr1.h"), "--tokens", path("rr1-tokens.h")}), 0) << err_.str();
    EXPECT_TRUE(std::filesystem::exists(path("rr1-tokens.h")));

    EXPECT_EQ(run({path("missing.y"), path("m.h")}), 1);
    EXPECT_NE(err_.str().find("cannot open grammar file"), std::string::npos);
    EXPECT_EQ(run({malformed}), 2);
    EXPECT_EQ(run({malformed, path("x.h"), "--report"}), 2);
}

}  // namespace
}  // namespace vrk::lalrgen
