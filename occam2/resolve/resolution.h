// What resolution learns about a program's tree, for the passes after it.
//
// Every name and name_def node holds its Symbol's index in its b field; every expression node
// its TypeId. Beside those, a Resolution holds the symbols, the types, what each definition
// needs once it is lifted out of the PROC around it (its free names), the statements that cannot
// be written (they use what was never defined, or what vrk keeps unsupported), and the
// program's outline: which PROC is the program and whether it uses a TIMER.
#pragma once

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "occam2/resolve/types.h"
#include "occam2/tree/tree.h"

namespace vrk::occam2 {

using SymbolId = std::uint32_t;
inline constexpr SymbolId kNoSymbol = 0;

enum class SymbolKind : std::uint8_t {
  variable,      // a declared variable or array of them, or an INITIAL declaration
  channel,       // a declared channel or array of channels
  timer,
  constant,      // a VAL abbreviation whose value is known when translating
  value,         // a VAL abbreviation of a value known only at run time
  alias,         // an abbreviation of an element: a variable, a channel, a part of an array
  table,         // a VAL abbreviation of a table or string of constants
  formal,        // a PROC's or FUNCTION's formal
  replicator,    // a replicator's index
  proc,
  function,
  protocol,
  data_type,
  unsupported,   // declared by a construct vrk keeps unsupported
};

struct Symbol {
  SymbolKind kind = SymbolKind::unsupported;
  FormalMode mode = FormalMode::reference;  // for formals
  Direction direction = Direction::none;    // for channel formals: as written, or as used
  TypeId type = TypeTable::kUnknown;
  NameId name = 0;            // the occam name
  NameId target = 0;          // the unique Handel-C name the resolver chose
  NodeId declaration = kNone; // the name_def node
  NodeId definition = kNone;  // the node that declares it (a declaration, an abbreviation, a PROC, ...)
  NodeId owner = kNone;       // the PROC or FUNCTION whose body or formals declare it; none at the outermost level
  std::int64_t value = 0;     // a constant's value
  Construct construct = Construct::none;  // why an unsupported symbol is; for a PROC or FUNCTION, why it cannot be called
  NameId helper = 0;          // a replicator's count down, an open array formal's size parameter
  NameId width_helper = 0;    // an open array formal's parameter for the width of its indices
  bool size_needed = false;   // an open array formal whose size its body asks for (SIZE)
  bool width_needed = false;  // ... or that it indexes by a value known only at run time
  SymbolId shadowed = 0;      // the declaration of the same name this one hides: another FUNCTION
                              // for an operator ("+") may take other operands
  bool global = false;        // written at the outermost level of the translation
  bool used_for_input = false;
  bool used_for_output = false;
};

// What a PROC or FUNCTION definition needs beyond its own formals.
struct DefinitionInfo {
  std::vector<SymbolId> free;  // names of enclosing PROCs its body uses, in order of first use
  bool recursive = false;      // it calls itself (RECURSIVE allows it; Handel-C does not)
  bool nested = false;         // defined inside another PROC or FUNCTION: lifted to the top
};

class Resolution {
 public:
  std::vector<Symbol> symbols{Symbol{}};  // index 0: no symbol
  TypeTable types;
  std::unordered_map<NodeId, DefinitionInfo> definitions;
  // Statements that cannot be written, and why: the construct their banner names, by node
  // (Construct::none for the others).
  std::vector<Construct> unwritable;
  // Names the writer needs for what it adds: the flag of an ALT that waits for a time, the table
  // made of a table or string given as an argument.
  std::unordered_map<NodeId, NameId> helper_names;
  SymbolId program_proc = kNoSymbol;  // the last outermost PROC, the program when there is no outermost process
  std::vector<NameId> program_channels;  // the global names main gives its formals, in order
  // For a formal that is an array of channels: the names of its elements' channels, which
  // processes beside the program join to the array.
  std::vector<std::vector<NameId>> program_channel_elements;
  NameId forwarded_name = 0;             // the variable those processes pass values through
  bool outermost_process = false;     // the outermost level holds a process
  bool uses_timer = false;
  NameId clock_name = 0;              // the Handel-C name of the clock counter, when a TIMER is read
  NameId clock_stop_name = 0;         // the flag that stops it once the program has ended
  int error_count = 0;

  const Symbol& symbol(SymbolId id) const { return symbols[id]; }
  Symbol& symbol(SymbolId id) { return symbols[id]; }
  // The symbol a name or name_def node stands for.
  SymbolId symbol_of(const Tree& tree, NodeId id) const { return id == kNone ? kNoSymbol : tree.node(id).b; }
  const DefinitionInfo* definition(NodeId id) const {
    auto found = definitions.find(id);
    return found == definitions.end() ? nullptr : &found->second;
  }
  std::optional<Construct> why_unwritable(NodeId statement) const {
    if (statement >= unwritable.size() || unwritable[statement] == Construct::none) return std::nullopt;
    return unwritable[statement];
  }
  // Forgets what is known of the nodes from `first` on, which the tree has released.
  void forget_nodes_from(NodeId first) {
    if (first < unwritable.size()) unwritable.resize(first);
    // The symbols those nodes declared came last, and their scopes are closed: nothing names them.
    while (symbols.size() > 1 && symbols.back().declaration >= first) symbols.pop_back();
    std::erase_if(definitions, [first](const auto& entry) { return entry.first >= first; });
    std::erase_if(helper_names, [first](const auto& entry) { return entry.first >= first; });
  }
  // Marks a statement that cannot be written; the first reason stays.
  void mark_unwritable(NodeId statement, Construct why) {
    if (statement >= unwritable.size()) unwritable.resize(statement + 1, Construct::none);
    if (unwritable[statement] == Construct::none) unwritable[statement] = why;
  }
};

}  // namespace vrk::occam2
