// The program tree's storage: places, interned names, blocks of nodes and slots, the dump.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "occam2/tree/block_array.h"
#include "occam2/tree/tree.h"

namespace vrk::occam2 {
namespace {

TEST(Places, DecodeToTheFileLineAndColumnTheyWereMadeFrom) {
  Places places;
  places.add_file("main.occ");
  places.add_file("lib.inc");
  Place a = places.at(0, 1, 1);
  Place b = places.at(0, 1, 7);
  Place c = places.at(1, 1, 3);   // an include's first line
  Place d = places.at(0, 2, 5);   // back in the main file
  Place e = places.at(0, 1, 9);   // a line met again (an end of line reported late)
  for (auto [place, file, line, column] : std::array<std::array<std::uint32_t, 4>, 5>{
           {{a, 0, 1, 1}, {b, 0, 1, 7}, {c, 1, 1, 3}, {d, 0, 2, 5}, {e, 0, 1, 9}}}) {
    Location where = places.locate(place);
    EXPECT_EQ(where.file, file);
    EXPECT_EQ(where.line, line);
    EXPECT_EQ(where.column, column);
  }
  EXPECT_LT(a, b);
  EXPECT_LT(b, c);
  EXPECT_EQ(places.file_name(1), "lib.inc");
  EXPECT_EQ(places.locate(0).line, 0U) << "place 0 is no place";
}

TEST(Places, AColumnBeyondThirtyTwoBitsStaysOnItsLine) {
  Places places;
  places.add_file("x");
  Place far = places.at(0, 3, 0xFFFFFFF0u);
  EXPECT_EQ(places.locate(far).line, 3U);
  Place next = places.at(0, 4, 1);
  EXPECT_EQ(places.locate(next).line, 4U);
}

TEST(Names, TheSameSpellingIsTheSameName) {
  Names names;
  NameId a = names.intern("out.ready");
  NameId b = names.intern(std::string("out") + ".ready");
  NameId c = names.intern("in");
  EXPECT_EQ(a, b);
  EXPECT_NE(a, c);
  // Spellings stay where they are however many names follow.
  std::string_view kept = names.spelling(a);
  for (int i = 0; i < 100000; ++i) names.intern("n" + std::to_string(i));
  EXPECT_EQ(kept, "out.ready");
  EXPECT_EQ(names.spelling(a).data(), kept.data());
  // Every name is still found once the table has grown many times over, and an empty one too.
  EXPECT_EQ(names.intern("out.ready"), a);
  EXPECT_EQ(names.intern("n99999"), names.intern(std::string("n9999") + "9"));
  EXPECT_EQ(names.spelling(names.intern("n4242")), "n4242");
  NameId empty = names.intern("");
  EXPECT_EQ(names.intern(std::string()), empty);
  EXPECT_EQ(names.size(), 100003U);  // out.ready, in, the n, the empty one
  // Finding a name interns nothing.
  EXPECT_EQ(names.find("n77"), names.intern("n77"));
  EXPECT_EQ(names.find("out.ready2"), Names::kNotInterned);
  EXPECT_EQ(names.size(), 100003U);
  EXPECT_EQ(Names().find("x"), Names::kNotInterned);
}

TEST(Operators, SpellingsAndTheirOtherNamesAreFound) {
  Operator op{};
  EXPECT_TRUE(operator_named("-", op));
  EXPECT_EQ(op, Operator::subtract);  // dyadic first
  EXPECT_TRUE(operator_named("MINUS", op));
  EXPECT_EQ(op, Operator::minus);
  for (auto [spelling, expected] : {std::pair<std::string_view, Operator>{"REM", Operator::remainder},
                                    {"\\", Operator::remainder},
                                    {"BITAND", Operator::bit_and},
                                    {"/\\", Operator::bit_and},
                                    {"BITNOT", Operator::bit_not},
                                    {"<>", Operator::not_equal},
                                    {"<<", Operator::shift_left},
                                    {"AFTER", Operator::after},
                                    {"++", Operator::pluses}}) {
    EXPECT_TRUE(operator_named(spelling, op)) << spelling;
    EXPECT_EQ(op, expected) << spelling;
  }
  for (std::string_view no : {"", "<=>", "REMS", "and", "+++"}) EXPECT_FALSE(operator_named(no, op)) << no;
}

TEST(BlockArray, GrowsAcrossBlocksAndReusesThemAfterTruncation) {
  BlockArray<int, 4> array;  // blocks of 16
  for (int i = 0; i < 100; ++i) EXPECT_EQ(array.push_back(i), static_cast<std::uint32_t>(i));
  EXPECT_EQ(array[99], 99);
  EXPECT_EQ(array[16], 16);
  array.truncate(20);
  EXPECT_EQ(array.size(), 20U);
  array.push_back(-1);
  EXPECT_EQ(array[20], -1);
  array.truncate(200);  // never grows
  EXPECT_EQ(array.size(), 21U);
}

TEST(BlockArray, AnyFromLooksAtEveryElementFromItsStartAcrossBlocks) {
  BlockArray<int, 4> array;  // blocks of 16
  for (int i = 0; i < 50; ++i) array.push_back(i);
  auto is = [](int wanted) { return [wanted](int value) { return value == wanted; }; };
  EXPECT_TRUE(array.any_from(0, is(0)));
  EXPECT_TRUE(array.any_from(15, is(16)));   // over a block's end
  EXPECT_TRUE(array.any_from(17, is(49)));   // the last
  EXPECT_FALSE(array.any_from(17, is(16)));  // before the start
  EXPECT_FALSE(array.any_from(50, is(49)));
  array.truncate(40);
  EXPECT_FALSE(array.any_from(0, is(45)));  // forgotten
}

TEST(Tree, ChildrenOfAListReadInOrderAndCanBeReplaced) {
  Tree tree;
  NodeId x = tree.add(Kind::name, 0, tree.names.intern("x"));
  NodeId one = tree.add_number(1, 0, false);
  NodeId list = tree.add_with_children(Kind::list, 0, std::array<NodeId, 2>{x, one});
  ASSERT_EQ(tree.child_count(list), 2U);
  EXPECT_EQ(tree.child(list, 0), x);
  EXPECT_EQ(tree.child(list, 2), kNone) << "past the end";
  NodeId two = tree.add_number(0x1'0000'0002, 0, true);
  tree.set_child(list, 1, two);
  EXPECT_EQ(tree.number(tree.child(list, 1)), 0x1'0000'0002U);
  EXPECT_EQ(dump(tree, list), "list\n  name x\n  number 4294967298\n");
}

TEST(Tree, DumpShowsEachKindsDetails) {
  Tree tree;
  NodeId a = tree.add(Kind::name_def, 0, tree.names.intern("c"), 0, static_cast<std::uint8_t>(Direction::output));
  NodeId s = tree.add_text(Kind::string, 0, std::string("a\"\n", 3));
  NodeId op = tree.add(Kind::dyadic, 0, a, s, static_cast<std::uint8_t>(Operator::bit_xor));
  NodeId u = tree.add(Kind::unsupported, 0, 0, 0, static_cast<std::uint8_t>(Construct::fork));
  NodeId none_first = tree.add(Kind::seq, 0, kNone, u);
  EXPECT_EQ(dump(tree, op), "dyadic ><\n  name_def c!\n  string \"a\\\"\\x0a\"\n");
  EXPECT_EQ(dump(tree, none_first), "seq\n  -\n  unsupported \"FORK\"\n");
}

TEST(Tree, AnyKindFromSeesOnlyTheNodesAfterItsStart) {
  Tree tree;
  tree.add(Kind::val_abbreviation, 0);
  NodeId from = tree.add(Kind::name, 0);
  tree.add(Kind::number, 0);
  tree.add(Kind::function_call, 0);
  EXPECT_TRUE(tree.any_kind_from(from, kind_bit(Kind::function_call) | kind_bit(Kind::call)));
  EXPECT_FALSE(tree.any_kind_from(from, kind_bit(Kind::val_abbreviation)));
  EXPECT_TRUE(tree.any_kind_from(1, kind_bit(Kind::val_abbreviation)));
  TreeMark mark{from + 1, 0, 0, 0};
  tree.release(mark);
  EXPECT_FALSE(tree.any_kind_from(from, kind_bit(Kind::function_call)));
}

TEST(Tree, KindsAndConstructsHaveTheirNames) {
  EXPECT_EQ(kind_name(Kind::if_process), "if_process");
  EXPECT_EQ(kind_message(Kind::if_process), "IF");
  EXPECT_EQ(shape_of(Kind::replicator), Shape::slots);
  EXPECT_EQ(shape_of(Kind::number), Shape::leaf);
  EXPECT_EQ(construct_name(Construct::claim), "CLAIM");
  EXPECT_EQ(operator_spelling(Operator::remainder), "\\");
  EXPECT_EQ(operator_class(Operator::after), OperatorClass::after);
}

}  // namespace
}  // namespace vrk::occam2
