// Finding and opening the files #INCLUDE names, for the occam 2 mode's scanner.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vrk::occam2 {

// Which file a path leads to, so that a file open twice is recognised under any name.
struct FileIdentity {
  unsigned long long device = 0;
  unsigned long long inode = 0;
  bool known = false;
  bool same_as(const FileIdentity& other) const {
    return known && other.known && device == other.device && inode == other.inode;
  }
};

// The identity of the file at `path`; unknown when there is none.
FileIdentity identity_of(const std::string& path);

// The folder part of a path ("" for a bare file name), to look includes up beside it.
std::string directory_of(std::string_view path);

// A file opened for an include; the descriptor is closed with it.
class IncludeFile {
 public:
  enum class Status { opened, not_found, unusable };

  IncludeFile() = default;
  IncludeFile(IncludeFile&& other) noexcept { *this = std::move(other); }
  IncludeFile& operator=(IncludeFile&& other) noexcept;
  ~IncludeFile();

  // Looks `name` up beside the including file (in `including_dir`), then in each of `dirs` in
  // order, and opens the first candidate that is there. Only a name found nowhere is not_found: a
  // candidate that is there but cannot be used is unusable, with the problem (a loop of links, a
  // link to nothing, no permission, a folder, a device or a pipe, which would fail or never end).
  static IncludeFile find(std::string_view name, const std::string& including_dir, const std::vector<std::string>& dirs);

  Status status = Status::not_found;
  int fd = -1;
  std::string path;     // the path it was found under (or refused at)
  std::string problem;  // why it is unusable: "PATH is not a regular file", "PATH: Permission denied", ...
  FileIdentity identity;
};

}  // namespace vrk::occam2
