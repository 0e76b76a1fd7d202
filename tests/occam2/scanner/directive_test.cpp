// The occam 2 scanner's directives: #INCLUDE in place at its column, the lookup order, missing
// and unusable files, loops and files that are no source; conditional compilation; skipped
// directives.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "occam2/scanner/tokens.h"
#include "tests/common/files.h"
#include "tests/occam2/scanner/token_stream.h"

namespace vrk::testing {
namespace {

using namespace occam2::token;
using Codes = std::vector<int>;

std::vector<std::string> name_lexemes(const Occam2Scan& r) {
  std::vector<std::string> names;
  for (const Occam2Token& t : r.tokens) {
    if (t.code == NAME) names.push_back(t.lexeme);
  }
  return names;
}

class Occam2Includes : public TempDirTest {
 protected:
  Occam2Includes() : TempDirTest("occam2-include") {}
  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  Occam2Scan scan_main(const std::string& text, std::vector<std::string> include_dirs = {}) {
    write_file(dir_ / "main.occ", text);
    return scan_occam2_file({true, path("main.occ"), std::move(include_dirs)});
  }
};

TEST_F(Occam2Includes, IncludedLinesStandAtTheDirectiveColumnAndNameTheirFile) {
  write_file(dir_ / "part.inc", "x := 1\nIF\n  TRUE\n    SKIP\n");
  Occam2Scan r = scan_main("PROC p ()\n  SEQ\n    #INCLUDE \"part.inc\" -- here\n    y := 2\n:\n");
  EXPECT_EQ(r.codes(), (Codes{PROC, NAME, '(', ')', EOL, INDENT, SEQ, EOL, INDENT, NAME, ASSIGN, NUMBER, EOL, IF,
                              EOL, INDENT, BOOLEAN, EOL, INDENT, SKIP, EOL, OUTDENT, OUTDENT, NAME, ASSIGN, NUMBER,
                              EOL, OUTDENT, OUTDENT, ':', EOL, 0}));
  EXPECT_EQ(r.errors, 0) << r.diagnostics;
  const Occam2Token& x = r.tokens[9];
  EXPECT_EQ(x.file, path("part.inc"));
  EXPECT_EQ(x.file_id, 1);
  EXPECT_EQ((std::vector<int>{x.line, x.column}), (std::vector<int>{1, 1}));
  const Occam2Token& y = r.tokens[23];
  EXPECT_EQ(y.file, path("main.occ"));
  EXPECT_EQ(y.file_id, 0);
  EXPECT_EQ((std::vector<int>{y.line, y.column}), (std::vector<int>{4, 5}));
}

TEST_F(Occam2Includes, ErrorsInAnIncludedFileNameThatFileAndItsLines) {
  write_file(dir_ / "sub" / "part.inc", "SEQ\n   x\n");
  Occam2Scan r = scan_main("SEQ\n  #INCLUDE \"sub/part.inc\"\n   z\n");
  EXPECT_EQ(r.diagnostics, path("sub/part.inc") + ":2:4: error: bad indentation\n" + path("main.occ") +
                               ":3:4: error: bad indentation\n");
  EXPECT_EQ(r.errors, 2);
}

TEST_F(Occam2Includes, FilesAreLookedUpBesideTheIncludingFileThenInEachDirectoryInOrder) {
  write_file(dir_ / "src" / "main.occ", "#INCLUDE \"a.inc\"\n#INCLUDE \"b.inc\"\n#INCLUDE \"c.inc\"\n");
  write_file(dir_ / "src" / "a.inc", "beside\n");
  write_file(dir_ / "one" / "a.inc", "one.a\n");
  write_file(dir_ / "one" / "b.inc", "#INCLUDE \"c.inc\"\n");  // beside b.inc: not in one/
  write_file(dir_ / "two" / "b.inc", "two.b\n");
  write_file(dir_ / "two" / "c.inc", "two.c\n");
  Occam2Scan r = scan_occam2_file({true, path("src/main.occ"), {path("one"), path("two")}});
  EXPECT_EQ(name_lexemes(r), (std::vector<std::string>{"beside", "two.c", "two.c"}));
  EXPECT_EQ(r.errors, 0) << r.diagnostics;
}

// The directive's line becomes a line of its own saying why, at the directive's column, so that
// the parser can keep its place.
TEST_F(Occam2Includes, AMissingFileIsAnErrorAndScanningGoesOn) {
  std::string source = "SEQ\n  #INCLUDE \"nope.inc\"\n  SKIP\n";
  Occam2Scan r = scan_main(source);
  EXPECT_EQ(r.codes(), (Codes{SEQ, EOL, INDENT, MISSING_INCLUDE, EOL, SKIP, EOL, OUTDENT, 0}));
  EXPECT_EQ(r.tokens[3].lexeme, "cannot find include file \"nope.inc\"");
  EXPECT_EQ(r.tokens[3].line, 2);
  EXPECT_EQ(r.tokens[3].column, 3);
  EXPECT_EQ(r.diagnostics, path("main.occ") + ":2:3: error: cannot find include file \"nope.inc\"\n");
  EXPECT_EQ(r.errors, 1);
  write_file(dir_ / "main.occ", source);
  Occam2ScanSettings classic;
  classic.source_path = path("main.occ");
  EXPECT_NE(scan_occam2_file(classic).diagnostics.find("ERROR <cannot find include file \"nope.inc\"> near <#INCLUDE> on line 2\n"),
            std::string::npos);
}

// A candidate that is there but cannot be read is reported with its path and the reason, and
// ends the lookup: a later folder's file of the same name is not taken in its place.
TEST_F(Occam2Includes, ACandidateThatCannotBeUsedIsAnErrorNamingItAndWhy) {
  std::filesystem::create_symlink("loop.inc", dir_ / "loop.inc");
  std::filesystem::create_symlink("gone.inc", dir_ / "dangling.inc");
  for (const char* name : {"loop.inc", "dangling.inc"}) write_file(dir_ / "later" / name, "later\n");
  Occam2Scan r = scan_main("#INCLUDE \"loop.inc\"\n#INCLUDE \"dangling.inc\"\nSKIP\n", {path("later")});
  EXPECT_EQ(r.codes(), (Codes{MISSING_INCLUDE, EOL, MISSING_INCLUDE, EOL, SKIP, EOL, 0}));
  EXPECT_EQ(r.errors, 2);
  EXPECT_EQ(r.diagnostics, path("main.occ") + ":1:1: error: cannot include \"loop.inc\": " + path("loop.inc") +
                               ": Too many levels of symbolic links\n" + path("main.occ") +
                               ":2:1: error: cannot include \"dangling.inc\": " + path("dangling.inc") +
                               " is a symbolic link to a missing file\n");
}

// "a*#00.inc" stands for a name with a NUL byte in it, which no file can have: it must not open
// the file "a". Control bytes in the report are shown escaped.
TEST_F(Occam2Includes, ANameWithAControlByteIsAnErrorShownEscaped) {
  write_file(dir_ / "a", "a\n");
  Occam2Scan r = scan_main("#INCLUDE \"a*#00.inc\"\n#INCLUDE \"*#1B[2Jx.inc\"\nSKIP\n");
  EXPECT_EQ(r.codes(), (Codes{MISSING_INCLUDE, EOL, MISSING_INCLUDE, EOL, SKIP, EOL, 0}));
  EXPECT_EQ(r.tokens[2].lexeme, "the include file name \"\\x1b[2Jx.inc\" holds a control character");
  EXPECT_EQ(r.errors, 2);
  EXPECT_EQ(r.diagnostics, path("main.occ") + ":1:1: error: the include file name \"a\\x00.inc\" holds a control character\n" +
                               path("main.occ") + ":2:1: error: the include file name \"\\x1b[2Jx.inc\" holds a control character\n");
}

TEST_F(Occam2Includes, AnIncludeLoopIsAnErrorNamingTheChainAndIsSkipped) {
  write_file(dir_ / "a.inc", "a\n#INCLUDE \"b.inc\"\n");
  write_file(dir_ / "b.inc", "b\n#INCLUDE \"a.inc\"\n");
  Occam2Scan r = scan_main("#INCLUDE \"a.inc\"\n#INCLUDE \"main.occ\"\nend\n");
  EXPECT_EQ(name_lexemes(r), (std::vector<std::string>{"a", "b", "end"}));
  EXPECT_EQ(r.errors, 2);
  EXPECT_EQ(r.diagnostics, path("b.inc") + ":2:1: error: include loop: " + path("a.inc") + " includes itself through " +
                               path("b.inc") + "\n" + path("main.occ") + ":2:1: error: include loop: " +
                               path("main.occ") + " includes itself\n");
}

TEST_F(Occam2Includes, FoldersAndDevicesAreRefusedNotRead) {
  std::filesystem::create_directories(dir_ / "folder");
  Occam2Scan r = scan_main("#INCLUDE \"folder\"\n#INCLUDE \"/dev/zero\"\n#INCLUDE nope\nSKIP\n");
  EXPECT_EQ(r.codes(), (Codes{MISSING_INCLUDE, EOL, MISSING_INCLUDE, EOL, MISSING_INCLUDE, EOL, SKIP, EOL, 0}));
  EXPECT_EQ(r.errors, 3);
  EXPECT_NE(r.diagnostics.find(":1:1: error: cannot include \"folder\": " + path("folder") + " is not a regular file"),
            std::string::npos);
  EXPECT_NE(r.diagnostics.find(":3:1: error: #INCLUDE needs one file name in quotes"), std::string::npos);
}

// Every byte read counts, from the source and from each file it includes however often: the scan
// stops as soon as the total passes the limit, with a report that names it.
TEST_F(Occam2Includes, TheSourceWithItsIncludesStopsAtTheInputLimit) {
  write_file(dir_ / "part.inc", "x := 1\n" + std::string(993, ' ') + "\n");  // 1,001 bytes
  std::string main = "SEQ\n";
  for (int i = 0; i < 10; ++i) main += "  #INCLUDE \"part.inc\"\n";
  write_file(dir_ / "main.occ", main);
  const std::uint64_t whole = main.size() + 10 * 1001;
  Occam2ScanSettings settings{true, path("main.occ"), {}, whole};
  Occam2Scan fits = scan_occam2_file(settings);
  EXPECT_EQ(fits.stop_status, ExitStatus::success) << fits.diagnostics;
  EXPECT_EQ(fits.errors, 0);
  settings.max_input = whole - 1;
  Occam2Scan over = scan_occam2_file(settings);
  EXPECT_EQ(over.stop_status, ExitStatus::unusable_input);
  EXPECT_EQ(over.diagnostics, path("part.inc") + ":2: error: the source with its included files is larger than " +
                                  std::to_string(whole - 1) + " bytes (raise the limit with --max-input)\n");
  EXPECT_EQ(over.tokens.back().code, 0);
  settings.max_input = std::uint64_t{1} << 20;
  write_file(dir_ / "main.occ", std::string(1 << 20, '\n') + "\n");
  EXPECT_NE(scan_occam2_file(settings).diagnostics.find("main.occ:1048577: error: the source with its included files is "
                                                        "larger than 1 MiB"),
            std::string::npos);
}

TEST_F(Occam2Includes, NestingDeeperThanTheLimitIsAnError) {
  // Each level includes the next; the chain is longer than the limit.
  for (int i = 0; i < 70; ++i) {
    write_file(dir_ / ("n" + std::to_string(i) + ".inc"), "#INCLUDE \"n" + std::to_string(i + 1) + ".inc\"\n");
  }
  Occam2Scan r = scan_main("#INCLUDE \"n0.inc\"\nSKIP\n");
  EXPECT_EQ(r.codes(), (Codes{MISSING_INCLUDE, EOL, SKIP, EOL, 0}));
  EXPECT_EQ(r.errors, 1);
  EXPECT_NE(r.diagnostics.find("error: includes nested more than 64 deep: \"n64.inc\""), std::string::npos) << r.diagnostics;
}

TEST_F(Occam2Includes, EachFileClosesItsOwnConditions) {
  write_file(dir_ / "open.inc", "#IF TRUE\nx\n");
  write_file(dir_ / "close.inc", "y\n#ENDIF\n");
  Occam2Scan r = scan_main("#IF TRUE\n#INCLUDE \"open.inc\"\n#INCLUDE \"close.inc\"\n#ENDIF\n#ENDIF\nz\n");
  EXPECT_EQ(name_lexemes(r), (std::vector<std::string>{"x", "y", "z"}));
  EXPECT_EQ(r.diagnostics, path("open.inc") + ":1:1: error: #IF without #ENDIF\n" + path("close.inc") +
                               ":2:1: error: #ENDIF without #IF\n" + path("main.occ") + ":5:1: error: #ENDIF without #IF\n");
}

TEST(Occam2Conditions, OnlyTheLinesOfTheChosenBranchesAreScanned) {
  Occam2Scan r = scan_occam2(
      "#DEFINE FAST\n"
      "#IF DEFINED (FAST) AND (TARGET.BITS.PER.WORD = 32)\na\n#ELIF TRUE\nb\n#ELSE\nc\n#ENDIF\n"
      "#IF NOT DEFINED (SLOW)\n  #IF FALSE\nd\n  #ELSE\ne\n  #ENDIF\n#ENDIF\n"
      "#DEFINE N #10\n#IF (N >= 16) AND (N <> 17)\nf\n#ENDIF\n"
      "#UNDEF FAST\n#IF DEFINED (FAST)\ng\n#ELIF TARGET.BIGENDIAN\nh\n#ELIF (-1) < 0\ni\n#ELSE\nj\n#ENDIF\n");
  EXPECT_EQ(name_lexemes(r), (std::vector<std::string>{"a", "e", "f", "i"}));
  EXPECT_EQ(r.errors, 0) << r.diagnostics;
}

TEST(Occam2Conditions, SkippedLinesAreNotScannedAtAll) {
  Occam2Scan r = scan_occam2("#IF FALSE\n   'oops\n #INCLUDE \"nope\"\n#PRAGMA X\n#ENDIF\nSKIP\n");
  EXPECT_EQ(r.codes(), (Codes{SKIP, EOL, 0}));
  EXPECT_EQ(r.diagnostics.find("ERROR"), std::string::npos) << r.diagnostics;
  EXPECT_EQ(r.errors, 0);
}

TEST(Occam2Conditions, UnbalancedOrUnreadableConditionsAreErrors) {
  struct Case {
    std::string source;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"#ENDIF\n", "main.occ:1:1: error: #ENDIF without #IF\n"},
      {"#ELSE\n", "main.occ:1:1: error: #ELSE without #IF\n"},
      {"SKIP\n  #IF TRUE\nx\n", "main.occ:2:3: error: #IF without #ENDIF\n"},
      {"#IF TRUE\n#ELSE\n#ELSE\n#ENDIF\n", "main.occ:3:1: error: #ELSE after #ELSE\n"},
      {"#IF 3\n#ENDIF\n", "main.occ:1:1: error: cannot evaluate the condition: the condition is not TRUE or FALSE\n"},
      {"#IF 1 = TRUE\n#ENDIF\n", "main.occ:1:1: error: cannot evaluate the condition: '=' compares values of different kinds\n"},
      {"#IF TRUE AND 1\n#ENDIF\n", "main.occ:1:1: error: cannot evaluate the condition: AND needs TRUE or FALSE on both sides\n"},
      {"#IF " + std::string(5000, '(') + "\n#ENDIF\n", "main.occ:1:1: error: cannot evaluate the condition: the condition is nested too deeply\n"},
      {"#DEFINE\n", "main.occ:1:1: error: #DEFINE needs a name\n"},
      {"#DEFINE X Y\n", "main.occ:1:1: error: #DEFINE X needs an integer, TRUE, FALSE or a string as its value\n"},
  };
  for (const Case& c : cases) {
    Occam2Scan r = scan_occam2(c.source, quiet_style());
    EXPECT_EQ(r.diagnostics, c.message) << c.source;
    EXPECT_EQ(r.errors, 1) << c.source;
    EXPECT_EQ(r.tokens.back().code, 0);
  }
}

TEST(Occam2Directives, OtherDirectivesAreSkippedWithAWarning) {
  Occam2Scan r = scan_occam2(
      "#USE \"course.lib\"\n  #PRAGMA SHARED x\n#WARNING check this\n#ERROR stop\n#RELAX\n#FROB\nSKIP\n", quiet_style());
  EXPECT_EQ(r.codes(), (Codes{SKIP, EOL, 0}));
  EXPECT_EQ(r.errors, 0);
  EXPECT_EQ(r.diagnostics,
            "main.occ:1:1: warning: directive #USE skipped\n"
            "main.occ:2:3: warning: directive #PRAGMA skipped\n"
            "main.occ:3:1: warning: directive #WARNING skipped: check this\n"
            "main.occ:4:1: warning: directive #ERROR skipped: stop\n"
            "main.occ:5:1: warning: directive #RELAX skipped\n"
            "main.occ:6:1: warning: directive #FROB skipped\n");
}

}  // namespace
}  // namespace vrk::testing
