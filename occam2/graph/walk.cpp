// The walk that finds a program's processes and the channels each uses.
//
// It follows the program as it runs: from the program PROC (its channel formals bound to the
// environment's channels), into every PROC called, with each formal bound to what its actual
// names in that call: a channel or part of an array of channels, a value for a VAL formal. A
// declaration makes a new channel each time it is met, so each instance of a PROC has its own.
// A PAR whose branches are more than single actions runs its branches as processes of their own:
// a call as that PROC's instance, anything else as a branch written in place; a PAR directly in
// such a PAR adds its branches beside them. A replicated PAR of constant count is walked copy by
// copy, its index a value; past the limit, and in every other replicator, the index takes each
// value of its range at once, and a subscript by it names every element it reaches.
#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <unordered_set>

#include "occam2/graph/walk.h"
#include "occam2/resolve/resolver.h"

namespace vrk::occam2::graph {

namespace {

// A subscript by indices that take several values is tried with each combination, up to this many.
constexpr std::uint64_t kMaxCombinations = std::uint64_t{1} << 16;
// The runs of elements one subscript may name before it stands for every element of its items.
constexpr std::uint64_t kMaxRuns = std::uint64_t{1} << 16;
// VAL abbreviations and formals that name others, followed this deep.
constexpr int kMaxLookupDepth = 512;
// The steps a large program is allowed for each node of its tree.
constexpr std::uint32_t kStepsPerNode = 16;
// A call whose walk took fewer steps is walked again rather than remembered.
constexpr std::uint64_t kStepsWorthKeeping = 256;

// What a name stands for in the instance being walked.
struct Binding {
  enum class Kind : std::uint8_t { unknown, value, range, expression, channels };
  Kind kind = Kind::unknown;
  bool fixed = false;      // a range's index held at `current` while a subscript is tried
  std::int64_t first = 0;  // the value, or the range's first
  std::int64_t last = 0;   // the range's last
  std::int64_t current = 0;
  NodeId expression = kNone;   // a VAL formal whose actual takes several values, evaluated where used
  std::uint32_t channels = 0;  // the ChannelSet, in sets_
};

// A branch of a PAR that is a single action: the PAR runs as part of the process around it.
bool is_single_action(Kind kind) {
  switch (kind) {
    case Kind::assignment:
    case Kind::multiple_assignment:
    case Kind::input:
    case Kind::delayed_input:
    case Kind::output:
    case Kind::skip:
    case Kind::stop:
    case Kind::unsupported:
      return true;
    default:
      return false;
  }
}

struct UseHash {
  std::size_t operator()(const ChannelUse& u) const {
    std::size_t h = std::hash<std::uint64_t>()((std::uint64_t{u.process} << 32) | u.channel);
    h ^= std::hash<std::int64_t>()(u.elements.begin) + 0x9e3779b97f4a7c15u + (h << 6) + (h >> 2);
    h ^= std::hash<std::int64_t>()(u.elements.end) + 0x9e3779b97f4a7c15u + (h << 6) + (h >> 2);
    return h ^ static_cast<std::size_t>(u.direction);
  }
};
struct SameUse {
  bool operator()(const ChannelUse& a, const ChannelUse& b) const {
    return a.process == b.process && a.channel == b.channel && a.elements.begin == b.elements.begin &&
           a.elements.end == b.elements.end && a.direction == b.direction;
  }
};

class Walker {
 public:
  Walker(const Tree& tree, const Resolution& resolution, Diagnostics& diagnostics, const NetworkLimits& limits,
         Walk& walk)
      : tree_(tree),
        r_(resolution),
        diagnostics_(diagnostics),
        limits_(limits),
        walk_(walk),
        name_values_([this](SymbolId symbol) { return name_value(symbol); }) {}

  void run();

 private:
  // ---- processes
  ProcessId add_process(ProcessKind kind, ProcessId parent, std::string label, bool runs_proc);
  std::string what(NodeId process) const;
  SymbolId called_proc(NodeId process) const;
  std::string branch_label(NodeId process) const;

  // ---- the walk
  void items(NodeId list, ProcessId p);
  void declarative(NodeId id, ProcessId p);
  void process(NodeId id, ProcessId p);
  struct Range {
    bool known = false;  // base and count constant here, and no STEP
    bool empty = false;  // a count of 0 or less: the body never runs
    std::int64_t first = 0;
    std::int64_t last = 0;
  };
  Range range_of(NodeId replicator);
  void replicated(NodeId replicator, const std::function<void()>& walk_body);
  void enter(SymbolId proc, NodeId actuals, ProcessId p);
  std::optional<std::vector<std::int64_t>> call_key(NodeId definition, ProcessId p) const;
  void bind_formal(SymbolId formal, NodeId actual);
  void par(NodeId id, ProcessId p);
  bool splits(NodeId par);
  void split(NodeId par, ProcessId parent, const std::string& suffix);
  template <typename F>
  void for_each_branch(NodeId list, F f) const;
  void branch(NodeId list, std::uint32_t first, std::uint32_t at, ProcessId parent, const std::string& suffix);
  void copies(NodeId par, ProcessId parent, const std::string& suffix, const Range& range);
  void run_branch(NodeId list, std::uint32_t first, std::uint32_t at, ProcessId q);

  // ---- channels
  void declare_channel(SymbolId symbol, ProcessId declarer, bool environment);
  ChannelSet channels_of(NodeId element);
  void use(NodeId element, ProcessId p, Direction direction);
  bool is_channel(SymbolId symbol) const;

  // ---- names and values
  void bind(SymbolId symbol, Binding binding) {
    if (symbol != kNoSymbol && symbol < bindings_.size()) bindings_[symbol] = binding;
  }
  void bind_value(SymbolId symbol, std::int64_t value) {
    bind(symbol, {Binding::Kind::value, false, value, value, 0, kNone, 0});
  }
  void bind_unknown(SymbolId symbol) { bind(symbol, Binding{}); }
  void bind_channels(SymbolId symbol, ChannelSet set);
  SymbolId symbol_of(NodeId name) const { return r_.symbol_of(tree_, name); }
  std::optional<std::int64_t> value(NodeId expression) { return constant_value(tree_, r_, expression, name_values_); }
  std::optional<std::int64_t> name_value(SymbolId symbol);
  std::optional<std::vector<std::int64_t>> values(NodeId expression);
  void ranges_in(NodeId expression, std::vector<SymbolId>& ranges, int depth);

  // ---- work
  bool spend(std::uint64_t steps = 1);
  void give_up(std::string problem);
  bool stopped() const { return !walk_.problem.empty(); }

  const Tree& tree_;
  const Resolution& r_;
  Diagnostics& diagnostics_;
  const NetworkLimits& limits_;
  Walk& walk_;
  NameValues name_values_;
  std::vector<Binding> bindings_;  // by SymbolId
  std::vector<ChannelSet> sets_;   // what channel names and formals are bound to
  static constexpr std::uint32_t kNoSlot = 0xffffffffu;
  std::vector<std::uint32_t> set_slots_;  // by SymbolId: its set's place in sets_, once it has one
  std::unordered_set<NodeId> active_;     // the PROCs being walked: one that calls itself is not entered again
  std::unordered_set<ChannelUse, UseHash, SameUse> recorded_;
  std::set<std::vector<std::int64_t>> walked_calls_;  // see call_key
  std::uint32_t depth_ = 0;                           // PROC calls nested
  int collapsed_ = 0;                                 // inside copies drawn as one: no PAR is split
  int lookup_depth_ = 0;
  std::uint64_t steps_ = 0;
  std::uint64_t step_limit_ = 0;
  bool warned_ = false;
};

// ---------------------------------------------------------------- work

bool Walker::spend(std::uint64_t steps) {
  if (stopped()) return false;
  steps_ += steps;
  if (steps_ <= step_limit_) return true;
  give_up("finding it takes more than " + std::to_string(step_limit_) + " steps (PROCs called many times over)");
  return false;
}

void Walker::give_up(std::string problem) {
  if (walk_.problem.empty()) walk_.problem = std::move(problem);
}

// ---------------------------------------------------------------- processes

ProcessId Walker::add_process(ProcessKind kind, ProcessId parent, std::string label, bool runs_proc) {
  auto id = static_cast<ProcessId>(walk_.network.processes.size());
  Process process;
  process.kind = kind;
  process.parent = parent;
  process.label = std::move(label);
  process.runs_proc = runs_proc;
  walk_.network.processes.push_back(std::move(process));
  if (parent == kTop) {
    walk_.network.top.push_back(id);
  } else {
    walk_.network.processes[parent].children.push_back(id);
  }
  return id;
}

// What a process written in place is and where it stands: "WHILE at line 31".
std::string Walker::what(NodeId process) const {
  const Node& n = tree_.node(process);
  std::string label = (n.kind == Kind::par || n.kind == Kind::alt) && n.detail == 1 ? "PRI " : "";
  label += kind_message(n.kind);
  Location where = tree_.locate(process);
  label += " at line " + std::to_string(where.line);
  if (where.file != 0) label += " of " + tree_.places.file_name(where.file);
  return label;
}

// The PROC a process calls, when it is a call of one that is defined.
SymbolId Walker::called_proc(NodeId process) const {
  if (process == kNone || tree_.kind(process) != Kind::call) return kNoSymbol;
  SymbolId symbol = symbol_of(tree_.node(process).a);
  if (symbol == kNoSymbol || r_.symbol(symbol).kind != SymbolKind::proc) return kNoSymbol;
  return r_.symbol(symbol).definition == kNone ? kNoSymbol : symbol;
}

std::string Walker::branch_label(NodeId process) const {
  if (tree_.kind(process) == Kind::call) return std::string(tree_.name_of(tree_.node(process).a));
  return what(process);
}

// ---------------------------------------------------------------- the walk

void Walker::run() {
  // A program walked once costs a few steps a node; the allowance grows with the program.
  step_limit_ = std::max<std::uint64_t>(limits_.steps, std::uint64_t{kStepsPerNode} * tree_.node_count());
  bindings_.assign(r_.symbols.size(), Binding{});
  set_slots_.assign(r_.symbols.size(), kNoSlot);
  walk_.environment = add_process(ProcessKind::environment, kTop, "environment", false);
  NodeId program = tree_.root();
  if (program == kNone) return;
  NodeId outermost = tree_.node(program).a;
  if (r_.outermost_process) {
    NodeId first = kNone;
    for (NodeId item : tree_.children(outermost)) {
      if (first == kNone && !is_declarative_item(tree_, item)) first = item;
    }
    ProcessId root = add_process(ProcessKind::in_place, kTop, first == kNone ? "program" : what(first), false);
    items(outermost, root);
    return;
  }
  if (r_.program_proc == kNoSymbol) return;
  for (NodeId item : tree_.children(outermost)) {
    if (is_declarative_item(tree_, item)) declarative(item, kTop);
  }
  const Symbol& program_proc = r_.symbol(r_.program_proc);
  ProcessId root = add_process(ProcessKind::instance, kTop, std::string(tree_.names.spelling(program_proc.name)), true);
  NodeId definition = program_proc.definition;
  for (NodeId formal : tree_.children(tree_.child(definition, 1))) {
    SymbolId symbol = symbol_of(tree_.node(formal).b);
    if (is_channel(symbol)) {
      declare_channel(symbol, walk_.environment, true);
    } else {
      bind_unknown(symbol);
    }
  }
  active_.insert(definition);
  items(tree_.child(definition, 2), root);
}

// A body, or the choices, alternatives or options of a construct.
void Walker::items(NodeId list, ProcessId p) {
  for (NodeId item : tree_.children(list)) {
    if (!spend()) return;
    const Node& n = tree_.node(item);
    switch (n.kind) {
      case Kind::choice:
      case Kind::option:
        items(n.b, p);
        break;
      case Kind::alternative: {
        NodeId guard = tree_.child(item, 1);
        if (guard != kNone && tree_.kind(guard) == Kind::input) use(tree_.node(guard).a, p, Direction::input);
        items(tree_.child(item, 2), p);
        break;
      }
      default:
        if (is_declarative_item(tree_, item)) {
          declarative(item, p);
        } else {
          process(item, p);
        }
    }
  }
}

void Walker::declarative(NodeId id, ProcessId p) {
  switch (tree_.kind(id)) {
    case Kind::declaration:
      for (NodeId name : tree_.children(tree_.node(id).b)) {
        SymbolId symbol = symbol_of(name);
        if (is_channel(symbol)) declare_channel(symbol, p, false);
      }
      break;
    case Kind::abbreviation: {
      SymbolId symbol = symbol_of(tree_.child(id, 1));
      if (symbol != kNoSymbol && r_.symbol(symbol).kind == SymbolKind::alias && is_channel(symbol)) {
        bind_channels(symbol, channels_of(tree_.child(id, 2)));
      }
      break;
    }
    default:
      break;  // VAL abbreviations are evaluated where they are used; definitions where they are called
  }
}

void Walker::process(NodeId id, ProcessId p) {
  if (!spend()) return;
  const Node& n = tree_.node(id);
  switch (n.kind) {
    case Kind::input:
      use(n.a, p, Direction::input);
      break;
    case Kind::output:
      use(n.a, p, Direction::output);
      break;
    case Kind::call: {
      SymbolId proc = called_proc(id);
      if (proc != kNoSymbol) enter(proc, n.b, p);
      break;
    }
    case Kind::seq:
    case Kind::if_process:
    case Kind::alt:
      if (n.a != kNone) {
        replicated(n.a, [&] { items(n.b, p); });
      } else {
        items(n.b, p);
      }
      break;
    case Kind::par:
      par(id, p);
      break;
    case Kind::case_process:
    case Kind::while_process:
      items(n.b, p);
      break;
    case Kind::valof:
      items(n.a, p);
      break;
    default:
      break;
  }
}

// The values a replicator's index takes, when they are known here.
Walker::Range Walker::range_of(NodeId replicator) {
  std::optional<std::int64_t> base = value(tree_.child(replicator, 1));
  std::optional<std::int64_t> count = value(tree_.child(replicator, 2));
  Range range;
  if (!base || !count || tree_.child(replicator, 3) != kNone) return range;
  range.known = true;
  range.first = *base;
  range.empty = *count <= 0;
  if (!range.empty && __builtin_add_overflow(*base, *count - 1, &range.last)) range.known = false;
  return range;
}

// A replicator whose index takes every value of its range while the body is walked once.
void Walker::replicated(NodeId replicator, const std::function<void()>& walk_body) {
  SymbolId index = symbol_of(tree_.child(replicator, 0));
  Range range = range_of(replicator);
  if (range.known) {
    // A body that runs no time is still walked: its channels are wired to it all the same, and
    // a subscript by its index names no element.
    if (range.empty) {
      range.first = 1;
      range.last = 0;
    }
    bind(index, {Binding::Kind::range, false, range.first, range.last, 0, kNone, 0});
  } else {
    bind_unknown(index);
  }
  walk_body();
}

void Walker::enter(SymbolId proc, NodeId actuals, ProcessId p) {
  NodeId definition = r_.symbol(proc).definition;
  if (active_.count(definition) != 0) return;  // a PROC that calls itself: reported by the resolver
  if (depth_ >= limits_.call_depth) {
    give_up("PROC calls are nested more than " + std::to_string(limits_.call_depth) + " deep");
    return;
  }
  NodeId formals = tree_.child(definition, 1);
  for (std::uint32_t i = 0; i < tree_.child_count(formals); ++i) {
    bind_formal(symbol_of(tree_.node(tree_.child(formals, i)).b), tree_.child(actuals, i));
  }
  // A call walked before by the same process with the same bindings adds nothing: PROCs that call
  // others many times over cost a walk per distinct call, not per call.
  std::optional<std::vector<std::int64_t>> key = call_key(definition, p);
  if (key && (!spend(key->size()) || walked_calls_.count(*key) != 0)) return;
  std::size_t processes = walk_.network.processes.size();
  std::size_t channels = walk_.channels.size();
  std::uint64_t steps = steps_;
  active_.insert(definition);
  ++depth_;
  items(tree_.child(definition, 2), p);
  --depth_;
  active_.erase(definition);
  // A walk that made processes or channels made them for this call alone. Only calls that cost
  // some work are kept, so the keys take memory in proportion to the work saved at most.
  if (key && processes == walk_.network.processes.size() && channels == walk_.channels.size() && !stopped() &&
      steps_ - steps >= kStepsWorthKeeping) {
    walked_calls_.insert(std::move(*key));
  }
}

// What a call's walk depends on: the PROC, the process, whether PARs split, and the bindings of
// its formals and free names. Nothing when a binding is an expression or a free name is a VAL
// abbreviation, whose values depend on names not listed here.
std::optional<std::vector<std::int64_t>> Walker::call_key(NodeId definition, ProcessId p) const {
  std::vector<std::int64_t> key{definition, p, collapsed_ > 0};
  auto add = [&](SymbolId symbol) {
    if (symbol == kNoSymbol || symbol >= bindings_.size()) return true;
    const Binding& b = bindings_[symbol];
    key.push_back(static_cast<std::int64_t>(b.kind));
    switch (b.kind) {
      case Binding::Kind::value:
        key.push_back(b.first);
        break;
      case Binding::Kind::range:
        key.push_back(b.first);
        key.push_back(b.last);
        break;
      case Binding::Kind::expression:
        return false;
      case Binding::Kind::channels: {
        const ChannelSet& set = sets_[b.channels];
        key.insert(key.end(), {set.channel, set.type, set.size, static_cast<std::int64_t>(set.parts.size())});
        for (const Interval& part : set.parts) key.insert(key.end(), {part.begin, part.end});
        break;
      }
      case Binding::Kind::unknown:
        return r_.symbol(symbol).kind != SymbolKind::value;
    }
    return true;
  };
  for (NodeId formal : tree_.children(tree_.child(definition, 1))) {
    if (!add(symbol_of(tree_.node(formal).b))) return std::nullopt;
  }
  if (const DefinitionInfo* info = r_.definition(definition)) {
    for (SymbolId symbol : info->free) {
      if (!add(symbol)) return std::nullopt;
    }
  }
  return key;
}

// A formal takes what its actual names in the caller: channels, or a VAL's value (the actual
// itself when it takes several values, so that each use tries them).
void Walker::bind_formal(SymbolId formal, NodeId actual) {
  if (formal == kNoSymbol) return;
  if (is_channel(formal)) {
    bind_channels(formal, actual == kNone ? ChannelSet{} : channels_of(actual));
    return;
  }
  if (r_.symbol(formal).mode != FormalMode::val || actual == kNone) {
    bind_unknown(formal);
    return;
  }
  std::vector<SymbolId> ranges;
  ranges_in(actual, ranges, 0);
  if (!ranges.empty()) {
    bind(formal, {Binding::Kind::expression, false, 0, 0, 0, actual, 0});
    return;
  }
  std::optional<std::int64_t> v = value(actual);
  if (v) {
    bind_value(formal, *v);
  } else {
    bind_unknown(formal);
  }
}

// ---------------------------------------------------------------- PAR

void Walker::par(NodeId id, ProcessId p) {
  if (splits(id)) {
    split(id, p, "");
    return;
  }
  const Node& n = tree_.node(id);
  if (n.a != kNone) {
    replicated(n.a, [&] { items(n.b, p); });
  } else {
    items(n.b, p);
  }
}

// A PAR runs processes of its own when a branch is more than a single action, unless it stands
// inside copies drawn as one or the network has grown past its limit.
bool Walker::splits(NodeId par) {
  if (collapsed_ > 0) return false;
  bool constructs = false;
  for (NodeId item : tree_.children(tree_.node(par).b)) {
    if (!is_declarative_item(tree_, item) && !is_single_action(tree_.kind(item))) constructs = true;
  }
  if (!constructs) return false;
  if (walk_.network.processes.size() < limits_.processes) return true;
  if (!warned_) {
    warned_ = true;
    Location where = tree_.locate(par);
    diagnostics_.warning_in(
        tree_.places.file_name(where.file), {static_cast<int>(where.line), static_cast<int>(where.column)},
        "the process network has more than " + std::to_string(limits_.processes) +
            " processes: this PAR and those met after it are drawn as part of the process that runs them");
  }
  return false;
}

// Each branch, and each declaration before it: the item at `at` is the branch's process.
template <typename F>
void Walker::for_each_branch(NodeId list, F f) const {
  std::uint32_t first = 0;
  for (std::uint32_t i = 0; i < tree_.child_count(list); ++i) {
    if (is_declarative_item(tree_, tree_.child(list, i))) continue;
    f(first, i);
    first = i + 1;
  }
}

// The branches of a PAR as processes of `parent`; `suffix` holds the indices of the copies they
// belong to ("[2]", "[0][1]").
void Walker::split(NodeId par, ProcessId parent, const std::string& suffix) {
  const Node& n = tree_.node(par);
  NodeId list = n.b;
  if (n.a == kNone) {
    for_each_branch(list, [&](std::uint32_t first, std::uint32_t at) { branch(list, first, at, parent, suffix); });
    return;
  }
  SymbolId index = symbol_of(tree_.child(n.a, 0));
  Range range = range_of(n.a);
  if (range.known && range.empty) return;
  // The count as unsigned: a range of 2^63 values or more has no int64 count.
  std::uint64_t count =
      range.known ? static_cast<std::uint64_t>(range.last) - static_cast<std::uint64_t>(range.first) + 1 : 0;
  if (range.known && count <= static_cast<std::uint64_t>(limits_.copies) &&
      walk_.network.processes.size() + count <= limits_.processes) {
    for (std::int64_t k = range.first; !stopped(); ++k) {
      bind_value(index, k);
      std::string copy = suffix + "[" + std::to_string(k) + "]";
      for_each_branch(list, [&](std::uint32_t first, std::uint32_t at) { branch(list, first, at, parent, copy); });
      if (k == range.last) break;
    }
    return;
  }
  copies(par, parent, suffix, range);
}

void Walker::branch(NodeId list, std::uint32_t first, std::uint32_t at, ProcessId parent, const std::string& suffix) {
  NodeId item = tree_.child(list, at);
  if (tree_.kind(item) == Kind::par && splits(item)) {
    for (std::uint32_t i = first; i < at; ++i) declarative(tree_.child(list, i), parent);
    split(item, parent, suffix);
    return;
  }
  // A call is a PROC's instance even when that PROC is defined nowhere vrk can see (its channels
  // then end loose).
  bool call = tree_.kind(item) == Kind::call;
  std::string label = branch_label(item) + (suffix.empty() ? "" : " " + suffix);
  ProcessId q = add_process(call ? ProcessKind::instance : ProcessKind::in_place, parent, std::move(label), call);
  run_branch(list, first, at, q);
}

// A branch's declarations and its process, run by process q.
void Walker::run_branch(NodeId list, std::uint32_t first, std::uint32_t at, ProcessId q) {
  for (std::uint32_t i = first; i < at; ++i) declarative(tree_.child(list, i), q);
  NodeId item = tree_.child(list, at);
  SymbolId proc = called_proc(item);
  if (proc != kNoSymbol) {
    enter(proc, tree_.node(item).b, q);
  } else {
    process(item, q);
  }
}

// The copies of a replicated PAR as one process; its index takes every value of the range.
void Walker::copies(NodeId par, ProcessId parent, const std::string& suffix, const Range& range) {
  const Node& n = tree_.node(par);
  NodeId list = n.b;
  NodeId first_process = kNone;
  for_each_branch(list, [&](std::uint32_t, std::uint32_t at) {
    if (first_process == kNone) first_process = tree_.child(list, at);
  });
  if (first_process == kNone) return;
  std::string label = branch_label(first_process) + (suffix.empty() ? "" : " " + suffix);
  if (range.known) {
    std::uint64_t count = static_cast<std::uint64_t>(range.last) - static_cast<std::uint64_t>(range.first) + 1;
    label += " [" + std::to_string(range.first) + ".." + std::to_string(range.last) + "]\n" + std::to_string(count) +
             " copies";
  } else {
    label += "\ncopies counted at run time";
  }
  ProcessId q = add_process(ProcessKind::copies, parent, std::move(label), tree_.kind(first_process) == Kind::call);
  SymbolId index = symbol_of(tree_.child(n.a, 0));
  if (range.known) {
    bind(index, {Binding::Kind::range, false, range.first, range.last, 0, kNone, 0});
  } else {
    bind_unknown(index);
  }
  ++collapsed_;
  for_each_branch(list, [&](std::uint32_t first, std::uint32_t at) { run_branch(list, first, at, q); });
  --collapsed_;
}

// ---------------------------------------------------------------- channels

bool Walker::is_channel(SymbolId symbol) const { return names_channels(tree_, r_, symbol); }

void Walker::bind_channels(SymbolId symbol, ChannelSet set) {
  if (set.empty()) {
    bind_unknown(symbol);
    return;
  }
  if (symbol == kNoSymbol || symbol >= bindings_.size()) return;
  // A name bound again (in the next call of its PROC) takes its set's place: one set per name.
  std::uint32_t& at = set_slots_[symbol];
  if (at == kNoSlot) {
    at = static_cast<std::uint32_t>(sets_.size());
    sets_.emplace_back();
  }
  sets_[at] = std::move(set);
  bind(symbol, {Binding::Kind::channels, false, 0, 0, 0, kNone, at});
}

void Walker::declare_channel(SymbolId symbol, ProcessId declarer, bool environment) {
  const Symbol& s = r_.symbol(symbol);
  Channel channel;
  channel.symbol = symbol;
  channel.elements = flat_size(r_.types, s.type);
  channel.declarer = declarer;
  channel.environment = environment;
  // The program inputs from a formal the environment outputs to, and the other way round.
  if (environment && s.direction == Direction::input) channel.environment_end = Direction::output;
  if (environment && s.direction == Direction::output) channel.environment_end = Direction::input;
  auto id = static_cast<std::uint32_t>(walk_.channels.size());
  walk_.channels.push_back(channel);
  ChannelSet set{id, s.type, -1, {}};
  if (channel.elements > 0) set.parts.push_back({0, channel.elements});
  bind_channels(symbol, std::move(set));
}

ChannelSet Walker::channels_of(NodeId element) {
  if (element == kNone || !spend()) return {};
  const Node& n = tree_.node(element);
  switch (n.kind) {
    case Kind::name: {
      SymbolId symbol = n.b;
      if (symbol == kNoSymbol || symbol >= bindings_.size() || bindings_[symbol].kind != Binding::Kind::channels)
        return {};
      return sets_[bindings_[symbol].channels];
    }
    case Kind::subscript: {
      ChannelSet base = channels_of(n.a);
      if (base.empty()) return base;
      return subscript(r_.types, base, values(n.b), steps_, kMaxRuns);
    }
    case Kind::slice: {
      ChannelSet base = channels_of(tree_.child(element, 0));
      if (base.empty()) return base;
      NodeId from = tree_.child(element, 1);
      NodeId count = tree_.child(element, 2);
      std::optional<std::int64_t> start = from == kNone ? std::optional<std::int64_t>(0) : value(from);
      std::optional<std::int64_t> length = count == kNone ? std::nullopt : value(count);
      std::int64_t items = base.size >= 0 ? base.size : r_.types[base.type].size;
      if (!length && start && items >= 0) length = items - *start;
      return segment(r_.types, base, start, length, steps_, kMaxRuns);
    }
    default:
      return {};
  }
}

// A use already recorded is not recorded again: a PROC called many times over by one process
// adds nothing after its first call.
void Walker::use(NodeId element, ProcessId p, Direction direction) {
  ChannelSet set = channels_of(element);
  if (set.empty() || stopped()) return;
  for (const Interval& part : set.parts) {
    ChannelUse use{p, set.channel, part, direction};
    if (recorded_.insert(use).second) walk_.uses.push_back(use);
  }
  walk_.network.processes[p].acts = true;
}

// ---------------------------------------------------------------- values

std::optional<std::int64_t> Walker::name_value(SymbolId symbol) {
  if (symbol >= bindings_.size() || lookup_depth_ > kMaxLookupDepth || !spend()) return std::nullopt;
  const Binding& b = bindings_[symbol];
  switch (b.kind) {
    case Binding::Kind::value:
      return b.first;
    case Binding::Kind::range:
      return b.fixed ? std::optional<std::int64_t>(b.current) : std::nullopt;
    case Binding::Kind::expression: {
      ++lookup_depth_;
      std::optional<std::int64_t> v = value(b.expression);
      --lookup_depth_;
      return v;
    }
    case Binding::Kind::channels:
      return std::nullopt;
    case Binding::Kind::unknown:
      break;
  }
  // A VAL abbreviation of a value known only in this instance.
  const Symbol& s = r_.symbol(symbol);
  if (s.kind != SymbolKind::value || s.definition == kNone || tree_.kind(s.definition) != Kind::val_abbreviation) {
    return std::nullopt;
  }
  ++lookup_depth_;
  std::optional<std::int64_t> v = value(tree_.child(s.definition, 2));
  --lookup_depth_;
  return v;
}

// The replicator indices ranging over several values that an expression's value depends on.
void Walker::ranges_in(NodeId expression, std::vector<SymbolId>& ranges, int depth) {
  if (expression == kNone || depth > kMaxLookupDepth || !spend()) return;
  const Node& n = tree_.node(expression);
  if (n.kind == Kind::name) {
    SymbolId symbol = n.b;
    if (symbol == kNoSymbol || symbol >= bindings_.size()) return;
    const Binding& b = bindings_[symbol];
    if (b.kind == Binding::Kind::range) {
      if (std::find(ranges.begin(), ranges.end(), symbol) == ranges.end()) ranges.push_back(symbol);
    } else if (b.kind == Binding::Kind::expression) {
      ranges_in(b.expression, ranges, depth + 1);
    } else if (b.kind == Binding::Kind::unknown) {
      const Symbol& s = r_.symbol(symbol);
      if (s.kind == SymbolKind::value && s.definition != kNone && tree_.kind(s.definition) == Kind::val_abbreviation) {
        ranges_in(tree_.child(s.definition, 2), ranges, depth + 1);
      }
    }
    return;
  }
  switch (shape_of(n.kind)) {
    case Shape::pair:
      ranges_in(n.a, ranges, depth + 1);
      ranges_in(n.b, ranges, depth + 1);
      break;
    case Shape::slots:
      for (NodeId child : tree_.children(expression)) ranges_in(child, ranges, depth + 1);
      break;
    case Shape::leaf:
      break;
  }
}

// Every value an index takes: one when it is constant here, each one its ranging indices give
// it, or nothing when some value is not known when translating.
std::optional<std::vector<std::int64_t>> Walker::values(NodeId expression) {
  std::vector<SymbolId> ranges;
  ranges_in(expression, ranges, 0);
  if (ranges.empty()) {
    std::optional<std::int64_t> v = value(expression);
    if (!v) return std::nullopt;
    return std::vector<std::int64_t>{*v};
  }
  std::uint64_t combinations = 1;
  for (SymbolId symbol : ranges) {
    const Binding& b = bindings_[symbol];
    if (b.last < b.first) return std::vector<std::int64_t>{};  // an index that takes no value
    auto span = static_cast<std::uint64_t>(b.last) - static_cast<std::uint64_t>(b.first) + 1;
    if (span > kMaxCombinations || combinations * span > kMaxCombinations) return std::nullopt;
    combinations *= span;
  }
  if (!spend(combinations)) return std::nullopt;
  for (SymbolId symbol : ranges) {
    bindings_[symbol].fixed = true;
    bindings_[symbol].current = bindings_[symbol].first;
  }
  std::vector<std::int64_t> found;
  bool known = true;
  for (std::uint64_t i = 0; i < combinations && known; ++i) {
    std::optional<std::int64_t> v = value(expression);
    if (v) found.push_back(*v);
    known = v.has_value();
    for (SymbolId symbol : ranges) {  // the next combination, the first index fastest
      Binding& b = bindings_[symbol];
      if (b.current < b.last) {
        ++b.current;
        break;
      }
      b.current = b.first;
    }
  }
  for (SymbolId symbol : ranges) bindings_[symbol].fixed = false;
  if (!known) return std::nullopt;
  std::sort(found.begin(), found.end());
  found.erase(std::unique(found.begin(), found.end()), found.end());
  return found;
}

}  // namespace

Walk walk_program(const Tree& tree, const Resolution& resolution, Diagnostics& diagnostics,
                  const NetworkLimits& limits) {
  Walk walk;
  Walker(tree, resolution, diagnostics, limits, walk).run();
  return walk;
}

}  // namespace vrk::occam2::graph
