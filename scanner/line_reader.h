// The line reader: the occam source, one line at a time.
//
// SourceReader delivers the source from a descriptor or from memory, reading the descriptor in
// large blocks; it applies the text conventions the scanner relies on (see read_line).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vrk {

class SourceReader {
 public:
  // Longest line the scanner accepts, not counting its line feed.
  static constexpr std::size_t kMaxLineLength = 253;
  // How much of an over-long line is kept for the message about it.
  static constexpr std::size_t kOverlongKept = 254;

  enum class Result { line, end_of_input, overlong, read_error };
  // Whether lines longer than kMaxLineLength are refused (the default mode) or read whole.
  enum class LineLimit { classic, none };

  explicit SourceReader(int fd, LineLimit limit = LineLimit::classic)
      : fd_(fd), limited_(limit == LineLimit::classic) {}
  explicit SourceReader(std::string_view text, LineLimit limit = LineLimit::classic)
      : memory_(text), in_memory_(true), limited_(limit == LineLimit::classic) {}

  // Reads the next line into `line`, ending in exactly one line feed. "\r\n" counts as one line feed,
  // and a last line without one reads as if it had one. With the classic limit, a line longer than
  // kMaxLineLength gives `overlong`, with its first kOverlongKept characters in `line`.
  Result read_line(std::string& line);
  // The same, as a view that stays valid until the next read: a line that lies whole in the block
  // read last is not copied.
  Result read_line(std::string_view& line);

  // Reads a line in parts, for a scanner that keeps only a window of it (LineLimit::none): appends
  // the next bytes of the current line to `part`, at most about `limit` of them, and sets `ended`
  // once the line's line feed was appended. The conventions of read_line hold across the parts:
  // "\r\n" gives one line feed (a part never ends in the carriage return of one), and a last line
  // without a line feed gets one. At the start of a line, end_of_input or read_error when there is
  // nothing more; within a line, a read error ends it, and the next call reports it.
  Result read_part(std::string& part, std::size_t limit, bool& ended);

 private:
  bool refill();
  bool append_whole_line(std::string& part, std::size_t limit);
  int fd_ = -1;
  std::string_view memory_;
  bool in_memory_ = false;
  bool limited_ = true;
  bool exhausted_ = false;
  bool error_ = false;
  std::string block_;
  std::size_t pos_ = 0;
  bool within_line_ = false;  // read_part has handed out a line's start but not its end
  std::string spanning_;  // a line that began in an earlier block, or lacks its line feed
};

}  // namespace vrk
