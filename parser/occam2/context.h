// What the occam 2 mode's translation actions work on.
//
// Unlike the default mode's actions, which append to the Fragment list as the parse reaches each
// token, these build every construct's Handel-C text from the texts of its parts: each parse stack
// entry carries the text of its symbol. The finished program is assembled once, at the end, in
// the Fragment list: definitions (macro procs and macro exprs) before main, the rest inside it.
#pragma once

#include <cstdint>
#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "output/rope.h"
#include "support/blocks.h"
#include "output/templates.h"
#include "parser/engine.h"
#include "scanner/diagnostics.h"

namespace vrk::occam2 {

// What an entry's text is, where an enclosing construct treats kinds differently.
enum class Shape : unsigned char {
  plain,
  seq,          // a SEQ: braced when it stands directly in a PAR body
  statement,    // a simple process that already ends its own statement
  integer,      // a type: BOOL, BYTE, INT
  channel,      // a type: a channel
  unsupported,  // a type without Handel-C counterpart; `note` names it
};

// What an entry is, where that decides how an enclosing construct treats it: a construct without
// Handel-C counterpart (named by note_name), or an element given with a subscript.
enum class Note : std::uint8_t {
  none,
  subscripted,
  replicator_step,
  size,
  floating_point,
  timer,
  channel_end,
  int16,
  int32,
  int64,
  user_type,
  port,
  barrier,
  mobile,
  counted_protocol,
  several_results,
};

// The construct a note names, as a banner and a warning call it.
inline std::string_view note_name(Note note) {
  static constexpr std::string_view kNames[] = {
      "",      "subscripted", "replicator STEP",   "SIZE",     "floating point type", "TIMER",
      "CHAN TYPE end", "INT16", "INT32",           "INT64",    "user-defined type",  "PORT",
      "BARRIER", "MOBILE",    "counted array protocol", "FUNCTION with several results"};
  return kNames[static_cast<std::size_t>(note)];
}

// A list kept in the state's cells: the items of a body, a list's elements, the conditions and
// bodies of an IF chain, the labels and bodies of CASE options.
struct List {
  std::uint32_t head = Text::kNone;
  std::uint32_t tail = Text::kNone;
  std::uint32_t count = 0;
  bool empty() const { return count == 0; }
};

struct Cell {
  Text item;
  Text body;
  Shape shape = Shape::plain;
  std::uint32_t next = Text::kNone;
};

// Beside each parse state: the text of its symbol. Trivially copyable, so the parse stack moves
// it for nothing.
struct Entry {
  Text text;                 // the symbol's Handel-C text
  Text lead;                 // comment lines that stood before its first token
  List list;                 // a list's elements, or a chain's conditions and bodies
  SourcePosition position;   // where its first token stands
  Note note = Note::none;
  Shape shape = Shape::plain;
};
static_assert(sizeof(Entry) <= 48, "the parse stack copies an entry at every push");

// Bytes gathered in blocks, so that a text of any size grows without being copied.
class ByteChunks {
 public:
  void append(std::string_view bytes) {
    if (bytes.empty()) return;
    if (bytes.size() > left_) grow(bytes.size());
    char* end = free_;
    if (bytes.size() <= 16) {
      for (char c : bytes) *end++ = c;  // most pieces are a few bytes: cheaper than a call
    } else {
      std::memcpy(end, bytes.data(), bytes.size());
    }
    free_ += bytes.size();
    left_ -= bytes.size();
    chunks_.back().size += bytes.size();
  }
  void append(const Rope& rope, Text text) {
    rope.write(text, [this](std::string_view bytes) { append(bytes); });
  }
  template <class Sink>
  void write(Sink&& sink) const {
    for (const Chunk& chunk : chunks_) sink(std::string_view(chunk.bytes.get(), chunk.size));
  }

 private:
  struct Chunk {
    std::unique_ptr<char[], BlockRelease> bytes;
    std::size_t size;      // bytes written
    std::size_t capacity;
  };
  static constexpr std::size_t kFirstChunk = std::size_t{4} << 10;
  static constexpr std::size_t kLargestChunk = kHugePageBytes;
  void grow(std::size_t at_least) {
    std::size_t usual = chunks_.empty() ? kFirstChunk : std::min(chunks_.back().capacity * 2, kLargestChunk);
    std::size_t size = at_least > usual ? at_least : usual;
    chunks_.push_back({make_block(size), 0, size});
    free_ = chunks_.back().bytes.get();
    left_ = size;
  }
  std::vector<Chunk> chunks_;
  char* free_ = nullptr;
  std::size_t left_ = 0;
};

// The PROC that becomes the program when the outermost level holds only definitions.
struct ProgramProc {
  std::string name;
  std::vector<std::string> formals;
  std::vector<bool> channel_formal;
  SourcePosition position;
  bool defined = false;
};

// What the actions share for one translation.
class Occam2State {
 public:
  Occam2State(Diagnostics& diagnostics_in, TemplateMerge& templates_in) : diagnostics(diagnostics_in), templates(templates_in) {}

  // Adds a definition (macro proc or macro expr) to those placed before main, in source order.
  void define(Text text) { rope.append_to(definitions, text); }
  // Forgets every text and list, once none is held any more.
  void clear_texts() {
    rope.clear();
    cell_count_ = 0;
  }

  // Lists.
  Cell& cell(std::uint32_t index) { return cell_blocks_[index / kCellsPerBlock][index % kCellsPerBlock]; }
  void push(List& list, Text item, Text body = {}, Shape shape = Shape::plain) {
    if (cell_count_ % kCellsPerBlock == 0 && cell_count_ / kCellsPerBlock == cell_blocks_.size()) {
      cell_blocks_.push_back(std::make_unique_for_overwrite<Cell[]>(kCellsPerBlock));
    }
    std::uint32_t index = cell_count_++;
    cell(index) = {item, body, shape, Text::kNone};
    if (list.empty()) {
      list.head = index;
    } else {
      cell(list.tail).next = index;
    }
    list.tail = index;
    ++list.count;
  }
  // `more` after `list`; both are used up.
  List concat(List list, List more) {
    if (list.empty()) return more;
    if (more.empty()) return list;
    cell(list.tail).next = more.head;
    return {list.head, more.tail, list.count + more.count};
  }
  template <class F>
  void each(const List& list, F f) {
    std::uint32_t c = list.head;
    for (std::uint32_t i = 0; i < list.count; ++i, c = cell(c).next) f(cell(c));
  }

  Diagnostics& diagnostics;
  TemplateMerge& templates;
  Rope rope;                                   // every text of the translation
  std::string definitions;                     // the text before main
  ByteChunks main_body;                        // the text inside main, written as it is settled
  std::map<std::string, std::vector<std::string>> macros;  // macro expr name -> the texts written for it
  std::map<std::string, long long> constants;  // VAL integer constants, for replicator bounds
  std::set<std::string> timers;                // names declared as TIMERs
  ProgramProc program_proc;
  bool outermost_process = false;              // the outermost level holds a process
  std::size_t unrolled = 0;                    // bytes the replicated PARs have added so far

 private:
  // Cells live in blocks that never move, so that lists grow without copying them.
  static constexpr std::uint32_t kCellsPerBlock = 1u << 10;
  std::vector<std::unique_ptr<Cell[]>> cell_blocks_;
  std::uint32_t cell_count_ = 0;
};

struct Occam2Context {
  Occam2State& state;
  StackView<Entry>& view;
  Text lead;  // the first symbol's comment lines; what an action leaves goes to the result

  Entry& rhs(int k) { return view.rhs(k); }
  Entry& result() { return view.result(); }
  Rope& rope() { return state.rope; }
  // A text over static bytes, and over a copy of passing ones.
  Text lit(std::string_view bytes) { return state.rope.literal(bytes); }
  Text copy(std::string_view bytes) { return state.rope.copy(bytes); }
  Text join(Text a, Text b) { return state.rope.join(a, b); }
  Text join(Text a, std::string_view b) { return state.rope.join(a, b); }
  Text join(std::string_view a, Text b) { return state.rope.join(a, b); }
  template <class A, class B, class C>
  Text join(const A& a, const B& b, const C& c) {
    return join(join(a, b), c);
  }
  std::string str(Text text) const { return state.rope.str(text); }
  // True when the rule's left-hand side stands at the outermost level of the program.
  bool at_outermost_level() const;
};

}  // namespace vrk::occam2
