// The Handel-C writer's state and its functions, one per form it writes, shared by the files that
// implement them: write_program.cpp (the file, definitions, main), write_processes.cpp (bodies,
// declarations, SEQ, PAR, IF, CASE, WHILE, communication), write_alt.cpp (ALT), and
// write_expressions.cpp (expressions, names, literals, conversions). spelling.cpp holds the
// target's words: types, operators, literals, comments and banners.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "occam2/handelc/writer.h"
#include "occam2/resolve/resolver.h"

namespace vrk::occam2 {

// A Handel-C integer type: signed or unsigned, and its width; width 0 for "whatever the
// context makes it" (a constant), and for a type with no Handel-C counterpart.
struct HcType {
  bool is_signed = false;
  int width = 0;
  bool operator==(const HcType&) const = default;
  bool known() const { return width > 0; }
};

// "[4][5]" for an array type; `unknown` set when a size is not known.
std::string dimensions_of(const TypeTable& types, TypeId type, bool& unknown);

// ---- spelling.cpp
std::string type_spelling(HcType type);                       // "int 32", "unsigned 8"
std::string_view operator_text(Operator op);                  // "+", "==", "&&"
std::string number_text(std::int64_t value, HcType type, bool hexadecimal);
std::string character_text(unsigned char byte);               // 'a', '\n', 0x07
std::string comment_text(std::string_view text, int indent);  // each line as // ...
std::string banner_text(std::string_view what, std::string_view where);

// A statement's context: written among others in a block, or as one branch of a par.
enum class Context : std::uint8_t { block, branch };

class Writer {
 public:
  Writer(const Tree& tree, const Resolution& resolution, OutputBuffer& output, Diagnostics& diagnostics);

  // ---- write_program.cpp
  enum class Family : std::uint8_t { none, declaration, constant, definition, channel };
  void write_file(const Templates& templates);
  void begin_item(Family family);
  void outermost_item(NodeId item);
  void hoist(NodeId id);
  void proc_definition(NodeId id);
  void function_definition(NodeId id);
  void constant_definition(NodeId id);
  void table_definition(NodeId id);
  void program_channels();
  void main_body(const Templates& templates);
  void call_of_program();
  std::optional<std::string> ungivable(const Symbol& s, std::uint32_t at) const;
  std::vector<std::string> parameters(NodeId definition, NodeId formals);

  // ---- write_processes.cpp
  void body(NodeId list, Context context = Context::block);
  void group(const std::vector<NodeId>& specifications, NodeId process, Context context);
  bool declares_locally(NodeId specification) const;
  void local_declaration(NodeId specification);
  void local_initialisation(NodeId specification);
  void specification_banner(NodeId specification);
  void process(NodeId id, Context context = Context::block);
  int statement_count(NodeId id) const;
  int body_statement_count(NodeId list) const;
  void block(NodeId list);
  void seq(NodeId id, Context context);
  void replicated_seq(NodeId id);
  void par(NodeId id, Context context);
  void replicated_par(NodeId id);
  void if_process(NodeId id);
  void case_process(NodeId id);
  void while_process(NodeId id);
  void assignment(NodeId id);
  void multiple_assignment(NodeId id);
  void input(NodeId id);
  void output(NodeId id);
  void delayed_input(NodeId id);
  void call(NodeId id);
  void stop();
  void banner(NodeId at, std::string_view what, bool already_reported);
  void unwritable_statement(NodeId id, Construct why);
  // Writes the declarations the specifications in `items` need, for a construct that keeps them
  // in a block around itself (the choices of an IF, the options of a CASE, the alternatives of an
  // ALT); true when it opened that block.
  bool open_block_for_specifications(NodeId items);

  // ---- write_alt.cpp
  void alt(NodeId id);
  struct Alternative {
    NodeId condition;
    NodeId guard;
    NodeId body;
    NodeId replicator;   // the replicated ALT it comes from, or none
    std::int64_t index;  // and its index's value for this copy
  };
  void gather_alternatives(NodeId list, std::vector<Alternative>& into, bool& ok);
  void prialt(const std::vector<Alternative>& alternatives, std::uint32_t enabled, NodeId flag);
  void alternative_body(const Alternative& alternative, NodeId flag);

  // ---- write_expressions.cpp
  void expression(NodeId id, HcType wanted = {});
  void raw_expression(NodeId id);
  void element(NodeId id);
  void name(NodeId id);
  void index(NodeId index_node, std::int64_t size);
  void arguments(NodeId callee, NodeId list, bool function);
  void condition(NodeId id) { expression(id, {false, 1}); }
  HcType hc_type(TypeId type) const;
  HcType natural_type(NodeId id) const;
  void convert(NodeId id, HcType from, HcType to);
  std::string symbol_name(SymbolId symbol) const;
  std::optional<std::int64_t> constant(NodeId id) const { return constant_value(tree_, r_, id); }

  // ---- output
  void line(std::string_view text);
  void open(std::string_view head);   // head, then "{" on its own line; one level deeper
  void close(std::string_view tail = "");
  void write(std::string_view text) { out_.write(text); }
  void start_line();
  void end_line() { out_.write("\n"); }
  void comment(NodeId id);

  const Tree& tree_;
  const Resolution& r_;
  OutputBuffer& out_;
  Diagnostics& diagnostics_;
  int indent_ = 0;
  Family last_family_ = Family::none;
  std::vector<NodeId> pending_comments_;  // outermost comment lines, written before the next item
  long statements_ = 0;  // statements written so far: a block that gets none gets a delay
  NodeId definition_ = kNone;  // the PROC or FUNCTION being written
  std::unordered_set<SymbolId> parameters_;  // its free names, written as the parameters they became
  // The replicator indices written as constants in the copy being written (an unrolled IF or ALT).
  std::unordered_map<SymbolId, std::int64_t> constant_indices_;
  // The Handel-C types of the indices of the par and seq replicators being written.
  std::unordered_map<SymbolId, HcType> replicator_types_;
};

}  // namespace vrk::occam2
