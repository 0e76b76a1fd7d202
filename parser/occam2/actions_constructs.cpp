// SEQ, PAR, IF, ALT, CASE, WHILE and the constructs without Handel-C counterpart. The texts are
// the default mode's: a SEQ standing directly in a PAR body is braced, IF choices form one chain
// of "if (" and "else if (", an ALT is a prialt.
#include <charconv>
#include <cstdint>
#include <limits>

#include "output/banners.h"
#include "parser/occam2/actions.h"

namespace vrk::occam2::actions {

namespace {

constexpr std::string_view kSeqOpen = "{\n";
constexpr std::string_view kSeqClose = "}  /* seq */\n";
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
constexpr std::string_view kBlockEnd = "}\n";

// The most text the unrolled copies of replicated PARs may add to one translation.
constexpr std::size_t kUnrollBudget = std::size_t{64} << 20;

// The body's items, each SEQ among them braced: the processes of a PAR run in parallel, those of
// a SEQ in it one after another.
std::string par_body(Entry& body) {
  std::string text = body.text;
  for (std::size_t i = 0; i < body.items.size(); ++i) {
    bool seq = i < body.shapes.size() && body.shapes[i] == Shape::seq;
    if (seq && !body.items[i].empty()) {
      text += kSeqOpen;
      text += body.items[i];
      text += kSeqClose;
    } else {
      text += body.items[i];
    }
  }
  return text;
}

std::string par_text(Entry& body) {
  if (body.items.empty()) return body.text;
  std::string text(kParOpen);
  text += par_body(body);
  text += kParClose;
  return text;
}

// The value of a replicator bound: a number, or the name of a VAL integer constant.
bool bound_value(const Occam2State& state, const std::string& text, long long& value) {
  const char* first = text.data();
  const char* last = text.data() + text.size();
  int base = 10;
  if (text.starts_with("0x")) {
    first += 2;
    base = 16;
  } else if (text.starts_with("- ")) {
    long long magnitude = 0;
    if (!bound_value(state, text.substr(2), magnitude)) return false;
    value = -magnitude;
    return true;
  }
  auto [end, error] = std::from_chars(first, last, value, base);
  if (error == std::errc() && end == last && first != last) return true;
  auto constant = state.constants.find(text);
  if (constant == state.constants.end()) return false;
  value = constant->second;
  return true;
}

}  // namespace

// process: simple EOL
void end_simple_process(Occam2Context& c) {
  pass(c);
  if (c.result().shape != Shape::statement) c.result().text += ";\n";
  c.result().shape = Shape::plain;
}

void skip_process(Occam2Context& c) { c.result().text = "skip"; }
void stop_process(Occam2Context& c) { c.result().text = "stop"; }
void fork_banner(Occam2Context& c) { banner(c, 1, "FORK"); }
void sync_banner(Occam2Context& c) { banner(c, 1, "SYNC"); }
void suspend_banner(Occam2Context& c) { banner(c, 1, "SUSPEND"); }

// construct: SEQ EOL block
void seq(Occam2Context& c) {
  c.result().text = joined(c.rhs(3));
  c.result().shape = Shape::seq;
}

// replicator: NAME '=' expression FOR expression — items: index, base, count.
void replicator(Occam2Context& c) {
  Entry& result = c.result();
  result.items = {std::move(c.rhs(1).text), std::move(c.rhs(3).text), std::move(c.rhs(5).text)};
}

void stepped_replicator(Occam2Context& c) {
  replicator(c);
  c.result().note = "replicator STEP";
}

// construct: SEQ replicator EOL block — a for loop from base to base + count - 1.
void replicated_seq(Occam2Context& c) {
  Entry& replicator = c.rhs(2);
  if (!replicator.note.empty()) return banner(c, 2, replicator.note);
  const std::string& index = replicator.items[0];
  const std::string& base = replicator.items[1];
  const std::string& count = replicator.items[2];
  std::string text = "for (" + index + " = " + base + "; " + index;
  text += base == "0" ? " < " + count : " < (" + base + ") + (" + count + ")";
  text += "; " + index + " = " + index + " + 1)\n{\n";
  text += joined(c.rhs(4));
  text += "}  /* for */\n";
  c.result().text = std::move(text);
}

// construct: PAR EOL block
void par(Occam2Context& c) { c.result().text = par_text(c.rhs(3)); }
// construct: PRI PAR EOL block — priority has no meaning in a circuit.
void pri_par(Occam2Context& c) { c.result().text = par_text(c.rhs(4)); }

namespace {
// PAR i = base FOR count: one copy of the body per index value, each after the assignment of its
// value, when both bounds are known numbers.
void unroll_par(Occam2Context& c, int replicator_symbol, int block_symbol) {
  Entry& replicator = c.rhs(replicator_symbol);
  if (!replicator.note.empty()) return banner(c, replicator_symbol, replicator.note);
  long long base = 0, count = 0;
  if (!bound_value(c.state, replicator.items[1], base) || !bound_value(c.state, replicator.items[2], count)) {
    report(c, 1, "a replicated PAR whose base or count is not a number");
    c.result().text = std::string(banners::text_of(banners::kReplicatedParVariables));
    return;
  }
  std::string copy = std::string(kParOpen) + par_body(c.rhs(block_symbol)) + std::string(kParClose);
  constexpr long long kLargest = std::numeric_limits<std::int32_t>::max();
  bool too_large = base > kLargest || base < -kLargest || count > kLargest || base + count - 1 > kLargest;
  if (!too_large && count > 0 && static_cast<std::size_t>(count) > kUnrollBudget / (copy.size() + 24)) too_large = true;
  if (too_large) {
    report(c, 1, "a replicated PAR too large to unroll");
    c.result().text = std::string(banners::text_of(banners::kReplicatedParTooLarge));
    return;
  }
  const std::string& index = replicator.items[0];
  std::string text;
  for (long long i = 0; i < count; ++i) {
    text += index + " = " + std::to_string(base + i) + ";\n";
    text += copy;
  }
  c.result().text = std::move(text);
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
  std::string body = joined(c.rhs(3));
  prepend_lead(c, body);
  Entry& result = c.result();
  result.position = c.rhs(1).position;
  result.items.push_back(std::move(c.rhs(1).text));
  result.bodies.push_back(std::move(body));
}

// choice: IF EOL choice_block — a nested IF joins the enclosing chain.
void nested_if(Occam2Context& c) { c.result() = std::move(c.rhs(3)); }

namespace {
std::string if_chain(Entry& choices) {
  std::string text = choices.text;
  for (std::size_t i = 0; i < choices.items.size(); ++i) {
    text += i == 0 ? kIfOpen : kElseIfOpen;
    text += choices.items[i];
    text += kConditionEnd;
    text += choices.bodies[i];
    text += kIfClose;
  }
  if (!choices.items.empty()) text += '\n';
  return text;
}
}  // namespace

// construct: IF EOL choice_block
void if_construct(Occam2Context& c) { c.result().text = if_chain(c.rhs(3)); }

// construct: IF replicator EOL choice_block; choice: IF replicator ...
void replicated_if(Occam2Context& c) {
  report(c, 1, "a replicated IF");
  c.result().text = std::string(banners::text_of(banners::kReplicatedIf));
}

// ---------------------------------------------------------------- ALT

// alternative: guard EOL block — the guard's text ends in ":\n"; each alternative in a "\n".
void alternative(Occam2Context& c) {
  std::string text = std::move(c.rhs(1).text);
  text += joined(c.rhs(3));
  text += '\n';
  prepend_lead(c, text);
  c.result().items.push_back(std::move(text));
}

// alternative: ALT EOL alternative_block — a nested ALT shares the enclosing prialt.
void nested_alt(Occam2Context& c) {
  Entry& block = c.rhs(c.rhs(1).text == "PRI" ? 4 : 3);
  c.result() = std::move(block);
}

namespace {
std::string alt_text(Entry& alternatives) {
  std::string text = alternatives.text;
  text += kAltOpen;
  for (const std::string& alternative : alternatives.items) text += alternative;
  text += kAltClose;
  return text;
}
}  // namespace

// construct: ALT EOL alternative_block
void alt(Occam2Context& c) { c.result().text = alt_text(c.rhs(3)); }
// construct: PRI ALT EOL alternative_block — prialt is already a prioritised choice.
void pri_alt(Occam2Context& c) { c.result().text = alt_text(c.rhs(4)); }

void replicated_alt(Occam2Context& c) {
  report(c, 1, "a replicated ALT");
  c.result().text = std::string(banners::text_of(banners::kReplicatedAlt));
}
void pri_replicated_alt(Occam2Context& c) { replicated_alt(c); }

// guard: input
void plain_guard(Occam2Context& c) {
  pass(c);
  c.result().text += ":\n";
}
// guard: lead_expression '&' input
void guarded_input(Occam2Context& c) { c.result().text = c.rhs(1).text + " $ " + c.rhs(3).text + ":\n\n"; }
// guard: lead_expression '&' SKIP
void guarded_skip(Occam2Context& c) { c.result().text = c.rhs(1).text + " $ skip :\n\n"; }
// guard: SKIP
void skip_guard(Occam2Context& c) { c.result().text = "skip :\n\n"; }

void case_input_banner(Occam2Context& c) { banner(c, 1, "CASE input"); }
void case_input_guard_banner(Occam2Context& c) { banner(c, 1, "CASE input"); }
void extended_input_banner(Occam2Context& c) { banner(c, 1, "extended input ??"); }

// ---------------------------------------------------------------- CASE and WHILE

// option: lead_expression EOL block — items: the case labels; bodies: the one body.
void case_option(Occam2Context& c) {
  std::string body = joined(c.rhs(3));
  prepend_lead(c, body);
  Entry& result = c.result();
  result.items.push_back(std::move(c.rhs(1).text) + ":\n");
  result.bodies.push_back(std::move(body));
}

// option: lead_expression ',' expression_list EOL block — one label per value, the body once.
void case_option_list(Occam2Context& c) {
  std::string labels = std::move(c.rhs(1).text) + ":\n";
  for (const std::string& value : c.rhs(3).items) labels += value + ":\n";
  std::string body = joined(c.rhs(5));
  prepend_lead(c, body);
  c.result().items.push_back(std::move(labels));
  c.result().bodies.push_back(std::move(body));
}

// option: ELSE EOL block
void else_option(Occam2Context& c) {
  std::string body = joined(c.rhs(3));
  prepend_lead(c, body);
  c.result().items.push_back("default:\n");
  c.result().bodies.push_back(std::move(body));
}

// construct: CASE expression EOL option_block
void case_construct(Occam2Context& c) {
  Entry& options = c.rhs(4);
  std::string text = options.text;
  text += kCaseOpen;
  text += c.rhs(2).text;
  text += kConditionEnd;
  for (std::size_t i = 0; i < options.items.size(); ++i) {
    text += options.items[i];
    text += "{\n";
    text += options.bodies[i];
    text += kBlockEnd;
  }
  text += kBlockEnd;
  c.result().text = std::move(text);
}

// construct: WHILE expression EOL block
void while_construct(Occam2Context& c) {
  std::string text(kWhileOpen);
  text += c.rhs(2).text;
  text += kWhileBodyOpen;
  text += joined(c.rhs(4));
  text += kWhileClose;
  c.result().text = std::move(text);
}

void claim_banner(Occam2Context& c) { banner(c, 1, "CLAIM"); }
void forking_banner(Occam2Context& c) { banner(c, 1, "FORKING"); }
void resign_banner(Occam2Context& c) { banner(c, 1, "RESIGN"); }
void valof_banner(Occam2Context& c) { banner(c, 1, "VALOF"); }

}  // namespace vrk::occam2::actions
