// Actions for expressions: operands as the scanner spelled them in Handel-C, operators in their
// Handel-C forms between blanks, parentheses where the source has them. Nothing is reordered.
#include <string>

#include "parser/actions.h"

namespace vrk::actions {

namespace {
constexpr string::rep kArgumentSeparator = VRK_STATIC_TEXT(", ");
constexpr string::rep kOpenBracket = VRK_STATIC_TEXT("[");
constexpr string::rep kCloseBracket = VRK_STATIC_TEXT("]");
constexpr string::rep kOpenParenthesis = VRK_STATIC_TEXT("(");
constexpr string::rep kCloseParenthesis = VRK_STATIC_TEXT(")");
constexpr string::rep kEquals = VRK_STATIC_TEXT(" == ");

// After a name at the start of an ALT guard the engine has already read the next token; if that
// was a relational or shift operator, its text replaced the name's in the current token text,
// and the name survives in the operator text.
bool is_operator_text(std::string_view text) {
  return (text.size() >= 2 && (text[1] == '<' || text[1] == '>')) || text == " != ";
}
}  // namespace

// {132}: actual_list: actual_list ',' {132} expression
void argument_separator(ActionContext& c) { append(c, kArgumentSeparator); }
// {157}: subscript: '[' {157} expression ']'
void open_subscript(ActionContext& c) { append(c, kOpenBracket); }
// subscript: '[' {157} expression ']'
void close_subscript(ActionContext& c) { append(c, kCloseBracket); }

// monadic_operator: '-' | NOT — "- ", "~ "
void monadic_operator(ActionContext& c) {
  char text[TokenText::kCapacity + 1];
  std::string_view op = operator_text(c);
  op.copy(text, op.size());
  text[op.size()] = ' ';
  append(c, std::string_view(text, op.size() + 1));
}

// operand: NUMBER
void number_operand(ActionContext& c) {
  Translation& t = c.translation;
  report_banner_in(c, current_token_text(c), t.scanner.current_text_banner());
  t.capture.emit_or_capture(t.fragments, t.texts.get(current_token_text(c)));
}

// operand: BOOLEAN — FALSE is declared in the CONSTs area.
void boolean_operand(ActionContext& c) {
  c.translation.templates.ensure_boolean_constants();
  append(c, current_token_text(c));
}

// operand: NOW (its banner); dyadic_operator: RELATIONAL_OP | SHIFT_OP; string_literal: ... STRING
void copy_current_token_text(ActionContext& c) {
  report_banner_in(c, current_token_text(c), c.translation.scanner.current_text_banner());
  append(c, current_token_text(c));
}

// operand: CHARACTER
void character_operand(ActionContext& c) { append(c, operator_text(c)); }

// {181}: operand: '(' {181} expression ')'
void open_parenthesis(ActionContext& c) { append(c, kOpenParenthesis); }
// operand: '(' {181} expression ')'
void close_parenthesis(ActionContext& c) { append(c, kCloseParenthesis); }

// dyadic_operator: '='
void equals_operator(ActionContext& c) { append(c, kEquals); }

// associative_operator: '+' | '*' | BIT_OP | LOGICAL_OP; arithmetic_operator: '-' | '/' | '\\'
void spaced_operator(ActionContext& c) {
  char text[TokenText::kCapacity + 2];
  std::string_view op = operator_text(c);
  report_banner_in(c, op, c.translation.scanner.operator_text_banner());
  text[0] = ' ';
  op.copy(text + 1, op.size());
  text[op.size() + 1] = ' ';
  append(c, std::string_view(text, op.size() + 2));
}

// name_operand: NAME
void name_operand(ActionContext& c) {
  std::string_view current = current_token_text(c);
  std::string_view name = is_operator_text(current) ? operator_text(c) : current;
  if (name == "TRUE") c.translation.templates.ensure_boolean_constants();
  append(c, name);
}

}  // namespace vrk::actions
