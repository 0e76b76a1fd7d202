// The two forms of every message about the source: the classic lines, on the debug log and
// standard error alike, and the quiet style, where standard error gets located messages only.
#include <gtest/gtest.h>

#include <cstring>

#include "scanner/diagnostics.h"
#include "scanner/scanner.h"
#include "scanner/tokens.h"

namespace vrk {
namespace {

struct Streams {
  OutputBuffer log, err;
  Diagnostics classic{log, err};
  Diagnostics quiet{log, err, DiagnosticStyle{true, "p.occ"}};
};

TEST(Diagnostics, ClassicLinesGoToBothStreamsUnchanged) {
  Streams s;
  s.classic.trace("yylex: token 261 <SKIP>\n");
  s.classic.parse_error("syntax error", {token::EOL, "-- note\n", {2, 9}}, 3);
  s.classic.overlong_line(4, 253);
  s.classic.read_error(5);
  s.classic.unsupported({6, 1}, "the occam keyword NOW");
  const std::string expected =
      "yylex: token 261 <SKIP>\n"
      "ERROR <syntax error> near <-- note\n> on line 3\n"
      "ERROR <line longer than 253 characters> on line 4\n"
      "ERROR <cannot read the source file> on line 5\n";
  EXPECT_EQ(s.log.contents(), expected);
  EXPECT_EQ(s.err.contents(), expected);
}

TEST(Diagnostics, ATraceLineMadeInPlaceGoesToBothStreamsOrTheLogAloneWhenQuiet) {
  Streams s;
  std::memcpy(s.classic.reserve(40), "yylex: token 263 <\n>\n...", 24);
  s.classic.commit(21);  // the dots are not committed
  s.classic.trace("yylex: token 0 <>\n");
  std::memcpy(s.quiet.reserve(40), "yylex: token 261 <SKIP>\n", 24);
  s.quiet.commit(24);
  const std::string classic = "yylex: token 263 <\n>\nyylex: token 0 <>\n";
  EXPECT_EQ(s.log.contents(), classic + "yylex: token 261 <SKIP>\n");
  EXPECT_EQ(s.err.contents(), classic);
}

// Codes of one, two and three digits have their line starts made in advance; larger and negative
// codes are written out when they come.
TEST(Diagnostics, ATokenTraceLineSpellsAnyCodeWithItsLexeme) {
  Streams s;
  for (int code : {0, 7, 10, 99, 100, 263, 999, 1000, 65536, -1}) s.classic.trace_token(code, "x.y");
  s.classic.trace_token(301, std::string_view("\0", 1));
  constexpr char kNulLine[] = "yylex: token 301 <\0>\n";
  const std::string expected =
      "yylex: token 0 <x.y>\nyylex: token 7 <x.y>\nyylex: token 10 <x.y>\nyylex: token 99 <x.y>\n"
      "yylex: token 100 <x.y>\nyylex: token 263 <x.y>\nyylex: token 999 <x.y>\nyylex: token 1000 <x.y>\n"
      "yylex: token 65536 <x.y>\nyylex: token -1 <x.y>\n" + std::string(kNulLine, sizeof kNulLine - 1);
  EXPECT_EQ(s.log.contents(), expected);
  EXPECT_EQ(s.err.contents(), expected);
}

// A lexeme in a padded buffer is copied in whole blocks: the bytes after it never reach the line,
// whatever its length, and a quiet style still keeps the line from standard error.
TEST(Diagnostics, APaddedLexemeIsTracedLikeAnExactOne) {
  const std::string padded = std::string(40, 'w') + std::string(kCopyBlock, '#');
  std::string expected;
  Streams s;
  for (std::size_t length : {0, 1, 15, 16, 17, 40}) {
    const std::string_view lexeme(padded.data(), length);
    for (int code : {7, 263, 999, 1000}) {
      s.classic.trace_token(code, lexeme, Diagnostics::LexemeBytes::padded);
      expected += "yylex: token " + std::to_string(code) + " <" + std::string(lexeme) + ">\n";
    }
  }
  s.quiet.trace_token(261, std::string_view(padded.data(), 4), Diagnostics::LexemeBytes::padded);
  EXPECT_EQ(s.log.contents(), expected + "yylex: token 261 <wwww>\n");
  EXPECT_EQ(s.err.contents(), expected);
}

TEST(Diagnostics, QuietStyleKeepsTheLogAndLocatesEveryProblem) {
  Streams s;
  s.quiet.trace("yylex: token 261 <SKIP>\n");
  s.quiet.parse_error("pcyacc internal stack overflow", {token::SEQ, "SEQ", {66, 131}}, 66);
  s.quiet.overlong_line(4, 253);
  s.quiet.read_error(5);
  s.quiet.unsupported({6, 8}, "the occam keyword NOW");
  EXPECT_EQ(s.log.contents(),
            "yylex: token 261 <SKIP>\n"
            "ERROR <pcyacc internal stack overflow> near <SEQ> on line 66\n"
            "ERROR <line longer than 253 characters> on line 4\n"
            "ERROR <cannot read the source file> on line 5\n");
  EXPECT_EQ(s.err.contents(),
            "p.occ:66:131: error: pcyacc internal stack overflow near 'SEQ'\n"
            "p.occ:4:254: error: line longer than 253 characters\n"
            "p.occ:5: error: cannot read the source file\n"
            "p.occ:6:8: warning: the occam keyword NOW has no Handel-C counterpart; an error banner stands in its "
            "place in the output\n");
}

TEST(Diagnostics, LexemesReadableInAMessage) {
  EXPECT_EQ(readable_lexeme({token::END_OF_INPUT, "", {}}), "end of input");
  EXPECT_EQ(readable_lexeme({token::EOL, "\n", {}}), "end of line");
  EXPECT_EQ(readable_lexeme({token::EOL, "-- comment\n", {}}), "end of line");
  EXPECT_EQ(readable_lexeme({token::INDENT, "", {}}), "indent");
  EXPECT_EQ(readable_lexeme({token::OUTDENT, "", {}}), "outdent");
  EXPECT_EQ(readable_lexeme({'\t', "\t", {}}), "\\x09");
  EXPECT_EQ(readable_lexeme({'\r', "\r", {}}), "\\x0d");
  EXPECT_EQ(readable_lexeme({0x7f, "\x7f", {}}), "\\x7f");
  EXPECT_EQ(readable_lexeme({kNulByteToken, std::string_view("\0", 1), {}}), "\\x00");
  EXPECT_EQ(readable_lexeme({token::STRING, "\"a b\"", {}}), "\"a b\"");
  EXPECT_EQ(readable_lexeme({token::NAME, "caf\xc3\xa9", {}}), "caf\xc3\xa9");
}

}  // namespace
}  // namespace vrk
