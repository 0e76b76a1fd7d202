// Constant folding: the values expressions have when the program is translated.
#include <limits>

#include "occam2/resolve/resolver.h"

namespace vrk::occam2 {

int bits_of(Primitive primitive) {
  switch (primitive) {
    case Primitive::bool_: return 1;
    case Primitive::byte: return 8;
    case Primitive::int16: return 16;
    case Primitive::int_:
    case Primitive::int32:
    case Primitive::real32: return 32;
    case Primitive::int64:
    case Primitive::real64: return 64;
  }
  return 32;
}

std::int64_t reduce_to_type(const TypeTable& types, TypeId type, std::int64_t value) {
  const Type& t = types[type];
  Primitive primitive = t.kind == TypeKind::primitive ? t.primitive : Primitive::int_;
  int bits = bits_of(primitive);
  if (bits >= 64) return value;
  auto raw = static_cast<std::uint64_t>(value) & ((std::uint64_t{1} << bits) - 1);
  bool is_signed = primitive != Primitive::byte && primitive != Primitive::bool_;
  if (is_signed && (raw >> (bits - 1)) != 0) raw |= ~((std::uint64_t{1} << bits) - 1);
  return static_cast<std::int64_t>(raw);
}

namespace {

class Folder {
 public:
  Folder(const Tree& tree, const Resolution& resolution, const NameValues* name_values = nullptr)
      : tree_(tree), r_(resolution), name_values_(name_values) {}

  std::optional<std::int64_t> value(NodeId id) {
    if (id == kNone) return std::nullopt;
    std::optional<std::int64_t> v = raw_value(id);
    if (!v) return v;
    TypeId type = tree_.node(id).type;
    return type == TypeTable::kUnknown ? *v : reduce_to_type(r_.types, type, *v);
  }

 private:
  std::optional<std::int64_t> raw_value(NodeId id) {
    const Node& n = tree_.node(id);
    switch (n.kind) {
      case Kind::number: return static_cast<std::int64_t>(tree_.number(id));
      case Kind::character: return n.a;
      case Kind::boolean: return n.detail;
      case Kind::typed_literal: return value(n.a);
      case Kind::name: return name_value(n.b);
      case Kind::dyadic: return dyadic(static_cast<Operator>(n.detail), n.a, n.b);
      case Kind::monadic: return monadic(static_cast<Operator>(n.detail), n.a);
      case Kind::logical_chain: return chain(static_cast<Operator>(n.detail), n.a);
      case Kind::size: return size_of(n.a);
      case Kind::conversion: return value(n.b);
      case Kind::most: return most(n.type, n.detail != 0);
      case Kind::subscript: return table_element(n.a, n.b);
      default: return std::nullopt;
    }
  }

  std::optional<std::int64_t> name_value(SymbolId id) {
    if (id == kNoSymbol) return std::nullopt;
    const Symbol& symbol = r_.symbol(id);
    if (symbol.kind == SymbolKind::constant) return symbol.value;
    return name_values_ != nullptr ? (*name_values_)(id) : std::nullopt;
  }

  std::optional<std::int64_t> dyadic(Operator op, NodeId left_id, NodeId right_id) {
    std::optional<std::int64_t> left = value(left_id);
    if (!left) return std::nullopt;  // most operands are variables: the right one is not looked at
    std::optional<std::int64_t> right = value(right_id);
    if (!right) return std::nullopt;
    auto a = static_cast<std::uint64_t>(*left);
    auto b = static_cast<std::uint64_t>(*right);
    switch (op) {
      case Operator::add: case Operator::plus: return static_cast<std::int64_t>(a + b);
      case Operator::subtract: case Operator::minus: return static_cast<std::int64_t>(a - b);
      case Operator::multiply: case Operator::times: return static_cast<std::int64_t>(a * b);
      case Operator::divide:
        if (*right == 0 || (*right == -1 && *left == std::numeric_limits<std::int64_t>::min())) return std::nullopt;
        return *left / *right;
      case Operator::remainder:
        if (*right == 0 || *right == -1) return *right == 0 ? std::nullopt : std::optional<std::int64_t>(0);
        return *left % *right;
      case Operator::bit_and: return static_cast<std::int64_t>(a & b);
      case Operator::bit_or: return static_cast<std::int64_t>(a | b);
      case Operator::bit_xor: return static_cast<std::int64_t>(a ^ b);
      case Operator::shift_left: return *right < 0 || *right >= 64 ? 0 : static_cast<std::int64_t>(a << b);
      case Operator::shift_right: return shift_right(left_id, a, *right);
      case Operator::equal: return *left == *right;
      case Operator::not_equal: return *left != *right;
      case Operator::less: return *left < *right;
      case Operator::greater: return *left > *right;
      case Operator::less_equal: return *left <= *right;
      case Operator::greater_equal: return *left >= *right;
      case Operator::after: return static_cast<std::int64_t>(a - b) > 0;
      case Operator::and_: return *left != 0 && *right != 0;
      case Operator::or_: return *left != 0 || *right != 0;
      default: return std::nullopt;
    }
  }

  // occam's >> is logical within the operand's width.
  std::optional<std::int64_t> shift_right(NodeId left_id, std::uint64_t a, std::int64_t count) {
    const Type& type = r_.types[tree_.node(left_id).type];
    int bits = type.kind == TypeKind::primitive ? bits_of(type.primitive) : 32;
    if (count < 0 || count >= 64) return 0;
    if (bits < 64) a &= (std::uint64_t{1} << bits) - 1;
    return static_cast<std::int64_t>(a >> count);
  }

  std::optional<std::int64_t> monadic(Operator op, NodeId operand) {
    std::optional<std::int64_t> v = value(operand);
    if (!v) return std::nullopt;
    switch (op) {
      case Operator::negate:
      case Operator::modulo_negate: return static_cast<std::int64_t>(0 - static_cast<std::uint64_t>(*v));
      case Operator::not_: return *v == 0;
      case Operator::bit_not: return ~*v;
      default: return std::nullopt;
    }
  }

  std::optional<std::int64_t> chain(Operator op, NodeId list) {
    bool all = true;
    bool any = false;
    for (NodeId operand : tree_.children(list)) {
      std::optional<std::int64_t> v = value(operand);
      if (!v) return std::nullopt;
      all = all && *v != 0;
      any = any || *v != 0;
    }
    return op == Operator::and_ ? all : any;
  }

  std::optional<std::int64_t> size_of(NodeId operand) {
    TypeId type = tree_.node(operand).type;
    const Type& t = r_.types[type];
    if ((t.kind != TypeKind::array) || t.size == kUnknownSize) return std::nullopt;
    return t.size;
  }

  std::optional<std::int64_t> most(TypeId type, bool negative) {
    const Type& t = r_.types[type];
    if (t.kind != TypeKind::primitive) return std::nullopt;
    int bits = bits_of(t.primitive);
    bool is_signed = t.primitive != Primitive::byte && t.primitive != Primitive::bool_;
    if (!is_signed) return negative ? 0 : static_cast<std::int64_t>((std::uint64_t{1} << bits) - 1);
    if (bits >= 64) return negative ? std::numeric_limits<std::int64_t>::min() : std::numeric_limits<std::int64_t>::max();
    std::int64_t top = (std::int64_t{1} << (bits - 1)) - 1;
    return negative ? -top - 1 : top;
  }

  // An element of a table of constants: a VAL []INT t IS [1, 2, 3], "abc", or a table written in place.
  std::optional<std::int64_t> table_element(NodeId base, NodeId index_id) {
    std::optional<std::int64_t> index = value(index_id);
    if (!index || *index < 0) return std::nullopt;
    NodeId table = base;
    if (tree_.kind(base) == Kind::name) {
      SymbolId id = tree_.node(base).b;
      if (id == kNoSymbol || r_.symbol(id).kind != SymbolKind::table) return std::nullopt;
      table = tree_.child(r_.symbol(id).definition, 2);
    }
    if (tree_.kind(table) == Kind::typed_literal) table = tree_.node(table).a;
    if (tree_.kind(table) == Kind::string) {
      std::string_view text = tree_.text(table);
      if (static_cast<std::uint64_t>(*index) >= text.size()) return std::nullopt;
      return static_cast<unsigned char>(text[static_cast<std::size_t>(*index)]);
    }
    if (tree_.kind(table) != Kind::table) return std::nullopt;
    NodeId list = tree_.node(table).a;
    if (static_cast<std::uint64_t>(*index) >= tree_.child_count(list)) return std::nullopt;
    return value(tree_.child(list, static_cast<std::uint32_t>(*index)));
  }

  const Tree& tree_;
  const Resolution& r_;
  const NameValues* name_values_;
};

}  // namespace

std::optional<std::int64_t> constant_value(const Tree& tree, const Resolution& resolution, NodeId id) {
  return Folder(tree, resolution).value(id);
}

std::optional<std::int64_t> constant_value(const Tree& tree, const Resolution& resolution, NodeId id,
                                           const NameValues& name_values) {
  return Folder(tree, resolution, &name_values).value(id);
}

}  // namespace vrk::occam2
