// The program, bodies and lists, and the actions many rules share.
#include <charconv>

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

bool integer_value(std::string_view text, long long& value) {
  int base = 10;
  if (text.starts_with("0x")) {
    text.remove_prefix(2);
    base = 16;
  }
  const char* last = text.data() + text.size();
  auto [end, error] = std::from_chars(text.data(), last, value, base);
  return error == std::errc() && end == last && !text.empty();
}

void report(Occam2Context& c, int k, std::string_view construct) {
  c.state.diagnostics.unsupported(k > 0 ? c.rhs(k).position : c.result().position, construct);
}

void banner(Occam2Context& c, int k, std::string_view construct) {
  report(c, k, "the occam construct " + std::string(construct));
  Entry& result = c.result();
  result.text = c.copy(occam_banner(construct));
  result.list = {};
  result.shape = Shape::plain;
}

Text joined(Occam2Context& c, const List& list) {
  Text text;
  c.state.each(list, [&](Cell& cell) { text = c.join(text, cell.item); });
  return text;
}

std::string comma_separated(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) {
    if (!text.empty()) text += ", ";
    text += name;
  }
  return text;
}

Text comma_separated(Occam2Context& c, const List& list) {
  Text text;
  bool first = true;
  c.state.each(list, [&](Cell& cell) {
    if (!first) text = c.join(text, ", ");
    text = c.join(text, cell.item);
    first = false;
  });
  return text;
}

void pass(Occam2Context& c) { c.result() = c.rhs(1); }
// block: INDENT items OUTDENT, and the like.
void pass2(Occam2Context& c) { c.result() = c.rhs(2); }
void nothing(Occam2Context&) {}

// program: %empty
void empty_program(Occam2Context&) {}

// program: items — the outermost level: what is not a definition goes into main.
void program(Occam2Context& c) {
  Text body = c.rhs(1).text;
  prepend_lead(c, body);
  c.state.main_body.append(c.rope(), body);
}

namespace {
// Whether the items that begin above stack entry `indent` form the body of a PAR (plain, PRI or
// replicated): PAR [replicator] EOL INDENT.
bool opens_par_body(Occam2Context& c, int indent) {
  if (indent < 2 || c.view.accessing_symbol(indent) != token::INDENT) return false;
  if (c.view.accessing_symbol(indent - 1) != token::EOL) return false;
  int before = c.view.accessing_symbol(indent - 2);
  if (before == token::PAR) return true;
  return before == -symbol::replicator && indent >= 3 && c.view.accessing_symbol(indent - 3) == token::PAR;
}

// An item's text as its body holds it: in a PAR body a SEQ is braced, so that its processes stay
// one after another.
Text item_text(Occam2Context& c, const Entry& item, int indent) {
  if (item.shape != Shape::seq || item.text.empty() || !opens_par_body(c, indent)) return item.text;
  return c.join(kSeqOpen, item.text, kSeqClose);
}

// The stack index of the SEQ whose body begins above entry `indent`, when that SEQ is the
// outermost process (only declarations before it), or -1.
int outermost_seq(Occam2Context& c, int indent) {
  if (indent < 3 || c.view.accessing_symbol(indent) != token::INDENT) return -1;
  if (c.view.accessing_symbol(indent - 1) != token::EOL || c.view.accessing_symbol(indent - 2) != token::SEQ) return -1;
  int seq = indent - 2;
  if (seq == 1 || (seq == 2 && c.view.accessing_symbol(1) == -symbol::items)) return seq;
  return -1;
}

bool holds_text(const Entry& entry) { return !entry.text.empty() || !entry.lead.empty() || entry.list.head != Text::kNone; }

// Items of the outermost level, and of a SEQ that is the outermost process, are settled: nothing
// later changes or wraps them, so their text goes into main's body at once, and once no entry
// below holds a text the translation's texts start afresh. The program then needs memory for
// its largest construct only.
bool settle_item(Occam2Context& c, Text text) {
  int below = c.view.below();
  int seq = below == 0 ? -1 : outermost_seq(c, below);
  if (below != 0 && seq < 0) return false;
  if (seq > 0) {
    Entry& keyword = c.view.entry(seq);
    c.state.main_body.append(c.rope(), std::exchange(keyword.lead, {}));
  }
  c.state.main_body.append(c.rope(), text);
  for (int i = 1; i <= below; ++i) {
    if (holds_text(c.view.entry(i))) return true;
  }
  if (!holds_text(c.rhs(1)) || c.view.rhs_length() == 1) c.state.clear_texts();
  return true;
}
}  // namespace

// items: item — a body's text is its items' texts in order; `list.count` counts the items.
void first_item(Occam2Context& c) {
  Entry& item = c.rhs(1);
  Text text = item_text(c, item, c.view.below());
  prepend_lead(c, text);
  c.result().list.count = 1;
  if (!settle_item(c, text)) c.result().text = text;
}

// items: items item
void next_item(Occam2Context& c) {
  Entry& body = c.rhs(1);
  Text text = item_text(c, c.rhs(2), c.view.below());
  c.result() = body;
  ++c.result().list.count;
  if (!settle_item(c, text)) c.result().text = c.join(body.text, text);
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
  prepend_lead(c, first.text);
  c.state.push(c.result().list, first.text);
}

void next_of_list(Occam2Context& c) {
  Text next = c.rhs(3).text;
  c.result() = c.rhs(1);
  c.state.push(c.result().list, next);
}

// Lists of parts that each carry a list of their own (the choices of an IF, the alternatives of
// an ALT, the options of a CASE): the parts' lists are concatenated and their texts, which are
// the declarations before them, gathered in front.
void first_part(Occam2Context& c) {
  pass(c);
  prepend_lead(c, c.result().text);
}

void next_part(Occam2Context& c) {
  Entry part = c.rhs(2);
  Entry& result = c.result();
  result = c.rhs(1);
  result.text = c.join(result.text, part.text);
  result.list = c.state.concat(result.list, part.list);
}

}  // namespace actions
}  // namespace vrk::occam2
