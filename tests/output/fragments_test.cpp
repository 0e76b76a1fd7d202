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

// The fragment before a held one stays as well: a rewrite that deletes from the held fragment to
// the end must leave the same last fragment as when nothing was written early.
TEST(FragmentList, WriteFrontStopsBeforeTheFragmentPrecedingTheFirstHeldOne) {
  FragmentList list;
  for (const char* text : {"a", "b", "c", "d", "e"}) list.append(string(text));
  FragmentList::node* b = list.first()->next;
  FragmentList::node* c = b->next;
  FragmentList::node* d = c->next;
  OutputBuffer out;
  const FragmentList::node* held[] = {d, c};
  EXPECT_EQ(list.write_front(out, held), 1);
  EXPECT_EQ(out.contents(), "a");
  EXPECT_EQ(fragment_texts(list), (std::vector<std::string>{"b", "c", "d", "e"}));
  EXPECT_EQ(list.size(), 4);
  EXPECT_EQ(list.first(), b);
}

TEST(FragmentList, WriteFrontKeepsTheLastFragmentAndTheCursorWithItsPredecessor) {
  FragmentList list;
  for (const char* text : {"a", "b", "c"}) list.append(string(text));
  OutputBuffer out;
  // The cursor is on "c", the last fragment appended.
  EXPECT_EQ(list.write_front(out, {}), 1);
  EXPECT_EQ(fragment_texts(list), (std::vector<std::string>{"b", "c"}));

  list.append(string("d"));
  list.append(string("e"));
  list.set_cursor(list.last()->prev);  // on "d", as after an insertion
  EXPECT_EQ(list.write_front(out, {}), 1);
  EXPECT_EQ(out.contents(), "ab");
  EXPECT_EQ(fragment_texts(list), (std::vector<std::string>{"c", "d", "e"}));

  // With nothing held and no cursor, everything but the last fragment goes.
  list.set_cursor(nullptr);
  EXPECT_EQ(list.write_front(out, {}), 2);
  EXPECT_EQ(out.contents(), "abcd");
  EXPECT_EQ(fragment_texts(list), (std::vector<std::string>{"e"}));
}

}  // namespace
}  // namespace vrk
