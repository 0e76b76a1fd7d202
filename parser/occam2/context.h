// What the occam 2 mode's translation actions work on.
//
// Unlike the default mode's actions, which append to the Fragment list as the parse reaches each
// token, these build every construct's Handel-C text from the texts of its parts: each parse stack
// entry carries the text of its symbol. The finished program is assembled once, at the end, in
// the Fragment list: definitions (macro procs and macro exprs) before main, the rest inside it.
#pragma once

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

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

struct Entry {
  std::string text;                 // the symbol's Handel-C text
  std::string lead;                 // comment lines that stood before its first token
  std::vector<std::string> items;   // a list's elements; a chain's conditions; a type's dimensions
  std::vector<std::string> bodies;  // a chain's bodies, one per condition
  std::vector<Shape> shapes;        // a body's items: what each one is
  std::string note;                 // what an unsupported construct is called
  SourcePosition position;          // where its first token stands
  Shape shape = Shape::plain;
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
  void define(std::string_view text) { definitions += text; }

  Diagnostics& diagnostics;
  TemplateMerge& templates;
  std::string definitions;                     // the text before main
  std::string main_body;                       // the text inside main
  std::map<std::string, std::string> macros;   // macro expr name -> its text, to spot clashes
  std::map<std::string, long long> constants;  // VAL integer constants, for replicator bounds
  std::set<std::string> timers;                // names declared as TIMERs
  ProgramProc program_proc;
  bool outermost_process = false;              // the outermost level holds a process
};

struct Occam2Context {
  Occam2State& state;
  StackView<Entry>& view;
  std::string lead;  // the first symbol's comment lines; what an action leaves goes to the result

  Entry& rhs(int k) { return view.rhs(k); }
  Entry& result() { return view.result(); }
  // True when the rule's left-hand side stands at the outermost level of the program.
  bool at_outermost_level() const;
};

}  // namespace vrk::occam2
