#include "tests/common/files.h"

#include <fstream>
#include <iterator>

namespace vrk::testing {

std::optional<std::string> read_file_if_present(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string read_file(const std::filesystem::path& path) { return read_file_if_present(path).value_or(""); }

void write_file(const std::filesystem::path& path, const std::string& text) {
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

}  // namespace vrk::testing
