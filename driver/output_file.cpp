#include "driver/output_file.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "driver/cleanup.h"
#include "driver/files.h"

namespace vrk {

namespace {

// Room for ".", the suffix and the pid within the 255 bytes a file name may have.
constexpr std::size_t kMaxBaseInTemporaryName = 200;
constexpr int kNameAttempts = 100;

std::string base_of(const std::string& path) {
  std::string::size_type slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string in_directory(const std::string& dir, const std::string& name) { return (dir == "/" ? "" : dir) + "/" + name; }

// Temporary files of `target` are named ".<base>.vrk-<pid>-<n>": hidden, beside their target,
// and plainly vrk's.
std::string temporary_prefix(const std::string& target) {
  return "." + base_of(target).substr(0, kMaxBaseInTemporaryName) + ".vrk-";
}

std::string temporary_name(const std::string& target) {
  static unsigned serial = 0;
  char suffix[64];
  std::snprintf(suffix, sizeof suffix, "%ld-%u", static_cast<long>(::getpid()), serial++);
  return in_directory(directory_of(target), temporary_prefix(target) + suffix);
}

// The process that made temporary file `name` (after `prefix`), or 0 when it is no such name.
long maker_of(const char* name, const std::string& prefix) {
  if (std::strncmp(name, prefix.c_str(), prefix.size()) != 0) return 0;
  char* end = nullptr;
  const char* digits = name + prefix.size();
  long pid = std::strtol(digits, &end, 10);
  if (end == digits || *end != '-' || pid <= 0) return 0;
  const char* serial = end + 1;
  std::strtoul(serial, &end, 10);
  return end != serial && *end == '\0' ? pid : 0;
}

// A run ended by SIGKILL (or a crash of the machine) leaves its temporary files behind; the next
// run for the same target removes those whose process is gone.
void remove_stale_temporaries(const std::string& target) {
  const std::string dir = directory_of(target);
  const std::string prefix = temporary_prefix(target);
  DIR* listing = ::opendir(dir.c_str());
  if (listing == nullptr) return;
  while (const dirent* entry = ::readdir(listing)) {
    long pid = maker_of(entry->d_name, prefix);
    if (pid != 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) {
      ::unlink(in_directory(dir, entry->d_name).c_str());
    }
  }
  ::closedir(listing);
}

// The new file takes the previous one's permissions (and owner, where allowed) instead of
// the defaults a fresh file gets.
void take_over_attributes(int fd, const struct stat& previous) {
  if (previous.st_uid != ::geteuid() || previous.st_gid != ::getegid()) {
    if (::fchown(fd, previous.st_uid, previous.st_gid) != 0) { /* kept as created */ }
  }
  ::fchmod(fd, previous.st_mode & 07777);
}

}  // namespace

std::string cannot_write(const std::string& name, int error) {
  return "vrk: cannot write " + quoted(name) + ": " + std::strerror(error);
}

void OutputFile::fail(const char* action, int error) {
  problem_ = std::string("vrk: ") + action + " " + quoted(name_) + ": " + std::strerror(error);
}

OutputFile OutputFile::create(const std::string& path, const char* what) {
  OutputFile file;
  file.name_ = path;
  const std::string action = std::string("cannot create ") + what;
  struct stat existing {};
  const bool exists = ::stat(path.c_str(), &existing) == 0;
  if (path.empty()) {
    file.fail(action.c_str(), ENOENT);
    return file;
  }
  if (path.back() == '/') {
    file.fail(action.c_str(), exists && S_ISDIR(existing.st_mode) ? EISDIR : ENOENT);
    return file;
  }
  if (exists && S_ISDIR(existing.st_mode)) {
    file.fail(action.c_str(), EISDIR);
    return file;
  }
  if (exists && !S_ISREG(existing.st_mode)) {  // a device or a pipe: nothing to replace
    file.fd_ = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (file.fd_ < 0) file.fail(action.c_str(), errno);
    return file;
  }
  file.target_ = final_path(path);
  // Replacing a file the user may not write would be more than writing it.
  if (exists && ::faccessat(AT_FDCWD, file.target_.c_str(), W_OK, AT_EACCESS) != 0) {
    file.fail(action.c_str(), errno);
    return file;
  }
  remove_stale_temporaries(file.target_);
  SignalsHeld held;
  for (int attempt = 0; attempt < kNameAttempts && file.fd_ < 0; ++attempt) {
    std::string name = temporary_name(file.target_);
    file.fd_ = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (file.fd_ >= 0) {
      file.temporary_ = name;
    } else if (errno != EEXIST) {
      break;
    }
  }
  if (file.fd_ < 0) {
    file.fail(action.c_str(), errno);
    return file;
  }
  if (!add_temporary(file.temporary_)) {
    const int error = ENAMETOOLONG;
    file.discard();
    file.fail(action.c_str(), error);
    return file;
  }
  if (exists) take_over_attributes(file.fd_, existing);
  return file;
}

OutputFile OutputFile::on_descriptor(int fd, std::string name) {
  OutputFile file;
  file.name_ = std::move(name);
  file.fd_ = fd;
  file.owns_fd_ = false;
  return file;
}

OutputFile::OutputFile(OutputFile&& other) noexcept
    : name_(std::move(other.name_)),
      target_(std::move(other.target_)),
      temporary_(std::move(other.temporary_)),
      fd_(other.fd_),
      owns_fd_(other.owns_fd_),
      problem_(std::move(other.problem_)) {
  other.temporary_.clear();
  other.fd_ = -1;
}

OutputFile& OutputFile::operator=(OutputFile&& other) noexcept {
  if (this != &other) {
    discard();
    name_ = std::move(other.name_);
    target_ = std::move(other.target_);
    temporary_ = std::move(other.temporary_);
    fd_ = other.fd_;
    owns_fd_ = other.owns_fd_;
    problem_ = std::move(other.problem_);
    other.temporary_.clear();
    other.fd_ = -1;
  }
  return *this;
}

// Closing is where some file systems report a write that could not be done.
bool OutputFile::close_fd() {
  const int fd = fd_;
  fd_ = -1;
  if (fd < 0 || !owns_fd_) return true;
  return ::close(fd) == 0;
}

bool OutputFile::commit() {
  if (!close_fd()) {
    const int error = errno;
    discard();
    problem_ = cannot_write(name_, error);
    return false;
  }
  if (temporary_.empty()) return true;
  SignalsHeld held;
  if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
    const int error = errno;
    discard();
    problem_ = cannot_write(name_, error);
    return false;
  }
  drop_temporary(temporary_);
  temporary_.clear();
  return true;
}

void OutputFile::discard() {
  close_fd();
  if (temporary_.empty()) return;
  SignalsHeld held;
  ::unlink(temporary_.c_str());
  drop_temporary(temporary_);
  temporary_.clear();
}

}  // namespace vrk
