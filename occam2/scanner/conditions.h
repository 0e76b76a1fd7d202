// Conditional compilation in the occam 2 mode: the names #DEFINE makes and the value of the
// condition of a #IF or #ELIF line.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace vrk::occam2 {

// What a #DEFINE gives a name: nothing, an integer, TRUE/FALSE or a string.
struct SymbolValue {
  enum class Kind { none, integer, boolean, string };
  Kind kind = Kind::none;
  long long number = 0;  // the integer, or 1/0 for TRUE/FALSE
  std::string text;      // the string literal as written
};

// The defined names. Those that occam compilers predefine describe the target the translation is
// for: TARGET.BITS.PER.WORD is 32, TARGET.BYTES.PER.WORD 4, TARGET.BIGENDIAN FALSE.
class PreprocessorSymbols {
 public:
  PreprocessorSymbols();
  // NAME or NAME=VALUE from the command line: VALUE as #DEFINE takes it (an integer, TRUE, FALSE
  // or a string in quotes), and any other text as a string. False when NAME is no name.
  bool define_from_option(std::string_view option);
  void define(std::string name, SymbolValue value) { symbols_[std::move(name)] = std::move(value); }
  void undefine(std::string_view name);
  // The value of `name`, or null when it is not defined.
  const SymbolValue* find(std::string_view name) const;

 private:
  std::map<std::string, SymbolValue, std::less<>> symbols_;
};

// The value of an integer literal (decimal or #hex); false when it is none or too large.
bool integer_value(std::string_view lexeme, long long& value);

// One token of a condition, as the scanner read it.
struct ConditionToken {
  int code = 0;
  std::string_view lexeme;
};

struct ConditionResult {
  bool value = false;
  std::string error;                   // empty when the condition could be evaluated
  std::vector<std::string> undefined;  // the names it read that nobody defined, each once
};

// Whether `name` is spelt as an occam name (a letter, then letters, digits and dots).
bool is_occam_name(std::string_view name);

// Hands out a condition's tokens one at a time, code 0 after the last. A token's lexeme need only
// stay valid until the next call.
using ConditionTokens = std::function<ConditionToken()>;

// Evaluates TRUE, FALSE, DEFINED (NAME), NOT, AND, OR, brackets and the comparisons
// = <> < > <= >= of integers, strings and defined names. Dyadic operators apply left to right.
// A name nobody defined counts as FALSE, and a comparison with one is FALSE.
ConditionResult evaluate_condition(const ConditionTokens& tokens, const PreprocessorSymbols& symbols);

}  // namespace vrk::occam2
