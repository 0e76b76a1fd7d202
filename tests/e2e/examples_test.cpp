// The committed examples: each examples/<name>.occ, translated with the real templates of msgs/,
// must still give examples/<name>.hc byte for byte, be accepted, and report no syntax error; the
// same for examples/occam2/<name>.occ in the occam 2 mode.
// After a deliberate change to the translation, regenerate an example with
// `build/bin/vrk examples/<name>.occ examples/<name>.hc` (`build/bin/vrk --occam2
// examples/occam2/<name>.occ examples/occam2/<name>.hc`) from the repository root and check the
// difference by hand before committing it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "driver/occam2_translation.h"
#include "driver/translation.h"
#include "tests/e2e/e2e_support.h"

namespace vrk::testing {
namespace {

namespace fs = std::filesystem;

const fs::path kExamplesDir = VRK_EXAMPLES_DIR;
const fs::path kOccam2ExamplesDir = kExamplesDir / "occam2";
const fs::path kMsgsDir = VRK_MSGS_DIR;

enum class Mode { classic, occam2 };

struct ExampleRun {
  int status = 0;
  std::string output;
  std::string debug_log;
};

// The source is read as the vrk program reads it in each mode: the default mode's line limit, and
// in the occam 2 mode none, with #INCLUDE looked up beside the example.
ExampleRun translate_with_msgs(const fs::path& path, Mode mode) {
  const std::string source = read_file_if_present(path).value();
  SourceReader reader(source, mode == Mode::occam2 ? SourceReader::LineLimit::none : SourceReader::LineLimit::classic);
  OutputBuffer output, debug_log, diagnostics;
  DirectoryTemplates templates({kMsgsDir.string()});
  const TranslationFiles files{reader, output, debug_log, diagnostics, templates};
  ExampleRun run;
  if (mode == Mode::occam2) {
    Occam2Translation translation(files, Occam2ScannerOptions{path.string(), {}, {}});
    run.status = exit_code(translation.run());
  } else {
    Translation translation(files);
    run.status = exit_code(translation.run());
  }
  run.output = output.contents();
  run.debug_log = debug_log.contents();
  return run;
}

// The examples directly in `dir` (those of the occam 2 mode have a folder of their own).
std::vector<std::string> example_names(const fs::path& dir) {
  std::vector<std::string> names;
  for (const fs::path& source : files_with_extension(dir, ".occ")) {
    if (source.parent_path() == dir) names.push_back(source.stem().string());
  }
  return names;
}

void expect_committed_translation(const fs::path& dir, const std::string& name, Mode mode) {
  const fs::path committed = dir / (name + ".hc");
  const std::optional<std::string> expected = read_file_if_present(committed);
  ASSERT_TRUE(expected) << committed << " is missing";

  const ExampleRun run = translate_with_msgs(dir / (name + ".occ"), mode);

  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(log_without_trace(run.debug_log), "");
  EXPECT_EQ(run.output, *expected);
}

class Example : public ::testing::TestWithParam<std::string> {};

TEST_P(Example, StillTranslatesToItsCommittedFile) { expect_committed_translation(kExamplesDir, GetParam(), Mode::classic); }

class Occam2Example : public ::testing::TestWithParam<std::string> {};

TEST_P(Occam2Example, StillTranslatesToItsCommittedFileInTheOccam2Mode) {
  expect_committed_translation(kOccam2ExamplesDir, GetParam(), Mode::occam2);
}

std::string example_name(const ::testing::TestParamInfo<std::string>& param) {
  return test_name_from(param.param);
}

INSTANTIATE_TEST_SUITE_P(Committed, Example, ::testing::ValuesIn(example_names(kExamplesDir)), example_name);
INSTANTIATE_TEST_SUITE_P(Committed, Occam2Example, ::testing::ValuesIn(example_names(kOccam2ExamplesDir)), example_name);

TEST(ExampleFiles, TheExamplesAreThere) {
  EXPECT_GE(example_names(kExamplesDir).size(), 6u);
  EXPECT_GE(example_names(kOccam2ExamplesDir).size(), 2u);
}

}  // namespace
}  // namespace vrk::testing
