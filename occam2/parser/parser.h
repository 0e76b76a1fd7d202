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
#include "occam2/tree/tree.h"
#include "scanner/diagnostics.h"
#include "scanner/occam2_scanner.h"

namespace vrk::occam2 {

class Parser {
 public:
  Parser(Occam2Scanner& scanner, Tree& tree, Diagnostics& diagnostics);

  // Parses the whole source once; the tree's root is the program. Returns 0 when the parse
  // went to the end (with or without syntax errors it recovered from), 1 when it was abandoned.
  int parse();
  // Syntax errors reported by the engine and errors found while building.
  int error_count() const { return syntax_errors_ + builder_.error_count(); }

  // The token source.
  int next_token() { return scanner_.yylex(); }
  bool stopped() const { return scanner_.stopped(); }
  // The action sink.
  using Entry = occam2::Entry;
  bool reduce(int rule, StackView<Entry>& view);
  void pushed(StackView<Entry>& view);
  void syntax_error(std::string_view message);

 private:
  Place token_place();
  NodeId take_comments(Place place);
  void read_token(int code, Entry& entry, Place place);

  Occam2Scanner& scanner_;
  Tree& tree_;
  TreeBuilder builder_;
  int syntax_errors_ = 0;
};

}  // namespace vrk::occam2
