#include "occam2/tree/tree.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace vrk::occam2 {

namespace {

struct KindInfo {
  std::string_view name;
  std::string_view message;
};
constexpr KindInfo kKinds[] = {
#define VRK_NODE(kind, shape, message) {#kind, message},
#include "occam2/tree/node_kinds.def"
#undef VRK_NODE
};

constexpr std::string_view kConstructNames[] = {
#define VRK_CONSTRUCT(code, name) name,
#include "occam2/tree/constructs.def"
#undef VRK_CONSTRUCT
};

struct OperatorInfo {
  std::string_view spelling;
  OperatorClass cls;
};
constexpr OperatorInfo kOperators[] = {
#define VRK_OPERATOR(code, spelling, cls) {spelling, OperatorClass::cls},
#include "occam2/tree/operators.def"
#undef VRK_OPERATOR
};

constexpr std::string_view kPrimitiveNames[] = {"BOOL", "BYTE", "INT", "INT16", "INT32", "INT64", "REAL32", "REAL64"};

}  // namespace

std::string_view kind_name(Kind kind) { return kKinds[static_cast<std::size_t>(kind)].name; }
std::string_view kind_message(Kind kind) { return kKinds[static_cast<std::size_t>(kind)].message; }
std::string_view construct_name(Construct construct) { return kConstructNames[static_cast<std::size_t>(construct)]; }
std::string_view operator_spelling(Operator op) { return kOperators[static_cast<std::size_t>(op)].spelling; }
OperatorClass operator_class(Operator op) { return kOperators[static_cast<std::size_t>(op)].cls; }

namespace {
std::uint32_t name_hash(std::string_view name) {
  std::uint32_t h = 2166136261u;  // FNV-1a
  for (char c : name) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
  return h;
}

// The spellings of the operators, found by their hash: every operator token is looked up.
class OperatorSpellings {
 public:
  OperatorSpellings() {
    struct Synonym {
      std::string_view spelling;
      Operator op;
    };
    static constexpr Synonym kSynonyms[] = {{"REM", Operator::remainder},
                                            {"BITAND", Operator::bit_and},
                                            {"BITOR", Operator::bit_or},
                                            {"BITNOT", Operator::bit_not}};
    for (const Synonym& s : kSynonyms) add(s.spelling, s.op);
    // The first of a spelling is the dyadic operator ("-" subtract before negate).
    for (std::size_t i = 0; i < std::size(kOperators); ++i) add(kOperators[i].spelling, static_cast<Operator>(i));
  }
  bool find(std::string_view spelling, Operator& op) const {
    for (std::size_t at = name_hash(spelling) & kMask; !slots_[at].spelling.empty(); at = (at + 1) & kMask) {
      if (slots_[at].spelling == spelling) {
        op = slots_[at].op;
        return true;
      }
    }
    return false;
  }

 private:
  static constexpr std::size_t kSlots = 256;  // well over twice the spellings
  static constexpr std::size_t kMask = kSlots - 1;
  struct Slot {
    std::string_view spelling;
    Operator op{};
  };
  void add(std::string_view spelling, Operator op) {
    Operator known;
    if (find(spelling, known)) return;
    std::size_t at = name_hash(spelling) & kMask;
    while (!slots_[at].spelling.empty()) at = (at + 1) & kMask;
    slots_[at] = {spelling, op};
  }
  Slot slots_[kSlots];
};
static_assert(std::size(kOperators) + 4 < 128);
}  // namespace

bool operator_named(std::string_view spelling, Operator& op) {
  static const OperatorSpellings kSpellings;
  if (spelling.empty()) return false;
  return kSpellings.find(spelling, op);
}

std::string operator_function_name(Operator op) {
  std::string name = "\"";
  name += operator_spelling(op);
  name += '"';
  return name;
}
std::string_view primitive_name(Primitive primitive) { return kPrimitiveNames[static_cast<std::size_t>(primitive)]; }

// ---------------------------------------------------------------- places

// A position on a line other than the last one's: the line gets a base of its own.
Place Places::at_new_line(std::uint32_t file, std::uint32_t line, std::uint32_t column) {
  std::uint32_t count = lines_.size();
  if (count == 0 || lines_[count - 1].file != file || lines_[count - 1].line != line) {
    lines_.push_back({next_base_, file, line});
    count = lines_.size();
  }
  Place base = lines_[count - 1].base;
  last_file_ = file;
  last_line_ = line;
  last_base_ = base;
  Place place = column > kLastColumn - base ? kLastColumn : base + column;
  if (place >= next_base_) next_base_ = place == kLastColumn ? kLastColumn : place + 1;
  return place;
}

Location Places::locate(Place place) const {
  std::uint32_t low = 0;
  std::uint32_t high = lines_.size();
  if (place == 0 || high == 0) return {};
  // The last line whose base is at or before the place.
  while (high - low > 1) {
    std::uint32_t middle = low + (high - low) / 2;
    if (lines_[middle].base <= place) {
      low = middle;
    } else {
      high = middle;
    }
  }
  const Line& line = lines_[low];
  return {line.file, line.line, place - line.base};
}

void Places::forget_lines_after(std::uint32_t count) {
  if (count >= lines_.size()) return;
  lines_.truncate(count);
  last_file_ = last_line_ = ~0u;  // the next place starts a line of its own, after all given out
}

std::uint32_t Places::add_file(std::string name) {
  files_.push_back(std::move(name));
  return static_cast<std::uint32_t>(files_.size() - 1);
}

// ---------------------------------------------------------------- names

// Doubles the slots (kept at most half full) and places every name again.
void Names::grow() {
  std::size_t size = slots_.empty() ? 1024 : slots_.size() * 2;
  slots_.assign(size, kFree);
  for (NameId id = 0; id < spellings_.size(); ++id) {
    std::size_t at = hashes_[id] & (size - 1);
    while (slots_[at] != kFree) at = (at + 1) & (size - 1);
    slots_[at] = id;
  }
}

// The slot that holds `name`, or the free slot where it would go (the table has one). Inline:
// every name token is looked up.
[[gnu::always_inline]] inline std::size_t Names::slot_of(std::string_view name, std::uint32_t hash) const {
  const std::size_t mask = slots_.size() - 1;
  std::size_t at = hash & mask;
  for (NameId id = slots_[at]; id != kFree; id = slots_[at]) {
    if (hashes_[id] == hash && spellings_[id] == name) break;
    at = (at + 1) & mask;
  }
  return at;
}

NameId Names::find(std::string_view name) const {
  if (slots_.empty()) return kNotInterned;
  return slots_[slot_of(name, name_hash(name))];  // kFree is kNotInterned
}

NameId Names::intern(std::string_view name) {
  if (spellings_.size() * 2 >= slots_.size()) grow();
  const std::uint32_t hash = name_hash(name);
  const std::size_t at = slot_of(name, hash);
  if (slots_[at] != kFree) return slots_[at];
  if (name.size() > left_) {
    std::size_t size = std::max<std::size_t>(name.size(), std::size_t{64} << 10);
    stores_.push_back(std::make_unique_for_overwrite<char[]>(size));
    free_ = stores_.back().get();
    left_ = size;
  }
  if (!name.empty()) std::memcpy(free_, name.data(), name.size());
  std::string_view kept(free_, name.size());
  free_ += name.size();
  left_ -= name.size();
  NameId id = static_cast<NameId>(spellings_.size());
  spellings_.push_back(kept);
  hashes_.push_back(hash);
  slots_[at] = id;
  return id;
}

// ---------------------------------------------------------------- the tree

Tree::Tree() {
  nodes_.push_back(Node{Kind::list, 0, 0, 0, 0, 0});  // node 0 stands for none
}

TreeMark Tree::mark() const {
  return {nodes_.size(), slots_.size(), static_cast<std::uint32_t>(chars_.size()), places.line_count()};
}

void Tree::release(const TreeMark& mark) {
  nodes_.truncate(mark.nodes);
  slots_.truncate(mark.slots);
  if (mark.chars < chars_.size()) chars_.resize(mark.chars);
  places.forget_lines_after(mark.lines);
}

NodeId Tree::add_number(std::uint64_t value, Place place, bool hexadecimal) {
  return add(Kind::number, place, static_cast<std::uint32_t>(value), static_cast<std::uint32_t>(value >> 32),
             hexadecimal ? 1 : 0);
}

NodeId Tree::add_text(Kind kind, Place place, std::string_view text, std::uint8_t detail) {
  auto offset = static_cast<std::uint32_t>(chars_.size());
  chars_.append(text);
  return add(kind, place, offset, static_cast<std::uint32_t>(text.size()), detail);
}

NodeId Tree::add_with_children(Kind kind, Place place, std::span<const NodeId> children, std::uint8_t detail) {
  std::uint32_t start = slots_.size();
  for (NodeId child : children) slots_.push_back(child);
  return add(kind, place, start, static_cast<std::uint32_t>(children.size()), detail);
}

NodeId Tree::add_with_children(Kind kind, Place place, const Slots& pending, std::uint32_t start, std::uint32_t count,
                               std::uint8_t detail) {
  std::uint32_t first = slots_.size();
  for (std::uint32_t i = 0; i < count; ++i) slots_.push_back(pending[start + i]);
  return add(kind, place, first, count, detail);
}

bool is_declarative_construct(Construct construct) {
  switch (construct) {
    case Construct::retypes: case Construct::place: case Construct::channel_end: case Construct::shared_channel:
    case Construct::chan_type: case Construct::proc_type:
      return true;
    default:
      return false;
  }
}

// ---------------------------------------------------------------- dump

namespace {

void append_quoted(std::string& out, std::string_view text) {
  out += '"';
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20 || byte >= 0x7f) {
      constexpr char kHex[] = "0123456789abcdef";
      out += "\\x";
      out += kHex[byte >> 4];
      out += kHex[byte & 15];
    } else {
      out += c;
    }
  }
  out += '"';
}

// What a leaf, or the detail of another node, says beside its kind.
void append_details(const Tree& tree, NodeId id, std::string& out) {
  const Node& n = tree.node(id);
  switch (n.kind) {
    case Kind::name: out += ' '; out += tree.name_of(id); return;
    case Kind::name_def:
      out += ' ';
      out += tree.name_of(id);
      if (n.detail == static_cast<std::uint8_t>(Direction::input)) out += '?';
      if (n.detail == static_cast<std::uint8_t>(Direction::output)) out += '!';
      return;
    case Kind::number: out += ' '; out += std::to_string(tree.number(id)); return;
    case Kind::character: out += ' '; out += std::to_string(n.a); return;
    case Kind::boolean: out += n.detail ? " TRUE" : " FALSE"; return;
    case Kind::string:
    case Kind::comment:
    case Kind::missing_include: out += ' '; append_quoted(out, tree.text(id)); return;
    case Kind::primitive_type: out += ' '; out += primitive_name(static_cast<Primitive>(n.detail)); return;
    case Kind::unsupported:
    case Kind::unsupported_type: out += ' '; append_quoted(out, construct_name(static_cast<Construct>(n.detail))); return;
    case Kind::dyadic:
    case Kind::monadic:
    case Kind::logical_chain: out += ' '; out += operator_spelling(static_cast<Operator>(n.detail)); return;
    case Kind::formal: {
      static constexpr std::string_view kModes[] = {"", " VAL", " RESULT", " SHARED"};
      out += kModes[n.detail & 3];
      return;
    }
    case Kind::conversion: out += n.detail == 1 ? " ROUND" : n.detail == 2 ? " TRUNC" : ""; return;
    case Kind::most: out += n.detail ? " NEG" : " POS"; return;
    case Kind::par:
    case Kind::alt: out += n.detail ? " PRI" : ""; return;
    case Kind::protocol_definition: out += n.detail ? " CASE" : ""; return;
    default: return;
  }
}

void dump_node(const Tree& tree, NodeId id, int depth, std::string& out) {
  out.append(static_cast<std::size_t>(depth) * 2, ' ');
  if (id == kNone) {
    out += "-\n";
    return;
  }
  const Node& n = tree.node(id);
  out += kind_name(n.kind);
  append_details(tree, id, out);
  out += '\n';
  switch (shape_of(n.kind)) {
    case Shape::leaf: return;
    case Shape::pair:
      if (n.a != kNone || n.b != kNone) dump_node(tree, n.a, depth + 1, out);
      if (n.b != kNone) dump_node(tree, n.b, depth + 1, out);
      return;
    case Shape::slots:
      for (NodeId child : tree.children(id)) dump_node(tree, child, depth + 1, out);
      return;
  }
}

}  // namespace

std::string dump(const Tree& tree, NodeId from) {
  std::string out;
  dump_node(tree, from, 0, out);
  return out;
}

}  // namespace vrk::occam2
