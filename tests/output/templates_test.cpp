// Template merge, the CONSTs area and `ensure boolean constants`.
#include "output/template_merge.h"

#include <gtest/gtest.h>

#include "tests/output/fragment_texts.h"

#include <string>
#include <vector>

namespace vrk {
namespace {

using testing::fragment_texts;

const std::string kConsts(kBooleanConstants);
const std::string kOpener(kConstsAreaOpener);

TEST(TemplateMerge, CopiesTemplatesByteForByteWhateverTheyHold) {
  std::string header = std::string("head\r\n\0tail", 11) + "\xff";
  MemoryTemplates store(header, "board", "main");
  FragmentList list;
  TemplateMerge merge(store, list);
  OutputBuffer out;
  ASSERT_TRUE(merge.copy_header_template(out));
  ASSERT_TRUE(merge.copy_board_template(out));
  EXPECT_EQ(out.contents(), header + "board");
}

TEST(TemplateMerge, ConstsAreaIsOpenerConstantsAndTheWholeMainTemplate) {
  MemoryTemplates store("h", "b", "void main(void)\n{\n/* two lines */\n");
  FragmentList list;
  TemplateMerge(store, list).open_consts_area();
  EXPECT_EQ(fragment_texts(list), (std::vector<std::string>{kOpener, kConsts, "void main(void)\n{\n/* two lines */\n"}));
}

TEST(TemplateMerge, AnEmptyMainTemplateStillGivesItsFragment) {
  MemoryTemplates store("h", "b", "");
  FragmentList list;
  TemplateMerge(store, list).open_consts_area();
  EXPECT_EQ(fragment_texts(list), (std::vector<std::string>{kOpener, kConsts, ""}));
}

TEST(TemplateMerge, AMissingTemplateIsReportedWithWhatWasTried) {
  DirectoryTemplates store({"/nonexistent-vrk-dir"});
  FragmentList list;
  TemplateMerge merge(store, list);
  OutputBuffer out;
  EXPECT_FALSE(merge.copy_header_template(out));
  EXPECT_NE(merge.missing().find("/nonexistent-vrk-dir/header.txt"), std::string::npos);
  EXPECT_EQ(out.contents(), "");
}

TEST(EnsureBooleanConstants, LeavesAListThatHasThemUnchanged) {
  MemoryTemplates store("h", "b", "m");
  FragmentList list;
  list.append(string(kConstsAreaOpener));
  list.append(string("const TRUE = 1 and anything after"));
  TemplateMerge(store, list).ensure_boolean_constants();
  EXPECT_EQ(list.size(), 2);
}

TEST(EnsureBooleanConstants, AFragmentExactlyTheKeyCountsAsPresent) {
  MemoryTemplates store("h", "b", "m");
  FragmentList list;
  list.append(string(kConstsAreaOpener));
  list.append(string("const TRUE = 1"));
  TemplateMerge(store, list).ensure_boolean_constants();
  EXPECT_EQ(list.size(), 2);
}

TEST(EnsureBooleanConstants, RestoresThemRightAfterTheOpenerOnce) {
  MemoryTemplates store("h", "b", "m");
  FragmentList list;
  list.append(string("/* comment */"));
  list.append(string(kConstsAreaOpener));
  list.append(string("x = TRUE"));
  TemplateMerge merge(store, list);
  merge.ensure_boolean_constants();
  merge.ensure_boolean_constants();
  EXPECT_EQ(fragment_texts(list), (std::vector<std::string>{"/* comment */", kOpener, kConsts, "x = TRUE"}));
}

TEST(EnsureBooleanConstants, WithoutAConstsAreaNothingChanges) {
  MemoryTemplates store("h", "b", "m");
  FragmentList list;
  list.append(string("const TRUE"));  // shorter than the key: no match
  TemplateMerge(store, list).ensure_boolean_constants();
  EXPECT_EQ(fragment_texts(list), (std::vector<std::string>{"const TRUE"}));
}

}  // namespace
}  // namespace vrk
