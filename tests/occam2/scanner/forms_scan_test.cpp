// The occam 2 scanner's part in the occam-pi forms of real programs: ##NAME substitution, names
// nobody defined in #IF, the symbols only FUNCTIONs give a meaning, *l in strings, lines inside
// brackets left open (a VALOF operand), and the lines under #LIBRARY.
#include <gtest/gtest.h>

#include "occam2/scanner/literals.h"
#include "occam2/scanner/tokens.h"
#include "tests/occam2/scanner/token_stream.h"

namespace vrk::testing {
namespace {

using namespace occam2::token;
using Codes = std::vector<int>;

TEST(Occam2Substitution, EachValueBecomesTheTokenItIs) {
  Occam2Scan r = scan_occam2(
      "#DEFINE N 12\n#DEFINE NEG -3\n#DEFINE FLAG TRUE\n#DEFINE S \"x*ny\"\n"
      "##N ##NEG ##FLAG ##S ##TARGET.BITS.PER.WORD ##TARGET.BYTES.PER.WORD\n");
  EXPECT_EQ(r.codes(), (Codes{NUMBER, '-', NUMBER, BOOLEAN, STRING, NUMBER, NUMBER, EOL, 0}));
  EXPECT_EQ(r.lexemes(), (std::vector<std::string>{"12", "-", "3", "TRUE", "\"x*ny\"", "32", "4", "\n", ""}));
  EXPECT_EQ(occam2::string_value(r.tokens[4].lexeme), "x\ny");
  EXPECT_EQ(r.errors, 0) << r.diagnostics;
}

TEST(Occam2Substitution, ANameWithoutAValueStandsForTheEmptyStringWithAWarning) {
  Occam2Scan r = scan_occam2("#DEFINE E\nx := ##E\nout.string (##MISSING, 0)\n", quiet_style());
  EXPECT_EQ(r.codes(), (Codes{NAME, ASSIGN, STRING, EOL, NAME, '(', STRING, ',', NUMBER, ')', EOL, 0}));
  EXPECT_EQ(r.diagnostics,
            "main.occ:2:6: warning: ##E has no value; it stands for \"\"\n"
            "main.occ:3:13: warning: ##MISSING is not defined; it stands for \"\"\n");
  EXPECT_EQ(r.errors, 0);
  // A lone ## is no substitution: two characters the grammar refuses.
  EXPECT_EQ(scan_occam2("## x\n").codes(), (Codes{'#', '#', NAME, EOL, 0}));
}

TEST(Occam2Conditions, ANameNobodyDefinedCountsAsFalseWithAWarning) {
  Occam2Scan r = scan_occam2(
      "#IF FILESTACK = 0\na\n#ELIF NOT DEFINED (FILESTACK) AND (NOT FILESTACK)\nb\n#ENDIF\n"
      "#IF (FILESTACK <> 0) OR (FILESTACK = FILESTACK)\nc\n#ENDIF\n"
      "#DEFINE VENDOR \"apple\"\n#IF VENDOR = \"apple\"\nd\n#ENDIF\n#IF VENDOR < \"apple\"\ne\n#ENDIF\n",
      quiet_style());
  std::vector<std::string> names;
  for (const Occam2Token& t : r.tokens) {
    if (t.code == NAME) names.push_back(t.lexeme);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"b", "d"}));
  EXPECT_EQ(r.errors, 0) << r.diagnostics;
  // One warning per condition and name; DEFINED asks without reading the value.
  EXPECT_EQ(r.diagnostics,
            "main.occ:1:1: warning: FILESTACK is not defined; it counts as FALSE\n"
            "main.occ:3:1: warning: FILESTACK is not defined; it counts as FALSE\n"
            "main.occ:6:1: warning: FILESTACK is not defined; it counts as FALSE\n");
}

TEST(Occam2Tokens, SymbolsOnlyFunctionsGiveAMeaningAreOperators) {
  Occam2Scan r = scan_occam2("a @ b @@ c ** d [> e <] f %> g <% h ^ i $$ j == k !! l ++ m && n <& o &> p % q <@ r @> s\n");
  Codes expected;
  for (int i = 0; i < 18; ++i) {
    expected.push_back(NAME);
    expected.push_back(USER_OP);
  }
  expected.insert(expected.end(), {NAME, EOL, 0});
  EXPECT_EQ(r.codes(), expected);
  // The operators that share a first character keep their meaning.
  EXPECT_EQ(scan_occam2("a[i] <> b & c ! d ? e\n").codes(),
            (Codes{NAME, '[', NAME, ']', RELATIONAL_OP, NAME, '&', NAME, '!', NAME, '?', NAME, EOL, 0}));
}

TEST(Occam2Tokens, AStringThatBeginsWithStarLHoldsItsLengthFirst) {
  Occam2Scan r = scan_occam2("\"*lxyz\" \"*Lq\"\n");
  ASSERT_EQ(r.codes(), (Codes{STRING, STRING, EOL, 0}));
  EXPECT_EQ(occam2::string_value(r.tokens[0].lexeme), "\x03xyz");
  EXPECT_EQ(occam2::string_value(r.tokens[1].lexeme), "\x01q");
  EXPECT_EQ(r.errors, 0) << r.diagnostics;
  // Elsewhere in a string *l is no escape.
  EXPECT_EQ(scan_occam2("\"a*l\"\n", quiet_style()).errors, 1);
}

// A VALOF as an operand: the lines inside the brackets are laid out from the column of the
// bracket's first token, and the closing bracket ends the lines inside first.
TEST(Occam2Layout, LinesInsideBracketsLeftOpenStandAtTheBracketsFirstToken) {
  Occam2Scan specified = scan_occam2(
      "x := (INT r :\n"
      "      VALOF\n"
      "        r := 1\n"
      "        RESULT r\n"
      "     )\n"
      "SKIP\n");
  EXPECT_EQ(specified.codes(), (Codes{NAME, ASSIGN, '(', INT, NAME, ':', EOL, VALOF, EOL, INDENT, NAME, ASSIGN, NUMBER,
                                      EOL, RESULT, NAME, EOL, OUTDENT, ')', EOL, SKIP, EOL, 0}));
  EXPECT_EQ(specified.errors, 0) << specified.diagnostics;

  Occam2Scan same_line = scan_occam2(
      "  c[(VALOF\n"
      "       SKIP\n"
      "       RESULT 2)] := 0\n");
  EXPECT_EQ(same_line.codes(), (Codes{INDENT, NAME, '[', '(', VALOF, EOL, INDENT, SKIP, EOL, RESULT, NUMBER, EOL,
                                      OUTDENT, ')', ']', ASSIGN, NUMBER, EOL, OUTDENT, 0}));
  EXPECT_EQ(same_line.errors, 0) << same_line.diagnostics;
}

TEST(Occam2Layout, ABracketNeverClosedLeavesNoLevelBehind) {
  // The unclosed line ends as before (the parser reports it); the next line is laid out as if the
  // bracket had not been.
  Occam2Scan r = scan_occam2("SEQ\n  x := (a\n  y := 1\n");
  EXPECT_EQ(r.codes(), (Codes{SEQ, EOL, INDENT, NAME, ASSIGN, '(', NAME, EOL, NAME, ASSIGN, NUMBER, EOL, OUTDENT, 0}));
  EXPECT_EQ(r.errors, 0) << r.diagnostics;
  Occam2Scan at_end = scan_occam2("x := (VALOF\n        SKIP\n");
  EXPECT_EQ(at_end.codes(), (Codes{NAME, ASSIGN, '(', VALOF, EOL, INDENT, SKIP, EOL, OUTDENT, 0}));
}

TEST(Occam2Directives, TheLinesIndentedUnderLibraryAreSkippedWithIt) {
  Occam2Scan r = scan_occam2("#LIBRARY \"compiler\"\n  NATIVELIB \"libcompiler.so\"\n  -- kept\nSKIP\n  NATIVE\n",
                             quiet_style());
  EXPECT_EQ(r.codes(), (Codes{SKIP, EOL, INDENT, NAME, EOL, OUTDENT, 0}));
  EXPECT_EQ(r.comments, " kept\n");
  EXPECT_EQ(r.diagnostics, "main.occ:1:1: warning: directive #LIBRARY skipped\n");
}

}  // namespace
}  // namespace vrk::testing
