// The parse engine seen through whole translations: acceptance, error reports, resynchronisation
// at the next line, abandoned parses and the depth of the state stack.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/common/translate.h"
#include "tests/parser/parse_run.h"

namespace vrk::testing {
namespace {

using Lines = std::vector<std::string>;

TEST(ParseEngine, InputWithoutTokensIsOneSyntaxErrorAndAbandoned) {
  struct Case {
    const char* source;
    int line;
  };
  for (const Case& c : {Case{"", 1}, Case{"\n  \n", 3}, Case{"-- nothing here\n", 2}}) {
    TranslationRun run = translate(c.source);
    EXPECT_EQ(run.status, 1) << c.source;
    EXPECT_EQ(error_lines(run), Lines{syntax_error("", c.line)}) << c.source;
    EXPECT_EQ(run.output, abandoned_output()) << c.source;
  }
  TranslationRun empty = translate("");
  EXPECT_EQ(empty.debug_log, "yylex: token 0 <>\n" + syntax_error("", 1));
  EXPECT_EQ(empty.diagnostics, empty.debug_log);
}

TEST(ParseEngine, SingleSkipIsAccepted) {
  for (const char* source : {"SKIP\n", "SKIP"}) {
    TranslationRun run = translate(source);
    EXPECT_EQ(run.status, 0) << source;
    EXPECT_EQ(run.output, expected_output("skip;\n")) << source;
    EXPECT_EQ(run.debug_log, "yylex: token 261 <SKIP>\nyylex: token 263 <\n>\nyylex: token 0 <>\n") << source;
  }
}

TEST(ParseEngine, ErrorInsideABlockResynchronisesAtTheNextLine) {
  struct Case {
    const char* name;
    const char* source;
    std::string error;
    std::string text;  // the program's translation
  };
  const std::vector<Case> cases = {
      // The first skip never gets its ";\n": the line's end was discarded with the second SKIP.
      {"two SKIPs on a line", "SEQ\n  SKIP SKIP\n  STOP\n", syntax_error("SKIP", 2), "skipstop;\n"},
      // The offending token is the line end, whose line has already been counted.
      {"line end", "SEQ\n  x :=\n  SKIP\n", syntax_error("\n", 3), "x = skip;\n"},
      {"trailing comment", "SEQ\n  x := -- no value\n  SKIP\n", syntax_error("-- no value\n", 3), "x = skip;\n"},
      // The rest of the line is discarded, its tokens' scanner output included (none here).
      {"rest of line", "SEQ\n  x := 1 2 3\n  y := 4\n", syntax_error("2", 2), "x = 1y = 4;\n"},
  };
  for (const Case& c : cases) {
    TranslationRun run = translate(c.source);
    EXPECT_EQ(run.status, 1) << c.name;
    EXPECT_EQ(error_lines(run), Lines{c.error}) << c.name;
    EXPECT_EQ(run.diagnostics, run.debug_log) << c.name;
    EXPECT_EQ(run.output, expected_output(c.text)) << c.name;
  }
}

TEST(ParseEngine, ErrorWithNothingToResumeAbandonsTheParse) {
  // Once the program is complete, no state on the stack can take the `error` token; a process
  // missing at the end of the input leaves recovery nothing to discard.
  struct Case {
    const char* source;
    std::string error;
  };
  const std::vector<Case> cases = {
      {"SKIP\nSKIP\n", syntax_error("SKIP", 2)},
      {"SKIP\n  SKIP\n", syntax_error("", 2)},
      {"x := 1\ny := 2\n", syntax_error("y", 2)},
      {"SEQ\n  SKIP\nSTOP\n", syntax_error("STOP", 3)},
      {"INT x:\n", syntax_error("", 2)},
  };
  for (const Case& c : cases) {
    TranslationRun run = translate(c.source);
    EXPECT_EQ(run.status, 1) << c.source;
    EXPECT_EQ(error_lines(run), Lines{c.error}) << c.source;
    EXPECT_EQ(run.output, abandoned_output()) << c.source;
  }
}

TEST(ParseEngine, BodyIndentedTwoStepsAtOnce) {
  // The second INDENT is the error; recovery ends the SEQ at the first OUTDENT, and the second
  // OUTDENT then follows a complete program.
  TranslationRun run = translate("SEQ\n    SKIP\n");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(error_lines(run), (Lines{syntax_error("", 2), syntax_error("", 3)}));
  EXPECT_EQ(run.output, abandoned_output());
}

TEST(ParseEngine, TokensAreFetchedOnlyWhenAStateNeedsThem) {
  // A state whose only action is a reduction reduces before the next token is scanned, so the
  // number's text is still the current token text when its operand rule copies it; a following
  // shift or relational operator would have replaced it.
  EXPECT_EQ(translate("x := 1 >> 2\n").output, expected_output("x = 1 >> 2;\n"));
  EXPECT_EQ(translate("x := 1 <> y\n").output, expected_output("x = 1 != y;\n"));
  // A process ending with its line reduces only once the next line's first token is known, so a
  // comment line in between stands before the statement's end.
  TranslationRun run = translate("SEQ\n  SKIP\n  -- c\n  STOP\n");
  const Lines expected = {"skip", "\n\n/*  c */\n\n", ";\n", "stop", ";\n"};
  EXPECT_EQ(run.program_fragments(), expected);
}

TEST(ParseEngine, OverlongLineEndsTheParseAtOnce) {
  const std::string line(254, 'y');
  TranslationRun run = translate("SEQ\n  SKIP\n" + line + "\n  STOP\n");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(error_lines(run), Lines{"ERROR <line longer than 253 characters> on line 3\n"});
  EXPECT_TRUE(run.debug_log.ends_with("ERROR <line longer than 253 characters> on line 3\n"));
  EXPECT_EQ(run.output, abandoned_output());
  ASSERT_FALSE(run.fragments.empty());
  EXPECT_EQ(run.fragments.back(), "\n\n line <" + line + "> longer than 256 \n\n");
}

std::string nested_seqs(int levels) {
  std::string source;
  for (int level = 0; level < levels; ++level) source += std::string(2 * level, ' ') + "SEQ\n";
  return source + std::string(2 * levels, ' ') + "SKIP\n";
}

TEST(ParseEngine, StateStackHoldsSixtyFiveNestedSeqs) {
  TranslationRun deepest = translate(nested_seqs(65));
  EXPECT_EQ(deepest.status, 0);
  EXPECT_EQ(error_lines(deepest), Lines{});
  EXPECT_EQ(deepest.output, expected_output("skip;\n"));

  // The 66th level fills the 200 entries; the innermost SKIP can no longer be pushed.
  TranslationRun overflow = translate(nested_seqs(66));
  EXPECT_EQ(overflow.status, 1);
  EXPECT_EQ(error_lines(overflow), Lines{"ERROR <pcyacc internal stack overflow> near <SKIP> on line 67\n"});
  EXPECT_EQ(overflow.diagnostics, overflow.debug_log);
  EXPECT_EQ(overflow.output, abandoned_output());
}

TEST(ParseEngine, OneReportPerBadLine) {
  // The tokens after the first error on a line are discarded without a report; the recovery is
  // complete at the next line, so the next bad line is reported again. The names before '=' are
  // already appended as channels when the error is found.
  TranslationRun run = translate("SEQ\n  x = = 1\n  y = = 2\n  SKIP\n");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(error_lines(run), (Lines{syntax_error("=", 2), syntax_error("=", 3)}));
  EXPECT_EQ(run.output, expected_output("xyskip;\n"));
}

}  // namespace
}  // namespace vrk::testing
