// The file: the templates, the standard library, the definitions at the outermost level in
// source order (each preceded by the constants and PROCs hoisted out of it), the program's
// channels, and main.
#include <algorithm>
#include <cstdio>

#include "occam2/handelc/writer_internal.h"

namespace vrk::occam2 {

bool write_handel_c(const Tree& tree, const Resolution& resolution, const Templates& templates, OutputBuffer& output,
                    Diagnostics& diagnostics) {
  HandelCWriter writer(tree, resolution, diagnostics);
  if (tree.root() != kNone) {
    for (NodeId item : tree.children(tree.node(tree.root()).a)) writer.outermost_item(item);
  }
  return writer.finish(templates, output);
}

HandelCWriter::HandelCWriter(const Tree& tree, const Resolution& resolution, Diagnostics& diagnostics)
    : writer_(std::make_unique<Writer>(tree, resolution, diagnostics)) {}
HandelCWriter::~HandelCWriter() = default;
void HandelCWriter::outermost_item(NodeId item, NodeId nodes_from) {
  writer_->hoist_scan_from_ = nodes_from;
  writer_->outermost_item(item);
  writer_->hoist_scan_from_ = kNone;
}
void HandelCWriter::streamed_item(NodeId item, NodeId nodes_from) {
  writer_->hoist_scan_from_ = nodes_from;
  writer_->streamed_item(item);
  writer_->hoist_scan_from_ = kNone;
}
void HandelCWriter::end_streamed_body() { writer_->end_streamed_body(); }
void HandelCWriter::forget_nodes_from(NodeId first) { writer_->forget_nodes_from(first); }
bool HandelCWriter::finish(const Templates& templates, OutputBuffer& output) { return writer_->finish(templates, output); }

Writer::Writer(const Tree& tree, const Resolution& resolution, Diagnostics& diagnostics)
    : tree_(tree), r_(resolution), diagnostics_(diagnostics) {}

TextChunks::~TextChunks() {
  if (file_ != nullptr) std::fclose(file_);
}

// The chunk being filled is full: it is closed, the text goes into new chunks, and past what is
// held in memory the closed chunks go to the temporary file first.
void TextChunks::write_in_new_chunk(std::string_view text) {
  while (!text.empty()) {
    if (left_ == 0) {
      close_chunk();
      if (held_ > kHeldInMemory && !failed_) spill();
      chunks_.push_back({take_chunk(), 0});
      free_ = chunks_.back().bytes.get();
      left_ = kChunk;
    }
    std::size_t part = text.size() < left_ ? text.size() : left_;
    std::memcpy(free_, text.data(), part);
    free_ += part;
    left_ -= part;
    text.remove_prefix(part);
  }
}

std::unique_ptr<char[]> TextChunks::take_chunk() {
  if (spare_.empty()) return std::make_unique_for_overwrite<char[]>(kChunk);
  std::unique_ptr<char[]> chunk = std::move(spare_.back());
  spare_.pop_back();
  return chunk;
}

void TextChunks::close_chunk() {
  if (chunks_.empty()) return;
  Chunk& last = chunks_.back();
  if (last.size == 0) {
    last.size = static_cast<std::size_t>(free_ - last.bytes.get());
    held_ += last.size;
  }
}

// The chunks so far go to the temporary file (made at the first spill) and memory is given back.
// Should the file fail, the text stays in memory.
void TextChunks::spill() {
  if (file_ == nullptr) file_ = std::tmpfile();
  if (file_ == nullptr) {
    failed_ = true;
    return;
  }
  for (const Chunk& chunk : chunks_) {
    if (std::fwrite(chunk.bytes.get(), 1, chunk.size, file_) != chunk.size) failed_ = true;
    spilled_ += chunk.size;
  }
  for (Chunk& chunk : chunks_) spare_.push_back(std::move(chunk.bytes));
  chunks_.clear();
  held_ = 0;
  left_ = 0;
}

namespace {
// Copies text to the output, `levels` deeper: that many tabs before each line; `line_start`
// carries over from one piece of text to the next.
void copy_indented(OutputBuffer& output, std::string_view text, std::size_t levels, bool& line_start) {
  static constexpr std::string_view kTabs = "\t\t\t\t\t\t\t\t";
  if (levels == 0) return output.write(text);
  while (!text.empty()) {
    if (line_start && text.front() != '\n') output.write(kTabs.substr(0, levels));
    std::size_t end = text.find('\n');
    std::size_t part = end == std::string_view::npos ? text.size() : end + 1;
    output.write(text.substr(0, part));
    line_start = end != std::string_view::npos;
    text.remove_prefix(part);
  }
}
}  // namespace

bool TextChunks::copy_to(OutputBuffer& output, std::size_t levels) {
  close_chunk();
  bool line_start = true;
  if (spilled_ > 0) {
    if (std::fflush(file_) != 0 || std::fseek(file_, 0, SEEK_SET) != 0) return false;
    std::string block(kChunk, '\0');
    for (std::size_t left = spilled_; left > 0;) {
      std::size_t got = std::fread(block.data(), 1, std::min(left, block.size()), file_);
      if (got == 0) return false;
      copy_indented(output, std::string_view(block.data(), got), levels, line_start);
      left -= got;
    }
  }
  for (const Chunk& chunk : chunks_) copy_indented(output, std::string_view(chunk.bytes.get(), chunk.size), levels, line_start);
  return !failed_;
}

namespace {
void write_ending_a_line(OutputBuffer& out, std::string_view text) {
  out.write(text);
  if (!text.empty() && text.back() != '\n') out.write("\n");
}
}  // namespace

void write_opening(const Templates& templates, OutputBuffer& output) {
  write_ending_a_line(output, templates.header);
  write_ending_a_line(output, templates.board);
}

// <header template><board template>
// #include <stdlib.hch>
// unsigned 32 vrk_clock;     (for a program that reads a TIMER)
// the definitions, the comment lines after the last, the program's channels, main
bool Writer::finish(const Templates& templates, OutputBuffer& output) {
  end_streamed_body();
  text_ = &definitions_;
  indent_ = 0;
  NodeId root = tree_.root();
  if (root != kNone && tree_.node(root).b != kNone) append_comment_text(pending_comments_, tree_.text(tree_.node(root).b), indent_);
  program_channels();
  begin_item(Family::definition);
  if (!r_.outermost_process && r_.program_proc != kNoSymbol) {
    text_ = &main_;
    indent_ = 1;
    call_of_program();
    indent_ = 0;
    text_ = &definitions_;
  }
  write_opening(templates, output);
  output.write("\n#include <stdlib.hch>\n\n");
  if (r_.uses_timer) {
    output.write("unsigned 32 " + std::string(tree_.names.spelling(r_.clock_name)) + ";\n");
    output.write("unsigned 1 " + std::string(tree_.names.spelling(r_.clock_stop_name)) + ";\n\n");
  }
  bool copied = definitions_.copy_to(output);
  return main_body(templates, output) && copied;
}

// Items of one family (declarations, constants, channels) follow each other directly; a blank line
// stands between families and around every definition. The comment lines before an item come
// right before it.
void Writer::begin_item(Family family) {
  if (last_family_ != Family::none && (family != last_family_ || family == Family::definition)) line("");
  last_family_ = family;
  write(pending_comments_);
  pending_comments_.clear();
}

// ---------------------------------------------------------------- the outermost level

// A process of the outermost level, or an INITIAL declaration's value there: main's statements.
void Writer::main_statements(NodeId item) {
  hoist(item);
  in_main([&] {
    if (tree_.kind(item) == Kind::initial_declaration) {
      local_initialisation(item);
    } else {
      process(item);
    }
  });
}

// The items of the body of an outermost SEQ, one by one: the declarations wait for the process
// they scope over, and the group goes into main's statements.
void Writer::streamed_item(NodeId item) {
  hoist(item);
  if (tree_.kind(item) == Kind::comment || is_declarative(tree_, item)) {
    streamed_.declaratives.push_back(item);
    return;
  }
  streamed_.process = item;
  write_streamed_group();
}

void Writer::end_streamed_body() {
  if (!streamed_.declaratives.empty()) write_streamed_group();
}

// The declarations and comments gathered from the streamed body, and its process (if any), into
// main's statements; the next group starts empty.
void Writer::write_streamed_group() {
  in_main([&] { group(streamed_, Context::block); });
  streamed_.declaratives.clear();
  streamed_.process = kNone;
}

void Writer::outermost_item(NodeId item) {
  if (!is_declarative(tree_, item) && tree_.kind(item) != Kind::comment) return main_statements(item);
  if (tree_.kind(item) == Kind::initial_declaration && !r_.why_unwritable(item)) main_statements(item);
  if (std::optional<Construct> why = r_.why_unwritable(item); why && tree_.kind(item) != Kind::proc_definition &&
                                                              tree_.kind(item) != Kind::function_definition) {
    switch (tree_.kind(item)) {
      case Kind::declaration: case Kind::val_abbreviation: case Kind::abbreviation: case Kind::initial_declaration:
      case Kind::unsupported: case Kind::missing_include: case Kind::protocol_definition: case Kind::data_type_definition:
        begin_item(Family::definition);
        unwritable_statement(item, *why);
        return;
      default: return;  // a process: main's
    }
  }
  switch (tree_.kind(item)) {
    case Kind::comment: append_comment_text(pending_comments_, tree_.text(item), indent_); return;
    case Kind::val_abbreviation: {
      SymbolId symbol = tree_.node(tree_.child(item, 1)).b;
      if (r_.symbol(symbol).kind == SymbolKind::table) return table_definition(item);
      return constant_definition(item);
    }
    case Kind::declaration:
    case Kind::initial_declaration:
      if (!declares_locally(item)) return;
      begin_item(Family::declaration);
      local_declaration(item);
      return;
    case Kind::proc_definition:
      hoist(tree_.child(item, 2));
      proc_definition(item);
      return;
    case Kind::function_definition:
      hoist(tree_.child(item, 3));
      function_definition(item);
      return;
    case Kind::missing_include:
      begin_item(Family::definition);
      declarative_banner(item);
      return;
    case Kind::unsupported:
      if (!is_declarative(tree_, item)) return;  // a process: main's
      begin_item(Family::definition);
      declarative_banner(item);
      return;
    default: return;  // abbreviations are written where they are used; processes are main's
  }
}

// Whether any node after hoist_scan_from_ is of a kind hoist() writes something for; true when
// that is not known. A flat pass over the nodes is much cheaper than the walk it saves.
bool Writer::may_hoist() const {
  if (hoist_scan_from_ == kNone) return true;
  constexpr std::uint64_t kHoisting = kind_bit(Kind::val_abbreviation) | kind_bit(Kind::proc_definition) |
                                      kind_bit(Kind::function_definition) | kind_bit(Kind::call) |
                                      kind_bit(Kind::function_call);
  return tree_.any_kind_from(hoist_scan_from_, kHoisting);
}

// Writes, before an outermost definition, what is hoisted out of it in source order: its
// constants and tables as macros and statics, and its nested PROCs and FUNCTIONs, lifted.
void Writer::hoist(NodeId id) {
  if (id == kNone || !may_hoist()) return;
  NodeId scan_from = std::exchange(hoist_scan_from_, kNone);  // known to hold something: walk it all
  hoist_below(id);
  hoist_scan_from_ = scan_from;
}

void Writer::hoist_below(NodeId id) {
  if (id == kNone) return;
  const Node& n = tree_.node(id);
  switch (n.kind) {
    case Kind::val_abbreviation: {
      if (r_.why_unwritable(id)) return;
      SymbolId symbol = tree_.node(tree_.child(id, 1)).b;
      if (r_.symbol(symbol).kind == SymbolKind::constant) constant_definition(id);
      if (r_.symbol(symbol).kind == SymbolKind::table) table_definition(id);
      return;
    }
    case Kind::proc_definition:
      hoist_below(tree_.child(id, 2));
      proc_definition(id);
      return;
    case Kind::function_definition:
      hoist_below(tree_.child(id, 3));
      function_definition(id);
      return;
    case Kind::call:
    case Kind::function_call:
      for (NodeId actual : tree_.children(n.b)) {
        auto table = r_.helper_names.find(actual);
        if (table != r_.helper_names.end()) table_definition(actual, table->second);
      }
      break;
    default: break;
  }
  switch (shape_of(n.kind)) {
    case Shape::leaf: return;
    case Shape::pair:
      hoist_below(n.a);
      hoist_below(n.b);
      return;
    case Shape::slots:
      for (NodeId child : tree_.children(id)) hoist_below(child);
      return;
  }
}

// VAL INT n IS 8:  ->  macro expr n = 8;
void Writer::constant_definition(NodeId id) {
  SymbolId symbol = tree_.node(tree_.child(id, 1)).b;
  NodeId value = tree_.child(id, 2);
  begin_item(Family::constant);
  start_line();
  write("macro expr " + symbol_name(symbol) + " = ");
  Kind kind = tree_.kind(value);
  bool simple = kind == Kind::number || kind == Kind::character || kind == Kind::boolean || kind == Kind::name;
  if (!simple) write("(");
  expression(value, hc_type(r_.symbol(symbol).type));
  if (!simple) write(")");
  write(";");
  end_line();
}

namespace {
// The elements of a table of constants, nested for tables of tables: {1, 2, 3}, {'a', 'b'}.
void write_table_elements(Writer& w, const Tree& tree, NodeId value, HcType element) {
  if (tree.kind(value) == Kind::typed_literal) value = tree.node(value).a;
  if (tree.kind(value) == Kind::string) {
    std::string_view text = tree.text(value);
    w.write("{");
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (i > 0) w.write(", ");
      w.write(character_text(static_cast<unsigned char>(text[i])));
    }
    w.write("}");
    return;
  }
  if (tree.kind(value) != Kind::table) {
    w.expression(value, element);
    return;
  }
  w.write("{");
  bool first = true;
  for (NodeId item : tree.children(tree.node(value).a)) {
    if (!first) w.write(", ");
    first = false;
    write_table_elements(w, tree, item, element);
  }
  w.write("}");
}
}  // namespace

// VAL []INT t IS [1, 2, 3]:  ->  static int 32 t[3] = {1, 2, 3};
void Writer::table_definition(NodeId id) {
  SymbolId symbol = tree_.node(tree_.child(id, 1)).b;
  table_definition(tree_.child(id, 2), r_.symbol(symbol).target, r_.symbol(symbol).type);
}

// p ("hi") with p (VAL []BYTE s)  ->  static unsigned 8 table[2] = {'h', 'i'}; ... p (table);
void Writer::table_definition(NodeId value, NameId name) { table_definition(value, name, tree_.node(value).type); }

void Writer::table_definition(NodeId value, NameId name, TypeId type) {
  std::string dimensions;
  for (TypeId t = type; r_.types.is_array(t); t = r_.types[t].element) {
    dimensions += "[" + std::to_string(r_.types[t].size) + "]";
  }
  HcType element = hc_type(r_.types.innermost(type));
  begin_item(Family::constant);
  start_line();
  write("static " + type_spelling(element) + " " + std::string(tree_.names.spelling(name)) + dimensions + " = ");
  write_table_elements(*this, tree_, value, element);
  write(";");
  end_line();
}

// The parameters of a PROC's or FUNCTION's macro: its formals but TIMERs (a TIMER is read from
// the clock counter), each open array formal followed by its size where SIZE is asked and by the
// width of its indices where it is indexed by a value known only at run time, then the free
// names of its body.
std::vector<std::string> Writer::parameters(NodeId definition, NodeId formals) {
  std::vector<std::string> names;
  for (NodeId formal : tree_.children(formals)) {
    SymbolId symbol = tree_.node(tree_.node(formal).b).b;
    const Symbol& s = r_.symbol(symbol);
    if (r_.types[r_.types.innermost(s.type)].kind == TypeKind::timer) continue;
    names.push_back(symbol_name(symbol));
    if (s.size_needed) names.emplace_back(tree_.names.spelling(s.helper));
    if (s.width_needed) names.emplace_back(tree_.names.spelling(s.width_helper));
  }
  if (const DefinitionInfo* info = r_.definition(definition)) {
    for (SymbolId free : info->free) names.push_back(symbol_name(free));
  }
  return names;
}

namespace {
std::string joined(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) {
    if (!text.empty()) text += ", ";
    text += name;
  }
  return text;
}
}  // namespace

// PROC p (CHAN INT in?, VAL INT n)  ->  macro proc p (in, n) { ... }
void Writer::proc_definition(NodeId id) {
  SymbolId symbol = tree_.node(tree_.child(id, 0)).b;
  NodeId outer_definition = std::exchange(definition_, id);
  std::unordered_set<SymbolId> outer_parameters = std::move(parameters_);
  parameters_.clear();
  if (const DefinitionInfo* info = r_.definition(id)) parameters_.insert(info->free.begin(), info->free.end());
  begin_item(Family::definition);
  line("macro proc " + symbol_name(symbol) + " (" + joined(parameters(id, tree_.child(id, 1))) + ")");
  line("{");
  ++indent_;
  block(tree_.child(id, 2));
  --indent_;
  line("}");
  definition_ = outer_definition;
  parameters_ = std::move(outer_parameters);
}

// INT FUNCTION f (VAL INT x) IS x * 2:  ->  macro expr f (x) = (x * 2);
// A FUNCTION with a VALOF body: an inline Handel-C function, or a macro expr when the body only
// computes its result.
void Writer::function_definition(NodeId id) {
  SymbolId symbol = tree_.node(tree_.child(id, 1)).b;
  const Symbol& s = r_.symbol(symbol);
  const DefinitionInfo* info = r_.definition(id);
  if (s.construct != Construct::none || (info && info->recursive)) {
    Construct why = s.construct != Construct::none ? s.construct : Construct::recursion;
    begin_item(Family::definition);
    banner(id, "occam " + std::string(construct_name(why)), false);
    return;
  }
  NodeId outer_definition = std::exchange(definition_, id);
  std::unordered_set<SymbolId> outer_parameters = std::move(parameters_);
  parameters_.clear();
  if (info) parameters_.insert(info->free.begin(), info->free.end());
  NodeId value = tree_.child(id, 3);
  // The VALOF, when the body is nothing else and it only computes its result.
  NodeId valof = kNone;
  if (tree_.kind(value) == Kind::list) {
    for (NodeId item : tree_.children(value)) {
      if (tree_.kind(item) == Kind::valof) valof = item;
    }
  }
  bool only_a_result = valof == kNone;
  if (valof != kNone) {
    bool declaratives_before = false;
    for (NodeId item : tree_.children(value)) {
      if (item != valof && declares_locally(item)) declaratives_before = true;
    }
    only_a_result = !declaratives_before && body_statement_count(tree_.node(valof).a) == 0 &&
                    tree_.child_count(tree_.node(valof).b) == 1;
  }
  if (only_a_result) {
    NodeId result = valof != kNone ? tree_.child(tree_.node(valof).b, 0) : tree_.child(value, 0);
    begin_item(Family::constant);
    start_line();
    write("macro expr " + symbol_name(symbol) + " (" + joined(parameters(id, tree_.child(id, 2))) + ") = (");
    expression(result, hc_type(s.type));
    write(");");
    end_line();
  } else {
    std::string head = "inline " + type_spelling(hc_type(s.type)) + " " + symbol_name(symbol) + " (";
    bool first = true;
    auto add = [&](SymbolId p) {
      if (!first) head += ", ";
      first = false;
      head += type_spelling(hc_type(r_.symbol(p).type)) + " " + symbol_name(p);
    };
    for (NodeId formal : tree_.children(tree_.child(id, 2))) add(tree_.node(tree_.node(formal).b).b);
    if (info) {
      for (SymbolId free : info->free) add(free);
    }
    begin_item(Family::definition);
    line(head + ")");
    line("{");
    ++indent_;
    block(value);
    --indent_;
    line("}");
  }
  definition_ = outer_definition;
  parameters_ = std::move(outer_parameters);
}

// ---------------------------------------------------------------- the program and main

namespace {
// How the program uses one of its channels: by the direction written on the formal or, without
// one, by what its body does with it.
Direction direction_of(const Symbol& s) {
  if (s.direction != Direction::none) return s.direction;
  if (s.used_for_input && !s.used_for_output) return Direction::input;
  if (s.used_for_output && !s.used_for_input) return Direction::output;
  return Direction::none;
}
}  // namespace

// What main can give the program PROC for a formal: a channel of a type with a Handel-C form
// (an array of them of constant size), a variable or array of constant size, a TIMER (nothing to
// give); or the reason it cannot.
std::optional<std::string> Writer::ungivable(const Symbol& s, std::uint32_t at) const {
  TypeId inner = r_.types.innermost(s.type);
  const Type& t = r_.types[inner];
  if (t.kind == TypeKind::timer) return std::nullopt;
  std::string name(tree_.names.spelling(s.name));
  bool sized = true;
  for (TypeId type = s.type; r_.types.is_array(type); type = r_.types[type].element) {
    if (r_.types[type].size == kUnknownSize) sized = false;
  }
  if (t.kind == TypeKind::channel) {
    if (!hc_type(t.element).known()) return "occam channel " + name + " of a type without Handel-C form, a parameter of the program,";
    if (r_.types.is_array(s.type) && r_.program_channel_elements[at].empty()) {
      return "occam " + std::string(construct_name(Construct::channel_array_formal)) + " " + name;
    }
    return std::nullopt;
  }
  if (!hc_type(inner).known() || !sized) {
    return "occam " + std::string(construct_name(Construct::program_parameter)) + " " + name;
  }
  return std::nullopt;
}

// What main gives the program PROC, at the outermost level:
//   chanin int 32 in with {infile = "in.dat"};
//   chanout unsigned 8 scr with {outfile = "scr.dat"};
// An array of channels is an array of Handel-C channels, each element joined to a chanin or
// chanout of its own (its file "c.0.dat", ...) by a process beside the program. A formal that is
// no channel is a variable at the outermost level, which nothing outside the program sets.
void Writer::program_channels() {
  if (r_.outermost_process || r_.program_proc == kNoSymbol) return;
  NodeId formals = tree_.child(r_.symbol(r_.program_proc).definition, 1);
  std::uint32_t at = 0;
  for (NodeId formal : tree_.children(formals)) {
    if (ungivable(r_.symbol(tree_.node(tree_.node(formal).b).b), at++)) return;
  }
  at = 0;
  for (NodeId formal : tree_.children(formals)) {
    NameId global = r_.program_channels[at];
    const std::vector<NameId>& elements = r_.program_channel_elements[at];
    ++at;
    const Symbol& s = r_.symbol(tree_.node(tree_.node(formal).b).b);
    TypeId inner = r_.types.innermost(s.type);
    if (r_.types[inner].kind == TypeKind::timer) continue;
    std::string name(tree_.names.spelling(global));
    begin_item(Family::channel);
    if (r_.types[inner].kind != TypeKind::channel) {
      bool unknown = false;
      line(type_spelling(hc_type(inner)) + " " + name + dimensions_of(r_.types, s.type, unknown) + ";");
      Location where = tree_.locate(formal);
      diagnostics_.warning_in(tree_.places.file_name(where.file),
                              {static_cast<int>(where.line), static_cast<int>(where.column)},
                              "the program's parameter '" + std::string(tree_.names.spelling(s.name)) +
                                  "' is no channel: main gives it a variable that nothing outside the program sets");
      continue;
    }
    std::string file(tree_.names.spelling(s.name));
    Direction direction = direction_of(s);
    HcType carried = hc_type(r_.types[inner].element);
    auto declare = [&](const std::string& channel, const std::string& file_name) {
      if (direction == Direction::input) {
        line("chanin " + type_spelling(carried) + " " + channel + " with {infile = \"" + file_name + ".dat\"};");
      } else if (direction == Direction::output) {
        line("chanout " + type_spelling(carried) + " " + channel + " with {outfile = \"" + file_name + ".dat\"};");
      } else {
        line("chan " + type_spelling(carried) + " " + channel + ";");
      }
    };
    if (!r_.types.is_array(s.type)) {
      declare(name, file);
      continue;
    }
    line("chan " + type_spelling(carried) + " " + name + "[" + std::to_string(elements.size()) + "];");
    for (std::size_t k = 0; k < elements.size(); ++k) {
      declare(std::string(tree_.names.spelling(elements[k])), file + "." + std::to_string(k));
    }
  }
}

// main: the outermost processes, or the call of the program PROC; beside them, for a program that
// reads a TIMER, the clock counter, which stops once the program has ended:
//   par { while (!vrk_done) vrk_clock = vrk_clock + 1; seq { ...; vrk_done = 1; } }
bool Writer::main_body(const Templates& templates, OutputBuffer& output) {
  write_ending_a_line(output, templates.main_opening);
  if (!r_.uses_timer) {
    if (main_.empty()) output.write("\tdelay;\n");
    bool copied = main_.copy_to(output);
    output.write("}\n");
    return copied;
  }
  std::string clock(tree_.names.spelling(r_.clock_name));
  std::string stop(tree_.names.spelling(r_.clock_stop_name));
  output.write("\tpar\n\t{\n\t\twhile (!" + stop + ")\n\t\t{\n\t\t\t" + clock + " = " + clock + " + 1;\n\t\t}\n");
  output.write("\t\tseq\n\t\t{\n");
  bool copied = main_.copy_to(output, 2);
  output.write("\t\t\t" + stop + " = 1;\n\t\t}\n\t}\n}\n");
  return copied;
}

// main_ (kyb, scr);  — the program PROC with its channels, and beside it the processes that join
// the elements of its arrays of channels to their chanins and chanouts:
//   { int 32 value; while (1) { in_0 ? value; in_[0] ! value; } }
// A formal that is no channel has no counterpart outside the program.
void Writer::call_of_program() {
  const Symbol& proc = r_.symbol(r_.program_proc);
  NodeId formals = tree_.child(proc.definition, 1);
  std::vector<std::string> arguments;
  struct Forwarder {
    std::string declaration, from, to;
  };
  std::vector<Forwarder> forwarders;
  std::string value(r_.forwarded_name != 0 ? tree_.names.spelling(r_.forwarded_name) : "");
  std::uint32_t i = 0;
  for (NodeId formal : tree_.children(formals)) {
    if (std::optional<std::string> why = ungivable(r_.symbol(tree_.node(tree_.node(formal).b).b), i++)) {
      banner(formal, *why, false);
      return;
    }
  }
  i = 0;
  for (NodeId formal : tree_.children(formals)) {
    std::uint32_t at = i++;
    SymbolId symbol = tree_.node(tree_.node(formal).b).b;
    const Symbol& s = r_.symbol(symbol);
    NameId global = r_.program_channels[at];
    TypeId inner = r_.types.innermost(s.type);
    if (r_.types[inner].kind == TypeKind::timer) continue;
    std::string array(tree_.names.spelling(global));
    arguments.push_back(array);
    if (!r_.types.is_array(s.type) || r_.types[inner].kind != TypeKind::channel) continue;
    const std::vector<NameId>& elements = r_.program_channel_elements[at];
    std::string declaration = type_spelling(hc_type(r_.types[r_.types[s.type].element].element)) + " " + value + ";";
    bool in = direction_of(s) == Direction::input;
    for (std::size_t k = 0; k < elements.size(); ++k) {
      std::string element = array + "[" + std::to_string(k) + "]";
      std::string outside(tree_.names.spelling(elements[k]));
      forwarders.push_back({declaration, in ? outside : element, in ? element : outside});
    }
  }
  if (!forwarders.empty()) open("par");
  for (const Forwarder& forwarder : forwarders) {
    open("");
    line(forwarder.declaration);
    line("");
    open("while (1)");
    line(forwarder.from + " ? " + value + ";");
    line(forwarder.to + " ! " + value + ";");
    close();
    close();
  }
  line(symbol_name(r_.program_proc) + " (" + joined(arguments) + ");");
  if (!forwarders.empty()) close();
  ++statements_;
}

// ---------------------------------------------------------------- output

// A tab a level.
void Writer::start_line() {
  auto left = static_cast<std::size_t>(indent_);
  for (; left > TextChunks::kMostTabs; left -= TextChunks::kMostTabs) text_->tabs(TextChunks::kMostTabs);
  text_->tabs(left);
}

void Writer::line(std::string_view text) {
  if (!text.empty()) start_line();
  write(text);
  end_line();
}

void Writer::open(std::string_view head) {
  if (!head.empty()) line(head);
  line("{");
  ++indent_;
}

void Writer::close(std::string_view tail) {
  --indent_;
  start_line();
  text_->put('}');
  write(tail);
  end_line();
}

void Writer::comment(NodeId id) {
  scratch_.clear();
  append_comment_text(scratch_, tree_.text(id), indent_);
  write(scratch_);
}

}  // namespace vrk::occam2
