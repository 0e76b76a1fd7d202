// Line-level behaviour of the scanner: indentation into INDENT/OUTDENT, blank and comment lines,
// line ends, the end of the input, over-long lines and the token trace.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/scanner/token_stream.h"

namespace vrk::testing {
namespace {

using namespace code;

struct LayoutCase {
  const char* name;
  std::string source;
  std::vector<int> codes;
};

TEST(ScannerLayout, IndentationGivesOneBlockTokenPerStep) {
  const std::vector<LayoutCase> cases = {
      {"0,2,4,2,0 spaces", "SEQ\n  SEQ\n    SKIP\n  SKIP\nSKIP\n",
       {kSeq, kEol, kIndent, kSeq, kEol, kIndent, kSkip, kEol, kOutdent, kSkip, kEol, kOutdent, kSkip, kEol, kEnd}},
      {"0 then 4 spaces", "SEQ\n    SKIP\n", {kSeq, kEol, kIndent, kIndent, kSkip, kEol, kOutdent, kOutdent, kEnd}},
      {"3 spaces are one level", "SEQ\n   SKIP\n", {kSeq, kEol, kIndent, kSkip, kEol, kOutdent, kEnd}},
      {"two levels back at once", "SEQ\n  SEQ\n    SKIP\nSTOP\n",
       {kSeq, kEol, kIndent, kSeq, kEol, kIndent, kSkip, kEol, kOutdent, kOutdent, kStop, kEol, kEnd}},
      {"end of input inside three blocks", "SEQ\n  SEQ\n    SEQ\n      SKIP\n",
       {kSeq, kEol, kIndent, kSeq, kEol, kIndent, kSeq, kEol, kIndent, kSkip, kEol, kOutdent, kOutdent, kOutdent,
        kEnd}},
      {"a tab is a token, not indentation", "SEQ\n\tSKIP\n", {kSeq, kEol, '\t', kSkip, kEol, kEnd}},
      {"a tab after the indentation", "SEQ\n  \tSKIP\n", {kSeq, kEol, kIndent, '\t', kSkip, kEol, kOutdent, kEnd}},
  };
  for (const LayoutCase& c : cases) {
    EXPECT_EQ(scan(c.source).codes(), c.codes) << c.name;
  }
}

// Each token's line is the one it stands on (an end of line too, though the line number has
// moved on), its column the 1-based byte where it starts; the end of the input and the OUTDENTs
// that close the last blocks stand at column 1 of the line after the last.
TEST(ScannerLayout, TokensKnowTheLineAndColumnWhereTheyStart) {
  ScanResult r = scan("SEQ\n-- note\n\n  x  := 1 -- one\n   y\tz\n");
  using Place = std::pair<int, int>;
  std::vector<std::pair<int, Place>> places;
  for (const ScannedToken& t : r.tokens) places.push_back({t.code, {t.token_line, t.token_column}});
  const std::vector<std::pair<int, Place>> expected = {
      {kSeq, {1, 1}},  {kEol, {1, 4}},   {kIndent, {4, 3}}, {kName, {4, 3}}, {':', {4, 6}},
      {'=', {4, 7}},   {kNumber, {4, 9}}, {kEol, {4, 11}},  {kName, {5, 4}}, {'\t', {5, 5}},
      {kName, {5, 6}}, {kEol, {5, 7}},    {kOutdent, {6, 1}}, {kEnd, {6, 1}},
  };
  EXPECT_EQ(places, expected);
}

TEST(ScannerLayout, IndentationIsNotPartOfTheLexeme) {
  ScanResult r = scan("SEQ\n   SKIP\n");
  EXPECT_EQ(r.at(2).lexeme, "");  // INDENT
  EXPECT_EQ(r.at(3).lexeme, "SKIP");
  EXPECT_EQ(r.at(4).lexeme, "\n");
  EXPECT_EQ(r.at(5).lexeme, "");  // OUTDENT
  EXPECT_EQ(r.at(6).lexeme, "");  // end of input
}

TEST(ScannerLayout, BlankAndSpaceOnlyLinesVanishButCount) {
  // Line 2 is empty, lines 4 and 5 hold only spaces (one deeper than any block, one shallower).
  ScanResult r = scan("SEQ\n\n  SKIP\n      \n \n  STOP\n");
  EXPECT_EQ(r.codes(), (std::vector<int>{kSeq, kEol, kIndent, kSkip, kEol, kStop, kEol, kOutdent, kEnd}));
  EXPECT_EQ(r.at(1).line, 2);  // EOL of line 1
  EXPECT_EQ(r.at(3).line, 3);  // SKIP
  EXPECT_EQ(r.at(5).line, 6);  // STOP
  EXPECT_EQ(r.at(6).line, 7);
  EXPECT_TRUE(r.fragments.empty());
}

TEST(ScannerLayout, WholeLineCommentsBecomeCCommentsOneFragmentEach) {
  // A comment before the first token, one indented deeper than its block, one with CRLF.
  ScanResult r = scan("-- hi\nSEQ\n    -- x*/\n  SKIP\n  -- a\r\n");
  EXPECT_EQ(r.codes(), (std::vector<int>{kSeq, kEol, kIndent, kSkip, kEol, kOutdent, kEnd}));
  EXPECT_EQ(r.at(0).line, 2);
  EXPECT_EQ(r.at(3).line, 4);
  EXPECT_EQ(r.at(6).line, 6);
  const std::vector<std::string> expected = {"\n\n/*  hi */\n\n", "\n\n/*  x*/ */\n\n", "\n\n/*  a */\n\n"};
  EXPECT_EQ(r.fragments, expected);
}

TEST(ScannerLayout, CommentOnTheLastLineWithoutLineFeed) {
  ScanResult r = scan("SKIP\n--e");
  EXPECT_EQ(r.codes(), (std::vector<int>{kSkip, kEol, kEnd}));
  EXPECT_EQ(r.fragments, (std::vector<std::string>{"\n\n/* e */\n\n"}));
  EXPECT_EQ(r.at(2).line, 3);
}

TEST(ScannerLayout, EmptyAndTokenlessSourcesDeliverOnlyEndOfInput) {
  ScanResult empty = scan("");
  EXPECT_EQ(empty.codes(), std::vector<int>{kEnd});
  EXPECT_EQ(empty.at(0).line, 1);
  EXPECT_TRUE(empty.fragments.empty());  // the closing of main is appended by the translation
  EXPECT_EQ(empty.debug_log, "yylex: token 0 <>\n");

  ScanResult blank = scan("\n   \n\n");
  EXPECT_EQ(blank.codes(), std::vector<int>{kEnd});
  EXPECT_EQ(blank.at(0).line, 4);
}

TEST(ScannerLayout, LineEndsAreNormalised) {
  ScanResult crlf = scan("SEQ\r\n  SKIP\r\n");
  EXPECT_EQ(crlf.codes(), scan("SEQ\n  SKIP\n").codes());
  EXPECT_EQ(crlf.at(1).lexeme, "\n");
  EXPECT_EQ(crlf.at(4).lexeme, "\n");

  ScanResult unterminated = scan("SEQ\n  SKIP");
  EXPECT_EQ(unterminated.codes(), (std::vector<int>{kSeq, kEol, kIndent, kSkip, kEol, kOutdent, kEnd}));
  EXPECT_EQ(unterminated.at(4).lexeme, "\n");
  EXPECT_EQ(unterminated.at(4).line, 3);

  // A carriage return that does not end a line is an ordinary character.
  EXPECT_EQ(scan("a\rb\n").codes(), (std::vector<int>{kName, '\r', kName, kEol, kEnd}));
}

TEST(ScannerLayout, LongestAcceptedLine) {
  const std::string word(253, 'x');
  for (const std::string& ending : {std::string("\n"), std::string("\r\n"), std::string()}) {
    ScanResult r = scan(word + ending);
    EXPECT_EQ(r.stop_status, 0);
    EXPECT_EQ(r.codes(), (std::vector<int>{kName, kEol, kEnd}));
    EXPECT_EQ(r.at(0).lexeme, word);
  }
}

TEST(ScannerLayout, OverlongLineStopsTheScanner) {
  // The first line is long enough to live outside the line buffer's inline storage, so that a
  // lexeme still pointing into it would be caught once the over-long line replaces it.
  const std::string first = "x := 12345678901234567890";
  const std::string text(254, 'x');
  ScanResult r = scan(first + "\n" + text + "\nSTOP\n");
  EXPECT_EQ(r.stop_status, 1);
  EXPECT_EQ(r.codes(), (std::vector<int>{kName, ':', '=', kNumber, kEol, kEnd}));
  EXPECT_EQ(r.tokens.back().lexeme, "");
  EXPECT_EQ(r.fragments, std::vector<std::string>{"\n\n line <" + text + "> longer than 256 \n\n"});
  const std::string report = "ERROR <line longer than 253 characters> on line 2\n";
  const std::string expected_log = trace_line(kName, "x") + trace_line(':', ":") + trace_line('=', "=") +
                                   trace_line(kNumber, "12345678901234567890") + trace_line(kEol, "\n") + report;
  EXPECT_EQ(r.debug_log, expected_log);
  EXPECT_EQ(r.diagnostics, expected_log);

  // Blank and comment lines before it count for the line number.
  ScanResult late = scan("\n-- c\n" + std::string(300, ' ') + "x\n");
  EXPECT_EQ(late.stop_status, 1);
  EXPECT_EQ(late.codes(), std::vector<int>{kEnd});
  EXPECT_EQ(late.debug_log, "ERROR <line longer than 253 characters> on line 3\n");
}

TEST(ScannerLayout, EveryTokenIsTracedOnBothStreamsInOrder) {
  ScanResult r = scan("SEQ\n  x := #1F -- c\n");
  const std::string expected = "yylex: token 279 <SEQ>\n"
                               "yylex: token 263 <\n>\n"
                               "yylex: token 285 <>\n"
                               "yylex: token 262 <x>\n"
                               "yylex: token 58 <:>\n"
                               "yylex: token 61 <=>\n"
                               "yylex: token 269 <#1F>\n"
                               "yylex: token 263 <-- c\n>\n"
                               "yylex: token 286 <>\n"
                               "yylex: token 0 <>\n";
  EXPECT_EQ(r.debug_log, expected);
  EXPECT_EQ(r.diagnostics, expected);
}

}  // namespace
}  // namespace vrk::testing
