// The Handel-C back end of the occam 2 mode: writes a resolved program tree in the forms of the
// target (types with widths, a block for each group of declarations, par and seq replicators,
// switch, prialt, casts and adju, macro exprs for constants, macro procs for PROCs, lifted nested
// PROCs, chanin and chanout for the program's channels) and a banner naming the construct where
// the target has no counterpart. It is the only code of this mode that spells Handel-C.
#pragma once

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

// Writes the translation of `tree` to `output`. Each banner written is reported once, as a
// warning in the quiet style, unless an error already reported stands behind it.
void write_handel_c(const Tree& tree, const Resolution& resolution, const Templates& templates, OutputBuffer& output,
                    Diagnostics& diagnostics);

}  // namespace vrk::occam2
