// Actions for the primitive processes: assignment, channel input and output (with ANY and
// sequential protocols), WAIT, SKIP and STOP.
#include "parser/actions.h"

namespace vrk::actions {

namespace {
constexpr string::rep kAssign = VRK_STATIC_TEXT(" = ");
constexpr string::rep kInput = VRK_STATIC_TEXT(" ? ");
constexpr string::rep kOutput = VRK_STATIC_TEXT(" ! ");
constexpr string::rep kAny = VRK_STATIC_TEXT("ANY");
constexpr string::rep kDelay = VRK_STATIC_TEXT("delay");
constexpr string::rep kSkip = VRK_STATIC_TEXT("skip");
constexpr string::rep kStop = VRK_STATIC_TEXT("stop");
constexpr string::rep kProtocolSeparator = VRK_STATIC_TEXT(";");
constexpr string::rep kProtocolBanner = VRK_STATIC_TEXT(
    "\n\n##### Error: This protocol is not valid in Handel-C language. You should use only one variable per "
    "channel #####\n\n");
}  // namespace

// {111}: assignment: variable {111} ':' '=' expression
void assignment_operator(ActionContext& c) { append(c, kAssign); }
// {113}: input: element '?' {113} input_list; {115}: input: element '?' {115} ANY
void input_operator(ActionContext& c) { append(c, kInput); }
// {117}: output: element '!' {117} output_list; {119}: output: element '!' {119} ANY
void output_operator(ActionContext& c) { append(c, kOutput); }
// input: element '?' {115} ANY; output: element '!' {119} ANY
void any_item(ActionContext& c) { append(c, kAny); }
// {121}: delay: WAIT {121} expression
void delay_keyword(ActionContext& c) { append(c, kDelay); }
// skip_process: SKIP
void skip_process(ActionContext& c) { append(c, kSkip); }
// stop_process: STOP
void stop_process(ActionContext& c) { append(c, kStop); }
// {126}: input_list: input_list ';' {126} variable; {129}: output_list: output_list ';' {129} expression
void protocol_separator(ActionContext& c) { append(c, kProtocolSeparator); }
// input_list: input_list ';' {126} variable; output_list: output_list ';' {129} expression
// Handel-C channels carry one value per communication.
void protocol_item_banner(ActionContext& c) {
  report_unsupported(c, 4, "a channel protocol of several items");
  append(c, kProtocolBanner);
}
// variable: NAME; {147}: variable: NAME {147} subscript
void variable_name(ActionContext& c) { append(c, current_token_text(c)); }

}  // namespace vrk::actions
