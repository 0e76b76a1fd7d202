// Early writing: when the output can be cut back, the settled front of the Fragment list is written
// while the parse goes on. Every program must then give the same bytes on every stream, and the same
// status, as when the whole list is held to the end; a translation that is not written must leave
// the header templates alone in the output, whatever had been written early.
//
// The runs below write early as often as possible (after every push of the parse stack), so that
// every fragment a later action still reaches is tested for being held.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "output/templates.h"
#include "driver/translation.h"
#include "tests/e2e/e2e_support.h"
#include "tests/common/translate.h"

namespace vrk::testing {
namespace {

namespace fs = std::filesystem;

constexpr long kAtEveryPush = 1;

void expect_same_as_held(const std::string& source, const std::string& what) {
  const TranslationRun held = translate(source);
  const TranslationRun early = translate(source, kAtEveryPush);
  EXPECT_EQ(early.status, held.status) << what;
  EXPECT_EQ(early.output, held.output) << what;
  EXPECT_EQ(early.debug_log, held.debug_log) << what;
  EXPECT_EQ(early.diagnostics, held.diagnostics) << what;
}

std::vector<fs::path> sources_under(const fs::path& root) { return files_with_extension(root, ".occ"); }

TEST(EarlyWriting, GivesTheHeldOutputForEveryGoldenCaseAndExample) {
  std::vector<fs::path> sources = sources_under(VRK_E2E_CASES_DIR);
  for (const fs::path& example : sources_under(VRK_EXAMPLES_DIR)) sources.push_back(example);
  ASSERT_GE(sources.size(), 50u);
  for (const fs::path& source : sources) expect_same_as_held(read_file_if_present(source).value(), source.string());
}

TEST(EarlyWriting, GivesTheHeldOutputForTheOccamCorpus) {
  const std::vector<fs::path> sources = sources_under(VRK_CORPUS_DIR);
  if (sources.empty()) GTEST_SKIP() << "no occam corpus at " << VRK_CORPUS_DIR;
  for (const fs::path& source : sources) expect_same_as_held(read_file_if_present(source).value(), source.string());
}

// Programs whose later actions reach far back: braces inserted around a SEQ in a PAR after
// comment lines, "else if" inserted between choices before comments, an IF that takes its
// "if (" back, a replicated IF's chain, replicated PARs nested and failing, arrays rewriting their
// type word, replicators read across lines and broken by syntax errors.
TEST(EarlyWriting, GivesTheHeldOutputWhereActionsReachBack) {
  const std::vector<std::string> sources = {
      "PAR\n  -- first\n  SEQ\n    x := 1\n    -- inside\n    y := 2\n  -- between\n  SEQ\n    SKIP\n",
      "PAR\n  PAR i = 0 FOR 2\n    SEQ\n      -- c\n      x := i\n  SEQ j = 1 FOR 3\n    SEQ\n      y := j\n",
      "IF\n  a < b\n    x := 1\n  -- before the second\n  a > b\n    -- inside\n    SEQ\n      x := 2\n"
      "  IF\n    -- nested\n    c = d\n      SKIP\n    TRUE\n      STOP\n",
      "SEQ\n  IF\n    IF\n      IF\n        -- nothing\n  x := 1\n",
      "PAR i = 0 FOR 2\n  PAR j = 1 FOR 2\n    PAR k = -1 FOR 2\n      x[i] := j + k\n",
      "PAR i = n FOR 2\n  SEQ\n    x := i\nPAR i = 0 FOR #1FFFFFFFF\n  SKIP\n",
      "SEQ\n  [10]INT a, b:\n  -- comment\n  [4][2]BYTE c:\n  CHAN OF INT d:\n  SEQ\n    a[1] := b[2]\n",
      "SEQ\n  SEQ i = 0 FOR\n    SKIP\n  PAR j = 0 FOR 3 +\n    SKIP\n  SEQ k = 2 FOR 3\n    x := TRUE\n",
      "SEQ\n  SKIP SKIP\n  PAR\n    SEQ\n      x := (1 + 2\n      y := 3\n  WHILE x < 3\n    x := x + 1\n",
      "ALT\n  in ? x\n    SKIP\n  b & c ? y\n    -- c\n    SKIP\nCASE x\n  1\n    SKIP\n  ELSE\n    STOP\n",
      // A replicated IF's chain: "else if" goes in after the replicator's text, long after it.
      "SEQ\n  IF i = 0 FOR 2\n    IF\n      a = b\n        SEQ\n          x := 1\n          -- c\n          y := 2\n"
      "      -- before\n      c = d\n        SKIP\n  IF\n    a\n      SKIP\n    b\n  STOP\n",
      // An unrolling of no copies deletes everything from its marker on; the SEQ after it must
      // still get its "{" where its body begins, not at the end of the list.
      "PAR\n  PAR i = 0 FOR 0\n    SKIP\n  SEQ\n    SKIP\n",
  };
  for (const std::string& source : sources) expect_same_as_held(source, source);
}

// A long valid stretch, so that much is written early, then the parse is abandoned.
std::string long_program_then(const std::string& ending) {
  std::string source = "SEQ\n";
  for (int i = 0; i < 200; ++i) source += "  -- line " + std::to_string(i) + "\n  x := x + " + std::to_string(i) + "\n";
  return source + ending;
}

std::string nested_seqs(int levels) {
  std::string source;
  for (int level = 0; level < levels; ++level) source += std::string(2 * level + 2, ' ') + "SEQ\n";
  return source + std::string(2 * levels + 2, ' ') + "SKIP\n";
}

TEST(EarlyWriting, AnAbandonedParseLeavesOnlyTheHeaderTemplates) {
  const std::string headers = std::string(kTestHeader) + std::string(kTestBoard);
  const std::vector<std::string> endings = {
      nested_seqs(70),              // the parse stack overflows
      "  WHILE TRUE\n",             // the input ends where a process must follow
      "  y := " + std::string(300, '1') + "\n",  // an over-long line stops the scanner
  };
  for (const std::string& ending : endings) {
    const TranslationRun early = translate(long_program_then(ending), kAtEveryPush);
    EXPECT_EQ(early.status, 1);
    EXPECT_EQ(early.output, headers);
    ASSERT_FALSE(early.fragments.empty());
    EXPECT_NE(early.fragments.front(), kConstsAreaOpener) << "nothing was written early";
  }
}

TEST(EarlyWriting, AnAcceptedProgramIsWrittenWhole) {
  const std::string source = long_program_then("");
  const TranslationRun early = translate(source, 64);
  EXPECT_EQ(early.status, 0);
  EXPECT_EQ(early.output, translate(source).output);
  EXPECT_LT(early.fragments.size(), 200u) << "the settled front stays in memory";
}

}  // namespace
}  // namespace vrk::testing
