// Assignments, communication and calls, in the default mode's form: "x = e", "c ? x", "c ! e",
// "p (a, b)". Handel-C channels carry one value per communication.
#include "output/banners.h"
#include "parser/occam2/actions.h"

namespace vrk::occam2::actions {

namespace {

constexpr std::string_view kSubscripted = "subscripted";

// A channel given by a subscripted name: Handel-C has no arrays of channels.
std::string channel_text(Occam2Context& c, Entry& channel) {
  if (channel.note != kSubscripted) return std::move(channel.text);
  report(c, 1, "an array of channels (a subscripted name here)");
  return channel.text + std::string(banners::text_of(banners::kChannelArray));
}

// The items of an input or output: one, or several separated by ";", each further one a banner.
std::string communication_items(Occam2Context& c, Entry& items, int k) {
  std::string text = std::move(items.items[0]);
  for (std::size_t i = 1; i < items.items.size(); ++i) {
    report(c, k, "a channel protocol of several items");
    text += ";";
    text += items.items[i];
    text += banners::text_of(banners::kProtocol);
  }
  return text;
}

std::string argument_list(const Entry& arguments) {
  std::string text;
  for (std::size_t i = 0; i < arguments.items.size(); ++i) {
    if (i > 0) text += ", ";
    text += arguments.items[i];
  }
  return text;
}

bool is_timer(Occam2Context& c, const Entry& element) { return c.state.timers.contains(element.text); }

}  // namespace

// assignment: element ASSIGN expression_list
void assignment(Occam2Context& c) {
  Entry& values = c.rhs(3);
  if (values.items.size() != 1) return banner(c, 1, "assignment of several values to one variable");
  c.result().text = std::move(c.rhs(1).text) + " = " + values.items[0];
}

// assignment: element ',' element_list ASSIGN expression_list — occam assigns all at once, as
// the assignments of one par do.
void multiple_assignment(Occam2Context& c) {
  std::vector<std::string> targets{std::move(c.rhs(1).text)};
  for (std::string& target : c.rhs(3).items) targets.push_back(std::move(target));
  Entry& values = c.rhs(5);
  if (values.items.size() != targets.size()) return banner(c, 1, "multiple assignment from a FUNCTION");
  std::string text = "par\n{\n";
  for (std::size_t i = 0; i < targets.size(); ++i) text += targets[i] + " = " + values.items[i] + ";\n";
  text += "}  /* par */\n";
  c.result().text = std::move(text);
  c.result().shape = Shape::statement;
}

// input: element '?' input_items
void input(Occam2Context& c) {
  if (is_timer(c, c.rhs(1))) return banner(c, 1, "timer input");
  std::string text = channel_text(c, c.rhs(1));
  text += " ? ";
  text += communication_items(c, c.rhs(3), 3);
  c.result().text = std::move(text);
}

// input: element '?' AFTER expression
void delayed_input(Occam2Context& c) { banner(c, 1, "AFTER delay on a timer"); }
// input: element '?' CASE NAME ...
void tagged_input(Occam2Context& c) { banner(c, 1, "CASE input"); }
// input_item: element COUNTED element; output_item: expression COUNTED expression
void counted_item(Occam2Context& c) { banner(c, 1, "counted array communication"); }

// output: element '!' output_items
void output(Occam2Context& c) {
  std::string text = channel_text(c, c.rhs(1));
  text += " ! ";
  text += communication_items(c, c.rhs(3), 3);
  c.result().text = std::move(text);
}

// instance: NAME '(' ')' — "p ()"
void call_without_arguments(Occam2Context& c) { c.result().text = std::move(c.rhs(1).text) + " ()"; }

// instance: NAME '(' actuals ')' — directions on channel actuals are dropped.
void call_with_arguments(Occam2Context& c) {
  c.result().text = std::move(c.rhs(1).text) + " (" + argument_list(c.rhs(3)) + ")";
}

// operand: NAME '(' ')' | NAME '(' expression_list ')' — a FUNCTION call, or a conversion to a
// named type, which reads the same.
void function_call(Occam2Context& c) {
  std::string arguments = c.view.rhs_length() == 4 ? argument_list(c.rhs(3)) : std::string();
  c.result().text = std::move(c.rhs(1).text) + " (" + arguments + ")";
}

}  // namespace vrk::occam2::actions
