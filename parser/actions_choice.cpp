// Actions for IF, ALT, WHILE and CASE.
//
// The choices of one IF, with those of IFs nested as choices, form one chain: "if (" before the
// first condition and "\nelse if (" before every later one. A replicated IF owns a chain too, but
// has no "if (" of its own. The chain lives in the IF's own stack entry (a replicated IF's in its
// replicator's); a choice finds it by looking down the stack, stopping at the process of an
// enclosing choice or a PAR body, beyond which another IF's chain is not its own. A later
// condition gets its "\nelse if (" as soon as its first token is taken, so the text stands before
// the condition even when a syntax error cuts the choice short.
#include "output/banners.h"
#include "parser/actions.h"

namespace vrk::actions {

namespace {
constexpr string::rep kIfOpen = VRK_STATIC_TEXT("if (");
constexpr string::rep kElseIfOpen = VRK_STATIC_TEXT("\nelse if (");
constexpr string::rep kConditionEnd = VRK_STATIC_TEXT(")\n{\n");
constexpr string::rep kIfClose = VRK_STATIC_TEXT("\n}  /* if */");
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
}  // namespace

// The stack entry of the IF chain that a choice above entry `index` belongs to, or -1 when it
// belongs to none.
int owning_if_chain(ActionContext& c, int index) {
  for (int i = index; i >= 0; --i) {
    const ParseEntry& entry = c.stack.entry(i);
    if (entry.is(MarkKind::if_chain)) return i;
    if (entry.is(MarkKind::choice_process) || entry.is(MarkKind::par_body)) return -1;
  }
  return -1;
}

namespace {
// True when a choice begins right above stack entry `index`: after an IF's opener {29}, after the
// choices of a chain so far, or after the INDENT of a nested or replicated IF's body.
bool choice_begins_above(ActionContext& c, int index) {
  if (index < 0) return false;
  const ParseEntry& entry = c.stack.entry(index);
  if (entry.is(MarkKind::if_chain) && entry.kept != nullptr) return true;
  int symbol = c.stack.accessing_symbol(index);
  if (symbol == -symbol::choice_list) return true;
  if (symbol != token::INDENT || index < 2 || c.stack.accessing_symbol(index - 1) != -symbol::eols) return false;
  int before_eols = c.stack.accessing_symbol(index - 2);
  if (before_eols == token::IF) return true;
  return before_eols == -symbol::replicator && index >= 3 && c.stack.accessing_symbol(index - 3) == token::IF;
}

// The first token of a condition was taken: a later condition of the chain gets "\nelse if ("
// before it, after what stood last when the entry below was pushed (the previous choice's closer,
// or the comment lines before a nested IF's first choice).
void begin_condition(ActionContext& c) {
  int owner = owning_if_chain(c, c.below());
  if (owner < 0) return;
  ParseEntry& chain = c.stack.entry(owner);
  if (!chain.has_condition) {
    chain.has_condition = true;  // the first condition follows the IF's own "if (", if any
    return;
  }
  FragmentList& fragments = c.translation.fragments;
  fragments.insert_after(c.stack.entry(c.below()).tail, string(kElseIfOpen));
  fragments.set_cursor(fragments.last());
}
}  // namespace

void begin_condition_if_choice_starts(ActionContext& c) {
  int symbol = c.stack.accessing_symbol(c.below() + 1);
  // Where a choice may begin, any token but IF (a nested IF), OUTDENT (the end of the IF's body)
  // and `error` begins a condition.
  bool condition_token = symbol != token::IF && symbol != token::OUTDENT && symbol != token::ERROR_TOKEN;
  if (condition_token && choice_begins_above(c, c.below())) begin_condition(c);
}

// {29}: construct: IF eols INDENT {29} choice_list OUTDENT
void open_if(ActionContext& c) {
  append(c, kIfOpen);
  c.result().set_mark(MarkKind::if_chain, c.translation.fragments.last());
}

// construct: IF eols INDENT {29} choice_list OUTDENT
// An IF whose chain holds no condition (only empty nested IFs) takes its "if (" back.
void close_if(ActionContext& c) {
  const ParseEntry& chain = c.rhs(4);
  if (chain.has_condition) return;
  FragmentList& fragments = c.translation.fragments;
  bool cursor_on_it = fragments.cursor() == chain.kept;
  fragments.remove(chain.kept);
  if (cursor_on_it) fragments.set_cursor(fragments.last());
}

// construct: IF replicator eols INDENT choice OUTDENT; choice: IF replicator eols INDENT choice OUTDENT
void close_replicated_if(ActionContext& c) {
  report_unsupported(c, 1, "a replicated IF");
  append(c, banners::kReplicatedIf);
}

// {69}: after the INDENT that opens a choice's process.
void open_choice_process(ActionContext& c) {
  append(c, kConditionEnd);
  c.result().set_mark(MarkKind::choice_process);
}

// choice: expression eols INDENT {69} process OUTDENT
void close_choice(ActionContext& c) { append(c, kIfClose); }

// {33}: construct: ALT eols INDENT {33} alternative_list OUTDENT
void open_alt(ActionContext& c) { append(c, kAltOpen); }

// construct: ALT eols INDENT {33} alternative_list OUTDENT
void close_alt(ActionContext& c) { append(c, kAltClose); }

// construct: ALT replicator eols INDENT alternative OUTDENT; alternative: ALT replicator ...
void close_replicated_alt(ActionContext& c) {
  report_unsupported(c, 1, "a replicated ALT");
  append(c, banners::kReplicatedAlt);
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
