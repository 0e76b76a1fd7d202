// The Handel-C writer's state and its functions, one per form it writes, shared by the files that
// implement them: write_program.cpp (the file, definitions, main), write_processes.cpp (bodies,
// declarations, SEQ, PAR, IF, CASE, WHILE, communication), write_alt.cpp (ALT), and
// write_expressions.cpp (expressions, names, literals, conversions). spelling.cpp holds the
// target's words: types, operators, literals, comments and banners.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
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
void append_comment_text(std::string& out, std::string_view text, int indent);  // each line as // ...
std::string banner_text(std::string_view what, std::string_view where);

// A statement's context: written among others in a block, or as one branch of a par.
enum class Context : std::uint8_t { block, branch };

// A group of a body: the declarations (and comment lines) before a process, and that process
// (none for declarations at the end of the body).
struct Group {
  std::vector<NodeId> declaratives;
  NodeId process = kNone;
};

// Text gathered in chunks that never move, so that a translation of any size is held without being
// copied as it grows; past kHeldInMemory bytes the chunks go to an unlinked temporary file, so
// that the memory a translation takes does not grow with its output.
class TextChunks {
 public:
  TextChunks() = default;
  ~TextChunks();
  TextChunks(const TextChunks&) = delete;
  TextChunks& operator=(const TextChunks&) = delete;

  void write(std::string_view text) {
    if (text.empty()) return;  // nothing to copy, and no chunk yet to copy into
    if (text.size() <= left_) {
      std::memcpy(free_, text.data(), text.size());
      free_ += text.size();
      left_ -= text.size();
      return;
    }
    write_in_new_chunk(text);
  }
  // One character, and up to kMostTabs tabs: the ends and starts of lines, written without a copy
  // of a string.
  void put(char c) {
    if (left_ == 0) return write_in_new_chunk(std::string_view(&c, 1));
    *free_++ = c;
    --left_;
  }
  static constexpr std::size_t kMostTabs = 16;
  void tabs(std::size_t count) {
    static constexpr char kTabs[kMostTabs] = {'\t', '\t', '\t', '\t', '\t', '\t', '\t', '\t',
                                             '\t', '\t', '\t', '\t', '\t', '\t', '\t', '\t'};
    if (count > kMostTabs || left_ < kMostTabs) return write(std::string_view(kTabs, count < kMostTabs ? count : kMostTabs));
    std::memcpy(free_, kTabs, kMostTabs);  // a fixed size: the bytes past `count` are overwritten later
    free_ += count;
    left_ -= count;
  }
  // Writes everything to `output`, `levels` more tabs at the head of every line; false when the
  // temporary file could not be written or read back (errno tells why).
  bool copy_to(OutputBuffer& output, std::size_t levels = 0);
  bool empty() const { return chunks_.empty() && spilled_ == 0; }

 private:
  static constexpr std::size_t kChunk = std::size_t{64} << 10;
  static constexpr std::size_t kHeldInMemory = std::size_t{1} << 20;
  struct Chunk {
    std::unique_ptr<char[]> bytes;
    std::size_t size;
  };
  void write_in_new_chunk(std::string_view text);
  std::unique_ptr<char[]> take_chunk();
  void close_chunk();
  void spill();
  std::vector<Chunk> chunks_;  // the last one is being filled: its size is set when it is closed
  // Chunks written to the file, filled again: memory once touched is not given back to be touched
  // anew at every spill.
  std::vector<std::unique_ptr<char[]>> spare_;
  char* free_ = nullptr;
  std::size_t left_ = 0;
  std::size_t held_ = 0;     // bytes in the closed chunks
  std::size_t spilled_ = 0;  // bytes in the temporary file
  std::FILE* file_ = nullptr;
  bool failed_ = false;
};

class Writer {
 public:
  Writer(const Tree& tree, const Resolution& resolution, Diagnostics& diagnostics);

  // ---- write_program.cpp
  enum class Family : std::uint8_t { none, declaration, constant, definition, channel };
  bool finish(const Templates& templates, OutputBuffer& output);
  void begin_item(Family family);
  void outermost_item(NodeId item);
  void streamed_item(NodeId item);
  void end_streamed_body();
  void main_statements(NodeId item);
  // Runs `write` with main's statements as the text written to, a level deep.
  template <typename Write>
  void in_main(Write write) {
    TextChunks* outer = std::exchange(text_, &main_);
    indent_ = 1;
    write();
    indent_ = 0;
    text_ = outer;
  }
  void write_streamed_group();
  void hoist(NodeId id);
  void hoist_below(NodeId id);
  bool may_hoist() const;
  void proc_definition(NodeId id);
  void function_definition(NodeId id);
  void constant_definition(NodeId id);
  void table_definition(NodeId id);
  void table_definition(NodeId value, NameId name);
  void table_definition(NodeId value, NameId name, TypeId type);
  void program_channels();
  bool main_body(const Templates& templates, OutputBuffer& output);
  void call_of_program();
  std::optional<std::string> ungivable(const Symbol& s, std::uint32_t at) const;
  std::vector<std::string> parameters(NodeId definition, NodeId formals);

  // ---- write_processes.cpp
  void body(NodeId list, Context context = Context::block);
  void group(const Group& g, Context context);
  bool group_declaratives(const Group& g);
  bool declares_locally(NodeId declarative) const;
  bool declares_locally(const Group& g) const;
  bool needs_banner(NodeId declarative) const;
  void initialisations(const Group& g);
  void local_declaration(NodeId declarative);
  void local_initialisation(NodeId declarative);
  void declarative_banner(NodeId declarative);
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
  // Writes the declarations the declarations in `items` need, for a construct that keeps them
  // in a block around itself (the choices of an IF, the options of a CASE, the alternatives of an
  // ALT); true when it opened that block.
  bool open_block_for_declaratives(NodeId items);

  // ---- write_alt.cpp
  void alt(NodeId id);
  struct Alternative {
    NodeId condition;
    NodeId guard;
    NodeId body;
    NodeId replicator;   // the replicated ALT it comes from, or none
    std::int64_t index;  // and its index's value for this copy
    NodeId comment = kNone;  // comment lines that stood before it
  };
  void gather_alternatives(NodeId list, std::vector<Alternative>& into, bool& ok);
  void gather_alt(NodeId alt, std::vector<Alternative>& into, bool& ok);
  void prialt(const std::vector<Alternative>& alternatives, std::uint32_t enabled, NodeId flag);
  void alternative_body(const Alternative& alternative, NodeId flag);

  // ---- write_expressions.cpp
  void expression(NodeId id, HcType wanted = {});
  void raw_expression(NodeId id);
  void write_operator(Operator op);
  void operand_at(NodeId id, HcType wanted);
  void element(NodeId id);
  void name(NodeId id);
  void index(NodeId index_node, std::int64_t size);
  void arguments(NodeId callee, NodeId list, bool function);
  void condition(NodeId id) { expression(id, {false, 1}); }
  // Inline: asked of nearly every node written.
  HcType hc_type(TypeId type) const {
    const Type& t = r_.types[type];
    if (t.kind != TypeKind::primitive) return {};
    switch (t.primitive) {
      case Primitive::bool_: return {false, 1};
      case Primitive::byte: return {false, 8};
      case Primitive::int16: return {true, 16};
      case Primitive::int_: case Primitive::int32: return {true, 32};
      case Primitive::int64: return {true, 64};
      default: return {};
    }
  }
  HcType natural_type(NodeId id) const;
  void convert(NodeId id, HcType from, HcType to);
  void conversion_start(HcType from, HcType to);
  void conversion_end(HcType from, HcType to);
  void write_count(long long count);  // a number in decimal
  std::string symbol_name(SymbolId symbol) const;
  std::string_view symbol_spelling(SymbolId symbol) const;  // the same, without a copy
  // An expression's value when it is constant; kept per node, as the forms of a nested expression
  // ask of each of its operands.
  std::optional<std::int64_t> constant(NodeId id) const;

  // ---- output
  void line(std::string_view text);
  void open(std::string_view head);   // head, then "{" on its own line; one level deeper
  void close(std::string_view tail = "");
  void write(std::string_view text) { text_->write(text); }
  void start_line();
  void end_line() { text_->put('\n'); }
  void comment(NodeId id);
  void forget_nodes_from(NodeId first) {
    if (first < counts_.size()) counts_.resize(first);
    if (first < constants_.size()) constants_.resize(first);
  }

  const Tree& tree_;
  const Resolution& r_;
  Diagnostics& diagnostics_;
  TextChunks definitions_;   // what stands between the standard library and the program's channels
  TextChunks main_;          // main's statements, one level in
  TextChunks* text_ = &definitions_;
  Group streamed_;           // the declarations of a streamed body waiting for their process
  int indent_ = 0;
  Family last_family_ = Family::none;
  // Outermost comment lines, already spelt, written before the next item: their nodes may be
  // released before it comes (a comment before an outermost process waits for the next definition).
  std::string pending_comments_;
  long statements_ = 0;  // statements written so far: a block that gets none gets a delay
  mutable std::vector<std::int8_t> counts_;  // statement_count per node, -1 until asked
  struct KnownConstant {
    enum class State : std::uint8_t { unasked, not_constant, constant } state = State::unasked;
    std::int64_t value = 0;
  };
  mutable std::vector<KnownConstant> constants_;  // constant() per node
  std::string scratch_;  // text made before it is written, kept to save allocations
  NodeId hoist_scan_from_ = kNone;  // the item being written has no node before this one (none: not known)
  NodeId definition_ = kNone;  // the PROC or FUNCTION being written
  std::unordered_set<SymbolId> parameters_;  // its free names, written as the parameters they became
  // The replicator indices written as constants in the copy being written (an unrolled IF or ALT).
  std::unordered_map<SymbolId, std::int64_t> constant_indices_;
  // The Handel-C types of the indices of the par and seq replicators being written.
  std::unordered_map<SymbolId, HcType> replicator_types_;
};

}  // namespace vrk::occam2
