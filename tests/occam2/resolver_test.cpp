// Resolution: occam's scopes, the errors occam itself reports, types and literals, constants,
// the free names of nested PROCs, channel directions, and the unique Handel-C names.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "occam2/resolve/resolver.h"
#include "tests/occam2/occam2_passes.h"

namespace vrk::testing {
namespace {

using occam2::Construct;
using occam2::SymbolKind;

// What standard error held after resolving `source` (quiet style, the source named test.occ).
std::string messages_of(const std::string& source) {
  Occam2Passes passes = run_passes(source);
  EXPECT_EQ(passes.syntax_errors, 0) << passes.messages;
  return passes.messages;
}

TEST(Occam2Scopes, ADeclarationScopesOverTheNextProcessOnly) {
  EXPECT_EQ(messages_of("SEQ\n  INT x:\n  x := 1\n  x := 2\n"), "test.occ:4:3: error: 'x' is not defined\n");
  // ... but over the rest of the file at the outermost level, and over a PROC's body from its
  // formals.
  EXPECT_EQ(messages_of("VAL INT n IS 3:\nPROC p (CHAN INT c!)\n  c ! n\n:\nPROC q (CHAN INT c!)\n  p (c)\n:\n"), "");
  // A replicator's index is known in its body alone.
  EXPECT_EQ(messages_of("INT x:\nSEQ\n  SEQ i = 0 FOR 3\n    x := i\n  x := i\n"), "test.occ:5:8: error: 'i' is not defined\n");
}

TEST(Occam2Scopes, APROCIsItsOwnNameOnlyWhenRecursive) {
  EXPECT_EQ(messages_of("PROC p (CHAN INT c!)\n  p (c)\n:\n"),
            "test.occ:2:3: error: 'p' calls itself, and occam has no recursion\n");
  Occam2Passes recursive = run_passes("RECURSIVE PROC p (CHAN INT c!)\n  p (c)\n:\n");
  EXPECT_EQ(recursive.messages, "");
  const occam2::DefinitionInfo* info = recursive.resolution.definition(recursive.symbol("p")->definition);
  ASSERT_NE(info, nullptr);
  EXPECT_TRUE(info->recursive);
}

TEST(Occam2Types, OperandsAndTheSidesOfAnAssignmentAgree) {
  const std::string declarations = "INT x:\nBYTE b:\nBOOL f:\n";
  EXPECT_EQ(messages_of(declarations + "x := b\n"), "test.occ:4:6: error: a value of type BYTE is assigned to 'x'\n");
  EXPECT_EQ(messages_of(declarations + "x := x + b\n"),
            "test.occ:4:6: error: the operands of '+' have different types: INT and BYTE\n");
  EXPECT_EQ(messages_of(declarations + "x := INT b\n"), "");
  EXPECT_EQ(messages_of(declarations + "WHILE x\n  SKIP\n"), "test.occ:4:7: error: a condition must be BOOL, not INT\n");
  EXPECT_EQ(messages_of(declarations + "f := (x = 1) AND (b < 3)\n"), "");
  EXPECT_EQ(messages_of("CHAN BYTE c:\nc ! 1000\n"), "test.occ:2:5: error: the number 1000 does not fit in BYTE\n");
}

TEST(Occam2Types, LiteralsTakeTheTypeOfWhatTheyMeet) {
  Occam2Passes passes = run_passes("INT x:\nBYTE b:\nSEQ\n  b := 200\n  x := #FFFFFFFF\n  x := 2147483648\n");
  EXPECT_EQ(passes.messages, "test.occ:6:8: error: the number 2147483648 does not fit in INT\n");
}

TEST(Occam2Types, CallsTakeTheirFormalsNumberAndTypes) {
  const std::string procs = "PROC p (VAL INT n, CHAN BYTE c!)\n  c ! BYTE n\n:\nCHAN BYTE out:\nCHAN INT wrong:\n";
  EXPECT_EQ(messages_of(procs + "p (1, out)\n"), "");
  EXPECT_EQ(messages_of(procs + "p (1)\n"), "test.occ:6:1: error: 'p' takes 2 arguments, not 1\n");
  EXPECT_EQ(messages_of(procs + "p (1, wrong)\n"),
            "test.occ:6:7: error: argument 2 has the wrong type: CHAN BYTE expected, not CHAN INT\n");
}

TEST(Occam2Constants, AreFoldedWhereOccamKnowsThem) {
  Occam2Passes passes = run_passes(
      "[5]INT a:\nVAL INT n IS 8:\nVAL INT m IS (n * 2) + 1:\nVAL INT s IS SIZE a:\nVAL INT h IS #FFFFFFFF:\n"
      "VAL BYTE low IS MOSTNEG BYTE:\nVAL INT16 top IS MOSTPOS INT16:\nVAL BOOL yes IS (n > 3) AND TRUE:\n"
      "VAL INT r IS n \\ 3:\nVAL INT q IS (-7) / 2:\n");
  EXPECT_EQ(passes.messages, "");
  for (auto [name, value] : std::vector<std::pair<std::string, std::int64_t>>{
           {"m", 17}, {"s", 5}, {"h", -1}, {"low", 0}, {"top", 32767}, {"yes", 1}, {"r", 2}, {"q", -3}}) {
    const occam2::Symbol* symbol = passes.symbol(name);
    ASSERT_NE(symbol, nullptr) << name;
    EXPECT_EQ(symbol->kind, SymbolKind::constant) << name;
    EXPECT_EQ(symbol->value, value) << name;
  }
  // A value known only at run time is a value, not a constant.
  Occam2Passes value = run_passes("INT t0, t1:\nSEQ\n  VAL INT d IS t1 - t0:\n  t0 := d\n");
  EXPECT_EQ(value.symbol("d")->kind, SymbolKind::value);
}

TEST(Occam2FreeNames, ANestedPROCTakesTheNamesOfThePROCsAroundItThatItUses) {
  Occam2Passes passes = run_passes(
      "PROC outer (CHAN INT c!)\n"
      "  INT total:\n"
      "  VAL INT k IS 2:\n"
      "  PROC add (VAL INT v)\n"
      "    total := total + (v * k)\n"
      "  :\n"
      "  PROC twice (VAL INT v)\n"
      "    SEQ\n"
      "      add (v)\n"
      "      add (v)\n"
      "  :\n"
      "  SEQ\n"
      "    total := 0\n"
      "    twice (3)\n"
      "    c ! total\n"
      ":\n");
  ASSERT_EQ(passes.messages, "");
  auto free_names = [&](const std::string& proc) {
    std::vector<std::string> names;
    const occam2::DefinitionInfo* info = passes.resolution.definition(passes.symbol(proc)->definition);
    EXPECT_NE(info, nullptr);
    if (info == nullptr) return names;
    for (occam2::SymbolId id : info->free) names.emplace_back(passes.tree->names.spelling(passes.resolution.symbol(id).name));
    return names;
  };
  // k is a constant: it goes to the outermost level and needs no passing; add's free name is
  // twice's too, since twice calls add.
  EXPECT_EQ(free_names("add"), std::vector<std::string>{"total"});
  EXPECT_EQ(free_names("twice"), std::vector<std::string>{"total"});
  EXPECT_EQ(free_names("outer"), std::vector<std::string>{});
  EXPECT_TRUE(passes.resolution.definition(passes.symbol("add")->definition)->nested);
}

TEST(Occam2Channels, TakeTheirDirectionFromUseThroughCalls) {
  Occam2Passes passes = run_passes(
      "PROC p (CHAN INT a, b)\n  INT x:\n  SEQ\n    a ? x\n    b ! x\n:\n"
      "PROC q (CHAN INT in, out)\n  p (in, out)\n:\n");
  ASSERT_EQ(passes.messages, "");
  EXPECT_TRUE(passes.symbol("in")->used_for_input);
  EXPECT_FALSE(passes.symbol("in")->used_for_output);
  EXPECT_TRUE(passes.symbol("out")->used_for_output);
  EXPECT_EQ(passes.resolution.program_proc, passes.tree->node(passes.symbol("q")->declaration).b);
}

TEST(Occam2TargetNames, AreHandelCNamesThatNeitherHideNorClash) {
  Occam2Passes passes = run_passes(
      "PROC p (CHAN INT in?, CHAN BYTE out.ready!)\n"
      "  INT x, delay, abs:\n"
      "  SEQ\n"
      "    in ? x\n"
      "    INT x:\n"
      "    x := 1\n"
      ":\n");
  ASSERT_EQ(passes.messages, "");
  EXPECT_EQ(passes.target("in"), "in_");
  EXPECT_EQ(passes.target("out.ready"), "out_ready");
  EXPECT_EQ(passes.target("delay"), "delay_");
  EXPECT_EQ(passes.target("abs"), "abs_");
  std::vector<std::string> xs;
  for (const occam2::Symbol& s : passes.resolution.symbols) {
    if (s.name != 0 && passes.tree->names.spelling(s.name) == "x") xs.emplace_back(passes.tree->names.spelling(s.target));
  }
  EXPECT_EQ(xs, (std::vector<std::string>{"x", "x_1"}));
}

TEST(Occam2TargetNames, ConstantsOfTwoPROCsAreTwoGlobals) {
  Occam2Passes passes = run_passes("PROC a (CHAN INT c!)\n  VAL INT k IS 1:\n  c ! k\n:\nPROC b (CHAN INT c!)\n  VAL INT k IS 2:\n  c ! k\n:\n");
  std::vector<std::string> ks;
  for (const occam2::Symbol& s : passes.resolution.symbols) {
    if (s.name != 0 && passes.tree->names.spelling(s.name) == "k") ks.emplace_back(passes.tree->names.spelling(s.target));
  }
  EXPECT_EQ(ks, (std::vector<std::string>{"k", "k_1"}));
}

TEST(Occam2Unwritable, StatementsUsingWhatHasNoHandelCFormAreMarked) {
  Occam2Passes passes = run_passes("MOBILE []INT m:\nINT x:\nSEQ\n  x := m[0]\n  x := 1\n");
  EXPECT_EQ(passes.messages, "");
  const occam2::Tree& tree = *passes.tree;
  occam2::NodeId seq = tree.child(tree.node(tree.root()).a, 2);
  occam2::NodeId first = tree.child(tree.node(seq).b, 0);
  occam2::NodeId second = tree.child(tree.node(seq).b, 1);
  EXPECT_EQ(passes.resolution.why_unwritable(first), Construct::mobile);
  EXPECT_FALSE(passes.resolution.why_unwritable(second));
  // A declaration whose type is defined nowhere: an error there, and its uses marked.
  Occam2Passes undefined = run_passes("ANGLE a:\nINT x:\nx := a\n");
  EXPECT_EQ(undefined.messages, "test.occ:1:1: error: 'ANGLE' is not defined\n");
  EXPECT_EQ(undefined.symbol("a")->kind, SymbolKind::unsupported);
}

}  // namespace
}  // namespace vrk::testing
