// The occam 2 mode's translations, worked out by hand: what goes before main (macro procs and
// macro exprs, in source order) and what goes into it.
#include <gtest/gtest.h>

#include <string>

#include "tests/common/files.h"
#include "tests/common/translate.h"

namespace vrk::testing {
namespace {

std::string banner(const std::string& construct) {
  return "\n\n##### Error: occam " + construct + " not included yet in this vrk version ! #####\n\n";
}

struct Expected {
  std::string definitions;
  std::string body;
};

void expect_translation(const std::string& source, const Expected& expected) {
  TranslationRun run = translate_occam2(source);
  EXPECT_EQ(run.status, 0) << run.diagnostics;
  Occam2Output output = split_occam2_output(run.output);
  EXPECT_EQ(output.definitions, expected.definitions) << source;
  EXPECT_EQ(output.body, expected.body) << source;
}

TEST(Occam2Translation, AProgramOfDefinitionsRunsItsLastProc) {
  expect_translation("PROC hello (CHAN BYTE out!)\n  out ! 'h'\n:\n",
                     {"macro proc hello (out)\n{\nout ! 'h';\n}  /* hello */\n\n", "chan out;\n\nhello (out);\n"});
  // KRoC's usual top PROC is called main, which Handel-C reserves; a bare formal shares the
  // specifier before it.
  expect_translation("PROC first (VAL INT n)\n  SKIP\n:\nPROC main (CHAN BYTE kyb?, scr!)\n  SEQ\n    first (1)\n    scr ! 'a'\n:\n",
                     {"macro proc first (n)\n{\nskip;\n}  /* first */\n\n"
                      "macro proc main_ (kyb, scr)\n{\nfirst (1);\nscr ! 'a';\n}  /* main_ */\n\n",
                      "chan kyb;\n\nchan scr;\n\nmain_ (kyb, scr);\n"});
  // A formal that is not a channel cannot be given by main.
  expect_translation("PROC p (VAL INT n, CHAN INT c!)\n  c ! n\n:\n",
                     {"macro proc p (n, c)\n{\nc ! n;\n}  /* p */\n\n",
                      banner("PROC parameter n of the program") + "chan c;\n\np (n, c);\n"});
}

TEST(Occam2Translation, ConstantsAndFunctionsBecomeMacroExpressions) {
  expect_translation("VAL INT n IS 8:\nINT FUNCTION twice (VAL INT x) IS x * 2:\nPROC p (CHAN INT c!)\n  c ! twice (n)\n:\n",
                     {"macro expr n = (8);\n\nmacro expr twice (x) = (x * 2);\n\n"
                      "macro proc p (c)\n{\nc ! twice (n);\n}  /* p */\n\n",
                      "chan c;\n\np (c);\n"});
}

TEST(Occam2Translation, NestedProcsComeFirstAndNamesAreMadeHandelC) {
  expect_translation("PROC outer (CHAN INT out.ready!)\n  PROC inner (VAL INT v)\n    out.ready ! v\n  :\n  inner (1)\n:\n",
                     {"macro proc inner (v)\n{\nout_ready ! v;\n}  /* inner */\n\n"
                      "macro proc outer (out_ready)\n{\ninner (1);\n}  /* outer */\n\n",
                      "chan out_ready;\n\nouter (out_ready);\n"});
}

TEST(Occam2Translation, AnOutermostProcessGoesIntoMain) {
  expect_translation("INT x, y:\nSEQ\n  x, y := y, x\n  x := x REM 3\n  y := (x PLUS 1) TIMES 2\n  x := y MINUS x\n",
                     {"", "int x, y;\n\npar\n{\nx = y;\ny = x;\n}  /* par */\nx = x mod 3;\ny = (x + 1) * 2;\nx = y - x;\n"});
}

TEST(Occam2Translation, PriorityIsDroppedAndGuardsKeepTheirForm) {
  expect_translation("CHAN INT a, c:\nINT x:\nPRI PAR\n  PRI ALT\n    a ? x\n      SKIP\n    (x > 0) & c ? x\n      STOP\n  c ! 1\n",
                     {"", "chan a, c;\n\nint x;\n\npar\n{\nprialt\n{\n\na ? x:\nskip;\n\n(x > 0) $ c ? x:\n\nstop;\n\n}  /* prialt */\n"
                          "c ! 1;\n}  /* par */\n"});
}

TEST(Occam2Translation, CaseOptionsWithSeveralValuesAndIfChains) {
  expect_translation("INT x, y:\nCASE x\n  1, 2\n    y := 0\n  ELSE\n    SKIP\n",
                     {"", "int x, y;\n\ncase (x)\n{\n1:\n2:\n{\ny = 0;\n}\ndefault:\n{\nskip;\n}\n}\n"});
  expect_translation("INT a, x:\nIF\n  a = 1\n    x := 1\n  TRUE\n    SKIP\n",
                     {"", "int a, x;\n\nif (a == 1)\n{\nx = 1;\n\n}  /* if */\nelse if (TRUE)\n{\nskip;\n\n}  /* if */\n"});
}

TEST(Occam2Translation, ReplicatorsWithConstantBounds) {
  expect_translation("VAL INT n IS 2:\nPROC w (VAL INT i)\n  SKIP\n:\nPAR i = 0 FOR n\n  w (i)\n",
                     {"macro expr n = (2);\n\nmacro proc w (i)\n{\nskip;\n}  /* w */\n\n",
                      "i = 0;\npar\n{\nw (i);\n}  /* par */\ni = 1;\npar\n{\nw (i);\n}  /* par */\n"});
  expect_translation("CHAN INT c:\nSEQ i = 1 FOR 3\n  c ! i\n",
                     {"", "chan c;\n\nfor (i = 1; i < (1) + (3); i = i + 1)\n{\nc ! i;\n}  /* for */\n"});
}

TEST(Occam2Translation, ConstructsWithoutCounterpartBecomeBanners) {
  expect_translation("TIMER clock:\nINT t:\nSEQ\n  clock ? t\n  t := SIZE t\n",
                     {"", banner("TIMER") + "int t;\n\n" + banner("timer input") + ";\nt = " + banner("SIZE") + ";\n"});
  expect_translation("PROTOCOL P IS INT; BYTE:\nINITIAL INT x IS 1:\nSKIP\n",
                     {banner("PROTOCOL"), banner("INITIAL") + "skip;\n"});
}

TEST(Occam2Translation, CommentLinesStayWithWhatFollowsThem) {
  expect_translation("-- the writer\nPROC w (CHAN INT c!)\n  -- one value\n  c ! 1\n:\n",
                     {"\n\n/*  the writer */\n\nmacro proc w (c)\n{\n\n\n/*  one value */\n\nc ! 1;\n}  /* w */\n\n",
                      "chan c;\n\nw (c);\n"});
}

// The outermost SEQ's processes are written into main as they are parsed; comment lines and a
// PROC defined among them keep their places.
TEST(Occam2Translation, AnOutermostSeqKeepsItsOrder) {
  expect_translation("-- top\nINT x:\n-- before seq\nSEQ\n  -- first\n  x := 1\n  PROC p ()\n    SKIP\n  :\n  p ()\n",
                     {"macro proc p ()\n{\nskip;\n}  /* p */\n\n",
                      "\n\n/*  top */\n\nint x;\n\n\n\n/*  before seq */\n\n\n\n/*  first */\n\nx = 1;\np ();\n"});
}

TEST(Occam2Translation, AConstantDefinedAgainWithAnotherValueIsAWarning) {
  const std::string source = "PROC a ()\n  VAL INT n IS 1:\n  SKIP\n:\nPROC b ()\n  VAL INT n IS 2:\n  VAL INT n IS 2:\n  SKIP\n:\n";
  TranslationRun run = translate_occam2(source);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(split_occam2_output(run.output).definitions,
            "macro expr n = (1);\n\nmacro proc a ()\n{\nskip;\n}  /* a */\n\n"
            "macro expr n = (2);\n\nmacro proc b ()\n{\nskip;\n}  /* b */\n\n");
  EXPECT_NE(run.diagnostics.find("test.occ:6:11: warning: 'n' is defined again with another value"), std::string::npos)
      << run.diagnostics;
  EXPECT_EQ(run.diagnostics.find("test.occ:7:"), std::string::npos) << "the same text again is no clash";
}

class Occam2Files : public TempDirTest {
 protected:
  Occam2Files() : TempDirTest("occam2") {}
};

TEST_F(Occam2Files, AnIncludedFileIsTranslatedInPlace) {
  write_file(dir_ / "lib" / "defs.inc", "VAL INT k IS 3:\n");
  TranslationRun run = translate_occam2("#INCLUDE \"defs.inc\"\nPROC p (CHAN INT c!)\n  c ! k\n:\n",
                                        (dir_ / "main.occ").string(), {(dir_ / "lib").string()});
  EXPECT_EQ(run.status, 0) << run.diagnostics;
  Occam2Output output = split_occam2_output(run.output);
  EXPECT_EQ(output.definitions, "macro expr k = (3);\n\nmacro proc p (c)\n{\nc ! k;\n}  /* p */\n\n");
}

TEST_F(Occam2Files, AMissingIncludeIsAnErrorAndTheTranslationIsStillWritten) {
  TranslationRun run = translate_occam2("#INCLUDE \"course.module\"\nPROC p ()\n  SKIP\n:\n", (dir_ / "main.occ").string());
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.diagnostics.find("ERROR <cannot find include file \"course.module\"> near <#INCLUDE> on line 1"),
            std::string::npos)
      << run.diagnostics;
  EXPECT_EQ(split_occam2_output(run.output).body, "p ();\n");
}

TEST_F(Occam2Files, ErrorsInAnIncludedFileNameThatFile) {
  write_file(dir_ / "broken.inc", "PROC q ()\n  SEQ\n    x := := 1\n:\n");
  TranslationRun run = translate_occam2("#INCLUDE \"broken.inc\"\nPROC p ()\n  q ()\n:\n", (dir_ / "main.occ").string(), {}, true);
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.diagnostics.find("broken.inc:3:"), std::string::npos) << run.diagnostics;
  EXPECT_NE(run.debug_log.find("ERROR <syntax error> near <:=> on line 3"), std::string::npos) << run.debug_log;
}

}  // namespace
}  // namespace vrk::testing
