#include "driver/streams.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace vrk {

OutputBuffer::OutputBuffer(int fd) : fd_(fd) {
  struct stat info {};
  truncatable_ = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size == 0 &&
                 ::lseek(fd, 0, SEEK_CUR) == 0;
}

bool OutputBuffer::truncate_to_mark() {
  if (!truncatable_) return false;
  if (mark_ >= handed_over_) {  // what goes is still in the block
    used_ = mark_ - handed_over_;
    return true;
  }
  used_ = 0;
  handed_over_ = mark_;
  if (fd_ < 0) {
    memory_.resize(mark_);
    return true;
  }
  if (::ftruncate(fd_, static_cast<off_t>(mark_)) != 0 || ::lseek(fd_, static_cast<off_t>(mark_), SEEK_SET) < 0) {
    if (!failed_) error_number_ = errno;
    failed_ = true;
    return false;
  }
  return true;
}

void OutputBuffer::flush() {
  hand_over(block_, used_);
  used_ = 0;
}

// Bytes that do not fit what is left of the block: flush, then keep or pass them on.
void OutputBuffer::write_large(std::string_view bytes) {
  flush();
  if (bytes.size() < kBlock) {
    std::memcpy(block_, bytes.data(), bytes.size());
    used_ = bytes.size();
  } else {
    hand_over(bytes.data(), bytes.size());
  }
}

void OutputBuffer::hand_over(const char* data, std::size_t length) {
  if (length == 0) return;
  handed_over_ += length;
  if (fd_ < 0) {
    memory_.append(data, length);
    return;
  }
  while (length > 0 && !failed_) {
    ssize_t n = ::write(fd_, data, length);
    if (n < 0) {
      if (errno == EINTR) continue;
      failed_ = true;
      error_number_ = errno;
      break;
    }
    data += n;
    length -= static_cast<std::size_t>(n);
  }
}

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
    if (line.size() > kMaxLineLength + 2) break;
  }
  if (!got_any) return error_ ? Result::read_error : Result::end_of_input;
  if (line.empty() || line.back() != '\n') line.push_back('\n');
  if (line.size() >= 2 && line[line.size() - 2] == '\r') line.erase(line.size() - 2, 1);
  if (line.size() - 1 > kMaxLineLength) {
    line.resize(kOverlongKept);
    return Result::overlong;
  }
  return Result::line;
}

}  // namespace vrk
