// The generated tables as the engine reads them, and the lookahead decisions they encode, checked
// through the translations that each decision leads to.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "output/banners.h"
#include "parser/generated_tables.h"
#include "parser/table_lookup.h"
#include "tests/common/translate.h"
#include "tests/parser/parse_run.h"

namespace vrk::testing {
namespace {

using namespace vrk::tables;
using Pairs = std::vector<std::pair<int, int>>;

const std::string kChannelArrayBanner(banners::text_of(banners::kChannelArray));
const std::string kProtocolBanner(banners::text_of(banners::kProtocol));

int goto_state(int nonterminal, int state) { return table_lookup::goto_state(kTables, state, nonterminal); }

// The exception blocks by state: the (token, action) pairs after each (-1, state) marker.
std::map<int, Pairs> exception_blocks() {
  std::map<int, Pairs> blocks;
  int current = -1;
  for (int i = 0; i + 1 < YYEXCA_SIZE; i += 2) {
    if (yyexca[i] == -1) {
      current = yyexca[i + 1];
      EXPECT_FALSE(blocks.contains(current)) << "second block for state " << current;
      blocks[current];
    } else {
      EXPECT_NE(current, -1) << "pair before the first block marker";
      blocks[current].emplace_back(yyexca[i], yyexca[i + 1]);
    }
  }
  return blocks;
}

TEST(ParseTables, EngineConstants) {
  EXPECT_EQ(YYMAXDEPTH, 200);
  EXPECT_EQ(YYERRCODE, 256);
  EXPECT_EQ(YYFLAG, -1000);
  EXPECT_EQ(YYEXCA_SIZE % 2, 0);
}

TEST(ParseTables, ProgramStateAcceptsOnlyEndOfInput) {
  const int program = yyr1[1];
  ASSERT_EQ(yyr1[3], program);
  const int accepting = goto_state(program, 0);
  EXPECT_EQ(yychk[accepting], -program);
  EXPECT_LE(yypact[accepting], YYFLAG);  // no shift: every token goes to the block
  ASSERT_EQ(yydef[accepting], -2);
  EXPECT_EQ(exception_blocks()[accepting], (Pairs{{0, -1}, {-2, 0}}));
}

TEST(ParseTables, EveryExceptionBlockIsWellFormed) {
  const int program = yyr1[1];
  const int accepting = goto_state(program, 0);
  std::map<int, Pairs> blocks = exception_blocks();
  for (int state = 0; state < YYNSTATES; ++state) {
    EXPECT_EQ(yydef[state] == -2, blocks.contains(state)) << "state " << state;
  }
  for (const auto& [state, pairs] : blocks) {
    ASSERT_FALSE(pairs.empty()) << "state " << state;
    // The engine's scan stops at the first negative token: it must be the closing default.
    EXPECT_EQ(pairs.back().first, -2) << "state " << state;
    std::set<int> tokens;
    for (std::size_t k = 0; k + 1 < pairs.size(); ++k) {
      auto [token, action] = pairs[k];
      EXPECT_GE(token, 0) << "state " << state;
      EXPECT_TRUE(tokens.insert(token).second) << "token " << token << " twice in state " << state;
      EXPECT_TRUE(action > 0 || state == accepting) << "state " << state;
    }
    for (auto [token, action] : pairs) {
      EXPECT_LT(action, YYNRULES) << "state " << state;
      EXPECT_GE(action, state == accepting ? -1 : 0) << "state " << state;
    }
  }
}

// Each case is decided by one lookahead; the translation shows which way it went.
struct Decision {
  const char* name;
  const char* source;
  std::string text;  // the program's translation
};

TEST(LookaheadDecisions, AcceptedFormsTranslateAsTheirProduction) {
  const std::string alt = "prialt\n{\n\n";
  const std::string alt_end = "skip;\n\n}  /* prialt */\n";
  const std::vector<Decision> cases = {
      {"name then line end: call", "P\n", "P ();\n"},
      {"name then '(': call with arguments", "P(1, 2)\n", "P (1, 2);\n"},
      {"name then ':': assignment", "x := 1\n", "x = 1;\n"},
      {"name then '[': subscripted assignment", "a[2] := 0\n", "a[2] = 0;\n"},
      {"name then '!': output", "c ! 1\n", "c ! 1;\n"},
      {"name then '?': input", "c ? x\n", "c ? x;\n"},
      {"input of a subscripted variable", "c ? a[i]\n", "c ? a[i];\n"},
      {"input list", "c ? x; y\n", "c ? x;y" + kProtocolBanner + ";\n"},
      {"input of ANY", "c ? ANY\n", "c ? ANY;\n"},
      {"output of ANY", "c ! ANY\n", "c ! ANY;\n"},
      {"name list", "INT x, y:\nSKIP\n", "int x, y;\n\nskip;\n"},
      {"name list across lines", "INT x,\ny:\nSKIP\n", "int x, y;\n\nskip;\n"},
      {"element list", "INT a[4], b:\nSKIP\n", "int a[4]" + kChannelArrayBanner + ", b;\n\nskip;\n"},
      {"array name list", "[10]BYTE buf:\nSKIP\n", "ram buf[10];\n\nskip;\n"},
      {"guard: input", "ALT\n  c ? x\n    SKIP\n", alt + "c ? x:\n" + alt_end},
      {"guard: subscripted channel", "ALT\n  c[i] ? x\n    SKIP\n", alt + "c[i]" + kChannelArrayBanner + " ? x:\n" + alt_end},
      {"guard: condition and input", "ALT\n  b & c ? x\n    SKIP\n", alt + "b $ c ? x:\n\n" + alt_end},
      {"guard: condition and subscripted channel", "ALT\n  b & c[i] ? x\n    SKIP\n",
       alt + "b $ c[i]" + kChannelArrayBanner + " ? x:\n\n" + alt_end},
      {"guard: condition and SKIP", "ALT\n  b & SKIP\n    SKIP\n", alt + "b $ skip :\n\n" + alt_end},
      {"guard: condition and delay", "ALT\n  b & WAIT t\n    SKIP\n", alt + "b $ delayt:\n\n" + alt_end},
      {"guard: comparison", "ALT\n  b > 1 & SKIP\n    SKIP\n", alt + "b > 1 $ skip :\n\n" + alt_end},
  };
  for (const Decision& c : cases) {
    TranslationRun run = translate(c.source);
    EXPECT_EQ(run.status, 0) << c.name;
    EXPECT_EQ(error_lines(run), std::vector<std::string>{}) << c.name;
    EXPECT_EQ(run.output, expected_output(c.text)) << c.name;
  }
}

struct Rejection {
  const char* name;
  const char* source;
  std::string first_error;
};

TEST(LookaheadDecisions, FormsTheDecisionsRuleOut) {
  const std::vector<Rejection> cases = {
      {"subscripted name at a process start is an assignment target", "c[i] ! x\n", syntax_error("!", 1)},
      {"... also before '?'", "c[i] ? x\n", syntax_error("?", 1)},
      {"input of something that is not a name or ANY", "c ? 1\n", syntax_error("1", 1)},
      {"a name list stays a name list", "INT x, a[4]:\nSKIP\n", syntax_error("[", 1)},
      {"an element list does not cross lines", "INT a[4],\nb:\nSKIP\n", syntax_error("\n", 2)},
      {"comma before a type word", "INT a, OFFSET:\nSKIP\n", syntax_error(",", 1)},
      {"subscripted name at a guard start is a channel", "ALT\n  b[i] & c ? x\n    SKIP\n", syntax_error("&", 2)},
      {"after a condition, neither input nor SKIP means a delay", "ALT\n  b & 1\n    SKIP\n", syntax_error("1", 2)},
  };
  for (const Rejection& c : cases) {
    TranslationRun run = translate(c.source);
    std::vector<std::string> errors = error_lines(run);
    ASSERT_FALSE(errors.empty()) << c.name;
    EXPECT_EQ(errors.front(), c.first_error) << c.name;
  }
  // The target's text is already in the list when the '!' is found, and stays there.
  EXPECT_EQ(translate("c[i] ! x\n").output, expected_output("c[i] = "));
}

}  // namespace
}  // namespace vrk::testing
