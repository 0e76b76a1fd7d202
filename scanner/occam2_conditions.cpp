#include "scanner/occam2_conditions.h"

#include <charconv>

#include "scanner/occam2_tokens.h"

namespace vrk::occam2 {

PreprocessorSymbols::PreprocessorSymbols() {
  define("TARGET.BITS.PER.WORD", {SymbolValue::Kind::integer, 32, {}});
  define("TARGET.BIGENDIAN", {SymbolValue::Kind::boolean, 0, {}});
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
  bool is_boolean = false;
  long long number = 0;
};

// Recursive descent over the tokens of one condition; the first problem is kept as the error.
// Lines have no length limit, so the nesting is: a condition cannot exhaust the stack.
class Evaluator {
 public:
  static constexpr int kMaxDepth = 256;

  Evaluator(std::span<const ConditionToken> tokens, const PreprocessorSymbols& symbols)
      : tokens_(tokens), symbols_(symbols) {}

  ConditionResult run() {
    Value v = expression();
    if (!at_end()) fail("unexpected '" + std::string(peek().lexeme) + "'");
    if (error_.empty() && !v.is_boolean) fail("the condition is not TRUE or FALSE");
    return {error_.empty() && v.number != 0, error_};
  }

 private:
  bool at_end() const { return next_ >= tokens_.size(); }
  const ConditionToken& peek() const {
    static const ConditionToken kEnd{0, "end of line"};
    return at_end() ? kEnd : tokens_[next_];
  }
  bool accept(int code) {
    if (at_end() || tokens_[next_].code != code) return false;
    ++next_;
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
    while (!at_end() && is_dyadic(peek().code)) {
      ConditionToken op = tokens_[next_++];
      left = apply(op, left, operand());
    }
    return left;
  }

  Value operand() {
    if (++depth_ > kMaxDepth) {
      fail("the condition is nested too deeply");
      next_ = tokens_.size();
      return {};
    }
    Value v = unnested_operand();
    --depth_;
    return v;
  }

  Value unnested_operand() {
    const ConditionToken& t = peek();
    if (accept(token::NOT)) return logical_not(operand());
    if (accept('(')) return bracketed();
    if (accept(token::DEFINED)) return defined();
    if (accept(token::BOOLEAN)) return {true, t.lexeme == "TRUE" ? 1 : 0};
    if (accept(token::NUMBER)) return number(t.lexeme);
    if (accept('-')) return negated(operand());
    if (accept(token::NAME)) return symbol(t.lexeme);
    fail("unexpected '" + std::string(t.lexeme) + "'");
    if (!at_end()) ++next_;
    return {};
  }

  Value bracketed() {
    Value v = expression();
    if (!accept(')')) fail("')' missing");
    return v;
  }

  Value defined() {
    bool bracket = accept('(');
    const ConditionToken& t = peek();
    Value v{true, 0};
    if (accept(token::NAME)) {
      v.number = symbols_.find(t.lexeme) != nullptr ? 1 : 0;
    } else {
      fail("DEFINED needs a name");
    }
    if (bracket && !accept(')')) fail("')' missing");
    return v;
  }

  Value number(std::string_view lexeme) {
    long long n = 0;
    if (!integer_value(lexeme, n)) fail("the number " + std::string(lexeme) + " is too large");
    return {false, n};
  }

  Value symbol(std::string_view name) {
    const SymbolValue* s = symbols_.find(name);
    if (s == nullptr) {
      fail(std::string(name) + " is not defined");
      return {};
    }
    if (s->kind == SymbolValue::Kind::integer) return {false, s->number};
    if (s->kind == SymbolValue::Kind::boolean) return {true, s->number};
    fail(std::string(name) + " has no integer or boolean value");
    return {};
  }

  Value logical_not(Value v) {
    if (!v.is_boolean) fail("NOT needs TRUE or FALSE");
    return {true, v.number == 0 ? 1 : 0};
  }

  Value negated(Value v) {
    if (v.is_boolean) fail("'-' needs an integer");
    return {false, -v.number};
  }

  Value apply(const ConditionToken& op, Value a, Value b) {
    if (op.code == token::AND || op.code == token::OR) {
      if (!a.is_boolean || !b.is_boolean) fail(std::string(op.lexeme) + " needs TRUE or FALSE on both sides");
      bool result = op.code == token::AND ? (a.number != 0 && b.number != 0) : (a.number != 0 || b.number != 0);
      return {true, result ? 1 : 0};
    }
    if (a.is_boolean != b.is_boolean) fail("'" + std::string(op.lexeme) + "' compares an integer with TRUE or FALSE");
    return {true, compare(op.lexeme, a.number, b.number) ? 1 : 0};
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

  std::span<const ConditionToken> tokens_;
  const PreprocessorSymbols& symbols_;
  std::size_t next_ = 0;
  int depth_ = 0;  // operands being read, one inside the other
  std::string error_;
};

}  // namespace

ConditionResult evaluate_condition(std::span<const ConditionToken> tokens, const PreprocessorSymbols& symbols) {
  return Evaluator(tokens, symbols).run();
}

}  // namespace vrk::occam2
