#include "occam2/parser/parser.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <utility>

#include "occam2/parser/actions.h"
#include "occam2/parser/generated_tables.h"
#include "occam2/scanner/literals.h"
#include "occam2/scanner/tokens.h"

namespace vrk::occam2 {

namespace {

// The lists whose items may be settled as they are reduced: the outermost level's, and those of
// bodies (an outermost SEQ's is told apart by what lies below it on the stack).
bool is_list_of_items(int symbol) { return symbol == symbol::items || symbol == symbol::outermost_items; }

// The value of a decimal or #hexadecimal number; false when it does not fit 64 bits.
bool number_value(std::string_view lexeme, std::uint64_t& value, bool& hexadecimal) {
  hexadecimal = lexeme.starts_with('#');
  if (hexadecimal) lexeme.remove_prefix(1);
  value = 0;
  auto [end, error] = std::from_chars(lexeme.data(), lexeme.data() + lexeme.size(), value, hexadecimal ? 16 : 10);
  return error == std::errc() && end == lexeme.data() + lexeme.size();
}

// The byte a character literal stands for, quotes included as scanned.
unsigned char character_value(std::string_view lexeme) {
  if (lexeme.size() < 2) return 0;
  std::string as_string = "\"";
  as_string += lexeme.substr(1, lexeme.size() - 2);
  as_string += '"';
  std::string bytes = string_value(as_string);
  return bytes.empty() ? 0 : static_cast<unsigned char>(bytes[0]);
}

constexpr std::string_view kPrimitiveWords[] = {"BOOL", "BYTE", "INT", "INT16", "INT32", "INT64", "REAL32", "REAL64"};

}  // namespace

Parser::Parser(Occam2Scanner& scanner, Tree& tree, Diagnostics& diagnostics, SettledItems* settled)
    : scanner_(scanner), tree_(tree), builder_(tree, diagnostics), settled_(settled) {}

int Parser::parse() {
  Engine<Parser, Parser> engine(tables::kTables, *this, *this);
  int result = engine.yyparse();
  syntax_errors_ = engine.yynerrs;
  NodeId root = tree_.root();
  if (root != kNone) {
    NodeId trailing = take_comments(token_place());
    tree_.node(root).b = builder_.join_comments(tree_.node(root).b, trailing);
  }
  return result;
}

// Asked at every token: kept inline in the parse loop, the files met anew out of it.
[[gnu::always_inline]] inline Place Parser::token_place() {
  auto file = static_cast<std::uint32_t>(scanner_.token_file());
  if (file >= tree_.places.file_count()) [[unlikely]] add_files_to(file);
  SourcePosition position = scanner_.token_position();
  return tree_.places.at(file, static_cast<std::uint32_t>(position.line), static_cast<std::uint32_t>(position.column));
}

void Parser::add_files_to(std::uint32_t file) {
  while (tree_.places.file_count() <= file) {
    tree_.places.add_file(std::string(scanner_.file_name(static_cast<int>(tree_.places.file_count()))));
  }
}

// Asked at every token, and most have none.
[[gnu::always_inline]] inline NodeId Parser::take_comments(Place place) {
  if (!scanner_.has_comments()) return kNone;
  return comment_node(place);
}

NodeId Parser::comment_node(Place place) {
  NodeId node = tree_.add_text(Kind::comment, place, scanner_.comments());
  scanner_.comments_taken();
  return node;
}

// What a token says beyond its code: a leaf node for names and literals, the Operator, Primitive
// or rounding mode for the words that stand for one.
void Parser::read_token(int code, Entry& entry, Place place) {
  using namespace token;
  std::string_view lexeme = scanner_.token_lexeme();
  switch (code) {
    case NAME: entry.node = tree_.add(Kind::name, place, tree_.names.intern(lexeme)); return;
    case NUMBER: {
      std::uint64_t value = 0;
      bool hexadecimal = false;
      if (!number_value(lexeme, value, hexadecimal)) {
        // Reported here; the process that holds it becomes a banner.
        std::string digits = std::to_string(lexeme.size()) + (hexadecimal ? " hexadecimal digits" : " digits");
        builder_.error(place, "a number of " + digits + " does not fit in 64 bits", lexeme.substr(0, 32));
        entry.node = tree_.add(Kind::unsupported, place, 0, 0, static_cast<std::uint8_t>(Construct::large_number));
        return;
      }
      entry.node = tree_.add_number(value, place, hexadecimal);
      return;
    }
    case CHARACTER: entry.node = tree_.add(Kind::character, place, character_value(lexeme)); return;
    case STRING: entry.node = tree_.add_text(Kind::string, place, string_value(lexeme)); return;
    case MISSING_INCLUDE: entry.node = tree_.add_text(Kind::missing_include, place, lexeme); return;
    case BOOLEAN: entry.node = tree_.add(Kind::boolean, place, 0, 0, lexeme == "TRUE" ? 1 : 0); return;
    case ROUND: entry.detail = lexeme == "ROUND" ? 1 : 2; return;
    case '?': entry.detail = static_cast<std::uint8_t>(Direction::input); return;
    case '!': entry.detail = static_cast<std::uint8_t>(Direction::output); return;
    case BOOL: case BYTE: case INT: case INT16: case INT32: case INT64: case REAL32: case REAL64:
      for (std::size_t i = 0; i < std::size(kPrimitiveWords); ++i) {
        if (kPrimitiveWords[i] == lexeme) entry.detail = static_cast<std::uint8_t>(i);
      }
      return;
    case '+': case '-': case '*': case '/': case '\\': case '=': case '~': case ARITH_WORD: case MINUS: case AFTER:
    case BIT_OP: case SHIFT_OP: case RELATIONAL_OP: case NOT: case BITNOT: case AND: case OR: case USER_OP: case XINPUT: {
      Operator op;
      if (operator_named(lexeme, op)) entry.detail = static_cast<std::uint8_t>(op);
      return;
    }
    default: return;
  }
}

// A token's entry gets its place, the comment lines before it and what it says. Layout tokens
// leave the comments to the first token of the next line.
[[gnu::always_inline]] inline void Parser::pushed(StackView<Entry>& view) {
  int top = view.below() + 1;
  int symbol = view.accessing_symbol(top);
  if (symbol < 0 || symbol == token::ERROR_TOKEN) return;
  Entry& entry = view.result();
  entry.place = token_place();
  if (symbol == token::EOL || symbol == token::INDENT || symbol == token::OUTDENT) return;
  entry.comment = take_comments(entry.place);
  if (entry.comment != kNone) [[unlikely]] comment_mark_ = std::max(comment_mark_, top);
  read_token(symbol, entry, entry.place);
}

[[gnu::always_inline]] inline bool Parser::keeps_first_symbol(int rule) const { return actions::kCopiesFirstSymbol[rule]; }

// The left-hand side starts where its first symbol does. Comment lines before any of the
// right-hand side's symbols go on to the left-hand side, in order, but for those the action took
// (an item's, which it keeps in its list).
[[gnu::always_inline]] inline bool Parser::reduce(int rule, StackView<Entry>& view) {
  if (actions::kCopiesFirstSymbol[rule]) {
    view.result() = view.rhs(1);
    return true;
  }
  if (settled_ != nullptr && is_list_of_items(tables::kTables.yyr1[rule]) && settle(rule, view)) return true;
  Entry& result = view.result();
  int length = view.rhs_length();
  result.place = length > 0 ? view.rhs(1).place : token_place();
  TreeContext context{builder_, view};
  actions::run_action(rule, context);
  result.comment = comments_of_right_side(view, length);
  return true;
}

// The comment lines of a right-hand side's symbols, joined in order. Few symbols carry any: no
// entry above the highest that was given some (comment_mark_) has, and the symbols are not read.
NodeId Parser::comments_of_right_side(StackView<Entry>& view, int length) {
  const int base = view.below() + 1;
  if (comment_mark_ < base) [[likely]] return kNone;
  NodeId comment = kNone;
  for (int k = 1; k <= length; ++k) {
    NodeId part = view.rhs(k).comment;
    if (part != kNone) comment = comment == kNone ? part : builder_.join_comments(comment, part);
  }
  // The right-hand side's entries give way to the left-hand side's, at `base`.
  comment_mark_ = comment != kNone ? base : base - 1;
  return comment;
}

// items: item | items item — at the outermost level, or in the body of a SEQ that stands there,
// the item (after its comment lines) goes to the taker of settled items, and the list stays empty.
bool Parser::settle(int rule, StackView<Entry>& view) {
  int below = view.below();
  SettledItems::Level level = SettledItems::Level::outermost;
  if (below != 0) {
    // SEQ EOL INDENT, the SEQ alone at the outermost level or after its items
    if (below < 3 || view.accessing_symbol(below) != token::INDENT || view.accessing_symbol(below - 1) != token::EOL ||
        view.accessing_symbol(below - 2) != token::SEQ) {
      return false;
    }
    int seq = below - 2;
    if (seq != 1 && !(seq == 2 && view.accessing_symbol(1) == -symbol::outermost_items)) return false;
    level = SettledItems::Level::outermost_seq;
  }
  int length = view.rhs_length();
  Entry& item = view.rhs(length);
  Entry& result = view.result();
  if (length == 2) {
    result = view.rhs(1);
  } else {
    result.place = item.place;
    builder_.start_list(result, kNone);
  }
  result.comment = kNone;
  NodeId comment = std::exchange(item.comment, kNone);
  if (comment != kNone) settled_->settled(comment, level);
  if (item.node != kNone) settled_->settled(item.node, level);
  (void)rule;
  return true;
}

void Parser::syntax_error(std::string_view message) {
  builder_.diagnostics.parse_error(message, scanner_.last_token(), scanner_.line_number());
}

// ---------------------------------------------------------------- the builder

void TreeBuilder::start_list(Entry& list, NodeId first) {
  list.list_start = pending_.size();
  list.list_count = 0;
  extend_list(list, first);
}

void TreeBuilder::extend_list(Entry& list, NodeId next) {
  pending_.truncate(list.list_start + list.list_count);  // what recovery abandoned above it
  if (next == kNone) return;
  pending_.push_back(next);
  ++list.list_count;
}

NodeId TreeBuilder::list_node(const Entry& list, Place place, Kind kind, std::uint8_t detail) {
  return tree.add_with_children(kind, place, pending_, list.list_start, list.list_count, detail);
}

NodeId TreeBuilder::join_comments(NodeId first, NodeId second) {
  if (first == kNone) return second;
  if (second == kNone || first == second) return first;
  std::string text(tree.text(first));
  text += tree.text(second);
  return tree.add_text(Kind::comment, tree.node(first).place, text);
}

void TreeBuilder::syntax_error(Place place, int code, std::string_view lexeme) {
  Location where = tree.places.locate(place);
  diagnostics.parse_error("syntax error", {code, lexeme, {static_cast<int>(where.line), static_cast<int>(where.column)}},
                          static_cast<int>(where.line));
  ++error_count_;
}

void TreeBuilder::error(Place place, std::string_view message, std::string_view near) {
  Location where = tree.places.locate(place);
  diagnostics.error_in(tree.places.file_name(where.file),
                       {static_cast<int>(where.line), static_cast<int>(where.column)}, message, near);
  ++error_count_;
}

}  // namespace vrk::occam2
