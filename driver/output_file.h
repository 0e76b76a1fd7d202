// A file the run writes, replaced as a whole or not at all.
//
// The bytes go to a temporary file created beside the file the path finally names (symbolic
// links followed, also a dangling last one); commit() renames it over that file, so readers see
// either the previous file or the complete new one. Until then the temporary file is listed for
// removal should a signal or an abnormal stop end the process, and discard() (or destruction
// without a commit) removes it: a failed run leaves the previous file byte for byte. Temporary
// files of a run that was killed outright are removed by the next run for the same target. A path that
// names a device or a pipe is written directly, and so is a descriptor handed over as it is
// (standard output).
#pragma once

#include <string>

namespace vrk {

class OutputFile {
 public:
  // Prepares `path` for writing; `what` names it in messages ("output file", "debug log").
  // On failure ok() is false and problem() says why.
  static OutputFile create(const std::string& path, const char* what);
  // Writes straight to `fd`, which stays open; `name` stands for it in messages.
  static OutputFile on_descriptor(int fd, std::string name);

  OutputFile(OutputFile&& other) noexcept;
  OutputFile& operator=(OutputFile&& other) noexcept;
  ~OutputFile() { discard(); }

  bool ok() const { return fd_ >= 0; }
  int fd() const { return fd_; }
  const std::string& name() const { return name_; }
  const std::string& problem() const { return problem_; }
  bool replaces() const { return !temporary_.empty(); }

  // Closes the file and puts it in place. False when that failed: problem() then says why, the
  // temporary file is gone and the previous file is untouched.
  bool commit();
  // Drops what was written: the temporary file is removed, the previous file stays as it was.
  void discard();

 private:
  OutputFile() = default;
  bool close_fd();
  void fail(const char* action, int error);

  std::string name_;       // as the user gave it
  std::string target_;     // the file it finally names
  std::string temporary_;  // empty when written directly
  int fd_ = -1;
  bool owns_fd_ = true;
  std::string problem_;
};

// "vrk: cannot write 'NAME': REASON", the report of a failed write.
std::string cannot_write(const std::string& name, int error);

}  // namespace vrk
