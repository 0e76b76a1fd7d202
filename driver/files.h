// The command line's files: checks that keep a run from destroying its own input, and opening.
#pragma once

#include <string>

namespace vrk {

inline constexpr const char* kDebugLogName = "vrk.deb";

// A file the driver opened for reading, closed with this object (a standard stream excepted), or
// the message that says why it could not be opened.
struct OpenedFile {
  OpenedFile() = default;
  OpenedFile(OpenedFile&& other) noexcept : fd(other.fd), problem(std::move(other.problem)) { other.fd = -1; }
  OpenedFile& operator=(OpenedFile&&) = delete;
  ~OpenedFile();

  int fd = -1;
  std::string problem;
  bool ok() const { return fd >= 0; }
};

// A path as messages show it: 'path'.
std::string quoted(const std::string& path);
// The directory part of `path` ("." when it has none).
std::string directory_of(const std::string& path);

// Makes sure descriptors 0, 1 and 2 are open (a closed one is opened on /dev/null), so that no
// file the run opens later takes the place of a standard stream. False when that fails.
bool ensure_standard_streams_open();

// The absolute path `path` finally names, with every symbolic link followed, also a last one
// whose target does not exist yet. When the directory part cannot be resolved, `path` itself.
std::string final_path(const std::string& path);
// True when writing `a` would write the file `b` names (the same file, also through symbolic or
// hard links, or the same place for a file not yet created).
bool same_destination(const std::string& a, const std::string& b);

// Opens the occam source for reading; a directory or an unreadable file is refused.
OpenedFile open_source(const std::string& path);
// True when `path` names the file open as `fd` (also through another path to it).
bool names_open_file(const std::string& path, int fd);

}  // namespace vrk
