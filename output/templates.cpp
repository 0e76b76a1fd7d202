#include "output/templates.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/string.h"

namespace vrk {

namespace {

constexpr const char* kTemplateTooLarge = "larger than the 16 MiB a template may hold";

enum class Reading { done, absent, refused };

bool read_within_limit(int fd, std::size_t limit, std::string& content, std::string& reason) {
  char block[1 << 14];
  for (;;) {
    ssize_t n = ::read(fd, block, sizeof block);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      reason = std::strerror(errno);
      return false;
    }
    if (n == 0) return true;
    if (content.size() + static_cast<std::size_t>(n) > limit) {
      reason = kTemplateTooLarge;
      return false;
    }
    content.append(block, static_cast<std::size_t>(n));
  }
}

// Reads a whole template. A file that is not there gives `absent`; one that is there but cannot
// be used (unreadable, not a regular file, over the size limit) gives `refused`, with `reason`.
Reading read_template(const std::string& path, std::string& content, std::string& reason) {
  // Non-blocking, so that opening a pipe cannot wait for a writer; regular files read as usual.
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    reason = std::strerror(errno);
    return errno == ENOENT || errno == ENOTDIR ? Reading::absent : Reading::refused;
  }
  struct stat info {};
  bool ok = false;
  if (::fstat(fd, &info) != 0) {
    reason = std::strerror(errno);
  } else if (!S_ISREG(info.st_mode)) {
    reason = "not a regular file";
  } else if (static_cast<unsigned long long>(info.st_size) > kMaxTemplateBytes) {
    reason = kTemplateTooLarge;
  } else {
    content.reserve(static_cast<std::size_t>(info.st_size));
    ok = read_within_limit(fd, kMaxTemplateBytes, content, reason);
  }
  ::close(fd);
  return ok ? Reading::done : Reading::refused;
}

}  // namespace

std::vector<std::string> DirectoryTemplates::candidates() const {
  std::vector<std::string> paths;
  for (const std::string& dir : directories_) {
    for (std::string_view name : {kHeaderTemplate, kBoardTemplate, kMainTemplate}) paths.push_back(dir + "/" + std::string(name));
  }
  return paths;
}

// The first directory that has the file wins; a file that is there but unusable ends the search,
// so that a user's own template is never passed over in silence.
std::optional<std::string> DirectoryTemplates::load(std::string_view name, std::string& where) {
  where.clear();
  for (const std::string& dir : directories_) {
    std::string path = dir + "/" + std::string(name);
    std::string content, reason;
    Reading reading = read_template(path, content, reason);
    if (reading == Reading::done) return content;
    if (!where.empty()) where += ", ";
    where += path + " (" + reason + ")";
    if (reading == Reading::refused) break;
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

std::string unreadable_template(std::string_view name, std::string_view tried) {
  return "vrk: cannot read the template file msgs/" + std::string(name) + " (tried " + std::string(tried) + ")";
}

}  // namespace vrk
