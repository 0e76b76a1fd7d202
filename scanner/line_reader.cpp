#include "scanner/line_reader.h"

#include <cerrno>
#include <algorithm>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace vrk {

// Makes block_[pos_..] non-empty if any input is left.
bool SourceReader::refill() {
  if (pos_ < block_.size()) return true;
  if (exhausted_) return false;
  if (in_memory_) {
    block_.assign(memory_);
    pos_ = 0;
    exhausted_ = true;
    return !block_.empty();
  }
  static constexpr std::size_t kChunk = 1 << 16;
  block_.resize(kChunk);
  pos_ = 0;
  for (;;) {
    ssize_t n = ::read(fd_, block_.data(), kChunk);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n < 0) error_ = true;
      exhausted_ = true;
      block_.clear();
      return false;
    }
    block_.resize(static_cast<std::size_t>(n));
    return true;
  }
}

SourceReader::Result SourceReader::read_line(std::string& line) {
  line.clear();
  bool got_any = false;
  while (refill()) {
    got_any = true;
    const char* start = block_.data() + pos_;
    std::size_t avail = block_.size() - pos_;
    const void* lf = std::memchr(start, '\n', avail);
    std::size_t take = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - start) + 1 : avail;
    line.append(start, take);
    pos_ += take;
    if (lf) break;
    // Stop collecting once the line is certainly over-long; nothing after it is read.
    if (limited_ && line.size() > kMaxLineLength + 2) break;
  }
  if (!got_any) return error_ ? Result::read_error : Result::end_of_input;
  if (line.empty() || line.back() != '\n') line.push_back('\n');
  if (line.size() >= 2 && line[line.size() - 2] == '\r') line.erase(line.size() - 2, 1);
  if (limited_ && line.size() - 1 > kMaxLineLength) {
    line.resize(kOverlongKept);
    return Result::overlong;
  }
  return Result::line;
}

SourceReader::Result SourceReader::read_part(std::string& part, std::size_t limit, bool& ended) {
  if (!within_line_ && append_whole_line(part, limit)) [[likely]] {
    ended = true;
    return Result::line;
  }
  ended = false;
  const std::size_t start = part.size();
  bool input_left = true;
  for (;;) {
    if (!refill()) {
      input_left = false;
      break;
    }
    const std::size_t taken = part.size() - start;
    // Past the limit only the byte after a carriage return is still taken, to settle "\r\n".
    const std::size_t room = taken < limit ? limit - taken : 1;
    const char* from = block_.data() + pos_;
    const std::size_t look = std::min(block_.size() - pos_, room);
    const void* lf = std::memchr(from, '\n', look);
    const std::size_t take = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - from) + 1 : look;
    part.append(from, take);
    pos_ += take;
    if (lf) {
      ended = true;
      break;
    }
    if (part.size() - start >= limit && part.back() != '\r') break;
  }
  if (!input_left) {
    if (part.size() == start && !within_line_) return error_ ? Result::read_error : Result::end_of_input;
    part.push_back('\n');
    ended = true;
  }
  if (ended && part.size() - start >= 2 && part[part.size() - 2] == '\r') part.erase(part.size() - 2, 1);
  within_line_ = !ended;
  return Result::line;
}

// Most lines lie whole in the block, within the limit, and end in a plain line feed: appended at
// once. False, with nothing taken, for any other.
bool SourceReader::append_whole_line(std::string& part, std::size_t limit) {
  const char* const from = block_.data() + pos_;
  const std::size_t look = std::min(block_.size() - pos_, limit);
  const void* const lf = look > 0 ? std::memchr(from, '\n', look) : nullptr;
  if (lf == nullptr) return false;
  const auto length = static_cast<std::size_t>(static_cast<const char*>(lf) - from) + 1;
  if (length >= 2 && from[length - 2] == '\r') return false;
  part.append(from, length);
  pos_ += length;
  return true;
}

SourceReader::Result SourceReader::read_line(std::string_view& line) {
  const char* start = block_.data() + pos_;
  const std::size_t avail = block_.size() - pos_;
  const void* lf = avail > 0 ? std::memchr(start, '\n', avail) : nullptr;
  if (lf == nullptr) {
    Result result = read_line(spanning_);
    line = spanning_;
    return result;
  }
  std::size_t length = static_cast<std::size_t>(static_cast<const char*>(lf) - start) + 1;
  pos_ += length;
  if (length >= 2 && start[length - 2] == '\r') {
    block_[pos_ - 2] = '\n';
    --length;
  }
  if (limited_ && length - 1 > kMaxLineLength) {
    line = std::string_view(start, kOverlongKept);
    return Result::overlong;
  }
  line = std::string_view(start, length);
  return Result::line;
}

}  // namespace vrk
