// The types written for channels, for what the resolver's types do not tell: the name of a
// protocol, and channels of a protocol vrk keeps unsupported.
#include "occam2/graph/walk.h"

namespace vrk::occam2::graph {

NodeId declared_type(const Tree& tree, const Resolution& resolution, SymbolId symbol) {
  if (symbol == kNoSymbol) return kNone;
  const Symbol& s = resolution.symbol(symbol);
  if (s.definition == kNone) return kNone;
  if (tree.kind(s.definition) == Kind::declaration) return tree.node(s.definition).a;
  if (tree.kind(s.definition) != Kind::formal || s.owner == kNone) return kNone;
  NodeId type = kNone;
  for (NodeId formal : tree.children(tree.child(s.owner, 1))) {
    if (tree.node(formal).a != kNone) type = tree.node(formal).a;
    if (formal == s.definition) break;
  }
  return type;
}

NodeId declared_channel(const Tree& tree, NodeId type) {
  while (type != kNone && tree.kind(type) == Kind::array_type) type = tree.node(type).b;
  return type != kNone && tree.kind(type) == Kind::channel_type ? type : kNone;
}

bool names_channels(const Tree& tree, const Resolution& resolution, SymbolId symbol) {
  if (symbol == kNoSymbol) return false;
  const TypeTable& types = resolution.types;
  TypeId type = resolution.symbol(symbol).type;
  if (types[types.innermost(type)].kind == TypeKind::channel) return true;
  return types[type].kind == TypeKind::unsupported &&
         declared_channel(tree, declared_type(tree, resolution, symbol)) != kNone;
}

}  // namespace vrk::occam2::graph
