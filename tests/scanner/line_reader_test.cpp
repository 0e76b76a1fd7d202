// The line reader on a real descriptor, whose source comes in blocks: lines that lie in one block
// are handed out in place, lines that cross into the next block are gathered, and both read alike.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "scanner/line_reader.h"

namespace vrk {
namespace {

// A temporary file holding `text`, open for reading from its start.
class SourceFile {
 public:
  explicit SourceFile(const std::string& text) : file_(std::tmpfile()) {
    std::fwrite(text.data(), 1, text.size(), file_);
    std::fflush(file_);
    std::rewind(file_);
  }
  ~SourceFile() { std::fclose(file_); }
  SourceFile(const SourceFile&) = delete;
  SourceFile& operator=(const SourceFile&) = delete;
  int fd() const { return fileno(file_); }

 private:
  std::FILE* file_;
};

struct Read {
  SourceReader::Result result;
  std::string line;
};

std::vector<Read> read_all(SourceReader& reader) {
  std::vector<Read> lines;
  for (;;) {
    std::string_view line;
    SourceReader::Result result = reader.read_line(line);
    if (result == SourceReader::Result::end_of_input) return lines;
    lines.push_back({result, std::string(line)});
    if (result != SourceReader::Result::line) return lines;
  }
}

// Lines of every length from 0 to 200 characters, some ended by "\r\n", repeated past several
// blocks of the reader, and a last line without its line feed.
TEST(LineReader, LinesInAndAcrossBlocksReadTheSame) {
  std::string text;
  std::vector<std::string> expected;
  for (int i = 0; text.size() < 300'000; ++i) {
    std::string body(static_cast<std::size_t>(i * 7 % 201), static_cast<char>('a' + i % 26));
    text += body + (i % 5 == 0 ? "\r\n" : "\n");
    expected.push_back(body + "\n");
  }
  text += "last\r";
  expected.emplace_back("last\n");

  SourceFile file(text);
  SourceReader reader(file.fd());
  std::vector<Read> lines = read_all(reader);
  ASSERT_EQ(lines.size(), expected.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i].result, SourceReader::Result::line) << "line " << i;
    ASSERT_EQ(lines[i].line, expected[i]) << "line " << i;
  }
}

// A line over the limit stops the reading, keeping its first characters, wherever it lies.
TEST(LineReader, AnOverlongLineKeepsItsStartInOrAcrossBlocks) {
  const std::string overlong(SourceReader::kMaxLineLength + 1, 'x');
  for (std::size_t before : {std::size_t{10}, std::size_t{(1 << 16) - 100}}) {
    std::string text;
    while (text.size() + 100 < before) text += std::string(99, 'y') + "\n";
    text += std::string(before - text.size() - 1, 'y') + "\n" + overlong + "\nafter\n";
    SourceFile file(text);
    SourceReader reader(file.fd());
    std::vector<Read> lines = read_all(reader);
    ASSERT_EQ(lines.size(), (before + 99) / 100 + 1) << before;
    EXPECT_EQ(lines.back().result, SourceReader::Result::overlong);
    EXPECT_EQ(lines.back().line, overlong.substr(0, SourceReader::kOverlongKept));
  }
  // The longest line accepted, its "\r" not counted.
  std::string longest(SourceReader::kMaxLineLength, 'z');
  SourceFile file(longest + "\r\n");
  SourceReader reader(file.fd());
  std::vector<Read> lines = read_all(reader);
  ASSERT_EQ(lines.size(), 1U);
  EXPECT_EQ(lines[0].result, SourceReader::Result::line);
  EXPECT_EQ(lines[0].line, longest + "\n");
}

}  // namespace
}  // namespace vrk
