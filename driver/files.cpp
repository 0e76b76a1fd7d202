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

std::string quoted(const std::string& path) { return "'" + path + "'"; }

// The absolute form of `path`, resolving its directory part (the file itself need not exist).
std::string absolute_path(const std::string& path) {
  std::string::size_type slash = path.rfind('/');
  std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
  std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
  char resolved[PATH_MAX];
  if (::realpath(dir.c_str(), resolved) == nullptr) return path;
  std::string result = resolved;
  if (result.back() != '/') result += '/';
  return result + base;
}

}  // namespace

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

OpenedFile create_output(const std::string& path, const char* what) {
  OpenedFile file;
  file.fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (file.fd < 0) file.problem = std::string("vrk: cannot create ") + what + " " + quoted(path) + ": " + std::strerror(errno);
  return file;
}

bool names_open_file(const std::string& path, int fd) {
  struct stat named {}, open_file {};
  if (::stat(path.c_str(), &named) != 0 || ::fstat(fd, &open_file) != 0) return false;
  return named.st_dev == open_file.st_dev && named.st_ino == open_file.st_ino;
}

bool names_same_file(const std::string& path, const std::string& other) {
  struct stat named {}, other_named {};
  if (::stat(path.c_str(), &named) == 0 && ::stat(other.c_str(), &other_named) == 0) {
    return named.st_dev == other_named.st_dev && named.st_ino == other_named.st_ino;
  }
  return absolute_path(path) == absolute_path(other);
}

}  // namespace vrk
