// The real programs of the shared corpus that are written in occam 2 and occam-pi (from the KRoC
// and tinycsp distributions), translated in place in the occam 2 mode: every one with no syntax
// error, except the exercise whose layout is broken on purpose. Most include libraries that are
// not there and call into them: those are errors of resolution (status 1), each reported with
// its place; the Handel-C checker's verdict on the translations is the hcheck.corpus test's.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "tests/common/files.h"
#include "tests/common/translate.h"

namespace vrk::testing {
namespace {

namespace fs = std::filesystem;

const fs::path kCorpus = VRK_CORPUS_DIR;
constexpr const char* kBrokenOnPurpose = "kroc-course-exercises-bugs.occ";

std::vector<fs::path> occam2_programs() {
  std::vector<fs::path> programs;
  if (!fs::is_directory(kCorpus)) return programs;
  for (const fs::directory_entry& entry : fs::directory_iterator(kCorpus)) {
    std::string name = entry.path().filename().string();
    if ((name.starts_with("kroc-") || name.starts_with("tinycsp-")) && name.ends_with(".occ")) programs.push_back(entry.path());
  }
  std::sort(programs.begin(), programs.end());
  return programs;
}

TEST(Occam2Corpus, EveryProgramTranslatesWithoutASyntaxError) {
  std::vector<fs::path> programs = occam2_programs();
  if (programs.empty()) GTEST_SKIP() << "no corpus at " << kCorpus;
  EXPECT_EQ(programs.size(), 28U);
  for (const fs::path& program : programs) {
    if (program.filename() == kBrokenOnPurpose) continue;
    TranslationRun run = translate_occam2(read_file(program), program.string(), {}, true);
    EXPECT_LE(run.status, 1) << program.filename() << "\n" << run.diagnostics;
    EXPECT_EQ(run.debug_log.find("ERROR <syntax error>"), std::string::npos) << program.filename();
    EXPECT_EQ(run.debug_log.find("ERROR <bad indentation>"), std::string::npos) << program.filename();
    EXPECT_EQ(run.status == 1, run.diagnostics.find(": error:") != std::string::npos) << program.filename();
    EXPECT_FALSE(split_occam2_output(run.output).body.empty()) << program.filename();
  }
}

std::size_t occurrences(std::string_view text, std::string_view part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string_view::npos; at = text.find(part, at + part.size())) ++count;
  return count;
}

// With --quiet, each banner for a construct without counterpart comes with exactly one warning,
// and each banner for a statement in error names an error that was reported (or, for a statement
// that uses a name whose declaration was in error, says so).
TEST(Occam2Corpus, EveryBannerIsAccountedForOnStandardError) {
  std::vector<fs::path> programs = occam2_programs();
  if (programs.empty()) GTEST_SKIP() << "no corpus at " << kCorpus;
  std::size_t construct_banners = 0;
  for (const fs::path& program : programs) {
    TranslationRun run = translate_occam2(read_file(program), program.string(), {}, true);
    const std::string counterpart = "has no Handel-C counterpart";
    std::size_t banners = occurrences(run.output, counterpart + " (");
    EXPECT_EQ(banners, occurrences(run.diagnostics, counterpart + "; an error banner stands in its place")) << program.filename();
    construct_banners += banners;
    std::istringstream lines(run.output);
    for (std::string line; std::getline(lines, line);) {
      std::size_t at = line.find("#### Error: ");
      if (at == std::string::npos || line.find(counterpart) != std::string::npos) continue;
      std::string message = line.substr(at + 12, line.rfind(" (") - (at + 12));
      // A statement that uses a name whose declaration was in error points back at that error.
      if (message.ends_with("is declared with a name that is not defined")) message = "is not defined";
      EXPECT_NE(run.diagnostics.find(message), std::string::npos) << program.filename() << ": " << line;
    }
  }
  EXPECT_GT(construct_banners, 0U);
}

// A tour of the language: every construct, declaration, expression form, directive and layout
// rule of occam 2.1 and of the occam-pi forms in real programs (tests/e2e/occam2/syntax_tour.occ).
TEST(Occam2Corpus, EveryFormOfTheLanguageParses) {
  const fs::path tour = fs::path(VRK_E2E_OCCAM2_DIR) / "syntax_tour.occ";
  TranslationRun run = translate_occam2(read_file(tour), tour.string(), {}, true);
  EXPECT_EQ(run.debug_log.find("ERROR <syntax error>"), std::string::npos) << run.debug_log;
  EXPECT_EQ(run.debug_log.find("ERROR <bad indentation>"), std::string::npos) << run.debug_log;
  EXPECT_EQ(run.diagnostics.find("include"), std::string::npos) << run.diagnostics;
  const Occam2Output output = split_occam2_output(run.output);
  EXPECT_NE(output.definitions.find("macro expr twice (x) = (x * 2);"), std::string::npos);
  EXPECT_NE(output.definitions.find("macro proc small (a, b, c)"), std::string::npos);
  EXPECT_NE(output.body.find("main_ (kyb, scr, err);"), std::string::npos);
}

// The exercise's PROC body starts three columns in (line 34) and its IF keeps its condition on
// the keyword's line (line 36): the first reports name those lines.
TEST(Occam2Corpus, TheBrokenLayoutExerciseGetsErrorsOnItsLines) {
  const fs::path program = kCorpus / kBrokenOnPurpose;
  if (!fs::exists(program)) GTEST_SKIP() << "no corpus at " << kCorpus;
  TranslationRun run = translate_occam2(read_file(program), program.string(), {}, true);
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.diagnostics.find(program.string() + ":34:4: error: bad indentation"), std::string::npos) << run.diagnostics;
  EXPECT_NE(run.diagnostics.find(program.string() + ":36:"), std::string::npos) << run.diagnostics;
}

}  // namespace
}  // namespace vrk::testing
