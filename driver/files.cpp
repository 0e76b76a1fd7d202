#include "driver/files.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vrk {

namespace {

constexpr int kMaxLinkHops = 40;  // as many as the kernel follows before ELOOP

// The absolute form of `path`, resolving its directory part (the file itself need not exist).
std::string absolute_path(const std::string& path) {
  std::string::size_type slash = path.rfind('/');
  std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
  char resolved[PATH_MAX];
  if (base.empty() || base == "." || base == "..") {
    return ::realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : path;
  }
  if (::realpath(directory_of(path).c_str(), resolved) == nullptr) return path;
  std::string result = resolved;
  if (result.back() != '/') result += '/';
  return result + base;
}

bool same_file(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

}  // namespace

std::string quoted(const std::string& path) { return "'" + path + "'"; }

std::string directory_of(const std::string& path) {
  std::string::size_type slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// A standard stream handed over as a file stays with the process.
OpenedFile::~OpenedFile() {
  if (fd > STDERR_FILENO) ::close(fd);
}

OpenedFile open_source(const std::string& path) {
  OpenedFile file;
  file.fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (file.fd < 0) {
    file.problem = "vrk: cannot open source file " + quoted(path) + ": " + std::strerror(errno);
    return file;
  }
  struct stat info {};
  if (::fstat(file.fd, &info) == 0 && S_ISDIR(info.st_mode)) {
    ::close(file.fd);
    file.fd = -1;
    file.problem = "vrk: cannot read source file " + quoted(path) + ": " + std::strerror(EISDIR);
  }
  return file;
}

bool names_open_file(const std::string& path, int fd) {
  struct stat named {}, open_file {};
  if (::stat(path.c_str(), &named) != 0 || ::fstat(fd, &open_file) != 0) return false;
  return same_file(named, open_file);
}

bool ensure_standard_streams_open() {
  for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
    if (::fcntl(fd, F_GETFD) >= 0 || errno != EBADF) continue;
    // The lowest free descriptor, which is this one.
    int null = ::open("/dev/null", O_RDWR);
    if (null != fd) {
      if (null >= 0) ::close(null);
      return false;
    }
  }
  return true;
}

std::string final_path(const std::string& path) {
  std::string current = path;
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    char target[PATH_MAX];
    ssize_t n = ::readlink(current.c_str(), target, sizeof target);
    if (n <= 0 || n == static_cast<ssize_t>(sizeof target)) break;  // not a link (or absent)
    std::string link(target, static_cast<std::size_t>(n));
    current = link.front() == '/' ? link : directory_of(current) + "/" + link;
  }
  return absolute_path(current);
}

bool same_destination(const std::string& a, const std::string& b) {
  struct stat sa {}, sb {};
  if (::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0) return same_file(sa, sb);
  return final_path(a) == final_path(b);
}

}  // namespace vrk
