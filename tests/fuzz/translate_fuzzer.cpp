// libFuzzer target: one whole translation per input, in-process.
//
// The input bytes are the occam source. Each run builds a fresh Translation over memory streams
// and in-memory templates, so the scanner, the parse engine, every translation action, replicated
// PAR unrolling and the writing of the Fragment list all see the bytes exactly as the vrk program
// would. AddressSanitizer and UndefinedBehaviorSanitizer watch the run; on top of that each run
// checks what must hold for any input, and aborts (a finding) when it does not:
//   - the status is 0 (accepted) or 1 (recovered after syntax errors, abandoned, or an
//     over-long line);
//   - the output file is the two header templates, followed, after a parse that reached the end
//     of the input, by the Fragment list ending in the closing of main;
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

namespace {

using namespace vrk;

constexpr std::string_view kHeader = "/* header */\n";
constexpr std::string_view kBoard = "/* board */\n";
constexpr std::string_view kMainOpening = "void main(void)\n{\n";

[[noreturn]] void finding(const char* what) {
  std::fprintf(stderr, "translate_fuzzer: %s\n", what);
  std::fflush(stderr);
  std::abort();
}

void check_outcome(int status, std::string_view output, std::string_view debug_log, std::string_view diagnostics) {
  if (status != 0 && status != 1) finding("exit status other than 0 or 1");
  const std::string headers = std::string(kHeader) + std::string(kBoard);
  const bool whole = output.starts_with(headers) && output.ends_with(kMainClosing);
  if (status == 0) {
    if (!output.starts_with(headers)) finding("accepted, but the output does not begin with the header templates");
    if (!output.ends_with(kMainClosing)) finding("accepted, but the output does not end with the closing of main");
  } else if (!output.empty() && output != headers && !whole) {
    // Status 1: abandoned (nothing, or the header templates alone) or recovered after syntax
    // errors (the whole translation).
    finding("status 1, but the output is neither the header templates nor a whole translation");
  }
  if (debug_log != diagnostics) finding("the debug log and standard error differ");
}

struct Outcome {
  int status;
  std::string output, debug_log, diagnostics;
  bool operator==(const Outcome&) const = default;
};

// early_write_interval 0: the whole Fragment list is held to the end.
Outcome translate_once(std::string_view source, long early_write_interval) {
  SourceReader reader(source);
  OutputBuffer output(early_write_interval > 0 ? OutputBuffer::Truncation::allowed : OutputBuffer::Truncation::refused);
  OutputBuffer debug_log, diagnostics;
  MemoryTemplates templates{std::string(kHeader), std::string(kBoard), std::string(kMainOpening)};
  Translation translation({reader, output, debug_log, diagnostics, templates});
  if (early_write_interval > 0) translation.early_write_interval = early_write_interval;
  int status = translation.run();
  return {status, output.contents(), debug_log.contents(), diagnostics.contents()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const long records_before = std_memory_mgr().records_in_use();
  const std::string_view source(reinterpret_cast<const char*>(data), size);
  const Outcome held = translate_once(source, 0);
  check_outcome(held.status, held.output, held.debug_log, held.diagnostics);
  if (!(translate_once(source, 1) == held)) finding("writing early changed the outcome");
  if (std_memory_mgr().records_in_use() != records_before) finding("records of the memory manager leaked");
  return 0;
}
