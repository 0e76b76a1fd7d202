// Bodies and processes. A body's items fall into groups: the declarations before a process and
// that process. A group whose declarations declare something opens a block, so that every
// declaration stands first in its block: { int 32 x; ... }.
#include <algorithm>

#include "occam2/handelc/writer_internal.h"

namespace vrk::occam2 {

namespace {

// Calls f with each group of a body in turn: the declarations (and comments) before a process,
// and the process (none for declarations at the end).
template <class F>
void for_each_group(const Tree& tree, NodeId list, F f) {
  Group group;
  for (NodeId item : tree.children(list)) {
    if (tree.kind(item) == Kind::comment || is_declarative(tree, item)) {
      group.declaratives.push_back(item);
      continue;
    }
    group.process = item;
    f(group);
    group.declaratives.clear();
    group.process = kNone;
  }
  if (!group.declaratives.empty()) f(group);
}

// The number of bits that hold every value from `low` to `high`, and whether they must be signed.
HcType index_type(std::int64_t low, std::int64_t high) {
  bool is_signed = low < 0;
  int width = 1;
  while (width < 63) {
    std::int64_t lowest = is_signed ? -(std::int64_t{1} << (width - 1)) : 0;
    std::int64_t highest = is_signed ? (std::int64_t{1} << (width - 1)) - 1 : (std::int64_t{1} << width) - 1;
    if (low >= lowest && high <= highest) break;
    ++width;
  }
  return {is_signed, width};
}

// A replicated SEQ of a constant count above this is a loop rather than a replicator, which would
// build a copy of the body for every turn.
constexpr std::int64_t kLargestUnrolledSeq = 64;

}  // namespace

// ---------------------------------------------------------------- bodies and groups

// The statements of a body, in a block the caller has just opened.
void Writer::block(NodeId list) {
  long before = statements_;
  bool first = true;
  for_each_group(tree_, list, [&](const Group& g) {
    if (!first) return group(g, Context::block);
    first = false;
    // The first group's declarations may stand at the head of the block itself.
    if (group_declaratives(g)) line("");
    initialisations(g);
    if (g.process != kNone) process(g.process);
  });
  if (statements_ == before) line("delay;"), ++statements_;
}

// The items of a body written among the statements of the block around it.
void Writer::body(NodeId list, Context context) {
  for_each_group(tree_, list, [&](const Group& g) { group(g, context); });
}

// A declaration that stands as a banner: one that cannot be written, one kept unsupported, an
// #INCLUDE not found.
bool Writer::needs_banner(NodeId declarative) const {
  Kind kind = tree_.kind(declarative);
  return r_.why_unwritable(declarative) || kind == Kind::unsupported || kind == Kind::missing_include;
}

bool Writer::declares_locally(const Group& g) const {
  for (NodeId s : g.declaratives) {
    if (declares_locally(s) && !r_.why_unwritable(s)) return true;
  }
  return false;
}

void Writer::initialisations(const Group& g) {
  for (NodeId s : g.declaratives) {
    if (!r_.why_unwritable(s) && tree_.kind(s) != Kind::comment) local_initialisation(s);
  }
}

// A group's comment lines, banners and the declarations it makes in its block; true when it
// declared anything.
bool Writer::group_declaratives(const Group& g) {
  bool declared = false;
  for (NodeId s : g.declaratives) {
    if (tree_.kind(s) == Kind::comment) {
      comment(s);
    } else if (needs_banner(s)) {
      declarative_banner(s);
    } else if (declares_locally(s)) {
      local_declaration(s);
      declared = true;
    }
  }
  return declared;
}

void Writer::group(const Group& g, Context context) {
  if (!declares_locally(g)) {
    for (NodeId s : g.declaratives) {
      if (tree_.kind(s) == Kind::comment) {
        comment(s);
      } else if (needs_banner(s)) {
        declarative_banner(s);
      } else {
        local_initialisation(s);
      }
    }
    if (g.process != kNone) process(g.process, context);
    return;
  }
  open("");
  group_declaratives(g);
  line("");
  long before = statements_;
  initialisations(g);
  if (g.process != kNone) process(g.process);
  if (statements_ == before) line("delay;"), ++statements_;
  close();
  ++statements_;
}

// Whether a declaration declares something in the block it stands in: variables, channels, and
// VALs of values known only at run time. Constants, tables, PROCs and FUNCTIONs go to the
// outermost level; abbreviations are written where they are used; a TIMER is the clock counter.
bool Writer::declares_locally(NodeId declarative) const {
  switch (tree_.kind(declarative)) {
    case Kind::declaration: {
      TypeId type = tree_.node(declarative).type;
      (void)type;
      for (NodeId name : tree_.children(tree_.node(declarative).b)) {
        const Symbol& s = r_.symbol(tree_.node(name).b);
        if (s.kind == SymbolKind::variable || s.kind == SymbolKind::channel) return true;
      }
      return false;
    }
    case Kind::initial_declaration: return true;
    case Kind::val_abbreviation: return r_.symbol(tree_.node(tree_.child(declarative, 1)).b).kind == SymbolKind::value;
    default: return false;
  }
}

std::string dimensions_of(const TypeTable& types, TypeId type, bool& unknown) {
  std::string text;
  for (TypeId t = type; types.is_array(t); t = types[t].element) {
    if (types[t].size == kUnknownSize) unknown = true;
    text += "[" + std::to_string(types[t].size) + "]";
  }
  return text;
}

// INT x, y:  ->  int 32 x, y;     [4]CHAN BYTE c:  ->  chan unsigned 8 c[4];
void Writer::local_declaration(NodeId declarative) {
  switch (tree_.kind(declarative)) {
    case Kind::declaration: {
      // The names of one declaration share their type: int 32 count, last, v;
      std::string head;
      std::string names;
      for (NodeId name : tree_.children(tree_.node(declarative).b)) {
        SymbolId symbol = tree_.node(name).b;
        const Symbol& s = r_.symbol(symbol);
        if (s.kind != SymbolKind::variable && s.kind != SymbolKind::channel) continue;
        bool unknown = false;
        std::string dimensions = dimensions_of(r_.types, s.type, unknown);
        if (unknown) {
          banner(name, "occam array of a size known only at run time", false);
          continue;
        }
        TypeId inner = r_.types.innermost(s.type);
        head = s.kind == SymbolKind::channel ? "chan " + type_spelling(hc_type(r_.types[inner].element)) + " "
                                             : type_spelling(hc_type(inner)) + " ";
        if (!names.empty()) names += ", ";
        names += symbol_name(symbol) + dimensions;
      }
      if (!names.empty()) line(head + names + ";");
      return;
    }
    case Kind::initial_declaration:
    case Kind::val_abbreviation: {
      SymbolId symbol = tree_.node(tree_.child(declarative, 1)).b;
      const Symbol& s = r_.symbol(symbol);
      bool unknown = false;
      std::string dimensions = dimensions_of(r_.types, s.type, unknown);
      line(type_spelling(hc_type(r_.types.innermost(s.type))) + " " + symbol_name(symbol) + dimensions + ";");
      return;
    }
    default: return;
  }
}

// A VAL of a value known only at run time, and an INITIAL declaration, get their value where
// they stand: x = e;
void Writer::local_initialisation(NodeId declarative) {
  Kind kind = tree_.kind(declarative);
  if (kind != Kind::initial_declaration && !(kind == Kind::val_abbreviation && declares_locally(declarative))) return;
  SymbolId symbol = tree_.node(tree_.child(declarative, 1)).b;
  NodeId value = tree_.child(declarative, 2);
  TypeId type = r_.symbol(symbol).type;
  if (r_.types.is_array(type)) {
    // An array: each element in turn of a table, all at once.
    if (tree_.kind(value) != Kind::table) {
      banner(declarative, "occam " + std::string(construct_name(Construct::array_assignment)), false);
      return;
    }
    open("par");
    std::int64_t i = 0;
    for (NodeId item : tree_.children(tree_.node(value).a)) {
      start_line();
      write(symbol_name(symbol) + "[" + std::to_string(i++) + "] = ");
      expression(item, hc_type(r_.types[type].element));
      write(";");
      end_line();
    }
    close();
    ++statements_;
    return;
  }
  start_line();
  write(symbol_spelling(symbol));
  write(" = ");
  expression(value, hc_type(type));
  write(";");
  end_line();
  ++statements_;
}

void Writer::declarative_banner(NodeId declarative) {
  if (std::optional<Construct> why = r_.why_unwritable(declarative)) return unwritable_statement(declarative, *why);
  if (tree_.kind(declarative) == Kind::missing_include) {
    banner(declarative, tree_.text(declarative), true);
    return;
  }
  auto construct = static_cast<Construct>(tree_.node(declarative).detail);
  banner(declarative, "occam " + std::string(construct_name(construct)), false);
}

// ---------------------------------------------------------------- processes

// How many statements a process makes: 0, 1, or 2 standing for more. Remembered per node, since
// the constructs around a process ask again.
int Writer::statement_count(NodeId id) const {
  if (id >= counts_.size()) counts_.resize(tree_.node_count(), -1);
  if (counts_[id] >= 0) return counts_[id];
  int count = 1;
  const Node& n = tree_.node(id);
  if (r_.why_unwritable(id)) {
    count = 1;
  } else if (n.kind == Kind::skip) {
    count = 0;
  } else if (n.kind == Kind::seq && n.a == kNone) {
    count = body_statement_count(n.b);
  } else if (n.kind == Kind::par && n.a == kNone) {
    int branches = 0;
    for_each_group(tree_, n.b, [&](const Group& g) {
      if (declares_locally(g) || (g.process != kNone && statement_count(g.process) > 0)) ++branches;
    });
    count = branches > 1 ? 1 : branches;
  } else if ((n.kind == Kind::input || n.kind == Kind::output) && tree_.kind(n.b) == Kind::list) {
    count = static_cast<int>(tree_.child_count(n.b));
  }
  counts_[id] = static_cast<std::int8_t>(count > 2 ? 2 : count);
  return counts_[id];
}

int Writer::body_statement_count(NodeId list) const {
  int count = 0;
  for_each_group(tree_, list, [&](const Group& g) {
    if (count >= 2) return;
    bool local = false;
    for (NodeId s : g.declaratives) {
      if (tree_.kind(s) == Kind::comment) continue;
      if (needs_banner(s)) ++count;
      if (declares_locally(s)) local = true;
    }
    if (local) {
      ++count;
    } else if (g.process != kNone) {
      count += statement_count(g.process);
    }
  });
  return count > 2 ? 2 : count;
}

void Writer::process(NodeId id, Context context) {
  if (std::optional<Construct> why = r_.why_unwritable(id)) return unwritable_statement(id, *why);
  const Node& n = tree_.node(id);
  switch (n.kind) {
    case Kind::skip: return;
    case Kind::stop: return stop();
    case Kind::assignment: return assignment(id);
    case Kind::multiple_assignment: return multiple_assignment(id);
    case Kind::input:
    case Kind::output:
      if (context == Context::branch && statement_count(id) > 1) {
        open("seq");
        n.kind == Kind::input ? input(id) : output(id);
        close();
        return;
      }
      return n.kind == Kind::input ? input(id) : output(id);
    case Kind::delayed_input: return delayed_input(id);
    case Kind::call: return call(id);
    case Kind::seq: return seq(id, context);
    case Kind::par: return par(id, context);
    case Kind::if_process: return if_process(id);
    case Kind::alt: return alt(id);
    case Kind::case_process: return case_process(id);
    case Kind::while_process: return while_process(id);
    case Kind::valof: {
      // The body of a FUNCTION's VALOF, then its result.
      body(n.a);
      start_line();
      write("return ");
      SymbolId function = tree_.node(tree_.child(definition_, 1)).b;
      expression(tree_.child(n.b, 0), hc_type(r_.symbol(function).type));
      write(";");
      end_line();
      ++statements_;
      return;
    }
    case Kind::unsupported:
      banner(id, "occam " + std::string(construct_name(static_cast<Construct>(n.detail))), false);
      return;
    default: return;
  }
}

// SEQ: the statements in order; as a branch of a par, in seq { ... }.
void Writer::seq(NodeId id, Context context) {
  const Node& n = tree_.node(id);
  if (n.a != kNone) return replicated_seq(id);
  if (context == Context::branch && body_statement_count(n.b) > 1) {
    open("seq");
    block(n.b);
    close();
    ++statements_;
    return;
  }
  body(n.b, context);
}

// SEQ i = b FOR n, with b and n constants:
//   { unsigned 3 i; seq (i = 0; i < 4; i++) { ... } }
// otherwise a loop counting down a count taken once:
//   { int 32 i, i_count; i = b; i_count = n; while (i_count > 0) { ...; par { i = i + 1; i_count = i_count - 1; } } }
void Writer::replicated_seq(NodeId id) {
  const Node& n = tree_.node(id);
  NodeId rep = n.a;
  SymbolId index = tree_.node(tree_.child(rep, 0)).b;
  std::string name = symbol_name(index);
  std::optional<std::int64_t> base = constant(tree_.child(rep, 1));
  std::optional<std::int64_t> count = constant(tree_.child(rep, 2));
  if ((base && count && *count <= 0) || body_statement_count(n.b) == 0) return;
  open("");
  if (base && count && *count <= kLargestUnrolledSeq) {
    std::int64_t end = *base + *count;
    HcType type = index_type(*base, end);
    replicator_types_[index] = type;
    line(type_spelling(type) + " " + name + ";");
    line("");
    open("seq (" + name + " = " + number_text(*base, type, false) + "; " + name + " < " + number_text(end, type, false) +
         "; " + name + "++)");
    block(n.b);
    close();
    replicator_types_.erase(index);
  } else {
    std::string counter(tree_.names.spelling(r_.symbol(index).helper));
    line("int 32 " + name + ", " + counter + ";");
    line("");
    start_line();
    write(name + " = ");
    expression(tree_.child(rep, 1), {true, 32});
    write(";");
    end_line();
    start_line();
    write(counter + " = ");
    expression(tree_.child(rep, 2), {true, 32});
    write(";");
    end_line();
    open("while (" + counter + " > 0)");
    block(n.b);
    open("par");
    line(name + " = " + name + " + 1;");
    line(counter + " = " + counter + " - 1;");
    close();
    close();
  }
  close();
  ++statements_;
}

// PAR: par { ... }, one branch a group; a PAR of one branch is that branch.
void Writer::par(NodeId id, Context context) {
  const Node& n = tree_.node(id);
  if (n.a != kNone) return replicated_par(id);
  std::vector<Group> branches;
  for_each_group(tree_, n.b, [&](const Group& g) {
    bool banners = false;
    for (NodeId s : g.declaratives) {
      if (needs_banner(s)) banners = true;
    }
    if (declares_locally(g) || banners || (g.process != kNone && statement_count(g.process) > 0)) {
      branches.push_back(g);
    } else {
      for (NodeId s : g.declaratives) {
        if (tree_.kind(s) == Kind::comment) comment(s);
      }
    }
  });
  if (branches.empty()) return;
  if (branches.size() == 1) return group(branches[0], context);
  open("par");
  for (const Group& g : branches) group(g, Context::branch);
  close();
  ++statements_;
}

// PAR i = b FOR n, with b and n constants:
//   { unsigned 3 i; par (i = 0; i < 4; i++) { ... } }
void Writer::replicated_par(NodeId id) {
  const Node& n = tree_.node(id);
  NodeId rep = n.a;
  SymbolId index = tree_.node(tree_.child(rep, 0)).b;
  std::string name = symbol_name(index);
  std::optional<std::int64_t> base = constant(tree_.child(rep, 1));
  std::optional<std::int64_t> count = constant(tree_.child(rep, 2));
  if (!base || !count) {
    banner(id, "occam " + std::string(construct_name(Construct::variable_replicated_par)), false);
    return;
  }
  if (*count <= 0 || body_statement_count(n.b) == 0) return;
  std::int64_t end = *base + *count;
  HcType type = index_type(*base, end);
  replicator_types_[index] = type;
  open("");
  line(type_spelling(type) + " " + name + ";");
  line("");
  open("par (" + name + " = " + number_text(*base, type, false) + "; " + name + " < " + number_text(end, type, false) +
       "; " + name + "++)");
  block(n.b);
  close();
  close();
  replicator_types_.erase(index);
  ++statements_;
}

// Declarations among the choices of an IF, the options of a CASE or the alternatives of an ALT
// scope over one of them; their names are unique, so they are declared in a block around the
// whole construct, and the values they give are computed before it.
bool Writer::open_block_for_declaratives(NodeId items) {
  std::vector<NodeId> found;
  auto gather = [&](auto&& self, NodeId list) -> void {
    for (NodeId item : tree_.children(list)) {
      if (is_declarative(tree_, item) && !r_.why_unwritable(item) && declares_locally(item)) found.push_back(item);
      if (tree_.kind(item) == Kind::if_process || tree_.kind(item) == Kind::alt) self(self, tree_.node(item).b);
    }
  };
  gather(gather, items);
  if (found.empty()) return false;
  open("");
  for (NodeId s : found) local_declaration(s);
  line("");
  for (NodeId s : found) local_initialisation(s);
  return true;
}

// IF: if (c1) { P1 } else if (c2) { P2 } ... else { while (1) delay; }, with the choices of
// nested IFs joining the chain and a replicated IF of constant bounds written out copy by copy.
// A choice whose condition is TRUE ends the chain as its else; without one, the last else stops,
// as occam's IF does when no choice is TRUE.
void Writer::if_process(NodeId id) {
  struct Choice {
    NodeId choice;
    std::vector<std::pair<SymbolId, std::int64_t>> indices;
  };
  std::vector<Choice> chain;
  bool ok = true;
  std::vector<std::pair<SymbolId, std::int64_t>> indices;
  auto gather = [&](auto&& self, NodeId construct) -> void {
    NodeId rep = tree_.node(construct).a;
    NodeId list = tree_.node(construct).b;
    auto each = [&]() {
      for (NodeId item : tree_.children(list)) {
        if (tree_.kind(item) == Kind::choice || tree_.kind(item) == Kind::comment) chain.push_back({item, indices});
        if (tree_.kind(item) == Kind::if_process) self(self, item);
      }
    };
    if (rep == kNone) return each();
    std::optional<std::int64_t> base = constant(tree_.child(rep, 1));
    std::optional<std::int64_t> count = constant(tree_.child(rep, 2));
    if (!base || !count || *count > 4096) {
      ok = false;
      return;
    }
    SymbolId index = tree_.node(tree_.child(rep, 0)).b;
    for (std::int64_t i = 0; i < *count; ++i) {
      indices.emplace_back(index, *base + i);
      each();
      indices.pop_back();
    }
  };
  gather(gather, id);
  if (!ok) {
    banner(id, "occam replicated IF with a count known only at run time", false);
    return;
  }
  bool block_opened = open_block_for_declaratives(tree_.node(id).b);
  bool first = true;
  bool ended = false;
  for (const Choice& c : chain) {
    if (tree_.kind(c.choice) == Kind::comment) {
      comment(c.choice);
      continue;
    }
    for (auto [index, value] : c.indices) constant_indices_[index] = value;
    NodeId condition_node = tree_.node(c.choice).a;
    std::optional<std::int64_t> value = constant(condition_node);
    if (value && *value == 0) {
      for (auto [index, v] : c.indices) constant_indices_.erase(index);
      continue;
    }
    if (value && *value != 0) {
      open(first ? "" : "else");
      block(tree_.node(c.choice).b);
      close();
      ended = true;
    } else {
      start_line();
      write(first ? "if (" : "else if (");
      condition(condition_node);
      write(")");
      end_line();
      open("");
      block(tree_.node(c.choice).b);
      close();
    }
    for (auto [index, v] : c.indices) constant_indices_.erase(index);
    first = false;
    if (ended) break;
  }
  if (!ended) {
    if (first) {
      stop();
    } else {
      open("else");
      stop();
      close();
    }
  }
  if (block_opened) close();
  ++statements_;
}

// CASE x: switch (x) { case 1: case 2: ... break; default: ... break; }; without ELSE the default
// stops, as occam's CASE does when no option matches.
void Writer::case_process(NodeId id) {
  const Node& n = tree_.node(id);
  bool block_opened = open_block_for_declaratives(n.b);
  HcType selector = natural_type(n.a);
  start_line();
  write("switch (");
  expression(n.a);
  write(")");
  end_line();
  open("");
  bool has_else = false;
  for (NodeId item : tree_.children(n.b)) {
    if (tree_.kind(item) == Kind::comment) comment(item);
    if (tree_.kind(item) != Kind::option) continue;
    const Node& option = tree_.node(item);
    if (option.a == kNone) {
      has_else = true;
      line("default:");
    } else {
      for (NodeId label : tree_.children(option.a)) {
        start_line();
        write("case ");
        std::optional<std::int64_t> value = constant(label);
        if (tree_.kind(label) == Kind::character) {
          write(character_text(static_cast<unsigned char>(tree_.node(label).a)));
        } else if (value) {
          write(number_text(*value, selector, false));
        } else {
          expression(label, selector);
        }
        write(":");
        end_line();
      }
    }
    ++indent_;
    long before = statements_;
    body(option.b);
    if (statements_ == before) line("delay;");
    line("break;");
    --indent_;
  }
  if (!has_else) {
    line("default:");
    ++indent_;
    stop();
    line("break;");
    --indent_;
  }
  close();
  if (block_opened) close();
  ++statements_;
}

// WHILE c: while (c) { ... }
void Writer::while_process(NodeId id) {
  const Node& n = tree_.node(id);
  start_line();
  write("while (");
  condition(n.a);
  write(")");
  end_line();
  open("");
  block(n.b);
  close();
  ++statements_;
}

// STOP, and what behaves like it: while (1) delay;
void Writer::stop() {
  line("while (1) delay;");
  ++statements_;
}

// ---------------------------------------------------------------- simple processes

// x := e  ->  x = e;
void Writer::assignment(NodeId id) {
  const Node& n = tree_.node(id);
  TypeId target = tree_.node(n.a).type;
  if (r_.types.is_array(target)) {
    banner(id, "occam " + std::string(construct_name(Construct::array_assignment)), false);
    return;
  }
  start_line();
  element(n.a);
  write(" = ");
  expression(n.b, hc_type(target));
  write(";");
  end_line();
  ++statements_;
}

// a, b := b, a  ->  par { a = b; b = a; }: every value is read before any is assigned.
void Writer::multiple_assignment(NodeId id) {
  const Node& n = tree_.node(id);
  open("par");
  for (std::uint32_t i = 0; i < tree_.child_count(n.a) && i < tree_.child_count(n.b); ++i) {
    NodeId target = tree_.child(n.a, i);
    start_line();
    element(target);
    write(" = ");
    expression(tree_.child(n.b, i), hc_type(tree_.node(target).type));
    write(";");
    end_line();
  }
  close();
  ++statements_;
}

// c ? x; y  ->  c ? x; c ? y;     tim ? t  ->  t = (int 32)vrk_clock;
void Writer::input(NodeId id) {
  const Node& n = tree_.node(id);
  bool timer = r_.types[tree_.node(n.a).type].kind == TypeKind::timer;
  auto item = [&](NodeId target) {
    start_line();
    if (timer) {
      element(target);
      write(" = ");
      HcType type = hc_type(tree_.node(target).type);
      if (type != HcType{false, 32}) write("(" + type_spelling(type) + ")");
      write(tree_.names.spelling(r_.clock_name));
    } else {
      element(n.a);
      write(" ? ");
      element(target);
    }
    write(";");
    end_line();
    ++statements_;
  };
  if (tree_.kind(n.b) == Kind::list) {
    for (NodeId target : tree_.children(n.b)) item(target);
  } else {
    item(n.b);
  }
}

// c ! e; f  ->  c ! e; c ! f;
void Writer::output(NodeId id) {
  const Node& n = tree_.node(id);
  TypeId channel = tree_.node(n.a).type;
  HcType carried = r_.types.is_channel(channel) ? hc_type(r_.types[channel].element) : HcType{};
  auto item = [&](NodeId value) {
    start_line();
    element(n.a);
    write(" ! ");
    expression(value, carried);
    write(";");
    end_line();
    ++statements_;
  };
  if (tree_.kind(n.b) == Kind::list) {
    for (NodeId value : tree_.children(n.b)) item(value);
  } else {
    item(n.b);
  }
}

// tim ? AFTER t  ->  while ((int 32)(vrk_clock - (unsigned 32)(t)) < 0) delay;
void Writer::delayed_input(NodeId id) {
  start_line();
  write("while ((int 32)(" + std::string(tree_.names.spelling(r_.clock_name)) + " - (unsigned 32)(");
  expression(tree_.node(id).b, {true, 32});
  write(")) < 0) delay;");
  end_line();
  ++statements_;
}

// p (a, b)  ->  p (a, b);
void Writer::call(NodeId id) {
  const Node& n = tree_.node(id);
  start_line();
  write(symbol_spelling(tree_.node(n.a).b));
  write(" (");
  arguments(n.a, n.b, false);
  write(");");
  end_line();
  ++statements_;
}

// ---------------------------------------------------------------- banners

namespace {
// The first name in a statement that stands for nothing, or (with `poisoned`) for something
// declared with a name that stands for nothing.
NodeId first_undefined_name(const Tree& tree, const Resolution& r, NodeId id, bool poisoned) {
  if (id == kNone) return kNone;
  const Node& n = tree.node(id);
  if (n.kind == Kind::name) {
    if (!poisoned) return n.b == kNoSymbol ? id : kNone;
    return n.b != kNoSymbol && r.symbol(n.b).kind == SymbolKind::unsupported &&
                   r.symbol(n.b).construct == Construct::undefined_name
               ? id
               : kNone;
  }
  switch (shape_of(n.kind)) {
    case Shape::leaf: return kNone;
    case Shape::pair: {
      NodeId found = first_undefined_name(tree, r, n.a, poisoned);
      return found != kNone ? found : first_undefined_name(tree, r, n.b, poisoned);
    }
    case Shape::slots:
      for (NodeId child : tree.children(id)) {
        NodeId found = first_undefined_name(tree, r, child, poisoned);
        if (found != kNone) return found;
      }
      return kNone;
  }
  return kNone;
}
}  // namespace

// A statement that cannot be written: a banner naming why, reported unless its error was.
void Writer::unwritable_statement(NodeId id, Construct why) {
  switch (why) {
    case Construct::undefined_name: {
      if (NodeId name = first_undefined_name(tree_, r_, id, false); name != kNone) {
        return banner(id, "'" + std::string(tree_.name_of(name)) + "' is not defined", true);
      }
      if (NodeId name = first_undefined_name(tree_, r_, id, true); name != kNone) {
        return banner(id, "'" + std::string(tree_.name_of(name)) + "' is declared with a name that is not defined", true);
      }
      return banner(id, "a name is not defined", true);
    }
    case Construct::self_call: return banner(id, "a PROC or FUNCTION calls itself", true);
    case Construct::type_error: return banner(id, "the types of this process do not agree", true);
    case Construct::large_number: return banner(id, "a number too large for its type", true);
    default: return banner(id, "occam " + std::string(construct_name(why)), false);
  }
}

// A banner where a statement or declaration would stand. `subject` is an error already reported,
// or a construct without counterpart, reported here (as a warning in the quiet style).
void Writer::banner(NodeId at, std::string_view subject, bool already_reported) {
  Location where = tree_.locate(at);
  std::string file = tree_.places.file_name(where.file);
  std::string what(subject);
  if (!already_reported) what += " has no Handel-C counterpart";
  line(banner_text(what, file + ":" + std::to_string(where.line)));
  ++statements_;
  if (!already_reported) {
    diagnostics_.unsupported_in(file, {static_cast<int>(where.line), static_cast<int>(where.column)}, subject);
  }
}

}  // namespace vrk::occam2
