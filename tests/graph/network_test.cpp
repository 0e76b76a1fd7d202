// The process network of occam 2 programs: hand-worked DOT files for small programs, the edges of
// replicated pipelines drawn copy by copy and as one, the limits that keep the walk bounded, and
// Graphviz's dot on every graph these tests make.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "occam2/graph/network.h"
#include "occam2/parser/parser.h"
#include "occam2/resolve/resolver.h"
#include "tests/common/files.h"
#include "tests/common/translate.h"

namespace vrk::testing {
namespace {

namespace fs = std::filesystem;

const fs::path kCases = VRK_GRAPH_CASES_DIR;

TranslationRun draw(const std::string& source, const std::string& name = "test.occ") {
  return translate_occam2(source, name, {}, true, {}, true);
}

std::size_t count_of(const std::string& text, const std::string& what) {
  std::size_t count = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++count;
  return count;
}

// A feeder, `cells` copies of a cell from one replicated PAR, and a drain, in a program PROC.
std::string pipeline(int cells) {
  return "VAL INT cells IS " + std::to_string(cells) +
         ":\n"
         "PROC cell (CHAN INT left?, right!)\n"
         "  INT x:\n"
         "  WHILE TRUE\n"
         "    SEQ\n"
         "      left ? x\n"
         "      right ! x\n"
         ":\n"
         "PROC pipeline (CHAN INT in?, out!)\n"
         "  [cells + 1]CHAN INT c:\n"
         "  PAR\n"
         "    WHILE TRUE\n"
         "      INT x:\n"
         "      SEQ\n"
         "        in ? x\n"
         "        c[0] ! x\n"
         "    PAR i = 0 FOR cells\n"
         "      cell (c[i]?, c[i + 1]!)\n"
         "    WHILE TRUE\n"
         "      INT x:\n"
         "      SEQ\n"
         "        c[cells] ? x\n"
         "        out ! x\n"
         ":\n";
}

std::vector<fs::path> case_sources() {
  std::vector<fs::path> sources;
  for (const fs::directory_entry& entry : fs::directory_iterator(kCases)) {
    if (entry.path().extension() == ".occ") sources.push_back(entry.path());
  }
  std::sort(sources.begin(), sources.end());
  return sources;
}

TEST(NetworkCases, EachSmallProgramDrawsTheGraphWorkedOutByHand) {
  std::vector<fs::path> sources = case_sources();
  ASSERT_GE(sources.size(), 5U);
  for (const fs::path& source : sources) {
    SCOPED_TRACE(source.filename().string());
    TranslationRun run = draw(read_file(source), source.filename().string());
    EXPECT_EQ(run.status, 0) << run.diagnostics;
    EXPECT_EQ(run.graph, read_file(fs::path(source).replace_extension(".dot")));
  }
}

// Up to 64 copies are drawn one by one, each channel of the array its own edge: the feeder's
// input, c[0] to c[cells] and the drain's output. Beyond, the copies are one node and the array
// three edges: in, out of and through the copies.
TEST(NetworkCases, AReplicatedPipelineHasAnEdgePerChannelOrPerRunBeyondTheLimit) {
  for (int cells : {1, 5, 64}) {
    SCOPED_TRACE(cells);
    TranslationRun run = draw(pipeline(cells));
    ASSERT_EQ(run.status, 0) << run.diagnostics;
    EXPECT_EQ(count_of(run.graph, " -> "), static_cast<std::size_t>(cells) + 3);
    EXPECT_EQ(count_of(run.graph, "[label=\"cell ["), static_cast<std::size_t>(cells));
    EXPECT_NE(run.graph.find("[label=\"c[" + std::to_string(cells) + "]: INT\"]"), std::string::npos);
  }
  for (int cells : {65, 1000}) {
    SCOPED_TRACE(cells);
    TranslationRun run = draw(pipeline(cells));
    ASSERT_EQ(run.status, 0) << run.diagnostics;
    EXPECT_EQ(count_of(run.graph, " -> "), 5U);
    const std::string last = std::to_string(cells - 1);
    EXPECT_NE(run.graph.find("[label=\"cell [0.." + last + "]\\n" + std::to_string(cells) + " copies\", shape=box3d]"),
              std::string::npos);
    EXPECT_NE(run.graph.find("n3 -> n3 [label=\"c[1.." + last + "]: INT\"]"), std::string::npos);
  }
}

// A program whose count is known only at run time is one node too; subscripts by its index name
// every element of the array.
TEST(NetworkCases, CopiesCountedAtRunTimeAreOneProcessUsingTheWholeArray) {
  TranslationRun run = draw(
      "PROC p (CHAN INT in?)\n"
      "  [4]CHAN INT c:\n"
      "  INT n:\n"
      "  SEQ\n"
      "    in ? n\n"
      "    PAR i = 0 FOR n\n"
      "      WHILE TRUE\n"
      "        c[i] ! i\n"
      ":\n");
  EXPECT_NE(run.graph.find("[label=\"WHILE at line 7\\ncopies counted at run time\", shape=box3d]"), std::string::npos)
      << run.graph;
  EXPECT_NE(run.graph.find("n2 -> end1 [label=\"c[0..3]: INT\", style=dashed]"), std::string::npos) << run.graph;
}

TEST(NetworkCases, AnAbandonedParseDrawsAnEmptyNetwork) {
  TranslationRun run = draw("PROC p (CHAN INT c!)\n  c ! 1\n");
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.graph.ends_with("  edge [fontname=\"Helvetica\", fontsize=9];\n}\n")) << run.graph;
  EXPECT_EQ(count_of(run.graph, "label="), 0U);
}

// A PROC that calls itself is reported by the resolver; the walk does not enter it again.
TEST(NetworkCases, APROCThatCallsItselfIsWalkedOnce) {
  TranslationRun run = draw(
      "RECURSIVE PROC p (CHAN INT c!)\n"
      "  SEQ\n"
      "    c ! 1\n"
      "    p (c!)\n"
      ":\n");
  EXPECT_NE(run.graph.find("n1 -> env [label=\"c: INT\"]"), std::string::npos) << run.graph;
}

// Its channels are not known to be used by it: they end loose, beside the instance.
TEST(NetworkCases, ACallOfAPROCDefinedNowhereIsStillAnInstance) {
  TranslationRun run = draw(
      "PROC p (CHAN INT out!)\n"
      "  CHAN INT c:\n"
      "  PAR\n"
      "    library.source (c!)\n"
      "    WHILE TRUE\n"
      "      INT x:\n"
      "      SEQ\n"
      "        c ? x\n"
      "        out ! x\n"
      ":\n");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.graph.find("    n2 [label=\"library.source\"];\n"), std::string::npos) << run.graph;
  EXPECT_NE(run.graph.find("end1 -> n3 [label=\"c: INT\", style=dashed]"), std::string::npos) << run.graph;
}

// CHAN OF ANY and the channels of a variant PROTOCOL have no type vrk translates; they are
// drawn all the same, an array of them as one channel.
TEST(NetworkCases, ChannelsOfProtocolsVrkKeepsUnsupportedAreDrawnToo) {
  TranslationRun run = draw(
      "PROTOCOL COMMAND\n"
      "  CASE\n"
      "    go; INT\n"
      "    halt\n"
      ":\n"
      "PROC main (CHAN OF ANY log!)\n"
      "  [3]CHAN COMMAND commands:\n"
      "  SEQ\n"
      "    commands[1] ! go; 3\n"
      "    log ! 0\n"
      ":\n");
  EXPECT_NE(run.graph.find("n1 -> env [label=\"log: ANY\"]"), std::string::npos) << run.graph;
  EXPECT_NE(run.graph.find("n1 -> end1 [label=\"commands[]: COMMAND\", style=dashed]"), std::string::npos) << run.graph;
}

// ---------------------------------------------------------------- limits

// A program parsed and resolved, for building its network with limits of a test's own.
struct Resolved {
  OutputBuffer log, messages;
  Diagnostics diagnostics{log, messages, DiagnosticStyle{true, "t.occ"}};
  occam2::Tree tree;
  occam2::Resolution resolution;
};

std::unique_ptr<Resolved> resolved(const std::string& source) {
  auto result = std::make_unique<Resolved>();
  SourceReader reader(source, SourceReader::LineLimit::none);
  Occam2Scanner scanner(reader, result->diagnostics, Occam2ScannerOptions{"t.occ", {}});
  occam2::Parser parser(scanner, result->tree, result->diagnostics);
  EXPECT_EQ(parser.parse(), 0);
  result->resolution = occam2::resolve(result->tree, result->diagnostics);
  return result;
}

// PROC p<k> calls p<k-1> twice: with the same actuals, or (distinct) with a value of its own each
// time, so that 2^depth calls differ.
std::string doubling_calls(int depth, bool distinct) {
  std::string source = "PROC p0 (VAL INT v, CHAN INT c!)\n  c ! v\n:\n";
  for (int k = 1; k <= depth; ++k) {
    std::string callee = "    p" + std::to_string(k - 1);
    source += "PROC p" + std::to_string(k) + " (VAL INT v, CHAN INT c!)\n  SEQ\n";
    source += callee + (distinct ? " (2 * v, c!)\n" : " (v, c!)\n");
    source += callee + (distinct ? " ((2 * v) + 1, c!)\n" : " (v, c!)\n") + ":\n";
  }
  return source + "PROC main (CHAN INT out!)\n  p" + std::to_string(depth) + " (0, out!)\n:\n";
}

TEST(NetworkLimits, PastTheProcessLimitAPARRunsAsPartOfItsProcessWithAWarning) {
  std::unique_ptr<Resolved> program = resolved(
      "PROC a (CHAN INT c!)\n  c ! 1\n:\n"
      "PROC b (CHAN INT c?)\n  INT x:\n  c ? x\n:\n"
      "PROC pair (CHAN INT out!)\n  CHAN INT c:\n  PAR\n    a (c!)\n    b (c?)\n    out ! 2\n:\n"
      "PROC main (CHAN INT x!, y!)\n  PAR\n    pair (x!)\n    pair (y!)\n:\n");
  occam2::NetworkLimits limits;
  limits.processes = 5;  // the environment, main, two pairs: the first pair's PAR still splits
  occam2::NetworkBuild build = occam2::build_network(program->tree, program->resolution, program->diagnostics, limits);
  ASSERT_EQ(build.problem, "");
  std::string text = occam2::dot_text(build.network);
  EXPECT_EQ(program->messages.contents(),
            "t.occ:10:3: warning: the process network has more than 5 processes: this PAR and those met after it are "
            "drawn as part of the process that runs them\n");
  // The first pair holds its three branches; the second is one node that both outputs and inputs
  // on its own c.
  EXPECT_NE(text.find("    subgraph cluster_n2 {\n      label=\"pair\";\n      n3 [label=\"a\"];\n"), std::string::npos)
      << text;
  EXPECT_NE(text.find("n3 -> n4 [label=\"c: INT\"]"), std::string::npos) << text;
  EXPECT_NE(text.find("n6 [label=\"pair\"];\n"), std::string::npos) << text;
  EXPECT_NE(text.find("n6 -> n6 [label=\"c: INT\"]"), std::string::npos) << text;
  EXPECT_NE(text.find("n6 -> env [label=\"y: INT\"]"), std::string::npos) << text;
}

TEST(NetworkLimits, TooMuchWorkOrTooDeepCallsGiveNoNetworkAndSayWhy) {
  // A call made again with the same actuals is walked once: thirty levels cost thirty walks.
  std::unique_ptr<Resolved> same = resolved(doubling_calls(30, false));
  occam2::NetworkBuild build = occam2::build_network(same->tree, same->resolution, same->diagnostics);
  EXPECT_EQ(build.problem, "");
  EXPECT_EQ(build.network.edges.size(), 1U);
  // Distinct calls are each walked: within the allowance, one edge; past it, the reason.
  occam2::NetworkLimits limits;
  limits.steps = 10000;
  std::unique_ptr<Resolved> distinct = resolved(doubling_calls(10, true));
  build = occam2::build_network(distinct->tree, distinct->resolution, distinct->diagnostics);
  EXPECT_EQ(build.problem, "");
  EXPECT_EQ(build.network.edges.size(), 1U);
  build = occam2::build_network(distinct->tree, distinct->resolution, distinct->diagnostics, limits);
  EXPECT_EQ(build.problem, "finding it takes more than 10000 steps (PROCs called many times over)");
  EXPECT_TRUE(build.network.processes.empty());

  std::string chain = "PROC q0 (CHAN INT c!)\n  c ! 1\n:\n";
  for (int k = 1; k <= 20; ++k) {
    chain += "PROC q" + std::to_string(k) + " (CHAN INT c!)\n  q" + std::to_string(k - 1) + " (c!)\n:\n";
  }
  std::unique_ptr<Resolved> deep = resolved(chain);
  limits = {};
  limits.call_depth = 10;
  build = occam2::build_network(deep->tree, deep->resolution, deep->diagnostics, limits);
  EXPECT_EQ(build.problem, "PROC calls are nested more than 10 deep");
}

// Through the translation: status 2, the reason, and no graph.
TEST(NetworkLimits, ATranslationWhoseNetworkCannotBeFoundEndsWithStatus2) {
  TranslationRun run = draw(doubling_calls(30, true), "doubling.occ");
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.diagnostics.find("vrk: cannot draw the process network of 'doubling.occ': finding it takes more than"),
            std::string::npos)
      << run.diagnostics;
  EXPECT_EQ(run.graph, "");
}

// ---------------------------------------------------------------- Graphviz

class DotRenders : public TempDirTest {
 protected:
  DotRenders() : TempDirTest("graph-dot") {}
};

// Every graph these tests make renders with no message at all.
TEST_F(DotRenders, EveryGraphOfTheTestsWithoutAWarning) {
  if (std::system("command -v dot >/dev/null 2>&1") != 0) GTEST_SKIP() << "Graphviz's dot is not installed";
  std::vector<std::pair<std::string, std::string>> graphs;
  for (const fs::path& source : case_sources()) {
    graphs.emplace_back(source.stem().string(), draw(read_file(source), source.filename().string()).graph);
  }
  for (int cells : {1, 64, 1000}) graphs.emplace_back("pipeline" + std::to_string(cells), draw(pipeline(cells)).graph);
  graphs.emplace_back("empty", draw("PROC p (CHAN INT c!)\n  c ! 1\n").graph);
  for (const auto& [name, text] : graphs) {
    SCOPED_TRACE(name);
    fs::path graph = dir_ / (name + ".dot");
    write_file(graph, text);
    std::string command = "dot -Tsvg '" + graph.string() + "' -o '" + (dir_ / (name + ".svg")).string() + "' 2>'" +
                          (dir_ / "messages").string() + "'";
    int status = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(read_file(dir_ / "messages"), "");
    EXPECT_GT(fs::file_size(dir_ / (name + ".svg")), 0U);
  }
}

}  // namespace
}  // namespace vrk::testing
