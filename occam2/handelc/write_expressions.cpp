// Expressions. Each occam type has one Handel-C type (INT int 32, BYTE unsigned 8, BOOL
// unsigned 1, ...), and occam's operands already agree, so an expression is written as it stands
// but where a value of one Handel-C type is wanted as another: a conversion, a replicator's index
// (declared as narrow as its values), an array index (as wide as the array needs).
#include <charconv>

#include "occam2/handelc/writer_internal.h"

namespace vrk::occam2 {

namespace {

int bits_for_index(std::int64_t size) {
  int width = 1;
  while (width < 63 && (std::int64_t{1} << width) < size) ++width;
  return width;
}

// Whether an expression written as an operand needs brackets around it.
bool compound(const Tree& tree, NodeId id) {
  switch (tree.kind(id)) {
    case Kind::dyadic: case Kind::logical_chain: case Kind::monadic: case Kind::conversion: return true;
    default: return false;
  }
}

}  // namespace

// The Handel-C type an expression has as written: its occam type's, but for a constant (which
// takes any width) and a replicator's index (as declared for its replicator).
HcType Writer::natural_type(NodeId id) const {
  const Node& n = tree_.node(id);
  switch (n.kind) {
    case Kind::number: case Kind::character: case Kind::boolean: case Kind::size: case Kind::most: return {};
    case Kind::name: {
      SymbolId symbol = n.b;
      if (!constant_indices_.empty() && constant_indices_.contains(symbol)) return {};
      auto found = replicator_types_.find(symbol);
      if (found != replicator_types_.end()) return found->second;
      if (symbol != kNoSymbol && r_.symbol(symbol).kind == SymbolKind::constant) return {};
      return hc_type(n.type);
    }
    case Kind::dyadic: {
      OperatorClass cls = operator_class(static_cast<Operator>(n.detail));
      if (cls == OperatorClass::comparison || cls == OperatorClass::after || cls == OperatorClass::boolean) return {false, 1};
      if (constant(id)) return {};
      return hc_type(n.type);
    }
    case Kind::monadic:
    case Kind::conversion:
      if (constant(id)) return {};
      return hc_type(n.type);
    case Kind::subscript:
      if (tree_.kind(n.a) != Kind::name && tree_.kind(n.a) != Kind::subscript && constant(id)) return {};
      return hc_type(n.type);
    default: return hc_type(n.type);
  }
}

std::optional<std::int64_t> Writer::constant(NodeId id) const {
  if (id >= constants_.size()) constants_.resize(std::max<std::size_t>(id + 1, tree_.node_count()));
  KnownConstant& known = constants_[id];
  if (known.state == KnownConstant::State::unasked) {
    std::optional<std::int64_t> value = constant_value(tree_, r_, id);
    known.state = value ? KnownConstant::State::constant : KnownConstant::State::not_constant;
    known.value = value.value_or(0);
  }
  if (known.state == KnownConstant::State::not_constant) return std::nullopt;
  return known.value;
}

void Writer::write_operator(Operator op) {
  write(" ");
  write(operator_text(op));
  write(" ");
}

void Writer::expression(NodeId id, HcType wanted) {
  HcType natural = natural_type(id);
  if (wanted.known() && natural.known() && wanted != natural) return convert(id, natural, wanted);
  raw_expression(id);
}

// A value's bits as another type:
//   wider    adju(x, w) / adjs(x, w)  (zero- or sign-extended by the value's own signedness)
//   narrower (x <- w)                 (the low bits)
//   then a cast when the signedness still differs: (int 32)adju(b, 32), (unsigned 8)(x <- 8)
// Written piece by piece: conversions are frequent, and no text needs to be put together first.
void Writer::conversion_start(HcType from, HcType to) {
  const bool cast = from.is_signed != to.is_signed;
  if (cast) {
    write(to.is_signed ? "(int " : "(unsigned ");
    write_count(to.width);
    write(")");
  }
  if (to.width > from.width) {
    write(from.is_signed ? "adjs(" : "adju(");
  } else if (to.width < from.width || cast) {
    write("(");
  }
}

void Writer::conversion_end(HcType from, HcType to) {
  if (to.width > from.width) {
    write(", ");
    write_count(to.width);
    write(")");
  } else if (to.width < from.width) {
    write(" <- ");
    write_count(to.width);
    write(")");
  } else if (from.is_signed != to.is_signed) {
    write(")");
  }
}

void Writer::write_count(long long count) {
  char digits[24];
  auto [end, error] = std::to_chars(digits, digits + sizeof digits, count);
  write(std::string_view(digits, static_cast<std::size_t>(end - digits)));
}

void Writer::convert(NodeId id, HcType from, HcType to) {
  conversion_start(from, to);
  const bool bracket = to.width < from.width && compound(tree_, id);
  if (bracket) write("(");
  raw_expression(id);
  if (bracket) write(")");
  conversion_end(from, to);
}

namespace {
void operand(Writer& w, const Tree& tree, NodeId id, HcType wanted) {
  bool bracket = compound(tree, id);
  if (bracket) w.write("(");
  w.expression(id, wanted);
  if (bracket) w.write(")");
}
}  // namespace

void Writer::operand_at(NodeId id, HcType wanted) { operand(*this, tree_, id, wanted); }

void Writer::raw_expression(NodeId id) {
  const Node& n = tree_.node(id);
  HcType own = hc_type(n.type);
  switch (n.kind) {
    case Kind::number: {
      std::optional<std::int64_t> value = constant(id);
      write(number_text(value.value_or(0), own, n.detail != 0));
      return;
    }
    case Kind::character: write(character_text(static_cast<unsigned char>(n.a))); return;
    case Kind::boolean: write(n.detail ? "1" : "0"); return;
    case Kind::typed_literal:
    case Kind::most: write(number_text(constant(id).value_or(0), own, false)); return;
    case Kind::size: {
      if (std::optional<std::int64_t> value = constant(id)) {
        write_count(*value);
        return;
      }
      SymbolId array = tree_.kind(n.a) == Kind::name ? tree_.node(n.a).b : kNoSymbol;
      if (array != kNoSymbol && r_.symbol(array).helper != 0) {
        write(tree_.names.spelling(r_.symbol(array).helper));
        return;
      }
      write("0");
      return;
    }
    case Kind::subscript:
      // An element of a table of constants, or of one written in place.
      if (std::optional<std::int64_t> value = constant(id); value && tree_.kind(n.a) != Kind::name &&
                                                            tree_.kind(n.a) != Kind::subscript) {
        write(number_text(*value, own, false));
        return;
      }
      return element(id);
    case Kind::name:
    case Kind::slice: return element(id);
    case Kind::dyadic: {
      auto op = static_cast<Operator>(n.detail);
      OperatorClass cls = operator_class(op);
      if (cls == OperatorClass::boolean) {
        operand(*this, tree_, n.a, {false, 1});
        write_operator(op);
        operand(*this, tree_, n.b, {false, 1});
        return;
      }
      if (cls == OperatorClass::comparison || cls == OperatorClass::after) {
        HcType operands = hc_type(tree_.node(n.a).type);
        if (!operands.known()) operands = hc_type(tree_.node(n.b).type);
        if (cls == OperatorClass::after) {
          // a AFTER b: ((int 32)(a - b)) > 0, the difference taken modulo the width.
          write("((" + type_spelling({true, operands.width}) + ")(");
          operand(*this, tree_, n.a, operands);
          write(" - ");
          operand(*this, tree_, n.b, operands);
          write(")) > 0");
          return;
        }
        operand(*this, tree_, n.a, operands);
        write_operator(op);
        operand(*this, tree_, n.b, operands);
        return;
      }
      if (cls == OperatorClass::shift) {
        // occam shifts within the operand's width and >> brings in zeros: a signed value is
        // shifted as unsigned.
        bool logical = op == Operator::shift_right && own.is_signed;
        if (logical) write("(" + type_spelling(own) + ")(((" + type_spelling({false, own.width}) + ")");
        operand(*this, tree_, n.a, own);
        if (logical) write(")");
        write_operator(op);
        std::optional<std::int64_t> count = constant(n.b);
        write_count(count.value_or(0));
        if (logical) write(")");
        return;
      }
      operand(*this, tree_, n.a, own);
      write_operator(op);
      operand(*this, tree_, n.b, own);
      return;
    }
    case Kind::monadic: {
      auto op = static_cast<Operator>(n.detail);
      write(operator_text(op));
      operand(*this, tree_, n.a, op == Operator::not_ ? HcType{false, 1} : own);
      return;
    }
    case Kind::logical_chain: {
      bool first = true;
      for (NodeId item : tree_.children(n.a)) {
        if (!first) write_operator(static_cast<Operator>(n.detail));
        first = false;
        operand(*this, tree_, item, {false, 1});
      }
      return;
    }
    case Kind::conversion: {
      if (std::optional<std::int64_t> value = constant(id)) {
        write(number_text(*value, own, false));
        return;
      }
      HcType from = natural_type(n.b);
      if (!from.known() || !own.known() || from == own) return operand(*this, tree_, n.b, own);
      return convert(n.b, from, own);
    }
    case Kind::function_call: {
      write(symbol_spelling(tree_.node(n.a).b));
      write(" (");
      arguments(n.a, n.b, true);
      write(")");
      return;
    }
    default: write("0"); return;
  }
}

// A variable, a channel, an element of an array: x, c[i], m[i][j].
void Writer::element(NodeId id) {
  const Node& n = tree_.node(id);
  switch (n.kind) {
    case Kind::name: return name(id);
    case Kind::subscript: {
      element(n.a);
      TypeId base = tree_.node(n.a).type;
      std::int64_t size = r_.types.is_array(base) ? r_.types[base].size : kUnknownSize;
      write("[");
      SymbolId array = tree_.kind(n.a) == Kind::name ? tree_.node(n.a).b : kNoSymbol;
      if (size == kUnknownSize && array != kNoSymbol && r_.symbol(array).width_needed && !constant(n.b)) {
        // An open array formal: the index as wide as the width given beside it.
        std::string width(tree_.names.spelling(r_.symbol(array).width_helper));
        write("(unsigned " + width + ")(");
        operand_at(n.b, {true, 32});
        write(" <- " + width + ")");
      } else {
        index(n.b, size);
      }
      write("]");
      return;
    }
    case Kind::slice: return element(tree_.child(id, 0));
    default: return raw_expression(id);
  }
}

// An array index: a constant as it is; a value as wide as the array's indices need.
void Writer::index(NodeId index_node, std::int64_t size) {
  if (std::optional<std::int64_t> value = constant(index_node)) {
    write_count(*value);
    return;
  }
  if (size == kUnknownSize) return expression(index_node);
  expression(index_node, {false, bits_for_index(size)});
}

void Writer::name(NodeId id) {
  SymbolId symbol = tree_.node(id).b;
  if (symbol == kNoSymbol) {
    write(tree_.name_of(id));
    return;
  }
  if (!constant_indices_.empty()) {
    auto constant_index = constant_indices_.find(symbol);
    if (constant_index != constant_indices_.end()) {
      write_count(constant_index->second);
      return;
    }
  }
  const Symbol& s = r_.symbol(symbol);
  // An abbreviation stands for what it names, but in a lifted PROC it was given as a parameter.
  if (s.kind == SymbolKind::alias && !parameters_.contains(symbol)) {
    NodeId aliased = tree_.child(s.definition, 2);
    bool bracket = compound(tree_, aliased);
    if (bracket) write("(");
    element(aliased);
    if (bracket) write(")");
    return;
  }
  write(symbol_spelling(symbol));
}

std::string_view Writer::symbol_spelling(SymbolId symbol) const {
  if (symbol == kNoSymbol) return "?";
  return tree_.names.spelling(r_.symbol(symbol).target);
}

std::string Writer::symbol_name(SymbolId symbol) const { return std::string(symbol_spelling(symbol)); }

// The actuals of a call, each as its formal takes it; an open array's size after it where the
// callee asks for it; then the callee's free names.
void Writer::arguments(NodeId callee, NodeId list, bool function) {
  SymbolId symbol = tree_.node(callee).b;
  const Symbol& s = r_.symbol(symbol);
  NodeId formals = tree_.child(s.definition, function ? 2 : 1);
  bool first = true;
  auto separate = [&]() {
    if (!first) write(", ");
    first = false;
  };
  std::uint32_t i = 0;
  for (NodeId actual : tree_.children(list)) {
    NodeId formal = tree_.child(formals, i++);
    if (formal == kNone) break;
    const Symbol& f = r_.symbol(tree_.node(tree_.node(formal).b).b);
    if (r_.types[r_.types.innermost(f.type)].kind == TypeKind::timer) continue;
    separate();
    auto table = r_.helper_names.find(actual);
    if (table != r_.helper_names.end()) {
      write(tree_.names.spelling(table->second));
    } else if (r_.types[f.type].kind == TypeKind::primitive) {
      expression(actual, hc_type(f.type));
    } else {
      element(actual);
    }
    if (f.size_needed || f.width_needed) {
      TypeId given = tree_.node(actual).type;
      SymbolId given_symbol = tree_.kind(actual) == Kind::name ? tree_.node(actual).b : kNoSymbol;
      bool known = r_.types.is_array(given) && r_.types[given].size != kUnknownSize;
      const Symbol* passed_on = given_symbol != kNoSymbol ? &r_.symbol(given_symbol) : nullptr;
      if (f.size_needed) {
        separate();
        if (known) {
          write_count(r_.types[given].size);
        } else if (passed_on != nullptr && passed_on->size_needed) {
          write(tree_.names.spelling(passed_on->helper));
        } else {
          write("0");
        }
      }
      if (f.width_needed) {
        separate();
        if (known) {
          write_count(bits_for_index(r_.types[given].size));
        } else if (passed_on != nullptr && passed_on->width_needed) {
          write(tree_.names.spelling(passed_on->width_helper));
        } else {
          write("32");
        }
      }
    }
  }
  if (const DefinitionInfo* info = r_.definition(s.definition)) {
    for (SymbolId free : info->free) {
      separate();
      const Symbol& f = r_.symbol(free);
      if (f.kind == SymbolKind::replicator && replicator_types_.contains(free)) {
        // A narrow replicator index goes on as the INT it is in occam.
        const HcType index_type = replicator_types_.at(free);
        conversion_start(index_type, {true, 32});
        write(symbol_spelling(free));
        conversion_end(index_type, {true, 32});
      } else if (constant_indices_.contains(free)) {
        write_count(constant_indices_.at(free));
      } else if (f.kind == SymbolKind::alias && !parameters_.contains(free)) {
        element(tree_.child(f.definition, 2));
      } else {
        write(symbol_spelling(free));
      }
    }
  }
}

}  // namespace vrk::occam2
