#include "occam2/scanner/conditions.h"

#include <algorithm>
#include <charconv>

#include "occam2/scanner/literals.h"
#include "occam2/scanner/tokens.h"

namespace vrk::occam2 {

PreprocessorSymbols::PreprocessorSymbols() {
  define("TARGET.BITS.PER.WORD", {SymbolValue::Kind::integer, 32, {}});
  define("TARGET.BYTES.PER.WORD", {SymbolValue::Kind::integer, 4, {}});
  define("TARGET.BIGENDIAN", {SymbolValue::Kind::boolean, 0, {}});
}

bool is_occam_name(std::string_view name) {
  return !name.empty() && is_letter(name.front()) && std::all_of(name.begin(), name.end(), is_name_character);
}

namespace {

// A string literal holding `text` as it is: '*' and '"' escaped.
std::string quoted(std::string_view text) {
  std::string literal = "\"";
  for (char c : text) {
    if (c == '*' || c == '"') literal += '*';
    literal += c;
  }
  return literal + '"';
}

SymbolValue value_of_text(std::string_view text) {
  long long number = 0;
  bool negative = text.starts_with('-');
  if (integer_value(negative ? text.substr(1) : text, number)) {
    return {SymbolValue::Kind::integer, negative ? -number : number, {}};
  }
  if (text == "TRUE" || text == "FALSE") return {SymbolValue::Kind::boolean, text == "TRUE" ? 1 : 0, {}};
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
    return {SymbolValue::Kind::string, 0, std::string(text)};
  }
  return {SymbolValue::Kind::string, 0, quoted(text)};
}

}  // namespace

bool PreprocessorSymbols::define_from_option(std::string_view option) {
  std::size_t equals = option.find('=');
  std::string_view name = option.substr(0, equals);
  if (!is_occam_name(name)) return false;
  define(std::string(name), equals == std::string_view::npos ? SymbolValue{} : value_of_text(option.substr(equals + 1)));
  return true;
}

void PreprocessorSymbols::undefine(std::string_view name) {
  auto it = symbols_.find(name);
  if (it != symbols_.end()) symbols_.erase(it);
}

const SymbolValue* PreprocessorSymbols::find(std::string_view name) const {
  auto it = symbols_.find(name);
  return it == symbols_.end() ? nullptr : &it->second;
}

bool integer_value(std::string_view lexeme, long long& value) {
  bool hex = !lexeme.empty() && lexeme.front() == '#';
  std::string_view digits = hex ? lexeme.substr(1) : lexeme;
  auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value, hex ? 16 : 10);
  return !digits.empty() && ec == std::errc() && end == digits.data() + digits.size();
}

namespace {

struct Value {
  enum class Kind { integer, boolean, string, undefined };
  Kind kind = Kind::integer;
  long long number = 0;
  std::string text;  // a string's bytes
  bool is_boolean() const { return kind == Kind::boolean || kind == Kind::undefined; }
};

Value boolean(bool b) { return {Value::Kind::boolean, b ? 1 : 0, {}}; }

// Recursive descent over the tokens of one condition, read one ahead; the first problem is kept
// as the error. Lines have no length limit, so the nesting is: a condition cannot exhaust the
// stack.
class Evaluator {
 public:
  static constexpr int kMaxDepth = 256;

  Evaluator(const ConditionTokens& tokens, const PreprocessorSymbols& symbols) : tokens_(tokens), symbols_(symbols) {
    advance();
  }

  ConditionResult run() {
    Value v = expression();
    if (!at_end()) fail("unexpected '" + std::string(current_.lexeme) + "'");
    if (error_.empty() && !v.is_boolean()) fail("the condition is not TRUE or FALSE");
    return {error_.empty() && v.number != 0, error_, undefined_};
  }

 private:
  bool at_end() const { return current_.code == 0; }
  void advance() {
    current_ = tokens_();
    if (at_end()) current_.lexeme = "end of line";
  }
  bool accept(int code) {
    if (at_end() || current_.code != code) return false;
    advance();
    return true;
  }
  void fail(std::string message) {
    if (error_.empty()) error_ = std::move(message);
  }

  static bool is_dyadic(int code) {
    return code == token::AND || code == token::OR || code == '=' || code == token::RELATIONAL_OP;
  }

  Value expression() {
    Value left = operand();
    while (!at_end() && is_dyadic(current_.code)) {
      const int code = current_.code;
      const std::string op(current_.lexeme);  // the next token may take the place of its characters
      advance();
      left = apply(code, op, left, operand());
    }
    return left;
  }

  Value operand() {
    if (++depth_ > kMaxDepth) {
      fail("the condition is nested too deeply");
      while (!at_end()) advance();
      return {};
    }
    Value v = unnested_operand();
    --depth_;
    return v;
  }

  // A token's lexeme is read before the next token is asked for.
  Value unnested_operand() {
    const ConditionToken t = current_;
    Value v;
    switch (t.code) {
      case token::NOT:
        advance();
        return logical_not(operand());
      case '(':
        advance();
        return bracketed();
      case token::DEFINED:
        advance();
        return defined();
      case '-':
        advance();
        return negated(operand());
      case token::BOOLEAN:
        v = boolean(t.lexeme == "TRUE");
        break;
      case token::NUMBER:
        v = number(t.lexeme);
        break;
      case token::STRING:
        v = {Value::Kind::string, 0, string_value(t.lexeme)};
        break;
      case token::NAME:
        v = symbol(t.lexeme);
        break;
      default:
        fail("unexpected '" + std::string(t.lexeme) + "'");
        break;
    }
    if (!at_end()) advance();
    return v;
  }

  Value bracketed() {
    Value v = expression();
    if (!accept(')')) fail("')' missing");
    return v;
  }

  Value defined() {
    bool bracket = accept('(');
    Value v = boolean(false);
    if (current_.code == token::NAME) {
      v.number = symbols_.find(current_.lexeme) != nullptr ? 1 : 0;
      advance();
    } else {
      fail("DEFINED needs a name");
    }
    if (bracket && !accept(')')) fail("')' missing");
    return v;
  }

  Value number(std::string_view lexeme) {
    long long n = 0;
    if (!integer_value(lexeme, n)) fail("the number " + std::string(lexeme) + " is too large");
    return {Value::Kind::integer, n, {}};
  }

  Value symbol(std::string_view name) {
    const SymbolValue* s = symbols_.find(name);
    if (s == nullptr) {
      if (std::find(undefined_.begin(), undefined_.end(), name) == undefined_.end()) undefined_.emplace_back(name);
      return {Value::Kind::undefined, 0, {}};
    }
    if (s->kind == SymbolValue::Kind::integer) return {Value::Kind::integer, s->number, {}};
    if (s->kind == SymbolValue::Kind::boolean) return boolean(s->number != 0);
    if (s->kind == SymbolValue::Kind::string) return {Value::Kind::string, 0, string_value(s->text)};
    fail(std::string(name) + " has no value");
    return {};
  }

  Value logical_not(const Value& v) {
    if (!v.is_boolean()) fail("NOT needs TRUE or FALSE");
    return boolean(v.number == 0);
  }

  Value negated(const Value& v) {
    if (v.kind != Value::Kind::integer) fail("'-' needs an integer");
    return {Value::Kind::integer, -v.number, {}};
  }

  Value apply(int code, const std::string& op, const Value& a, const Value& b) {
    if (code == token::AND || code == token::OR) {
      if (!a.is_boolean() || !b.is_boolean()) fail(op + " needs TRUE or FALSE on both sides");
      return boolean(code == token::AND ? (a.number != 0 && b.number != 0) : (a.number != 0 || b.number != 0));
    }
    // A name nobody defined equals nothing.
    if (a.kind == Value::Kind::undefined || b.kind == Value::Kind::undefined) return boolean(false);
    if (a.kind != b.kind) fail("'" + op + "' compares values of different kinds");
    if (a.kind == Value::Kind::string) return boolean(compare(op, a.text.compare(b.text), 0));
    return boolean(compare(op, a.number, b.number));
  }

  bool compare(std::string_view op, long long a, long long b) {
    if (op == "=") return a == b;
    if (op == "<>") return a != b;
    if (op == "<") return a < b;
    if (op == ">") return a > b;
    if (op == "<=") return a <= b;
    if (op == ">=") return a >= b;
    fail("'" + std::string(op) + "' is no comparison");
    return false;
  }

  const ConditionTokens& tokens_;
  const PreprocessorSymbols& symbols_;
  ConditionToken current_;
  int depth_ = 0;  // operands being read, one inside the other
  std::string error_;
  std::vector<std::string> undefined_;
};

}  // namespace

ConditionResult evaluate_condition(const ConditionTokens& tokens, const PreprocessorSymbols& symbols) {
  return Evaluator(tokens, symbols).run();
}

}  // namespace vrk::occam2
