// Text operations with their clamping rules, and the sharing and recycling
// of representations.
#include <gtest/gtest.h>

#include <string>

#include "support/memory.h"
#include "support/string.h"
#include "tests/support/recording_handler.h"

namespace vrk {
namespace {

TEST(String, SubstringClampsBothEnds) {
  const string s("abcdef");
  EXPECT_EQ(s.substring(2, 100), "cdef");
  EXPECT_EQ(s.substring(-3, 1), "ab");
  EXPECT_EQ(s.substring(4, 2), "");
  EXPECT_EQ(s.substring(6, 10), "");
  EXPECT_EQ(string().substring(0, 5), "");
}

TEST(String, FindStartsAtTheGivenPosition) {
  const string s("abcabc");
  EXPECT_EQ(s.find(string("bc"), 0), 1);
  EXPECT_EQ(s.find(string("bc"), 2), 4);
  EXPECT_EQ(s.find(string("bc"), 5), -1);
  EXPECT_EQ(s.find(string("abc"), -4), 0);
  EXPECT_EQ(s.find(string("c"), 6), -1);
  EXPECT_EQ(s.find(string(), 0), -1);
  EXPECT_EQ(s.find(string("abcabcx"), 0), -1);
}

TEST(String, ReplaceNthReplacesAllOrOnlyTheNthOccurrence) {
  const string banana("banana");
  const string a("a");
  const string x("x");
  EXPECT_EQ(banana.replace_nth(a, x, 0), "bxnxnx");
  EXPECT_EQ(banana.replace_nth(a, x, 2), "banxna");
  EXPECT_EQ(banana.replace_nth(a, x, 4), "banana");
  EXPECT_EQ(banana.replace_nth(string("an"), string(), 0), "ba");
  EXPECT_EQ(banana.replace_nth(string("na"), string("NA!"), 2), "banaNA!");
  // Occurrences do not overlap: the scan resumes after each one.
  EXPECT_EQ(string("aaaaa").replace_nth(string("aa"), string("b"), 0), "bba");
  EXPECT_EQ(string("aaaaa").replace_nth(string("aa"), string("b"), 2), "aaba");
}

TEST(String, RangeEditsKeepTheTextAroundTheRange) {
  const string s("abcdef");
  EXPECT_EQ(s.erase_range(1, 2), "adef");
  EXPECT_EQ(s.erase_range(0, 100), "");
  EXPECT_EQ(s.erase_range(4, 5), "abcd");
  EXPECT_EQ(s.replace_range(1, 2, string("XYZ")), "aXYZdef");
  EXPECT_EQ(s.replace_range(0, 5, string("q")), "q");
  EXPECT_EQ(s.replace_range(6, 5, string("!")), "abcdef!");
}

TEST(String, ConcatenationAndComparison) {
  string s("ab");
  s += string("cd");
  EXPECT_EQ(s, "abcd");
  EXPECT_EQ(s + string(';'), "abcd;");
  EXPECT_FALSE(string("abc") == string("abd"));
  EXPECT_FALSE(string("abc") == "ab");
  EXPECT_TRUE(string("abc").begins_with("ab"));
  EXPECT_TRUE(string("abc").begins_with(""));
  EXPECT_FALSE(string("ab").begins_with("abc"));
}

TEST(String, LongTextsLeaveTheSizeClassesAndKeepTheirBytes) {
  const std::string long_text(1000, 'q');
  const string s(long_text);
  const string doubled = s + s;
  EXPECT_EQ(doubled.length(), 2000);
  EXPECT_EQ(doubled.view(), long_text + long_text);
  EXPECT_EQ(doubled.text()[2000], '\0');
  EXPECT_EQ(string("a\x01\xff", 3).view(), std::string_view("a\x01\xff", 3));
}

TEST(StringSharing, CopiesShareOneCountedRepresentation) {
  string a("shared text");
  EXPECT_EQ(a.representation()->refs, 1);
  {
    string b = a;
    string c;
    c = b;
    EXPECT_EQ(b.representation(), a.representation());
    EXPECT_EQ(a.representation()->refs, 3);
  }
  EXPECT_EQ(a.representation()->refs, 1);
  a = a;  // self-assignment keeps the text alive
  EXPECT_EQ(a, "shared text");
  string moved = std::move(a);
  EXPECT_EQ(moved.representation()->refs, 1);
  EXPECT_EQ(a.length(), 0);  // NOLINT: a moved-from string is empty
}

TEST(StringSharing, LastHandleReturnsTheRecordToItsClass) {
  MemoryManager& m = std_memory_mgr();
  const std::size_t size = string::record_size(5);
  string s("hello");
  const long free_before = m.free_records(size);
  s = string();
  EXPECT_EQ(m.free_records(size), free_before + 1);
}

TEST(StringSharing, StaticTextsAllocateNothing) {
  static constexpr string::rep kSemicolon = VRK_STATIC_TEXT(";\n");
  const string semicolon(kSemicolon);
  EXPECT_EQ(semicolon.representation(), &kSemicolon);
  EXPECT_EQ(semicolon, ";\n");
  EXPECT_LT(string().representation()->refs, 0);
  EXPECT_EQ(string('x').representation(), string('x').representation());
  EXPECT_EQ(string('x'), "x");
  EXPECT_EQ(string('\xe9').view(), "\xe9");
  // Concatenating an empty string shares the other side.
  const string word("word");
  EXPECT_EQ((word + string()).representation(), word.representation());
  EXPECT_EQ(word.substring(0, 10).representation(), word.representation());
  string copy = semicolon;
  EXPECT_LT(copy.representation()->refs, 0);
}

TEST(StringErrors, NilTextIsReportedAndLeavesAnEmptyString) {
  testing::RecordingHandler recorder;
  const string s(static_cast<const char*>(nullptr));
  EXPECT_EQ(testing::last_report().code, 1);
  EXPECT_EQ(testing::last_report().message, "string::str_dup: nil argument");
  EXPECT_EQ(s.length(), 0);
}

}  // namespace
}  // namespace vrk
