// The trees the occam 2 parser builds for the occam 2.1 and occam-pi forms of real programs:
// operators defined by FUNCTIONs, conversions to named types, VALOF operands, several names in one
// INITIAL, and the constructs kept as unsupported nodes. Each case compares the dump of the whole
// program's tree.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "occam2/parser/parser.h"
#include "occam2/scanner/scanner.h"
#include "occam2/tree/tree.h"
#include "output/streams.h"
#include "scanner/diagnostics.h"
#include "scanner/line_reader.h"

namespace vrk::occam2 {
namespace {

struct Parsed {
  Tree tree;
  std::string diagnostics;  // quiet messages, the source named t.occ
  int errors = 0;
  std::string dump() const { return occam2::dump(tree, tree.root()); }
};

std::unique_ptr<Parsed> parse(std::string_view source) {
  auto parsed = std::make_unique<Parsed>();
  SourceReader reader(source, SourceReader::LineLimit::none);
  OutputBuffer debug_log, standard_error;
  Diagnostics diagnostics{debug_log, standard_error, DiagnosticStyle{true, "t.occ"}};
  Occam2Scanner scanner(reader, diagnostics, Occam2ScannerOptions{"t.occ", {}});
  Parser parser(scanner, parsed->tree, diagnostics);
  parser.parse();
  parsed->errors = parser.error_count() + scanner.error_count();
  parsed->diagnostics = standard_error.contents();
  return parsed;
}

TEST(Occam2ParserForms, AFunctionNamedByAStringDefinesThatOperator) {
  auto p = parse(
      "INT FUNCTION \"+\" (VAL INT a, VAL INT32 b) IS a:\n"
      "BOOL INLINE FUNCTION \"REM\" (VAL BOOL q) IS q:\n");
  EXPECT_EQ(p->errors, 0) << p->diagnostics;
  // REM and \ are one operator, and so one name.
  EXPECT_EQ(p->dump(),
            "program\n"
            "  list\n"
            "    function_definition\n"
            "      list\n"
            "        primitive_type INT\n"
            "      name_def \"+\"\n"
            "      list\n"
            "        formal VAL\n"
            "          primitive_type INT\n"
            "          name_def a\n"
            "        formal VAL\n"
            "          primitive_type INT32\n"
            "          name_def b\n"
            "      list\n"
            "        name a\n"
            "    function_definition\n"
            "      list\n"
            "        primitive_type BOOL\n"
            "      name_def \"\\\"\n"
            "      list\n"
            "        formal VAL\n"
            "          primitive_type BOOL\n"
            "          name_def q\n"
            "      list\n"
            "        name q\n");
}

TEST(Occam2ParserForms, TheSymbolsOfUserOperatorsAreDyadicAndMonadic) {
  auto p = parse("x := a @ b\ny := ?? a\nz := - (a ** b)\n");
  EXPECT_EQ(p->errors, 0) << p->diagnostics;
  EXPECT_EQ(p->dump(),
            "program\n"
            "  list\n"
            "    assignment\n"
            "      name x\n"
            "      dyadic @\n"
            "        name a\n"
            "        name b\n"
            "    assignment\n"
            "      name y\n"
            "      monadic ??\n"
            "        name a\n"
            "    assignment\n"
            "      name z\n"
            "      monadic -\n"
            "        dyadic **\n"
            "          name a\n"
            "          name b\n");
}

TEST(Occam2ParserForms, ConversionsToNamedTypes) {
  auto p = parse(
      "VAL tmp IS MYREAL ROUND j :\n"
      "x := MINUS (MOSTNEG MYINT)\n"
      "CASE k\n"
      "  INT KEY.LEFT\n"
      "    SKIP\n");
  EXPECT_EQ(p->errors, 0) << p->diagnostics;
  EXPECT_EQ(p->dump(),
            "program\n"
            "  list\n"
            "    val_abbreviation\n"
            "      -\n"
            "      name_def tmp\n"
            "      conversion ROUND\n"
            "        named_type\n"
            "          name MYREAL\n"
            "        name j\n"
            "    assignment\n"
            "      name x\n"
            "      monadic MINUS\n"
            "        most NEG\n"
            "          named_type\n"
            "            name MYINT\n"
            "    case_process\n"
            "      name k\n"
            "      list\n"
            "        option\n"
            "          list\n"
            "            conversion\n"
            "              primitive_type INT\n"
            "              name KEY.LEFT\n"
            "          list\n"
            "            skip\n");
}

TEST(Occam2ParserForms, ValofOperandsWithTheDeclarationsBeforeThem) {
  auto p = parse(
      "x := (INT r :\n"
      "      [2]BYTE t:\n"
      "      VALOF\n"
      "        r := 1\n"
      "        RESULT r\n"
      "     )\n"
      "c[(VALOF\n"
      "     SKIP\n"
      "     RESULT 2)] := 0\n");
  EXPECT_EQ(p->errors, 0) << p->diagnostics;
  EXPECT_EQ(p->dump(),
            "program\n"
            "  list\n"
            "    assignment\n"
            "      name x\n"
            "      specified_valof\n"
            "        list\n"
            "          declaration\n"
            "            primitive_type INT\n"
            "            list\n"
            "              name_def r\n"
            "          declaration\n"
            "            array_type\n"
            "              number 2\n"
            "              primitive_type BYTE\n"
            "            list\n"
            "              name_def t\n"
            "        valof\n"
            "          list\n"
            "            assignment\n"
            "              name r\n"
            "              number 1\n"
            "          list\n"
            "            name r\n"
            "    assignment\n"
            "      subscript\n"
            "        name c\n"
            "        valof\n"
            "          list\n"
            "            skip\n"
            "          list\n"
            "            number 2\n"
            "      number 0\n");
  // The first declaration in the brackets may be an array or a VAL too.
  EXPECT_EQ(parse("x := ([3]INT a:\n      VALOF\n        SKIP\n        RESULT a[0]\n     )\n")->errors, 0);
  EXPECT_EQ(parse("x := (VAL v IS 3 :\n      VALOF\n        SKIP\n        RESULT v\n     )\n")->errors, 0);
}

TEST(Occam2ParserForms, SeveralNamesInOneInitialAreOneDeclarationEach) {
  auto p = parse("INITIAL INT a, b IS 1, 2:\nSKIP\n");
  EXPECT_EQ(p->errors, 0) << p->diagnostics;
  EXPECT_EQ(p->dump(),
            "program\n"
            "  list\n"
            "    initial_declaration\n"
            "      primitive_type INT\n"
            "      name_def a\n"
            "      number 1\n"
            "    initial_declaration\n"
            "      primitive_type INT\n"
            "      name_def b\n"
            "      number 2\n"
            "    skip\n");
  auto short_of_values = parse("INITIAL INT a, b IS 1:\nSKIP\n");
  EXPECT_EQ(short_of_values->errors, 1);
  EXPECT_NE(short_of_values->diagnostics.find("t.occ:1:21: error: 1 values for 2 names"), std::string::npos)
      << short_of_values->diagnostics;
}

TEST(Occam2ParserForms, BarriersExtendedInputAndAsmAreKeptUnsupported) {
  auto p = parse(
      "PAR BARRIER b\n"
      "  SKIP\n"
      "PAR i = 0 FOR 4 BARRIER b\n"
      "  SKIP\n"
      "ALT\n"
      "  SYNC b\n"
      "    SKIP\n"
      "  c ?? CASE tag; x\n"
      "    SKIP\n"
      "ASM\n"
      "  LD ADDRESSOF x\n"
      "  LDAB a[0], 99\n"
      "  :loop\n"
      "  AND\n"
      "  CJ :loop\n"
      "  LDLABELDIFF :end - :loop\n");
  EXPECT_EQ(p->errors, 0) << p->diagnostics;
  EXPECT_EQ(p->dump(),
            "program\n"
            "  list\n"
            "    unsupported \"PAR with BARRIER\"\n"
            "    unsupported \"PAR with BARRIER\"\n"
            "    alt\n"
            "      -\n"
            "      list\n"
            "        unsupported \"SYNC\"\n"
            "        unsupported \"extended input (?\?)\"\n"
            "    unsupported \"ASM\"\n");
  // Only ASM and GUY stand alone on a line before instructions.
  auto other = parse("FOO\n  LD x\n");
  EXPECT_EQ(other->errors, 1);
  EXPECT_NE(other->diagnostics.find("t.occ:1:4: error: syntax error"), std::string::npos) << other->diagnostics;
}

TEST(Occam2ParserForms, OtherFormsOfRealPrograms) {
  auto p = parse(
      "CHAN OF INT16::[]BYTE c:\n"
      "A, B FUNCTION f (VAL INT x) IS x, x:\n"
      "VAL e IS \"\":\n"
      "s := identity (x)[0]\n"
      "n := SIZE [4]INT\n");
  EXPECT_EQ(p->errors, 0) << p->diagnostics;
  EXPECT_EQ(p->dump(),
            "program\n"
            "  list\n"
            "    declaration\n"
            "      channel_type\n"
            "        unsupported_type \"counted array communication (::)\"\n"
            "      list\n"
            "        name_def c\n"
            "    function_definition\n"
            "      list\n"
            "        named_type\n"
            "          name A\n"
            "        named_type\n"
            "          name B\n"
            "      name_def f\n"
            "      list\n"
            "        formal VAL\n"
            "          primitive_type INT\n"
            "          name_def x\n"
            "      list\n"
            "        name x\n"
            "        name x\n"
            "    val_abbreviation\n"
            "      -\n"
            "      name_def e\n"
            "      string \"\"\n"
            "    assignment\n"
            "      name s\n"
            "      subscript\n"
            "        function_call\n"
            "          name identity\n"
            "          list\n"
            "            name x\n"
            "        number 0\n"
            "    assignment\n"
            "      name n\n"
            "      size\n"
            "        array_type\n"
            "          number 4\n"
            "          primitive_type INT\n");
}

// Forms whose start reads like another's until a later token.
TEST(Occam2ParserForms, PrefixesAndEndsThatTellFormsApart) {
  // PUBLIC and the other prefixes of a PROC or FUNCTION.
  EXPECT_EQ(parse("PUBLIC PROC p ()\n  SKIP\n:\n")->errors, 0);
  EXPECT_EQ(parse("INT RECURSIVE INLINE FUNCTION f (VAL INT x) IS x:\n")->errors, 0);
  auto other = parse("PRIVATE PROC p ()\n  SKIP\n:\n");
  EXPECT_EQ(other->errors, 1) << other->diagnostics;
  // RESULT and SHARED ends of a CHAN TYPE as formals; a segment of channel ends.
  EXPECT_EQ(parse("PROC p (SHARED CT! a, RESULT CT? b, RESULT CT! c)\n  SKIP\n:\n")->errors, 0);
  EXPECT_EQ(parse("[]CHAN INT da! IS [ca! FOR n]:\nSKIP\n")->errors, 0);
  // MOBILE allocations of MOBILE arrays, and BYTESIN as an operand.
  EXPECT_EQ(parse("INITIAL MOBILE []MOBILE []BYTE n IS MOBILE [500]MOBILE []BYTE:\nSKIP\n")->errors, 0);
  EXPECT_EQ(parse("x := MOBILE [1 + (4 * BYTESIN (INT))]BYTE\n")->errors, 0);
  // A multiple assignment still begins like a FUNCTION with several named results.
  EXPECT_EQ(parse("a, b := b, a\n")->errors, 0);
  // A CASE option list of names is no FUNCTION head.
  EXPECT_EQ(parse("CASE k\n  a, b\n    SKIP\n")->errors, 0);
  // RESULT declares a variable at the outermost level; inside a VALOF it begins the RESULT line.
  auto result = parse("RESULT INT r:\nINT FUNCTION f () IS (VALOF\n                        SKIP\n                        RESULT 1):\n");
  EXPECT_EQ(result->errors, 0) << result->diagnostics;
  EXPECT_EQ(result->dump().rfind("program\n  list\n    declaration\n      primitive_type INT\n      list\n        name_def r\n", 0), 0u)
      << result->dump();
}

}  // namespace
}  // namespace vrk::occam2
