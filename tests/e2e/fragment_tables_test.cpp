// Fragment-level end-to-end checks: where a translation's fragment boundaries matter (the type
// word rewritten in place, a captured dimension, each comment character on its own), the table
// row gives the exact fragments after the main template. One row per source; adding a case costs
// one row. The last table covers sources whose bytes (line ends, NUL, high bytes, over-long
// lines) are awkward to keep in case files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "output/banners.h"
#include "tests/e2e/e2e_support.h"
#include "tests/common/translate.h"

namespace vrk::testing {
namespace {

using Fragments = std::vector<std::string>;

const std::string kProtocol(banners::text_of(banners::kProtocol));
const std::string kChannelArray(banners::text_of(banners::kChannelArray));
const std::string kFloatingPoint(banners::text_of(banners::kFloatingPoint));
const std::string kNow(banners::text_of(banners::kNow));
const std::string kAndOr(banners::text_of(banners::kLogicalOperator));
const std::string kHexOverflow(banners::text_of(banners::kHexOverflow));

struct FragmentRow {
  std::string label;
  std::string source;
  Fragments fragments;  // after the main template, without the closing of main
};

void PrintTo(const FragmentRow& row, std::ostream* os) { *os << row.label; }

std::string row_name(const ::testing::TestParamInfo<FragmentRow>& param) { return test_name_from(param.param.label); }

class FragmentTable : public ::testing::TestWithParam<FragmentRow> {};

TEST_P(FragmentTable, GivesTheseFragments) {
  const TranslationRun run = translate(GetParam().source);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(log_without_trace(run.debug_log), "");
  EXPECT_EQ(run.program_fragments(), GetParam().fragments);
}

// Each declaration is followed by SKIP as its scope; {10} ends it with ";\n\n".
Fragments declared(Fragments declaration) {
  declaration.insert(declaration.end(), {";\n\n", "skip", ";\n"});
  return declaration;
}

INSTANTIATE_TEST_SUITE_P(
    Declarations, FragmentTable,
    ::testing::Values(
        FragmentRow{"int_list", "INT x, y:\nSKIP\n", declared({"int ", "x", ", ", "y"})},
        FragmentRow{"bool", "BOOL f:\nSKIP\n", declared({"int ", "f"})},
        FragmentRow{"byte_array", "[10]BYTE buf:\nSKIP\n", declared({"ram ", "buf", "[", "10", "]"})},
        FragmentRow{"array_list", "[5]INT a, b:\nSKIP\n",
                    declared({"ram ", "a", "[", "5", "]", ", ", "b", "[", "5", "]"})},
        FragmentRow{"array_list_continued", "[5]INT a,\nb:\nSKIP\n",
                    declared({"ram ", "a", "[", "5", "]", ", ", "b", "[", "5", "]"})},
        FragmentRow{"channels", "CHAN OF INT c, d:\nSKIP\n", declared({"chan ", "c", ", ", "d"})},
        FragmentRow{"channel", "CHAN OF INT c:\nSKIP\n", declared({"chan ", "c"})},
        FragmentRow{"channel_element", "CHAN OF BYTE c[4]:\nSKIP\n",
                    declared({"chan ", "c", "[", "4", "]", kChannelArray})},
        FragmentRow{"element_list", "INT a[4], b:\nSKIP\n",
                    declared({"int ", "a", "[", "4", "]", kChannelArray, ", ", "b"})},
        FragmentRow{"real32", "REAL32 r:\nSKIP\n", declared({kFloatingPoint, "r"})},
        FragmentRow{"channel_of_real64", "CHAN OF REAL64 c:\nSKIP\n", declared({"chan ", kFloatingPoint, "c"})},
        FragmentRow{"dimension_expression", "[2*3]INT x:\nSKIP\n", declared({" * ", "ram ", "x", "[", "3", "]"})},
        FragmentRow{"dimension_name", "[n]INT x:\nSKIP\n", declared({"n", "ram ", "x", "[", "", "]"})},
        FragmentRow{"hex_dimension", "[#FF]INT x:\nSKIP\n", declared({"ram ", "x", "[", "0xFF", "]"})},
        FragmentRow{"nested_dimensions", "[4][5]INT x:\nSKIP\n", declared({"ram ", "x", "[", "5", "]"})}),
    row_name);

INSTANTIATE_TEST_SUITE_P(
    Processes, FragmentTable,
    ::testing::Values(
        FragmentRow{"assignment", "x := y + 1\n", {"x", " = ", "y", " + ", "1", ";\n"}},
        FragmentRow{"subscripted_assignment", "a[i] := 0\n", {"a", "[", "i", "]", " = ", "0", ";\n"}},
        FragmentRow{"input", "c ? x\n", {"c", " ? ", "x", ";\n"}},
        FragmentRow{"input_to_element", "c ? a[i]\n", {"c", " ? ", "a", "[", "i", "]", ";\n"}},
        FragmentRow{"input_protocol",
                    "c ? x; y; z\n",
                    {"c", " ? ", "x", ";", "y", kProtocol, ";", "z", kProtocol, ";\n"}},
        FragmentRow{"input_any", "c ? ANY\n", {"c", " ? ", "ANY", ";\n"}},
        FragmentRow{"output", "c ! x + 1\n", {"c", " ! ", "x", " + ", "1", ";\n"}},
        FragmentRow{"output_protocol", "c ! x; 2\n", {"c", " ! ", "x", ";", "2", kProtocol, ";\n"}},
        FragmentRow{"output_any", "c ! ANY\n", {"c", " ! ", "ANY", ";\n"}},
        FragmentRow{"wait", "WAIT t\n", {"delay", "t", ";\n"}},
        FragmentRow{"wait_now_after", "WAIT NOW AFTER t\n", {"delay", kNow, kNow, "t", ";\n"}},
        FragmentRow{"call", "P (1, 2)\n", {"P (", "1", ", ", "2", ");\n"}},
        FragmentRow{"call_without_arguments", "reset\n", {"reset", " ();\n"}},
        FragmentRow{"comment_line",
                    "SEQ\n  SKIP\n  -- ab\n  STOP\n",
                    {"skip", "\n\n/*  ab */\n\n", ";\n", "stop", ";\n"}}),
    row_name);

INSTANTIATE_TEST_SUITE_P(
    Constructs, FragmentTable,
    ::testing::Values(
        FragmentRow{"alt",
                    "ALT\n  c ? x\n    SKIP\n  SKIP\n    SKIP\n",
                    {"prialt\n{\n\n", "c", " ? ", "x", ":\n", "skip", ";\n", "\n", "skip :\n\n", "skip", ";\n",
                     "\n", "}  /* prialt */\n"}},
        FragmentRow{"replicated_seq",
                    "SEQ i = 0 FOR 3\n  SKIP\n",
                    {"for (", "i = ", "0", "; i", " < ", "3", "; i", " = i", " + 1)\n{\n", "skip", ";\n",
                     "}  /* for */\n"}},
        FragmentRow{"replicated_par",
                    "PAR i = 0 FOR 2\n  SKIP\n",
                    {"i = ", "0;\n", "par\n{\n", "skip", ";\n", "}  /* par */\n", "i = ", "1;\n", "par\n{\n",
                     "skip", ";\n", "}  /* par */\n"}}),
    row_name);

// Expressions as the right-hand side of `x := ...`: the row gives the expression's fragments.
struct ExpressionRow {
  std::string expression;
  Fragments fragments;
};

void PrintTo(const ExpressionRow& row, std::ostream* os) { *os << row.expression; }

class ExpressionTable : public ::testing::TestWithParam<ExpressionRow> {};

TEST_P(ExpressionTable, GivesTheseFragments) {
  const TranslationRun run = translate("x := " + GetParam().expression + "\n");
  Fragments expected = {"x", " = "};
  expected.insert(expected.end(), GetParam().fragments.begin(), GetParam().fragments.end());
  expected.push_back(";\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(log_without_trace(run.debug_log), "");
  EXPECT_EQ(run.program_fragments(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Operators, ExpressionTable,
    ::testing::Values(ExpressionRow{"a + b * c", {"a", " + ", "b", " * ", "c"}},
                      ExpressionRow{"(a - b) * c", {"(", "a", " - ", "b", ")", " * ", "c"}},
                      ExpressionRow{"a < b", {"a", " < ", "b"}}, ExpressionRow{"a <= b", {"a", " <= ", "b"}},
                      ExpressionRow{"a <> b", {"a", " != ", "b"}}, ExpressionRow{"a > b", {"a", " > ", "b"}},
                      ExpressionRow{"a >= b", {"a", " >= ", "b"}}, ExpressionRow{"a = b", {"a", " == ", "b"}},
                      ExpressionRow{"a >> 2", {"a", " >> ", "2"}}, ExpressionRow{"a << 2", {"a", " << ", "2"}},
                      ExpressionRow{"a / b", {"a", " div ", "b"}}, ExpressionRow{"a \\ b", {"a", " mod ", "b"}},
                      ExpressionRow{"a /\\ b", {"a", " & ", "b"}}, ExpressionRow{"a \\/ b", {"a", " | ", "b"}},
                      ExpressionRow{"a >< b", {"a", " ^ ", "b"}}, ExpressionRow{"NOT a", {"~ ", "a"}},
                      ExpressionRow{"-3", {"- ", "3"}}, ExpressionRow{"a AND b", {"a", " " + kAndOr + " ", "b"}},
                      ExpressionRow{"a OR b", {"a", " " + kAndOr + " ", "b"}},
                      // AFTER leaves the token text of the name before it, which is appended again.
                      ExpressionRow{"a AFTER b", {"a", "a", "b"}}));

INSTANTIATE_TEST_SUITE_P(
    Operands, ExpressionTable,
    ::testing::Values(ExpressionRow{"TRUE", {"TRUE"}}, ExpressionRow{"FALSE", {"FALSE"}},
                      ExpressionRow{"NOW", {kNow}}, ExpressionRow{"a[i + 1]", {"a", "[", "i", " + ", "1", "]"}},
                      ExpressionRow{"TABLE [1, 2][i]", {"1", "2", "[", "i", "]"}},
                      ExpressionRow{"\"ab\"[0]", {"\"ab\"", "[", "0", "]"}}, ExpressionRow{"'x'", {"'x'"}},
                      ExpressionRow{"'*n'", {"'\\n'"}}, ExpressionRow{"'*#41'", {"0x41"}},
                      ExpressionRow{"#FF", {"0xFF"}}, ExpressionRow{"#ff", {"0xff"}},
                      ExpressionRow{"#00000000", {"0x00000000"}}, ExpressionRow{"#123456789", {kHexOverflow}}));

// Sources with awkward bytes, each with its whole outcome.
struct SourceRow {
  std::string label;
  std::string source;
  int status;
  std::string program_text;
  std::string errors;  // the log without its trace; NUL bytes are dropped before comparing
};

void PrintTo(const SourceRow& row, std::ostream* os) { *os << row.label; }

class SourceBytes : public ::testing::TestWithParam<SourceRow> {};

std::string without_nul(std::string text) {
  std::erase(text, '\0');
  return text;
}

TEST_P(SourceBytes, TranslateAsExpected) {
  const SourceRow& row = GetParam();
  const TranslationRun run = translate(row.source);
  EXPECT_EQ(run.status, row.status);
  EXPECT_EQ(without_nul(log_without_trace(run.debug_log)), row.errors);
  // A parse that recovered from its errors still writes its whole translation.
  if (!row.program_text.empty()) {
    EXPECT_EQ(run.program_text(), row.program_text);
    EXPECT_EQ(run.output, expected_output(row.program_text));
  } else {
    EXPECT_EQ(run.output, std::string(kTestHeader) + std::string(kTestBoard));
  }
}

std::string source_row_name(const ::testing::TestParamInfo<SourceRow>& param) {
  return test_name_from(param.param.label);
}

std::string nested_seqs(int depth) {
  std::string source;
  for (int level = 0; level < depth; ++level) source += std::string(2 * level, ' ') + "SEQ\n";
  return source + std::string(2 * depth, ' ') + "SKIP\n";
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SourceBytes,
    ::testing::Values(
        SourceRow{"crlf_line_ends",
                  "SEQ\r\n  -- a\r\n  SKIP\r\n  STOP\r\n",
                  0,
                  "\n\n/*  a */\n\nskip;\nstop;\n",
                  ""},
        SourceRow{"no_final_line_feed", "SEQ\n  SKIP\n  STOP", 0, "skip;\nstop;\n", ""},
        SourceRow{"comment_without_final_line_feed", "SEQ\n  SKIP\n-- end", 0, "skip\n\n/*  end */\n\n;\n", ""},
        SourceRow{"nul_byte_is_a_syntax_error",
                  std::string("SEQ\n  SKIP\n  x := ") + '\0' + "\n  STOP\n",
                  1,
                  "skip;\nx = stop;\n",
                  "ERROR <syntax error> near <> on line 3\n"},
        SourceRow{"high_byte_is_a_syntax_error",
                  "SEQ\n  x := 1\xC8\n  SKIP\n",
                  1,
                  "x = 1skip;\n",
                  "ERROR <syntax error> near <\xC8> on line 2\n"},
        SourceRow{"high_bytes_in_a_comment", "SEQ\n  -- caf\xE9\n  SKIP\n", 0, "\n\n/*  caf\xE9 */\n\nskip;\n", ""},
        SourceRow{"longest_line",
                  "SEQ\n  -- " + std::string(248, 'y') + "\n  SKIP\n",
                  0,
                  "\n\n/*  " + std::string(248, 'y') + " */\n\nskip;\n",
                  ""},
        SourceRow{"over_long_line",
                  "SEQ\n  SKIP\n  -- " + std::string(249, 'y') + "\n  STOP\n",
                  1,
                  "",
                  "ERROR <line longer than 253 characters> on line 3\n"},
        SourceRow{"deepest_nesting", nested_seqs(65), 0, "skip;\n", ""}),
    source_row_name);

// One level more than the parse stack holds: the run is abandoned with the overflow message.
TEST(SourceBytesDepth, NestingBeyondTheStackIsAbandoned) {
  const TranslationRun run = translate(nested_seqs(66));
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.debug_log.find("ERROR <pcyacc internal stack overflow> near <"), std::string::npos);
  EXPECT_EQ(run.output, std::string(kTestHeader) + std::string(kTestBoard));
}

}  // namespace
}  // namespace vrk::testing
