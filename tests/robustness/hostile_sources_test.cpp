// Hostile sources, translated in memory in both modes: whatever the bytes, a translation ends with
// status 0 or 1, says on both diagnostic streams where it stopped, and leaves an output file of a
// known shape: nothing or only the header templates when it stops, the whole Fragment list (in the
// occam 2 mode, the whole program up to the closing of main) when it goes to the end.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "output/banners.h"
#include "driver/translation.h"
#include "output/replicated_par.h"
#include "tests/common/files.h"
#include "tests/common/translate.h"

namespace vrk::testing {
namespace {

using Lines = std::vector<std::string>;

const std::string kHeaders = std::string(kTestHeader) + std::string(kTestBoard);

std::string syntax_error(const std::string& lexeme, int line) {
  return "ERROR <syntax error> near <" + lexeme + "> on line " + std::to_string(line) + "\n";
}

std::string overlong_line(int line) {
  return "ERROR <line longer than 253 characters> on line " + std::to_string(line) + "\n";
}

// The report lines in the debug log. A lexeme may hold a line feed (the end of a line), so a
// report runs from "ERROR <" at the start of a line to the next "> on line N\n".
Lines error_lines(const std::string& log) {
  Lines found;
  for (std::size_t at = 0; (at = log.find("ERROR <", at)) != std::string::npos;) {
    if (at != 0 && log[at - 1] != '\n') {
      ++at;
      continue;
    }
    std::size_t tail = log.find("on line ", at);
    std::size_t end = tail == std::string::npos ? std::string::npos : log.find('\n', tail);
    if (end == std::string::npos) break;
    found.push_back(log.substr(at, end + 1 - at));
    at = end + 1;
  }
  return found;
}

// What every translation must give, whatever its source.
void expect_sound_outcome(const TranslationRun& run) {
  ASSERT_TRUE(run.status == 0 || run.status == 1) << run.status;
  EXPECT_EQ(run.diagnostics, run.debug_log) << "both streams get the same lines";
  EXPECT_EQ(run.status == 0, error_lines(run.debug_log).empty()) << "success means no error was reported";
  if (run.output.size() > kHeaders.size()) {
    std::string written = kHeaders;
    for (const std::string& f : run.fragments) written += f;
    EXPECT_EQ(run.output, written) << "an accepted translation writes its whole Fragment list";
  } else {
    EXPECT_TRUE(run.output.empty() || run.output == kHeaders) << "a stopped translation writes no fragment";
    EXPECT_EQ(run.status, 1) << "a stopped translation fails";
  }
}

// The same promises in the occam 2 mode, where the program is written once it has been read: a
// status of 0 or 1; the output begins with the header templates, and is either only they (a parse
// that could not go on) or runs to the closing of main; status 1 comes with at least one report,
// in the debug log and on standard error, and status 0 with none.
void expect_sound_occam2_outcome(const TranslationRun& run) {
  ASSERT_TRUE(run.status == 0 || run.status == 1) << run.status;
  EXPECT_TRUE(run.output.starts_with(kHeaders));
  if (run.output != kHeaders) {
    EXPECT_FALSE(split_occam2_output(run.output).body.empty()) << "a translation that went to the end closes main";
  } else {
    EXPECT_EQ(run.status, 1) << "a translation abandoned after the headers fails";
  }
  Lines reports = error_lines(run.debug_log);
  EXPECT_EQ(run.status == 0, reports.empty()) << run.debug_log;
  for (const std::string& report : reports) EXPECT_NE(run.diagnostics.find(report), std::string::npos) << report;
}

// A deterministic run of bytes that are neither line ends nor blanks nor anything a token begins
// with, so that each line's first byte is a syntax error.
std::string garbage(std::size_t length, std::uint32_t seed) {
  std::string text;
  while (text.size() < length) {
    seed = seed * 1664525u + 1013904223u;
    auto byte = static_cast<unsigned char>(seed >> 24);
    bool control = byte >= 1 && byte < 32 && byte != '\n' && byte != '\r';
    if (control || byte >= 128) text.push_back(static_cast<char>(byte));
  }
  return text;
}

// `levels` SEQs, each two columns deeper, and a SKIP in the innermost; made in place, since 10,000
// levels take 100 MB.
std::string nested_seqs(int levels) {
  const auto n = static_cast<std::size_t>(levels);
  std::string source;
  source.reserve(n * (n + 4) + 5);
  for (std::size_t level = 0; level < n; ++level) source.append(2 * level, ' ').append("SEQ\n");
  return source.append(2 * n, ' ').append("SKIP\n");
}

std::string repeated(const std::string& text, int times) {
  std::string result;
  for (int i = 0; i < times; ++i) result += text;
  return result;
}

struct Hostile {
  const char* name;
  std::string source;
  int status;
  std::string last_report;  // the last report line, where the translation stopped or resumed
  std::string output;       // the whole output file
};

TEST(HostileSources, EachEndsWithItsStatusAndAReportWhereItStopped) {
  const std::string garbage_line = garbage(40, 7);
  const std::string garbage_line_2 = garbage(60, 11);
  const std::string abandoned = kHeaders;
  const std::vector<Hostile> cases = {
      {"empty file", "", 1, syntax_error("", 1), abandoned},
      {"one line of binary garbage", garbage_line + "\n", 1, syntax_error(garbage_line.substr(0, 1), 1),
       expected_output("")},
      // Recovery completes the program on the first line; the second line has nowhere to go.
      {"binary garbage on several lines", garbage_line + "\n" + garbage_line_2 + "\n" + garbage_line + "\n", 1,
       syntax_error(garbage_line_2.substr(0, 1), 2), abandoned},
      {"binary garbage without line feeds", garbage(4096, 3), 1, overlong_line(1), ""},
      {"NUL bytes", std::string("SEQ\n  \0\0\n  SKIP\n", 15), 1, syntax_error(std::string(1, '\0'), 2),
       expected_output("skip;\n")},
      {"a line of 10,000 characters", "SEQ\n  SKIP\n  x := " + std::string(10000, '1') + "\n  STOP\n", 1,
       overlong_line(3), abandoned},
      {"an over-long comment line", "SEQ\n  SKIP\n  --" + std::string(300, '-') + "\n  STOP\n", 1,
       overlong_line(3), abandoned},
      {"an over-long blank line", "SEQ\n  SKIP\n" + std::string(400, ' ') + "\n  STOP\n", 1, overlong_line(3),
       abandoned},
      {"an over-long last line without a line feed", "SEQ\n  SKIP\n  " + std::string(300, 'x'), 1,
       overlong_line(3), abandoned},
      {"an over-long first line", std::string(254, 'x') + "\nSKIP\n", 1, overlong_line(1), ""},
      // The state stack fills at the 66th level, long before the lines grow too long to read.
      {"200 nesting levels", nested_seqs(200), 1,
       "ERROR <pcyacc internal stack overflow> near <SEQ> on line 67\n", abandoned},
      {"a file of only tabs", "\t\t\t\n\t\t\n\t\n", 1, syntax_error("\t", 2), abandoned},
      {"an unterminated string", "SEQ\n  x := \"abc\n  SKIP\n", 1, syntax_error("\"", 2),
       expected_output("x = skip;\n")},
      {"an unterminated character constant", "SEQ\n  x := 'a\n  SKIP\n", 1, syntax_error("'", 2),
       expected_output("x = skip;\n")},
      {"a character constant cut after its escape", "SEQ\n  x := '*#4\n  SKIP\n", 1, syntax_error("'", 2),
       expected_output("x = skip;\n")},
      {"a number of 1,000 digits", "SEQ\n  x := " + std::string(1000, '9') + "\n", 1, overlong_line(2),
       abandoned},
      // Nine digits make the banner; the other 91 are a name the assignment cannot take.
      {"a hexadecimal number of 100 digits", "SEQ\n  x := #" + std::string(100, 'F') + "\n  SKIP\n", 1,
       syntax_error(std::string(91, 'F'), 2),
       expected_output("x = " + std::string(banners::text_of(banners::kHexOverflow)) + "skip;\n")},
      {"CRLF line ends", "SEQ\r\n  SKIP\r\n  STOP\r\n", 0, "", expected_output("skip;\nstop;\n")},
      // Without a line feed the file is one line, and its first carriage return a stray byte; by
      // then SEQ has taken the stray byte for the start of a replicator and opened a loop.
      {"CR-only line ends", "SEQ\r  SKIP\r  STOP\r", 1, syntax_error("\r", 1), expected_output("for (")},
      {"no final line feed", "SEQ\n  SKIP\n  STOP", 0, "", expected_output("skip;\nstop;\n")},
      // Each bad line keeps the "skip" of its first SKIP; the second one is discarded.
      {"10,000 consecutive syntax errors", "SEQ\n" + repeated("  SKIP SKIP\n", 10000) + "  STOP\n", 1,
       syntax_error("SKIP", 10001), expected_output(repeated("skip", 10000) + "stop;\n")},
  };
  for (const Hostile& c : cases) {
    SCOPED_TRACE(c.name);
    TranslationRun run = translate(c.source);
    expect_sound_outcome(run);
    EXPECT_EQ(run.status, c.status);
    Lines reports = error_lines(run.debug_log);
    EXPECT_EQ(reports.empty() ? std::string() : reports.back(), c.last_report);
    EXPECT_EQ(run.output, c.output);
  }
}

TEST(HostileSources, EveryErrorOfALongRunIsReportedOnItsOwnLine) {
  TranslationRun run = translate("SEQ\n" + repeated("  SKIP SKIP\n", 10000) + "  STOP\n");
  Lines reports = error_lines(run.debug_log);
  ASSERT_EQ(reports.size(), 10000u);
  for (int k = 0; k < 10000; k += 997) EXPECT_EQ(reports[static_cast<std::size_t>(k)], syntax_error("SKIP", k + 2));
}

// In both modes, with the same trace, report and recovered translation.
TEST(HostileSources, EveryByteFrom128To255IsASyntaxErrorOnItsLine) {
  for (int byte = 128; byte <= 255; ++byte) {
    SCOPED_TRACE(byte);
    const std::string b(1, static_cast<char>(byte));
    const std::string source = "SEQ\n  " + b + "\n  SKIP\n";
    TranslationRun classic = translate(source);
    TranslationRun occam2 = translate_occam2(source);
    expect_sound_outcome(classic);
    expect_sound_occam2_outcome(occam2);
    for (const TranslationRun* run : {&classic, &occam2}) {
      EXPECT_EQ(run->status, 1);
      EXPECT_NE(run->debug_log.find("yylex: token " + std::to_string(byte) + " <" + b + ">\n"), std::string::npos);
      EXPECT_EQ(error_lines(run->debug_log), Lines{syntax_error(b, 2)});
    }
    EXPECT_EQ(classic.output, expected_output("skip;\n"));
    EXPECT_EQ(occam2.output, occam2_output("", ""));
  }
}

TEST(HostileSources, NumbersTooLongForAnyRegister) {
  const std::string digits(230, '9');
  // A decimal number is copied as written, however long.
  TranslationRun assignment = translate("x := " + digits + "\n");
  EXPECT_EQ(assignment.output, expected_output("x = " + digits + ";\n"));
  TranslationRun loop = translate("SEQ i = 0 FOR " + digits + "\n  SKIP\n");
  EXPECT_EQ(loop.output, expected_output("for (i = 0; i < " + digits + "; i = i + 1)\n{\nskip;\n}  /* for */\n"));
  // A replicated PAR cannot unroll it, in decimal or in hexadecimal, as count or as base.
  const std::vector<std::string> replicators = {"i = 0 FOR " + digits, "i = " + digits + " FOR 2",
                                                "i = 0 FOR #123456789", "i = #FFFFFFFFF FOR 2",
                                                "i = - #123456789 FOR 2"};
  for (const std::string& replicator : replicators) {
    SCOPED_TRACE(replicator);
    TranslationRun run = translate("PAR " + replicator + "\n  SKIP\n");
    expect_sound_outcome(run);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, expected_output(banners::text_of(banners::kReplicatedParTooLarge)));
  }
}

// The replicated PAR markers of a construct broken by a syntax error stay in the list as
// leftovers; the next replicated PAR must still unroll its own body and nothing else.
TEST(HostileSources, ABrokenReplicatedParDoesNotDisturbTheNextOne) {
  TranslationRun run = translate("SEQ\n  PAR i = 0 FOR 2 x\n  PAR j = 0 FOR 2\n    SKIP\n");
  expect_sound_outcome(run);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(error_lines(run.debug_log), Lines{syntax_error("x", 2)});
  EXPECT_TRUE(run.program_text().ends_with("j = 0;\npar\n{\nskip;\n}  /* par */\nj = 1;\npar\n{\nskip;\n}  /* par */\n"))
      << run.program_text();
}

// Nested replicated PARs unroll inside out, each with its own index and values.
std::string nested_replicated_pars(int levels, int count) {
  std::string source;
  for (int level = 0; level < levels; ++level) {
    source += std::string(2 * level, ' ') + "PAR i" + std::to_string(level) + " = 0 FOR " + std::to_string(count) + "\n";
  }
  return source + std::string(2 * levels, ' ') + "SKIP\n";
}

std::string unrolled(int level, int levels, int count) {
  if (level == levels) return "skip;\n";
  std::string inner = unrolled(level + 1, levels, count);
  std::string text;
  for (int v = 0; v < count; ++v) {
    text += "i" + std::to_string(level) + " = " + std::to_string(v) + ";\npar\n{\n" + inner + "}  /* par */\n";
  }
  return text;
}

TEST(HostileSources, DeeplyNestedReplicatedPars) {
  for (auto [levels, count] : {std::pair{30, 1}, std::pair{10, 3}}) {
    SCOPED_TRACE(levels);
    TranslationRun run = translate(nested_replicated_pars(levels, count));
    expect_sound_outcome(run);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, expected_output(unrolled(0, levels, count)));
  }
  // Deeper still, the state stack overflows and the translation stops with a report.
  TranslationRun deepest = translate(nested_replicated_pars(60, 1));
  expect_sound_outcome(deepest);
  EXPECT_EQ(deepest.status, 1);
}

// ---------------------------------------------------------------- the occam 2 mode

struct Occam2Hostile {
  const char* name;
  std::string source;
  int status;
  std::string report;                 // a text of one of the error lines ("" when none is expected)
  std::optional<std::string> output;  // the whole output file, where it is known
};

class Occam2HostileSources : public TempDirTest {
 protected:
  Occam2HostileSources() : TempDirTest("occam2-hostile") {}
  std::string path() const { return (dir_ / "main.occ").string(); }
  TranslationRun run(const std::string& source) { return translate_occam2(source, path()); }
  // A banner of the translation, for the source's line `line`.
  std::string banner(const std::string& what, int line) const {
    return "\t#### Error: " + what + " (" + path() + ":" + std::to_string(line) + ") ####\n";
  }
  // A banner at the outermost level, for the source's first line.
  std::string outer_banner(const std::string& what) const { return "#### Error: " + what + " (" + path() + ":1) ####\n\n"; }
};

TEST_F(Occam2HostileSources, EachEndsWithItsStatusAndAReportWhereItStopped) {
  std::filesystem::create_directories(dir_ / "folder");
  const std::string self = "#INCLUDE \"main.occ\"\nSKIP\n";
  write_file(dir_ / "main.occ", self);
  const std::string garbage_lines = garbage(40, 7) + "\n" + garbage(60, 11) + "\n";
  const std::string long_number(1 << 20, '7');
  const std::vector<Occam2Hostile> cases = {
      // A file of no declarations is a program with nothing in main.
      {"empty file", "", 0, "", occam2_output("", "")},
      // Comment lines do not count for layout; they are kept as comments.
      {"only comments", "-- one\n\n   -- two\n", 0, "", occam2_output("// one\n// two\n", "")},
      // No token begins with these bytes: each line is a syntax error.
      {"binary garbage", garbage_lines, 1, "syntax error", std::nullopt},
      {"NUL bytes", std::string("SEQ\n  \0\0\n  SKIP\n", 15), 1, syntax_error(std::string(1, '\0'), 2),
       occam2_output("", "")},
      // The scanner reports the string and closes it at the end of its line; a string is no INT.
      {"an unterminated string", "INT x:\nSEQ\n  x := \"abc\n  SKIP\n", 1, "ERROR <string not closed> near <\"abc> on line 3",
       occam2_output("int 32 x;\n\n", banner("occam table or string used as a value has no Handel-C counterpart", 3))},
      // The quote is reported and passed over; the letter after it is a name, defined nowhere.
      {"an unterminated character literal", "BYTE b:\nSEQ\n  b := 'a\n  SKIP\n", 1,
       "ERROR <malformed character literal> near <'> on line 3",
       occam2_output("unsigned 8 b;\n\n", banner("'a' is not defined", 3))},
      // This mode has no line length limit: a number of a million digits is read whole, and
      // reported as too large for any type.
      {"a line of 1 MB", "INT x:\nSEQ\n  x := " + long_number + "\n  SKIP\n", 1, "does not fit in 64 bits",
       occam2_output("int 32 x;\n\n", banner("a number too large for its type", 3))},
      // A tab moves to column 8, the fifth level; a carriage return is white space.
      {"tabs and CR LF", "SEQ\r\n  SEQ\r\n    SEQ\r\n      SEQ\r\n\tSKIP\r\n", 0, "", occam2_output("", "")},
      // The expression is cut by the end of the input: its line is a syntax error, skipped (a report
      // near an end of line names the line after it, as in the default mode).
      {"a line continued at the end of the file", "INT x:\nx := 1 +\n", 1, "near <\n> on line 3",
       occam2_output("int 32 x;\n\n", "")},
      // Only regular files are read, and a file already open is not opened again: each is an error
      // on the directive's line and the translation goes on after it.
      // Each stands in the translation as a banner saying why.
      {"#INCLUDE of a folder", "#INCLUDE \"folder\"\nSKIP\n", 1, "folder",
       occam2_output(outer_banner("cannot include \"folder\": " + (dir_ / "folder").string() + " is not a regular file"), "")},
      {"#INCLUDE of /dev/zero", "#INCLUDE \"/dev/zero\"\nSKIP\n", 1, "/dev/zero",
       occam2_output(outer_banner("cannot include \"/dev/zero\": /dev/zero is not a regular file"), "")},
      {"#INCLUDE of itself", self, 1, "include loop", occam2_output(outer_banner("include loop: " + path() + " includes itself"), "")},
      // A file found nowhere is an error, not a warning; a name cut short by a NUL byte opens nothing.
      {"#INCLUDE of a missing file", "#INCLUDE \"nope.inc\"\nSKIP\n", 1,
       "ERROR <cannot find include file \"nope.inc\"> near <#INCLUDE> on line 1",
       occam2_output(outer_banner("cannot find include file \"nope.inc\""), "")},
      {"#INCLUDE of a name with a NUL byte", "#INCLUDE \"main.occ*#00.inc\"\nSKIP\n", 1,
       "ERROR <the include file name \"main.occ\\x00.inc\" holds a control character>",
       occam2_output(outer_banner("the include file name \"main.occ\\x00.inc\" holds a control character"), "")},
      // Two thousand million copies are one replicator, which the Handel-C compiler unrolls.
      {"PAR i = 0 FOR 2000000000", "CHAN INT c:\nPAR i = 0 FOR 2000000000\n  c ! i\n", 0, "",
       occam2_output("chan int 32 c;\n\n",
                     "\t{\n\t\tunsigned 31 i;\n\n\t\tpar (i = 0; i < 2000000000; i++)\n\t\t{\n"
                     "\t\t\tc ! (int 32)adju(i, 32);\n\t\t}\n\t}\n")},
      // The open #IF is reported at the end of its file; the lines it selected stay.
      {"#IF without #ENDIF", "#IF TRUE\nSKIP\n", 1, "ERROR <#IF without #ENDIF> near <#IF> on line 1",
       occam2_output("", "")},
      // Without its ':' the definition never ends: nothing can follow the end of the input.
      {"a PROC without its closing colon", "PROC p (CHAN INT c!)\n  c ! 1\n", 1, syntax_error("", 3), kHeaders},
  };
  for (const Occam2Hostile& c : cases) {
    SCOPED_TRACE(c.name);
    TranslationRun result = run(c.source);
    expect_sound_occam2_outcome(result);
    EXPECT_EQ(result.status, c.status);
    if (!c.report.empty()) {
      Lines reports = error_lines(result.debug_log);
      EXPECT_TRUE(std::any_of(reports.begin(), reports.end(),
                              [&](const std::string& report) { return report.find(c.report) != std::string::npos; }))
          << result.debug_log;
    }
    if (c.output) {
      EXPECT_EQ(result.output, *c.output);
    }
  }
}

// The texts of #WARNING and #ERROR reach the terminal: their control bytes are shown, not obeyed.
TEST_F(Occam2HostileSources, ControlBytesInMessagesAreWrittenEscaped) {
  TranslationRun result = translate_occam2("#WARNING \x1b[2J cleared\n#ERROR \a*#07\nSKIP\n", (dir_ / "main.occ").string(), {}, true);
  EXPECT_EQ(result.status, 0);
  EXPECT_NE(result.diagnostics.find("warning: directive #WARNING skipped: \\x1b[2J cleared\n"), std::string::npos)
      << result.diagnostics;
  EXPECT_NE(result.diagnostics.find("warning: directive #ERROR skipped: \\x07*#07\n"), std::string::npos);
  for (char c : result.diagnostics) EXPECT_TRUE(c == '\n' || static_cast<unsigned char>(c) >= 0x20) << int(c);
}

// The source (100 MB of indentation) is made once, outside any table of cases. The parse stack
// fills at the 66th level: the parse is abandoned at the end of line 67, with a report that (near
// an end of line) names the line after it, and the rest is never read.
TEST_F(Occam2HostileSources, TenThousandNestedSeqsOverflowTheParseStack) {
  TranslationRun result = run(nested_seqs(10000));
  expect_sound_occam2_outcome(result);
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(error_lines(result.debug_log), Lines{"ERROR <pcyacc internal stack overflow> near <\n> on line 68\n"});
  EXPECT_EQ(result.output, kHeaders);
}

// Subscripts of subscripts do not nest on the parse stack: past a limit they are an error on
// their line, and the tree the later passes walk stays shallow.
TEST_F(Occam2HostileSources, AThousandSubscriptsInOneElementAreRefused) {
  std::string element = "a";
  for (int i = 0; i < 1000; ++i) element += "[0]";
  TranslationRun result = run("[2]INT a:\nINT x:\nx := " + element + "\n");
  expect_sound_occam2_outcome(result);
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.debug_log.find("more than 256 subscripts in one element"), std::string::npos);
}

}  // namespace
}  // namespace vrk::testing
