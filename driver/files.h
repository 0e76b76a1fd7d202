// The command line's files: checks that keep a run from destroying its own input, and opening.
#pragma once

#include <string>

namespace vrk {

inline constexpr const char* kDebugLogName = "vrk.deb";

// A file the driver opened, or the message that says why it could not.
struct OpenedFile {
  int fd = -1;
  std::string problem;
  bool ok() const { return fd >= 0; }
};

// Opens the occam source for reading; a directory or an unreadable file is refused.
OpenedFile open_source(const std::string& path);
// Creates (or truncates) a file to write.
OpenedFile create_output(const std::string& path, const char* what);
// True when `path` names the file open as `fd` (also through another path to it).
bool names_open_file(const std::string& path, int fd);
// True when the two paths name the same file, existing or about to be created.
bool names_same_file(const std::string& path, const std::string& other);

}  // namespace vrk
