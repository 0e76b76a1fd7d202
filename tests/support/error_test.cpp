// Banner format of the default handler, which codes return, and what happens
// to pending output when the program stops.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "support/error.h"

namespace vrk {
namespace {

TEST(ErrorHandler, WarningAndNegativeCodesPrintTheirBannerAndReturn) {
  ::testing::internal::CaptureStderr();
  default_error_handler(0, "look out");
  default_error_handler(-5, "noted");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "\nvrk: WARNING\n\tlook out\n\n"
            "\nvrk: ERROR HANDLER\n\tnoted\n\n");
}

using ErrorHandlerDeathTest = ::testing::Test;

TEST_F(ErrorHandlerDeathTest, FatalCodeStopsWithTheInternalErrorStatus) {
  EXPECT_EXIT(error(1, "boom"), ::testing::ExitedWithCode(3), "\nvrk: ERROR HANDLER\n\tboom\n");
}

void announce_flush() { std::fputs("hook ran\n", stderr); }

TEST_F(ErrorHandlerDeathTest, FlushHookRunsBeforeTheBanner) {
  EXPECT_EXIT(
      {
        set_flush_hook(announce_flush);
        error(2, "late");
      },
      ::testing::ExitedWithCode(3), "hook ran\n\nvrk: ERROR HANDLER\n\tlate");
}

void announce_stop() { std::fputs("stop hook ran\n", stderr); }

TEST_F(ErrorHandlerDeathTest, StopHookRunsAfterTheBannerRightBeforeTheEnd) {
  EXPECT_EXIT(
      {
        set_flush_hook(announce_flush);
        set_stop_hook(announce_stop);
        error(1, "last");
      },
      ::testing::ExitedWithCode(3), "vrk: ERROR HANDLER\n\tlast\n\n(hook ran\n)?stop hook ran\n$");
}

void reporting_hook() { error(1, "from the hook"); }

TEST_F(ErrorHandlerDeathTest, HookThatReportsAnErrorDoesNotRecurse) {
  EXPECT_EXIT(
      {
        set_flush_hook(reporting_hook);
        error(1, "outer");
      },
      ::testing::ExitedWithCode(3), "from the hook");
}

TEST_F(ErrorHandlerDeathTest, BufferedFileOutputSurvivesTheStop) {
  const std::string path = ::testing::TempDir() + "vrk_error_pending.txt";
  std::remove(path.c_str());
  EXPECT_EXIT(
      {
        std::FILE* out = std::fopen(path.c_str(), "w");
        std::fputs("pending text", out);  // still in the stdio buffer
        error(1, "stop");
      },
      ::testing::ExitedWithCode(3), "stop");
  std::ifstream in(path);
  std::stringstream contents;
  contents << in.rdbuf();
  EXPECT_EQ(contents.str(), "pending text");
  std::remove(path.c_str());
}

}  // namespace
}  // namespace vrk
