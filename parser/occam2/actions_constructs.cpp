// SEQ, PAR, IF, ALT, CASE, WHILE and the constructs without Handel-C counterpart. The texts are
// the default mode's: a SEQ standing directly in a PAR body is braced, IF choices form one chain
// of "if (" and "else if (", an ALT is a prialt.
#include <algorithm>
#include <cstdint>
#include <limits>

#include "output/banners.h"
#include "parser/occam2/actions.h"

namespace vrk::occam2::actions {

namespace {

constexpr std::string_view kParOpen = "par\n{\n";
constexpr std::string_view kParClose = "}  /* par */\n";
constexpr std::string_view kIfOpen = "if (";
constexpr std::string_view kElseIfOpen = "\nelse if (";
constexpr std::string_view kConditionEnd = ")\n{\n";
constexpr std::string_view kIfClose = "\n}  /* if */";
constexpr std::string_view kAltOpen = "prialt\n{\n\n";
constexpr std::string_view kAltClose = "}  /* prialt */\n";
constexpr std::string_view kWhileOpen = "while (";
constexpr std::string_view kWhileBodyOpen = ")\n{\n";
constexpr std::string_view kWhileClose = "\n}  /* while */\n";
constexpr std::string_view kCaseOpen = "case (";
constexpr std::string_view kBlockOpen = "{\n";
constexpr std::string_view kBlockEnd = "}\n";

// The most text the unrolled copies of all replicated PARs may add to one translation.
constexpr std::size_t kUnrollBudget = std::size_t{64} << 20;

// A PAR's body: its items, SEQs among them already braced.
Text par_text(Occam2Context& c, Entry& body) {
  if (body.list.count == 0) return body.text;
  return c.join(kParOpen, body.text, kParClose);
}

// The value of a replicator bound: a number, or the name of a VAL integer constant.
bool bound_value(const Occam2State& state, const std::string& text, long long& value) {
  if (text.starts_with("- ")) {
    long long magnitude = 0;
    if (!bound_value(state, text.substr(2), magnitude)) return false;
    value = -magnitude;
    return true;
  }
  if (integer_value(text, value)) return true;
  auto constant = state.constants.find(text);
  if (constant == state.constants.end()) return false;
  value = constant->second;
  return true;
}

// The body of the k-th symbol, with the comment lines that stood before its choice or option in
// front: they belong to it, not to the chain.
Text body_after_comments(Occam2Context& c, int k) {
  Text body = c.rhs(k).text;
  prepend_lead(c, body);
  return body;
}

}  // namespace

// process: simple EOL
void end_simple_process(Occam2Context& c) {
  pass(c);
  if (c.result().shape != Shape::statement) c.result().text = c.join(c.result().text, ";\n");
  c.result().shape = Shape::plain;
}

void skip_process(Occam2Context& c) { c.result().text = c.lit("skip"); }
void stop_process(Occam2Context& c) { c.result().text = c.lit("stop"); }
void fork_banner(Occam2Context& c) { banner(c, 1, "FORK"); }
void sync_banner(Occam2Context& c) { banner(c, 1, "SYNC"); }
void suspend_banner(Occam2Context& c) { banner(c, 1, "SUSPEND"); }

// construct: SEQ EOL block
void seq(Occam2Context& c) {
  c.result().text = c.rhs(3).text;
  c.result().shape = Shape::seq;
}

// replicator: NAME '=' expression FOR expression — the index, base and count as a list.
void replicator(Occam2Context& c) {
  List& values = c.result().list;
  c.state.push(values, c.rhs(1).text);
  c.state.push(values, c.rhs(3).text);
  c.state.push(values, c.rhs(5).text);
}

void stepped_replicator(Occam2Context& c) {
  replicator(c);
  c.result().note = Note::replicator_step;
}

namespace {
struct Bounds {
  std::string index, base, count;
};
Bounds bounds_of(Occam2Context& c, const Entry& replicator) {
  std::vector<std::string> values;
  c.state.each(replicator.list, [&](Cell& cell) { values.push_back(c.str(cell.item)); });
  return {values[0], values[1], values[2]};
}
}  // namespace

// construct: SEQ replicator EOL block — a for loop from base to base + count - 1.
void replicated_seq(Occam2Context& c) {
  Entry& replicator = c.rhs(2);
  if (replicator.note != Note::none) return banner(c, 2, note_name(replicator.note));
  Bounds b = bounds_of(c, replicator);
  std::string head = "for (" + b.index + " = " + b.base + "; " + b.index;
  head += b.base == "0" ? " < " + b.count : " < (" + b.base + ") + (" + b.count + ")";
  head += "; " + b.index + " = " + b.index + " + 1)\n{\n";
  c.result().text = c.join(c.copy(head), c.rhs(4).text, "}  /* for */\n");
}

// construct: PAR EOL block
void par(Occam2Context& c) { c.result().text = par_text(c, c.rhs(3)); }
// construct: PRI PAR EOL block — priority has no meaning in a circuit.
void pri_par(Occam2Context& c) { c.result().text = par_text(c, c.rhs(4)); }

namespace {
// PAR i = base FOR count: one copy of the body per index value, each after the assignment of its
// value, when both bounds are known numbers.
void unroll_par(Occam2Context& c, int replicator_symbol, int block_symbol) {
  Entry& replicator = c.rhs(replicator_symbol);
  if (replicator.note != Note::none) return banner(c, replicator_symbol, note_name(replicator.note));
  Bounds b = bounds_of(c, replicator);
  long long base = 0, count = 0;
  if (!bound_value(c.state, b.base, base) || !bound_value(c.state, b.count, count)) {
    report(c, 1, "a replicated PAR whose base or count is not a number");
    c.result().text = c.lit(banners::text_of(banners::kReplicatedParVariables));
    return;
  }
  Text copy = c.join(kParOpen, c.rhs(block_symbol).text, kParClose);
  constexpr long long kLargest = std::numeric_limits<std::int32_t>::max();
  bool too_large = base > kLargest || base < -kLargest || count > kLargest || base + count - 1 > kLargest;
  std::size_t per_copy = copy.size + b.index.size() + 24;
  std::size_t allowance = kUnrollBudget - std::min(kUnrollBudget, c.state.unrolled);
  if (!too_large && count > 0 && static_cast<std::size_t>(count) > allowance / per_copy) too_large = true;
  if (too_large) {
    report(c, 1, "a replicated PAR too large to unroll");
    c.result().text = c.lit(banners::text_of(banners::kReplicatedParTooLarge));
    return;
  }
  if (count > 0) c.state.unrolled += static_cast<std::size_t>(count) * per_copy;
  Text text;
  for (long long i = 0; i < count; ++i) {
    text = c.join(text, c.copy(b.index + " = " + std::to_string(base + i) + ";\n"));
    text = c.join(text, i + 1 < count ? c.rope().dup(copy) : copy);
  }
  c.result().text = text;
}
}  // namespace

// construct: PAR replicator EOL block
void replicated_par(Occam2Context& c) { unroll_par(c, 2, 4); }
// construct: PRI PAR replicator EOL block
void pri_replicated_par(Occam2Context& c) { unroll_par(c, 3, 5); }

void placed_par_banner(Occam2Context& c) { banner(c, 1, "PLACED PAR"); }
void enrolled_par_banner(Occam2Context& c) { banner(c, 1, "PAR ENROLL"); }
void processor_banner(Occam2Context& c) { banner(c, 1, "PROCESSOR"); }

// ---------------------------------------------------------------- IF

// choice: lead_expression EOL block — one condition and its body; comment lines before the
// choice go into its body.
void choice(Occam2Context& c) {
  Text body = body_after_comments(c, 3);
  c.state.push(c.result().list, c.rhs(1).text, body);
}

// choice: IF EOL choice_block — a nested IF joins the enclosing chain.
void nested_if(Occam2Context& c) { c.result() = c.rhs(3); }

namespace {
Text if_chain(Occam2Context& c, Entry& choices) {
  Text text = choices.text;
  bool first = true;
  c.state.each(choices.list, [&](Cell& choice) {
    text = c.join(text, first ? kIfOpen : kElseIfOpen, choice.item);
    text = c.join(text, kConditionEnd, choice.body);
    text = c.join(text, kIfClose);
    first = false;
  });
  if (!choices.list.empty()) text = c.join(text, "\n");
  return text;
}
}  // namespace

// construct: IF EOL choice_block
void if_construct(Occam2Context& c) { c.result().text = if_chain(c, c.rhs(3)); }

// construct: IF replicator EOL choice_block; choice: IF replicator ...
void replicated_if(Occam2Context& c) {
  report(c, 1, "a replicated IF");
  c.result() = Entry{};
  c.result().text = c.lit(banners::text_of(banners::kReplicatedIf));
}

// ---------------------------------------------------------------- ALT

// alternative: guard EOL block — the guard's text ends in ":\n"; each alternative in a "\n".
void alternative(Occam2Context& c) {
  Text text = c.join(c.rhs(1).text, c.rhs(3).text, "\n");
  prepend_lead(c, text);
  c.state.push(c.result().list, text);
}

// alternative: ALT EOL alternative_block — a nested ALT shares the enclosing prialt.
void nested_alt(Occam2Context& c) { c.result() = c.rhs(3); }
// alternative: PRI ALT EOL alternative_block
void nested_pri_alt(Occam2Context& c) { c.result() = c.rhs(4); }

namespace {
Text alt_text(Occam2Context& c, Entry& alternatives) {
  return c.join(c.join(alternatives.text, kAltOpen), joined(c, alternatives.list), kAltClose);
}
}  // namespace

// construct: ALT EOL alternative_block
void alt(Occam2Context& c) { c.result().text = alt_text(c, c.rhs(3)); }
// construct: PRI ALT EOL alternative_block — prialt is already a prioritised choice.
void pri_alt(Occam2Context& c) { c.result().text = alt_text(c, c.rhs(4)); }

// construct: ALT replicator ... and PRI ALT replicator ...; alternative: the same
void replicated_alt(Occam2Context& c) {
  report(c, 1, "a replicated ALT");
  c.result() = Entry{};
  c.result().text = c.lit(banners::text_of(banners::kReplicatedAlt));
}

// guard: input
void plain_guard(Occam2Context& c) { c.result().text = c.join(c.rhs(1).text, ":\n"); }
// guard: lead_expression '&' input
void guarded_input(Occam2Context& c) {
  c.result().text = c.join(c.join(c.rhs(1).text, " $ "), c.rhs(3).text, ":\n\n");
}
// guard: lead_expression '&' SKIP
void guarded_skip(Occam2Context& c) { c.result().text = c.join(c.rhs(1).text, " $ skip :\n\n"); }
// guard: SKIP
void skip_guard(Occam2Context& c) { c.result().text = c.lit("skip :\n\n"); }

void case_input_banner(Occam2Context& c) { banner(c, 1, "CASE input"); }
void extended_input_banner(Occam2Context& c) { banner(c, 1, "extended input ??"); }

// ---------------------------------------------------------------- CASE and WHILE

// option: lead_expression EOL block — the case labels as the cell's item, its body as the body.
void case_option(Occam2Context& c) {
  Text body = body_after_comments(c, 3);
  c.state.push(c.result().list, c.join(c.rhs(1).text, ":\n"), body);
}

// option: lead_expression ',' expression_list EOL block — one label per value, the body once.
void case_option_list(Occam2Context& c) {
  Text labels = c.join(c.rhs(1).text, ":\n");
  c.state.each(c.rhs(3).list, [&](Cell& value) { labels = c.join(labels, value.item, ":\n"); });
  Text body = body_after_comments(c, 5);
  c.state.push(c.result().list, labels, body);
}

// option: ELSE EOL block
void else_option(Occam2Context& c) {
  Text body = body_after_comments(c, 3);
  c.state.push(c.result().list, c.lit("default:\n"), body);
}

// construct: CASE expression EOL option_block
void case_construct(Occam2Context& c) {
  Entry& options = c.rhs(4);
  Text text = c.join(options.text, kCaseOpen, c.rhs(2).text);
  text = c.join(text, kConditionEnd);
  c.state.each(options.list, [&](Cell& option) {
    text = c.join(text, option.item, kBlockOpen);
    text = c.join(text, option.body, kBlockEnd);
  });
  c.result().text = c.join(text, kBlockEnd);
}

// construct: WHILE expression EOL block
void while_construct(Occam2Context& c) {
  Text text = c.join(kWhileOpen, c.rhs(2).text, kWhileBodyOpen);
  c.result().text = c.join(text, c.rhs(4).text, kWhileClose);
}

void claim_banner(Occam2Context& c) { banner(c, 1, "CLAIM"); }
void forking_banner(Occam2Context& c) { banner(c, 1, "FORKING"); }
void resign_banner(Occam2Context& c) { banner(c, 1, "RESIGN"); }
void valof_banner(Occam2Context& c) { banner(c, 1, "VALOF"); }

}  // namespace vrk::occam2::actions
