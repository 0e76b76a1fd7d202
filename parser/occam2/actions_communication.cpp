// Assignments, communication and calls, in the default mode's form: "x = e", "c ? x", "c ! e",
// "p (a, b)". Handel-C channels carry one value per communication.
#include "output/banners.h"
#include "parser/occam2/actions.h"

namespace vrk::occam2::actions {

namespace {

// A channel given by a subscripted name: Handel-C has no arrays of channels.
Text channel_text(Occam2Context& c, Entry& channel) {
  if (channel.note != Note::subscripted) return channel.text;
  report(c, 1, "an array of channels (a subscripted name here)");
  return c.join(channel.text, banners::text_of(banners::kChannelArray));
}

// The items of an input or output: one, or several separated by ";", each further one a banner.
Text communication_items(Occam2Context& c, Entry& items, int k) {
  Text text;
  bool first = true;
  c.state.each(items.list, [&](Cell& item) {
    if (first) {
      text = item.item;
      first = false;
      return;
    }
    report(c, k, "a channel protocol of several items");
    text = c.join(text, ";", item.item);
    text = c.join(text, banners::text_of(banners::kProtocol));
  });
  return text;
}

bool is_timer(Occam2Context& c, const Entry& element) {
  return !c.state.timers.empty() && c.state.timers.contains(c.str(element.text));
}

}  // namespace

// assignment: element ASSIGN expression_list
void assignment(Occam2Context& c) {
  Entry& values = c.rhs(3);
  if (values.list.count != 1) return banner(c, 1, "assignment of several values to one variable");
  c.result().text = c.join(c.rhs(1).text, " = ", joined(c, values.list));
}

// assignment: element ',' element_list ASSIGN expression_list — occam assigns all at once, as
// the assignments of one par do.
void multiple_assignment(Occam2Context& c) {
  List targets;
  c.state.push(targets, c.rhs(1).text);
  targets = c.state.concat(targets, c.rhs(3).list);
  Entry& values = c.rhs(5);
  if (values.list.count != targets.count) return banner(c, 1, "multiple assignment from a FUNCTION");
  std::vector<Text> sources;
  c.state.each(values.list, [&](Cell& value) { sources.push_back(value.item); });
  Text text = c.lit("par\n{\n");
  std::size_t i = 0;
  c.state.each(targets, [&](Cell& target) {
    text = c.join(text, target.item, " = ");
    text = c.join(text, sources[i++], ";\n");
  });
  c.result().text = c.join(text, "}  /* par */\n");
  c.result().shape = Shape::statement;
}

// input: element '?' input_items
void input(Occam2Context& c) {
  if (is_timer(c, c.rhs(1))) return banner(c, 1, "timer input");
  Text channel = channel_text(c, c.rhs(1));
  c.result().text = c.join(channel, " ? ", communication_items(c, c.rhs(3), 3));
}

// input: element '?' AFTER expression
void delayed_input(Occam2Context& c) { banner(c, 1, "AFTER delay on a timer"); }
// input: element '?' CASE NAME ...
void tagged_input(Occam2Context& c) { banner(c, 1, "CASE input"); }
// input_item: element COUNTED element; output_item: expression COUNTED expression
void counted_item(Occam2Context& c) { banner(c, 1, "counted array communication"); }

// output: element '!' output_items
void output(Occam2Context& c) {
  Text channel = channel_text(c, c.rhs(1));
  c.result().text = c.join(channel, " ! ", communication_items(c, c.rhs(3), 3));
}

// instance: NAME '(' ')' — "p ()"
void call_without_arguments(Occam2Context& c) { c.result().text = c.join(c.rhs(1).text, " ()"); }

// instance: NAME '(' actuals ')' — directions on channel actuals are dropped.
void call_with_arguments(Occam2Context& c) {
  c.result().text = c.join(c.join(c.rhs(1).text, " ("), comma_separated(c, c.rhs(3).list), ")");
}

// operand: NAME '(' ')' | NAME '(' expression_list ')' — a FUNCTION call, or a conversion to a
// named type, which reads the same.
void function_call(Occam2Context& c) {
  Text arguments = c.view.rhs_length() == 4 ? comma_separated(c, c.rhs(3).list) : Text{};
  c.result().text = c.join(c.join(c.rhs(1).text, " ("), arguments, ")");
}

}  // namespace vrk::occam2::actions
