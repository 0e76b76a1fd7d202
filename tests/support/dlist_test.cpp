// List links and ends under insertion and removal, the misuse reports, and
// the bulk return of nodes by clear().
#include <gtest/gtest.h>

#include <string>

#include "support/dlist.h"
#include "tests/support/recording_handler.h"

namespace vrk {
namespace {

// The elements read forwards, and checked to read the same backwards.
std::string contents(const dlist& l) {
  std::string forward;
  std::string backward;
  long counted = 0;
  for (dlist::node* n = l.first(); n != nullptr; n = n->next) {
    forward += std::string(n->element.view()) + ",";
    ++counted;
  }
  for (dlist::node* n = l.last(); n != nullptr; n = n->prev) {
    backward.insert(0, std::string(n->element.view()) + ",");
  }
  EXPECT_EQ(forward, backward);
  EXPECT_EQ(counted, l.count());
  return forward;
}

TEST(Dlist, InsertionBesideTheEndsMovesTheEnds) {
  dlist l;
  dlist::node* b = l.append(string("b"));
  EXPECT_EQ(l.first(), b);
  EXPECT_EQ(l.last(), b);
  dlist::node* c = l.insert_beside(b, string("c"), dlist::side::after);
  EXPECT_EQ(l.last(), c);
  dlist::node* a = l.insert_beside(b, string("a"), dlist::side::before);
  EXPECT_EQ(l.first(), a);
  l.insert_beside(c, string("b2"), dlist::side::before);
  l.insert_beside(a, string("a2"), dlist::side::after);
  l.insert_beside(nullptr, string("end"), dlist::side::before);
  EXPECT_EQ(contents(l), "a,a2,b,b2,c,end,");
  EXPECT_EQ(l.count(), 6);
}

TEST(Dlist, RemovalReturnsTheElementAndRepairsTheEnds) {
  dlist l;
  dlist::node* a = l.append(string("a"));
  dlist::node* b = l.append(string("b"));
  l.append(string("c"));
  dlist::node* d = l.append(string("d"));
  EXPECT_EQ(l.remove_node(b), "b");
  EXPECT_EQ(l.remove_node(d), "d");
  EXPECT_EQ(contents(l), "a,c,");
  EXPECT_EQ(l.remove_node(a), "a");
  EXPECT_EQ(contents(l), "c,");
  EXPECT_EQ(l.pop_back(), "c");
  EXPECT_TRUE(l.empty());
  EXPECT_EQ(l.first(), nullptr);
  EXPECT_EQ(l.last(), nullptr);

  l.append(string("x"));
  l.append(string("y"));
  EXPECT_EQ(l.pop_front(), "x");
  l.set_element(l.first(), string("z"));
  EXPECT_EQ(contents(l), "z,");
}

TEST(Dlist, MisuseIsReportedWithItsOwnMessage) {
  testing::RecordingHandler recorder;
  dlist l;
  EXPECT_EQ(l.pop_front(), "");
  EXPECT_EQ(testing::last_report().code, 999);
  EXPECT_EQ(testing::last_report().message, "dlist: pop on empty list.");
  l.pop_back();
  EXPECT_EQ(testing::last_report().message, "dlist: Pop on empty list.");
  l.remove_node(nullptr);
  EXPECT_EQ(testing::last_report().message, "dlist: delete nil-item");
  EXPECT_EQ(testing::last_report().count, 3);
}

TEST(Dlist, ClearReleasesElementsAndReturnsEveryNode) {
  MemoryManager& m = std_memory_mgr();
  const string kept("kept alive by the list too");
  dlist l;
  for (int i = 0; i < 1000; ++i) l.append(kept);
  EXPECT_EQ(kept.representation()->refs, 1001);
  const long free_before = m.free_records(sizeof(dlist::node));
  l.clear();
  EXPECT_EQ(m.free_records(sizeof(dlist::node)), free_before + 1000);
  EXPECT_EQ(kept.representation()->refs, 1);
  EXPECT_EQ(contents(l), "");
  // The returned nodes are usable again.
  l.append(string("again"));
  EXPECT_EQ(contents(l), "again,");
}

TEST(Dlist, RemoveFrontTakesElementsInOrderUpToTheKeptNodeAndReturnsTheNodes) {
  MemoryManager& m = std_memory_mgr();
  const string kept("shared with the removed nodes");
  dlist l;
  for (int i = 0; i < 10; ++i) l.append(kept);
  dlist::node* c = l.append(string("c"));
  l.append(string("d"));
  const long free_before = m.free_records(sizeof(dlist::node));
  long taken = 0;
  auto is_c = [c](const dlist::node* n) { return n == c; };
  EXPECT_EQ(l.remove_front(is_c, [&](const string& s) { taken += s == kept; }), 10);
  EXPECT_EQ(taken, 10);
  EXPECT_EQ(contents(l), "c,d,");
  EXPECT_EQ(c->prev, nullptr);
  EXPECT_EQ(m.free_records(sizeof(dlist::node)), free_before + 10);
  EXPECT_EQ(kept.representation()->refs, 1);

  std::string order;
  auto none = [](const dlist::node*) { return false; };
  EXPECT_EQ(l.remove_front(none, [&](const string& s) { order += s.view(); }), 1);
  EXPECT_EQ(order, "c") << "the last node always stays";
  EXPECT_EQ(contents(l), "d,");
  dlist empty;
  EXPECT_EQ(empty.remove_front(none, [](const string&) {}), 0);
}

}  // namespace
}  // namespace vrk
