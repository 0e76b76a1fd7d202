// The occam 2 scanner over the real programs of the shared corpus (with empty stand-ins for the
// library files they include): every file scans to its end, and only the file with deliberately
// broken layout gives errors, on the lines that are broken.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/occam2/scanner/token_stream.h"

namespace vrk::testing {
namespace {

const std::filesystem::path kCorpus = VRK_CORPUS_DIR;

bool is_occam2_corpus_file(const std::filesystem::path& file) {
  std::string name = file.filename().string();
  return file.extension() == ".occ" && (name.starts_with("kroc-") || name.starts_with("tinycsp-"));
}

TEST(Occam2Corpus, EveryProgramScansToItsEndWithoutErrors) {
  if (!std::filesystem::is_directory(kCorpus)) GTEST_SKIP() << "no corpus at " << kCorpus;
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(kCorpus)) {
    if (!is_occam2_corpus_file(entry.path()) || entry.path().filename() == "kroc-course-exercises-bugs.occ") continue;
    ++files;
    Occam2Scan r = scan_occam2_file({true, entry.path().string(), {VRK_OCCAM2_LIBRARY_DIR}});
    EXPECT_EQ(r.errors, 0) << entry.path() << "\n" << r.diagnostics;
    ASSERT_FALSE(r.tokens.empty());
    EXPECT_EQ(r.tokens.back().code, 0) << entry.path();
  }
  EXPECT_GE(files, 20);
}

TEST(Occam2Corpus, BrokenLayoutIsReportedOnTheBrokenLines) {
  std::filesystem::path bugs = kCorpus / "kroc-course-exercises-bugs.occ";
  if (!std::filesystem::exists(bugs)) GTEST_SKIP() << "no " << bugs;
  Occam2Scan r = scan_occam2_file({true, bugs.string(), {VRK_OCCAM2_LIBRARY_DIR}});
  // Line 34 is indented 3 under a WHILE at 2, line 37 by 3 under an IF at 5, and line 40's
  // choice stands at 6, between the IF (5) and its SEQ (8).
  EXPECT_EQ(r.quiet_error_lines(), (std::vector<int>{34, 37, 40})) << r.diagnostics;
  EXPECT_EQ(r.errors, 3);
  EXPECT_EQ(r.tokens.back().code, 0);
}

}  // namespace
}  // namespace vrk::testing
