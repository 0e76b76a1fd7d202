// Buffered output streams for the translator's files.
//
// OutputBuffer collects bytes and hands them to a file descriptor in large blocks, so that the
// per-token trace lines and the final fragment walk cost no system call each. With no descriptor it
// keeps everything in memory, which is how tests and the fuzzer run a whole translation in-process.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace vrk {

class OutputBuffer {
 public:
  OutputBuffer() = default;  // in-memory sink
  explicit OutputBuffer(int fd) : fd_(fd) {}
  ~OutputBuffer() { flush(); }
  OutputBuffer(const OutputBuffer&) = delete;
  OutputBuffer& operator=(const OutputBuffer&) = delete;

  void write(std::string_view bytes) {
    if (bytes.size() > kBlock - used_) {
      write_large(bytes);
      return;
    }
    std::memcpy(block_ + used_, bytes.data(), bytes.size());
    used_ += bytes.size();
  }
  void put(char c) { write(std::string_view(&c, 1)); }
  // Hands buffered bytes to the descriptor, or to the kept contents of a memory sink.
  void flush();
  // True once a write to the descriptor failed (disk full, closed pipe, ...).
  bool failed() const { return failed_; }
  // The errno of the first failed write.
  int error_number() const { return error_number_; }
  // Everything written so far to a memory sink.
  const std::string& contents() {
    flush();
    return memory_;
  }
  bool in_memory() const { return fd_ < 0; }

 private:
  static constexpr std::size_t kBlock = std::size_t{1} << 16;
  void write_large(std::string_view bytes);
  void hand_over(const char* data, std::size_t length);

  int fd_ = -1;
  bool failed_ = false;
  int error_number_ = 0;
  std::size_t used_ = 0;
  char block_[kBlock];
  std::string memory_;
};

}  // namespace vrk
