// The parser's trees: each construct's node and the places of its parts, worked out from
// node_kinds.def. The dumps below are what occam2::dump writes, one node a line.
#include <gtest/gtest.h>

#include <string>

#include "occam2/tree/tree.h"
#include "tests/occam2/occam2_passes.h"

namespace vrk::testing {
namespace {

std::string items_of(const std::string& source) {
  Occam2Passes passes = run_passes(source, false);
  EXPECT_EQ(passes.syntax_errors, 0) << passes.messages;
  return passes.items();
}

TEST(Occam2Parser, DeclarationsScopeOverTheProcessAfterThem) {
  EXPECT_EQ(items_of("INT x, y:\nSEQ\n  x := 1\n  y := x + 2\n"),
            "declaration\n"
            "  primitive_type INT\n"
            "  list\n"
            "    name_def x\n"
            "    name_def y\n"
            "seq\n"
            "  -\n"
            "  list\n"
            "    assignment\n"
            "      name x\n"
            "      number 1\n"
            "    assignment\n"
            "      name y\n"
            "      dyadic +\n"
            "        name x\n"
            "        number 2\n");
}

TEST(Occam2Parser, AChainOfAndIsOneNodeHoweverLong) {
  EXPECT_EQ(items_of("b := (x > 0) AND (y > 0) AND z\n"),
            "assignment\n"
            "  name b\n"
            "  logical_chain AND\n"
            "    list\n"
            "      dyadic >\n"
            "        name x\n"
            "        number 0\n"
            "      dyadic >\n"
            "        name y\n"
            "        number 0\n"
            "      name z\n");
}

TEST(Occam2Parser, MultipleAssignmentAndCommunicationOfSeveralItems) {
  EXPECT_EQ(items_of("SEQ\n  a, b := b, a\n  c ! a; b\n  c ! 1\n  c ? x\n"),
            "seq\n"
            "  -\n"
            "  list\n"
            "    multiple_assignment\n"
            "      list\n"
            "        name a\n"
            "        name b\n"
            "      list\n"
            "        name b\n"
            "        name a\n"
            "    output\n"
            "      name c\n"
            "      list\n"
            "        name a\n"
            "        name b\n"
            "    output\n"
            "      name c\n"
            "      number 1\n"
            "    input\n"
            "      name c\n"
            "      name x\n");
}

TEST(Occam2Parser, FormalsKeepTheirModesDirectionsAndSharedTypes) {
  EXPECT_EQ(items_of("PROC p (CHAN INT in?, out!, VAL INT n, [4]INT a)\n  SKIP\n:\n"),
            "proc_definition\n"
            "  name_def p\n"
            "  list\n"
            "    formal\n"
            "      channel_type\n"
            "        primitive_type INT\n"
            "      name_def in?\n"
            "    formal\n"
            "      -\n"
            "      name_def out!\n"
            "    formal VAL\n"
            "      primitive_type INT\n"
            "      name_def n\n"
            "    formal\n"
            "      array_type\n"
            "        number 4\n"
            "        primitive_type INT\n"
            "      name_def a\n"
            "  list\n"
            "    skip\n");
}

TEST(Occam2Parser, GuardsOfAnAltAreItsAlternatives) {
  EXPECT_EQ(items_of("ALT\n  c ? x\n    SKIP\n  b & d ? y\n    SKIP\n  b & SKIP\n    STOP\n"),
            "alt\n"
            "  -\n"
            "  list\n"
            "    alternative\n"
            "      -\n"
            "      input\n"
            "        name c\n"
            "        name x\n"
            "      list\n"
            "        skip\n"
            "    alternative\n"
            "      name b\n"
            "      input\n"
            "        name d\n"
            "        name y\n"
            "      list\n"
            "        skip\n"
            "    alternative\n"
            "      name b\n"
            "      skip\n"
            "      list\n"
            "        stop\n");
}

TEST(Occam2Parser, CommentLinesStandInTheListsBeforeTheirItems) {
  Occam2Passes passes = run_passes("-- first\nSEQ\n  -- inner\n  SKIP\n-- last\n", false);
  EXPECT_EQ(passes.items(),
            "comment \" first\\x0a\"\n"
            "seq\n"
            "  -\n"
            "  list\n"
            "    comment \" inner\\x0a\"\n"
            "    skip\n");
  // The comment after the last item is the program's own.
  const occam2::Tree& tree = *passes.tree;
  EXPECT_EQ(tree.text(tree.node(tree.root()).b), " last\n");
}

TEST(Occam2Parser, AReplicatorHoldsItsIndexBaseAndCount) {
  EXPECT_EQ(items_of("PAR i = 0 FOR n\n  c[i] ! i\n"),
            "par\n"
            "  replicator\n"
            "    name_def i\n"
            "    number 0\n"
            "    name n\n"
            "    -\n"
            "  list\n"
            "    output\n"
            "      subscript\n"
            "        name c\n"
            "        name i\n"
            "      name i\n");
}

TEST(Occam2Parser, CaseOptionsListTheirConstantsAndElseHasNone) {
  EXPECT_EQ(items_of("CASE k\n  1, 2\n    SKIP\n  ELSE\n    STOP\n"),
            "case_process\n"
            "  name k\n"
            "  list\n"
            "    option\n"
            "      list\n"
            "        number 1\n"
            "        number 2\n"
            "      list\n"
            "        skip\n"
            "    option\n"
            "      -\n"
            "      list\n"
            "        stop\n");
}

TEST(Occam2Parser, ConstantsAndFunctions) {
  Occam2Passes passes = run_passes("VAL INT n IS 8:\nINT FUNCTION f (VAL INT x) IS x * n:\n", false);
  EXPECT_EQ(passes.items(),
            "val_abbreviation\n"
            "  primitive_type INT\n"
            "  name_def n\n"
            "  number 8\n"
            "function_definition\n"
            "  list\n"
            "    primitive_type INT\n"
            "  name_def f\n"
            "  list\n"
            "    formal VAL\n"
            "      primitive_type INT\n"
            "      name_def x\n"
            "  list\n"
            "    dyadic *\n"
            "      name x\n"
            "      name n\n");
  const occam2::Tree& tree = *passes.tree;
  occam2::NodeId function = tree.child(tree.node(tree.root()).a, 1);
  EXPECT_NE(tree.node(function).detail & occam2::kFunctionIsExpressions, 0);
}

TEST(Occam2Parser, MonadicOperatorsConversionsAndTypeConstants) {
  EXPECT_EQ(items_of("SEQ\n  x := INT b\n  y := MOSTNEG INT\n  z := SIZE a\n  w := -x\n  v := MINUS x\n  t := NOT f\n"),
            "seq\n"
            "  -\n"
            "  list\n"
            "    assignment\n      name x\n      conversion\n        primitive_type INT\n        name b\n"
            "    assignment\n      name y\n      most NEG\n        primitive_type INT\n"
            "    assignment\n      name z\n      size\n        name a\n"
            "    assignment\n      name w\n      monadic -\n        name x\n"
            "    assignment\n      name v\n      monadic MINUS\n        name x\n"
            "    assignment\n      name t\n      monadic NOT\n        name f\n");
}

TEST(Occam2Parser, LiteralsCarryTheirValues) {
  EXPECT_EQ(items_of("SEQ\n  c ! #FF\n  c ! '*n'\n  c ! '*#41'\n  c ! \"a*\"b\"\n  c ! TRUE\n  c ! 5(BYTE)\n"),
            "seq\n"
            "  -\n"
            "  list\n"
            "    output\n      name c\n      number 255\n"
            "    output\n      name c\n      character 10\n"
            "    output\n      name c\n      character 65\n"
            "    output\n      name c\n      string \"a\\\"b\"\n"
            "    output\n      name c\n      boolean TRUE\n"
            "    output\n      name c\n      typed_literal\n        number 5\n        primitive_type BYTE\n");
}

TEST(Occam2Parser, ConstructsWithoutHandelCFormAreKeptUnsupportedWithTheNamesTheyDeclare) {
  EXPECT_EQ(items_of("MOBILE []INT m:\nSEQ\n  FORK p (x)\n  SKIP\n"),
            "declaration\n"
            "  unsupported_type \"MOBILE\"\n"
            "  list\n"
            "    name_def m\n"
            "seq\n"
            "  -\n"
            "  list\n"
            "    unsupported \"FORK\"\n"
            "    skip\n");
  EXPECT_EQ(items_of("INT x RETYPES y:\n"), "unsupported \"RETYPES\"\n  name_def x\n");
}

// A line that is not occam is reported and left out; its list goes on with the next line.
TEST(Occam2Parser, ErrorRecoveryLeavesTheBadLineOut) {
  Occam2Passes passes = run_passes("SEQ\n  x := := 1\n  SKIP\n", false);
  EXPECT_EQ(passes.parse_result, 0);
  EXPECT_EQ(passes.syntax_errors, 1);
  EXPECT_EQ(passes.items(), "seq\n  -\n  list\n    skip\n");
}

TEST(Occam2Parser, NodesKnowWhereTheyStand) {
  Occam2Passes passes = run_passes("SEQ\n  x := 1\n  y :=\n    2\n", false);
  const occam2::Tree& tree = *passes.tree;
  occam2::NodeId seq = tree.child(tree.node(tree.root()).a, 0);
  occam2::NodeId body = tree.node(seq).b;
  occam2::NodeId second = tree.child(body, 1);
  occam2::Location assignment = tree.locate(tree.child(body, 0));
  EXPECT_EQ(assignment.line, 2U);
  EXPECT_EQ(assignment.column, 3U);
  occam2::Location item = tree.locate(tree.node(second).b);
  EXPECT_EQ(item.line, 4U) << "the continuation line";
  EXPECT_EQ(item.column, 5U);
}

}  // namespace
}  // namespace vrk::testing
