// The resolver's walk: scopes, declarations and processes.
#include "occam2/resolve/resolver.h"

#include <algorithm>

#include "occam2/resolve/resolver_pass.h"

namespace vrk::occam2 {

namespace {

constexpr std::string_view kMessageTexts[] = {
#define VRK_MESSAGE(code, text) text,
#include "occam2/resolve/messages.def"
#undef VRK_MESSAGE
};

}  // namespace

// An item that scopes like a declaration; comments stand among them and scope over nothing.
bool is_declarative_item(const Tree& tree, NodeId id) {
  return tree.kind(id) == Kind::comment || is_declarative(tree, id);
}

Resolution resolve(Tree& tree, Diagnostics& diagnostics) {
  Resolver resolver(tree, diagnostics);
  if (tree.root() != kNone) {
    for (NodeId item : tree.children(tree.node(tree.root()).a)) resolver.outermost_item(item);
  }
  resolver.finish();
  return resolver.take();
}

Resolver::Resolver(Tree& tree, Diagnostics& diagnostics)
    : pass_(std::make_unique<ResolverPass>(tree, diagnostics, resolution_)) {}
Resolver::~Resolver() = default;

void Resolver::outermost_item(NodeId item) { pass_->outermost_item(item); }
void Resolver::begin_streamed_body() { pass_->begin_streamed_body(); }
void Resolver::streamed_item(NodeId item) { pass_->streamed_item(item); }
void Resolver::end_streamed_body() { pass_->end_streamed_body(); }
void Resolver::finish() { pass_->name_program_channels(); }

ResolverPass::ResolverPass(Tree& tree_in, Diagnostics& diagnostics_in, Resolution& resolution)
    : tree(tree_in), diagnostics(diagnostics_in), r(resolution) {
  r.clock_name = fresh_global_name("vrk_clock");
  r.clock_stop_name = fresh_global_name("vrk_done");
}

// An item of the outermost level: a declaration stays in scope to the end of the file.
void ResolverPass::outermost_item(NodeId item) {
  if (is_declarative_item(tree, item)) return declarative(item);
  r.outermost_process = true;
  process(item);
}

void ResolverPass::begin_streamed_body() {
  r.outermost_process = true;
  streaming_ = true;
  streamed_mark_ = scope_mark();
}

void ResolverPass::streamed_item(NodeId item) {
  if (is_declarative_item(tree, item)) return declarative(item);
  process(item);
  close_scopes(streamed_mark_);
}

void ResolverPass::end_streamed_body() {
  close_scopes(streamed_mark_);
  streaming_ = false;
}

// The program's channels, and variables for its other formals, are declared at the outermost level,
// after every definition, under the names of the program PROC's formals where those are free.
void ResolverPass::name_program_channels() {
  if (r.outermost_process || r.program_proc == kNoSymbol) return;
  NodeId formals = tree.child(r.symbol(r.program_proc).definition, 1);
  for (NodeId formal : tree.children(formals)) {
    SymbolId symbol = tree.node(tree.node(formal).b).b;
    bool channel = symbol != kNoSymbol && r.types[r.types.innermost(r.symbol(symbol).type)].kind == TypeKind::channel;
    NameId name = symbol != kNoSymbol ? target_name(r.symbol(symbol).name, true) : 0;
    r.program_channels.push_back(name);
    r.program_channel_elements.emplace_back();
    if (!channel || !r.types.is_array(r.symbol(symbol).type)) continue;
    const Type& array = r.types[r.symbol(symbol).type];
    if (array.size == kUnknownSize || r.types.is_array(array.element)) continue;
    std::string element_base(tree.names.spelling(r.symbol(symbol).name));
    std::replace(element_base.begin(), element_base.end(), '.', '_');
    for (std::int64_t k = 0; k < array.size; ++k) {
      r.program_channel_elements.back().push_back(fresh_global_name(element_base + "_" + std::to_string(k)));
    }
    if (r.forwarded_name == 0) r.forwarded_name = fresh_global_name("value");
  }
}

// ---------------------------------------------------------------- scopes

SymbolId ResolverPass::declare(NodeId name_def, SymbolKind kind, TypeId type, NodeId definition) {
  Symbol symbol;
  symbol.kind = kind;
  symbol.type = type;
  symbol.name = tree.node(name_def).a;
  symbol.declaration = name_def;
  symbol.definition = definition;
  symbol.owner = definitions_.empty() ? kNone : definitions_.back();
  symbol.direction = static_cast<Direction>(tree.node(name_def).detail);
  symbol.shadowed = lookup(symbol.name);
  symbol.global = symbol.owner == kNone || kind == SymbolKind::constant || kind == SymbolKind::table ||
                  kind == SymbolKind::proc || kind == SymbolKind::function || kind == SymbolKind::timer ||
                  kind == SymbolKind::protocol || kind == SymbolKind::data_type;
  symbol.target = target_name(symbol.name, written_at_outermost_level(kind));
  auto id = static_cast<SymbolId>(r.symbols.size());
  r.symbols.push_back(symbol);
  tree.node(name_def).b = id;
  if (symbol.name >= binding_.size()) binding_.resize(tree.names.size() + 1, kNoSymbol);
  undo_.push_back({symbol.name, binding_[symbol.name]});
  binding_[symbol.name] = id;
  return id;
}

bool ResolverPass::written_at_outermost_level(SymbolKind kind) const {
  switch (kind) {
    case SymbolKind::constant: case SymbolKind::table: case SymbolKind::proc: case SymbolKind::function:
    case SymbolKind::protocol: case SymbolKind::data_type:
      return true;
    default:
      return definitions_.empty() && process_depth_ == 0 && !streaming_;
  }
}

void ResolverPass::close_bindings(ScopeMark mark) {
  while (undo_.size() > mark.bindings) {
    binding_[undo_.back().name] = undo_.back().previous;
    undo_.pop_back();
  }
}

void ResolverPass::close_scopes(ScopeMark mark) {
  close_bindings(mark);
  release_names(mark.names);
}

// ---------------------------------------------------------------- messages

void ResolverPass::report(NodeId at, Message message, std::initializer_list<std::string_view> words) {
  std::string text;
  std::string_view format = kMessageTexts[static_cast<std::size_t>(message)];
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size() && (format[i + 1] == '0' || format[i + 1] == '1')) {
      std::size_t word = static_cast<std::size_t>(format[i + 1] - '0');
      if (word < words.size()) text += *(words.begin() + word);
      ++i;
    } else {
      text += format[i];
    }
  }
  Location where = tree.locate(at);
  std::string_view near = words.size() > 0 ? *words.begin() : std::string_view();
  diagnostics.error_in(tree.places.file_name(where.file), {static_cast<int>(where.line), static_cast<int>(where.column)},
                       text, near);
  ++r.error_count;
}

void ResolverPass::mark_unwritable(Construct why) {
  if (statement_ != kNone) r.mark_unwritable(statement_, why);
}

// ---------------------------------------------------------------- bodies

// The items of a body: each declaration scopes over what follows it up to the next process,
// inclusive.
void ResolverPass::body(NodeId list) {
  ScopeMark mark = scope_mark();
  for (NodeId item : tree.children(list)) {
    if (is_declarative_item(tree, item)) {
      declarative(item);
      continue;
    }
    process(item);
    close_scopes(mark);
  }
  close_scopes(mark);
}

void ResolverPass::declarative(NodeId id) {
  NodeId outer = std::exchange(statement_, id);
  auto first_symbol = static_cast<SymbolId>(r.symbols.size());
  switch (tree.kind(id)) {
    case Kind::declaration: declaration(id); break;
    case Kind::val_abbreviation: val_abbreviation(id); break;
    case Kind::abbreviation: abbreviation(id); break;
    case Kind::initial_declaration: initial_declaration(id); break;
    case Kind::proc_definition: proc_definition(id); break;
    case Kind::function_definition: function_definition(id); break;
    case Kind::protocol_definition: protocol_definition(id); break;
    case Kind::data_type_definition: data_type_definition(id); break;
    case Kind::unsupported: unsupported_declarative(id); break;
    default: break;
  }
  // What a declaration that cannot be written declares cannot be used either.
  if (std::optional<Construct> why = r.why_unwritable(id)) {
    for (SymbolId symbol = first_symbol; symbol < r.symbols.size(); ++symbol) {
      Symbol& s = r.symbol(symbol);
      if (s.definition != id || s.kind == SymbolKind::proc || s.kind == SymbolKind::function) continue;
      s.kind = SymbolKind::unsupported;
      s.construct = *why;
    }
  }
  statement_ = outer;
}

void ResolverPass::process(NodeId id) {
  NodeId outer = std::exchange(statement_, id);
  const Node& n = tree.node(id);
  ScopeMark mark = scope_mark();
  ++process_depth_;
  switch (n.kind) {
    case Kind::assignment: assignment(id); break;
    case Kind::multiple_assignment: multiple_assignment(id); break;
    case Kind::input: input(id); break;
    case Kind::output: output(id); break;
    case Kind::delayed_input: delayed_input(id); break;
    case Kind::call: call(id); break;
    case Kind::seq:
    case Kind::par:
      if (n.a != kNone) replicator(n.a);
      body(n.b);
      break;
    case Kind::if_process:
      if (n.a != kNone) replicator(n.a);
      choices(n.b);
      break;
    case Kind::alt:
      if (n.a != kNone) replicator(n.a);
      alternatives(n.b);
      if (waits_for_time(n.b)) r.helper_names[id] = helper_name(tree.names.intern("waiting"), "");
      break;
    case Kind::case_process: options(n.b, expression(n.a)); break;
    case Kind::while_process:
      condition(n.a);
      body(n.b);
      break;
    case Kind::valof: {
      body(n.a);
      for (NodeId result : tree.children(n.b)) expression(result);
      break;
    }
    default: break;  // SKIP, STOP, and the constructs vrk keeps unsupported
  }
  --process_depth_;
  close_scopes(mark);
  statement_ = outer;
}

void ResolverPass::replicator(NodeId id) {
  integer_expression(tree.child(id, 1));
  integer_expression(tree.child(id, 2));
  if (tree.child(id, 3) != kNone) {
    integer_expression(tree.child(id, 3));
    mark_unwritable(Construct::replicator_step);
  }
  SymbolId symbol = declare(tree.child(id, 0), SymbolKind::replicator, TypeTable::kInt, id);
  // A loop whose count is known only at run time counts down in a variable of its own.
  r.symbol(symbol).helper = helper_name(r.symbol(symbol).target, "_count");
}

// Why a FUNCTION has no Handel-C form, if it has none: a result or a formal of a type vrk keeps
// unsupported, or a value that cannot be written.
Construct ResolverPass::why_function_unwritable(NodeId id) const {
  for (NodeId type : tree.children(tree.child(id, 0))) {
    if (r.types[tree.node(type).type].kind == TypeKind::unsupported) return r.types[tree.node(type).type].construct;
  }
  for (NodeId formal : tree.children(tree.child(id, 2))) {
    SymbolId f = tree.node(tree.node(formal).b).b;
    if (f != kNoSymbol && r.symbol(f).kind == SymbolKind::unsupported) return r.symbol(f).construct;
  }
  if (std::optional<Construct> why = r.why_unwritable(id)) return *why;
  NodeId value = tree.child(id, 3);
  for (NodeId item : tree.children(value)) {
    std::optional<Construct> why = r.why_unwritable(item);
    if (why && (tree.kind(item) == Kind::valof || is_declarative_item(tree, item))) return *why;
    if (tree.kind(item) == Kind::unsupported) return static_cast<Construct>(tree.node(item).detail);
  }
  return Construct::none;
}

// Whether an ALT's alternatives (those of nested ALTs among them) include a timer guard.
bool ResolverPass::waits_for_time(NodeId alternatives) const {
  for (NodeId item : tree.children(alternatives)) {
    if (tree.kind(item) == Kind::alternative && tree.kind(tree.child(item, 1)) == Kind::delayed_input) return true;
    if (tree.kind(item) == Kind::alt && waits_for_time(tree.node(item).b)) return true;
  }
  return false;
}

// The choices of an IF: conditions, nested IFs, and the declarations before them. The
// declarations of the choices, the alternatives of an ALT and the options of a CASE are written
// in one block around the construct: their Handel-C names stay taken until it ends.
void ResolverPass::choices(NodeId list) {
  NodeId construct = statement_;
  ScopeMark mark = scope_mark();
  for (NodeId item : tree.children(list)) {
    if (is_declarative_item(tree, item)) {
      declarative(item);
      continue;
    }
    if (tree.kind(item) == Kind::choice) {
      statement_ = construct;
      condition(tree.node(item).a);
      body(tree.node(item).b);
    } else {
      process(item);
    }
    close_bindings(mark);
  }
  close_scopes(mark);
  statement_ = construct;
}

void ResolverPass::alternatives(NodeId list) {
  NodeId construct = statement_;
  ScopeMark mark = scope_mark();
  for (NodeId item : tree.children(list)) {
    if (is_declarative_item(tree, item)) {
      declarative(item);
      continue;
    }
    if (tree.kind(item) == Kind::alternative) {
      statement_ = construct;
      NodeId guard_condition = tree.child(item, 0);
      NodeId guard = tree.child(item, 1);
      if (guard_condition != kNone) condition(guard_condition);
      if (tree.kind(guard) == Kind::input) input(guard);
      if (tree.kind(guard) == Kind::delayed_input) delayed_input(guard);
      body(tree.child(item, 2));
    } else {
      process(item);
    }
    close_bindings(mark);
  }
  close_scopes(mark);
  statement_ = construct;
}

void ResolverPass::options(NodeId list, TypeId selector) {
  NodeId construct = statement_;
  ScopeMark mark = scope_mark();
  for (NodeId item : tree.children(list)) {
    if (is_declarative_item(tree, item)) {
      declarative(item);
      continue;
    }
    if (tree.kind(item) != Kind::option) continue;
    statement_ = construct;
    for (NodeId label : tree.children(tree.node(item).a)) {
      TypeId type = expression(label, selector);
      if (!compatible(type, selector)) {
        report(label, Message::operand_types, {"CASE", r.types.spelling(selector) + " and " + r.types.spelling(type)});
        mark_unwritable(Construct::type_error);
      }
      settle_literal_types(label, r.types.is_integer(selector) ? selector : TypeTable::kInt);
      if (!constant_value(tree, r, label)) report(label, Message::not_constant, {"a CASE option"});
    }
    body(tree.node(item).b);
    close_bindings(mark);
  }
  close_scopes(mark);
  statement_ = construct;
}

// ---------------------------------------------------------------- declarations

void ResolverPass::declaration(NodeId id) {
  TypeId type = type_of(tree.node(id).a);
  const Type& t = r.types[r.types.innermost(type)];
  SymbolKind kind = SymbolKind::variable;
  if (t.kind == TypeKind::channel) kind = SymbolKind::channel;
  if (t.kind == TypeKind::timer) kind = SymbolKind::timer;
  if (t.kind == TypeKind::unsupported) kind = SymbolKind::unsupported;
  for (NodeId name : tree.children(tree.node(id).b)) {
    SymbolId symbol = declare(name, kind, type, id);
    r.symbol(symbol).construct = t.construct;
  }
}

// VAL [type] NAME IS value: a constant when the value is known now, a table when it is an array of
// constants, otherwise a value computed once where it stands.
void ResolverPass::val_abbreviation(NodeId id) {
  NodeId type_node = tree.child(id, 0);
  NodeId value = tree.child(id, 2);
  TypeId declared = type_node == kNone ? TypeTable::kUnknown : type_of(type_node);
  table_allowed_ = true;
  TypeId type = expression(value, declared);
  table_allowed_ = false;
  if (declared != TypeTable::kUnknown && !compatible(declared, type)) {
    report(value, Message::assignment_types, {tree.name_of(tree.child(id, 1)), r.types.spelling(type)});
    mark_unwritable(Construct::type_error);
  }
  if (r.types[type].kind == TypeKind::literal) {
    type = r.types.is_integer(declared) ? declared : TypeTable::kInt;
    settle_literal_types(value, type);
  }
  // A declared []T takes its size from the value.
  if (declared != TypeTable::kUnknown && !(r.types.is_array(declared) && r.types[declared].size == kUnknownSize)) {
    type = declared;
  }
  std::optional<std::int64_t> constant = constant_value(tree, r, value);
  SymbolKind kind = SymbolKind::value;
  if (constant && !r.types.is_array(type)) kind = SymbolKind::constant;
  if (r.types.is_array(type) && (tree.kind(value) == Kind::table || tree.kind(value) == Kind::string ||
                                 tree.kind(value) == Kind::typed_literal)) {
    kind = SymbolKind::table;
  }
  if (!r.types.is_known(type) && r.types[type].kind == TypeKind::unsupported) kind = SymbolKind::unsupported;
  SymbolId symbol = declare(tree.child(id, 1), kind, type, id);
  if (constant) r.symbol(symbol).value = *constant;
  if (kind == SymbolKind::unsupported) r.symbol(symbol).construct = r.types[type].construct;
}

// [type] NAME IS element: another name for a variable, a channel or a part of an array.
void ResolverPass::abbreviation(NodeId id) {
  NodeId type_node = tree.child(id, 0);
  TypeId declared = type_node == kNone ? TypeTable::kUnknown : type_of(type_node);
  TypeId type = expression(tree.child(id, 2), declared);
  if (declared != TypeTable::kUnknown && !compatible(declared, type)) {
    report(tree.child(id, 2), Message::assignment_types, {tree.name_of(tree.child(id, 1)), r.types.spelling(type)});
    mark_unwritable(Construct::type_error);
  }
  if (r.types[type].kind == TypeKind::unsupported) {
    SymbolId symbol = declare(tree.child(id, 1), SymbolKind::unsupported, type, id);
    r.symbol(symbol).construct = r.types[type].construct;
    return;
  }
  declare(tree.child(id, 1), SymbolKind::alias, type, id);
}

void ResolverPass::initial_declaration(NodeId id) {
  TypeId type = type_of(tree.child(id, 0));
  table_allowed_ = true;
  TypeId value = expression(tree.child(id, 2), type);
  table_allowed_ = false;
  if (!compatible(type, value)) {
    report(tree.child(id, 2), Message::assignment_types, {tree.name_of(tree.child(id, 1)), r.types.spelling(value)});
    mark_unwritable(Construct::type_error);
  }
  settle_literal_types(tree.child(id, 2), r.types.is_integer(type) ? type : TypeTable::kInt);
  SymbolKind kind = r.types[type].kind == TypeKind::unsupported ? SymbolKind::unsupported : SymbolKind::variable;
  SymbolId symbol = declare(tree.child(id, 1), kind, type, id);
  r.symbol(symbol).construct = r.types[type].construct;
}

void ResolverPass::proc_definition(NodeId id) {
  bool recursive = (tree.node(id).detail & kRecursiveDefinition) != 0;
  NodeId name = tree.child(id, 0);
  DefinitionInfo& info = r.definitions[id];
  info.nested = !definitions_.empty();
  // Declared first, so that it gets its name before its body's names do; bound only after the
  // body unless RECURSIVE.
  ScopeMark before = scope_mark();
  SymbolId symbol = declare(name, SymbolKind::proc, TypeTable::kUnknown, id);
  if (!recursive) close_bindings(before);
  definitions_.push_back(id);
  defining_.push_back(name);
  ScopeMark mark = scope_mark();
  formals(tree.child(id, 1), id);
  body(tree.child(id, 2));
  close_scopes(mark);
  definitions_.pop_back();
  defining_.pop_back();
  if (!recursive) {
    undo_.push_back({r.symbol(symbol).name, binding_[r.symbol(symbol).name]});
    binding_[r.symbol(symbol).name] = symbol;
  }
  if (definitions_.empty()) r.program_proc = symbol;
}

void ResolverPass::function_definition(NodeId id) {
  bool recursive = (tree.node(id).detail & kRecursiveDefinition) != 0;
  NodeId name = tree.child(id, 1);
  DefinitionInfo& info = r.definitions[id];
  info.nested = !definitions_.empty();
  NodeId result_types = tree.child(id, 0);
  TypeId result = TypeTable::kUnknown;
  if (tree.child_count(result_types) == 1) result = type_of(tree.child(result_types, 0));
  for (std::uint32_t i = 1; i < tree.child_count(result_types); ++i) type_of(tree.child(result_types, i));
  ScopeMark before = scope_mark();
  SymbolId symbol = declare(name, SymbolKind::function, result, id);
  if (tree.child_count(result_types) > 1) r.symbol(symbol).construct = Construct::several_results;
  if (!recursive) close_bindings(before);
  definitions_.push_back(id);
  defining_.push_back(name);
  ScopeMark mark = scope_mark();
  formals(tree.child(id, 2), id);
  NodeId value = tree.child(id, 3);
  if ((tree.node(id).detail & kFunctionIsExpressions) != 0) {
    // FUNCTION ... IS expressions
    std::uint32_t i = 0;
    for (NodeId expression_node : tree.children(value)) {
      TypeId expected = i < tree.child_count(result_types) ? tree.node(tree.child(result_types, i)).type : TypeTable::kUnknown;
      TypeId type = expression(expression_node, r.types.is_known(result) && i == 0 ? result : expected);
      settle_literal_types(expression_node, r.types.is_integer(result) ? result : TypeTable::kInt);
      if (i == 0 && !compatible(result, type)) {
        report(expression_node, Message::assignment_types, {tree.name_of(name), r.types.spelling(type)});
      }
      ++i;
    }
  } else if (value != kNone) {
    body(value);
    // A FUNCTION with a VALOF body becomes a Handel-C function, whose parameters are values.
    for (NodeId formal : tree.children(tree.child(id, 2))) {
      SymbolId f = tree.node(tree.node(formal).b).b;
      if (f != kNoSymbol && r.types[r.symbol(f).type].kind != TypeKind::primitive) {
        if (r.symbol(symbol).construct == Construct::none) r.symbol(symbol).construct = Construct::array_parameter;
      }
    }
  }
  close_scopes(mark);
  definitions_.pop_back();
  defining_.pop_back();
  // A FUNCTION that cannot be written cannot be called either.
  Symbol& function = r.symbol(symbol);
  if (function.construct == Construct::none) function.construct = why_function_unwritable(id);
  if (!recursive) {
    undo_.push_back({r.symbol(symbol).name, binding_[r.symbol(symbol).name]});
    binding_[r.symbol(symbol).name] = symbol;
  }
}

// The formals of a PROC or FUNCTION; a formal without a type shares the one before it.
void ResolverPass::formals(NodeId list, NodeId definition) {
  TypeId type = TypeTable::kUnknown;
  FormalMode mode = FormalMode::reference;
  (void)definition;
  for (NodeId formal : tree.children(list)) {
    const Node& n = tree.node(formal);
    if (n.a != kNone) {
      type = type_of(n.a);
      mode = static_cast<FormalMode>(n.detail);
    }
    SymbolKind kind = r.types[r.types.innermost(type)].kind == TypeKind::unsupported ? SymbolKind::unsupported : SymbolKind::formal;
    SymbolId symbol = declare(n.b, kind, type, formal);
    r.symbol(symbol).mode = mode;
    r.symbol(symbol).construct = r.types[r.types.innermost(type)].construct;
    // An open array's size may be asked in the body: a name for it is kept from here on.
    if (r.types.is_array(type) && r.types[type].size == kUnknownSize) {
      r.symbol(symbol).helper = helper_name(r.symbol(symbol).target, "_size");
      r.symbol(symbol).width_helper = helper_name(r.symbol(symbol).target, "_width");
    }
    if (r.types[r.types.innermost(type)].kind == TypeKind::timer) r.symbol(symbol).global = true;
  }
}

void ResolverPass::protocol_definition(NodeId id) {
  NodeId name = tree.child(id, 0);
  if (tree.node(id).detail != 0) {
    SymbolId symbol = declare(name, SymbolKind::unsupported, r.types.unsupported(Construct::variant_protocol), id);
    r.symbol(symbol).construct = Construct::variant_protocol;
    return;
  }
  TypeId item = TypeTable::kUnknown;
  bool alike = true;
  std::uint32_t count = tree.child_count(id) - 1;
  for (std::uint32_t i = 1; i <= count; ++i) {
    TypeId type = type_of(tree.child(id, i));
    if (i == 1) item = type;
    alike = alike && type == item;
  }
  if (!alike || !r.types.is_known(item)) {
    Construct why = alike ? r.types[item].construct : Construct::protocol;
    if (why == Construct::none) why = Construct::protocol;
    SymbolId symbol = declare(name, SymbolKind::unsupported, r.types.unsupported(why), id);
    r.symbol(symbol).construct = why;
    return;
  }
  SymbolId symbol = declare(name, SymbolKind::protocol, item, id);
  r.symbol(symbol).value = count;
}

// DATA TYPE NAME IS type: another name for the type. A RECORD is kept unsupported.
void ResolverPass::data_type_definition(NodeId id) {
  NodeId name = tree.node(id).a;
  NodeId type_node = tree.node(id).b;
  if (type_node == kNone) {
    SymbolId symbol = declare(name, SymbolKind::unsupported, r.types.unsupported(Construct::record), id);
    r.symbol(symbol).construct = Construct::record;
    return;
  }
  declare(name, SymbolKind::data_type, type_of(type_node), id);
}

void ResolverPass::unsupported_declarative(NodeId id) {
  auto why = static_cast<Construct>(tree.node(id).detail);
  for (NodeId name : tree.children(id)) {
    SymbolId symbol = declare(name, SymbolKind::unsupported, r.types.unsupported(why), id);
    r.symbol(symbol).construct = why;
  }
}

// ---------------------------------------------------------------- processes

void ResolverPass::assignment(NodeId id) {
  const Node& n = tree.node(id);
  TypeId target = element(n.a, Use::assign);
  TypeId value = expression(n.b, target);
  settle_literal_types(n.b, r.types.is_integer(target) ? target : TypeTable::kInt);
  if (!compatible(target, value)) {
    NodeId base = n.a;
    while (tree.kind(base) == Kind::subscript) base = tree.node(base).a;
    std::string_view name = tree.kind(base) == Kind::name ? tree.name_of(base) : std::string_view("the target");
    report(n.b, Message::assignment_types, {name, r.types.spelling(value)});
    mark_unwritable(Construct::type_error);
  }
}

void ResolverPass::multiple_assignment(NodeId id) {
  NodeId targets = tree.node(id).a;
  NodeId values = tree.node(id).b;
  std::uint32_t count = tree.child_count(targets);
  if (tree.child_count(values) == 1 && count > 1) {
    for (NodeId target : tree.children(targets)) element(target, Use::assign);
    expression(tree.child(values, 0));
    mark_unwritable(Construct::several_results);
    return;
  }
  if (tree.child_count(values) != count) {
    report(id, Message::result_count, {std::to_string(tree.child_count(values)), std::to_string(count)});
  }
  for (std::uint32_t i = 0; i < count; ++i) {
    TypeId target = element(tree.child(targets, i), Use::assign);
    NodeId value_node = tree.child(values, i);
    if (value_node == kNone) continue;
    TypeId value = expression(value_node, target);
    settle_literal_types(value_node, r.types.is_integer(target) ? target : TypeTable::kInt);
    if (!compatible(target, value)) {
      report(value_node, Message::assignment_types, {"the target", r.types.spelling(value)});
      mark_unwritable(Construct::type_error);
    }
  }
  for (std::uint32_t i = count; i < tree.child_count(values); ++i) expression(tree.child(values, i));
}

// The name an element starts with, for messages: c for c[i].
std::string_view ResolverPass::channel_name(NodeId element_node) const {
  while (tree.kind(element_node) == Kind::subscript) element_node = tree.node(element_node).a;
  return tree.kind(element_node) == Kind::name ? tree.name_of(element_node) : std::string_view("the channel");
}

// c ? x; y — or a timer read, t ? now.
void ResolverPass::input(NodeId id) {
  const Node& n = tree.node(id);
  TypeId channel = element(n.a, Use::input);
  const Type& c = r.types[channel];
  NodeId items = n.b;
  bool several = tree.kind(items) == Kind::list;
  auto each_item = [&](auto&& f) {
    if (several) {
      for (NodeId item : tree.children(items)) f(item);
    } else {
      f(items);
    }
  };
  if (c.kind == TypeKind::timer) {
    r.uses_timer = true;
    each_item([&](NodeId item) {
      TypeId type = element(item, Use::assign);
      if (!compatible(type, TypeTable::kInt)) report(item, Message::communication_types, {"TIMER", "INT, not " + r.types.spelling(type)});
    });
    return;
  }
  TypeId carried = c.kind == TypeKind::channel ? c.element : TypeTable::kUnknown;
  each_item([&](NodeId item) {
    if (tree.kind(item) == Kind::unsupported) {
      mark_unwritable(static_cast<Construct>(tree.node(item).detail));
      return;
    }
    TypeId type = element(item, Use::assign);
    if (!compatible(type, carried)) {
      report(item, Message::communication_types, {channel_name(n.a), r.types.spelling(carried) + ", not " + r.types.spelling(type)});
      mark_unwritable(Construct::type_error);
    }
  });
}

void ResolverPass::output(NodeId id) {
  const Node& n = tree.node(id);
  TypeId channel = element(n.a, Use::output);
  const Type& c = r.types[channel];
  TypeId carried = c.kind == TypeKind::channel ? c.element : TypeTable::kUnknown;
  auto check = [&](NodeId item) {
    if (tree.kind(item) == Kind::unsupported) {
      mark_unwritable(static_cast<Construct>(tree.node(item).detail));
      return;
    }
    TypeId type = expression(item, carried);
    settle_literal_types(item, r.types.is_integer(carried) ? carried : TypeTable::kInt);
    if (!compatible(type, carried)) {
      report(item, Message::communication_types, {channel_name(n.a), r.types.spelling(carried) + ", not " + r.types.spelling(type)});
      mark_unwritable(Construct::type_error);
    }
  };
  if (tree.kind(n.b) == Kind::list) {
    for (NodeId item : tree.children(n.b)) check(item);
  } else {
    check(n.b);
  }
}

// tim ? AFTER t
void ResolverPass::delayed_input(NodeId id) {
  const Node& n = tree.node(id);
  TypeId timer = element(n.a, Use::input);
  if (r.types.is_known(timer) && r.types[timer].kind != TypeKind::timer) {
    report(n.a, Message::not_a_channel, {"AFTER"});
  }
  r.uses_timer = true;
  integer_expression(n.b);
}

void ResolverPass::call(NodeId id) {
  const Node& n = tree.node(id);
  name_reference(n.a, Use::read);
  SymbolId symbol = tree.node(n.a).b;
  if (symbol == kNoSymbol) {
    for (NodeId actual : tree.children(n.b)) expression(actual);
    return;
  }
  const Symbol& s = r.symbol(symbol);
  if (s.kind == SymbolKind::unsupported) {
    for (NodeId actual : tree.children(n.b)) expression(actual);
    return;
  }
  if (s.kind != SymbolKind::proc) {
    report(n.a, Message::not_a_proc, {tree.name_of(n.a)});
    mark_unwritable(Construct::type_error);
    for (NodeId actual : tree.children(n.b)) expression(actual);
    return;
  }
  arguments(n.a, symbol, n.b, false);
}

}  // namespace vrk::occam2
