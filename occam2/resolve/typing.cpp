// Expressions, elements and types: what each name stands for and the occam type of each
// expression. occam has no implicit conversions: the operands of an operator, the two sides of
// an assignment and a value and the channel it goes on have one type; a literal without a type
// of its own takes the type of what it meets.
#include <algorithm>
#include <utility>

#include "occam2/resolve/resolver_pass.h"

namespace vrk::occam2 {

// ---------------------------------------------------------------- types

TypeId ResolverPass::type_of(NodeId id) {
  if (id == kNone) return TypeTable::kUnknown;
  const Node& n = tree.node(id);
  TypeId type = TypeTable::kUnknown;
  switch (n.kind) {
    case Kind::primitive_type: {
      auto primitive = static_cast<Primitive>(n.detail);
      if (primitive == Primitive::real32 || primitive == Primitive::real64) {
        type = r.types.unsupported(Construct::floating_point);
        mark_unwritable(Construct::floating_point);
      } else {
        type = TypeTable::primitive(primitive);
      }
      break;
    }
    case Kind::timer_type: type = TypeTable::kTimer; break;
    case Kind::unsupported_type:
      type = r.types.unsupported(static_cast<Construct>(n.detail));
      mark_unwritable(static_cast<Construct>(n.detail));
      break;
    case Kind::channel_type: {
      NodeId protocol = n.a;
      if (protocol == kNone) {
        type = r.types.unsupported(Construct::any_protocol);
        break;
      }
      std::int64_t items = 1;
      TypeId carried = type_of(protocol);
      if (tree.kind(protocol) == Kind::named_type) {
        SymbolId symbol = tree.node(tree.node(protocol).a).b;
        if (symbol != kNoSymbol && r.symbol(symbol).kind == SymbolKind::protocol) items = r.symbol(symbol).value;
      }
      type = r.types[carried].kind == TypeKind::unsupported ? carried : r.types.channel(carried, items);
      break;
    }
    case Kind::array_type: {
      std::int64_t size = kUnknownSize;
      if (n.a != kNone) {
        integer_expression(n.a);
        std::optional<std::int64_t> value = constant_value(tree, r, n.a);
        if (value && *value >= 0) size = *value;
      }
      TypeId element = type_of(n.b);
      type = r.types[element].kind == TypeKind::unsupported ? element : r.types.array(element, size);
      break;
    }
    case Kind::named_type: {
      TypeId named = name_reference(n.a, Use::read);
      SymbolId symbol = tree.node(n.a).b;
      if (symbol == kNoSymbol) {
        type = TypeTable::kUnknown;
      } else if (r.symbol(symbol).kind == SymbolKind::protocol || r.symbol(symbol).kind == SymbolKind::data_type) {
        type = named;
      } else {
        type = r.types.unsupported(r.symbol(symbol).construct == Construct::none ? Construct::record : r.symbol(symbol).construct);
      }
      break;
    }
    default: break;
  }
  tree.node(id).type = type;
  return type;
}

// ---------------------------------------------------------------- agreement

bool ResolverPass::compatible(TypeId a, TypeId b) const {
  if (a == b) return true;
  const Type& ta = r.types[a];
  const Type& tb = r.types[b];
  auto lenient = [](const Type& t) { return t.kind == TypeKind::unknown || t.kind == TypeKind::unsupported; };
  if (lenient(ta) || lenient(tb)) return true;
  if (ta.kind == TypeKind::literal) return r.types.is_integer(b);
  if (tb.kind == TypeKind::literal) return r.types.is_integer(a);
  if (ta.kind != tb.kind) return false;
  if (ta.kind == TypeKind::array) {
    return compatible(ta.element, tb.element) && (ta.size == kUnknownSize || tb.size == kUnknownSize || ta.size == tb.size);
  }
  if (ta.kind == TypeKind::channel) return compatible(ta.element, tb.element);
  return false;
}

// The one type two operands share; reports the operator when they differ.
TypeId ResolverPass::unify(NodeId at, std::string_view what, TypeId a, TypeId b, NodeId left, NodeId right) {
  if (!compatible(a, b)) {
    report(at, Message::operand_types, {what, r.types.spelling(a) + " and " + r.types.spelling(b)});
    mark_unwritable(Construct::type_error);
    return TypeTable::kUnknown;
  }
  if (r.types[a].kind == TypeKind::literal && r.types[b].kind != TypeKind::literal) {
    settle_literal_types(left, b);
    return b;
  }
  if (r.types[b].kind == TypeKind::literal && r.types[a].kind != TypeKind::literal) {
    settle_literal_types(right, a);
    return a;
  }
  if (!r.types.is_known(a)) return b;
  return a;
}

// A number must fit its type: a decimal one up to MOSTPOS, a hexadecimal one (a pattern of bits)
// up to all bits set.
void ResolverPass::check_number_range(NodeId id) {
  const Node& n = tree.node(id);
  const Type& t = r.types[n.type];
  if (n.kind != Kind::number || t.kind != TypeKind::primitive) return;
  int bits = bits_of(t.primitive);
  bool is_signed = t.primitive != Primitive::byte && t.primitive != Primitive::bool_;
  std::uint64_t value = tree.number(id);
  std::uint64_t limit = bits >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << bits) - 1;
  if (is_signed && n.detail == 0) limit >>= 1;
  if (value <= limit) return;
  report(id, Message::number_range, {std::to_string(value), r.types.spelling(n.type)});
  mark_unwritable(Construct::large_number);
}

// Gives the literals of an expression whose type is still open the type `type`.
void ResolverPass::settle_literal_types(NodeId id, TypeId type) {
  if (id == kNone) return;
  Node& n = tree.node(id);
  if (n.type != TypeTable::kLiteral) return;
  n.type = type;
  check_number_range(id);
  switch (n.kind) {
    case Kind::dyadic:
      if (operator_class(static_cast<Operator>(n.detail)) != OperatorClass::comparison) settle_literal_types(n.a, type);
      if (operator_class(static_cast<Operator>(n.detail)) != OperatorClass::shift) settle_literal_types(n.b, type);
      break;
    case Kind::monadic: settle_literal_types(n.a, type); break;
    default: break;
  }
}

// ---------------------------------------------------------------- names

TypeId ResolverPass::name_reference(NodeId id, Use use) {
  Node& n = tree.node(id);
  SymbolId symbol = lookup(n.a);
  if (symbol == kNoSymbol) {
    n.b = kNoSymbol;
    bool itself = std::any_of(defining_.begin(), defining_.end(), [&](NodeId d) { return tree.node(d).a == n.a; });
    report(id, itself ? Message::calls_itself : Message::undefined, {tree.name_of(id)});
    mark_unwritable(itself ? Construct::self_call : Construct::undefined_name);
    return TypeTable::kUnknown;
  }
  n.b = symbol;
  Symbol& s = r.symbol(symbol);
  if (s.kind == SymbolKind::unsupported) {
    mark_unwritable(s.construct == Construct::none ? Construct::record : s.construct);
    return s.type;
  }
  // A RECURSIVE PROC or FUNCTION used in its own body.
  if ((s.kind == SymbolKind::proc || s.kind == SymbolKind::function) &&
      std::find(definitions_.begin(), definitions_.end(), s.definition) != definitions_.end()) {
    r.definitions[s.definition].recursive = true;
    mark_unwritable(Construct::recursion);
  }
  // A name of an enclosing PROC is a free name of every definition between that PROC and here.
  if (!s.global && s.owner != kNone) {
    auto owner = std::find(definitions_.begin(), definitions_.end(), s.owner);
    if (owner != definitions_.end()) {
      for (auto d = owner + 1; d != definitions_.end(); ++d) {
        std::vector<SymbolId>& free = r.definitions[*d].free;
        if (std::find(free.begin(), free.end(), symbol) == free.end()) free.push_back(symbol);
      }
    }
  }
  if (use == Use::assign) {
    bool writable = s.kind == SymbolKind::variable || s.kind == SymbolKind::alias ||
                    (s.kind == SymbolKind::formal && s.mode != FormalMode::val);
    if (!writable && r.types.is_known(s.type)) {
      report(id, Message::not_a_variable, {tree.name_of(id)});
      mark_unwritable(Construct::type_error);
    }
  }
  if (s.kind == SymbolKind::protocol || s.kind == SymbolKind::data_type) return s.type;
  return s.type;
}

// Records that the channel an element names is used for input or output, and through which ends.
void ResolverPass::note_channel_use(NodeId element_node, Use use) {
  NodeId base = element_node;
  while (base != kNone && (tree.kind(base) == Kind::subscript || tree.kind(base) == Kind::slice)) {
    base = tree.kind(base) == Kind::subscript ? tree.node(base).a : tree.child(base, 0);
  }
  if (base == kNone || tree.kind(base) != Kind::name) return;
  SymbolId symbol = tree.node(base).b;
  if (symbol == kNoSymbol) return;
  Symbol& s = r.symbol(symbol);
  if (use == Use::input) s.used_for_input = true;
  if (use == Use::output) s.used_for_output = true;
  // An abbreviation of a channel passes the use on to what it names.
  if (s.kind == SymbolKind::alias && s.definition != kNone) note_channel_use(tree.child(s.definition, 2), use);
}

// ---------------------------------------------------------------- elements

TypeId ResolverPass::element(NodeId id, Use use) {
  const Node& n = tree.node(id);
  TypeId type = TypeTable::kUnknown;
  switch (n.kind) {
    case Kind::name:
      type = name_reference(id, use);
      if (use == Use::input || use == Use::output) {
        note_channel_use(id, use);
        const Type& t = r.types[type];
        if (r.types.is_known(type) && t.kind != TypeKind::channel && t.kind != TypeKind::timer) {
          report(id, Message::not_a_channel, {tree.name_of(id)});
          mark_unwritable(Construct::type_error);
        }
      }
      break;
    case Kind::subscript: {
      // A table or string written in place may be subscripted by a constant.
      bool literal_table = tree.kind(n.a) != Kind::name && tree.kind(n.a) != Kind::subscript;
      bool outer = std::exchange(table_allowed_, literal_table);
      TypeId base = element(n.a, use == Use::input || use == Use::output ? Use::read : use);
      table_allowed_ = outer;
      if (r.types[base].kind == TypeKind::unsupported) {
        // A field of a RECORD or of a channel type: its name is no variable. The statement has
        // its banner already.
        type = base;
        break;
      }
      integer_expression(n.b);
      if (literal_table && !constant_value(tree, r, n.b)) mark_unwritable(Construct::table_value);
      if (!constant_value(tree, r, n.b)) need_index_width_of(n.a);
      const Type& t = r.types[base];
      if (t.kind == TypeKind::array) {
        type = t.element;
      } else if (r.types.is_known(base)) {
        report(id, Message::not_an_array, {tree.kind(n.a) == Kind::name ? tree.name_of(n.a) : "the expression"});
        mark_unwritable(Construct::type_error);
      } else {
        type = base;
      }
      if (use == Use::input || use == Use::output) note_channel_use(id, use);
      break;
    }
    case Kind::slice: {
      TypeId base = element(tree.child(id, 0), Use::read);
      if (tree.child(id, 1) != kNone) integer_expression(tree.child(id, 1));
      std::int64_t size = kUnknownSize;
      if (tree.child(id, 2) != kNone) {
        integer_expression(tree.child(id, 2));
        std::optional<std::int64_t> count = constant_value(tree, r, tree.child(id, 2));
        if (count) size = *count;
      }
      const Type& t = r.types[base];
      type = t.kind == TypeKind::array ? r.types.array(t.element, size) : base;
      mark_unwritable(Construct::slice);
      break;
    }
    default:
      type = expression(id);
      break;
  }
  tree.node(id).type = type;
  return type;
}

void ResolverPass::condition(NodeId id) { check_condition_type(id, expression(id, TypeTable::kBool)); }

void ResolverPass::check_condition_type(NodeId id, TypeId type) {
  if (!compatible(type, TypeTable::kBool) || r.types[type].kind == TypeKind::literal) {
    report(id, Message::condition_type, {r.types.spelling(type)});
    mark_unwritable(Construct::type_error);
  }
}

void ResolverPass::integer_expression(NodeId id) {
  TypeId type = expression(id, TypeTable::kInt);
  settle_literal_types(id, TypeTable::kInt);
  if (r.types.is_known(type) && !r.types.is_integer(type)) {
    report(id, Message::integer_expected, {r.types.spelling(type)});
    mark_unwritable(Construct::type_error);
  }
}

bool ResolverPass::is_table_literal(NodeId id) const {
  Kind kind = tree.kind(id);
  if (kind == Kind::typed_literal) kind = tree.kind(tree.node(id).a);
  return kind == Kind::table || kind == Kind::string;
}

// Whether every element of a table (of tables) is a constant; a string always is.
bool ResolverPass::table_of_constants(NodeId id) const {
  if (tree.kind(id) == Kind::typed_literal) id = tree.node(id).a;
  if (tree.kind(id) == Kind::string) return true;
  if (tree.kind(id) != Kind::table) return constant_value(tree, r, id).has_value();
  for (NodeId item : tree.children(tree.node(id).a)) {
    if (!table_of_constants(item)) return false;
  }
  return true;
}

// The size of an open array formal is passed beside it when the body asks for it (SIZE), and the
// width of its indices when it indexes it by a value known only at run time.
void ResolverPass::need_size_of(NodeId element_node) {
  SymbolId array = tree.kind(element_node) == Kind::name ? tree.node(element_node).b : kNoSymbol;
  if (array != kNoSymbol && r.symbol(array).helper != 0) r.symbol(array).size_needed = true;
}

void ResolverPass::need_index_width_of(NodeId element_node) {
  SymbolId array = tree.kind(element_node) == Kind::name ? tree.node(element_node).b : kNoSymbol;
  if (array != kNoSymbol && r.symbol(array).width_helper != 0) r.symbol(array).width_needed = true;
}

// ---------------------------------------------------------------- expressions

TypeId ResolverPass::expression(NodeId id, TypeId expected) {
  if (id == kNone) return TypeTable::kUnknown;
  Node& n = tree.node(id);
  TypeId integer_context = r.types.is_integer(expected) && r.types[expected].kind != TypeKind::literal ? expected : TypeTable::kUnknown;
  TypeId type = TypeTable::kUnknown;
  switch (n.kind) {
    case Kind::number: type = integer_context != TypeTable::kUnknown ? integer_context : TypeTable::kLiteral; break;
    case Kind::character: type = integer_context != TypeTable::kUnknown ? integer_context : TypeTable::kByte; break;
    case Kind::boolean: type = TypeTable::kBool; break;
    case Kind::string:
      if (!table_allowed_) mark_unwritable(Construct::table_value);
      type = r.types.array(TypeTable::kByte, static_cast<std::int64_t>(n.b));
      break;
    case Kind::typed_literal: {
      type = type_of(n.b);
      TypeId literal = expression(n.a, r.types.is_array(type) ? type : type);
      if (r.types[literal].kind == TypeKind::literal) settle_literal_types(n.a, type);
      if (r.types.is_array(type) && r.types[type].size == kUnknownSize) type = literal;
      break;
    }
    case Kind::table: {
      if (!table_allowed_) mark_unwritable(Construct::table_value);
      TypeId element_type = r.types.is_array(expected) ? r.types[expected].element : TypeTable::kUnknown;
      TypeId common = element_type;
      for (NodeId item : tree.children(n.a)) {
        TypeId t = expression(item, element_type);
        if (common == TypeTable::kUnknown || r.types[common].kind == TypeKind::literal) {
          common = t;
        } else if (!compatible(common, t)) {
          report(item, Message::operand_types, {"table", r.types.spelling(common) + " and " + r.types.spelling(t)});
          mark_unwritable(Construct::type_error);
        }
      }
      if (r.types[common].kind == TypeKind::literal) common = TypeTable::kInt;
      for (NodeId item : tree.children(n.a)) settle_literal_types(item, common);
      type = r.types.array(common, tree.child_count(n.a));
      break;
    }
    case Kind::name:
    case Kind::subscript:
    case Kind::slice: return element(id, Use::read);
    case Kind::dyadic: {
      auto op = static_cast<Operator>(n.detail);
      if (SymbolId functions = operator_functions(op)) {
        type = operator_expression(id, op, functions, {n.a, n.b});
        break;
      }
      OperatorClass cls = operator_class(op);
      std::string_view spelling = operator_spelling(op);
      if (cls == OperatorClass::boolean) {
        condition(n.a);
        condition(n.b);
        type = TypeTable::kBool;
      } else if (cls == OperatorClass::comparison || cls == OperatorClass::after) {
        TypeId left = expression(n.a);
        TypeId right = expression(n.b, left);
        TypeId common = unify(id, spelling, left, right, n.a, n.b);
        if (r.types[common].kind == TypeKind::literal) {
          settle_literal_types(n.a, TypeTable::kInt);
          settle_literal_types(n.b, TypeTable::kInt);
        }
        type = TypeTable::kBool;
      } else if (cls == OperatorClass::shift) {
        type = expression(n.a, integer_context);
        integer_expression(n.b);
        if (!constant_value(tree, r, n.b)) mark_unwritable(Construct::variable_shift);
      } else if (cls == OperatorClass::user) {
        type = predefined_operator_type(id, op, {n.a, n.b}, {expression(n.a), expression(n.b)});
      } else {
        TypeId left = expression(n.a, integer_context);
        TypeId right = expression(n.b, r.types[left].kind == TypeKind::literal ? integer_context : left);
        type = unify(id, spelling, left, right, n.a, n.b);
      }
      break;
    }
    case Kind::monadic: {
      auto op = static_cast<Operator>(n.detail);
      if (SymbolId functions = operator_functions(op)) {
        type = operator_expression(id, op, functions, {n.a});
      } else if (operator_class(op) == OperatorClass::user) {
        type = predefined_operator_type(id, op, {n.a}, {expression(n.a)});
      } else if (op == Operator::not_) {
        condition(n.a);
        type = TypeTable::kBool;
      } else {
        type = expression(n.a, integer_context);
      }
      break;
    }
    case Kind::logical_chain:
      for (NodeId operand : tree.children(n.a)) condition(operand);
      type = TypeTable::kBool;
      break;
    case Kind::size: {
      TypeId operand = tree.kind(n.a) == Kind::array_type ? type_of(n.a) : element(n.a, Use::read);
      if (r.types.is_known(operand) && !r.types.is_array(operand)) {
        report(n.a, Message::not_an_array, {tree.kind(n.a) == Kind::name ? tree.name_of(n.a) : "SIZE's operand"});
      }
      need_size_of(n.a);
      type = TypeTable::kInt;
      break;
    }
    case Kind::conversion: {
      type = type_of(n.a);
      if (r.types[type].kind == TypeKind::unsupported) mark_unwritable(r.types[type].construct);
      TypeId operand = expression(n.b);
      if (r.types[operand].kind == TypeKind::literal) settle_literal_types(n.b, TypeTable::kInt);
      break;
    }
    case Kind::most: type = type_of(n.a); break;
    case Kind::function_call: {
      name_reference(n.a, Use::read);
      SymbolId symbol = tree.node(n.a).b;
      if (symbol == kNoSymbol) {
        for (NodeId argument : tree.children(n.b)) expression(argument);
        break;
      }
      const Symbol& s = r.symbol(symbol);
      if (s.kind == SymbolKind::data_type) {
        type = s.type;
        named_type_conversion(id);
        break;
      }
      if (s.kind != SymbolKind::function) {
        if (s.kind != SymbolKind::unsupported) {
          report(n.a, Message::not_a_function, {tree.name_of(n.a)});
          mark_unwritable(Construct::type_error);
        }
        for (NodeId argument : tree.children(n.b)) expression(argument);
        break;
      }
      if (s.construct != Construct::none) mark_unwritable(s.construct);
      type = s.type;
      arguments(n.a, symbol, n.b, true);
      break;
    }
    case Kind::valof:
    case Kind::specified_valof: type = valof_expression(id); break;
    case Kind::unsupported:
      mark_unwritable(static_cast<Construct>(n.detail));
      break;
    default: break;
  }
  n.type = type;
  if (n.kind == Kind::number && type != TypeTable::kLiteral) check_number_range(id);
  return type;
}

// A VALOF as an operand, after the declarations that scope over it: its names are bound and its
// result typed, and the statement it stands in is written as a banner.
TypeId ResolverPass::valof_expression(NodeId id) {
  ScopeMark mark = scope_mark();
  NodeId valof = id;
  if (tree.kind(id) == Kind::specified_valof) {
    for (NodeId item : tree.children(tree.node(id).a)) declarative(item);
    valof = tree.node(id).b;
  }
  NodeId outer = statement_;
  body(tree.node(valof).a);
  statement_ = outer;
  TypeId type = TypeTable::kUnknown;
  for (NodeId result : tree.children(tree.node(valof).b)) {
    TypeId t = expression(result);
    if (type == TypeTable::kUnknown) type = t;
  }
  close_scopes(mark);
  mark_unwritable(Construct::valof);
  return type;
}

// ---------------------------------------------------------------- operators defined by FUNCTIONs

// The innermost FUNCTION in scope named by operator `op` ("+"), or none.
SymbolId ResolverPass::operator_functions(Operator op) {
  NameId& name = operator_names_[static_cast<std::uint8_t>(op)];
  if (name == Names::kNotInterned) name = tree.names.intern(operator_function_name(op));
  return lookup(name);
}

// An operator with FUNCTIONs named by it in scope: a call of the FUNCTION whose formals have the
// operands' types; else the operator's own meaning where that takes them (x + 1); else a call of
// a FUNCTION that takes them with the literals among them.
TypeId ResolverPass::operator_expression(NodeId id, Operator op, SymbolId functions, const std::vector<NodeId>& operands) {
  std::vector<TypeId> types;
  for (NodeId operand : operands) types.push_back(expression(operand));
  SymbolId function = matching_operator_function(functions, types, true);
  if (function == kNoSymbol && !predefined_operator_takes(op, types)) function = matching_operator_function(functions, types, false);
  if (function == kNoSymbol) return predefined_operator_type(id, op, operands, types);
  call_operator_function(id, function, operands);
  return r.symbol(function).type;
}

// Among the FUNCTIONs of one operator in scope, innermost first, the one whose formals have the
// operands' types; unless `exact`, a literal goes with an integer formal.
SymbolId ResolverPass::matching_operator_function(SymbolId functions, const std::vector<TypeId>& types, bool exact) const {
  for (SymbolId s = functions; s != kNoSymbol; s = r.symbol(s).shadowed) {
    const Symbol& function = r.symbol(s);
    if (function.kind != SymbolKind::function) continue;
    NodeId formals = tree.child(function.definition, 2);
    if (tree.child_count(formals) != types.size()) continue;
    bool fits = true;
    for (std::uint32_t i = 0; i < types.size() && fits; ++i) {
      TypeId formal = r.symbol(tree.node(tree.node(tree.child(formals, i)).b).b).type;
      TypeId given = types[i];
      fits = (given == formal && given != TypeTable::kUnknown) ||
             (!exact && r.types[given].kind == TypeKind::literal && r.types.is_integer(formal)) ||
             (r.types.is_array(given) && r.types.is_array(formal) && compatible(formal, given));
    }
    if (fits) return s;
  }
  return kNoSymbol;
}

// A conversion to a named type written like a call, `ANGLE (2 * x)`: the node becomes the
// conversion it is, of its one operand; with another number of operands it is an error.
void ResolverPass::named_type_conversion(NodeId id) {
  Node& n = tree.node(id);
  std::uint32_t given = tree.child_count(n.b);
  for (NodeId argument : tree.children(n.b)) {
    TypeId operand = expression(argument);
    if (r.types[operand].kind == TypeKind::literal) settle_literal_types(argument, TypeTable::kInt);
  }
  if (given != 1) {
    report(n.a, Message::argument_count, {tree.name_of(n.a), "1 argument, not " + std::to_string(given)});
    mark_unwritable(Construct::type_error);
    return;
  }
  n.kind = Kind::conversion;
  n.b = tree.child(n.b, 0);
}

// The operator node becomes a call of `function` with the operands as its arguments.
void ResolverPass::call_operator_function(NodeId id, SymbolId function, const std::vector<NodeId>& operands) {
  Node& n = tree.node(id);
  const Symbol& f = r.symbol(function);
  NodeId name = tree.add(Kind::name, n.place, f.name, function);
  n.kind = Kind::function_call;
  n.detail = 0;
  n.a = name;
  n.b = tree.add_with_children(Kind::list, n.place, operands);
  if (std::find(definitions_.begin(), definitions_.end(), f.definition) != definitions_.end()) {
    r.definitions[f.definition].recursive = true;
    mark_unwritable(Construct::recursion);
  }
  if (f.construct != Construct::none) mark_unwritable(f.construct);
  NodeId formals = tree.child(f.definition, 2);
  for (std::uint32_t i = 0; i < operands.size(); ++i) {
    TypeId formal = r.symbol(tree.node(tree.node(tree.child(formals, i)).b).b).type;
    settle_literal_types(operands[i], r.types.is_integer(formal) ? formal : TypeTable::kInt);
  }
  pass_free_names(f.definition);
}

// Whether an operator's own meaning takes operands of these types: numbers or truth values of one
// type (a literal takes the other's), a count for a shift. Operands of types not known, or kept
// unsupported, go to a FUNCTION first, if one takes them.
bool ResolverPass::predefined_operator_takes(Operator op, const std::vector<TypeId>& types) const {
  auto scalar = [&](TypeId type) {
    TypeKind kind = r.types[type].kind;
    return kind == TypeKind::primitive || kind == TypeKind::literal;
  };
  OperatorClass cls = operator_class(op);
  if (cls == OperatorClass::user || !std::all_of(types.begin(), types.end(), scalar)) return false;
  if (types.size() == 1) return true;
  if (cls == OperatorClass::shift) return r.types.is_integer(types[1]);
  return compatible(types[0], types[1]);
}

// An operator's own meaning, its operands typed already.
TypeId ResolverPass::predefined_operator_type(NodeId id, Operator op, const std::vector<NodeId>& operands,
                                              const std::vector<TypeId>& types) {
  OperatorClass cls = operator_class(op);
  if (cls == OperatorClass::user) {
    std::string given;
    for (TypeId type : types) given += (given.empty() ? "" : " and ") + r.types.spelling(type);
    report(id, Message::no_operator_function, {operator_function_name(op), given});
    mark_unwritable(Construct::user_operator);
    return TypeTable::kUnknown;
  }
  if (operands.size() == 1) {
    if (op != Operator::not_) return types[0];
    check_condition_type(operands[0], types[0]);
    return TypeTable::kBool;
  }
  NodeId left = operands[0], right = operands[1];
  switch (cls) {
    case OperatorClass::boolean:
      check_condition_type(left, types[0]);
      check_condition_type(right, types[1]);
      return TypeTable::kBool;
    case OperatorClass::comparison:
    case OperatorClass::after: {
      TypeId common = unify(id, operator_spelling(op), types[0], types[1], left, right);
      if (r.types[common].kind == TypeKind::literal) {
        settle_literal_types(left, TypeTable::kInt);
        settle_literal_types(right, TypeTable::kInt);
      }
      return TypeTable::kBool;
    }
    case OperatorClass::shift:
      if (r.types.is_known(types[1]) && !r.types.is_integer(types[1])) {
        report(right, Message::integer_expected, {r.types.spelling(types[1])});
        mark_unwritable(Construct::type_error);
      }
      settle_literal_types(right, TypeTable::kInt);
      if (!constant_value(tree, r, right)) mark_unwritable(Construct::variable_shift);
      return types[0];
    default: return unify(id, operator_spelling(op), types[0], types[1], left, right);
  }
}

// The actuals of a call of PROC or FUNCTION `symbol`: as many as its formals, each of the formal's
// type; a channel given for a channel formal takes on the formal's use. The free names the callee
// was lifted with are used here too.
void ResolverPass::arguments(NodeId callee, SymbolId symbol, NodeId list, bool function) {
  const Symbol& s = r.symbol(symbol);
  NodeId definition = s.definition;
  NodeId formal_list = tree.child(definition, function ? 2 : 1);
  std::uint32_t expected_count = tree.child_count(formal_list);
  std::uint32_t given = tree.child_count(list);
  if (given != expected_count) {
    std::string takes = std::to_string(expected_count) + (expected_count == 1 ? " argument" : " arguments") + ", not " +
                        std::to_string(given);
    report(callee, Message::argument_count, {tree.name_of(callee), takes});
    mark_unwritable(Construct::type_error);
  }
  for (std::uint32_t i = 0; i < given; ++i) {
    NodeId actual = tree.child(list, i);
    if (i >= expected_count) {
      expression(actual);
      continue;
    }
    SymbolId formal = tree.node(tree.node(tree.child(formal_list, i)).b).b;
    const Symbol& f = r.symbol(formal);
    // A table or string given for an array formal becomes a table of its own at the outermost
    // level, when its elements are constants.
    bool table = r.types.is_array(f.type) && is_table_literal(actual);
    bool outer = std::exchange(table_allowed_, table);
    TypeId type = expression(actual, f.type);
    table_allowed_ = outer;
    if (table) {
      if (table_of_constants(actual)) {
        r.helper_names[actual] = fresh_global_name("table");
      } else {
        mark_unwritable(Construct::table_value);
      }
    }
    settle_literal_types(actual, r.types.is_integer(f.type) ? f.type : TypeTable::kInt);
    if (!compatible(f.type, type)) {
      report(actual, Message::argument_types,
             {std::to_string(i + 1), r.types.spelling(f.type) + " expected, not " + r.types.spelling(type)});
      mark_unwritable(Construct::type_error);
    }
    // An open array passed on to a formal whose size or index width is asked gets them asked too.
    if (tree.kind(actual) == Kind::name) {
      if (f.size_needed) need_size_of(actual);
      if (f.width_needed) need_index_width_of(actual);
    }
    if (r.types[r.types.innermost(f.type)].kind == TypeKind::channel) {
      if (f.used_for_input || f.direction == Direction::input) note_channel_use(actual, Use::input);
      if (f.used_for_output || f.direction == Direction::output) note_channel_use(actual, Use::output);
    }
    if (f.mode != FormalMode::val && r.types[f.type].kind != TypeKind::channel && !r.types.is_array(f.type) &&
        r.types[f.type].kind != TypeKind::timer) {
      // A variable passed by reference must be one.
      if (tree.kind(actual) == Kind::name) {
        SymbolId given_symbol = tree.node(actual).b;
        if (given_symbol != kNoSymbol) {
          const Symbol& g = r.symbol(given_symbol);
          bool writable = g.kind == SymbolKind::variable || g.kind == SymbolKind::alias ||
                          (g.kind == SymbolKind::formal && g.mode != FormalMode::val) || !r.types.is_known(g.type);
          if (!writable && !function) report(actual, Message::not_a_variable, {tree.name_of(actual)});
        }
      }
    }
  }
  pass_free_names(definition);
}

// A call of a lifted PROC or FUNCTION passes its free names, so they are used where it stands.
void ResolverPass::pass_free_names(NodeId definition) {
  if (const DefinitionInfo* info = r.definition(definition)) {
    std::vector<SymbolId> free = info->free;
    for (SymbolId id : free) {
      const Symbol& f = r.symbol(id);
      if (f.global || f.owner == kNone) continue;
      auto owner = std::find(definitions_.begin(), definitions_.end(), f.owner);
      if (owner == definitions_.end()) continue;
      for (auto d = owner + 1; d != definitions_.end(); ++d) {
        std::vector<SymbolId>& mine = r.definitions[*d].free;
        if (std::find(mine.begin(), mine.end(), id) == mine.end()) mine.push_back(id);
      }
    }
  }
}

}  // namespace vrk::occam2
