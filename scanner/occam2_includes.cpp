#include "scanner/occam2_includes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vrk::occam2 {

namespace {

std::string joined(const std::string& dir, std::string_view name) {
  if (dir.empty() || name.front() == '/') return std::string(name);
  std::string path = dir;
  if (path.back() != '/') path += '/';
  path += name;
  return path;
}

FileIdentity identity_from(const struct stat& st) {
  return {static_cast<unsigned long long>(st.st_dev), static_cast<unsigned long long>(st.st_ino), true};
}

// Opens the regular file at `path`. O_NONBLOCK keeps a pipe that appeared since the lookup
// from blocking the open; fstat then settles what was opened.
void open_regular(IncludeFile& file) {
  file.fd = ::open(file.path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  struct stat st;
  if (file.fd < 0 || ::fstat(file.fd, &st) != 0) {
    file.status = IncludeFile::Status::unreadable;
    return;
  }
  if (!S_ISREG(st.st_mode)) {
    file.status = IncludeFile::Status::not_regular;
    return;
  }
  file.identity = identity_from(st);
  file.status = IncludeFile::Status::opened;
}

}  // namespace

FileIdentity identity_of(const std::string& path) {
  struct stat st;
  if (path.empty() || ::stat(path.c_str(), &st) != 0) return {};
  return identity_from(st);
}

std::string directory_of(std::string_view path) {
  std::size_t slash = path.rfind('/');
  if (slash == std::string_view::npos) return {};
  return std::string(path.substr(0, slash + 1));
}

IncludeFile& IncludeFile::operator=(IncludeFile&& other) noexcept {
  if (this != &other) {
    if (fd >= 0) ::close(fd);
    status = other.status;
    fd = other.fd;
    path = std::move(other.path);
    identity = other.identity;
    other.fd = -1;
  }
  return *this;
}

IncludeFile::~IncludeFile() {
  if (fd >= 0) ::close(fd);
}

IncludeFile IncludeFile::find(std::string_view name, const std::string& including_dir,
                              const std::vector<std::string>& dirs) {
  IncludeFile file;
  if (name.empty()) return file;
  std::vector<std::string> candidates{joined(including_dir, name)};
  if (name.front() != '/') {
    for (const std::string& dir : dirs) candidates.push_back(joined(dir, name));
  }
  for (std::string& candidate : candidates) {
    struct stat st;
    if (::stat(candidate.c_str(), &st) != 0) continue;
    file.path = std::move(candidate);
    if (!S_ISREG(st.st_mode)) {
      file.status = Status::not_regular;
      return file;
    }
    open_regular(file);
    return file;
  }
  return file;
}

}  // namespace vrk::occam2
