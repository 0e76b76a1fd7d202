// Translation actions, grouped by construct; `run_action` (actions.cpp) dispatches by rule number.
//
// Every action appends Handel-C text to the tail of the Fragment list, in the order in which the
// parse reaches it, reading the scanner's token texts and the translation's switches. Openers come
// from embedded actions right after a construct's keyword or the INDENT of its body, closers from
// the rule that completes the construct.
#pragma once

#include <string_view>

#include "driver/translation.h"
#include "parser/engine.h"
#include "support/string.h"

namespace vrk::actions {

inline void append(ActionContext& c, const string::rep& fixed_text) { c.translation.fragments.append(string(fixed_text)); }
inline void append(ActionContext& c, std::string_view text) {
  c.translation.fragments.append(c.translation.texts.get(text));
}
inline std::string_view current_token_text(ActionContext& c) { return c.translation.scanner.current_token_text(); }
inline std::string_view operator_text(ActionContext& c) { return c.translation.scanner.operator_text(); }

// Reports a construct without Handel-C counterpart, whose banner the action writes, at the k-th
// symbol of the rule.
inline void report_unsupported(ActionContext& c, int k, std::string_view construct) {
  c.translation.streams.unsupported(c.rhs_position(k), construct);
}
// Reports the construct whose error banner a scanner token text holds in place of a translation.
inline void report_banner_in(ActionContext& c, std::string_view token_text, const BannerOrigin& origin) {
  if (is_error_banner(token_text)) c.translation.streams.unsupported(origin.position, origin.construct);
}

// Program, process endings, calls, declarations' terminator, error recovery.
void start_program(ActionContext& c);
void end_primitive_process(ActionContext& c);
void call_name(ActionContext& c);
void end_call_without_arguments(ActionContext& c);
void open_call_arguments(ActionContext& c);
void end_call_with_arguments(ActionContext& c);
void end_declaration(ActionContext& c);
void recover_from_error(ActionContext& c);

// SEQ, PAR and replicators.
// True when the nearest block enclosing stack entry `index` is a PAR body (plain or replicated).
bool nearest_block_is_par_body(ParseStack& stack, int index);
void close_seq(ActionContext& c);
void open_replicated_seq(ActionContext& c);
void close_replicated_seq(ActionContext& c);
void open_par_body(ActionContext& c);
void close_par(ActionContext& c);
void mark_replicated_par_start(ActionContext& c);
void mark_replicated_par_body(ActionContext& c);
void close_replicated_par(ActionContext& c);
void begin_replicator(ActionContext& c);
void begin_replicator_count(ActionContext& c);
void complete_replicator(ActionContext& c);
void end_replicator_base(ActionContext& c);
void end_replicator_count(ActionContext& c);

// IF, ALT, WHILE and CASE.
void open_if(ActionContext& c);
void close_if(ActionContext& c);
void close_replicated_if(ActionContext& c);
void open_choice_process(ActionContext& c);
void close_choice(ActionContext& c);
void open_alt(ActionContext& c);
void close_alt(ActionContext& c);
void close_replicated_alt(ActionContext& c);
void end_alternative(ActionContext& c);
void mark_guard_condition(ActionContext& c);
void end_guarded_input_or_delay(ActionContext& c);
void end_plain_input_or_delay_guard(ActionContext& c);
void end_skip_guard(ActionContext& c);
void open_while(ActionContext& c);
void end_while_condition(ActionContext& c);
void open_while_body(ActionContext& c);
void close_while(ActionContext& c);
void open_case(ActionContext& c);
void end_case_selector(ActionContext& c);
void close_case(ActionContext& c);
void open_case_default(ActionContext& c);
void close_case_block(ActionContext& c);
void open_case_option(ActionContext& c);
void close_further_case_option(ActionContext& c);

// Declarations.
void end_name_list(ActionContext& c);
void declared_name(ActionContext& c);
void separate_names(ActionContext& c);
void open_channel_type(ActionContext& c);
void close_channel_type(ActionContext& c);
void integer_type_word(ActionContext& c);
void floating_point_type(ActionContext& c);
void open_array_type(ActionContext& c);
void element_name(ActionContext& c);
void open_element_subscript(ActionContext& c);
void close_element_subscript(ActionContext& c);

// Communication and primitive processes.
void assignment_operator(ActionContext& c);
void input_operator(ActionContext& c);
void output_operator(ActionContext& c);
void any_item(ActionContext& c);
void delay_keyword(ActionContext& c);
void skip_process(ActionContext& c);
void stop_process(ActionContext& c);
void protocol_separator(ActionContext& c);
void protocol_item_banner(ActionContext& c);
void variable_name(ActionContext& c);

// Expressions.
void argument_separator(ActionContext& c);
void open_subscript(ActionContext& c);
void close_subscript(ActionContext& c);
void monadic_operator(ActionContext& c);
void number_operand(ActionContext& c);
void boolean_operand(ActionContext& c);
void copy_current_token_text(ActionContext& c);
void character_operand(ActionContext& c);
void open_parenthesis(ActionContext& c);
void close_parenthesis(ActionContext& c);
void equals_operator(ActionContext& c);
void spaced_operator(ActionContext& c);
void name_operand(ActionContext& c);

}  // namespace vrk::actions
