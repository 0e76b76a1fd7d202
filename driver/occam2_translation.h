// One translation in the occam 2 mode, its passes run in order: the scanner and parser build the
// program's tree, resolution binds its names and gives it types, the Handel-C writer writes it,
// and, when asked for, the program's process network is drawn.
#pragma once

#include "occam2/scanner/scanner.h"
#include "scanner/translation_files.h"
#include "support/exit_status.h"

namespace vrk {

class Occam2Translation {
 public:
  // With `graph`, the process network is written there in Graphviz's DOT language.
  Occam2Translation(const TranslationFiles& files, Occam2ScannerOptions options, OutputBuffer* graph = nullptr);

  // Reads the whole source once and writes the output. Status 0 when the program has no error;
  // 1 after syntax errors, errors of the scanner (bad indentation, includes) or of resolution (a
  // name defined nowhere, types that differ, a PROC that calls itself), the translation still
  // written, or when the parse was abandoned (the output then holds the templates alone); 2 when
  // a template or the source could not be read, or the network was too large to find. The network
  // of a parse that was abandoned is empty.
  ExitStatus run();

 private:
  TranslationFiles files_;
  Occam2ScannerOptions options_;
  OutputBuffer* graph_;
};

}  // namespace vrk
