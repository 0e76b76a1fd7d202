// Declarations: declarations, abbreviations, definitions (PROC, FUNCTION, PROTOCOL, DATA TYPE,
// CHAN TYPE), formals and types.
#include <utility>
#include <vector>

#include "occam2/parser/actions.h"
#include "occam2/scanner/tokens.h"

namespace vrk::occam2::actions {

// ---------------------------------------------------------------- declarations

// declaration: type names ':' EOL
void declaration(TreeContext& c) { c.result().node = make(c, Kind::declaration, c.rhs(1).node, list_of(c, c.rhs(2))); }
// declaration: element '?' names ':' EOL — channel-type ends
void channel_end_declaration(TreeContext& c) { unsupported(c, Construct::channel_end, {list_of(c, c.rhs(3))}); }
// declaration: SHARED [direction] CHAN protocol names ':' EOL
void shared_channel_declaration(TreeContext& c) {
  unsupported(c, Construct::shared_channel, {list_of(c, c.rhs(c.view.rhs_length() - 2))});
}
// first_valof_declaration: '[' expression ']' primitive_type names ':' EOL — an array declared
// in the brackets of a VALOF operand
void bracketed_array_declaration(TreeContext& c) {
  NodeId type = make(c, Kind::array_type, c.rhs(2).node, c.rhs(4).node);
  c.result().node = make(c, Kind::declaration, type, list_of(c, c.rhs(5)));
}
// result_declaration: RESULT type names ':' EOL — a variable declared as a RESULT formal would be
void result_declaration(TreeContext& c) { c.result().node = make(c, Kind::declaration, c.rhs(2).node, list_of(c, c.rhs(3))); }
// name_item: NAME [direction]
void name_definition(TreeContext& c) {
  auto direction = c.view.rhs_length() == 2 ? static_cast<Direction>(c.rhs(2).detail) : Direction::none;
  c.result().node = defining(c, c.rhs(1).node, direction);
}

// ---------------------------------------------------------------- types

void named_type(TreeContext& c) { c.result().node = make(c, Kind::named_type, c.rhs(1).node); }
// keyword_type: CHAN protocol | CHAN OF protocol
void channel_type(TreeContext& c) { c.result().node = make(c, Kind::channel_type, c.rhs(c.view.rhs_length()).node); }
void timer_type(TreeContext& c) { c.result().node = make(c, Kind::timer_type); }
void port_type(TreeContext& c) { c.result().node = make(c, Kind::unsupported_type, 0, 0, static_cast<std::uint8_t>(Construct::port)); }
void barrier_type(TreeContext& c) { c.result().node = make(c, Kind::unsupported_type, 0, 0, static_cast<std::uint8_t>(Construct::barrier)); }
void mobile_type(TreeContext& c) { c.result().node = make(c, Kind::unsupported_type, 0, 0, static_cast<std::uint8_t>(Construct::mobile)); }
void channel_end_type(TreeContext& c) {
  c.result().node = make(c, Kind::unsupported_type, 0, 0, static_cast<std::uint8_t>(Construct::channel_end));
}
void any_protocol(TreeContext& c) {
  c.result().node = make(c, Kind::unsupported_type, 0, 0, static_cast<std::uint8_t>(Construct::any_protocol));
}
void counted_protocol(TreeContext& c) {
  c.result().node = make(c, Kind::unsupported_type, 0, 0, static_cast<std::uint8_t>(Construct::counted_array));
}
// keyword_type: '[' expression ']' nested_type
void array_type(TreeContext& c) { c.result().node = make(c, Kind::array_type, c.rhs(2).node, c.rhs(4).node); }
// keyword_type: '[' ']' nested_type
void open_array_type(TreeContext& c) { c.result().node = make(c, Kind::array_type, kNone, c.rhs(3).node); }
// primitive_type: BOOL | BYTE | INT | INT16 | INT32 | INT64 | REAL32 | REAL64
void primitive_type(TreeContext& c) { c.result().node = make(c, Kind::primitive_type, 0, 0, c.rhs(1).detail); }

// ---------------------------------------------------------------- abbreviations

// abbreviation: VAL type NAME IS expression ':' EOL
void val_abbreviation(TreeContext& c) {
  c.result().node = make_slots(c, Kind::val_abbreviation, {c.rhs(2).node, defining(c, c.rhs(3).node), c.rhs(5).node});
}
// abbreviation: VAL NAME IS expression ':' EOL
void untyped_val_abbreviation(TreeContext& c) {
  c.result().node = make_slots(c, Kind::val_abbreviation, {kNone, defining(c, c.rhs(2).node), c.rhs(4).node});
}
// abbreviation: type name_item IS abbreviated ':' EOL
void abbreviation(TreeContext& c) {
  c.result().node = make_slots(c, Kind::abbreviation, {c.rhs(1).node, c.rhs(2).node, c.rhs(4).node});
}
// abbreviation: element IS abbreviated ':' EOL — the element must be a plain name.
void untyped_abbreviation(TreeContext& c) {
  NodeId name = c.rhs(1).node;
  if (c.tree().kind(name) != Kind::name) {
    c.builder.error(c.rhs(1).place, "an abbreviation must name a new name", "IS");
    return;
  }
  c.result().node = make_slots(c, Kind::abbreviation, {kNone, defining(c, name), c.rhs(3).node});
}
// abbreviation: INITIAL type NAME IS expression ':' EOL
void initial_declaration(TreeContext& c) {
  c.result().node = make_slots(c, Kind::initial_declaration, {c.rhs(2).node, defining(c, c.rhs(3).node), c.rhs(5).node});
}
// abbreviation: INITIAL type NAME ',' names IS expression_list ':' EOL — one INITIAL declaration
// per name, in a list that the body takes apart.
void several_initial_declarations(TreeContext& c) {
  NodeId names = list_with_first(c, defining(c, c.rhs(3).node), c.rhs(5));
  NodeId values = list_of(c, c.rhs(7));
  std::uint32_t count = c.tree().child_count(names);
  if (c.tree().child_count(values) != count) {
    c.builder.error(c.rhs(7).place,
                    std::to_string(c.tree().child_count(values)) + " values for " + std::to_string(count) + " names", "IS");
  }
  std::vector<NodeId> declarations;
  for (std::uint32_t i = 0; i < count; ++i) {
    NodeId value = c.tree().child(values, i);
    declarations.push_back(make_slots(c, Kind::initial_declaration, {c.rhs(2).node, c.tree().child(names, i), value}));
  }
  c.result().node = c.tree().add_with_children(Kind::list, c.place(), declarations);
}
// abbreviation: type NAME RETYPES expression ':' EOL
void retypes(TreeContext& c) { unsupported(c, Construct::retypes, {c.rhs(2).node}); }
void val_retypes(TreeContext& c) { unsupported(c, Construct::retypes, {c.rhs(3).node}); }
// allocation: PLACE NAME ...
void place(TreeContext& c) { unsupported(c, Construct::place); }
// allocation: PLACED type NAME ...
void placed_declaration(TreeContext& c) { unsupported(c, Construct::place, {c.rhs(3).node}); }

// ---------------------------------------------------------------- definitions

// proc_head: proc_keyword NAME '(' formal_list ')' [IMPLEMENTS NAME] — the definition, waiting
// for its body.
void proc_head(TreeContext& c) {
  c.result().node =
      make_slots(c, Kind::proc_definition, {defining(c, c.rhs(2).node), c.rhs(4).node, kNone}, c.rhs(1).detail);
  c.builder.note_body_start(c.result().node);
}
namespace {
// Comment lines before a definition's closing colon end its body.
NodeId body_with_closing_comment(TreeContext& c, NodeId body, Entry& colon) {
  NodeId comment = std::exchange(colon.comment, kNone);
  if (comment == kNone || body == kNone) return body;
  std::vector<NodeId> items;
  for (NodeId item : c.tree().children(body)) items.push_back(item);
  items.push_back(comment);
  return c.tree().add_with_children(Kind::list, c.tree().node(body).place, items);
}
}  // namespace

// definition: proc_head body_of_definition ':' EOL
void proc_definition(TreeContext& c) {
  c.tree().set_child(c.rhs(1).node, 2, body_with_closing_comment(c, c.rhs(2).node, c.rhs(3)));
  c.result().node = c.rhs(1).node;
}
// proc_keyword: NAME PROC — PUBLIC PROC, a PROC a library makes known; another name is no prefix.
void public_prefix(TreeContext& c) {
  if (c.tree().name_of(c.rhs(1).node) != "PUBLIC") c.builder.syntax_error(c.rhs(2).place, token::PROC, "PROC");
}
// proc_prefixes: proc_prefixes proc_prefix
void combined_prefixes(TreeContext& c) { c.result().detail = c.rhs(1).detail | c.rhs(2).detail; }
// proc_prefix: RECURSIVE; function_keyword: RECURSIVE FUNCTION
void recursive_prefix(TreeContext& c) { c.result().detail = kRecursiveDefinition; }
// definition: PROC TYPE NAME IS '(' formals ')' ':' EOL
void proc_type(TreeContext& c) { unsupported(c, Construct::proc_type, {c.rhs(3).node}); }

// function_head: result_types function_keyword NAME '(' formal_list ')'
void function_head(TreeContext& c) {
  c.result().node = make_slots(c, Kind::function_definition,
                               {list_of(c, c.rhs(1)), defining(c, c.rhs(3).node), c.rhs(5).node, kNone}, c.rhs(2).detail);
  c.builder.note_body_start(c.result().node);
}
// function_head: NAME function_keyword NAME '(' formal_list ')' — a result of a named type
void named_function_head(TreeContext& c) {
  NodeId type = c.tree().add(Kind::named_type, c.rhs(1).place, c.rhs(1).node);
  NodeId types = c.tree().add_with_children(Kind::list, c.place(), std::span<const NodeId>(&type, 1));
  c.result().node = make_slots(c, Kind::function_definition, {types, defining(c, c.rhs(3).node), c.rhs(5).node, kNone},
                               c.rhs(2).detail);
  c.builder.note_body_start(c.result().node);
}
// function_head: element ',' element_list function_keyword function_name '(' formal_list ')' —
// several results of named types: A, B FUNCTION f (...)
void named_results_function_head(TreeContext& c) {
  std::vector<NodeId> types;
  auto add_type = [&](NodeId element) {
    if (c.tree().kind(element) != Kind::name) {
      c.builder.error(c.tree().node(element).place, "a FUNCTION's result types must be types", "FUNCTION");
      return;
    }
    types.push_back(c.tree().add(Kind::named_type, c.tree().node(element).place, element));
  };
  add_type(c.rhs(1).node);
  for (std::uint32_t i = 0; i < c.rhs(3).list_count; ++i) add_type(c.builder.pending(c.rhs(3).list_start + i));
  NodeId list = c.tree().add_with_children(Kind::list, c.place(), types);
  c.result().node = make_slots(c, Kind::function_definition, {list, defining(c, c.rhs(5).node), c.rhs(7).node, kNone},
                               c.rhs(4).detail);
}
// function_name: STRING — the FUNCTION defines the operator the string spells, and is known by
// the operator's name in quotes ("REM" and "\" name one operator).
void operator_name(TreeContext& c) {
  std::string_view spelling = c.tree().text(c.rhs(1).node);
  Operator op;
  std::string name = operator_named(spelling, op) ? operator_function_name(op) : "\"" + std::string(spelling) + "\"";
  c.result().node = c.tree().add(Kind::name, c.rhs(1).place, c.tree().names.intern(name));
}
// definition: function_head IS expression_list ':' EOL
void function_is(TreeContext& c) {
  c.tree().set_child(c.rhs(1).node, 3, list_of(c, c.rhs(3)));
  c.tree().node(c.rhs(1).node).detail |= kFunctionIsExpressions;
  c.result().node = c.rhs(1).node;
}
// definition: function_head body_of_definition ':' EOL
void function_valof(TreeContext& c) {
  c.tree().set_child(c.rhs(1).node, 3, body_with_closing_comment(c, c.rhs(2).node, c.rhs(3)));
  c.result().node = c.rhs(1).node;
}

// definition: PROTOCOL NAME IS protocol_items ':' EOL
void sequential_protocol(TreeContext& c) {
  NodeId items = list_of(c, c.rhs(4));
  std::vector<NodeId> children{defining(c, c.rhs(2).node)};
  for (NodeId item : c.tree().children(items)) children.push_back(item);
  c.result().node = c.tree().add_with_children(Kind::protocol_definition, c.place(), children);
}
// definition: PROTOCOL NAME [EXTENDS names] EOL INDENT CASE EOL tag_block OUTDENT ':' EOL
void variant_protocol(TreeContext& c) {
  c.result().node = make_slots(c, Kind::protocol_definition, {defining(c, c.rhs(2).node)}, 1);
}
// definition: DATA TYPE NAME IS type ':' EOL
void data_type_alias(TreeContext& c) {
  c.result().node = make(c, Kind::data_type_definition, defining(c, c.rhs(3).node), c.rhs(5).node);
}
// definition: DATA TYPE NAME EOL INDENT record_head EOL field_block OUTDENT ':' EOL
void record_type(TreeContext& c) { c.result().node = make(c, Kind::data_type_definition, defining(c, c.rhs(3).node)); }
// definition: CHAN TYPE NAME ...
void chan_type(TreeContext& c) { unsupported(c, Construct::chan_type, {c.rhs(3).node}); }
void recursive_chan_type(TreeContext& c) { unsupported(c, Construct::chan_type, {c.rhs(4).node}); }

// ---------------------------------------------------------------- formals

// formal: NAME [direction] — shares the type of the formal before it
void bare_formal(TreeContext& c) {
  auto direction = c.view.rhs_length() == 2 ? static_cast<Direction>(c.rhs(2).detail) : Direction::none;
  c.result().node = make(c, Kind::formal, kNone, defining(c, c.rhs(1).node, direction));
}
namespace {
// A formal type entry's detail: kModeGiven and the FormalMode, when VAL, RESULT or SHARED stood
// before the type.
constexpr std::uint8_t kModeGiven = 0x40;
void formal_type_with_mode(TreeContext& c, FormalMode mode) {
  c.result().node = c.rhs(2).node;
  c.result().detail = kModeGiven | static_cast<std::uint8_t>(mode);
}
}  // namespace

// formal_type: RESULT NAME direction — an end of a CHAN TYPE
void result_channel_end_type(TreeContext& c) {
  c.result().node = make(c, Kind::unsupported_type, 0, 0, static_cast<std::uint8_t>(Construct::channel_end));
  c.result().detail = kModeGiven | static_cast<std::uint8_t>(FormalMode::result);
}

// formal: formal_type NAME [direction]
void formal(TreeContext& c) {
  auto direction = c.view.rhs_length() == 3 ? static_cast<Direction>(c.rhs(3).detail) : Direction::none;
  std::uint8_t type_detail = c.rhs(1).detail;
  std::uint8_t mode = (type_detail & kModeGiven) ? (type_detail & 3) : static_cast<std::uint8_t>(FormalMode::reference);
  c.result().node = make(c, Kind::formal, c.rhs(1).node, defining(c, c.rhs(2).node, direction), mode);
}
// formal_type: VAL type | RESULT type | SHARED type
void val_formal_type(TreeContext& c) { formal_type_with_mode(c, FormalMode::val); }
void result_formal_type(TreeContext& c) { formal_type_with_mode(c, FormalMode::result); }
void shared_formal_type(TreeContext& c) { formal_type_with_mode(c, FormalMode::shared); }

}  // namespace vrk::occam2::actions
