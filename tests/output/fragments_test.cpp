// The Fragment list: ends, cursor, prefix and equality tests, writing.
#include "output/fragments.h"

#include <gtest/gtest.h>

#include "tests/output/fragment_texts.h"

#include <string>
#include <vector>

namespace vrk {
namespace {

using testing::fragment_texts;

TEST(FragmentList, AppendKeepsFirstAndMovesCursorToTheNewLast) {
  FragmentList list;
  list.append(string("a"));
  EXPECT_EQ(list.first(), list.last());
  EXPECT_EQ(list.cursor(), list.last());
  FragmentList::node* first = list.first();
  list.append(string("b"));
  EXPECT_EQ(list.first(), first);
  EXPECT_EQ(list.cursor(), list.last());
  EXPECT_EQ(fragment_texts(list), (std::vector<std::string>{"a", "b"}));
}

TEST(FragmentList, InsertAfterTheLastOrAfterNothingAppends) {
  FragmentList list;
  FragmentList::node* a = list.insert_after(nullptr, string("a"));
  EXPECT_EQ(list.last(), a);
  FragmentList::node* c = list.insert_after(a, string("c"));
  EXPECT_EQ(list.last(), c);
  FragmentList::node* b = list.insert_after(a, string("b"));
  EXPECT_EQ(list.cursor(), b);
  EXPECT_EQ(FragmentList::previous(c), b);
  EXPECT_EQ(fragment_texts(list), (std::vector<std::string>{"a", "b", "c"}));
}

TEST(FragmentList, RemovingTheOnlyNodeEmptiesTheList) {
  FragmentList list;
  list.append(string("x"));
  EXPECT_EQ(list.remove(list.first()), "x");
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(list.first(), nullptr);
  EXPECT_EQ(list.last(), nullptr);
}

TEST(FragmentList, ReplaceKeepsPlaceAndCursor) {
  FragmentList list;
  list.append(string("int "));
  FragmentList::node* word = list.first();
  list.append(string("x"));
  list.replace(word, string("ram "));
  EXPECT_EQ(list.cursor(), list.last());
  EXPECT_EQ(fragment_texts(list), (std::vector<std::string>{"ram ", "x"}));
}

TEST(FragmentList, BeginsWithNeedsTheWholePrefix) {
  FragmentList list;
  list.append(string("$$$$"));
  list.append(string("$$$$$ and more"));
  list.append(string(""));
  EXPECT_FALSE(FragmentList::begins_with(list.first(), "$$$$$"));
  EXPECT_TRUE(FragmentList::begins_with(list.first()->next, "$$$$$"));
  EXPECT_FALSE(FragmentList::begins_with(list.last(), "$$$$$"));
  EXPECT_TRUE(FragmentList::equals(list.first(), "$$$$"));
  EXPECT_FALSE(FragmentList::equals(list.first()->next, "$$$$$"));
}

TEST(FragmentList, WriteConcatenatesExactlyAndLeavesTheCursorAtNone) {
  FragmentList list;
  list.append(string("a"));
  list.append(string(""));
  list.append(string("b\n"));
  OutputBuffer out;
  list.write(out);
  EXPECT_EQ(out.contents(), "ab\n");
  EXPECT_EQ(list.cursor(), nullptr);
  EXPECT_EQ(list.size(), 3);
}

TEST(FragmentList, WriteFrontStopsAtTheFirstHeldFragment) {
  FragmentList list;
  for (const char* text : {"a", "b", "c", "d", "e"}) list.append(string(text));
  FragmentList::node* c = list.first()->next->next;
  FragmentList::node* d = c->next;
  OutputBuffer out;
  const FragmentList::node* held[] = {d, c};
  EXPECT_EQ(list.write_front(out, held), 2);
  EXPECT_EQ(out.contents(), "ab");
  EXPECT_EQ(fragment_texts(list), (std::vector<std::string>{"c", "d", "e"}));
  EXPECT_EQ(list.size(), 3);
  EXPECT_EQ(list.first(), c);
}

TEST(FragmentList, WriteFrontKeepsTheLastFragmentAndTheCursor) {
  FragmentList list;
  for (const char* text : {"a", "b", "c"}) list.append(string(text));
  OutputBuffer out;
  EXPECT_EQ(list.write_front(out, {}), 2);
  EXPECT_EQ(fragment_texts(list), (std::vector<std::string>{"c"}));

  list.append(string("d"));
  list.append(string("e"));
  list.set_cursor(list.first()->next);  // on "d", as after an insertion
  EXPECT_EQ(list.write_front(out, {}), 1);
  EXPECT_EQ(out.contents(), "abc");
  EXPECT_EQ(fragment_texts(list), (std::vector<std::string>{"d", "e"}));
}

}  // namespace
}  // namespace vrk
