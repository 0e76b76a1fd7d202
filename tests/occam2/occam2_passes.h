// Runs the occam 2 mode's passes on an in-memory source, for the tests of each pass.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "occam2/resolve/resolution.h"
#include "occam2/tree/tree.h"

namespace vrk::testing {

struct Occam2Passes {
  std::unique_ptr<occam2::Tree> tree = std::make_unique<occam2::Tree>();
  occam2::Resolution resolution;
  int parse_result = 0;     // the engine's: 0 when it read to the end
  int syntax_errors = 0;    // the parser's and scanner's errors
  std::string messages;     // standard error in the quiet style, the source named "test.occ"

  // The tree below the program's list of items, as occam2::dump writes it.
  std::string items() const;
  // The symbol a name of the tree stands for: the first name or name_def node spelt `name`.
  const occam2::Symbol* symbol(std::string_view name) const;
  // The Handel-C name the resolver chose for the first declaration of `name`.
  std::string target(std::string_view name) const;
};

// Scans and parses `source`; with `resolving`, resolves the tree too.
Occam2Passes run_passes(std::string_view source, bool resolving = true);

}  // namespace vrk::testing
