// The committed examples: each examples/<name>.occ, translated with the real templates of msgs/,
// must still give examples/<name>.hc byte for byte, be accepted, and report no syntax error.
// After a deliberate change to the translation, regenerate an example with
// `build/bin/vrk examples/<name>.occ examples/<name>.hc` from the repository root and check the
// difference by hand before committing it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "driver/translation.h"
#include "tests/e2e/e2e_support.h"

namespace vrk::testing {
namespace {

namespace fs = std::filesystem;

const fs::path kExamplesDir = VRK_EXAMPLES_DIR;
const fs::path kMsgsDir = VRK_MSGS_DIR;

struct ExampleRun {
  int status = 0;
  std::string output;
  std::string debug_log;
};

ExampleRun translate_with_msgs(const std::string& source) {
  SourceReader reader(source);
  OutputBuffer output, debug_log, diagnostics;
  DirectoryTemplates templates({kMsgsDir.string()});
  Translation translation({reader, output, debug_log, diagnostics, templates});
  ExampleRun run;
  run.status = exit_code(translation.run());
  run.output = output.contents();
  run.debug_log = debug_log.contents();
  return run;
}

std::vector<std::string> example_names() {
  std::vector<std::string> names;
  for (const fs::path& source : files_with_extension(kExamplesDir, ".occ")) {
    names.push_back(source.stem().string());
  }
  return names;
}

class Example : public ::testing::TestWithParam<std::string> {};

TEST_P(Example, StillTranslatesToItsCommittedFile) {
  const fs::path source = kExamplesDir / (GetParam() + ".occ");
  const fs::path committed = kExamplesDir / (GetParam() + ".hc");
  const std::optional<std::string> expected = read_file_if_present(committed);
  ASSERT_TRUE(expected) << committed << " is missing";

  const ExampleRun run = translate_with_msgs(read_file_if_present(source).value());

  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(log_without_trace(run.debug_log), "");
  EXPECT_EQ(run.output, *expected);
}

std::string example_name(const ::testing::TestParamInfo<std::string>& param) {
  return test_name_from(param.param);
}

INSTANTIATE_TEST_SUITE_P(Committed, Example, ::testing::ValuesIn(example_names()), example_name);

TEST(ExampleFiles, TheExamplesAreThere) { EXPECT_GE(example_names().size(), 6u); }

}  // namespace
}  // namespace vrk::testing
