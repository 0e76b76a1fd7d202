// Runs the scanner alone over an in-memory source and records what it delivers.
//
// Each call of `yylex` is captured with the three text buffers as they stand when it returns, and
// the line number the scanner has reached, so tests can compare whole token streams. The Fragment
// list, the debug log and standard error are memory sinks owned by the run.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vrk::testing {

// Token codes as the parse engine knows them; written out here so that a wrong entry in the
// scanner's own code list shows up as a failure.
namespace code {
inline constexpr int kEnd = 0;
inline constexpr int kInt = 257, kChan = 258, kAny = 259, kWait = 260, kSkip = 261, kName = 262;
inline constexpr int kEol = 263, kValue = 264, kBytea = 265, kDef = 266, kProc = 267, kNot = 268;
inline constexpr int kNumber = 269, kBoolean = 270, kNow = 271, kTable = 272, kLogicalOp = 273;
inline constexpr int kShiftOp = 274, kRelationalOp = 275, kCharacter = 276, kString = 277;
inline constexpr int kBitOp = 278, kSeq = 279, kAlt = 280, kIf = 281, kPar = 282, kWhile = 283;
inline constexpr int kFor = 284, kIndent = 285, kOutdent = 286, kTypeComma = 287, kBool = 288;
inline constexpr int kByte = 289, kReal32 = 290, kReal64 = 291, kStop = 292, kOf = 294;
inline constexpr int kCase = 299, kElse = 300, kNulByte = 301;
}  // namespace code

struct ScannedToken {
  int code = 0;
  std::string lexeme;
  std::string current_text;
  std::string operator_text;
  int line = 0;  // the scanner's line number once the token was delivered
  int token_line = 0, token_column = 0;  // where the scanner says the token stands
};

struct ScanResult {
  std::vector<ScannedToken> tokens;     // up to and including the first 0
  std::vector<std::string> fragments;   // what the scanner appended to the Fragment list
  std::string debug_log;
  std::string diagnostics;
  int stop_status = 0;

  std::vector<int> codes() const;
  // The token at `index`, counting from 0; fails the test when there is none.
  const ScannedToken& at(std::size_t index) const;
};

// Scans `source` until the scanner returns 0 (or gives up after far more calls than the source
// could justify, which the test reports as a failure).
ScanResult scan(std::string_view source);

// The trace line the scanner writes for one token.
std::string trace_line(int code, std::string_view lexeme);

}  // namespace vrk::testing
