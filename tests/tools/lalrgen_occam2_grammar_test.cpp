// The occam 2 mode's grammar, occam2/parser/grammar.y, as vrk-lalrgen builds it: no conflict
// beyond those the file declares, an action for every rule, and the decisions real occam needs
// where a line may begin in several ways.
#include <gtest/gtest.h>

#include "tests/tools/lalrgen_test_support.h"

namespace vrk::lalrgen {
namespace {

using testing::ParseRun;
using testing::run_engine;
using testing::token_codes;

const Generation& occam2_grammar() {
    static const Generation gen = generate(read_grammar_file(VRK_OCCAM2_GRAMMAR_PATH));
    return gen;
}

bool accepts(const std::string& tokens) {
    const Generation& gen = occam2_grammar();
    return run_engine(gen.tables, token_codes(gen.grammar, tokens)).outcome == ParseRun::Outcome::accepted;
}

TEST(Occam2Grammar, HasOnlyTheConflictsItDeclares) {
    const Generation& gen = occam2_grammar();
    EXPECT_EQ(gen.actions.shift_reduce_count(), 0);
    EXPECT_EQ(gen.actions.reduce_reduce_count(), gen.grammar.expected_reduce_reduce);
}

// A rule without an action would drop the text of what it matched.
TEST(Occam2Grammar, EveryRuleNamesItsAction) {
    for (const Production& p : occam2_grammar().grammar.productions) {
        if (p.number == 0) continue;
        EXPECT_FALSE(p.action.empty()) << "rule " << p.number << " (line " << p.line << ")";
    }
}

TEST(Occam2Grammar, KeywordsAreTheModesOwn) {
    const Grammar& g = occam2_grammar().grammar;
    auto code_of = [&](const std::string& word) {
        for (const Keyword& k : g.keywords)
            if (k.word == word) return k.code;
        return 0;
    };
    EXPECT_EQ(code_of("PROC"), 267);  // shared with the default grammar, same code
    EXPECT_EQ(code_of("TRUE"), code_of("FALSE"));
    EXPECT_EQ(code_of("REM"), code_of("TIMES"));
    EXPECT_GT(code_of("VAL"), 301);  // new words are numbered above the default mode's codes
    EXPECT_EQ(code_of("WAIT"), 0);   // the default mode's delay is no occam 2 keyword
}

TEST(Occam2Grammar, NameAtTheStartOfALine) {
    EXPECT_TRUE(accepts("NAME ASSIGN NUMBER EOL"));
    EXPECT_TRUE(accepts("NAME , NAME [ NUMBER ] ASSIGN NAME , NAME EOL"));  // multiple assignment
    EXPECT_TRUE(accepts("NAME ( NAME ? , NAME ! , NUMBER ) EOL"));          // call with directions
    EXPECT_TRUE(accepts("NAME ( ) EOL"));
    EXPECT_TRUE(accepts("NAME ! NAME ; NUMBER EOL"));                       // output of two items
    EXPECT_TRUE(accepts("NAME ! NAME : EOL"));                               // a channel-end declaration
    EXPECT_TRUE(accepts("NAME ? NAME , NAME : EOL"));
    EXPECT_TRUE(accepts("NAME NAME , NAME : EOL"));                          // a named type
    EXPECT_TRUE(accepts("NAME IS NAME [ NUMBER ] : EOL"));                   // untyped abbreviation
    EXPECT_TRUE(accepts("[ NAME FROM NUMBER FOR NAME ] ASSIGN NAME EOL"));  // slice assignment
    EXPECT_TRUE(accepts("[ NUMBER ] [ NAME ] INT NAME : EOL"));              // array declaration
    EXPECT_TRUE(accepts("[ ] INT NAME IS NAME : EOL"));
}

TEST(Occam2Grammar, DefinitionsAndTheirLayout) {
    EXPECT_TRUE(accepts("PROC NAME ( CHAN INT NAME ? , NAME ! , VAL INT NAME , NAME ) EOL INDENT SKIP EOL OUTDENT : EOL"));
    EXPECT_TRUE(accepts("PROC NAME ( NAME ! NAME , SHARED CHAN BYTE NAME ! ) EOL INDENT SKIP EOL OUTDENT : EOL"));
    EXPECT_TRUE(accepts("INLINE PROC NAME ( ) EOL INDENT SKIP EOL OUTDENT : EOL"));
    EXPECT_TRUE(accepts("INT FUNCTION NAME ( VAL INT NAME ) IS NAME * NUMBER : EOL"));
    EXPECT_TRUE(accepts("BOOL , INT FUNCTION NAME ( VAL [ ] BYTE NAME ) EOL INDENT VALOF EOL INDENT SKIP EOL "
                        "RESULT BOOLEAN , NUMBER EOL OUTDENT OUTDENT : EOL"));
    EXPECT_TRUE(accepts("NAME FUNCTION NAME ( VAL INT NAME ) IS NAME : EOL"));
    EXPECT_TRUE(accepts("VAL INT NAME IS NUMBER : EOL VAL NAME IS NUMBER : EOL"));
    EXPECT_TRUE(accepts("PROTOCOL NAME IS INT ; INT COUNTED [ ] BYTE : EOL"));
    EXPECT_TRUE(accepts("PROTOCOL NAME EOL INDENT CASE EOL INDENT NAME EOL NAME ; BYTE EOL OUTDENT OUTDENT : EOL"));
    EXPECT_TRUE(accepts("DATA TYPE NAME EOL INDENT RECORD EOL INDENT INT NAME , NAME : EOL OUTDENT OUTDENT : EOL"));
    EXPECT_TRUE(accepts("CHAN TYPE NAME EOL INDENT MOBILE RECORD EOL INDENT CHAN INT NAME ? : EOL OUTDENT OUTDENT : EOL"));
    // A PROC nested in another before its body.
    EXPECT_TRUE(accepts("PROC NAME ( ) EOL INDENT PROC NAME ( ) EOL INDENT SKIP EOL OUTDENT : EOL "
                        "NAME ( ) EOL OUTDENT : EOL"));
}

// Where a line may be a declaration or an expression, the type word decides for the former.
TEST(Occam2Grammar, DeclarationsBeforeChoicesGuardsAndOptions) {
    EXPECT_TRUE(accepts("IF EOL INDENT INT NAME : EOL NAME = NUMBER EOL INDENT SKIP EOL OUTDENT "
                        "BOOLEAN EOL INDENT STOP EOL OUTDENT OUTDENT"));
    EXPECT_TRUE(accepts("ALT EOL INDENT BOOL NAME : EOL NAME ? NAME EOL INDENT SKIP EOL OUTDENT "
                        "( NOT NAME ) & NAME ? AFTER NAME EOL INDENT SKIP EOL OUTDENT "
                        "NAME & SKIP EOL INDENT SKIP EOL OUTDENT OUTDENT"));
    EXPECT_TRUE(accepts("CASE NAME EOL INDENT NUMBER , NUMBER EOL INDENT SKIP EOL OUTDENT "
                        "ELSE EOL INDENT SKIP EOL OUTDENT OUTDENT"));
    EXPECT_TRUE(accepts("PRI ALT NAME = NUMBER FOR NAME EOL INDENT NAME [ NAME ] ? NAME EOL INDENT SKIP EOL OUTDENT OUTDENT"));
    EXPECT_TRUE(accepts("NAME ? CASE EOL INDENT NAME ; NAME EOL INDENT SKIP EOL OUTDENT NAME EOL INDENT SKIP EOL OUTDENT OUTDENT"));
}

// One dyadic operator per bracket level, except chains of one logical operator.
TEST(Occam2Grammar, ExpressionsHaveNoPrecedence) {
    EXPECT_TRUE(accepts("NAME ASSIGN ( NAME + NAME ) * NAME EOL"));
    EXPECT_TRUE(accepts("NAME ASSIGN NAME AND NAME AND NAME EOL"));
    EXPECT_TRUE(accepts("NAME ASSIGN INT NAME EOL"));
    EXPECT_TRUE(accepts("NAME ASSIGN NAME ARITH_WORD NUMBER EOL"));
    EXPECT_TRUE(accepts("NAME ASSIGN MOSTNEG INT EOL"));
    EXPECT_TRUE(accepts("NAME ASSIGN [ NAME = NUMBER FOR NAME | NUMBER ] EOL"));
    EXPECT_FALSE(accepts("NAME ASSIGN NAME + NAME * NAME EOL"));
    EXPECT_FALSE(accepts("NAME ASSIGN NAME AND NAME OR NAME EOL"));
    EXPECT_FALSE(accepts("NAME ASSIGN - NAME + NUMBER EOL"));
}

}  // namespace
}  // namespace vrk::lalrgen
