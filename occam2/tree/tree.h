// The tree of an occam 2 program, as the parser builds it and the later passes read it.
//
// Nodes are 16 bytes, kept in one BlockArray and named by their index (NodeId; 0 is "none").
// A node has a kind (node_kinds.def says what its fields hold), a small detail byte, a 16-bit
// type the resolver fills in for expressions, a Place and two 32-bit fields: values for a leaf,
// child nodes for a pair, or a run of the tree's slots for a node with more children. Names are
// interned (NameId), texts (comments, strings) kept in one character store, and places decoded
// to FILE:LINE:COLUMN only when a message needs one. Nothing here knows Handel-C.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "occam2/tree/block_array.h"

namespace vrk::occam2 {

using NodeId = std::uint32_t;
using NameId = std::uint32_t;
using TypeId = std::uint16_t;
using Place = std::uint32_t;
inline constexpr NodeId kNone = 0;

enum class Kind : std::uint8_t {
#define VRK_NODE(kind, shape, name) kind,
#include "occam2/tree/node_kinds.def"
#undef VRK_NODE
};
enum class Shape : std::uint8_t { leaf, pair, slots };
inline constexpr Shape kKindShapes[] = {
#define VRK_NODE(kind, shape, name) Shape::shape,
#include "occam2/tree/node_kinds.def"
#undef VRK_NODE
};
// Asked of every node a pass walks: kept where the compiler can see it.
inline Shape shape_of(Kind kind) { return kKindShapes[static_cast<std::size_t>(kind)]; }
static_assert(std::size(kKindShapes) <= 64, "a set of kinds is a 64-bit mask");
constexpr std::uint64_t kind_bit(Kind kind) { return std::uint64_t{1} << static_cast<unsigned>(kind); }
std::string_view kind_name(Kind kind);     // as node_kinds.def spells the kind: "if_process"
std::string_view kind_message(Kind kind);  // as a message calls it: "IF"

// A construct kept only as an unsupported node or type.
enum class Construct : std::uint8_t {
#define VRK_CONSTRUCT(code, name) code,
#include "occam2/tree/constructs.def"
#undef VRK_CONSTRUCT
};
std::string_view construct_name(Construct construct);

enum class OperatorClass : std::uint8_t { arithmetic, modulo, bitwise, shift, comparison, boolean, after, user };
enum class Operator : std::uint8_t {
#define VRK_OPERATOR(code, spelling, cls) code,
#include "occam2/tree/operators.def"
#undef VRK_OPERATOR
};
std::string_view operator_spelling(Operator op);
// The operator a spelling stands for, its other names included (REM, BITAND, BITOR, BITNOT); a
// dyadic reading for "-" and "MINUS". False for a spelling that is no operator.
bool operator_named(std::string_view spelling, Operator& op);
// The name a FUNCTION that defines operator `op` is known by: its spelling in quotes, "+".
std::string operator_function_name(Operator op);
OperatorClass operator_class(Operator op);

// The primitive data types.
enum class Primitive : std::uint8_t { bool_, byte, int_, int16, int32, int64, real32, real64 };
std::string_view primitive_name(Primitive primitive);

// Flags in the detail of a PROC or FUNCTION definition.
inline constexpr std::uint8_t kRecursiveDefinition = 1;  // RECURSIVE: in scope in its own body
inline constexpr std::uint8_t kFunctionIsExpressions = 2;  // FUNCTION ... IS e: its value is a list of expressions

// A direction written after a name: c? c!
enum class Direction : std::uint8_t { none, input, output };
// How a formal is passed.
enum class FormalMode : std::uint8_t { reference, val, result, shared };

struct Node {
  Kind kind;
  std::uint8_t detail;
  TypeId type;  // an expression's type once resolved (0: not known)
  Place place;  // where its first token stands
  std::uint32_t a;
  std::uint32_t b;
};
static_assert(sizeof(Node) == 16, "a node per token or so: keep it small");

// Where a place stands: the file (as Places::file_name names it), line and column from 1.
struct Location {
  std::uint32_t file = 0;
  std::uint32_t line = 0;
  std::uint32_t column = 0;
};

// Places: one 32-bit number per token position. Each source line met gets a base; a position on
// it is the base plus its column. Lines are kept as runs (base, file, line), so a place is
// decoded by a binary search, and the table grows by one entry per line that holds tokens.
class Places {
 public:
  Place at(std::uint32_t file, std::uint32_t line, std::uint32_t column) {
    // Most tokens stand on the line of the one before them.
    if (file == last_file_ && line == last_line_ && column <= kLastColumn - last_base_) {
      Place place = last_base_ + column;
      if (place >= next_base_) next_base_ = place + 1;
      return place;
    }
    return at_new_line(file, line, column);
  }
  Location locate(Place place) const;
  // The lines met so far, and forgetting those met after the first `count`: the places on them
  // must be used no more.
  std::uint32_t line_count() const { return lines_.size(); }
  void forget_lines_after(std::uint32_t count);
  // Files are numbered in the order they are named; 0 is the main source.
  std::uint32_t add_file(std::string name);
  const std::string& file_name(std::uint32_t file) const { return files_[file]; }
  std::size_t file_count() const { return files_.size(); }

 private:
  struct Line {
    Place base;
    std::uint32_t file;
    std::uint32_t line;
  };
  static constexpr Place kLastColumn = 0xFFFFFFF0u;
  Place at_new_line(std::uint32_t file, std::uint32_t line, std::uint32_t column);
  BlockArray<Line> lines_;
  Place next_base_ = 1;  // 0 is no place at all
  std::uint32_t last_file_ = ~0u;
  std::uint32_t last_line_ = ~0u;
  Place last_base_ = 0;
  std::vector<std::string> files_;
};

// Names interned: the same spelling gives the same NameId. Every name token is interned, so the
// table is open-addressed with a short hash of the spelling: one probe finds most.
class Names {
 public:
  NameId intern(std::string_view name);
  // The name of a spelling interned before, or kNotInterned.
  static constexpr NameId kNotInterned = ~NameId{0};
  NameId find(std::string_view name) const;
  std::string_view spelling(NameId id) const { return spellings_[id]; }
  std::size_t size() const { return spellings_.size(); }

 private:
  static constexpr NameId kFree = kNotInterned;
  void grow();
  std::size_t slot_of(std::string_view name, std::uint32_t hash) const;
  std::vector<std::string_view> spellings_;
  std::vector<std::uint32_t> hashes_;  // by NameId: its spelling's hash
  std::vector<NameId> slots_;          // a power of two of them, kFree where none
  std::vector<std::unique_ptr<char[]>> stores_;
  char* free_ = nullptr;
  std::size_t left_ = 0;
};

using Slots = BlockArray<NodeId, 16>;

// How much of a tree there is at a moment: what was added after it can be released at once.
struct TreeMark {
  std::uint32_t nodes = 0;
  std::uint32_t slots = 0;
  std::uint32_t chars = 0;
  std::uint32_t lines = 0;
};

// The children of a slots node: a run of the tree's slots, read in order.
class Children {
 public:
  class iterator {
   public:
    using value_type = NodeId;
    using difference_type = std::ptrdiff_t;
    iterator() = default;
    iterator(const Slots* slots, std::uint32_t at) : slots_(slots), at_(at) {}
    NodeId operator*() const { return (*slots_)[at_]; }
    iterator& operator++() {
      ++at_;
      return *this;
    }
    iterator operator++(int) {
      iterator before = *this;
      ++at_;
      return before;
    }
    bool operator==(const iterator& other) const { return at_ == other.at_; }

   private:
    const Slots* slots_ = nullptr;
    std::uint32_t at_ = 0;
  };
  Children(const Slots* slots, std::uint32_t start, std::uint32_t count) : slots_(slots), start_(start), count_(count) {}
  iterator begin() const { return {slots_, start_}; }
  iterator end() const { return {slots_, start_ + count_}; }
  std::uint32_t size() const { return count_; }
  bool empty() const { return count_ == 0; }
  NodeId operator[](std::uint32_t i) const { return (*slots_)[start_ + i]; }

 private:
  const Slots* slots_;
  std::uint32_t start_;
  std::uint32_t count_;
};

class Tree {
 public:
  Tree();

  // ---- reading
  const Node& node(NodeId id) const { return nodes_[id]; }
  Node& node(NodeId id) { return nodes_[id]; }
  Kind kind(NodeId id) const { return nodes_[id].kind; }
  std::uint32_t node_count() const { return nodes_.size(); }
  // Whether any node from `first` on is of a kind `kinds` holds (a bit per Kind).
  bool any_kind_from(NodeId first, std::uint64_t kinds) const {
    return nodes_.any_from(first, [kinds](const Node& n) { return ((kinds >> static_cast<unsigned>(n.kind)) & 1) != 0; });
  }
  NodeId root() const { return root_; }
  // The children of a slots node, in order; empty for none.
  Children children(NodeId id) const {
    if (id == kNone || shape_of(nodes_[id].kind) != Shape::slots) return Children(&slots_, 0, 0);
    return Children(&slots_, nodes_[id].a, nodes_[id].b);
  }
  // The i-th child of a slots node, or none past its end.
  NodeId child(NodeId id, std::uint32_t i) const {
    if (id == kNone || i >= nodes_[id].b) return kNone;
    return slots_[nodes_[id].a + i];
  }
  std::uint32_t child_count(NodeId id) const { return id == kNone ? 0 : nodes_[id].b; }
  std::string_view text(NodeId id) const { return std::string_view(chars_).substr(nodes_[id].a, nodes_[id].b); }
  std::uint64_t number(NodeId id) const { return (std::uint64_t{nodes_[id].b} << 32) | nodes_[id].a; }
  std::string_view name_of(NodeId id) const { return names.spelling(nodes_[id].a); }
  Location locate(NodeId id) const { return places.locate(nodes_[id].place); }

  // ---- building
  NodeId add(Kind kind, Place place, std::uint32_t a = 0, std::uint32_t b = 0, std::uint8_t detail = 0) {
    return nodes_.push_back(Node{kind, detail, 0, place, a, b});
  }
  NodeId add_number(std::uint64_t value, Place place, bool hexadecimal);
  NodeId add_text(Kind kind, Place place, std::string_view text, std::uint8_t detail = 0);
  NodeId add_with_children(Kind kind, Place place, std::span<const NodeId> children, std::uint8_t detail = 0);
  // The same with the children taken from a run of `pending` (see ListBuilder).
  NodeId add_with_children(Kind kind, Place place, const Slots& pending, std::uint32_t start, std::uint32_t count,
                           std::uint8_t detail = 0);
  void set_root(NodeId root) { root_ = root; }
  // Replaces the i-th child of a slots node (a definition's body once it has been read).
  void set_child(NodeId id, std::uint32_t i, NodeId child) { slots_[nodes_[id].a + i] = child; }

  // The tree as it is now, and forgetting all that was added since: the nodes after the mark,
  // their slots and texts, and the lines their places stand on. Nothing kept may refer to them.
  TreeMark mark() const;
  void release(const TreeMark& mark);

  Names names;
  Places places;

 private:
  BlockArray<Node> nodes_;
  Slots slots_;
  std::string chars_;
  NodeId root_ = kNone;
};

// Whether an item of a body is a declaration (a declaration, abbreviation, definition, or a
// construct kept unsupported that stands where one does): it scopes over what follows it up to
// the next process. Inline: the writer asks it of every item, often more than once.
bool is_declarative_construct(Construct construct);
inline bool is_declarative(const Tree& tree, NodeId id) {
  constexpr std::uint64_t kDeclaratives =
      kind_bit(Kind::declaration) | kind_bit(Kind::val_abbreviation) | kind_bit(Kind::abbreviation) |
      kind_bit(Kind::initial_declaration) | kind_bit(Kind::proc_definition) | kind_bit(Kind::function_definition) |
      kind_bit(Kind::protocol_definition) | kind_bit(Kind::data_type_definition) | kind_bit(Kind::missing_include);
  const Node& n = tree.node(id);
  if ((kDeclaratives & kind_bit(n.kind)) != 0) return true;
  return n.kind == Kind::unsupported && is_declarative_construct(static_cast<Construct>(n.detail));
}

// The text of a tree, one node a line, indented by depth: "(kind detail value)". Tests compare
// it with what they expect; it names no Handel-C.
std::string dump(const Tree& tree, NodeId from);

}  // namespace vrk::occam2
