// The translation item by item, as the parser settles the outermost items: what each item needs
// written before it (its constants, its nested PROCs) is found however the items are laid out,
// comment lines before them included, and names and constants asked about again give the same.
#include <gtest/gtest.h>

#include <string>

#include "tests/common/translate.h"

namespace vrk::testing {
namespace {

TEST(Occam2SettledItems, ConstantsAndNestedProcsOfADefinitionAfterCommentLinesAreHoisted) {
  TranslationRun run = translate_occam2(
      "-- the first definition\n"
      "PROC first (CHAN INT in?)\n"
      "  INT n:\n"
      "  in ? n\n"
      ":\n"
      "-- comment lines before the second\n"
      "-- settle just before it\n"
      "PROC second (CHAN INT in?, out!)\n"
      "  INT value:\n"
      "  SEQ\n"
      "    VAL INT warm.up IS 16:\n"
      "    SEQ i = 0 FOR warm.up\n"
      "      in ? value\n"
      "    PROC twice (VAL INT x, CHAN INT c!)\n"
      "      c ! x * 2\n"
      "    :\n"
      "    twice (value, out!)\n"
      ":\n",
      "t.occ", {}, true);
  EXPECT_EQ(run.status, 0) << run.diagnostics;
  EXPECT_TRUE(contains(run.output, "macro expr warm_up = 16;")) << run.output;
  EXPECT_TRUE(contains(run.output, "macro proc twice (")) << run.output;
  EXPECT_LT(run.output.find("macro expr warm_up"), run.output.find("macro proc second")) << run.output;
}

TEST(Occam2SettledItems, ConstantsInTheStreamedBodyOfAnOutermostSeqAreHoisted) {
  TranslationRun run = translate_occam2(
      "CHAN OF INT out:\n"
      "SEQ\n"
      "  -- a comment line before a process with a constant\n"
      "  SEQ\n"
      "    VAL INT limit IS 3:\n"
      "    out ! limit\n"
      "  -- and one before a constant of its own\n"
      "  VAL INT step IS 2 + 1:\n"
      "  out ! step * step\n",
      "t.occ", {}, true);
  EXPECT_EQ(run.status, 0) << run.diagnostics;
  EXPECT_TRUE(contains(run.output, "macro expr limit = 3;")) << run.output;
  EXPECT_TRUE(contains(run.output, "macro expr step = (2 + 1);")) << run.output;
}

TEST(Occam2SettledItems, ANameDeclaredAgainAndAgainGetsItsNumberedNames) {
  TranslationRun run = translate_occam2(
      "CHAN OF INT out:\n"
      "SEQ\n"
      "  SEQ i = 0 FOR 2\n"
      "    SEQ i = 0 FOR 3\n"
      "      out ! i\n"
      "  SEQ i = 0 FOR 4\n"
      "    out ! i\n",
      "t.occ", {}, true);
  EXPECT_EQ(run.status, 0) << run.diagnostics;
  // The inner i hides the outer one and takes a number; a sibling's scope is closed, so its name
  // is free again.
  EXPECT_TRUE(contains(run.output, "i_1 < 3")) << run.output;
  EXPECT_TRUE(contains(run.output, "i < 4")) << run.output;
}

}  // namespace
}  // namespace vrk::testing
