#include "driver/templates.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "support/string.h"

namespace vrk {

namespace {

// Reads a whole regular file; nothing when it cannot be opened or is not a file.
std::optional<std::string> read_file(const std::string& path, std::string& reason) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    reason = std::strerror(errno);
    return std::nullopt;
  }
  std::string content;
  char block[1 << 14];
  for (;;) {
    ssize_t n = ::read(fd, block, sizeof block);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      reason = std::strerror(errno);
      ::close(fd);
      return std::nullopt;
    }
    if (n == 0) break;
    content.append(block, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return content;
}

}  // namespace

std::optional<std::string> DirectoryTemplates::load(std::string_view name, std::string& where) {
  where.clear();
  for (const std::string& dir : directories_) {
    std::string path = dir + "/" + std::string(name);
    std::string reason;
    if (auto content = read_file(path, reason)) return content;
    if (!where.empty()) where += ", ";
    where += path + " (" + reason + ")";
  }
  return std::nullopt;
}

std::optional<std::string> MemoryTemplates::load(std::string_view name, std::string& where) {
  where.clear();
  if (name == kHeaderTemplate) return header_;
  if (name == kBoardTemplate) return board_;
  if (name == kMainTemplate) return main_;
  where = "memory";
  return std::nullopt;
}

bool TemplateMerge::copy_template(std::string_view name, OutputBuffer& output) {
  std::optional<std::string> content = store_.load(name, missing_);
  if (!content) return false;
  output.write(*content);
  return true;
}

bool TemplateMerge::open_consts_area() {
  fragments_.append(string(kConstsAreaOpener));
  fragments_.append(string(kBooleanConstants));
  std::optional<std::string> main_text = store_.load(kMainTemplate, missing_);
  if (!main_text) return false;
  fragments_.append(string(*main_text));
  // The declarations were just appended and nothing removes them: no later call needs to look for
  // them, and the CONSTs area stays as it is, so what follows it may be written early.
  constants_settled_ = true;
  return true;
}

bool TemplateMerge::boolean_constants_present() const {
  for (const FragmentList::node* n = fragments_.first(); n != nullptr; n = n->next) {
    if (FragmentList::begins_with(n, "const TRUE = 1")) return true;
  }
  return false;
}

// The walks run once: afterwards the declarations are either present or can never be placed
// (no CONSTs area), and nothing later removes them or adds an opener.
void TemplateMerge::ensure_boolean_constants() {
  if (constants_settled_) return;
  constants_settled_ = true;
  if (boolean_constants_present()) return;
  for (FragmentList::node* n = fragments_.first(); n != nullptr; n = n->next) {
    if (FragmentList::begins_with(n, "\n/* CONSTs area */")) {
      fragments_.insert_after(n, string(kBooleanConstants));
      return;
    }
  }
}

}  // namespace vrk
