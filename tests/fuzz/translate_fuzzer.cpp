// libFuzzer target: one whole translation per input, in-process.
//
// The first input byte chooses the mode: odd for the occam 2 mode, even for the default one; the
// bytes after it are the occam source. Each run is the tests' in-memory translation (a fresh
// Translation over memory streams and the test templates), so the scanner, the parse engine,
// every translation action, replicated PAR unrolling and the writing of the Fragment list all see
// the bytes exactly as the vrk program would. AddressSanitizer and UndefinedBehaviorSanitizer
// watch the run; on top of that each run checks what must hold for any input, and aborts (a
// finding) when it does not:
//   - the status is 0 (accepted) or 1 (syntax errors, an abandoned parse or an over-long line);
//   - the output file is the two header templates, followed, once the parse was accepted (with
//     or without syntax errors), by the Fragment list ending in the closing of main;
//   - the debug log and standard error received the same lines;
//   - writing the settled front of the Fragment list early, as often as possible, gives the same
//     status and the same bytes on every stream as holding the whole list to the end;
//   - every record the translation took from the memory manager is back on a free list once the
//     Translation is gone, so nothing leaks from one run into the next (the manager keeps its
//     blocks for the whole process, which LeakSanitizer alone cannot see into).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "driver/translation.h"
#include "support/memory.h"
#include "tests/common/translate.h"

namespace {

using namespace vrk;
using namespace vrk::testing;

[[noreturn]] void finding(const char* what) {
  std::fprintf(stderr, "translate_fuzzer: %s\n", what);
  std::fflush(stderr);
  std::abort();
}

void check_outcome(const TranslationRun& run) {
  if (run.status != 0 && run.status != 1) finding("exit status other than 0 or 1");
  const std::string headers = std::string(kTestHeader) + std::string(kTestBoard);
  if (!run.output.empty() && !run.output.starts_with(headers)) {
    finding("the output does not begin with the header templates");
  }
  bool written = run.output.size() > headers.size();
  if (written && !run.output.ends_with(kMainClosing)) finding("the output does not end with the closing of main");
  if (run.status == 0 && !written) finding("accepted, but the Fragment list was not written");
  if (run.debug_log != run.diagnostics) finding("the debug log and standard error differ");
}

bool same_outcome(const TranslationRun& a, const TranslationRun& b) {
  return a.status == b.status && a.output == b.output && a.debug_log == b.debug_log &&
         a.diagnostics == b.diagnostics;
}

}  // namespace

// The occam 2 mode: a defined status and an output that is the headers, followed by a whole
// program when the parse was accepted. Its warnings go to standard error only, so the two
// streams are not compared.
void check_occam2_outcome(const TranslationRun& run) {
  // The process network is drawn too: it is a whole graph, or the run says why it could not be.
  bool network_refused =
      run.status == 2 && run.diagnostics.find("vrk: cannot draw the process network") != std::string::npos;
  if (network_refused) {
    if (!run.graph.empty()) finding("occam 2 mode: a graph was written for a network that could not be drawn");
    return;
  }
  if (!run.graph.starts_with("// The process network") || !run.graph.ends_with("\n}\n")) {
    finding("occam 2 mode: the graph is not a whole DOT graph");
  }
  if (run.status != 0 && run.status != 1) finding("occam 2 mode: exit status other than 0 or 1");
  const std::string headers = std::string(kTestHeader) + std::string(kTestBoard);
  if (!run.output.starts_with(headers)) finding("occam 2 mode: the output does not begin with the header templates");
  bool written = run.output.size() > headers.size();
  if (written && split_occam2_output(run.output).body.empty()) finding("occam 2 mode: the output does not end with main");
  if (run.status == 0 && !written) finding("occam 2 mode: accepted, but nothing was written");
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const long records_before = std_memory_mgr().records_in_use();
  const std::string_view source(reinterpret_cast<const char*>(data) + 1, size - 1);
  if ((data[0] & 1) != 0) {
    // Included files are looked up beside a source in a folder that does not exist, so that no
    // input reaches the fuzzing machine's files through a relative #INCLUDE.
    check_occam2_outcome(translate_occam2(source, "/nonexistent/vrk-fuzz/source.occ", {}, false, {}, true));
    if (std_memory_mgr().records_in_use() != records_before) finding("occam 2 mode: records of the memory manager leaked");
    return 0;
  }
  const TranslationRun held = translate(source);
  check_outcome(held);
  if (!same_outcome(translate(source, 1), held)) finding("writing early changed the outcome");
  if (std_memory_mgr().records_in_use() != records_before) finding("records of the memory manager leaked");
  return 0;
}
