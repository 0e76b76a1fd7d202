// Processes: SKIP and STOP, assignment, communication, calls, and the constructs (SEQ, PAR, IF,
// ALT, CASE, WHILE, VALOF, replicators), with the forms that are kept as unsupported nodes.
#include "occam2/parser/actions.h"
#include "occam2/scanner/tokens.h"

namespace vrk::occam2::actions {

namespace {
// A single element, or a list of several.
NodeId one_or_list(TreeContext& c, const Entry& list) {
  if (list.list_count == 1) return c.builder.pending(list.list_start);
  return list_of(c, list);
}
}  // namespace

void skip_process(TreeContext& c) { c.result().node = make(c, Kind::skip); }
void stop_process(TreeContext& c) { c.result().node = make(c, Kind::stop); }
void fork_process(TreeContext& c) { unsupported(c, Construct::fork); }
void sync_process(TreeContext& c) { unsupported(c, Construct::sync); }
void suspend_process(TreeContext& c) { unsupported(c, Construct::suspend); }

// assignment: element ASSIGN expression_list — one value, or the results of a FUNCTION call.
void assignment(TreeContext& c) {
  const Entry& values = c.rhs(3);
  if (values.list_count == 1) {
    c.result().node = make(c, Kind::assignment, c.rhs(1).node, c.builder.pending(values.list_start));
    return;
  }
  NodeId targets = c.tree().add_with_children(Kind::list, c.place(), std::span<const NodeId>(&c.rhs(1).node, 1));
  c.result().node = make(c, Kind::multiple_assignment, targets, list_of(c, values));
}

// assignment: element ',' element_list ASSIGN expression_list
void multiple_assignment(TreeContext& c) {
  NodeId values = list_of(c, c.rhs(5));
  NodeId targets = list_with_first(c, c.rhs(1).node, c.rhs(3));
  c.result().node = make(c, Kind::multiple_assignment, targets, values);
}

// input: element '?' input_items
void input(TreeContext& c) { c.result().node = make(c, Kind::input, c.rhs(1).node, one_or_list(c, c.rhs(3))); }
// input: element '?' AFTER expression
void delayed_input(TreeContext& c) { c.result().node = make(c, Kind::delayed_input, c.rhs(1).node, c.rhs(4).node); }
// input: element '?' CASE NAME [';' input_items]
void tagged_input(TreeContext& c) { unsupported(c, Construct::tagged_input); }
// input_item: element COUNTED element, and the output item alike
void counted_item(TreeContext& c) { unsupported(c, Construct::counted_array); }
// output: element '!' output_items
void output(TreeContext& c) { c.result().node = make(c, Kind::output, c.rhs(1).node, one_or_list(c, c.rhs(3))); }

// instance: NAME '(' ')'
void call_without_arguments(TreeContext& c) {
  NodeId actuals = c.tree().add_with_children(Kind::list, c.place(), std::span<const NodeId>());
  c.result().node = make(c, Kind::call, c.rhs(1).node, actuals);
}
// instance: NAME '(' actuals ')'
void call_with_arguments(TreeContext& c) { c.result().node = make(c, Kind::call, c.rhs(1).node, list_of(c, c.rhs(3))); }

// direction: '?' | '!'
void input_direction(TreeContext& c) { c.result().detail = static_cast<std::uint8_t>(Direction::input); }
void output_direction(TreeContext& c) { c.result().detail = static_cast<std::uint8_t>(Direction::output); }

// ---------------------------------------------------------------- constructs

// construct: SEQ EOL block
void seq(TreeContext& c) { c.result().node = make(c, Kind::seq, kNone, c.rhs(3).node); }
// construct: SEQ replicator EOL block
void replicated_seq(TreeContext& c) { c.result().node = make(c, Kind::seq, c.rhs(2).node, c.rhs(4).node); }
// construct: PAR EOL block
void par(TreeContext& c) { c.result().node = make(c, Kind::par, kNone, c.rhs(3).node); }
// construct: PRI PAR EOL block
void pri_par(TreeContext& c) { c.result().node = make(c, Kind::par, kNone, c.rhs(4).node, 1); }
// construct: PAR replicator EOL block
void replicated_par(TreeContext& c) { c.result().node = make(c, Kind::par, c.rhs(2).node, c.rhs(4).node); }
// construct: PRI PAR replicator EOL block
void pri_replicated_par(TreeContext& c) { c.result().node = make(c, Kind::par, c.rhs(3).node, c.rhs(5).node, 1); }
void placed_par(TreeContext& c) { unsupported(c, Construct::placed_par); }
void enrolled_par(TreeContext& c) { unsupported(c, Construct::enrolled_par); }
void barrier_par(TreeContext& c) { unsupported(c, Construct::barrier_par); }
void processor(TreeContext& c) { unsupported(c, Construct::processor); }

// construct: IF EOL choice_block; choice: IF EOL choice_block
void if_construct(TreeContext& c) { c.result().node = make(c, Kind::if_process, kNone, c.rhs(3).node); }
// construct: IF replicator EOL choice_block
void replicated_if(TreeContext& c) { c.result().node = make(c, Kind::if_process, c.rhs(2).node, c.rhs(4).node); }
// construct: ALT EOL alternative_block, and as an alternative
void alt(TreeContext& c) { c.result().node = make(c, Kind::alt, kNone, c.rhs(3).node); }
void pri_alt(TreeContext& c) { c.result().node = make(c, Kind::alt, kNone, c.rhs(4).node, 1); }
void replicated_alt(TreeContext& c) { c.result().node = make(c, Kind::alt, c.rhs(2).node, c.rhs(4).node); }
void pri_replicated_alt(TreeContext& c) { c.result().node = make(c, Kind::alt, c.rhs(3).node, c.rhs(5).node, 1); }
// construct: CASE expression EOL option_block
void case_construct(TreeContext& c) { c.result().node = make(c, Kind::case_process, c.rhs(2).node, c.rhs(4).node); }
// construct: WHILE expression EOL block
void while_construct(TreeContext& c) { c.result().node = make(c, Kind::while_process, c.rhs(2).node, c.rhs(4).node); }
void case_input(TreeContext& c) { unsupported(c, Construct::case_input); }
void extended_input(TreeContext& c) { unsupported(c, Construct::extended_input); }
void claim(TreeContext& c) { unsupported(c, Construct::claim); }
void forking(TreeContext& c) { unsupported(c, Construct::forking); }
void resign(TreeContext& c) { unsupported(c, Construct::resign); }
// alternative: [lead_expression '&'] SYNC element EOL block
void sync_alternative(TreeContext& c) { unsupported(c, Construct::sync); }
// construct: NAME EOL asm_block — ASM or GUY and their instructions; any other name alone on a
// line is no process, and what follows it is dropped.
void asm_construct(TreeContext& c) {
  std::string_view word = c.tree().name_of(c.rhs(1).node);
  if (word == "ASM" || word == "GUY") return unsupported(c, Construct::asm_code);
  c.builder.syntax_error(c.rhs(2).place, token::EOL, "\n");
  c.result().node = kNone;
}

// construct: VALOF EOL INDENT items RESULT expression_list EOL OUTDENT
void valof(TreeContext& c) {
  NodeId results = list_of(c, c.rhs(6));
  c.result().node = make(c, Kind::valof, list_of(c, c.rhs(4)), results);
}

// replicator: NAME '=' expression FOR expression
void replicator(TreeContext& c) {
  c.result().node = make_slots(c, Kind::replicator, {defining(c, c.rhs(1).node), c.rhs(3).node, c.rhs(5).node, kNone});
}
// replicator: NAME '=' expression FOR expression STEP expression
void stepped_replicator(TreeContext& c) {
  c.result().node =
      make_slots(c, Kind::replicator, {defining(c, c.rhs(1).node), c.rhs(3).node, c.rhs(5).node, c.rhs(7).node});
}

// choice: lead_expression EOL block
void choice(TreeContext& c) { c.result().node = make(c, Kind::choice, c.rhs(1).node, c.rhs(3).node); }

// alternative: guard EOL block — the guard made the alternative; the body completes it.
void alternative(TreeContext& c) {
  NodeId made = c.rhs(1).node;
  c.tree().set_child(made, 2, c.rhs(3).node);
  c.result().node = made;
}
// guard: input
void plain_guard(TreeContext& c) { c.result().node = make_slots(c, Kind::alternative, {kNone, c.rhs(1).node, kNone}); }
// guard: lead_expression '&' input
void conditional_guard(TreeContext& c) {
  c.result().node = make_slots(c, Kind::alternative, {c.rhs(1).node, c.rhs(3).node, kNone});
}
// guard: lead_expression '&' SKIP
void conditional_skip_guard(TreeContext& c) {
  NodeId skip = c.tree().add(Kind::skip, c.rhs(3).place);
  c.result().node = make_slots(c, Kind::alternative, {c.rhs(1).node, skip, kNone});
}
// guard: SKIP
void skip_guard(TreeContext& c) {
  NodeId skip = c.tree().add(Kind::skip, c.rhs(1).place);
  c.result().node = make_slots(c, Kind::alternative, {kNone, skip, kNone});
}

// option: lead_expression EOL block
void case_option(TreeContext& c) {
  NodeId labels = c.tree().add_with_children(Kind::list, c.place(), std::span<const NodeId>(&c.rhs(1).node, 1));
  c.result().node = make(c, Kind::option, labels, c.rhs(3).node);
}
// option: lead_expression ',' expression_list EOL block
void case_option_list(TreeContext& c) {
  NodeId labels = list_with_first(c, c.rhs(1).node, c.rhs(3));
  c.result().node = make(c, Kind::option, labels, c.rhs(5).node);
}
// option: type NAME EOL block — the conversion of NAME to the type
void conversion_option(TreeContext& c) {
  NodeId label = c.tree().add(Kind::conversion, c.place(), c.rhs(1).node, c.rhs(2).node);
  NodeId labels = c.tree().add_with_children(Kind::list, c.place(), std::span<const NodeId>(&label, 1));
  c.result().node = make(c, Kind::option, labels, c.rhs(4).node);
}
// option: ELSE EOL block
void else_option(TreeContext& c) { c.result().node = make(c, Kind::option, kNone, c.rhs(3).node); }

}  // namespace vrk::occam2::actions
