#include "output/streams.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace vrk {

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
