// The program, bodies and lists, and the helpers every group of actions uses.
#include <vector>

#include "occam2/parser/actions.h"

namespace vrk::occam2::actions {

NodeId make(TreeContext& c, Kind kind, NodeId a, NodeId b, std::uint8_t detail) {
  return c.tree().add(kind, c.place(), a, b, detail);
}

NodeId make_slots(TreeContext& c, Kind kind, std::initializer_list<NodeId> children, std::uint8_t detail) {
  return c.tree().add_with_children(kind, c.place(), std::span<const NodeId>(children.begin(), children.size()), detail);
}

NodeId list_of(TreeContext& c, const Entry& list) { return c.builder.list_node(list, list.place); }

NodeId list_with_first(TreeContext& c, NodeId first, const Entry& rest) {
  std::vector<NodeId> children;
  children.reserve(rest.list_count + 1);
  if (first != kNone) children.push_back(first);
  for (std::uint32_t i = 0; i < rest.list_count; ++i) children.push_back(c.builder.pending(rest.list_start + i));
  return c.tree().add_with_children(Kind::list, c.place(), children);
}

void unsupported(TreeContext& c, Construct construct, std::initializer_list<NodeId> declared) {
  std::vector<NodeId> names;
  for (NodeId id : declared) {
    if (id == kNone) continue;
    if (c.tree().kind(id) == Kind::list) {
      for (NodeId name : c.tree().children(id)) names.push_back(name);
    } else {
      names.push_back(c.tree().kind(id) == Kind::name ? defining(c, id) : id);
    }
  }
  c.result().node = c.tree().add_with_children(Kind::unsupported, c.place(), names, static_cast<std::uint8_t>(construct));
}

NodeId defining(TreeContext& c, NodeId name, Direction direction) {
  Node& node = c.tree().node(name);
  node.kind = Kind::name_def;
  node.detail = static_cast<std::uint8_t>(direction);
  return name;
}

void pass(TreeContext& c) { c.result() = c.rhs(1); }
// block: INDENT items OUTDENT, and the like: the second symbol's node.
void pass2(TreeContext& c) { c.result().node = c.rhs(2).node; }
void nothing(TreeContext&) {}

// program: %empty
void empty_program(TreeContext& c) {
  NodeId items = c.tree().add_with_children(Kind::list, c.place(), std::span<const NodeId>());
  c.tree().set_root(make(c, Kind::program, items));
}

// program: items
void program(TreeContext& c) {
  NodeId items = list_of(c, c.rhs(1));
  c.tree().set_root(make(c, Kind::program, items));
}

namespace {
// An item goes into its body's list after the comment lines that stood before it, which the
// list now keeps.
void add_item(TreeContext& c, Entry& list, Entry& item, bool first) {
  NodeId comment = std::exchange(item.comment, kNone);
  if (first) {
    c.builder.start_list(list, comment);
  } else if (comment != kNone) {
    c.builder.extend_list(list, comment);
  }
  // A declaration that makes several items (INITIAL INT a, b IS ...) hands them on as a list.
  if (item.node != kNone && c.tree().kind(item.node) == Kind::list) {
    for (NodeId each : c.tree().children(item.node)) c.builder.extend_list(list, each);
    return;
  }
  c.builder.extend_list(list, item.node);
}
}  // namespace

// items: item — and the choices, alternatives and options of IF, ALT and CASE.
void first_item(TreeContext& c) {
  Entry& result = c.result();
  add_item(c, result, c.rhs(1), true);
}

// items: items item
void next_item(TreeContext& c) {
  Entry& result = c.result();
  result = c.rhs(1);
  result.comment = kNone;
  add_item(c, result, c.rhs(2), false);
}

// item: error EOL, and the same in every other kind of body: the engine's recovery is complete.
void recover_from_error(TreeContext& c) { c.view.end_error_recovery(); }

// block: %empty, and every empty list.
void empty_list(TreeContext& c) {
  c.result().node = c.tree().add_with_children(Kind::list, c.place(), std::span<const NodeId>());
}

// block: INDENT items OUTDENT
void list_of_second(TreeContext& c) { c.result().node = list_of(c, c.rhs(2)); }
// formal_list: formals
void list_of_first(TreeContext& c) { c.result().node = list_of(c, c.rhs(1)); }

// Lists of names, expressions, actuals, formals.
void first_of_list(TreeContext& c) {
  Entry& result = c.result();
  c.builder.start_list(result, c.rhs(1).node);
}

void next_of_list(TreeContext& c) {
  Entry& result = c.result();
  result = c.rhs(1);
  c.builder.extend_list(result, c.rhs(3).node);
}

}  // namespace vrk::occam2::actions
