// Resolution: one pass over a program's tree that binds every name to its declaration, gives
// every expression its occam type, folds what is constant, finds the free names of nested PROCs
// and FUNCTIONs, chooses each declaration's unique Handel-C name, and reports what occam itself
// rejects (a name defined nowhere, types that differ without a conversion, a PROC that calls
// itself) as errors with their place.
//
// Scopes are those of occam: a declaration scopes over the declarations after it and the one
// process (choice, alternative, option) that follows them; at the outermost level over the rest
// of the file. A PROC or FUNCTION is in scope after its closing colon, or in its own body too
// when it is RECURSIVE.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "occam2/resolve/resolution.h"
#include "occam2/tree/tree.h"
#include "scanner/diagnostics.h"

namespace vrk::occam2 {

class ResolverPass;

// Resolution item by item, for a translation that settles the items of the outermost level as the
// parser finishes them (and those of the body of a SEQ there), and then forgets their trees.
class Resolver {
 public:
  Resolver(Tree& tree, Diagnostics& diagnostics);
  ~Resolver();
  Resolver(const Resolver&) = delete;
  Resolver& operator=(const Resolver&) = delete;

  // An item of the outermost level: its declarations scope over the rest of the file.
  void outermost_item(NodeId item);
  // The items of the body of an outermost SEQ, one by one, between begin and end: each
  // declaration scopes over the process after it.
  void begin_streamed_body();
  void streamed_item(NodeId item);
  void end_streamed_body();
  // After the last item: what the program's outline needs (the names of its channels).
  void finish();
  // What resolution knows of the nodes from `first` on is forgotten: they have been released.
  void forget_nodes_from(NodeId first) { resolution_.forget_nodes_from(first); }

  const Resolution& resolution() const { return resolution_; }
  Resolution take() { return std::move(resolution_); }

 private:
  Resolution resolution_;
  std::unique_ptr<ResolverPass> pass_;
};

// Resolves the whole tree. Names and expressions in the tree get their symbols and types.
Resolution resolve(Tree& tree, Diagnostics& diagnostics);

// The value of an expression that is constant when translating (numbers, characters, TRUE and
// FALSE, constant VALs, SIZE of arrays of known size, MOSTPOS and MOSTNEG, and operators and
// conversions of those), reduced to the expression's type; nothing for anything else, and for
// an operation that would stop the occam program (a division by zero).
std::optional<std::int64_t> constant_value(const Tree& tree, const Resolution& resolution, NodeId id);

// The same where some names that are no constants have values the caller knows (a replicator's
// index in one copy of a replicated PAR, a VAL formal in one call of its PROC): `name_values`
// gives them, or nothing for a name whose value it does not know.
using NameValues = std::function<std::optional<std::int64_t>(SymbolId)>;
std::optional<std::int64_t> constant_value(const Tree& tree, const Resolution& resolution, NodeId id,
                                           const NameValues& name_values);

// A value reduced to what a variable of type `type` holds: BYTE to 0..255, INT16 and INT32 to
// their signed range, BOOL to 0 or 1.
std::int64_t reduce_to_type(const TypeTable& types, TypeId type, std::int64_t value);

// Whether a body's item is a declaration (a declaration, an abbreviation, a definition, a
// comment, ...), which scopes over what follows it, rather than a process.
bool is_declarative_item(const Tree& tree, NodeId id);

// The number of bits of a primitive type (BOOL 1, BYTE 8, INT 32, ...).
int bits_of(Primitive primitive);

}  // namespace vrk::occam2
