// Texts joined without copying: what a rope gives back must be the bytes joined, in order, however
// the pieces were linked or flattened, and a cleared rope must start afresh.
#include <gtest/gtest.h>

#include <string>

#include "output/rope.h"

namespace vrk {
namespace {

TEST(Rope, JoinsShortTextsIntoOnePieceAndLongOnesByLinking) {
  Rope rope;
  Text a = rope.copy("x");
  Text text = rope.join(rope.join(a, " = "), rope.copy("1"));
  EXPECT_EQ(rope.str(text), "x = 1");
  EXPECT_EQ(text.head, text.tail) << "a short result is one piece";

  const std::string long_line(Rope::kFlattenBelow, 'a');
  Text left = rope.copy(long_line);
  Text both = rope.join(left, rope.copy("tail"));
  EXPECT_NE(both.head, both.tail) << "a long result links its parts";
  EXPECT_EQ(rope.str(both), long_line + "tail");
  EXPECT_EQ(both.size, long_line.size() + 4);
}

// Linking a text's last piece must not change another text that ended on the same bytes: a
// text used twice is duplicated first.
TEST(Rope, ADuplicateIsIndependentOfItsOriginal) {
  Rope rope;
  const std::string body(Rope::kFlattenBelow, 'b');
  Text original = rope.copy(body);
  Text copy = rope.dup(original);
  Text first = rope.join(original, rope.copy(std::string(Rope::kFlattenBelow, '1')));
  Text second = rope.join(copy, rope.copy(std::string(Rope::kFlattenBelow, '2')));
  EXPECT_EQ(rope.str(first), body + std::string(Rope::kFlattenBelow, '1'));
  EXPECT_EQ(rope.str(second), body + std::string(Rope::kFlattenBelow, '2'));
}

TEST(Rope, EmptyTextsAndLiteralsOnEitherSide) {
  Rope rope;
  EXPECT_TRUE(rope.join(Text{}, Text{}).empty());
  EXPECT_EQ(rope.str(rope.join(Text{}, rope.copy("a"))), "a");
  EXPECT_EQ(rope.str(rope.join("(", rope.copy("a"))), "(a");
  EXPECT_EQ(rope.str(rope.join(rope.copy("a"), ")")), "a)");
  EXPECT_TRUE(rope.equals(rope.join(rope.copy("ab"), "c"), "abc"));
  EXPECT_FALSE(rope.equals(rope.copy("abc"), "abd"));
}

// Storage grows chunk by chunk without moving what is written; after clear() the same storage
// takes the next texts.
TEST(Rope, ManyTextsSurviveGrowthAndClearStartsAfresh) {
  Rope rope;
  Text all;
  std::string expected;
  for (int i = 0; i < 100000; ++i) {
    std::string word = std::to_string(i) + ";";
    all = rope.join(all, rope.copy(word));
    expected += word;
  }
  EXPECT_EQ(rope.str(all), expected);
  rope.clear();
  Text fresh = rope.join(rope.copy("after"), " clear");
  EXPECT_EQ(rope.str(fresh), "after clear");
}

}  // namespace
}  // namespace vrk
