// What the occam 2 grammar's actions work on: the parse stack entries and the tree they build.
//
// Each stack entry holds the node its symbol made, a list in the making, where the symbol's first
// token stands and the comment lines before it. A list is built on a stack of pending children
// (its entry keeps where its run starts and how long it is) and becomes a node once the rule that
// consumes it is reduced; lists nested inside its elements come and go above it, and whatever
// error recovery abandoned there is dropped when the list grows again.
#pragma once

#include <cstdint>
#include <string_view>
#include <unordered_map>

#include "occam2/tree/tree.h"
#include "parser/engine.h"
#include "scanner/diagnostics.h"

namespace vrk::occam2 {

struct Entry {
  NodeId node = kNone;
  std::uint32_t list_start = 0;
  std::uint32_t list_count = 0;
  Place place = 0;
  NodeId comment = kNone;   // the comment lines before the symbol's first token
  std::uint16_t depth = 0;  // subscripts nested in the node
  std::uint8_t detail = 0;  // an Operator, a Primitive, a Direction, PROC flags: what the symbol says
};
static_assert(sizeof(Entry) <= 24, "the parse stack copies an entry at every push");

// What the actions share for one parse.
class TreeBuilder {
 public:
  TreeBuilder(Tree& tree_in, Diagnostics& diagnostics_in) : tree(tree_in), diagnostics(diagnostics_in) {}

  // Lists: the first element starts one, each further one extends it, and the rule that takes
  // the list makes it a node. A none element is left out.
  void start_list(Entry& list, NodeId first);
  void extend_list(Entry& list, NodeId next);
  NodeId list_node(const Entry& list, Place place, Kind kind = Kind::list, std::uint8_t detail = 0);
  // The pending children of a list, for a node that takes them with others.
  std::uint32_t pending(std::uint32_t i) const { return pending_[i]; }

  // One comment node holding both texts (either may be none).
  NodeId join_comments(NodeId first, NodeId second);
  // Where the body of a PROC or FUNCTION definition begins: the tree as it stood once its head
  // was read.
  void note_body_start(NodeId definition) { body_starts_[definition] = tree.mark(); }
  TreeMark body_start(NodeId definition) const {
    auto found = body_starts_.find(definition);
    return found == body_starts_.end() ? tree.mark() : found->second;
  }
  // An error found while building (a subscript nested too deeply): reported at `place`.
  void error(Place place, std::string_view message, std::string_view near);
  // A syntax error at a token an action finds out of place (a name alone on a line that is not
  // ASM), reported as the parser reports one: "syntax error near 'end of line'".
  void syntax_error(Place place, int code, std::string_view lexeme);
  int error_count() const { return error_count_; }

  Tree& tree;
  Diagnostics& diagnostics;

 private:
  Slots pending_;
  std::unordered_map<NodeId, TreeMark> body_starts_;
  int error_count_ = 0;
};

struct TreeContext {
  TreeBuilder& builder;
  StackView<Entry>& view;

  Entry& rhs(int k) { return view.rhs(k); }
  Entry& result() { return view.result(); }
  Tree& tree() { return builder.tree; }
  Place place() { return view.result().place; }
};

}  // namespace vrk::occam2
