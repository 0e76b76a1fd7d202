// The program, bodies and lists, and the actions many rules share.
#include "parser/occam2/actions.h"
#include "scanner/occam2_tokens.h"

namespace vrk::occam2 {

bool Occam2Context::at_outermost_level() const {
  int below = view.below();
  return below == 0 || (below == 1 && view.accessing_symbol(1) == -symbol::items);
}

namespace actions {

std::string occam_banner(std::string_view construct) {
  std::string text = "\n\n##### Error: occam ";
  text += construct;
  text += " not included yet in this vrk version ! #####\n\n";
  return text;
}

void report(Occam2Context& c, int k, std::string_view construct) {
  c.state.diagnostics.unsupported(k > 0 ? c.rhs(k).position : c.result().position, construct);
}

void banner(Occam2Context& c, int k, std::string_view construct) {
  report(c, k, "the occam construct " + std::string(construct));
  Entry& result = c.result();
  result.text = occam_banner(construct);
  result.items.clear();
  result.bodies.clear();
  result.shape = Shape::plain;
}

std::string joined(Entry& list) {
  std::size_t size = list.text.size();
  for (const std::string& item : list.items) size += item.size();
  std::string text;
  text.reserve(size);
  text += list.text;
  for (const std::string& item : list.items) text += item;
  return text;
}

// Rules whose left-hand side is their first symbol as it stands.
void pass(Occam2Context& c) { c.result() = std::move(c.rhs(1)); }
// block: INDENT items OUTDENT, and the like.
void pass2(Occam2Context& c) { c.result() = std::move(c.rhs(2)); }
void nothing(Occam2Context&) {}

// program: %empty
void empty_program(Occam2Context&) {}

// program: items — the outermost level: what is not a definition goes into main.
void program(Occam2Context& c) {
  std::string body = joined(c.rhs(1));
  prepend_lead(c, body);
  c.state.main_body = std::move(body);
}

// items: item — a body is kept as the list of its items, so that a PAR can brace its SEQs.
void first_item(Occam2Context& c) {
  Entry& item = c.rhs(1);
  Entry& result = c.result();
  prepend_lead(c, item.text);
  result.position = item.position;
  result.shapes.push_back(item.shape);
  result.items.push_back(std::move(item.text));
}

// items: items item
void next_item(Occam2Context& c) {
  Entry& item = c.rhs(2);
  c.result() = std::move(c.rhs(1));
  c.result().shapes.push_back(item.shape);
  c.result().items.push_back(std::move(item.text));
}

// item: process — a process at the outermost level makes main more than a call of the last PROC.
void outermost_process(Occam2Context& c) {
  if (c.at_outermost_level()) c.state.outermost_process = true;
  pass(c);
}

// item: error EOL, and the same in every other kind of body: the engine's recovery is complete.
void recover_from_error(Occam2Context& c) { c.view.end_error_recovery(); }

// Lists whose elements are texts: names, expressions, actuals.
void first_of_list(Occam2Context& c) {
  Entry& first = c.rhs(1);
  Entry& result = c.result();
  prepend_lead(c, first.text);
  result.position = first.position;
  result.items.push_back(std::move(first.text));
}

void next_of_list(Occam2Context& c) {
  std::string next = std::move(c.rhs(3).text);
  c.result() = std::move(c.rhs(1));
  c.result().items.push_back(std::move(next));
}

// Lists of parts that each carry items of their own (the choices of an IF, the alternatives of an
// ALT, the options of a CASE): the parts' items are concatenated and their texts, which are the
// specifications before them, gathered in front.
void first_part(Occam2Context& c) {
  pass(c);
  prepend_lead(c, c.result().text);
}

void next_part(Occam2Context& c) {
  Entry part = std::move(c.rhs(2));
  Entry& result = c.result();
  result = std::move(c.rhs(1));
  result.text += part.text;
  for (std::string& item : part.items) result.items.push_back(std::move(item));
  for (std::string& body : part.bodies) result.bodies.push_back(std::move(body));
}

// Tokens whose Handel-C spelling is their text: a character, a string.
void token_text(Occam2Context& c) { pass(c); }

}  // namespace actions
}  // namespace vrk::occam2
