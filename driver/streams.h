// Buffered byte streams for the translator's files.
//
// OutputBuffer collects bytes and hands them to a file descriptor in large blocks, so that the
// per-token trace lines and the final fragment walk cost no system call each. With no descriptor it
// keeps everything in memory, which is how tests and the fuzzer run a whole translation in-process.
// SourceReader delivers the occam source one line at a time from a descriptor or from memory, reading
// the descriptor in large blocks; it applies the text conventions the scanner relies on (see read_line).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vrk {

class OutputBuffer {
 public:
  OutputBuffer() = default;  // in-memory sink
  explicit OutputBuffer(int fd) : fd_(fd) { pending_.reserve(kBlock); }
  ~OutputBuffer() { flush(); }
  OutputBuffer(const OutputBuffer&) = delete;
  OutputBuffer& operator=(const OutputBuffer&) = delete;

  void write(std::string_view bytes) {
    pending_.append(bytes);
    if (fd_ >= 0 && pending_.size() >= kBlock) flush();
  }
  void put(char c) {
    pending_.push_back(c);
    if (fd_ >= 0 && pending_.size() >= kBlock) flush();
  }
  // Hands buffered bytes to the descriptor; a memory sink keeps them.
  void flush();
  // True once a write to the descriptor failed (disk full, closed pipe, ...).
  bool failed() const { return failed_; }
  // Everything written so far to a memory sink.
  const std::string& contents() const { return pending_; }
  bool in_memory() const { return fd_ < 0; }

 private:
  static constexpr std::size_t kBlock = 1 << 16;
  int fd_ = -1;
  bool failed_ = false;
  std::string pending_;
};

class SourceReader {
 public:
  // Longest line the scanner accepts, not counting its line feed.
  static constexpr std::size_t kMaxLineLength = 253;
  // How much of an over-long line is kept for the message about it.
  static constexpr std::size_t kOverlongKept = 254;

  enum class Result { line, end_of_input, overlong, read_error };

  explicit SourceReader(int fd) : fd_(fd) {}
  explicit SourceReader(std::string_view text) : memory_(text), in_memory_(true) {}

  // Reads the next line into `line`, ending in exactly one line feed. "\r\n" counts as one line feed,
  // and a last line without one reads as if it had one. A line longer than kMaxLineLength gives
  // `overlong`, with its first kOverlongKept characters in `line`.
  Result read_line(std::string& line);

 private:
  bool refill();
  int fd_ = -1;
  std::string_view memory_;
  bool in_memory_ = false;
  bool exhausted_ = false;
  bool error_ = false;
  std::string block_;
  std::size_t pos_ = 0;
};

}  // namespace vrk
