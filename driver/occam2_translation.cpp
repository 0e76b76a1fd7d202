#include "driver/occam2_translation.h"

#include <optional>
#include <utility>

#include "driver/files.h"
#include "occam2/graph/network.h"
#include "occam2/handelc/writer.h"
#include "occam2/parser/parser.h"
#include "occam2/resolve/resolver.h"
#include "occam2/tree/tree.h"

namespace vrk {

Occam2Translation::Occam2Translation(const TranslationFiles& files, Occam2ScannerOptions options, OutputBuffer* graph)
    : files_(files), options_(std::move(options)), graph_(graph) {}

namespace {
// The three templates, or the message that names the one missing and where it was looked for.
std::optional<occam2::Templates> load_templates(TemplateStore& store, std::string& problem) {
  occam2::Templates templates;
  std::string* texts[] = {&templates.header, &templates.board, &templates.main_opening};
  std::string_view names[] = {kHeaderTemplate, kBoardTemplate, kMainTemplate};
  for (std::size_t i = 0; i < 3; ++i) {
    std::string where;
    std::optional<std::string> text = store.load(names[i], where);
    if (!text) {
      problem = unreadable_template(names[i], where);
      return std::nullopt;
    }
    *texts[i] = std::move(*text);
  }
  return templates;
}
}  // namespace

ExitStatus Occam2Translation::run() {
  Diagnostics diagnostics(files_.debug_log, files_.diagnostics, files_.style);
  std::string problem;
  std::optional<occam2::Templates> templates = load_templates(files_.templates, problem);
  if (!templates) {
    diagnostics.program_message(problem);
    return ExitStatus::unusable_input;
  }
  Occam2Scanner scanner(files_.source, diagnostics, options_);
  occam2::Tree tree;
  occam2::Parser parser(scanner, tree, diagnostics);
  int parsed = parser.parse();
  if (scanner.stopped()) return scanner.stop_status();
  if (parsed != 0) {
    files_.output.write(templates->header);
    files_.output.write(templates->board);
    if (graph_ != nullptr) graph_->write(occam2::dot_text(occam2::Network{}));
    return ExitStatus::translation_failed;
  }
  occam2::Resolution resolution = occam2::resolve(tree, diagnostics);
  occam2::write_handel_c(tree, resolution, *templates, files_.output, diagnostics);
  if (graph_ != nullptr) {
    occam2::NetworkBuild network = occam2::build_network(tree, resolution, diagnostics);
    if (!network.problem.empty()) {
      diagnostics.program_message("vrk: cannot draw the process network of " + quoted(files_.style.source_name) + ": " +
                                  network.problem);
      return ExitStatus::unusable_input;
    }
    graph_->write(occam2::dot_text(network.network));
  }
  bool errors = parser.error_count() > 0 || scanner.error_count() > 0 || resolution.error_count > 0;
  return errors ? ExitStatus::translation_failed : ExitStatus::success;
}

}  // namespace vrk
