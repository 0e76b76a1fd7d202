// Expressions, in the default mode's form: operators between spaces, "- x" and "~ x", brackets
// kept. occam has no precedence, so the text needs no brackets of its own.
#include "output/banners.h"
#include "parser/occam2/actions.h"

namespace vrk::occam2::actions {

namespace {
constexpr std::size_t kMaxHexDigits = 8;

Text floating_point_banner(Occam2Context& c) {
  report(c, 1, "a floating-point number");
  return c.lit(banners::text_of(banners::kFloatingPoint));
}
}  // namespace

// monadic_operator: '-' | MINUS | NOT | '~' | BITNOT — "- ", "~ "
void monadic_operator(Occam2Context& c) { c.result().text = c.join(c.rhs(1).text, " "); }
// monadic_operator: SIZE
void size_operator(Occam2Context& c) { c.result().note = Note::size; }

// lead_expression: monadic_operator operand
void monadic(Occam2Context& c) {
  if (c.rhs(1).note != Note::none) return banner(c, 1, note_name(c.rhs(1).note));
  c.result().text = c.join(c.rhs(1).text, c.rhs(2).text);
  c.result().note = Note::none;
}

// dyadic_operator: every symbol and word between two operands — " + ", " == ", " mod ".
void dyadic_operator(Occam2Context& c) { c.result().text = c.join(" ", c.rhs(1).text, " "); }

// lead_expression: lead_operand dyadic_operator operand
void dyadic(Occam2Context& c) {
  c.result().text = c.join(c.rhs(1).text, c.rhs(2).text, c.rhs(3).text);
  c.result().note = Note::none;
}

// and_chain: operand AND operand, and longer chains (and the same for OR): Handel-C has no logical
// AND or OR in this translation, as in the default mode.
void logical_operation(Occam2Context& c) {
  report(c, 2, c.rope().equals(c.rhs(2).text, "AND") ? "the logical operator AND" : "the logical operator OR");
  Text text = c.join(c.rhs(1).text, " ", banners::text_of(banners::kLogicalOperator));
  c.result().text = c.join(text, " ", c.rhs(3).text);
  c.result().note = Note::none;
}

// lead_operand: '(' expression ')'
void parenthesised(Occam2Context& c) {
  c.result().text = c.join("(", c.rhs(2).text, ")");
}

void conversion(Occam2Context& c) { banner(c, 1, "type conversion"); }
void most_banner(Occam2Context& c) { banner(c, 1, c.str(c.rhs(1).text)); }
void bytesin_banner(Occam2Context& c) { banner(c, 1, "BYTESIN"); }
void offsetof_banner(Occam2Context& c) { banner(c, 1, "OFFSETOF"); }
void clone_banner(Occam2Context& c) { banner(c, 1, "CLONE"); }
void defined_banner(Occam2Context& c) { banner(c, 1, "DEFINED"); }
void mobile_allocation_banner(Occam2Context& c) { banner(c, 1, "MOBILE"); }

// literal: NUMBER — a hexadecimal value wider than 32 bits is the default mode's banner.
void number(Occam2Context& c) {
  pass(c);
  Text text = c.result().text;
  if (text.size > 2 + kMaxHexDigits && c.str(text).starts_with("0x")) {
    report(c, 1, "a hexadecimal value wider than 32 bits");
    c.result().text = c.lit(banners::text_of(banners::kHexOverflow));
  }
}

void real_number(Occam2Context& c) { c.result().text = floating_point_banner(c); }
void decorated_real(Occam2Context& c) { c.result().text = floating_point_banner(c); }
// literal: NUMBER '(' type ')', CHARACTER '(' type ')' — the value; the type has no counterpart.
void decorated_literal(Occam2Context& c) { c.result().text = c.rhs(1).text; }

// literal: BOOLEAN — TRUE and FALSE are declared in the CONSTs area.
void boolean(Occam2Context& c) {
  c.state.templates.ensure_boolean_constants();
  pass(c);
}

void table_banner(Occam2Context& c) { banner(c, 1, "table"); }
void constructor_banner(Occam2Context& c) { banner(c, 1, "array constructor"); }
void slice_banner(Occam2Context& c) { banner(c, 1, "array slice"); }

// string_table: string_table '[' expression ']'; bracket_table: bracket_table '[' expression ']'
void table_subscript(Occam2Context& c) {
  c.result().text = c.join(c.join(c.rhs(1).text, "["), c.rhs(3).text, "]");
}

// element: element '[' expression ']' — noted, for a channel given this way.
void subscript(Occam2Context& c) {
  c.result().text = c.join(c.join(c.rhs(1).text, "["), c.rhs(3).text, "]");
  c.result().note = Note::subscripted;
}

}  // namespace vrk::occam2::actions
