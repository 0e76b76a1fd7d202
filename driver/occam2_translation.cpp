#include "driver/occam2_translation.h"

#include <cerrno>
#include <cstring>
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

// The passes after the parser, run on each item as the parser settles it: resolution, then the
// writer, then the item's tree is released. What later items may still need stays: the
// declarations of the outermost level, and the heads (names and formals) of the outermost PROCs
// and FUNCTIONs; the bodies of those, the outermost processes and the groups of an outermost
// SEQ's body go. The program then needs memory for its largest item, not for all of it.
class SettledItemPasses final : public occam2::SettledItems {
 public:
  SettledItemPasses(occam2::Tree& tree, occam2::Resolver& resolver, occam2::HandelCWriter& writer)
      : tree_(tree), resolver_(resolver), writer_(writer), item_start_(tree.mark()) {}
  // The parser that settles the items, which knows where definitions' bodies begin.
  void settled_by(const occam2::Parser& parser) { parser_ = &parser; }

  void settled(occam2::NodeId item, Level level) override {
    if (level == Level::outermost_seq) return streamed(item);
    if (streaming_) {
      // The SEQ whose body came item by item, now empty.
      end_streaming();
      release(item_start_);
      return;
    }
    resolver_.outermost_item(item);
    writer_.outermost_item(item, item_start_.nodes);
    occam2::Kind kind = tree_.kind(item);
    if (kind == occam2::Kind::proc_definition || kind == occam2::Kind::function_definition) {
      release(parser_->body_start(item));
      tree_.set_child(item, kind == occam2::Kind::proc_definition ? 2 : 3, occam2::kNone);
    } else if (!occam2::is_declarative(tree_, item) && kind != occam2::Kind::comment) {
      release(item_start_);
    }
    // The comment lines before an item are settled just before it, once its nodes are made: the
    // item still starts where the tree stood before them, and is released from there.
    if (kind == occam2::Kind::comment) return;
    item_start_ = tree_.mark();
  }

  // The end of the input: a body still streaming is over (the parse gave up inside it).
  void finish() {
    if (streaming_) end_streaming();
  }

 private:
  void streamed(occam2::NodeId item) {
    if (!streaming_) {
      streaming_ = true;
      resolver_.begin_streamed_body();
    }
    resolver_.streamed_item(item);
    writer_.streamed_item(item, item_start_.nodes);
    if (tree_.kind(item) == occam2::Kind::comment || occam2::is_declarative(tree_, item)) return;
    release(item_start_);
    item_start_ = tree_.mark();
  }

  void end_streaming() {
    streaming_ = false;
    resolver_.end_streamed_body();
    writer_.end_streamed_body();
  }

  void release(const occam2::TreeMark& mark) {
    resolver_.forget_nodes_from(mark.nodes);
    writer_.forget_nodes_from(mark.nodes);
    tree_.release(mark);
  }

  occam2::Tree& tree_;
  const occam2::Parser* parser_ = nullptr;
  occam2::Resolver& resolver_;
  occam2::HandelCWriter& writer_;
  // Where the tree stood when the last item was settled: every node of the next item comes after.
  occam2::TreeMark item_start_;
  bool streaming_ = false;
};

// The items of a whole tree through the passes SettledItemPasses runs, in the same order, so that
// the translation is the same with the tree kept: an outermost plain SEQ's body item by item, as it
// streams, each other outermost item whole.
void pass_whole_tree(const occam2::Tree& tree, occam2::Resolver& resolver, occam2::HandelCWriter& writer) {
  if (tree.root() == occam2::kNone) return;
  for (occam2::NodeId item : tree.children(tree.node(tree.root()).a)) {
    const occam2::Node& node = tree.node(item);
    const bool streams = node.kind == occam2::Kind::seq && node.a == occam2::kNone && node.b != occam2::kNone &&
                         !tree.children(node.b).empty();
    if (!streams) {
      resolver.outermost_item(item);
      writer.outermost_item(item);
      continue;
    }
    resolver.begin_streamed_body();
    for (occam2::NodeId part : tree.children(node.b)) {
      resolver.streamed_item(part);
      writer.streamed_item(part);
    }
    resolver.end_streamed_body();
    writer.end_streamed_body();
  }
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
  occam2::Resolver resolver(tree, diagnostics);
  occam2::HandelCWriter writer(tree, resolver.resolution(), diagnostics);
  SettledItemPasses passes(tree, resolver, writer);
  // The process network is drawn from the whole tree: with it wanted, nothing is settled early.
  occam2::Parser parser(scanner, tree, diagnostics, graph_ != nullptr ? nullptr : &passes);
  passes.settled_by(parser);
  int parsed = parser.parse();
  if (scanner.stopped()) return scanner.stop_status();
  if (parsed != 0) {
    occam2::write_opening(*templates, files_.output);
    if (graph_ != nullptr) graph_->write(occam2::dot_text(occam2::Network{}));
    return ExitStatus::translation_failed;
  }
  if (graph_ != nullptr) pass_whole_tree(tree, resolver, writer);
  passes.finish();
  resolver.finish();
  if (!writer.finish(*templates, files_.output)) {
    diagnostics.program_message(std::string("vrk: cannot read back the translation from a temporary file: ") +
                                std::strerror(errno));
    return ExitStatus::unusable_input;
  }
  if (graph_ != nullptr) {
    occam2::NetworkBuild network = occam2::build_network(tree, resolver.resolution(), diagnostics);
    if (!network.problem.empty()) {
      diagnostics.program_message("vrk: cannot draw the process network of " + quoted(files_.style.source_name) + ": " +
                                  network.problem);
      return ExitStatus::unusable_input;
    }
    graph_->write(occam2::dot_text(network.network));
  }
  bool errors = parser.error_count() > 0 || scanner.error_count() > 0 || resolver.resolution().error_count > 0;
  return errors ? ExitStatus::translation_failed : ExitStatus::success;
}

}  // namespace vrk
