// ALT and PRI ALT as prialt. Handel-C has no boolean guards: an ALT with guarded alternatives is
// written once per combination of its guards, under ifs that choose the combination. A SKIP guard
// is the default case. A timer guard makes a loop around the prialt, whose default spends a cycle
// and leaves the loop once the time has come.
#include <algorithm>

#include "occam2/handelc/writer_internal.h"

namespace vrk::occam2 {

namespace {
// More boolean guards than this would write too many prialts: 2 to the number of guards.
constexpr std::size_t kMostBooleanGuards = 3;
// Replicated ALTs are written out copy by copy, up to this many alternatives in all.
constexpr std::size_t kMostAlternatives = 256;
}  // namespace

// The alternatives of an ALT, those of nested ALTs and of the copies of a replicated ALT with
// constant bounds among them.
void Writer::gather_alternatives(NodeId list, std::vector<Alternative>& into, bool& ok) {
  NodeId comment = kNone;
  for (NodeId item : tree_.children(list)) {
    if (tree_.kind(item) == Kind::comment) {
      comment = item;
      continue;
    }
    if (tree_.kind(item) == Kind::alternative) {
      into.push_back({tree_.child(item, 0), tree_.child(item, 1), tree_.child(item, 2), kNone, 0, comment});
      comment = kNone;
      continue;
    }
    if (tree_.kind(item) == Kind::unsupported) {
      ok = false;
      continue;
    }
    if (tree_.kind(item) == Kind::alt) gather_alt(item, into, ok);
  }
  if (into.size() > kMostAlternatives) ok = false;
}

// The alternatives of one ALT, written out copy by copy when it is replicated.
void Writer::gather_alt(NodeId alt, std::vector<Alternative>& into, bool& ok) {
  NodeId rep = tree_.node(alt).a;
  if (rep == kNone) return gather_alternatives(tree_.node(alt).b, into, ok);
  std::optional<std::int64_t> base = constant(tree_.child(rep, 1));
  std::optional<std::int64_t> count = constant(tree_.child(rep, 2));
  if (!base || !count || *count < 0 || static_cast<std::uint64_t>(*count) > kMostAlternatives) {
    ok = false;
    return;
  }
  for (std::int64_t i = 0; i < *count; ++i) {
    std::size_t first = into.size();
    gather_alternatives(tree_.node(alt).b, into, ok);
    for (std::size_t k = first; k < into.size(); ++k) {
      if (into[k].replicator == kNone) {
        into[k].replicator = rep;
        into[k].index = *base + i;
      }
    }
  }
}

void Writer::alt(NodeId id) {
  std::vector<Alternative> alternatives;
  bool ok = true;
  gather_alt(id, alternatives, ok);
  // A guard that is FALSE never lets its alternative be chosen.
  std::vector<Alternative> live;
  std::vector<std::size_t> guarded;
  for (const Alternative& a : alternatives) {
    if (a.replicator != kNone) constant_indices_[tree_.node(tree_.child(a.replicator, 0)).b] = a.index;
    std::optional<std::int64_t> value = a.condition == kNone ? std::optional<std::int64_t>(1) : constant(a.condition);
    if (a.replicator != kNone) constant_indices_.erase(tree_.node(tree_.child(a.replicator, 0)).b);
    if (value && *value == 0) continue;
    if (!value) guarded.push_back(live.size());
    live.push_back(a);
    if (!value) continue;
    live.back().condition = kNone;
  }
  if (!ok) {
    banner(id, "occam ALT with a replicator of a count known only at run time", false);
    return;
  }
  if (guarded.size() > kMostBooleanGuards) {
    banner(id, "occam " + std::string(construct_name(Construct::boolean_guards)), false);
    return;
  }
  bool block_opened = open_block_for_declaratives(tree_.node(id).b);
  auto flag = r_.helper_names.find(id);
  NodeId flag_name = flag == r_.helper_names.end() ? 0 : flag->second;
  if (flag_name != 0) {
    if (!block_opened) open("");
    block_opened = true;
    line("unsigned 1 " + std::string(tree_.names.spelling(flag_name)) + ";");
    line("");
  }
  // Every combination of the boolean guards, chosen by nested ifs: bit k of `enabled` is the
  // value of the k-th guard.
  auto choose = [&](auto&& self, std::size_t k, std::uint32_t enabled) -> void {
    if (k == guarded.size()) return prialt(live, enabled, flag_name);
    const Alternative& a = live[guarded[k]];
    if (a.replicator != kNone) constant_indices_[tree_.node(tree_.child(a.replicator, 0)).b] = a.index;
    start_line();
    write("if (");
    condition(a.condition);
    write(")");
    end_line();
    if (a.replicator != kNone) constant_indices_.erase(tree_.node(tree_.child(a.replicator, 0)).b);
    open("");
    self(self, k + 1, enabled | (1u << k));
    close();
    open("else");
    self(self, k + 1, enabled);
    close();
  };
  choose(choose, 0, 0);
  if (block_opened) close();
  ++statements_;
}

// One prialt: the enabled alternatives in order, a SKIP guard as the default (the alternatives
// after it could never be chosen); with a timer guard, the loop that waits for its time.
void Writer::prialt(const std::vector<Alternative>& alternatives, std::uint32_t enabled, NodeId flag) {
  std::vector<const Alternative*> chosen;
  std::size_t guard_bit = 0;
  const Alternative* timer = nullptr;
  const Alternative* skip = nullptr;
  for (const Alternative& a : alternatives) {
    bool on = true;
    if (a.condition != kNone) on = (enabled >> guard_bit++) & 1u;
    if (!on || skip != nullptr) continue;
    Kind guard = tree_.kind(a.guard);
    if (guard == Kind::skip) {
      skip = &a;
    } else if (guard == Kind::delayed_input) {
      if (timer == nullptr) timer = &a;
    } else {
      chosen.push_back(&a);
    }
  }
  if (chosen.empty() && skip == nullptr && timer == nullptr) return stop();
  if (chosen.empty()) {
    // Nothing to wait for on a channel: the SKIP's process at once, or the time's after it.
    if (skip == nullptr) {
      if (timer->replicator != kNone) constant_indices_[tree_.node(tree_.child(timer->replicator, 0)).b] = timer->index;
      delayed_input(timer->guard);
      if (timer->replicator != kNone) constant_indices_.erase(tree_.node(tree_.child(timer->replicator, 0)).b);
    }
    return alternative_body(skip != nullptr ? *skip : *timer, kNone);
  }
  std::string waiting = flag != 0 ? std::string(tree_.names.spelling(flag)) : std::string();
  bool loop = timer != nullptr && skip == nullptr;
  if (loop) {
    line(waiting + " = 1;");
    open("while (" + waiting + ")");
  }
  open("prialt");
  for (const Alternative* a : chosen) {
    if (a->comment != kNone) comment(a->comment);
    if (a->replicator != kNone) constant_indices_[tree_.node(tree_.child(a->replicator, 0)).b] = a->index;
    const Node& input = tree_.node(a->guard);
    NodeId first_item = tree_.kind(input.b) == Kind::list ? tree_.child(input.b, 0) : input.b;
    start_line();
    write("case ");
    element(input.a);
    write(" ? ");
    element(first_item);
    write(":");
    end_line();
    ++indent_;
    if (loop) line(waiting + " = 0;");
    if (tree_.kind(input.b) == Kind::list) {
      for (std::uint32_t i = 1; i < tree_.child_count(input.b); ++i) {
        start_line();
        element(input.a);
        write(" ? ");
        element(tree_.child(input.b, i));
        write(";");
        end_line();
      }
    }
    alternative_body(*a, kNone);
    line("break;");
    --indent_;
    if (a->replicator != kNone) constant_indices_.erase(tree_.node(tree_.child(a->replicator, 0)).b);
  }
  if (skip != nullptr || loop) {
    if (skip != nullptr && skip->comment != kNone) comment(skip->comment);
    line("default:");
    ++indent_;
    if (skip != nullptr) {
      alternative_body(*skip, kNone);
    } else {
      if (timer->replicator != kNone) constant_indices_[tree_.node(tree_.child(timer->replicator, 0)).b] = timer->index;
      line("delay;");
      start_line();
      write("if ((int 32)(" + std::string(tree_.names.spelling(r_.clock_name)) + " - (unsigned 32)(");
      expression(tree_.node(timer->guard).b, {true, 32});
      write(")) >= 0)");
      end_line();
      open("");
      line(waiting + " = 0;");
      alternative_body(*timer, kNone);
      close();
      if (timer->replicator != kNone) constant_indices_.erase(tree_.node(tree_.child(timer->replicator, 0)).b);
    }
    line("break;");
    --indent_;
  }
  close();
  if (loop) close();
  ++statements_;
}

// An alternative's process after its guard, among the statements of a case; a delay when it
// has none, since a case must do something.
void Writer::alternative_body(const Alternative& alternative, NodeId flag) {
  (void)flag;
  if (alternative.replicator != kNone) {
    constant_indices_[tree_.node(tree_.child(alternative.replicator, 0)).b] = alternative.index;
  }
  long before = statements_;
  body(alternative.body);
  if (statements_ == before) line("delay;");
  if (alternative.replicator != kNone) constant_indices_.erase(tree_.node(tree_.child(alternative.replicator, 0)).b);
}

}  // namespace vrk::occam2
