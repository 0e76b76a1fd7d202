// The resolver's pass over the tree, shared by the files that implement it: resolver.cpp (scopes,
// declarations, processes), typing.cpp (expressions and their types), target_names.cpp (the
// unique Handel-C names).
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "occam2/resolve/resolver.h"

namespace vrk::occam2 {

enum class Message : std::uint8_t {
#define VRK_MESSAGE(code, text) code,
#include "occam2/resolve/messages.def"
#undef VRK_MESSAGE
};

// How an element is used, which decides what it must be.
enum class Use : std::uint8_t { read, assign, input, output, channel_argument };

class ResolverPass {
 public:
  ResolverPass(Tree& tree, Diagnostics& diagnostics, Resolution& resolution);
  void outermost_item(NodeId item);
  void begin_streamed_body();
  void streamed_item(NodeId item);
  void end_streamed_body();

  // ---- scopes (resolver.cpp)
  // Where the scopes stood: the bindings of names, and the local Handel-C names in sight.
  struct ScopeMark {
    std::size_t bindings = 0;
    std::size_t names = 0;
  };
  SymbolId declare(NodeId name_def, SymbolKind kind, TypeId type, NodeId definition);
  SymbolId lookup(NameId name) const { return name < binding_.size() ? binding_[name] : kNoSymbol; }
  ScopeMark scope_mark() const { return {undo_.size(), visible_log_.size()}; }
  // Closes the scopes opened since `mark`: their names are no more bound, and their Handel-C
  // names free again; close_bindings leaves the Handel-C names taken (for the declarations of
  // a construct's parts, which are declared in one block around it).
  void close_scopes(ScopeMark mark);
  void close_bindings(ScopeMark mark);
  // Whether a declaration here is written at the outermost level of the translation.
  bool written_at_outermost_level(SymbolKind kind) const;

  // ---- the walk (resolver.cpp)
  void body(NodeId list);
  void declarative(NodeId id);
  void process(NodeId id);
  void statement(NodeId id);
  void proc_definition(NodeId id);
  void function_definition(NodeId id);
  void formals(NodeId list, NodeId definition);
  void replicator(NodeId id);
  void choices(NodeId list);
  void alternatives(NodeId list);
  void options(NodeId list, TypeId selector);
  void declaration(NodeId id);
  void val_abbreviation(NodeId id);
  void abbreviation(NodeId id);
  void initial_declaration(NodeId id);
  void protocol_definition(NodeId id);
  void data_type_definition(NodeId id);
  void unsupported_declarative(NodeId id);
  void assignment(NodeId id);
  void multiple_assignment(NodeId id);
  void input(NodeId id);
  void output(NodeId id);
  void call(NodeId id);
  void delayed_input(NodeId id);
  std::string_view channel_name(NodeId element_node) const;
  Construct why_function_unwritable(NodeId id) const;

  // ---- expressions (typing.cpp)
  TypeId type_of(NodeId type_node);
  // Resolves an expression and gives it (and its untyped literals) a type, `expected` when the
  // context fixes one.
  TypeId expression(NodeId id, TypeId expected = TypeTable::kUnknown);
  TypeId element(NodeId id, Use use);
  void condition(NodeId id);
  void integer_expression(NodeId id);
  TypeId name_reference(NodeId id, Use use);
  void arguments(NodeId callee, SymbolId symbol, NodeId list, bool function);
  bool compatible(TypeId a, TypeId b) const;
  void settle_literal_types(NodeId id, TypeId type);
  void check_number_range(NodeId id);
  TypeId unify(NodeId at, std::string_view what, TypeId a, TypeId b, NodeId left, NodeId right);
  void note_channel_use(NodeId element, Use use);
  void need_size_of(NodeId element_node);
  void need_index_width_of(NodeId element_node);
  bool is_table_literal(NodeId id) const;
  bool table_of_constants(NodeId id) const;
  // Operators applied to operands a FUNCTION named by the operator takes: calls of it.
  SymbolId operator_functions(Operator op);
  TypeId operator_expression(NodeId id, Operator op, SymbolId functions, const std::vector<NodeId>& operands);
  SymbolId matching_operator_function(SymbolId functions, const std::vector<TypeId>& operand_types, bool exact) const;
  bool predefined_operator_takes(Operator op, const std::vector<TypeId>& types) const;
  void call_operator_function(NodeId id, SymbolId function, const std::vector<NodeId>& operands);
  void named_type_conversion(NodeId id);
  TypeId predefined_operator_type(NodeId id, Operator op, const std::vector<NodeId>& operands,
                                  const std::vector<TypeId>& types);
  void check_condition_type(NodeId id, TypeId type);
  void pass_free_names(NodeId definition);
  TypeId valof_expression(NodeId id);

  // ---- names for Handel-C (target_names.cpp)
  NameId unique_name(const std::string& base, bool global);
  bool name_taken(std::string_view name) const;
  // Whether a global has a Handel-C name, and how many local names in sight have it.
  struct NameUse {
    bool global = false;
    unsigned visible = 0;
  };
  NameUse& name_use(NameId name);
  NameId target_name(NameId occam_name, bool global);
  void release_names(std::size_t mark);
  NameId fresh_global_name(std::string_view base);
  // A local name made of `base` (a Handel-C name) and `suffix`, for a variable the writer adds.
  NameId helper_name(NameId base, std::string_view suffix);
  void name_program_channels();
  bool waits_for_time(NodeId alternatives) const;

  // ---- messages
  void report(NodeId at, Message message, std::initializer_list<std::string_view> words = {});
  void mark_unwritable(Construct why);

  Tree& tree;
  Diagnostics& diagnostics;
  Resolution& r;

 private:
  struct Undo {
    NameId name;
    SymbolId previous;
  };
  std::vector<SymbolId> binding_;         // by NameId: the innermost declaration in scope
  std::vector<Undo> undo_;
 public:
  std::vector<NodeId> definitions_;       // the PROCs and FUNCTIONs being resolved, innermost last
  std::vector<NodeId> defining_;          // their name_defs: a use of one of these is a call of itself
  NodeId statement_ = kNone;              // the statement a banner would replace
  bool table_allowed_ = false;            // a table or string may stand here (a VAL's value)
  ScopeMark streamed_mark_;               // the scopes open where a streamed body begins
  std::vector<NameUse> name_uses_;  // by the NameId of a Handel-C name
  std::unordered_map<std::string, unsigned> global_suffixes_;  // the last number each global base got
  std::vector<NameId> visible_log_;                            // local names in the order given
  std::vector<std::string> handel_c_bases_;                    // by occam NameId: its Handel-C spelling, once made
  std::vector<NameId> operator_names_ = std::vector<NameId>(256, Names::kNotInterned);  // by Operator: its FUNCTIONs' name, once interned
  int process_depth_ = 0;                                      // processes being resolved
  bool streaming_ = false;                                     // in the streamed body of an outermost SEQ
};

}  // namespace vrk::occam2
