// The Handel-C writer's words for the things it spells on their own: literals, comments, banners.
#include <gtest/gtest.h>

#include "occam2/handelc/writer_internal.h"

namespace vrk::occam2 {
namespace {

TEST(Occam2Spelling, NumbersCharactersAndTypes) {
  EXPECT_EQ(number_text(255, {false, 8}, true), "0xFF");
  EXPECT_EQ(number_text(-1, {true, 32}, true), "-1") << "a pattern beyond the positive range is its value";
  EXPECT_EQ(number_text(42, {true, 32}, false), "42");
  EXPECT_EQ(number_text(INT64_MIN, {true, 64}, false), "(-9223372036854775807 - 1)");
  EXPECT_EQ(character_text('a'), "'a'");
  EXPECT_EQ(character_text('\''), "'\\''");
  EXPECT_EQ(character_text('\\'), "'\\\\'");
  EXPECT_EQ(character_text('\n'), "10");
  EXPECT_EQ(character_text(200), "200");
  EXPECT_EQ(type_spelling({true, 32}), "int 32");
  EXPECT_EQ(type_spelling({false, 1}), "unsigned 1");
}

std::string comment_text(std::string_view text, int indent) {
  std::string out;
  append_comment_text(out, text, indent);
  return out;
}

// Comment lines keep their text, but cannot read as a banner to the checker, nor join the next
// line to themselves, nor carry control bytes.
TEST(Occam2Spelling, CommentsStayComments) {
  EXPECT_EQ(comment_text(" a comment\n", 2), "\t\t// a comment\n");
  EXPECT_EQ(comment_text("#### section ########\n", 0), "//### # section ### ### ##\n");
  EXPECT_EQ(comment_text(" ends in \\\n", 0), "// ends in \\.\n");
  EXPECT_EQ(comment_text(std::string(" bell\a and\ttab  \n", 17), 0), "// bell? and\ttab\n");
  EXPECT_EQ(comment_text("\n", 0), "//\n");
}

TEST(Occam2Spelling, BannersAreOneLineThatNamesThePlace) {
  EXPECT_EQ(banner_text("occam FORK has no Handel-C counterpart", "p.occ:3"),
            "#### Error: occam FORK has no Handel-C counterpart (p.occ:3) ####");
}

}  // namespace
}  // namespace vrk::occam2
