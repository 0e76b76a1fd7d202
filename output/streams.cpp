#include "output/streams.h"

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

}  // namespace vrk
