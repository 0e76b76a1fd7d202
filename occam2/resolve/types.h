// The occam types of a program, interned: the same type has the same TypeId, so the resolver
// compares types by number and a node carries its type in 16 bits.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "occam2/tree/tree.h"

namespace vrk::occam2 {

enum class TypeKind : std::uint8_t {
  unknown,      // not known (after an error, or from something vrk keeps unsupported): agrees with anything
  literal,      // an integer literal without a type of its own: takes the type of its context
  primitive,    // BOOL, BYTE, INT, INT16, INT32, INT64, REAL32, REAL64
  timer,
  channel,      // element: what it carries; count: the items of its protocol (1 for a plain type)
  array,        // element, size (kUnknownSize for [] or a size known only at run time)
  unsupported,  // a type vrk keeps unsupported; construct names it
};

inline constexpr std::int64_t kUnknownSize = -1;

struct Type {
  TypeKind kind = TypeKind::unknown;
  Primitive primitive = Primitive::int_;
  Construct construct = Construct::none;
  TypeId element = 0;
  std::int64_t size = kUnknownSize;  // array size, or a channel's item count
};

class TypeTable {
 public:
  TypeTable();

  static constexpr TypeId kUnknown = 0;
  static constexpr TypeId kLiteral = 1;
  static constexpr TypeId kTimer = 2;
  // The primitive types come next, in the order of Primitive.
  static constexpr TypeId primitive(Primitive p) { return static_cast<TypeId>(3 + static_cast<int>(p)); }
  static constexpr TypeId kBool = 3 + static_cast<int>(Primitive::bool_);
  static constexpr TypeId kByte = 3 + static_cast<int>(Primitive::byte);
  static constexpr TypeId kInt = 3 + static_cast<int>(Primitive::int_);

  const Type& operator[](TypeId id) const { return types_[id]; }
  TypeId channel(TypeId element, std::int64_t items = 1);
  TypeId array(TypeId element, std::int64_t size);
  TypeId unsupported(Construct construct);

  bool is_integer(TypeId id) const {  // BYTE, INT, INT16, INT32, INT64 or a literal
    const Type& type = types_[id];
    if (type.kind == TypeKind::literal) return true;
    if (type.kind != TypeKind::primitive) return false;
    return type.primitive != Primitive::bool_ && type.primitive != Primitive::real32 && type.primitive != Primitive::real64;
  }
  bool is_numeric(TypeId id) const;   // an integer or a real type
  bool is_channel(TypeId id) const { return types_[id].kind == TypeKind::channel; }
  bool is_array(TypeId id) const { return types_[id].kind == TypeKind::array; }
  bool is_known(TypeId id) const { return types_[id].kind != TypeKind::unknown && types_[id].kind != TypeKind::unsupported; }
  // The type an array of arrays ... finally holds.
  TypeId innermost(TypeId id) const;
  // The occam spelling of a type, for messages: "[4]INT", "CHAN INT".
  std::string spelling(TypeId id) const;

 private:
  TypeId add(const Type& type);
  std::vector<Type> types_;
  std::map<std::tuple<int, int, int, std::int64_t>, TypeId> ids_;
};

}  // namespace vrk::occam2
