// Output sinks that can be cut back to a mark: a fresh regular file or a memory sink that allows
// it; pipes, and files that already held something, cannot.
#include "output/streams.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace vrk {
namespace {

// Many bytes, beyond an output block. Out of line: g++ 12 otherwise follows the constant size into
// the inlined small-write path and warns about bounds that path never reaches.
[[gnu::noinline]] std::string many(char c, std::size_t count) { return std::string(count, c); }

// A fresh empty file in the temporary directory, removed at the end of the test.
class ScratchFile {
 public:
  ScratchFile() {
    std::string pattern = ::testing::TempDir() + "vrk-streams-XXXXXX";
    fd_ = ::mkstemp(pattern.data());
    path_ = pattern;
  }
  ~ScratchFile() {
    ::close(fd_);
    ::unlink(path_.c_str());
  }
  int fd() const { return fd_; }
  std::string contents() const {
    std::string text(static_cast<std::size_t>(::lseek(fd_, 0, SEEK_END)), '\0');
    EXPECT_EQ(::pread(fd_, text.data(), text.size(), 0), static_cast<ssize_t>(text.size()));
    return text;
  }

 private:
  int fd_ = -1;
  std::string path_;
};

TEST(OutputBuffer, AFreshFileIsCutBackToTheMarkAndWrittenOnFromThere) {
  ScratchFile file;
  {
    OutputBuffer out(file.fd());
    ASSERT_TRUE(out.can_truncate());
    out.write("header\n");
    out.set_mark();
    out.write(many('x', 300000));  // beyond the block: on disk before the cut
    out.write("tail");
    EXPECT_EQ(out.position(), 7u + 300000u + 4u);
    EXPECT_TRUE(out.truncate_to_mark());
    EXPECT_EQ(out.position(), 7u);
    out.write("after\n");
  }
  EXPECT_EQ(file.contents(), "header\nafter\n");
}

TEST(OutputBuffer, CuttingBackWhatIsStillBufferedNeedsNoFile) {
  ScratchFile file;
  {
    OutputBuffer out(file.fd());
    out.write("header\n");
    out.set_mark();
    out.write("dropped");
    EXPECT_TRUE(out.truncate_to_mark());
  }
  EXPECT_EQ(file.contents(), "header\n");
}

TEST(OutputBuffer, OnlyFreshRegularFilesAndAllowingMemorySinksCanBeCutBack) {
  int pipe_ends[2];
  ASSERT_EQ(::pipe(pipe_ends), 0);
  OutputBuffer to_pipe(pipe_ends[1]);
  EXPECT_FALSE(to_pipe.can_truncate());
  to_pipe.set_mark();
  EXPECT_FALSE(to_pipe.truncate_to_mark());

  ScratchFile used;
  ASSERT_EQ(::write(used.fd(), "old", 3), 3);
  EXPECT_FALSE(OutputBuffer(used.fd()).can_truncate()) << "bytes before ours are not ours to cut";

  EXPECT_FALSE(OutputBuffer().can_truncate());
  OutputBuffer memory(OutputBuffer::Truncation::allowed);
  memory.write("kept");
  memory.set_mark();
  memory.write(many('y', 100000));
  EXPECT_TRUE(memory.truncate_to_mark());
  EXPECT_EQ(memory.contents(), "kept");
  ::close(pipe_ends[0]);
  ::close(pipe_ends[1]);
}

}  // namespace
}  // namespace vrk
