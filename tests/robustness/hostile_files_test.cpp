// The vrk program on files it cannot use as it would like, and on a corpus of real occam programs
// written for other compilers: it always ends, with status 0, 1 or 2 and never by a signal, says
// why when it does not succeed, and never harms the source.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "tests/harness/file_io.h"

namespace {

namespace fs = std::filesystem;

constexpr unsigned kTimeLimitSeconds = 60;  // far above any run here; reaching it is a hang
constexpr uid_t kUnprivilegedUser = 65534;  // nobody

struct Outcome {
  int status = -1;  // exit status, or -1 when a signal ended the program
  int signal = 0;
  std::string err;
};

using vrk::testing::read_file;
using vrk::testing::write_file;

// Runs vrk with `args` in `cwd`, as `user` when given; standard error is collected. A run that
// outlives kTimeLimitSeconds is stopped by SIGALRM, which the outcome then shows.
Outcome run_vrk(const std::vector<std::string>& args, const fs::path& cwd, std::optional<uid_t> user = {}) {
  const fs::path err_file = cwd / ".err";
  pid_t child = ::fork();
  if (child == 0) {
    int err = ::open(err_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    int null = ::open("/dev/null", O_WRONLY);
    if (err < 0 || null < 0 || ::chdir(cwd.c_str()) != 0) ::_exit(120);
    ::dup2(null, STDOUT_FILENO);
    ::dup2(err, STDERR_FILENO);
    if (user && (::setgid(*user) != 0 || ::setuid(*user) != 0)) ::_exit(121);
    std::vector<char*> argv;
    std::string program = VRK_BINARY;
    argv.push_back(program.data());
    std::vector<std::string> copies = args;
    for (std::string& a : copies) argv.push_back(a.data());
    argv.push_back(nullptr);
    ::alarm(kTimeLimitSeconds);
    ::execv(program.c_str(), argv.data());
    ::_exit(122);
  }
  Outcome outcome;
  int raw = 0;
  if (child < 0 || ::waitpid(child, &raw, 0) != child) return outcome;
  if (WIFEXITED(raw)) outcome.status = WEXITSTATUS(raw);
  if (WIFSIGNALED(raw)) outcome.signal = WTERMSIG(raw);
  outcome.err = read_file(err_file);
  fs::remove(err_file);
  return outcome;
}

class HostileFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("vrk-hostile-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    fs::permissions(dir_, fs::perms::all);  // an unprivileged run may work here too
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
};

TEST_F(HostileFiles, AnUnreadableSourceIsNamedWithTheReason) {
  write_file(dir_ / "secret.occ", "SKIP\n");
  fs::permissions(dir_ / "secret.occ", fs::perms::none);
  // Permission bits do not stop the superuser, so as root the program runs as an ordinary user.
  std::optional<uid_t> user;
  if (::geteuid() == 0) user = kUnprivilegedUser;
  Outcome r = run_vrk({"secret.occ", "out.hc"}, dir_, user);
  ASSERT_EQ(r.signal, 0);
  ASSERT_NE(r.status, 121) << "could not change to an unprivileged user";
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("secret.occ"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("Permission denied"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(dir_ / "out.hc"));
  EXPECT_FALSE(fs::exists(dir_ / "vrk.deb"));
}

TEST_F(HostileFiles, ASourceThatFailsWhileBeingReadStopsTheRun) {
  // Opening succeeds, reading fails: the program's own memory file has nothing at offset 0.
  Outcome r = run_vrk({"/proc/self/mem", "out.hc"}, dir_);
  ASSERT_EQ(r.signal, 0);
  EXPECT_EQ(r.status, 2);
  const std::string report = "ERROR <cannot read the source file> on line 1\n";
  EXPECT_NE(r.err.find(report), std::string::npos) << r.err;
  EXPECT_NE(read_file(dir_ / "vrk.deb").find(report), std::string::npos);
  EXPECT_FALSE(fs::exists(dir_ / "out.hc")) << "a stopped run puts no output in place";
}

TEST_F(HostileFiles, UnusableOutputPathsAreRefusedBeforeAnythingIsWritten) {
  write_file(dir_ / "p.occ", "SKIP\n");
  fs::create_directory(dir_ / "folder");
  for (const char* output : {"missing/out.hc", "folder", "p.occ/out.hc"}) {
    SCOPED_TRACE(output);
    Outcome r = run_vrk({"p.occ", output}, dir_);
    ASSERT_EQ(r.signal, 0);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find(output), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(dir_ / "vrk.deb"));
    EXPECT_EQ(read_file(dir_ / "p.occ"), "SKIP\n");
  }
}

TEST_F(HostileFiles, TheSourceIsNotOverwrittenThroughASymbolicLink) {
  const std::string source = "SEQ\n  SKIP\n";
  write_file(dir_ / "p.occ", source);
  fs::create_symlink("p.occ", dir_ / "link.hc");
  fs::create_symlink(dir_ / "p.occ", dir_ / "link.occ");
  for (auto [in, out] : {std::pair{"p.occ", "link.hc"}, std::pair{"link.occ", "p.occ"}}) {
    SCOPED_TRACE(std::string(in) + " " + out);
    Outcome r = run_vrk({in, out}, dir_);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("source"), std::string::npos) << r.err;
    EXPECT_EQ(read_file(dir_ / "p.occ"), source);
  }
}

TEST_F(HostileFiles, AFullDeviceIsAFailureNotASuccess) {
  write_file(dir_ / "p.occ", "SKIP\n");
  Outcome r = run_vrk({"p.occ", "/dev/full"}, dir_);
  ASSERT_EQ(r.signal, 0);
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("cannot write"), std::string::npos) << r.err;
}

TEST_F(HostileFiles, AnEmptyDeviceIsAnEmptySource) {
  Outcome r = run_vrk({"/dev/null", "out.hc"}, dir_);
  ASSERT_EQ(r.signal, 0);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("ERROR <syntax error> near <> on line 1\n"), std::string::npos) << r.err;
}

// Real programs in several dialects of occam, most of them beyond what vrk accepts: each run ends
// by itself with a defined status, and a run that does not succeed leaves a report.
TEST_F(HostileFiles, EveryProgramOfTheCorpusEndsWithADefinedStatus) {
  const fs::path corpus = VRK_CORPUS_DIR;
  if (!fs::is_directory(corpus)) GTEST_SKIP() << "no corpus at " << corpus;
  int programs = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(corpus)) {
    if (entry.path().extension() != ".occ") continue;
    ++programs;
    SCOPED_TRACE(entry.path().filename().string());
    Outcome r = run_vrk({entry.path().string(), "out.hc"}, dir_);
    EXPECT_EQ(r.signal, 0) << (r.signal == SIGALRM ? "no end within the time limit" : "ended by a signal");
    EXPECT_TRUE(r.status == 0 || r.status == 1 || r.status == 2) << r.status;
    if (r.status != 0) {
      const std::string log = read_file(dir_ / "vrk.deb");
      EXPECT_TRUE(log.find("\nERROR <") != std::string::npos || r.err.find("vrk: ") != std::string::npos)
          << "no report of why the run failed";
    }
  }
  EXPECT_GT(programs, 0);
}

}  // namespace
