// File helpers and a temporary-directory fixture shared by the suites that run on real files.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>

namespace vrk::testing {

// The whole content of a file, or nothing when it cannot be opened.
std::optional<std::string> read_file_if_present(const std::filesystem::path& path);
// The whole content of a file; empty when it cannot be opened.
std::string read_file(const std::filesystem::path& path);
// Creates or replaces a file (and the folders above it) with `text`.
void write_file(const std::filesystem::path& path, const std::string& text);

// A fresh, empty folder per test under the system's temporary directory, named after the suite's
// prefix, the process and the test; removed after the test.
class TempDirTest : public ::testing::Test {
 protected:
  explicit TempDirTest(std::string prefix) : prefix_(std::move(prefix)) {}
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("vrk-" + prefix_ + "-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::filesystem::path dir_;

 private:
  std::string prefix_;
};

}  // namespace vrk::testing
