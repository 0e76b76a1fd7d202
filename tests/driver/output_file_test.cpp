// Files replaced whole or not at all, where paths finally lead, and the template size and type
// limits.
#include "driver/output_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "driver/files.h"
#include "driver/templates.h"
#include "tests/harness/file_io.h"

namespace vrk {
namespace {

namespace fs = std::filesystem;

using testing::read_file;
using testing::write_file;

void write_fd(int fd, const std::string& text) { ASSERT_EQ(::write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size())); }

class Files : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("vrk-files-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  // Every name in the folder, so that a temporary file left behind shows.
  std::string listing() const {
    std::string names;
    for (const auto& e : fs::directory_iterator(dir_)) names += e.path().filename().string() + " ";
    return names;
  }
  fs::path dir_;
};

TEST_F(Files, TheOldFileStaysUntilTheCommitAndNothingElseRemains) {
  const fs::path out = dir_ / "out.hc";
  write_file(out, "previous");
  fs::permissions(out, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  OutputFile file = OutputFile::create(out, "output file");
  ASSERT_TRUE(file.ok()) << file.problem();
  EXPECT_TRUE(file.replaces());
  write_fd(file.fd(), "new text");
  EXPECT_EQ(read_file(out), "previous");
  ASSERT_TRUE(file.commit()) << file.problem();
  EXPECT_EQ(read_file(out), "new text");
  EXPECT_EQ(fs::status(out).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(listing(), "out.hc ");
}

TEST_F(Files, ADiscardedOrAbandonedFileLeavesThePreviousOneByteForByte) {
  const fs::path out = dir_ / "out.hc";
  write_file(out, std::string("previous\0\xff", 10));
  {
    OutputFile file = OutputFile::create(out, "output file");
    write_fd(file.fd(), "half");
    file.discard();
  }
  {
    OutputFile file = OutputFile::create(out, "output file");
    write_fd(file.fd(), "half");
  }  // destroyed without a commit
  EXPECT_EQ(read_file(out), std::string("previous\0\xff", 10));
  EXPECT_EQ(listing(), "out.hc ");
}

// What a run killed outright left behind goes with the next run for the same file; the files of
// a run still going, and anything not named like a temporary file, stay.
TEST_F(Files, TemporaryFilesOfDeadRunsAreRemovedByTheNextOne) {
  pid_t gone = ::fork();
  if (gone == 0) ::_exit(0);
  ASSERT_EQ(::waitpid(gone, nullptr, 0), gone);
  const std::string dead = ".out.hc.vrk-" + std::to_string(gone) + "-0";
  const std::string alive = ".out.hc.vrk-" + std::to_string(::getppid()) + "-3";
  const std::string lookalike = ".out.hc.vrk-" + std::to_string(gone) + "-0x";
  for (const std::string& name : {dead, alive, lookalike}) write_file(dir_ / name, "left");
  OutputFile file = OutputFile::create(dir_ / "out.hc", "output file");
  ASSERT_TRUE(file.commit());
  EXPECT_FALSE(fs::exists(dir_ / dead));
  EXPECT_TRUE(fs::exists(dir_ / alive));
  EXPECT_TRUE(fs::exists(dir_ / lookalike));
}

TEST_F(Files, ASymbolicLinkKeepsPointingAtTheReplacedFileEvenADanglingOne) {
  fs::create_directory(dir_ / "real");
  fs::create_symlink("real/target.hc", dir_ / "link.hc");  // nothing there yet
  OutputFile file = OutputFile::create(dir_ / "link.hc", "output file");
  ASSERT_TRUE(file.ok()) << file.problem();
  write_fd(file.fd(), "through the link");
  ASSERT_TRUE(file.commit());
  EXPECT_TRUE(fs::is_symlink(dir_ / "link.hc"));
  EXPECT_EQ(read_file(dir_ / "real" / "target.hc"), "through the link");
  EXPECT_EQ(final_path(dir_ / "link.hc"), fs::canonical(dir_ / "real" / "target.hc").string());
}

TEST_F(Files, DestinationsAreComparedWhereTheyLead) {
  write_file(dir_ / "a", "x");
  fs::create_hard_link(dir_ / "a", dir_ / "hard");
  fs::create_symlink("later", dir_ / "dangling");
  fs::create_symlink("dangling", dir_ / "chain");
  EXPECT_TRUE(same_destination(dir_ / "hard", dir_ / "a"));
  EXPECT_TRUE(same_destination(dir_ / "chain", dir_ / "later"));
  EXPECT_TRUE(same_destination((dir_ / "." / "later").string(), dir_ / "later"));
  EXPECT_FALSE(same_destination(dir_ / "chain", dir_ / "a"));
  fs::create_symlink("loop", dir_ / "loop");
  EXPECT_FALSE(same_destination(dir_ / "loop", dir_ / "a"));  // ends, and matches nothing
}

TEST_F(Files, WhatCannotBeReplacedIsRefusedWithTheReason) {
  fs::create_directory(dir_ / "folder");
  OutputFile folder = OutputFile::create(dir_ / "folder", "debug log");
  EXPECT_FALSE(folder.ok());
  EXPECT_NE(folder.problem().find("cannot create debug log '"), std::string::npos);
  EXPECT_NE(folder.problem().find("Is a directory"), std::string::npos);
  OutputFile missing = OutputFile::create(dir_ / "none" / "out.hc", "output file");
  EXPECT_FALSE(missing.ok());
  EXPECT_NE(missing.problem().find("No such file or directory"), std::string::npos);
  EXPECT_EQ(listing(), "folder ");
}

TEST_F(Files, DevicesAreWrittenDirectlyAndTheirFailuresNamed) {
  OutputFile null = OutputFile::create("/dev/null", "output file");
  ASSERT_TRUE(null.ok());
  EXPECT_FALSE(null.replaces());
  EXPECT_TRUE(null.commit());
  EXPECT_EQ(cannot_write("out.hc", ENOSPC), "vrk: cannot write 'out.hc': No space left on device");
}

TEST_F(Files, TemplatesMustBeRegularFilesWithinTheLimit) {
  fs::create_directory(dir_ / "own");
  fs::create_directory(dir_ / "installed");
  for (const char* name : {"header.txt", "harp2_h.txt", "main.txt"}) write_file(dir_ / "installed" / name, "ok");
  fs::create_symlink("/dev/zero", dir_ / "own" / "header.txt");
  write_file(dir_ / "own" / "main.txt", "");
  fs::resize_file(dir_ / "own" / "main.txt", kMaxTemplateBytes + 1);
  DirectoryTemplates store({(dir_ / "own").string(), (dir_ / "installed").string()});
  std::string where;
  EXPECT_FALSE(store.load(kHeaderTemplate, where));  // not passed over for the installed one
  EXPECT_NE(where.find("not a regular file"), std::string::npos) << where;
  EXPECT_FALSE(store.load(kMainTemplate, where));
  EXPECT_NE(where.find("16 MiB"), std::string::npos) << where;
  EXPECT_EQ(store.load(kBoardTemplate, where), "ok");  // absent from own/: the installed one
  fs::resize_file(dir_ / "own" / "main.txt", kMaxTemplateBytes);
  EXPECT_EQ(store.load(kMainTemplate, where)->size(), kMaxTemplateBytes);
}

}  // namespace
}  // namespace vrk
