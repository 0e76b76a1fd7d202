// The line reader on a real descriptor, whose source comes in blocks: lines that lie in one block
// are handed out in place, lines that cross into the next block are gathered, and both read alike.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <utility>
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

// A source of lines of one letter each, line i holding i * step % lengths of them, every
// crlf_every-th ended by "\r\n", until it holds `size` bytes; and the lines the reader gives.
struct Lines {
  std::string text;
  std::vector<std::string> expected;
};
Lines lines_of_letters(std::size_t size, int step, int lengths, int crlf_every) {
  Lines lines;
  for (int i = 0; lines.text.size() < size; ++i) {
    std::string body(static_cast<std::size_t>(i * step % lengths), static_cast<char>('a' + i % 26));
    lines.text += body + (i % crlf_every == 0 ? "\r\n" : "\n");
    lines.expected.push_back(body + "\n");
  }
  return lines;
}

// Lines of every length from 0 to 200 characters, some ended by "\r\n", repeated past several
// blocks of the reader, and a last line without its line feed.
TEST(LineReader, LinesInAndAcrossBlocksReadTheSame) {
  auto [text, expected] = lines_of_letters(300'000, 7, 201, 5);
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

// Lines read in parts of at most `limit` bytes (one more to settle a "\r\n"), each line joined
// from its parts.
std::vector<std::string> read_all_in_parts(SourceReader& reader, std::size_t limit) {
  std::vector<std::string> lines;
  std::string line;
  for (;;) {
    std::string part;
    bool ended = false;
    SourceReader::Result result = reader.read_part(part, limit, ended);
    if (result != SourceReader::Result::line) {
      EXPECT_TRUE(line.empty()) << "the input ended within a line";
      return lines;
    }
    EXPECT_LE(part.size(), limit + 1);
    EXPECT_TRUE(ended || part.back() != '\r') << "a part ends in the carriage return of a \"\\r\\n\"";
    line += part;
    if (ended) lines.push_back(std::exchange(line, std::string()));
  }
}

// Short and long lines, some ended by "\r\n" (one of them just at the limit), over several blocks,
// in parts: they read as read_line gives them, whether they lie in one block or across two.
TEST(LineReader, LinesReadInPartsJoinIntoTheLines) {
  constexpr std::size_t kLimit = 40;
  auto [text, expected] = lines_of_letters(200'000, 11, 97, 4);
  text = std::string(kLimit, 'c') + "\r\n" + text;
  expected.insert(expected.begin(), std::string(kLimit, 'c') + "\n");
  text += "no line feed";
  expected.emplace_back("no line feed\n");

  SourceFile file(text);
  SourceReader reader(file.fd(), SourceReader::LineLimit::none);
  std::vector<std::string> lines = read_all_in_parts(reader, kLimit);
  ASSERT_EQ(lines.size(), expected.size());
  for (std::size_t i = 0; i < lines.size(); ++i) ASSERT_EQ(lines[i], expected[i]) << "line " << i;
}

}  // namespace
}  // namespace vrk
