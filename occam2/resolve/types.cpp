#include "occam2/resolve/types.h"

#include <limits>

namespace vrk::occam2 {

TypeTable::TypeTable() {
  types_.push_back({TypeKind::unknown});
  types_.push_back({TypeKind::literal});
  types_.push_back({TypeKind::timer});
  for (int p = 0; p <= static_cast<int>(Primitive::real64); ++p) {
    types_.push_back({TypeKind::primitive, static_cast<Primitive>(p)});
  }
}

TypeId TypeTable::add(const Type& type) {
  auto key = std::make_tuple(static_cast<int>(type.kind), static_cast<int>(type.construct), static_cast<int>(type.element), type.size);
  auto found = ids_.find(key);
  if (found != ids_.end()) return found->second;
  if (types_.size() > std::numeric_limits<TypeId>::max()) {
    // More distinct types than a node can name; unknown agrees with everything.
    return kUnknown;
  }
  auto id = static_cast<TypeId>(types_.size());
  types_.push_back(type);
  ids_.emplace(key, id);
  return id;
}

TypeId TypeTable::channel(TypeId element, std::int64_t items) {
  Type type{TypeKind::channel};
  type.element = element;
  type.size = items;
  return add(type);
}

TypeId TypeTable::array(TypeId element, std::int64_t size) {
  Type type{TypeKind::array};
  type.element = element;
  type.size = size;
  return add(type);
}

TypeId TypeTable::unsupported(Construct construct) {
  Type type{TypeKind::unsupported};
  type.construct = construct;
  return add(type);
}

bool TypeTable::is_numeric(TypeId id) const {
  const Type& type = types_[id];
  return is_integer(id) || (type.kind == TypeKind::primitive && type.primitive != Primitive::bool_);
}

TypeId TypeTable::innermost(TypeId id) const {
  while (types_[id].kind == TypeKind::array) id = types_[id].element;
  return id;
}

std::string TypeTable::spelling(TypeId id) const {
  const Type& type = types_[id];
  switch (type.kind) {
    case TypeKind::unknown: return "an unknown type";
    case TypeKind::literal: return "INT";
    case TypeKind::primitive: return std::string(primitive_name(type.primitive));
    case TypeKind::timer: return "TIMER";
    case TypeKind::channel: return "CHAN " + spelling(type.element);
    case TypeKind::array:
      return (type.size == kUnknownSize ? std::string("[]") : "[" + std::to_string(type.size) + "]") + spelling(type.element);
    case TypeKind::unsupported: return std::string(construct_name(type.construct));
  }
  return "";
}

}  // namespace vrk::occam2
