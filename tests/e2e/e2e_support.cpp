#include "tests/e2e/e2e_support.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>

namespace vrk::testing {

std::vector<std::filesystem::path> files_with_extension(const std::filesystem::path& root,
                                                        const std::string& extension) {
  std::vector<std::filesystem::path> found;
  std::error_code ec;
  for (auto it = std::filesystem::recursive_directory_iterator(root, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    if (it->is_regular_file() && it->path().extension() == extension) found.push_back(it->path());
  }
  std::sort(found.begin(), found.end());
  return found;
}

std::string log_without_trace(const std::string& debug_log) {
  static const std::string kTrace = "yylex: token ";
  std::string rest;
  std::size_t pos = 0;
  while (pos < debug_log.size()) {
    if (debug_log.compare(pos, kTrace.size(), kTrace) == 0) {
      std::size_t open = debug_log.find('<', pos);
      std::size_t close = open == std::string::npos ? open : debug_log.find(">\n", open + 1);
      if (close != std::string::npos) {
        pos = close + 2;
        continue;
      }
    }
    std::size_t end = debug_log.find('\n', pos);
    end = end == std::string::npos ? debug_log.size() : end + 1;
    rest.append(debug_log, pos, end - pos);
    pos = end;
  }
  return rest;
}

std::string test_name_from(const std::string& text) {
  std::string name = text;
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

}  // namespace vrk::testing
