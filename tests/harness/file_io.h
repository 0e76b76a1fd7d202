// Whole-file reads and writes for tests that work with real files.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace vrk::testing {

inline std::string read_file(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void write_file(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

}  // namespace vrk::testing
