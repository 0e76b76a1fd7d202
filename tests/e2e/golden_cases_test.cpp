// Golden end-to-end cases: each cases/<group>/<name>.occ is translated in memory with the short
// test templates and checked against the expectation files beside it, and so is each
// occam2_cases/<group>/<name>.occ in the occam 2 mode. Adding a case costs one source file and
// one expectation file.
//
//   <name>.hc      the program's translation: the text after the main template, without the
//                  closing of main (exact bytes, no line feed added at the end)
//   <name>.out     the whole output file, for cases where the text before the program matters
//   <name>.status  the exit status, when not the default (0, or 1 for a source with .errors)
//   <name>.errors  vrk.deb without its token trace, i.e. the syntax error lines, when the source
//                  has errors; without this file the log must hold no error at all
//
// A case needs a .hc or an .out. Without an .out, an accepted run must write the test prologue,
// the .hc text and the closing of main, and an abandoned one the two header templates alone.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "driver/translation.h"
#include "tests/e2e/e2e_support.h"
#include "tests/common/translate.h"

namespace vrk::testing {
namespace {

namespace fs = std::filesystem;

const fs::path kCasesDir = VRK_E2E_CASES_DIR;
constexpr const char* kExpectationExtensions[] = {".hc", ".out", ".status", ".errors"};

struct GoldenCase {
  std::string name;  // "<group>/<name>"
  fs::path source;
  fs::path expectation(const char* extension) const {
    fs::path p = source;
    return p.replace_extension(extension);
  }
};

void PrintTo(const GoldenCase& c, std::ostream* os) { *os << c.name; }

std::vector<GoldenCase> discover_cases() {
  std::vector<GoldenCase> cases;
  for (const fs::path& source : files_with_extension(kCasesDir, ".occ")) {
    std::string name = fs::relative(source, kCasesDir).replace_extension().generic_string();
    cases.push_back({name, source});
  }
  return cases;
}

class GoldenCaseTest : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(GoldenCaseTest, TranslatesAsExpected) {
  const GoldenCase& c = GetParam();
  const std::string source = read_file_if_present(c.source).value();
  const std::optional<std::string> hc = read_file_if_present(c.expectation(".hc"));
  const std::optional<std::string> out = read_file_if_present(c.expectation(".out"));
  const std::optional<std::string> status_text = read_file_if_present(c.expectation(".status"));
  const std::string errors = read_file_if_present(c.expectation(".errors")).value_or("");
  ASSERT_TRUE(hc || out) << c.name << " has neither a .hc nor an .out file";
  // A program that had syntax errors is translated all the same, but does not succeed.
  const int status = status_text ? std::stoi(*status_text) : (errors.empty() ? 0 : 1);

  const TranslationRun run = translate(source);

  EXPECT_EQ(run.status, status);
  if (hc) {
    EXPECT_EQ(run.program_text(), *hc);
  }
  if (out) {
    EXPECT_EQ(run.output, *out);
  } else {
    EXPECT_EQ(run.output, expected_output(*hc));
  }
  EXPECT_EQ(log_without_trace(run.debug_log), errors);
  // Syntax errors go to standard error as well, in the same words and order.
  EXPECT_EQ(log_without_trace(run.diagnostics), errors);
}

std::string case_name(const ::testing::TestParamInfo<GoldenCase>& param) {
  return test_name_from(param.param.name);
}

INSTANTIATE_TEST_SUITE_P(Cases, GoldenCaseTest, ::testing::ValuesIn(discover_cases()), case_name);

// ---------------------------------------------------------------- the occam 2 mode
//
//   <name>.hc      the whole output file (the test templates, the translation and main)
//   <name>.status  the exit status, when not 0
//   <name>.stderr  standard error in the quiet style, when anything is reported; messages and
//                  banners name the source "<group>/<name>.occ"
//
// Include files are looked up in the case's own folder.

const fs::path kOccam2CasesDir = VRK_E2E_OCCAM2_CASES_DIR;
constexpr const char* kOccam2ExpectationExtensions[] = {".hc", ".status", ".stderr"};

std::vector<GoldenCase> discover_occam2_cases() {
  std::vector<GoldenCase> cases;
  for (const fs::path& source : files_with_extension(kOccam2CasesDir, ".occ")) {
    std::string name = fs::relative(source, kOccam2CasesDir).replace_extension().generic_string();
    cases.push_back({name, source});
  }
  return cases;
}

class Occam2GoldenCaseTest : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(Occam2GoldenCaseTest, TranslatesAsExpected) {
  const GoldenCase& c = GetParam();
  const std::string source = read_file_if_present(c.source).value();
  const std::optional<std::string> hc = read_file_if_present(c.expectation(".hc"));
  const std::optional<std::string> status_text = read_file_if_present(c.expectation(".status"));
  const std::string messages = read_file_if_present(c.expectation(".stderr")).value_or("");
  ASSERT_TRUE(hc) << c.name << " has no .hc file";
  const std::string shown_path = c.name + ".occ";
  const TranslationRun run = translate_occam2(source, shown_path, {c.source.parent_path().string()}, true);
  EXPECT_EQ(run.status, status_text ? std::stoi(*status_text) : 0) << run.diagnostics;
  EXPECT_EQ(run.output, *hc);
  EXPECT_EQ(run.diagnostics, messages);
}

INSTANTIATE_TEST_SUITE_P(Cases, Occam2GoldenCaseTest, ::testing::ValuesIn(discover_occam2_cases()), case_name);

// A misspelt expectation file would silently check nothing; a moved folder would run no case.
TEST(GoldenCaseFiles, EveryExpectationBelongsToACase) {
  ASSERT_GE(discover_cases().size(), 50u) << "no golden cases found under " << kCasesDir;
  for (const char* extension : kExpectationExtensions) {
    for (const fs::path& expectation : files_with_extension(kCasesDir, extension)) {
      fs::path source = expectation;
      EXPECT_TRUE(fs::exists(source.replace_extension(".occ"))) << expectation << " has no .occ source";
    }
  }
  for (const fs::path& file : files_with_extension(kCasesDir, "")) {
    ADD_FAILURE() << file << " has no extension";
  }
  for (const char* extension : kOccam2ExpectationExtensions) {
    for (const fs::path& expectation : files_with_extension(kOccam2CasesDir, extension)) {
      fs::path source = expectation;
      EXPECT_TRUE(fs::exists(source.replace_extension(".occ"))) << expectation << " has no .occ source";
    }
  }
}

}  // namespace
}  // namespace vrk::testing
