// Token recognition and the Handel-C texts the scanner leaves for the translation actions.
//
// Where a token must leave one of the two text buffers alone, the line starts with the name q, so
// that both buffers hold "q" before the token under test.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "output/banners.h"
#include "tests/scanner/token_stream.h"

namespace vrk::testing {
namespace {

using namespace code;

const std::string kOverflowBanner(banners::text_of(banners::kHexOverflow));
const std::string kNowBanner(banners::text_of(banners::kNow));
const std::string kAndOrBanner(banners::text_of(banners::kLogicalOperator));

TEST(ScannerTokens, EveryKeywordHasItsCode) {
  ScanResult r = scan(
      "AFTER ALT AND ANY BYTEA CHAN OF DEF FALSE FOR IF NOT NOW OR PAR PROC SEQ SKIP STOP TABLE VALUE INT BOOL "
      "BYTE REAL32 REAL64 WAIT WHILE CASE ELSE\n");
  const std::vector<int> expected = {kRelationalOp, kAlt,  kLogicalOp, kAny,  kBytea,  kChan,   kOf,   kDef,
                                     kBoolean,      kFor,  kIf,        kNot,  kNow,    kLogicalOp, kPar, kProc,
                                     kSeq,          kSkip, kStop,      kTable, kValue, kInt,   kBool, kByte,
                                     kReal32,       kReal64, kWait,    kWhile, kCase,  kElse,  kEol,  kEnd};
  EXPECT_EQ(r.codes(), expected);
}

TEST(ScannerTokens, WordsThatAreNames) {
  // TRUE's keyword entry never matches; keywords are case-sensitive and matched over their whole
  // length; dots and digits belong to a name.
  for (const char* word : {"TRUE", "seq", "Skip", "INT16", "INT32", "BYTEAS", "SKIPS", "a.b.c", "x1.2", "TRUEX"}) {
    ScanResult r = scan(std::string(word) + "\n");
    EXPECT_EQ(r.codes(), (std::vector<int>{kName, kEol, kEnd})) << word;
    EXPECT_EQ(r.at(0).lexeme, word);
    EXPECT_EQ(r.at(0).current_text, word);
    EXPECT_EQ(r.at(0).operator_text, word);
  }
}

TEST(ScannerTokens, FalseSetsOnlyTheCurrentTokenText) {
  ScanResult r = scan("q FALSE\n");
  EXPECT_EQ(r.at(1).code, kBoolean);
  EXPECT_EQ(r.at(1).current_text, "FALSE");
  EXPECT_EQ(r.at(1).operator_text, "q");
}

TEST(ScannerTokens, DecimalNumbersStopAtTheFirstNonDigit) {
  ScanResult r = scan("q 1.5 12AB 007\n");
  EXPECT_EQ(r.codes(), (std::vector<int>{kName, kNumber, '.', kNumber, kNumber, kName, kNumber, kEol, kEnd}));
  EXPECT_EQ(r.at(1).current_text, "1");
  EXPECT_EQ(r.at(1).operator_text, "q");
  EXPECT_EQ(r.at(3).current_text, "5");
  EXPECT_EQ(r.at(4).current_text, "12");
  EXPECT_EQ(r.at(5).current_text, "AB");
  EXPECT_EQ(r.at(6).current_text, "007");
}

TEST(ScannerTokens, HexadecimalNumbers) {
  struct Case {
    std::string source;
    std::vector<int> codes;
    std::string lexeme, text;  // of the first token
  };
  const std::vector<Case> cases = {
      {"#FF", {kNumber, kEol, kEnd}, "#FF", "0xFF"},
      {"#ff", {kNumber, kEol, kEnd}, "#ff", "0xff"},
      {"#00000000", {kNumber, kEol, kEnd}, "#00000000", "0x00000000"},
      {"#123456789", {kNumber, kEol, kEnd}, "#123456789", kOverflowBanner},
      {"#1234567890", {kNumber, kNumber, kEol, kEnd}, "#123456789", kOverflowBanner},
      {"#abcdef12G", {kNumber, kName, kEol, kEnd}, "#abcdef12", "0xabcdef12"},
      {"#G", {'#', kName, kEol, kEnd}, "#", ""},
      {"# 1", {'#', kNumber, kEol, kEnd}, "#", ""},
  };
  for (const Case& c : cases) {
    ScanResult r = scan(c.source + "\n");
    EXPECT_EQ(r.codes(), c.codes) << c.source;
    EXPECT_EQ(r.at(0).lexeme, c.lexeme) << c.source;
    if (!c.text.empty()) {
      EXPECT_EQ(r.at(0).current_text, c.text) << c.source;
    }
  }
  // The digit left over after nine is a number of its own.
  ScanResult rest = scan("#1234567890\n");
  EXPECT_EQ(rest.at(1).lexeme, "0");
  EXPECT_EQ(rest.at(1).current_text, "0");
}

TEST(ScannerTokens, OperatorsLeaveTheirHandelCTextInTheRightBuffer) {
  struct Case {
    const char* source;
    int code;
    const char* lexeme;
    std::string current, op;  // expected buffers; "q" means left alone
  };
  const std::vector<Case> cases = {
      {"<", kRelationalOp, "<", " < ", "q"},       {"<=", kRelationalOp, "<=", " <= ", "q"},
      {"<>", kRelationalOp, "<>", " != ", "q"},    {">", kRelationalOp, ">", " > ", "q"},
      {">=", kRelationalOp, ">=", " >= ", "q"},    {"AFTER", kRelationalOp, "AFTER", "q", "q"},
      {"<<", kShiftOp, "<<", " << ", "q"},         {">>", kShiftOp, ">>", " >> ", "q"},
      {"><", kBitOp, "><", "q", "^"},              {"/\\", kBitOp, "/\\", "q", "&"},
      {"\\/", kBitOp, "\\/", "q", "|"},            {"+", '+', "+", "q", "+"},
      {"*", '*', "*", "q", "*"},                   {"-", '-', "-", "q", "-"},
      {"/", '/', "/", "q", "div"},                 {"\\", '\\', "\\", "q", "mod"},
      {"=", '=', "=", "q", "q"},                   {":", ':', ":", "q", "q"},
      {"NOT", kNot, "NOT", "q", "~"},              {"AND", kLogicalOp, "AND", "q", kAndOrBanner},
      {"OR", kLogicalOp, "OR", "q", kAndOrBanner}, {"NOW", kNow, "NOW", kNowBanner, "q"},
  };
  for (const Case& c : cases) {
    ScanResult r = scan(std::string("q ") + c.source + " 1\n");
    ASSERT_EQ(r.codes(), (std::vector<int>{kName, c.code, kNumber, kEol, kEnd})) << c.source;
    EXPECT_EQ(r.at(1).lexeme, c.lexeme) << c.source;
    EXPECT_EQ(r.at(1).current_text, c.current) << c.source;
    EXPECT_EQ(r.at(1).operator_text, c.op) << c.source;
  }
}

TEST(ScannerTokens, OperatorsNeedNoBlanks) {
  for (const char* source : {"x<y\n", "x < y\n"}) {
    ScanResult r = scan(source);
    EXPECT_EQ(r.codes(), (std::vector<int>{kName, kRelationalOp, kName, kEol, kEnd})) << source;
    EXPECT_EQ(r.at(1).current_text, " < ") << source;
  }
  EXPECT_EQ(scan("a<<=b\n").codes(), (std::vector<int>{kName, kShiftOp, '=', kName, kEol, kEnd}));
  EXPECT_EQ(scan("a>>b\n").codes(), (std::vector<int>{kName, kShiftOp, kName, kEol, kEnd}));
}

TEST(ScannerTokens, CommaBeforeATypeWord) {
  struct Case {
    const char* source;
    std::vector<int> codes;
  };
  const std::vector<Case> cases = {
      {",  INTERVAL", {kTypeComma, kName, kEol, kEnd}},  // a longer word that starts with INT
      {",INT", {kTypeComma, kInt, kEol, kEnd}},
      {", OFFSET", {kTypeComma, kName, kEol, kEnd}},
      {", CHAN", {kTypeComma, kChan, kEol, kEnd}},
      {", VALUE", {kTypeComma, kValue, kEol, kEnd}},
      {", x", {',', kName, kEol, kEnd}},
      {", Int", {',', kName, kEol, kEnd}},
      {",", {',', kEol, kEnd}},
  };
  for (const Case& c : cases) {
    ScanResult r = scan(std::string(c.source) + "\n");
    EXPECT_EQ(r.codes(), c.codes) << c.source;
    EXPECT_EQ(r.at(0).lexeme, ",") << c.source;
  }
}

TEST(ScannerTokens, TrailingCommentEndsTheLine) {
  ScanResult r = scan("x := 1 -- set x\nSKIP\n");
  EXPECT_EQ(r.codes(), (std::vector<int>{kName, ':', '=', kNumber, kEol, kSkip, kEol, kEnd}));
  EXPECT_EQ(r.at(4).lexeme, "-- set x\n");
  EXPECT_EQ(r.at(3).line, 1);
  EXPECT_EQ(r.at(4).line, 2);
  EXPECT_EQ(r.at(6).line, 3);
  EXPECT_TRUE(r.fragments.empty());  // a trailing comment is not copied

  EXPECT_EQ(scan("x--y\n").codes(), (std::vector<int>{kName, kEol, kEnd}));
  EXPECT_EQ(scan("x - -y\n").codes(), (std::vector<int>{kName, '-', '-', kName, kEol, kEnd}));
}

TEST(ScannerTokens, StringConstants) {
  ScanResult r = scan("q \"a b*n\" x\n");
  EXPECT_EQ(r.codes(), (std::vector<int>{kName, kString, kName, kEol, kEnd}));
  EXPECT_EQ(r.at(1).lexeme, "\"a b*n\"");
  EXPECT_EQ(r.at(1).current_text, "\"a b*n\"");
  EXPECT_EQ(r.at(1).operator_text, "q");

  EXPECT_EQ(scan("\"\"\n").at(0).current_text, "\"\"");
  EXPECT_EQ(scan("\"a--b\"\n").codes(), (std::vector<int>{kString, kEol, kEnd}));  // no comment inside
  // An unclosed quote is just the character; scanning resumes right after it.
  EXPECT_EQ(scan("\"ab\n").codes(), (std::vector<int>{'"', kName, kEol, kEnd}));
  EXPECT_EQ(scan("\"a\" \"b\n").codes(), (std::vector<int>{kString, '"', kName, kEol, kEnd}));
}

TEST(ScannerTokens, NotLeavesTheCurrentTokenText) {
  ScanResult r = scan("x := NOT y\n");
  EXPECT_EQ(r.at(3).code, kNot);
  EXPECT_EQ(r.at(3).current_text, "x");
  EXPECT_EQ(r.at(3).operator_text, "~");
}

TEST(ScannerTokens, CharacterConstants) {
  struct Case {
    const char* source;
    std::string op;
    const char* lexeme;
  };
  const std::vector<Case> cases = {
      {"'a'", "'a'", "'a'"},          {"' '", "' '", "' '"},
      {"'*n'", "'\\n'", "'*n'"},      {"'*''", "'\\''", "'*''"},
      {"'*#4F'", "0x4F", "'*#4F'"},   {"'*#0a'", "0x0a", "'*#0a'"},
  };
  for (const Case& c : cases) {
    ScanResult r = scan(std::string("q ") + c.source + "\n");
    ASSERT_EQ(r.codes(), (std::vector<int>{kName, kCharacter, kEol, kEnd})) << c.source;
    EXPECT_EQ(r.at(1).operator_text, c.op) << c.source;
    EXPECT_EQ(r.at(1).lexeme, c.lexeme) << c.source;
    EXPECT_EQ(r.at(1).current_text, "q") << c.source;
  }
}

TEST(ScannerTokens, MalformedCharacterConstantsDegradeToAQuote) {
  struct Case {
    const char* source;
    std::vector<int> codes;
  };
  const std::vector<Case> cases = {
      {"'ab'", {'\'', kName, '\'', kEol, kEnd}},
      {"'a", {'\'', kName, kEol, kEnd}},
      {"''", {'\'', '\'', kEol, kEnd}},
      {"'*#4'", {'\'', '*', kNumber, '\'', kEol, kEnd}},
      {"'*#4G'", {'\'', '*', kNumber, kName, '\'', kEol, kEnd}},
      {"'*ab'", {'\'', '*', kName, '\'', kEol, kEnd}},
  };
  for (const Case& c : cases) {
    ScanResult r = scan(std::string(c.source) + "\n");
    EXPECT_EQ(r.codes(), c.codes) << c.source;
    EXPECT_EQ(r.at(0).lexeme, "'") << c.source;
  }
}

TEST(ScannerTokens, OtherBytesAreSingleCharacterTokens) {
  ScanResult r = scan(std::string("a\tb_c\xC8" "d!?\n", 9));
  EXPECT_EQ(r.codes(), (std::vector<int>{kName, '\t', kName, '_', kName, 200, kName, '!', '?', kEol, kEnd}));
  EXPECT_EQ(r.at(5).lexeme, "\xC8");
}

TEST(ScannerTokens, NulByteIsATokenNotTheEndOfInput) {
  ScanResult r = scan(std::string("a\0b\n\0\nSKIP\n", 11));
  EXPECT_EQ(r.codes(), (std::vector<int>{kName, kNulByte, kName, kEol, kNulByte, kEol, kSkip, kEol, kEnd}));
  EXPECT_EQ(r.at(2).lexeme, "b");
  EXPECT_EQ(r.at(6).line, 3);
}

// The replicator actions tell a literal too wide for 32 bits by this fact, not by its banner text.
TEST(ScannerTokens, OnlyAHexNumberBeyondEightDigitsOverflows) {
  ScanResult r = scan("x := #123456789 + #12345678 + 123456789012\n  SKIP\n");
  std::vector<bool> overflowed;
  for (const ScannedToken& token : r.tokens) overflowed.push_back(token.number_overflowed);
  //                            x      :      =      #1..9  +      #1..8  +      decimal EOL    INDENT SKIP ...
  std::vector<bool> expected = {false, false, false, true, false, false, false, false, false, false, false};
  overflowed.resize(expected.size());
  EXPECT_EQ(overflowed, expected);
  EXPECT_EQ(r.at(3).current_text, kOverflowBanner);
}

}  // namespace
}  // namespace vrk::testing
