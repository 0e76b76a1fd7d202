#include "tests/occam2/occam2_passes.h"

#include "occam2/parser/parser.h"
#include "occam2/resolve/resolver.h"
#include "occam2/scanner/scanner.h"
#include "output/streams.h"
#include "scanner/diagnostics.h"
#include "scanner/line_reader.h"

namespace vrk::testing {

Occam2Passes run_passes(std::string_view source, bool resolving) {
  Occam2Passes passes;
  SourceReader reader(source, SourceReader::LineLimit::none);
  OutputBuffer debug_log, standard_error;
  Diagnostics diagnostics(debug_log, standard_error, DiagnosticStyle{true, "test.occ"});
  Occam2Scanner scanner(reader, diagnostics, Occam2ScannerOptions{"test.occ", {}});
  occam2::Parser parser(scanner, *passes.tree, diagnostics);
  passes.parse_result = parser.parse();
  passes.syntax_errors = parser.error_count() + scanner.error_count();
  if (resolving && passes.parse_result == 0) passes.resolution = occam2::resolve(*passes.tree, diagnostics);
  passes.messages = standard_error.contents();
  return passes;
}

std::string Occam2Passes::items() const {
  if (tree->root() == occam2::kNone) return "";
  std::string text;
  for (occam2::NodeId item : tree->children(tree->node(tree->root()).a)) text += occam2::dump(*tree, item);
  return text;
}

const occam2::Symbol* Occam2Passes::symbol(std::string_view name) const {
  for (occam2::NodeId id = 1; id < tree->node_count(); ++id) {
    const occam2::Node& n = tree->node(id);
    if ((n.kind == occam2::Kind::name || n.kind == occam2::Kind::name_def) && tree->name_of(id) == name && n.b != 0) {
      return &resolution.symbol(n.b);
    }
  }
  return nullptr;
}

std::string Occam2Passes::target(std::string_view name) const {
  const occam2::Symbol* s = symbol(name);
  return s == nullptr ? std::string() : std::string(tree->names.spelling(s->target));
}

}  // namespace vrk::testing
