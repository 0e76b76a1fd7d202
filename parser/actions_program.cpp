// Actions at the top of the grammar: the start of the program, the end of every simple process,
// procedure calls, the end of a declaration, and recovery after a syntax error.
#include <string>

#include "parser/actions.h"

namespace vrk::actions {

namespace {
constexpr string::rep kStatementEnd = VRK_STATIC_TEXT(";\n");
constexpr string::rep kEmptyCallEnd = VRK_STATIC_TEXT(" ();\n");
constexpr string::rep kArgumentsOpen = VRK_STATIC_TEXT(" (");
constexpr string::rep kCallEnd = VRK_STATIC_TEXT(");\n");
constexpr string::rep kDeclarationEnd = VRK_STATIC_TEXT(";\n\n");

// Neither a half-read array dimension nor a half-read channel type may swallow later lines.
void clear_declaration_switches(ActionContext& c) {
  c.translation.capture.name_switch = false;
  c.translation.declarations.ram_rewrite = false;
}
}  // namespace

// {2}: the two header templates go straight to the output file; the Fragment list starts with the
// CONSTs area and the opening of main.
void start_program(ActionContext& c) {
  TranslationState& t = c.translation;
  std::string problem = t.templates.write_opening(t.output);
  if (!problem.empty()) return t.stop(ExitStatus::unusable_input, problem);
  t.begin_early_writing();
}

// process: primitive_process eols
void end_primitive_process(ActionContext& c) { append(c, kStatementEnd); }

// {5}: process: NAME {5} eols
void call_name(ActionContext& c) { append(c, current_token_text(c)); }

// process: NAME {5} eols — a call without arguments is a complete statement too.
void end_call_without_arguments(ActionContext& c) { append(c, kEmptyCallEnd); }

// {7}: process: NAME '(' {7} actual_list ')' eols
void open_call_arguments(ActionContext& c) {
  c.translation.fragments.append(string(string(current_token_text(c)), string(kArgumentsOpen)));
}

// process: NAME '(' {7} actual_list ')' eols
void end_call_with_arguments(ActionContext& c) { append(c, kCallEnd); }

// {10}: process: declaration {10} eols process
void end_declaration(ActionContext& c) {
  append(c, kDeclarationEnd);
  clear_declaration_switches(c);
}

// process: error eols — the engine's recovery is complete.
void recover_from_error(ActionContext& c) {
  c.stack.end_error_recovery();
  clear_declaration_switches(c);
  c.translation.declarations.channel_declaration = false;
}

}  // namespace vrk::actions
