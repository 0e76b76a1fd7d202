// The occam 2 parser: the parse engine over the occam 2 scanner's tokens, with the occam 2
// grammar's tables and actions, building the program's tree.
//
// It is the engine's token source and action sink. pushed() gives each token's stack entry its
// place, the comment lines before it, and for names, literals, operators and type words what the
// token says (a leaf node, or an Operator or Primitive in the entry's detail). reduce() runs the
// rule's action, which makes the left-hand side's node from the right-hand side's entries.
#pragma once

#include <string_view>
#include <vector>

#include "occam2/parser/context.h"
#include "occam2/scanner/scanner.h"
#include "occam2/tree/tree.h"
#include "scanner/diagnostics.h"

namespace vrk::occam2 {

// Takes the items of a program as they are settled, once nothing later can change them: each item
// of the outermost level, and each item of the body of a SEQ that stands at the outermost level,
// comment lines included. They are not kept in the program's lists: the taker decides what to keep.
class SettledItems {
 public:
  enum class Level { outermost, outermost_seq };
  virtual ~SettledItems() = default;
  virtual void settled(NodeId item, Level level) = 0;
};

class Parser {
 public:
  // With `settled`, the items described there go to it as they are settled; without, the tree
  // holds the whole program.
  Parser(Occam2Scanner& scanner, Tree& tree, Diagnostics& diagnostics, SettledItems* settled = nullptr);

  // Parses the whole source once; the tree's root is the program. Returns 0 when the parse
  // went to the end (with or without syntax errors it recovered from), 1 when it was abandoned.
  int parse();
  // Syntax errors reported by the engine and errors found while building.
  int error_count() const { return syntax_errors_ + builder_.error_count(); }
  // Where the body of a PROC or FUNCTION definition began, so that it may be released once the
  // definition has been settled and written.
  TreeMark body_start(NodeId definition) const { return builder_.body_start(definition); }

  // The token source.
  int next_token() { return scanner_.yylex(); }
  bool stopped() const { return scanner_.stopped(); }
  // The action sink.
  using Entry = occam2::Entry;
  bool reduce(int rule, StackView<Entry>& view);
  bool keeps_first_symbol(int rule) const;
  void pushed(StackView<Entry>& view);
  void syntax_error(std::string_view message);

 private:
  Place token_place();
  void add_files_to(std::uint32_t file);
  NodeId take_comments(Place place);
  NodeId comment_node(Place place);
  void read_token(int code, Entry& entry, Place place);
  bool settle(int rule, StackView<Entry>& view);
  NodeId comments_of_right_side(StackView<Entry>& view, int length);

  Occam2Scanner& scanner_;
  Tree& tree_;
  TreeBuilder builder_;
  SettledItems* settled_;
  int syntax_errors_ = 0;
  // No entry of the parse stack above this index holds comment lines (entries may be popped or
  // have their comments taken below it: it is a bound, lowered as reductions show it may be).
  int comment_mark_ = -1;
};

}  // namespace vrk::occam2
