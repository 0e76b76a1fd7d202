// Expressions: operators, conversions, calls, literals, tables, subscripts and segments.
#include "occam2/parser/actions.h"

namespace vrk::occam2::actions {

namespace {

// How deeply subscripts may nest in one element. Every other kind of nesting goes through the
// parse stack, whose depth is bounded; subscripts of subscripts do not, and a tree the passes
// walk must not be deeper than they can follow.
constexpr std::uint16_t kMaxSubscriptDepth = 256;

}  // namespace

// expression: primitive_type operand
void conversion(TreeContext& c) { c.result().node = make(c, Kind::conversion, c.rhs(1).node, c.rhs(2).node); }
// expression: primitive_type ROUND operand — ROUND or TRUNC
void rounded_conversion(TreeContext& c) {
  c.result().node = make(c, Kind::conversion, c.rhs(1).node, c.rhs(3).node, c.rhs(2).detail);
}
// expression: NAME named_operand — a conversion to a named type: MYINT x
void named_conversion(TreeContext& c) {
  NodeId type = c.tree().add(Kind::named_type, c.rhs(1).place, c.rhs(1).node);
  c.result().node = make(c, Kind::conversion, type, c.rhs(2).node);
}
// expression: NAME ROUND operand — ROUND or TRUNC to a named type
void named_rounded_conversion(TreeContext& c) {
  NodeId type = c.tree().add(Kind::named_type, c.rhs(1).place, c.rhs(1).node);
  c.result().node = make(c, Kind::conversion, type, c.rhs(3).node, c.rhs(2).detail);
}
void mobile_allocation(TreeContext& c) { unsupported(c, Construct::mobile); }
// valof_operand: '(' valof_declarations valof ')'
void specified_valof(TreeContext& c) {
  c.result().node = make(c, Kind::specified_valof, list_of(c, c.rhs(2)), c.rhs(3).node);
}

// lead_expression: monadic_operator operand, and monadic_operator element direction
void monadic(TreeContext& c) {
  std::uint8_t op = c.rhs(1).detail;
  // The operator tokens carry their dyadic meaning; in front of an operand '-' negates.
  if (op == static_cast<std::uint8_t>(Operator::subtract)) op = static_cast<std::uint8_t>(Operator::negate);
  if (op == static_cast<std::uint8_t>(Operator::minus)) op = static_cast<std::uint8_t>(Operator::modulo_negate);
  c.result().node = make(c, Kind::monadic, c.rhs(2).node, kNone, op);
}
// lead_expression: SIZE operand
void size_of(TreeContext& c) { c.result().node = make(c, Kind::size, c.rhs(2).node); }
// lead_expression: SIZE '[' expression ']' primitive_type — the size of an array type
void size_of_type(TreeContext& c) {
  c.result().node = make(c, Kind::size, make(c, Kind::array_type, c.rhs(3).node, c.rhs(5).node));
}

// lead_expression: lead_operand dyadic_operator operand; table_expression: the same on a table
void dyadic(TreeContext& c) {
  c.result().node = make(c, Kind::dyadic, c.rhs(1).node, c.rhs(3).node, c.rhs(2).detail);
}

// and_chain: lead_operand AND operand; or_chain alike — a chain is one node, however long.
void first_of_chain(TreeContext& c) {
  Entry& result = c.result();
  c.builder.start_list(result, c.rhs(1).node);
  c.builder.extend_list(result, c.rhs(3).node);
  result.detail = c.rhs(2).detail;
}
// and_chain: and_chain AND operand
void next_of_chain(TreeContext& c) {
  Entry& result = c.result();
  result = c.rhs(1);
  c.builder.extend_list(result, c.rhs(3).node);
}
// lead_expression: and_chain | or_chain
void logical_chain(TreeContext& c) {
  c.result().node = make(c, Kind::logical_chain, list_of(c, c.rhs(1)), kNone, c.rhs(1).detail);
}

// lead_expression: MOSTPOS primitive_type | MOSTNEG primitive_type
void mostpos(TreeContext& c) { c.result().node = make(c, Kind::most, c.rhs(2).node, kNone, 0); }
void mostneg(TreeContext& c) { c.result().node = make(c, Kind::most, c.rhs(2).node, kNone, 1); }
void bytesin_expression(TreeContext& c) { unsupported(c, Construct::bytes_in); }
void offsetof_expression(TreeContext& c) { unsupported(c, Construct::offset_of); }
void clone(TreeContext& c) { unsupported(c, Construct::clone); }
void defined(TreeContext& c) { unsupported(c, Construct::defined); }

// lead_operand: NAME '(' ')'
void function_call_without_arguments(TreeContext& c) {
  NodeId arguments = c.tree().add_with_children(Kind::list, c.place(), std::span<const NodeId>());
  c.result().node = make(c, Kind::function_call, c.rhs(1).node, arguments);
}
// lead_operand: NAME '(' expression_list ')'
void function_call(TreeContext& c) {
  c.result().node = make(c, Kind::function_call, c.rhs(1).node, list_of(c, c.rhs(3)));
}

// literal: REAL_NUMBER ['(' type ')']
void real_number(TreeContext& c) { unsupported(c, Construct::real_number); }
// literal: NUMBER '(' type ')' | CHARACTER '(' type ')'
void typed_literal(TreeContext& c) { c.result().node = make(c, Kind::typed_literal, c.rhs(1).node, c.rhs(3).node); }
// string_table: string_table '(' NAME ')'; bracket_table alike — a table of a named type
void typed_table(TreeContext& c) {
  NodeId type = c.tree().add(Kind::named_type, c.rhs(3).place, c.rhs(3).node);
  c.result().node = make(c, Kind::typed_literal, c.rhs(1).node, type);
}
// bracket_table: '[' expression ']'
void single_table(TreeContext& c) {
  c.result().node = make(c, Kind::table, c.tree().add_with_children(Kind::list, c.place(), std::span<const NodeId>(&c.rhs(2).node, 1)));
}
// bracket_table: '[' expression ',' expression_list ']'
void table_of_several(TreeContext& c) { c.result().node = make(c, Kind::table, list_with_first(c, c.rhs(2).node, c.rhs(4))); }
// bracket_table: '[' ']'
void empty_table(TreeContext& c) {
  c.result().node = make(c, Kind::table, c.tree().add_with_children(Kind::list, c.place(), std::span<const NodeId>()));
}
void constructor(TreeContext& c) { unsupported(c, Construct::constructor); }

// element: element '[' expression ']'; string_table and bracket_table alike
void subscript(TreeContext& c) {
  Entry& base = c.rhs(1);
  if (base.depth >= kMaxSubscriptDepth) {
    if (base.depth == kMaxSubscriptDepth) {
      c.builder.error(c.rhs(2).place, "more than 256 subscripts in one element", "[");
    }
    c.result() = base;
    c.result().depth = kMaxSubscriptDepth + 1;
    return;
  }
  c.result().node = make(c, Kind::subscript, base.node, c.rhs(3).node);
  c.result().depth = static_cast<std::uint16_t>(base.depth + 1);
}

// element: '[' expression FROM expression FOR expression ']'
void slice_from_for(TreeContext& c) {
  c.result().node = make_slots(c, Kind::slice, {c.rhs(2).node, c.rhs(4).node, c.rhs(6).node});
}
// element: '[' expression FROM expression ']'
void slice_from(TreeContext& c) { c.result().node = make_slots(c, Kind::slice, {c.rhs(2).node, c.rhs(4).node, kNone}); }
// element: '[' expression FOR expression ']'
void slice_for(TreeContext& c) { c.result().node = make_slots(c, Kind::slice, {c.rhs(2).node, kNone, c.rhs(4).node}); }
// element: '[' element direction FROM expression FOR expression ']' — a segment of channel ends
void directed_slice_from_for(TreeContext& c) {
  c.result().node = make_slots(c, Kind::slice, {c.rhs(2).node, c.rhs(5).node, c.rhs(7).node});
}
// element: '[' element direction FOR expression ']'
void directed_slice_for(TreeContext& c) { c.result().node = make_slots(c, Kind::slice, {c.rhs(2).node, kNone, c.rhs(5).node}); }

}  // namespace vrk::occam2::actions
