// Actions for SEQ and PAR, plain and replicated, and for the replicator `NAME = base FOR count`.
//
// A plain SEQ adds no text unless it stands directly in a PAR body, where braces keep its
// processes sequential. A PAR becomes a par block. A replicated SEQ becomes a for loop. A
// replicated PAR is bracketed with markers and unrolled when it completes; the replicator's values
// are kept by the stack index of its entry until then, so nested replicators cannot disturb them.
#include <cctype>
#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>

#include "parser/actions.h"
#include "scanner/tokens.h"

namespace vrk::actions {

namespace {
constexpr string::rep kSeqOpen = VRK_STATIC_TEXT("{\n");
constexpr string::rep kSeqClose = VRK_STATIC_TEXT("}  /* seq */\n");
constexpr string::rep kForOpen = VRK_STATIC_TEXT("for (");
constexpr string::rep kForClose = VRK_STATIC_TEXT("}  /* for */\n");
constexpr string::rep kAssign = VRK_STATIC_TEXT(" = ");
constexpr string::rep kClauseSeparator = VRK_STATIC_TEXT("; ");
constexpr string::rep kLessThan = VRK_STATIC_TEXT(" < ");
constexpr string::rep kCloseParenthesis = VRK_STATIC_TEXT(")");
constexpr string::rep kIncrementAndOpen = VRK_STATIC_TEXT(" + 1)\n{\n");
constexpr string::rep kMonadicMinus = VRK_STATIC_TEXT("- ");

constexpr std::int64_t kLargestReplicatorValue = std::numeric_limits<std::int32_t>::max();

// The value of a number's Handel-C text (decimal digits, or "0x" and hexadecimal digits), or
// nothing when the text is not a number (a name, ...). Saturates far above any value a replicator
// may use; a hexadecimal literal wider than 32 bits (`overflowed`, its text is the banner) is
// still a literal, and saturates too.
std::optional<std::int64_t> number_value(std::string_view text, bool overflowed) {
  constexpr std::int64_t kSaturated = std::numeric_limits<std::int64_t>::max() / 4;
  if (overflowed) return kSaturated;
  int base = 10;
  if (text.starts_with("0x")) {
    text.remove_prefix(2);
    base = 16;
  }
  if (text.empty()) return std::nullopt;
  for (char ch : text) {
    bool ok = base == 16 ? std::isxdigit(static_cast<unsigned char>(ch)) != 0 : (ch >= '0' && ch <= '9');
    if (!ok) return std::nullopt;
  }
  std::int64_t value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  (void)end;
  if (ec == std::errc::result_out_of_range) value = kSaturated;
  return value;
}

struct ReplicatorExpression {
  string text;       // the expression's Handel-C text
  bool literal = false;
  std::int64_t value = 0;
};

// Reads the expression whose fragments follow `start`. It is a literal when it is the number
// captured while it was read, alone or after a monadic minus.
ReplicatorExpression read_replicator_expression(ActionContext& c, const string& captured, bool was_captured,
                                                bool overflowed) {
  ReplicatorExpression result;
  int count = 0;
  bool negated = false;
  bool single_number = true;
  for (FragmentList::node* n = FragmentList::next(c.translation.replicator.expression_start); n != nullptr;
       n = FragmentList::next(n)) {
    ++count;
    result.text += n->element;
    bool is_minus = count == 1 && n->element == string(kMonadicMinus) && FragmentList::next(n) != nullptr;
    if (is_minus) {
      negated = true;
    } else if (!(n->element == captured) || FragmentList::next(n) != nullptr) {
      single_number = false;
    }
  }
  if (!was_captured || !single_number || count == 0) return result;
  std::optional<std::int64_t> value = number_value(captured.view(), overflowed);
  if (!value) return result;
  result.literal = true;
  result.value = negated ? -*value : *value;
  return result;
}
}  // namespace

bool nearest_block_is_par_body(StackView<ParseEntry>& stack, int index) {
  for (int i = index; i >= 0; --i) {
    if (stack.accessing_symbol(i) == token::INDENT) return stack.entry(i + 1).is(MarkKind::par_body);
  }
  return false;
}

// construct: SEQ eols INDENT process_list OUTDENT
// Directly inside a PAR body the processes are kept sequential by braces: "{" goes where a PAR's
// opener would stand, after the INDENT of the body (and so after any comment lines before it).
void close_seq(ActionContext& c) {
  if (!nearest_block_is_par_body(c.stack, c.below())) return;
  c.translation.fragments.insert_after(c.rhs(3).tail, string(kSeqOpen));
  append(c, kSeqClose);
}

// {20}: construct: SEQ {20} replicator eols INDENT process OUTDENT
void open_replicated_seq(ActionContext& c) {
  append(c, kForOpen);
  c.result().set_mark(MarkKind::replicated_seq);
}

// construct: SEQ {20} replicator eols INDENT process OUTDENT
void close_replicated_seq(ActionContext& c) { append(c, kForClose); }

// {23}: construct: PAR eols INDENT {23} process_list OUTDENT
void open_par_body(ActionContext& c) {
  append(c, kParOpen);
  c.result().set_mark(MarkKind::par_body);
}

// construct: PAR eols INDENT {23} process_list OUTDENT
void close_par(ActionContext& c) { append(c, kParClose); }

// {25}: construct: PAR {25} replicator eols INDENT {26} process OUTDENT
void mark_replicated_par_start(ActionContext& c) {
  append(c, kReplicationMarker);
  c.result().set_mark(MarkKind::replicated_par_start, c.translation.fragments.last());
}

// {26}: the first index marker; the body is a PAR body for the blocks nested in it.
void mark_replicated_par_body(ActionContext& c) {
  append(c, kIndexMarker);
  c.result().set_mark(MarkKind::par_body, c.translation.fragments.last());
}

// construct: PAR {25} replicator eols INDENT {26} process OUTDENT
void close_replicated_par(ActionContext& c) {
  append(c, kIndexMarker);
  FragmentList::node* start_marker = c.rhs(2).kept;
  FragmentList::node* first_index_marker = c.rhs(6).kept;
  const ReplicatorValues& values = c.translation.completed_replicators[static_cast<std::size_t>(c.below() + 3)];
  switch (c.translation.expander.expand(c.translation.fragments, start_marker, first_index_marker, values)) {
    case Expansion::unrolled:
      break;
    case Expansion::variables:
      report_unsupported(c, 1, "a replicated PAR whose base or count is not a number");
      break;
    case Expansion::too_large:
      report_unsupported(c, 1, "a replicated PAR too large to unroll");
      break;
  }
}

// {64}: replicator: NAME {64} '=' replicator_base FOR {65} replicator_count
// The scanner has read nothing after the NAME yet, so its text is the index variable's.
void begin_replicator(ActionContext& c) {
  TranslationState& t = c.translation;
  string index(current_token_text(c));
  t.fragments.append(string(index, string(kAssign)));
  t.capture.begin_replicator_base();
  t.replicator = ReplicatorState{};
  t.replicator.in_replicated_seq = c.stack.entry(c.below() - 1).is(MarkKind::replicated_seq);
  t.replicator.values.index_name = index;
  t.replicator.expression_start = t.fragments.last();
}

// replicator_base: expression
// In a replicated SEQ a base other than 0 enters the loop bound, so that the loop runs from base
// to base + count - 1.
void end_replicator_base(ActionContext& c) {
  TranslationState& t = c.translation;
  ReplicatorExpression base = read_replicator_expression(c, t.capture.base_text, t.capture.base_captured, t.capture.base_overflowed);
  t.replicator.bound_by_count_alone = !t.replicator.in_replicated_seq || base.text == "0";
  t.replicator.base_literal = base.literal;
  t.replicator.values.base = base.value;
  const string& index = t.replicator.values.index_name;
  t.fragments.append(string(string(kClauseSeparator), index));
  if (t.replicator.bound_by_count_alone) {
    append(c, kLessThan);
  } else {
    append(c, " < (" + std::string(base.text.view()) + ") + (");
  }
}

// {65}: the count follows FOR.
void begin_replicator_count(ActionContext& c) {
  c.translation.capture.begin_replicator_count();
  c.translation.replicator.expression_start = c.translation.fragments.last();
}

// replicator_count: expression
void end_replicator_count(ActionContext& c) {
  TranslationState& t = c.translation;
  ReplicatorExpression count = read_replicator_expression(c, t.capture.count_text, t.capture.count_captured, t.capture.count_overflowed);
  ReplicatorValues& values = t.replicator.values;
  values.count = count.value;
  values.literal = t.replicator.base_literal && count.literal;
  // Every index value written must fit 32 bits: the base, and the last one, base + count - 1.
  values.too_large = values.literal && (values.count > kLargestReplicatorValue ||
                                        values.base > kLargestReplicatorValue ||
                                        values.base < -kLargestReplicatorValue ||
                                        values.base + values.count - 1 > kLargestReplicatorValue);
  if (!t.replicator.bound_by_count_alone) append(c, kCloseParenthesis);
  const string& index = values.index_name;
  t.fragments.append(string(string(kClauseSeparator), index));
  t.fragments.append(string(string(kAssign), index));
  append(c, kIncrementAndOpen);
  t.capture.count_switch = false;
  t.replicator.expression_start = nullptr;  // read: nothing walks from it any more
}

// replicator: NAME {64} '=' replicator_base FOR {65} replicator_count
// The construct keeps this replicator's values in its own stack entry. A replicated IF that is not
// itself a choice of a chain keeps its chain of choices there instead.
void complete_replicator(ActionContext& c) {
  bool replicates_if = c.stack.accessing_symbol(c.below()) == token::IF;
  if (replicates_if && owning_if_chain(c, c.below() - 1) < 0) {
    c.result().set_mark(MarkKind::if_chain);
  } else {
    c.result().set_mark(MarkKind::replicator);
    c.translation.completed_replicators[static_cast<std::size_t>(c.below() + 1)] = c.translation.replicator.values;
  }
}

}  // namespace vrk::actions
