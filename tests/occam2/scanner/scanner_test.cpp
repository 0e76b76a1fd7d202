// The occam 2 scanner on in-memory sources: layout tokens over logical lines, line and string
// continuation, comments, tokens with their Handel-C spellings, the trace and hostile input.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "occam2/scanner/literals.h"
#include "occam2/scanner/tokens.h"
#include "scanner/scanner.h"
#include "tests/common/files.h"
#include "tests/occam2/scanner/token_stream.h"

namespace vrk::testing {
namespace {

using namespace occam2::token;
using Codes = std::vector<int>;

struct LayoutCase {
  const char* name;
  std::string source;
  Codes codes;
};

void expect_codes(const std::vector<LayoutCase>& cases) {
  for (const LayoutCase& c : cases) {
    Occam2Scan r = scan_occam2(c.source);
    EXPECT_EQ(r.codes(), c.codes) << c.name;
    EXPECT_EQ(r.errors, 0) << c.name << "\n" << r.diagnostics;
  }
}

TEST(Occam2Layout, IndentationGivesIndentOutdentAndEndOfLine) {
  expect_codes({
      {"nested blocks, closed one by one and two at once",
       "SEQ\n  x := 1\n  PAR\n    SKIP\nSTOP\n",
       {SEQ, EOL, INDENT, NAME, ASSIGN, NUMBER, EOL, PAR, EOL, INDENT, SKIP, EOL, OUTDENT, OUTDENT, STOP, EOL, 0}},
      {"open blocks closed at the end, no line feed at the end",
       "SEQ\n  SEQ\n    SKIP",
       {SEQ, EOL, INDENT, SEQ, EOL, INDENT, SKIP, EOL, OUTDENT, OUTDENT, 0}},
      {"tabs reach the next multiple of eight (tab+2 is column 10)",
       "A\n  B\n    C\n      D\n\tE\n   \t  F\n",
       {NAME, EOL, INDENT, NAME, EOL, INDENT, NAME, EOL, INDENT, NAME, EOL, INDENT, NAME, EOL, INDENT, NAME, EOL,
        OUTDENT, OUTDENT, OUTDENT, OUTDENT, OUTDENT, 0}},
      {"blank, white and comment lines at any column are no layout",
       "SEQ\n\n-- top\n      -- deep\n \t\r\f\n  x\n   -- odd\n  y\n",
       {SEQ, EOL, INDENT, NAME, EOL, NAME, EOL, OUTDENT, 0}},
      {"an empty source", "\n-- only a comment\n", {0}},
  });
}

TEST(Occam2Layout, LinesEndingInAnOperatorOrSeparatorGoOnWhateverTheirIndentation) {
  expect_codes({
      {"after ',' and '('", "p (a,\n   b)\nSKIP\n", {NAME, '(', NAME, ',', NAME, ')', EOL, SKIP, EOL, 0}},
      {"after ':=' on a less indented line", "SEQ\n  x :=\n y\n  SKIP\n",
       {SEQ, EOL, INDENT, NAME, ASSIGN, NAME, EOL, SKIP, EOL, OUTDENT, 0}},
      {"after IS, over a comment line", "VAL x IS\n-- note\n    [1]:\nSKIP\n",
       {VAL, NAME, IS, '[', NUMBER, ']', ':', EOL, SKIP, EOL, 0}},
      {"after '+' and AND", "b := (x AND\n  y) +\n  1\n",
       {NAME, ASSIGN, '(', NAME, AND, NAME, ')', '+', NUMBER, EOL, 0}},
      {"a continuation line may start with a hex number", "x := #F5C5 +\n  #00FF\n",
       {NAME, ASSIGN, NUMBER, '+', NUMBER, EOL, 0}},
      {"'?' ends a line", "CLAIM c?\n  SKIP\n", {CLAIM, NAME, '?', EOL, INDENT, SKIP, EOL, OUTDENT, 0}},
      {"')' and ':' end lines", "f (x)\n  INT y:\n", {NAME, '(', NAME, ')', EOL, INDENT, INT, NAME, ':', EOL, OUTDENT, 0}},
      {"a trailing comment does not hide the ','", "p (a, -- first\n   b)\n", {NAME, '(', NAME, ',', NAME, ')', EOL, 0}},
      {"a statement cut off at the end", "x :=\n", {NAME, ASSIGN, EOL, 0}},
  });
}

// Tokens stand where they are in their physical line, counted in bytes from 1; an EOL after the
// last token; INDENT and OUTDENT at the token they come before; the end after the last line.
TEST(Occam2Layout, TokensKeepTheirOwnLinesAndColumns) {
  Occam2Scan r = scan_occam2("SEQ\n\tp (a, -- x\n  b)\n");
  std::vector<std::vector<int>> places;
  for (const Occam2Token& t : r.tokens) places.push_back({t.code, t.line, t.column});
  EXPECT_EQ(places, (std::vector<std::vector<int>>{{SEQ, 1, 1}, {EOL, 1, 4}, {INDENT, 2, 2}, {NAME, 2, 2},
                                                   {'(', 2, 4}, {NAME, 2, 5}, {',', 2, 6}, {NAME, 3, 3},
                                                   {')', 3, 4}, {EOL, 3, 5}, {OUTDENT, 4, 1}, {0, 4, 1}}));
  EXPECT_EQ(r.errors, 1);  // the tab puts p at column 8
}

// A whole-line comment keeps its text after "--", each line ending in a line feed; a comment
// after code is dropped.
TEST(Occam2Layout, WholeLineCommentsKeepTheirText) {
  Occam2Scan r = scan_occam2("-- a */ b\nSEQ -- after code: dropped\n    --{{{ fold\n  SKIP\n");
  EXPECT_EQ(r.comments, " a */ b\n{{{ fold\n");
}

TEST(Occam2Layout, BadIndentationIsReportedOnItsLineAndTakenAsOneLevel) {
  // Line 2 is three columns in, line 4 stands between the open levels 0 and 3.
  std::string source = "SEQ\n   x\n     y\n  z\n";
  Occam2Scan quiet = scan_occam2(source, quiet_style());
  EXPECT_EQ(quiet.codes(), (Codes{SEQ, EOL, INDENT, NAME, EOL, INDENT, NAME, EOL, OUTDENT, OUTDENT, INDENT, NAME,
                                  EOL, OUTDENT, 0}));
  EXPECT_EQ(quiet.errors, 2);
  EXPECT_EQ(quiet.diagnostics, "main.occ:2:4: error: bad indentation\nmain.occ:4:3: error: bad indentation\n");
  Occam2Scan classic = scan_occam2(source);
  EXPECT_NE(classic.diagnostics.find("ERROR <bad indentation> near <x> on line 2\n"), std::string::npos);
  EXPECT_NE(classic.debug_log.find("ERROR <bad indentation> near <z> on line 4\n"), std::string::npos);
}

struct Scanned {
  std::string source;
  int code;
};

// Each source is one token of the code given, its lexeme the source as written.
void expect_single_tokens(const std::vector<Scanned>& cases) {
  for (const Scanned& c : cases) {
    Occam2Scan r = scan_occam2(c.source + "\n");
    ASSERT_GE(r.tokens.size(), 2u) << c.source;
    EXPECT_EQ(r.tokens[0].code, c.code) << c.source;
    EXPECT_EQ(r.tokens[0].lexeme, c.source);
    EXPECT_EQ(r.tokens[1].code, EOL) << c.source << " is not one token";
    EXPECT_EQ(r.errors, 0) << c.source;
  }
}

TEST(Occam2Tokens, OperatorsByLongestMatch) {
  expect_single_tokens({
      {":=", ASSIGN}, {"::", COUNTED}, {"??", XINPUT}, {"<<", SHIFT_OP}, {">>", SHIFT_OP}, {"<", RELATIONAL_OP},
      {">", RELATIONAL_OP}, {"<=", RELATIONAL_OP}, {">=", RELATIONAL_OP}, {"<>", RELATIONAL_OP}, {"=", '='},
      {"/\\", BIT_OP}, {"\\/", BIT_OP}, {"><", BIT_OP}, {"~", '~'}, {"\\", '\\'}, {"/", '/'}, {"+", '+'},
      {"-", '-'}, {"*", '*'}, {"?", '?'}, {"!", '!'}, {":", ':'}, {"&", '&'}, {"|", '|'}, {"$", '$'},
      {"BITAND", BIT_OP}, {"BITOR", BIT_OP}, {"BITNOT", BITNOT}, {"REM", ARITH_WORD}, {"PLUS", ARITH_WORD},
      {"TIMES", ARITH_WORD}, {"MINUS", MINUS}, {"AFTER", AFTER}, {"NOT", NOT}, {"AND", AND}, {"TRUNC", ROUND},
      {"RESHAPES", RETYPES}, {"REC", RECURSIVE}, {"VECSPACE", WORKSPACE}, {"TRUE", BOOLEAN},
  });
}

// Names keep their dots and are never respelt: choosing the target's names is left to later passes.
TEST(Occam2Tokens, NamesAndNumbers) {
  expect_single_tokens({
      {"PRI.ALT", NAME}, {"out.0", NAME}, {"d..entry", NAME}, {"Par", NAME}, {"main", NAME}, {"int", NAME},
      {"chanin", NAME}, {"x1", NAME}, {"42", NUMBER}, {"#FF", NUMBER}, {"1.5", REAL_NUMBER},
      {"1.0E-8", REAL_NUMBER}, {"8.6E+1", REAL_NUMBER},
  });
  EXPECT_EQ(scan_occam2("1.x\n").codes(), (Codes{NUMBER, '.', NAME, EOL, 0}));
  EXPECT_EQ(scan_occam2("##N\n").codes(), (Codes{STRING, EOL, 0}));  // a substitution of a name nobody defined
}

TEST(Occam2Tokens, CharacterLiterals) {
  expect_single_tokens({
      {"'a'", CHARACTER}, {"'*n'", CHARACTER}, {"'*c'", CHARACTER}, {"'*T'", CHARACTER}, {"'*''", CHARACTER},
      {"'*\"'", CHARACTER}, {"'**'", CHARACTER}, {"'*#41'", CHARACTER}, {"'\\'", CHARACTER}, {"'#'", CHARACTER},
      {"'-'", CHARACTER},
  });
}

// A string is delivered as written; the bytes it stands for are string_value's.
TEST(Occam2Tokens, StringLiteralsAndTheBytesTheyStandFor) {
  struct Case {
    std::string source, bytes;
  };
  const std::vector<Case> cases = {
      {"\"\"", ""}, {"\"a*nb*c*t\"", "a\nb\r\t"}, {"\"say *\"hi*\"\"", "say \"hi\""}, {"\"C:\\dir\"", "C:\\dir"},
      {"\"it*'s **\"", "it's *"}, {"\"----||\"", "----||"}, {"\"*#41BC*#0Ag\"", "ABC\ng"}, {"\"*s*N*T\"", " \n\t"},
  };
  for (const Case& c : cases) {
    expect_single_tokens({{c.source, STRING}});
    EXPECT_EQ(occam2::string_value(c.source), c.bytes) << c.source;
  }
}

TEST(Occam2Tokens, AStringGoesOnOverLinesThatStartWithAnAsterisk) {
  Occam2Scan r = scan_occam2("x := \"hello there*  \n\n     *more*n string\" ; y\nSKIP\n");
  EXPECT_EQ(r.codes(), (Codes{NAME, ASSIGN, STRING, ';', NAME, EOL, SKIP, EOL, 0}));
  EXPECT_EQ(r.tokens[2].lexeme, "\"hello theremore*n string\"");
  EXPECT_EQ(r.tokens[2].line, 1);
  EXPECT_EQ(r.tokens[4].line, 3);
  EXPECT_EQ(r.tokens[6].line, 4);
  EXPECT_EQ(r.errors, 0);
}

// The tokens before a continued string keep their characters when the scanner moves on to the
// line that continues it, and the tokens after it come from that line.
TEST(Occam2Tokens, TokensAroundAContinuedStringKeepTheirLexemes) {
  const std::string tail(300, 'n');
  Occam2Scan r = scan_occam2("a.b := #1F + main + \"x*\n  *y\" + in + " + tail + "\n");
  std::vector<std::vector<std::string>> seen;
  for (const Occam2Token& t : r.tokens) seen.push_back({t.lexeme, std::to_string(t.line)});
  EXPECT_EQ(seen, (std::vector<std::vector<std::string>>{
                      {"a.b", "1"}, {":=", "1"}, {"#1F", "1"}, {"+", "1"}, {"main", "1"}, {"+", "1"}, {"\"xy\"", "1"},
                      {"+", "2"}, {"in", "2"}, {"+", "2"}, {tail, "2"}, {"\n", "2"}, {"", "3"}}));
  EXPECT_EQ(r.errors, 0);
}

TEST(Occam2Tokens, MalformedLiteralsAreReportedAndScanningGoesOn) {
  struct Case {
    std::string source;
    Codes codes;
  };
  const std::vector<Case> cases = {
      {"x := 'ab\n", {NAME, ASSIGN, NAME, EOL, 0}},
      {"x := \"open -- no comment\nSKIP\n", {NAME, ASSIGN, STRING, EOL, SKIP, EOL, 0}},
      {"x := \"go on*\nSKIP\n", {NAME, ASSIGN, STRING, EOL, SKIP, EOL, 0}},
      {"x := \"a*qb\"\n", {NAME, ASSIGN, STRING, EOL, 0}},
  };
  for (const Case& c : cases) {
    Occam2Scan r = scan_occam2(c.source);
    EXPECT_EQ(r.codes(), c.codes) << c.source;
    EXPECT_EQ(r.errors, 1) << c.source;
  }
  EXPECT_EQ(scan_occam2("\"open\n").tokens[0].lexeme, "\"open");
}

TEST(Occam2Tokens, EveryByteScansAndANulByteIsATokenOfItsOwn) {
  EXPECT_EQ(scan_occam2(std::string("x\0y\n", 4)).codes(), (Codes{NAME, kNulByteToken, NAME, EOL, 0}));
  std::string bytes;
  for (int round = 0; round < 3; ++round) {
    for (int b = 0; b < 256; ++b) bytes += static_cast<char>(b * 7 + round);
  }
  Occam2Scan r = scan_occam2(bytes);
  ASSERT_FALSE(r.tokens.empty());
  EXPECT_EQ(r.tokens.back().code, 0);
}

TEST(Occam2Tokens, EveryTokenIsTracedWholeHoweverLong) {
  std::string long_name(100000, 'n');
  Occam2Scan r = scan_occam2("SEQ\n  " + long_name + "\n");
  EXPECT_EQ(r.debug_log, "yylex: token 279 <SEQ>\nyylex: token 263 <\n>\nyylex: token 285 <>\nyylex: token 262 <" +
                             long_name + ">\nyylex: token 263 <\n>\nyylex: token 286 <>\nyylex: token 0 <>\n");
  EXPECT_EQ(r.diagnostics, r.debug_log);
  EXPECT_EQ(scan_occam2("SKIP\n", quiet_style()).diagnostics, "");
}

// Lexemes that end where the text read so far ends (the last bytes of a line, of a part of a long
// line, of a line a string goes on to, of the input) are traced with nothing after them.
TEST(Occam2Tokens, TokensAtTheEndOfWhatWasReadAreTracedExactly) {
  const std::string sixteen = "abcdefghijklmnop";
  const std::string part_end = "x :=" + std::string(Occam2Scanner::kWindowPart - 6, ' ') + "yy";
  Occam2Scan r = scan_occam2("VAL s IS \"ab*\n  *cd\":\n" + sixteen + "\n" + sixteen + "q\n" + part_end + "\nz");
  EXPECT_EQ(r.lexemes(), (std::vector<std::string>{"VAL", "s", "IS", "\"abcd\"", ":", "\n", sixteen, "\n", sixteen + "q",
                                                    "\n", "x", ":=", "yy", "\n", "z", "\n", ""}));
  std::string expected;
  for (const Occam2Token& token : r.tokens) {
    expected += "yylex: token " + std::to_string(token.code) + " <" + token.lexeme + ">\n";
  }
  EXPECT_EQ(r.debug_log, expected);
}

// A line that comes back from forty levels at once gets forty OUTDENTs before its first token,
// however many tokens are waiting to be delivered.
TEST(Occam2Layout, ALineClosingManyLevelsGetsAnOutdentForEach) {
  constexpr int kLevels = 40;
  std::string source;
  Codes expected;
  for (int level = 0; level < kLevels; ++level) {
    source += std::string(static_cast<std::size_t>(2 * level), ' ') + "SEQ\n";
    if (level > 0) expected.push_back(INDENT);
    expected.insert(expected.end(), {SEQ, EOL});
  }
  source += std::string(2 * kLevels, ' ') + "SKIP\nSKIP\n";
  expected.insert(expected.end(), {INDENT, SKIP, EOL});
  expected.insert(expected.end(), kLevels, OUTDENT);
  expected.insert(expected.end(), {SKIP, EOL, 0});
  Occam2Scan r = scan_occam2(source);
  EXPECT_EQ(r.codes(), expected);
  EXPECT_EQ(r.errors, 0) << r.diagnostics;
}

class Occam2LongLines : public TempDirTest {
 protected:
  Occam2LongLines() : TempDirTest("occam2-long-lines") {}
};

// A line is read in parts of 64 KiB into a window that is dropped behind the tokens. Lines of
// tokens of every kind, each line shifted by one more byte, put each kind of token (and a blank,
// a "\r\n", a continued string) across the edge of a part: every token keeps its lexeme and
// column, and the whole-line comment that ends near an edge keeps its text without the CR.
// Read from a file, whose blocks have edges of their own, the tokens are the same.
TEST_F(Occam2LongLines, TokensAcrossTheEdgesOfTheWindowKeepTheirCharactersAndColumns) {
  struct Piece {
    std::string lexeme;
    int code;
  };
  const std::vector<Piece> pieces = {
      {"ab.c", NAME},           {"#FF", NUMBER},    {"1.5E+3", REAL_NUMBER}, {"'*#41'", CHARACTER}, {"\"a*nb\"", STRING},
      {"<>", RELATIONAL_OP},    {":=", ASSIGN},     {"int", NAME},           {"\\", '\\'},
  };
  struct Expected {
    int code;
    std::string lexeme;
    int line, column;
  };
  std::string source;
  std::vector<Expected> expected;
  for (int line = 1; line <= 9; ++line) {
    std::string text(static_cast<std::size_t>(line), ' ');
    text.insert(0, "x");
    expected.push_back({NAME, "x", line, 1});
    for (std::size_t i = 0; text.size() < 3 * 65536 + 100; ++i) {
      const Piece& p = pieces[(i + static_cast<std::size_t>(line)) % pieces.size()];
      expected.push_back({p.code, p.lexeme, line, static_cast<int>(text.size()) + 1});
      text += p.lexeme + std::string(1 + i % 3, ' ');
    }
    expected.push_back({NAME, "end", line, static_cast<int>(text.size()) + 1});
    text += "end";
    expected.push_back({EOL, "\n", line, static_cast<int>(text.size()) + 1});
    source += text + "\r\n";
  }
  const std::string comment = std::string(65536 - 3, 'c');  // "--", the text, "\r": the part's last byte is the CR
  source += "--" + comment + "\r\nz\n";
  Occam2Scan r = scan_occam2(source);
  ASSERT_EQ(r.tokens.size(), expected.size() + 3);
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const Occam2Token& got = r.tokens[i];
    const Expected& want = expected[i];
    ASSERT_EQ((std::vector<std::string>{std::to_string(got.code), got.lexeme, std::to_string(got.line),
                                        std::to_string(got.column)}),
              (std::vector<std::string>{std::to_string(want.code), want.lexeme, std::to_string(want.line),
                                        std::to_string(want.column)}))
        << "token " << i;
  }
  EXPECT_EQ(r.comments, comment + "\n");
  EXPECT_EQ(r.errors, 0) << r.diagnostics.substr(0, 300);
  write_file(dir_ / "long.occ", source);
  Occam2ScanSettings from_file;
  from_file.source_path = (dir_ / "long.occ").string();
  Occam2Scan f = scan_occam2_file(from_file);
  EXPECT_EQ(f.codes(), r.codes());
  EXPECT_EQ(f.lexemes(), r.lexemes());
  EXPECT_EQ(f.comments, r.comments);
}

// A string continued from the end of a line longer than a part, a line of blanks longer than a
// part before the line that continues it, and a token after a run of blanks longer than a part.
TEST_F(Occam2LongLines, StringsAndBlanksLongerThanAPart) {
  const std::string start(70000, 's'), blanks(70000, ' ');
  Occam2Scan r = scan_occam2("x := \"" + start + "*\n" + blanks + "\n" + blanks + "*t\" ," + blanks + "y\n");
  EXPECT_EQ(r.codes(), (Codes{NAME, ASSIGN, STRING, ',', NAME, EOL, 0}));
  EXPECT_EQ(r.tokens[2].lexeme, "\"" + start + "t\"");
  EXPECT_EQ((std::vector<int>{r.tokens[4].line, r.tokens[4].column}), (std::vector<int>{3, 70000 + 5 + 70000 + 1}));
  EXPECT_EQ(r.errors, 0) << r.diagnostics.substr(0, 300);
}

// A VALOF operand whose line goes on for more than a part after it: the column its lines are laid
// out from is that of the VALOF, counted (tabs expanded) before the window drops it.
TEST_F(Occam2LongLines, ABracketLevelOpenedOnALineLongerThanAPartKeepsItsColumn) {
  const std::string tail(70000, ' ');
  const Codes laid_out{NAME, ASSIGN, '(', VALOF, EOL, INDENT, SKIP, EOL, OUTDENT, 0};
  Occam2Scan spaces = scan_occam2("x := (VALOF" + tail + "\n        SKIP\n");
  EXPECT_EQ(spaces.codes(), laid_out);
  EXPECT_EQ(spaces.errors, 0) << spaces.diagnostics.substr(0, 300);
  // "x :=" and a tab reach column 8: the VALOF stands in column 9, its lines in column 11.
  Occam2Scan tab = scan_occam2("x :=\t(VALOF" + tail + "\n           SKIP\n");
  EXPECT_EQ(tab.codes(), laid_out);
  EXPECT_EQ(tab.errors, 0) << tab.diagnostics.substr(0, 300);
  // One column less is an indentation by one column: reported.
  Occam2Scan shallow = scan_occam2("x :=\t(VALOF" + tail + "\n          SKIP\n");
  EXPECT_EQ(shallow.errors, 1);
}

}  // namespace
}  // namespace vrk::testing
