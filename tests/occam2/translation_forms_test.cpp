// What the occam 2.1 and occam-pi forms of real programs become in Handel-C: a call of the FUNCTION
// that defines an operator, conversions to named types, preprocessor values, and a banner naming
// each construct that has no counterpart.
#include <gtest/gtest.h>

#include <string>

#include "tests/common/translate.h"

namespace vrk::testing {
namespace {

TEST(Occam2TranslationForms, AnOperatorAFunctionDefinesIsACallOfThatFunction) {
  TranslationRun run = translate_occam2(
      "DATA TYPE BLUE IS INT:\n"
      "INT FUNCTION \"+\" (VAL INT a, VAL INT32 b) IS a + (INT b):\n"
      "BLUE FUNCTION \"@\" (VAL BLUE a, VAL BLUE b) IS a * b:\n"
      "PROC main (CHAN INT out!)\n"
      "  INT x:\n"
      "  INT32 y:\n"
      "  BLUE z:\n"
      "  SEQ\n"
      "    y := 2\n"
      "    x := x + y\n"
      "    z := z @ 3\n"
      "    out ! x + 1\n"
      ":\n",
      "t.occ", {}, true);
  EXPECT_EQ(run.status, 0) << run.diagnostics;
  EXPECT_TRUE(contains(run.output, "macro expr op_plus (a, b) = (a + (b));")) << run.output;
  EXPECT_TRUE(contains(run.output, "macro expr op_at (a, b) = (a * b);")) << run.output;
  EXPECT_TRUE(contains(run.output, "x = op_plus (x, y);")) << run.output;
  EXPECT_TRUE(contains(run.output, "z = op_at (z, 3);")) << run.output;
  // INT + a literal is the operator's own: no FUNCTION takes INT and INT here.
  EXPECT_TRUE(contains(run.output, "out ! x + 1;")) << run.output;
}

// Written like a call, the conversion has one operand; it once was written as a call of the type.
TEST(Occam2TranslationForms, AConversionToANamedTypeWrittenLikeACallHasOneOperand) {
  const std::string head =
      "DATA TYPE SHORT IS INT16:\n"
      "PROC p (CHAN BYTE in?, CHAN INT16 out!)\n"
      "  BYTE b:\n"
      "  SHORT s:\n"
      "  SEQ\n"
      "    in ? b\n";
  TranslationRun run = translate_occam2(head + "    s := SHORT (b)\n    out ! s\n:\n", "t.occ", {}, true);
  EXPECT_EQ(run.status, 0) << run.diagnostics;
  EXPECT_TRUE(contains(run.output, "s = (int 16)adju(b, 16);")) << run.output;

  run = translate_occam2(head + "    s := SHORT (b, b)\n    out ! s\n:\n", "t.occ", {}, true);
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(contains(run.diagnostics, "t.occ:7:10: error: 'SHORT' takes 1 argument, not 2")) << run.diagnostics;
  EXPECT_FALSE(contains(run.output, "SHORT")) << run.output;
}

TEST(Occam2TranslationForms, AnOperatorNoFunctionDefinesForItsOperandsIsAnError) {
  TranslationRun run = translate_occam2(
      "INT32 FUNCTION \"@\" (VAL INT32 a, VAL INT32 b) IS a:\n"
      "PROC p (CHAN INT out!)\n"
      "  INT x:\n"
      "  SEQ\n"
      "    x := x @ x\n"
      "    out ! x\n"
      ":\n",
      "t.occ", {}, true);
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(contains(run.diagnostics, "t.occ:5:10: error: no FUNCTION \"@\" takes INT and INT")) << run.diagnostics;
  EXPECT_TRUE(contains(run.output, "#### Error:")) << run.output;
}

TEST(Occam2TranslationForms, AConversionToANamedTypeIsOneToWhatItNames) {
  TranslationRun run = translate_occam2(
      "DATA TYPE SHORT IS INT16:\n"
      "PROC p (CHAN BYTE in?, CHAN INT16 out!)\n"
      "  BYTE b:\n"
      "  SHORT s:\n"
      "  SEQ\n"
      "    in ? b\n"
      "    s := SHORT b\n"
      "    out ! s\n"
      ":\n",
      "t.occ", {}, true);
  EXPECT_EQ(run.status, 0) << run.diagnostics;
  EXPECT_TRUE(contains(run.output, "s = (int 16)adju(b, 16);")) << run.output;
}

TEST(Occam2TranslationForms, PreprocessorValuesComeFromDefineAndTheCommandLine) {
  const std::string source =
      "#IF DEFINED (FAST) AND (WIDTH = 8)\n"
      "VAL INT n IS ##WIDTH + ##TARGET.BITS.PER.WORD:\n"
      "#ELSE\n"
      "VAL INT n IS 0:\n"
      "#ENDIF\n"
      "PROC p (CHAN INT out!)\n"
      "  out ! n\n"
      ":\n";
  TranslationRun given = translate_occam2(source, "t.occ", {}, true, {"FAST", "WIDTH=8"});
  EXPECT_EQ(given.status, 0) << given.diagnostics;
  EXPECT_TRUE(contains(given.output, "macro expr n = (8 + 32);")) << given.output;
  EXPECT_EQ(given.diagnostics, "");
  // Without them the names are undefined: FALSE, with a warning for the value read.
  TranslationRun absent = translate_occam2(source, "t.occ", {}, true);
  EXPECT_EQ(absent.status, 0) << absent.diagnostics;
  EXPECT_TRUE(contains(absent.output, "macro expr n = 0;")) << absent.output;
  EXPECT_EQ(absent.diagnostics, "t.occ:1:1: warning: WIDTH is not defined; it counts as FALSE\n");
}

TEST(Occam2TranslationForms, ConstructsWithoutCounterpartGetABannerNamingThem) {
  struct Case {
    std::string body;  // the processes of a PROC p (CHAN INT c!), indented by four
    std::string construct;
  };
  const Case cases[] = {
      {"INT x:\n    x := (VALOF\n            SKIP\n            RESULT 2)\n", "VALOF"},
      {"ASM\n      LD x\n", "ASM"},
      {"BARRIER b:\n    PAR BARRIER b\n      SKIP\n", "PAR with BARRIER"},
      {"CHAN INT d:\n    INT x:\n    d ?? x\n      SKIP\n", "extended input (?\?)"},
  };
  for (const Case& c : cases) {
    TranslationRun run = translate_occam2("PROC p (CHAN INT c!)\n  SEQ\n    " + c.body + "    c ! 0\n:\n", "t.occ", {}, true);
    EXPECT_EQ(run.status, 0) << c.body << run.diagnostics;
    EXPECT_EQ(run.debug_log.find("syntax error"), std::string::npos) << c.body;
    EXPECT_TRUE(contains(run.output, c.construct + " has no Handel-C counterpart")) << c.body << run.output;
    EXPECT_TRUE(contains(run.diagnostics, "warning: occam " + c.construct)) << c.body << run.diagnostics;
  }
}

}  // namespace
}  // namespace vrk::testing
