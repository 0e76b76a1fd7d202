// Actions for IF, ALT, WHILE and CASE.
//
// The choices of one IF, with those of IFs nested as choices, form one chain: "if (" before the
// first condition and "\nelse if (" before every later one. The chain lives in the IF's own stack
// entry; a choice finds it by looking down the stack, stopping at the process of an enclosing
// choice or any other block, beyond which another IF's chain is not its own.
#include "parser/actions.h"

namespace vrk::actions {

namespace {
constexpr string::rep kIfOpen = VRK_STATIC_TEXT("if (");
constexpr string::rep kElseIfOpen = VRK_STATIC_TEXT("\nelse if (");
constexpr string::rep kConditionEnd = VRK_STATIC_TEXT(")\n{\n");
constexpr string::rep kIfClose = VRK_STATIC_TEXT("\n}  /* if */");
constexpr string::rep kReplicatedIfBanner =
    VRK_STATIC_TEXT("\n\n##### Error: occam replicated IF not included yet in this vrk version ! #####\n\n");
constexpr string::rep kReplicatedAltBanner =
    VRK_STATIC_TEXT("\n\n##### Error: occam replicated ALT not included yet in this vrk version ! #####\n\n");
constexpr string::rep kAltOpen = VRK_STATIC_TEXT("prialt\n{\n\n");
constexpr string::rep kAltClose = VRK_STATIC_TEXT("}  /* prialt */\n");
constexpr string::rep kLineFeed = VRK_STATIC_TEXT("\n");
constexpr string::rep kGuardCondition = VRK_STATIC_TEXT(" $ ");
constexpr string::rep kGuardedEnd = VRK_STATIC_TEXT(":\n\n");
constexpr string::rep kPlainGuardEnd = VRK_STATIC_TEXT(":\n");
constexpr string::rep kSkipGuard = VRK_STATIC_TEXT("skip :\n\n");
constexpr string::rep kWhileOpen = VRK_STATIC_TEXT("while (");
constexpr string::rep kWhileConditionEnd = VRK_STATIC_TEXT(")");
constexpr string::rep kWhileBodyOpen = VRK_STATIC_TEXT("\n{\n");
constexpr string::rep kWhileClose = VRK_STATIC_TEXT("\n}  /* while */\n");
constexpr string::rep kCaseOpen = VRK_STATIC_TEXT("case (");
constexpr string::rep kBlockEnd = VRK_STATIC_TEXT("}\n");
constexpr string::rep kDefaultOpen = VRK_STATIC_TEXT("\ndefault:\n{\n");
constexpr string::rep kOptionOpen = VRK_STATIC_TEXT(":\n{\n");
constexpr string::rep kFurtherOptionEnd = VRK_STATIC_TEXT("}");

// The stack entry of the IF whose chain a choice at `index` belongs to, or -1 when it belongs to
// none (a replicated IF's choice).
int owning_if_chain(ActionContext& c, int index) {
  for (int i = index; i >= 0; --i) {
    switch (c.stack.slot(i).kind) {
      case SlotKind::if_chain:
        return i;
      case SlotKind::choice_process:
      case SlotKind::par_body:
        return -1;
      case SlotKind::none:
      case SlotKind::replicated_seq:
        break;
    }
  }
  return -1;
}
}  // namespace

// {29}: construct: IF eols INDENT {29} choice_list OUTDENT
void open_if(ActionContext& c) {
  append(c, kIfOpen);
  c.result.kind = SlotKind::if_chain;
  c.result.node = c.translation.fragments.last();
  c.result.flag = false;  // no condition yet
}

// construct: IF eols INDENT {29} choice_list OUTDENT
// An IF whose chain holds no condition (only empty nested IFs) takes its "if (" back.
void close_if(ActionContext& c) {
  Slot& chain = c.rhs(4);
  if (chain.flag) return;
  FragmentList& fragments = c.translation.fragments;
  bool cursor_on_it = fragments.cursor() == chain.node;
  fragments.remove(chain.node);
  if (cursor_on_it) fragments.set_cursor(fragments.last());
}

// construct: IF replicator eols INDENT choice OUTDENT; choice: IF replicator eols INDENT choice OUTDENT
void close_replicated_if(ActionContext& c) {
  report_unsupported(c, 1, "a replicated IF");
  append(c, kReplicatedIfBanner);
}

// {69}: after the INDENT that opens a choice's process.
void open_choice_process(ActionContext& c) {
  append(c, kConditionEnd);
  c.result.kind = SlotKind::choice_process;
}

// choice: expression eols INDENT {69} process OUTDENT
// A later choice of a chain gets "\nelse if (" before its condition, that is after what stood last
// when the entry below the choice was pushed (the previous choice's closer, or the comment lines
// before a nested IF's first choice).
void close_choice(ActionContext& c) {
  append(c, kIfClose);
  int owner = owning_if_chain(c, c.below());
  if (owner < 0) return;
  Slot& chain = c.stack.slot(owner);
  if (!chain.flag) {
    chain.flag = true;  // the first condition follows the IF's own "if ("
    return;
  }
  FragmentList& fragments = c.translation.fragments;
  fragments.insert_after(c.stack.slot(c.below()).tail, string(kElseIfOpen));
  fragments.set_cursor(fragments.last());
}

// {33}: construct: ALT eols INDENT {33} alternative_list OUTDENT
void open_alt(ActionContext& c) { append(c, kAltOpen); }

// construct: ALT eols INDENT {33} alternative_list OUTDENT
void close_alt(ActionContext& c) { append(c, kAltClose); }

// construct: ALT replicator eols INDENT alternative OUTDENT; alternative: ALT replicator ...
void close_replicated_alt(ActionContext& c) {
  report_unsupported(c, 1, "a replicated ALT");
  append(c, kReplicatedAltBanner);
}

// alternative_list: alternative; alternative_list alternative
void end_alternative(ActionContext& c) { append(c, kLineFeed); }

// {78}, {81}, {84}: after the '&' of a guard.
void mark_guard_condition(ActionContext& c) { append(c, kGuardCondition); }

// guard: expression '&' {78} input; guard: expression '&' {81} delay
void end_guarded_input_or_delay(ActionContext& c) { append(c, kGuardedEnd); }

// guard: input; guard: delay
void end_plain_input_or_delay_guard(ActionContext& c) { append(c, kPlainGuardEnd); }

// guard: expression '&' {84} SKIP; guard: SKIP
void end_skip_guard(ActionContext& c) { append(c, kSkipGuard); }

// {37}: construct: WHILE {37} expression eols {38} INDENT {39} process OUTDENT
void open_while(ActionContext& c) { append(c, kWhileOpen); }
// {38}
void end_while_condition(ActionContext& c) { append(c, kWhileConditionEnd); }
// {39}
void open_while_body(ActionContext& c) { append(c, kWhileBodyOpen); }
// construct: WHILE {37} expression eols {38} INDENT {39} process OUTDENT
void close_while(ActionContext& c) { append(c, kWhileClose); }

// {41}: construct: CASE {41} expression {42} eols case_body
void open_case(ActionContext& c) { append(c, kCaseOpen); }
// {42}
void end_case_selector(ActionContext& c) { append(c, kConditionEnd); }
// construct: CASE {41} expression {42} eols case_body
void close_case(ActionContext& c) { append(c, kBlockEnd); }
// {47}: case_tail: ELSE eols {47} INDENT process {48} OUTDENT OUTDENT
void open_case_default(ActionContext& c) { append(c, kDefaultOpen); }
// {48}, {59}: after the ELSE option's or the first option's process.
void close_case_block(ActionContext& c) { append(c, kBlockEnd); }
// {58}, {61}: after an option's value line.
void open_case_option(ActionContext& c) { append(c, kOptionOpen); }
// {62}: after a further option's process: the next option follows on the same line.
void close_further_case_option(ActionContext& c) { append(c, kFurtherOptionEnd); }

}  // namespace vrk::actions
