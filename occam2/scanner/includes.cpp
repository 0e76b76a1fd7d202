#include "occam2/scanner/includes.h"

#include <cerrno>
#include <cstring>
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

constexpr const char* kNotRegular = " is not a regular file";
constexpr const char* kDanglingLink = " is a symbolic link to a missing file";

// `why` follows the path: " is ..." or ": <the system's reason>".
void refuse(IncludeFile& file, std::string_view why) {
  file.status = IncludeFile::Status::unusable;
  file.problem = file.path + std::string(why);
}

std::string system_reason(int error) { return std::string(": ") + std::strerror(error); }

// Opens the regular file at `path`. O_NONBLOCK keeps a pipe that appeared since the lookup
// from blocking the open; fstat then settles what was opened.
void open_regular(IncludeFile& file) {
  file.fd = ::open(file.path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  struct stat st;
  if (file.fd < 0 || ::fstat(file.fd, &st) != 0) return refuse(file, system_reason(errno));
  if (!S_ISREG(st.st_mode)) return refuse(file, kNotRegular);
  file.identity = identity_from(st);
  file.status = IncludeFile::Status::opened;
}

// A path that leads nowhere: nothing there, or a folder on the way that is a file.
bool names_nothing(const std::string& path, int error) {
  struct stat st;
  return (error == ENOENT || error == ENOTDIR) && ::lstat(path.c_str(), &st) != 0;
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
    problem = std::move(other.problem);
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
    if (::stat(candidate.c_str(), &st) != 0) {
      const int error = errno;
      if (names_nothing(candidate, error)) continue;
      file.path = std::move(candidate);
      refuse(file, error == ENOENT ? kDanglingLink : system_reason(error));
      return file;
    }
    file.path = std::move(candidate);
    if (!S_ISREG(st.st_mode)) {
      refuse(file, kNotRegular);
      return file;
    }
    open_regular(file);
    return file;
  }
  return file;
}

}  // namespace vrk::occam2
