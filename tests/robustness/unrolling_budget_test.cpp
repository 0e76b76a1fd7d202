// The unrolling guard as a whole: each replicated PAR may add at most a fixed number of fragments,
// and all of one translation's expansions together at most a second, larger number, so that a few
// lines repeating a large replicated PAR cannot exhaust memory. Scaled down here through the
// expander's translation budget; the per-expansion limit keeps its real size.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "output/banners.h"
#include "output/fragments.h"
#include "output/replicated_par.h"

namespace vrk {
namespace {

constexpr std::string_view kTooLargeBanner = banners::text_of(banners::kReplicatedParTooLarge);

// Appends a replicated PAR over the body "B" and the fragments `body` (markers and replicator text
// as the actions leave them) and expands it with `count` replicas from 0; returns the text it left
// in the list.
std::string unroll_one(FragmentList& fragments, ReplicatedParExpander& expander, std::int64_t count,
                       std::initializer_list<string> body = {}) {
  fragments.append(string("$$$$$"));
  FragmentList::node* start = fragments.last();
  fragments.append(string("i = 0; i < n; i = i + 1)\n{\n"));
  fragments.append(string("#$#$#"));
  FragmentList::node* first_index = fragments.last();
  fragments.append(string("B"));
  for (const string& text : body) fragments.append(text);
  fragments.append(string("#$#$#"));
  FragmentList::node* before = FragmentList::previous(start);
  ReplicatorValues values;
  values.index_name = string("i");
  values.literal = true;
  values.count = count;
  expander.expand(fragments, start, first_index, values);
  std::string text;
  for (FragmentList::node* n = FragmentList::next(before); n != nullptr; n = FragmentList::next(n)) {
    text += n->element.view();
  }
  return text;
}

std::string replicas(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += "i = " + std::to_string(i) + ";\npar\n{\nB}  /* par */\n";
  return text;
}

TEST(UnrollingBudget, TheTranslationsExpansionsShareOneBudget) {
  FragmentList fragments;
  fragments.append(string("main"));
  ReplicatedParExpander expander(25);  // five fragments per replica of "B": five replicas in all
  EXPECT_EQ(unroll_one(fragments, expander, 3), replicas(3));
  EXPECT_EQ(unroll_one(fragments, expander, 3), kTooLargeBanner) << "only two replicas are left";
  EXPECT_EQ(unroll_one(fragments, expander, 0), "") << "no replicas cost nothing";
  EXPECT_EQ(unroll_one(fragments, expander, -4), "");
  EXPECT_EQ(unroll_one(fragments, expander, 2), replicas(2)) << "a refused expansion used up nothing";
  EXPECT_EQ(unroll_one(fragments, expander, 1), kTooLargeBanner);
  EXPECT_EQ(fragments.first()->element, "main");
}

TEST(UnrollingBudget, EachExpansionKeepsItsOwnLimit) {
  FragmentList fragments;
  fragments.append(string("main"));
  ReplicatedParExpander expander;
  const std::int64_t per_replica = 5;
  EXPECT_EQ(unroll_one(fragments, expander, ReplicatedParExpander::kFragmentBudget / per_replica + 1),
            kTooLargeBanner);
  EXPECT_EQ(fragments.size(), 2);
}

// A comment line is one fragment, but counts as its characters and its two delimiters: the limits
// refuse the same programs as when each of those was a fragment of its own.
TEST(UnrollingBudget, ACommentCountsAsItsCharactersAndDelimiters) {
  FragmentList fragments;
  fragments.append(string("main"));
  const string comment = comment_fragment("abc");
  EXPECT_EQ(comment, "\n\n/* abc */\n\n");
  EXPECT_EQ(unrolling_weight(comment), 5);
  EXPECT_EQ(unrolling_weight(comment_fragment("")), 2);
  EXPECT_EQ(unrolling_weight(string("\n\n##### Error")), 1);
  ReplicatedParExpander expander(30);  // "B" and the comment: ten per replica, three replicas in all
  const std::string replica = "par\n{\nB\n\n/* abc */\n\n}  /* par */\n";
  EXPECT_EQ(unroll_one(fragments, expander, 2, {comment}), "i = 0;\n" + replica + "i = 1;\n" + replica);
  EXPECT_EQ(unroll_one(fragments, expander, 2, {comment}), kTooLargeBanner) << "only one replica is left";
  EXPECT_EQ(unroll_one(fragments, expander, 1, {comment}), "i = 0;\n" + replica);
}

}  // namespace
}  // namespace vrk
