// The Handel-C back end of the occam 2 mode: writes a resolved program tree in the forms of the
// target (types with widths, a block for each group of declarations, par and seq replicators,
// switch, prialt, casts and adju, macro exprs for constants, macro procs for PROCs, lifted nested
// PROCs, chanin and chanout for the program's channels) and a banner naming the construct where
// the target has no counterpart. It is the only code of this mode that spells Handel-C.
#pragma once

#include <memory>
#include <string>

#include "occam2/resolve/resolution.h"
#include "occam2/tree/tree.h"
#include "output/streams.h"
#include "scanner/diagnostics.h"

namespace vrk::occam2 {

// The text the output begins with, and main's opening.
struct Templates {
  std::string header;
  std::string board;
  std::string main_opening;
};

class Writer;

// The writer item by item, for a translation that settles the items of the outermost level as the
// parser finishes them (and those of the body of a SEQ there): each is written as soon as it has
// been resolved, into text held until finish() puts the file together. Each banner written is
// reported once, as a warning in the quiet style, unless an error already reported stands behind
// it.
class HandelCWriter {
 public:
  HandelCWriter(const Tree& tree, const Resolution& resolution, Diagnostics& diagnostics);
  ~HandelCWriter();
  HandelCWriter(const HandelCWriter&) = delete;
  HandelCWriter& operator=(const HandelCWriter&) = delete;

  // `nodes_from`, when given, is a node at or before every node of the item: the nodes after it are
  // looked over before the item's tree is walked for what must be hoisted out of it.
  void outermost_item(NodeId item, NodeId nodes_from = kNone);
  // An item of the body of an outermost SEQ; declarations wait for the process they scope over.
  void streamed_item(NodeId item, NodeId nodes_from = kNone);
  void end_streamed_body();
  // What is known of the nodes from `first` on is forgotten: they have been released.
  void forget_nodes_from(NodeId first);
  // The whole file: templates, the definitions written so far, the program's channels and main.
  // False when text held in a temporary file could not be read back (errno says why).
  bool finish(const Templates& templates, OutputBuffer& output);

 private:
  std::unique_ptr<Writer> writer_;
};

// The header and board templates, each ending its line so that what follows starts a line of its
// own: the opening of every translation, and all of one that a syntax error abandoned.
void write_opening(const Templates& templates, OutputBuffer& output);

// Writes the translation of a whole tree to `output`; false as finish() is.
bool write_handel_c(const Tree& tree, const Resolution& resolution, const Templates& templates, OutputBuffer& output,
                    Diagnostics& diagnostics);

}  // namespace vrk::occam2
