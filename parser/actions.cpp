// Dispatch of the translation actions by rule number. Each case names its production; {n} is the
// embedded action that is rule n. Rules without a case only reduce.
#include "parser/actions.h"

namespace vrk {

void run_action(int rule, ActionContext& c) {
  using namespace actions;
  switch (rule) {
    // Program, process endings and calls.
    case 2: return start_program(c);                  // {2}: before the program's first process
    case 4: return end_primitive_process(c);          // process: primitive_process eols
    case 5: return call_name(c);                      // {5}: process: NAME {5} eols
    case 6: return end_call_without_arguments(c);     // process: NAME {5} eols
    case 7: return open_call_arguments(c);            // {7}: process: NAME '(' {7} actual_list ')' eols
    case 8: return end_call_with_arguments(c);        // process: NAME '(' {7} actual_list ')' eols
    case 10: return end_declaration(c);               // {10}: process: declaration {10} eols process
    case 12: return recover_from_error(c);            // process: error eols

    // SEQ and PAR.
    case 19: return close_seq(c);                     // construct: SEQ eols INDENT process_list OUTDENT
    case 20: return open_replicated_seq(c);           // {20}: construct: SEQ {20} replicator eols INDENT process OUTDENT
    case 21: return close_replicated_seq(c);          // construct: SEQ {20} replicator eols INDENT process OUTDENT
    case 23: return open_par_body(c);                 // {23}: construct: PAR eols INDENT {23} process_list OUTDENT
    case 24: return close_par(c);                     // construct: PAR eols INDENT {23} process_list OUTDENT
    case 25: return mark_replicated_par_start(c);     // {25}: construct: PAR {25} replicator eols INDENT {26} process OUTDENT
    case 26: return mark_replicated_par_body(c);      // {26}
    case 27: return close_replicated_par(c);          // construct: PAR {25} replicator eols INDENT {26} process OUTDENT

    // IF.
    case 29: return open_if(c);                       // {29}: construct: IF eols INDENT {29} choice_list OUTDENT
    case 30: return close_if(c);                      // construct: IF eols INDENT {29} choice_list OUTDENT
    case 31: return close_replicated_if(c);           // construct: IF replicator eols INDENT choice OUTDENT
    case 69: return open_choice_process(c);           // {69}: choice: expression eols INDENT {69} process OUTDENT
    case 70: return close_choice(c);                  // choice: expression eols INDENT {69} process OUTDENT
    case 73: return close_replicated_if(c);           // choice: IF replicator eols INDENT choice OUTDENT

    // ALT.
    case 33: return open_alt(c);                      // {33}: construct: ALT eols INDENT {33} alternative_list OUTDENT
    case 34: return close_alt(c);                     // construct: ALT eols INDENT {33} alternative_list OUTDENT
    case 35: return close_replicated_alt(c);          // construct: ALT replicator eols INDENT alternative OUTDENT
    case 56: return end_alternative(c);               // alternative_list: alternative
    case 57: return end_alternative(c);               // alternative_list: alternative_list alternative
    case 77: return close_replicated_alt(c);          // alternative: ALT replicator eols INDENT alternative OUTDENT
    case 78: return mark_guard_condition(c);          // {78}: guard: expression '&' {78} input
    case 79: return end_guarded_input_or_delay(c);    // guard: expression '&' {78} input
    case 80: return end_plain_input_or_delay_guard(c);  // guard: input
    case 81: return mark_guard_condition(c);          // {81}: guard: expression '&' {81} delay
    case 82: return end_guarded_input_or_delay(c);    // guard: expression '&' {81} delay
    case 83: return end_plain_input_or_delay_guard(c);  // guard: delay
    case 84: return mark_guard_condition(c);          // {84}: guard: expression '&' {84} SKIP
    case 85: return end_skip_guard(c);                // guard: expression '&' {84} SKIP
    case 86: return end_skip_guard(c);                // guard: SKIP

    // WHILE and CASE.
    case 37: return open_while(c);                    // {37}: construct: WHILE {37} expression eols {38} INDENT {39} process OUTDENT
    case 38: return end_while_condition(c);           // {38}
    case 39: return open_while_body(c);               // {39}
    case 40: return close_while(c);                   // construct: WHILE {37} expression eols {38} INDENT {39} process OUTDENT
    case 41: return open_case(c);                     // {41}: construct: CASE {41} expression {42} eols case_body
    case 42: return end_case_selector(c);             // {42}
    case 43: return close_case(c);                    // construct: CASE {41} expression {42} eols case_body
    case 47: return open_case_default(c);             // {47}: case_tail: ELSE eols {47} INDENT process {48} OUTDENT OUTDENT
    case 48: return close_case_block(c);       // {48}
    case 58: return open_case_option(c);              // {58}: case_options: expression eols {58} INDENT process {59} OUTDENT
    case 59: return close_case_block(c);       // {59}
    case 61: return open_case_option(c);              // {61}: case_options: case_options expression eols {61} INDENT process {62} OUTDENT
    case 62: return close_further_case_option(c);     // {62}

    // Replicator.
    case 64: return begin_replicator(c);              // {64}: replicator: NAME {64} '=' replicator_base FOR {65} replicator_count
    case 65: return begin_replicator_count(c);        // {65}
    case 66: return complete_replicator(c);           // replicator: NAME {64} '=' replicator_base FOR {65} replicator_count
    case 67: return end_replicator_base(c);           // replicator_base: expression
    case 68: return end_replicator_count(c);          // replicator_count: expression

    // Declarations and types.
    case 87: return end_name_list(c);                 // {87}: declaration: type name_list {87} ':'
    case 90: return declared_name(c);                 // name_list: NAME
    case 91: return separate_names(c);                // {91}: name_list: name_list {91} list_separator NAME
    case 92: return declared_name(c);                 // name_list: name_list {91} list_separator NAME
    case 96: return open_channel_type(c);             // {96}: primitive_type: CHAN OF {96} type
    case 97: return close_channel_type(c);            // primitive_type: CHAN OF {96} type
    case 99:                                          // primitive_type: BOOL
    case 100:                                         // primitive_type: BYTE
    case 101:                                         // primitive_type: INT
    case 102:                                         // primitive_type: TYPE_296
    case 103:                                         // primitive_type: TYPE_297
    case 104: return integer_type_word(c);            // primitive_type: TYPE_298
    case 105:                                         // primitive_type: REAL32
    case 106: return floating_point_type(c);          // primitive_type: REAL64
    case 107: return open_array_type(c);              // {107}: array_type: '[' {107} expression ']' type
    case 138: return separate_names(c);               // {138}: element_list: element_list {138} ',' element
    case 149: return element_name(c);                 // element: NAME
    case 150: return element_name(c);                 // {150}: element: NAME {150} '[' {151} expression ']'
    case 151: return open_element_subscript(c);       // {151}
    case 152: return close_element_subscript(c);      // element: NAME {150} '[' {151} expression ']'

    // Communication and primitive processes.
    case 111: return assignment_operator(c);          // {111}: assignment: variable {111} ':' '=' expression
    case 113:                                         // {113}: input: element '?' {113} input_list
    case 115: return input_operator(c);               // {115}: input: element '?' {115} ANY
    case 116: return any_item(c);                     // input: element '?' {115} ANY
    case 117:                                         // {117}: output: element '!' {117} output_list
    case 119: return output_operator(c);              // {119}: output: element '!' {119} ANY
    case 120: return any_item(c);                     // output: element '!' {119} ANY
    case 121: return delay_keyword(c);                // {121}: delay: WAIT {121} expression
    case 123: return skip_process(c);                 // skip_process: SKIP
    case 124: return stop_process(c);                 // stop_process: STOP
    case 126: return protocol_separator(c);           // {126}: input_list: input_list ';' {126} variable
    case 127: return protocol_item_banner(c);         // input_list: input_list ';' {126} variable
    case 129: return protocol_separator(c);           // {129}: output_list: output_list ';' {129} expression
    case 130: return protocol_item_banner(c);         // output_list: output_list ';' {129} expression
    case 146: return variable_name(c);                // variable: NAME
    case 147: return variable_name(c);                // {147}: variable: NAME {147} subscript

    // Expressions.
    case 132: return argument_separator(c);           // {132}: actual_list: actual_list ',' {132} expression
    case 157: return open_subscript(c);               // {157}: subscript: '[' {157} expression ']'
    case 158: return close_subscript(c);              // subscript: '[' {157} expression ']'
    case 175:                                         // monadic_operator: '-'
    case 176: return monadic_operator(c);             // monadic_operator: NOT
    case 177: return number_operand(c);               // operand: NUMBER
    case 178: return boolean_operand(c);              // operand: BOOLEAN
    case 179: return copy_current_token_text(c);         // operand: NOW
    case 180: return character_operand(c);            // operand: CHARACTER
    case 181: return open_parenthesis(c);             // {181}: operand: '(' {181} expression ')'
    case 182: return close_parenthesis(c);            // operand: '(' {181} expression ')'
    case 185: return copy_current_token_text(c);         // dyadic_operator: RELATIONAL_OP
    case 186: return equals_operator(c);              // dyadic_operator: '='
    case 187: return copy_current_token_text(c);         // dyadic_operator: SHIFT_OP
    case 188:                                         // associative_operator: '+'
    case 189:                                         // associative_operator: '*'
    case 190:                                         // associative_operator: BIT_OP
    case 191:                                         // associative_operator: LOGICAL_OP
    case 192:                                         // arithmetic_operator: '-'
    case 193:                                         // arithmetic_operator: '/'
    case 194: return spaced_operator(c);              // arithmetic_operator: '\\'
    case 195: return name_operand(c);                 // name_operand: NAME
    case 202:                                         // string_literal: STRING
    case 203: return copy_current_token_text(c);         // string_literal: string_literal eols STRING
    default: return;
  }
}

}  // namespace vrk
