// Buffered output streams for the translator's files.
//
// OutputBuffer collects bytes and hands them to a file descriptor in large blocks, so that the
// per-token trace lines and the final fragment walk cost no system call each. With no descriptor it
// keeps everything in memory, which is how tests and the fuzzer run a whole translation in-process.
// A sink that can truncate back to a mark (a fresh regular file, or a memory sink that allows it)
// lets the translation write settled output early and still take it back when the parse fails.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

#include "support/bytes.h"

namespace vrk {

class OutputBuffer {
 public:
  enum class Truncation { refused, allowed };

  explicit OutputBuffer(Truncation truncation = Truncation::refused)  // in-memory sink
      : truncatable_(truncation == Truncation::allowed) {}
  // Truncation is possible when `fd` is an empty regular file positioned at its start: then every
  // byte of it is this buffer's to take back.
  explicit OutputBuffer(int fd);
  ~OutputBuffer() { flush(); }
  OutputBuffer(const OutputBuffer&) = delete;
  OutputBuffer& operator=(const OutputBuffer&) = delete;

  void write(std::string_view bytes) {
    if (bytes.size() > kBlock - used_) {
      write_large(bytes);
      return;
    }
    copy_bytes(block_ + used_, bytes.data(), bytes.size());
    used_ += bytes.size();
  }
  void put(char c) { write(std::string_view(&c, 1)); }
  // Room for up to `length` (at most kBlock) bytes at the end of the block, to be formatted in
  // place and then committed: text made there is never copied again before it is handed over.
  char* reserve(std::size_t length) {
    if (length > kBlock - used_) flush();
    return block_ + used_;
  }
  void commit(std::size_t length) { used_ += length; }
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

  // Bytes written so far, handed over or still buffered.
  std::size_t position() const { return handed_over_ + used_; }
  bool can_truncate() const { return truncatable_; }
  // Remembers the current position for truncate_to_mark.
  void set_mark() { mark_ = position(); }
  // Drops every byte written after the mark; false when the file could not be cut back.
  bool truncate_to_mark();

  static constexpr std::size_t kBlock = std::size_t{1} << 16;

 private:
  void write_large(std::string_view bytes);
  void hand_over(const char* data, std::size_t length);

  int fd_ = -1;
  bool failed_ = false;
  int error_number_ = 0;
  bool truncatable_ = false;
  std::size_t handed_over_ = 0;
  std::size_t mark_ = 0;
  std::size_t used_ = 0;
  char block_[kBlock];
  std::string memory_;
};

}  // namespace vrk
